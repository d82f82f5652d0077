#pragma once
// The steps every "show on the map" command shares: the map shown and its scale, telling the
// user about a sheet code that cannot be shown, bringing the markers of one kind onto the map
// shown and singling out the record the command shows (or making its marker), where the view
// goes afterwards; and drawing a journey the same way.
//
// A command says what differs for its kind of record:
//   MapShow::Shown stops{markers.StopMarkers(), QStringLiteral("gaCereba_kodi"), key};
//   stops.records = [&]() -> DataSet & { DataModule::requery(dm.Qr, "SELECT * FROM gaCereba"); return dm.Qr; };
//   stops.singleOut = [](const Marker &m) { m.picture->bringToFront(); ... };
//   stops.addFocused = [&] { AddStopMarker(Mode::Detailed); };
//   show.onSheet(stops, {code, x, y});
#include "map/SheetGrid.h"

#include <QPoint>
#include <functional>
#include <optional>

class DataSet;
class MarkerList;
class Prompts;
struct JourneyDrawing;
struct MainState;
struct MapEngine;
struct Marker;

class MapShow {
public:
    MapShow(MapEngine &map, MainState &state, Prompts &prompts);

    SheetGrid::Viewport viewport() const;

    // Where a record lies on the general map; std::nullopt when its code names no sheet, which
    // is told to the user when `tell` is true.
    std::optional<QPoint> generalPlace(const QString &code, double x, double y, bool tell);
    QPoint sheetPlace(double x, double y) const;
    // "adgilmdebareobis maCvenebeli rukis faili arakoreqtulia".
    void tellNoSuchSheet();
    // True when the record has a sheet code. An empty code is told (the hot-line message for
    // sub-rubric 172, "cxeli xazis obieqti rukaze datanili ar aris", else the general one) and
    // gives false.
    bool CheckMapCode(const QString &code, int subRubric);

    // How a command shows one record among the markers of its kind.
    struct Shown {
        Shown(const MarkerList &markers, const QString &keyColumn, int focusedKey)
            : markers(markers), keyColumn(keyColumn), focusedKey(focusedKey)
        {
        }
        const MarkerList &markers;
        QString keyColumn;   // the key field whose value the markers' names carry
        int focusedKey;      // the record the command shows
        // The data set holding the markers' records, made ready for the walk.
        std::function<DataSet &()> records;
        // Gives the focused record's marker its look (front, colour, icon) once it is in place.
        std::function<void(const Marker &)> singleOut;
        // Makes the focused record's marker when it has none on the map.
        std::function<void()> addFocused;
        // On the general map labels come back with their pictures; stop labels keep their state.
        bool labelsOnGeneralMap = true;
    };

    enum class GeneralSwitch { KeepZoom, ResetZoom };
    // The focused record on the general map, the view left where it was: scrolls to the origin,
    // shows the general map (ResetZoom: at its own size and zoom 100), lets `admit` stop the
    // command (the view then stays at the origin), moves every marker whose record lies on the
    // general map there, shown, singles out or makes the focused one, and scrolls back.
    void onGeneralMap(const Shown &shown, GeneralSwitch how, const std::function<bool()> &admit = {});
    // The focused record at `focused` on its sheet: resets the view, lets `admit` stop the
    // command, switches to the sheet, shows the markers of records on it in their places and
    // hides the others, singles out or makes the focused one, runs `beforeScroll` and scrolls so
    // that the record lies about 350 pixels right of and below the view's corner.
    void onSheet(const Shown &shown, const SheetGrid::Place &focused, const std::function<bool()> &admit = {},
                 const std::function<void()> &beforeScroll = {});

    // Draws `journey` on the general map (shown first, at its own size when a sheet was shown),
    // in place of the one drawn before, and scrolls the view to it.
    void showJourney(const JourneyDrawing &journey);

private:
    // Walks the markers of `shown` with their records: `place` puts one on the map shown and
    // tells whether it lies there; the focused record's marker, lying there, is singled out.
    // True when it was.
    bool walk(const Shown &shown, const std::function<bool(const Marker &, const SheetGrid::Place &)> &place);

    MapEngine &m_map;
    MainState &m_state;
    Prompts &m_prompts;
};
