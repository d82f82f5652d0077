#pragma once
// The markers on the map: a picture, and for objects, the logo and stops also a caption label
// 10 pixels above it, named by kind and record key.
//
//   kind    picture      label       list            double click / menu
//   Object  "Obj_"+key   "Lb_"+key   ObjectMarkers   handler given / GraphPopupMenu
//   Logo    "Obj_"+key   "Lb_"+key   LogoMarker      handler given / GraphPopupMenu
//   Street  "Str_"+key   none        StreetMarkers   handler given / GraphPopupMenu
//   Stop    "Stp_"+key   "Lb_Stp_"+key StopMarkers   none / none of its own
//
// Names are unique on the map area, so a marker whose picture or label name is taken is not
// made (the same record twice, a logo for an object that has its own marker). Stop labels have
// names of their own, so an object and a stop with equal keys can both be labelled. A marker is made whole or not at all: nothing of a failed
// attempt stays on the map or in a list, and no message is shown.
//
// How the show commands use it (with the view scrolled to the origin):
//     MarkerSpec recipe{MarkerKind::Stop, key, name, SheetGrid::sheetPixel(...)};
//     recipe.iconPath = QStringLiteral(".\\pictures\\icons\\Active_Stop.bmp");
//     recipe.labelColour = MarkerLayer::Cream;
//     if (const Marker *made = markers.addMarker(recipe)) made->picture->bringToFront();
// and walk ObjectMarkers()/StreetMarkers()/StopMarkers() to show, hide, move or single out
// existing markers through their MapItem handles.
//
// Each list holds at most Capacity (10000) markers. A marker for a full list is refused like any
// marker that cannot be made: addMarker() gives nullptr and nothing is made; isFull() lets a
// command stop its loop early.
#include "map/MapItem.h"
#include "map/SheetGrid.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QVector>
#include <functional>
#include <optional>

class DataModule;
class DataSet;
class MapArea;

enum class MarkerKind { Object, Logo, Street, Stop };

// One marker: its picture and, for kinds with one, its label (else nullptr).
struct Marker {
    MapItem *picture = nullptr;
    MapItem *label = nullptr;
};

// What MakeMarker needs to make a marker.
struct MarkerSpec {
    MarkerKind kind = MarkerKind::Object;
    int key = 0;              // the record's key (obieqtis_kodi, quCa_kodi, gaCereba_kodi)
    QString name;             // the record's name (saxeli): hint of both parts, the label's caption
    QPoint pos;               // the picture's top-left corner in the map area's content
    // The picture: a map logo (JPEG bytes, written to privateTempDirectory() + "ForMap.jpg",
    // which is left in place, and shown as that file's content) when given, else the icon file
    // (".\pictures\icons\yellow.bmp").
    std::optional<QByteArray> mapLogo;
    QString iconPath;
    QColor labelColour;       // objects, logo, stops
    bool labelVisible = true;
    std::function<void()> onDoubleClick; // objects, logo, streets
};

// The markers of one kind in the order they were added.
class MarkerList {
public:
    static constexpr int Capacity = 10000;
    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    bool isFull() const { return count() >= Capacity; }
    const Marker &operator[](int i) const { return m_entries[i]; }
    QVector<Marker>::const_iterator begin() const { return m_entries.begin(); }
    QVector<Marker>::const_iterator end() const { return m_entries.end(); }

private:
    friend class MarkerLayer;
    QVector<Marker> m_entries;
};

// The single logo marker of the focused object on the general map; `shown` is 0 while there
// is none, else the key of the object whose logo it is.
struct LogoMarkerState {
    Marker marker;
    int shown = 0;
};

class MarkerLayer {
public:
    static constexpr int LabelOffset = 10; // a label's top lies this far above its picture's top
    static const QColor SkyBlue;           // 15780518: red 166, green 202, blue 240
    static const QColor Cream;             // 15793151: red 255, green 251, blue 240

    MarkerLayer(DataModule &dm, MapArea &area);

    // Makes one marker (see the table above); std::nullopt when a name is taken, the picture
    // cannot be loaded or the temporary directory is unavailable.
    std::optional<Marker> MakeMarker(const MarkerSpec &recipe);
    // Makes a marker of kind Object, Street or Stop and appends it to its list; the new entry,
    // or nullptr when it could not be made or the list is full.
    const Marker *addMarker(const MarkerSpec &recipe);

    const MarkerList &ObjectMarkers() const { return m_objects; }
    const MarkerList &StreetMarkers() const { return m_streets; }
    const MarkerList &StopMarkers() const { return m_stops; }
    const LogoMarkerState &LogoMarker() const { return m_logo; }

    // A map picture wider or taller than this makes no marker.
    static constexpr int MaxMapLogoSide = 1000;

    // Removes the logo marker, then tries to make the new one from `recipe` (kind Logo); on
    // success the shown mark becomes `shownKey`, else it stays 0. True when it was made.
    bool showLogoMarker(const MarkerSpec &recipe, int shownKey);
    // Destroys the logo marker's picture, then its label; the shown mark becomes 0.
    void removeLogoMarker();

    // Remove every marker of a list (object markers together with the logo marker).
    void ClearObjectMarkers();
    void ClearStreetMarkers();
    void ClearStopMarkers();

    // Move every marker of a list to its place on the map shown at its zoom, from its record (MarkerWalk):
    // objects from obieqtiQr (opened when closed), streets and stops from Qr re-queried with
    // "SELECT * FROM quCa" / "SELECT * FROM gaCereba" (left holding that text). On the general
    // map every marker moves; on a sheet only the markers of records on that sheet move, the
    // others keep their place and visibility. A label follows its picture. A marker whose record
    // is gone, or whose sheet code names no sheet, keeps its place and nothing is told; an empty
    // x or y reads as 0. The data sets' current records stay. The logo marker is not moved.
    void RepositionObjectMarkers(const SheetGrid::Viewport &viewport);
    void RepositionStreetMarkers(const SheetGrid::Viewport &viewport);
    void RepositionStopMarkers(const SheetGrid::Viewport &viewport);

    // Puts a marker's picture at `pos` and its label, if any, LabelOffset pixels above it.
    static void moveMarker(const Marker &marker, const QPoint &pos);

    // The stop whose marker (picture or label) `item` is; std::nullopt for any other item.
    static std::optional<int> stopKeyOf(const MapItem &item);

    // The name prefix of a kind's picture: "Obj_", "Str_" or "Stp_".
    static QString pictureName(MarkerKind kind, int key);
    static QString labelName(MarkerKind kind, int key);

private:
    void loadPicture(MapItem &picture, const MarkerSpec &recipe);
    void clear(MarkerList &list);
    void reposition(const MarkerList &list, DataSet &records, const QString &keyColumn,
                    const SheetGrid::Viewport &viewport);
    void repositionFromScratch(const MarkerList &list, const QString &sql, const QString &keyColumn,
                               const SheetGrid::Viewport &viewport);

    DataModule &m_dm;
    MapArea &m_area;
    MarkerList m_objects;
    MarkerList m_streets;
    MarkerList m_stops;
    LogoMarkerState m_logo;
};
