#pragma once
// The journey drawn on the map: its lines under every marker (rides in their type's colour,
// walks dashed) and, above them, the stops where it boards and alights (the stop icon with the
// stop's name, centred on the line) and the stops it passes (small rings, named on hover).
//
// The layer keeps the journey's description and lays it out again for every zoom and map
// switch: on the general map all of it shows; on a sheet its stops of that sheet show and its
// lines run across the sheet towards the stops of the others. Items are named by kind and stop
// key ("Jst_12", "Lb_Jst_12", "Jps_12", "Jnd_1"), so a stop met twice has one marker and the
// key under the pointer can be read back as for the other stop markers.
//
//   JourneyLayer &layer = map.journey;
//   layer.draw(journey, map.viewport());
//   layer.relayout(map.viewport());  // after a zoom or a switch
//   layer.clear();
#include "map/JourneyDrawing.h"
#include "map/MapArea.h"
#include "map/MarkerLayer.h"

#include <QPolygon>
#include <QVector>

class JourneyLayer : public MapOverlay {
public:
    explicit JourneyLayer(MapArea &area);
    ~JourneyLayer() override;
    JourneyLayer(const JourneyLayer &) = delete;
    JourneyLayer &operator=(const JourneyLayer &) = delete;

    // Replaces the journey drawn with `journey`, laid out for the map shown.
    void draw(const JourneyDrawing &journey, const SheetGrid::Viewport &viewport);
    // Puts everything in its place for the map shown and its zoom.
    void relayout(const SheetGrid::Viewport &viewport);
    void clear();

    bool isEmpty() const { return m_journey.isEmpty(); }
    const JourneyDrawing &journey() const { return m_journey; }
    // What of the journey lies on the map shown, in content pixels (empty when nothing does).
    QRect bounds() const;
    // The boarding and alighting stops' markers and the passed stops' rings, in the order met.
    const QVector<Marker> &stopMarkers() const { return m_stops; }
    const QVector<MapItem *> &passedStops() const { return m_passed; }
    // The stop whose marker or ring `item` is; std::nullopt for any other item.
    static std::optional<int> stopKeyOf(const MapItem &item);
    // The lines as laid out now, one a leg (tests and the painter).
    const QVector<QPolygon> &lines() const { return m_lines; }

    static constexpr int PassedStopSize = 9;

    void paintOverlay(QPainter &painter, const QRect &exposed) const override;

private:
    // An item of the journey and the point it stands on; centred on that point.
    struct Placed {
        MapItem *picture;
        MapItem *label;
        SheetGrid::Place place;
    };
    void makeItems();
    void addStop(const JourneyPoint &point);
    void addPassed(const JourneyPoint &point, const QColor &colour);
    void addEnd(const JourneyPoint &point, int index);

    MapArea &m_area;
    JourneyDrawing m_journey;
    QVector<Placed> m_placed;
    QVector<Marker> m_stops;
    QVector<MapItem *> m_passed;
    QVector<QPolygon> m_lines;
    QVector<QRect> m_lineBounds;
};
