#pragma once
// The object commands that mark objects on the maps: the focused object on the general map, on
// its detailed sheet, alone or with the stops near it; all objects of a rubric; the logo that
// follows the list's focused object; and the way back from a marker to the list.
//
// The focused object is the current record of obieqti_logo_Qr. Every command does nothing while
// the list has no current record. Object markers are matched back to their records by the key in
// their name (MarkerWalk), so objects that share a name keep their own places. An object whose
// sheet code names no sheet is told about once per command and gets no marker; markers already
// on the map whose objects have no place on the general map are left as they are, silently.
#include "map/MapShow.h"

#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class DataModule;
class DataSet;
class GroupedRows;
class Prompts;
struct MainState;
struct MapEngine;
struct MarkerSpec;

class ObjectMapCommands {
public:
    // `list` is the object list, whose groups the rubric commands expand.
    ObjectMapCommands(DataModule &dm, MainState &state, Prompts &prompts, MapEngine &map, GroupedRows &list);

    void ShowMepAcExecute();
    void ShowDetMapAcExecute();
    void ShowObjWithStopAcExecute();
    void rubrukaSiSemvaliobieqtebisCvenebarukaze1Click();
    void Im_ObjAcExecute();
    void ObjectGridTableViewFocusedRecordChanged();

    // mode 'g': the focused object's marker on the general map; 'd': on the sheet now shown.
    void PlaceObjectMarker(char mode);
    // The focused object's logo marker on the general map (none without a map picture).
    void PlaceLogoMarker();
    // Marks on the general map every object of the rubric that matches the current search.
    void ShowRubricObjects(const QString &rubric);
    // Marks the stops of the sheet that lie in a small square around (x, y).
    void ShowNearbyStops(const QString &sheet, double x, double y);

    // The query of ShowNearbyStops for a decimal separator.
    static QString nearbyStopsSql(const QString &sheet, double x, double y, const QString &separator);

    // Seams for tests: the user's decimal separator (empty: the system's) and the pointer's
    // screen position (default: the cursor's).
    void setDecimalSeparator(const QString &separator) { m_separator = separator; }
    void setPointerSource(std::function<QPoint()> source) { m_pointer = std::move(source); }

    // Where a record lies on the maps.
    struct Place {
        int key = 0;
        QString name;
        QString code;
        double x = 0;
        double y = 0;
        int subRubric = 0;
    };

private:
    void showOnSheet(bool withStops);
    bool hasFocusedObject() const;
    Place focusedPlace() const;
    // General-map position of a record; std::nullopt when its sheet code names no sheet (the
    // user is told once when `tell`).
    std::optional<QPoint> generalPosition(const QString &code, double x, double y, bool tell);
    QPoint sheetPosition(double x, double y) const;
    // The object markers, to show the object of `focusedKey` among them.
    MapShow::Shown shownObjects(int focusedKey);
    MarkerSpec objectSpec(const Place &place, const QPoint &pos, const DataSet &record);
    // Records the focused row as the group row and expands it all the way down.
    void expandFocusedRow();
    DataSet &openObjects();

    DataModule &m_dm;
    MainState &m_state;
    Prompts &m_prompts;
    MapEngine &m_map;
    MapShow m_show;
    GroupedRows &m_list;
    QString m_separator;
    std::function<QPoint()> m_pointer;
};
