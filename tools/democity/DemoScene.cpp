#include "democity/DemoScene.h"

#include "citykit/Geometry.h"

#include <QSet>

#include <algorithm>

namespace {

constexpr int MetroType = 1;
constexpr int CableCarType = 4;

QString keyword(const Model &m, int type)
{
    for (const StreetType &t : m.streetTypes)
        if (t.code == type)
            return t.keyword;
    return QString();
}

bool isAvenue(const Model &m, int type)
{
    static const QStringList avenues{QStringLiteral("gamziri"), QStringLiteral("gzatkecili"),
                                     QStringLiteral("sanapiro"), QStringLiteral("xeivani")};
    return avenues.contains(keyword(m, type));
}

SceneArea::Kind sceneKind(Area::Kind kind)
{
    switch (kind) {
    case Area::Forest:
        return SceneArea::Forest;
    case Area::Park:
        return SceneArea::Park;
    case Area::Water:
        return SceneArea::Water;
    case Area::Airport:
        return SceneArea::Airport;
    }
    return SceneArea::Park;
}

void addWater(const Model &m, MapScene &s)
{
    for (const Area &a : m.areas) {
        s.areas.append({sceneKind(a.kind), closedShape(a.outline), a.name, geo::centroid(a.outline)});
        // The airport's runway joins the middles of its short sides.
        if (a.kind == Area::Airport && a.outline.size() >= 4)
            s.runways.append(QPolygonF{(a.outline[0] + a.outline[3]) / 2, (a.outline[1] + a.outline[2]) / 2});
    }
    s.waterways.append({m.river.line, m.river.name, m.river.width});
    // The river widens around its islands.
    for (const Island &island : m.river.islands) {
        const QPointF centre = geo::centroid(island.outline);
        QPolygonF bulge;
        for (QPointF p : island.outline)
            bulge << centre + (p - centre) * 1.5 + (p - centre) / std::max(1.0, geo::distance(p, centre)) * 30;
        s.islandWater.append(closedShape(bulge));
        s.islands.append(closedShape(island.outline));
    }
}

void addStreets(const City &city, MapScene &s)
{
    const Model &m = *city.model;
    for (const GridSegment &segment : city.grid.segments)
        s.roads.append({QPolygonF{segment.a, segment.b}, SceneRoad::Side, false});
    // The generated streets lie on the grid; the model's own are drawn with their names.
    for (const StreetRecord &street : city.streets) {
        if (!street.fromModel)
            continue;
        const bool avenue = isAvenue(m, street.type);
        if (street.line.size() == 1)
            s.squares.append(closedShape(geo::ellipse(street.line.first(), 55, 55, 0, 24)));
        else
            s.roads.append({street.line, avenue ? SceneRoad::Avenue : SceneRoad::Street,
                            keyword(m, street.type) == QLatin1String("xidi")});
        s.streetNames.append({street.line, street.name, avenue});
    }
}

void addTransport(const City &city, MapScene &s)
{
    QSet<int> named; // a station of two lines is drawn once
    for (const RouteRecord &route : city.routes) {
        if (!route.fromModel || (route.type != MetroType && route.type != CableCarType))
            continue;
        const bool cable = route.type == CableCarType;
        QPolygonF line;
        for (int stop : route.stops)
            line << city.stops[stop].position;
        s.transit.append({line, route.colour, cable});
        for (int stop : route.stops) {
            if (named.contains(stop))
                continue;
            named.insert(stop);
            QString name = city.stops[stop].name;
            if (name.startsWith(QLatin1String("metro ")))
                name = name.mid(6);
            s.stations.append({city.stops[stop].position, name, route.colour, cable});
        }
    }
    for (const StopRecord &stop : city.stops)
        if (stop.fromModel && !stop.name.startsWith(QLatin1String("metro ")))
            s.stops.append(stop.position);
}

} // namespace

MapScene demoScene(const City &city)
{
    const Model &m = *city.model;
    MapScene s;
    for (const District &d : m.districts)
        s.districts.append({closedShape(d.outline), d.name, geo::centroid(d.outline)});
    addWater(m, s);
    addStreets(city, s);
    addTransport(city, s);
    return s;
}
