#include "osmimport/OsmScene.h"

#include "osmimport/OsmStreets.h"
#include "osmimport/Transcription.h"

namespace {

// How a highway is drawn, or false for one that is not (a road planned or being built).
bool roadKind(const QByteArray &highway, SceneRoad::Kind *kind)
{
    static const QByteArrayList paths{"footway", "path", "steps", "cycleway", "track", "bridleway"};
    static const QByteArrayList streets{"secondary", "secondary_link", "tertiary", "tertiary_link"};
    if (OsmStreets::isAvenue(highway))
        *kind = SceneRoad::Avenue;
    else if (streets.contains(highway))
        *kind = SceneRoad::Street;
    else if (OsmStreets::isStreet(highway))
        *kind = SceneRoad::Side;
    else if (paths.contains(highway))
        *kind = SceneRoad::Path;
    else
        return false;
    return true;
}

} // namespace

MapScene osmScene(const OsmExtract &extract, const Districts &districts, const QVector<SceneName> &streetNames,
                  const OsmTransport::Result &transport)
{
    MapScene s;
    for (int i = 0; i < districts.size(); ++i)
        s.districts.append({districts.shape(i), districts.name(i), districts.labelAt(i)});
    for (const OsmArea &a : extract.areas)
        s.areas.append({a.kind, a.shape, Transcription::transcribe(a.name), a.labelAt});
    s.runways = extract.runways;
    s.buildings = extract.buildings;
    for (const OsmLine &w : extract.waterways)
        s.waterways.append({w.line, Transcription::transcribe(w.name), w.width});
    s.islands = extract.islands;
    for (const OsmRoad &road : extract.roads) {
        SceneRoad::Kind kind;
        if (road.area)
            s.squares.append(closedShape(road.line));
        else if (roadKind(road.highway, &kind))
            s.roads.append({road.line, kind, road.bridge});
    }
    for (const OsmLine &rail : extract.railways)
        s.railways.append(rail.line);
    for (const OsmLine &subway : extract.subways)
        s.transit.append({subway.line, transport.lineColours.value(subway.way, QColor(200, 40, 40)), false});
    for (const QPolygonF &cable : extract.aerialways)
        s.transit.append({cable, QColor(), true});
    s.stations = transport.stations;
    s.stops = transport.surfaceStops;
    s.streetNames = streetNames;
    return s;
}
