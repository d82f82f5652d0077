#include "osmimport/OsmReader.h"

#include "citykit/Geometry.h"
#include "citykit/Interruption.h"
#include "osmimport/TagMapping.h"

#include <osmium/area/assembler.hpp>
#include <osmium/area/multipolygon_manager.hpp>
#include <osmium/handler.hpp>
#include <osmium/handler/node_locations_for_ways.hpp>
#include <osmium/index/map/flex_mem.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/osm/area.hpp>
#include <osmium/osm/box.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/relation.hpp>
#include <osmium/osm/way.hpp>
#include <osmium/tags/tags_filter.hpp>
#include <osmium/visitor.hpp>

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace OsmReader {

namespace {

using LocationIndex = osmium::index::map::FlexMem<osmium::unsigned_object_id_type, osmium::Location>;
using Locations = osmium::handler::NodeLocationsForWays<LocationIndex>;

bool is(const char *value, const char *expected)
{
    return value && std::strcmp(value, expected) == 0;
}

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8).trimmed() : QString();
}

// The name a catalogue takes: the Georgian one when the extract has it.
QString nameOf(const osmium::TagList &tags)
{
    for (const char *key : {"name:ka", "name", "name:en"}) {
        const QString name = text(tags.get_value_by_key(key));
        if (!name.isEmpty())
            return name;
    }
    return QString();
}

QString firstOf(const osmium::TagList &tags, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        const QString value = text(tags.get_value_by_key(key));
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

// Where the map frame lies, in degrees and in metres; nodes are kept for ways within a wider box,
// so that a way or an area reaching out of the frame keeps its shape.
class Frame {
public:
    explicit Frame(const MapFrame &frame) : m_frame(frame)
    {
        const QPointF topLeft = frame.lonLat(QPointF(0, 0));
        const QPointF bottomRight = frame.lonLat(QPointF(frame.width, frame.height));
        m_box = osmium::Box(topLeft.x(), bottomRight.y(), bottomRight.x(), topLeft.y());
        const QPointF wideTopLeft = frame.lonLat(QPointF(-frame.width, -frame.height));
        const QPointF wideBottomRight = frame.lonLat(QPointF(2 * frame.width, 2 * frame.height));
        m_wide = osmium::Box(wideTopLeft.x(), wideBottomRight.y(), wideBottomRight.x(), wideTopLeft.y());
    }

    QPointF metres(const osmium::Location &l) const { return m_frame.project(l.lon_without_check(), l.lat_without_check()); }
    bool contains(const osmium::Location &l) const { return l.valid() && m_box.contains(l); }
    bool keeps(const osmium::Location &l) const { return l.valid() && m_wide.contains(l); }
    bool overlaps(const QRectF &metres) const
    {
        return metres.left() <= m_frame.width && metres.right() >= 0 && metres.top() <= m_frame.height && metres.bottom() >= 0;
    }
    bool containsMetres(QPointF p) const { return p.x() >= 0 && p.y() >= 0 && p.x() <= m_frame.width && p.y() <= m_frame.height; }

private:
    MapFrame m_frame;
    osmium::Box m_box;
    osmium::Box m_wide;
};

// Keeps the places of the nodes within the wide box only; a way's other nodes stay without one.
class FramedLocations : public osmium::handler::Handler {
public:
    FramedLocations(Locations &locations, const Frame &frame) : m_locations(locations), m_frame(frame) {}
    void node(const osmium::Node &node)
    {
        if (m_frame.keeps(node.location()))
            m_locations.node(node);
    }
    void way(osmium::Way &way) { m_locations.way(way); }

private:
    Locations &m_locations;
    const Frame &m_frame;
};

// The first pass: the public transport routes and which of their members to keep.
class RouteReader : public osmium::handler::Handler {
public:
    RouteReader(OsmExtract &out, const TagMapping &mapping) : m_out(out), m_mapping(mapping) {}

    void relation(const osmium::Relation &relation)
    {
        const osmium::TagList &tags = relation.tags();
        const char *route = tags.get_value_by_key("route");
        if (!is(tags.get_value_by_key("type"), "route") || !route || m_mapping.transportType(route).code == 0)
            return;
        OsmRoute r;
        r.id = relation.id();
        r.route = route;
        r.ref = text(tags.get_value_by_key("ref"));
        r.name = nameOf(tags);
        r.from = firstOf(tags, {"from:ka", "from"});
        r.to = firstOf(tags, {"to:ka", "to"});
        r.colour = QColor(text(tags.get_value_by_key("colour")));
        for (const osmium::RelationMember &member : relation.members()) {
            const char type = member.type() == osmium::item_type::node ? 'n' : member.type() == osmium::item_type::way ? 'w' : 'r';
            r.members.append({{type, member.ref()}, QByteArray(member.role())});
            if (type == 'n')
                stopNodes.insert(member.ref());
            else if (type == 'w' && isStopRole(member.role()))
                stopWays.insert(member.ref());
        }
        m_out.routes.append(r);
    }

    // "stop", "platform", "forward:stop", "platform_entry_only" and the like.
    static bool isStopRole(const char *role) { return std::strstr(role, "stop") || std::strstr(role, "platform"); }

    // Members that may be stops: every node, and the ways in a stop's or a platform's role.
    QSet<qint64> stopNodes;
    QSet<qint64> stopWays;

private:
    OsmExtract &m_out;
    const TagMapping &m_mapping;
};

// The second pass: nodes and ways.
class FeatureReader : public osmium::handler::Handler {
public:
    FeatureReader(OsmExtract &out, const Frame &frame, const TagMapping &mapping, const RouteReader &routes)
        : m_out(out), m_frame(frame), m_mapping(mapping), m_routes(routes), m_streetKeys(mapping.streetTagKeys())
    {
    }

    void node(const osmium::Node &node)
    {
        if (!m_frame.contains(node.location()))
            return;
        ++m_out.nodesInFrame;
        const bool member = m_routes.stopNodes.contains(node.id());
        if (node.tags().empty() && !member)
            return;
        const QPointF at = m_frame.metres(node.location());
        addSettlement(node.tags());
        addPlace(node.tags(), at, false);
        addStop(node.tags(), {'n', node.id()}, at, member);
    }

    void way(const osmium::Way &way)
    {
        const osmium::TagList &tags = way.tags();
        const bool member = m_routes.stopWays.contains(way.id());
        if (tags.empty() && !member)
            return;
        const char *highway = tags.get_value_by_key("highway");
        const char *railway = tags.get_value_by_key("railway");
        const char *waterway = tags.get_value_by_key("waterway");
        const char *aerialway = tags.get_value_by_key("aerialway");
        const bool platform = is(tags.get_value_by_key("public_transport"), "platform") || is(railway, "platform")
            || is(highway, "platform");
        const bool runway = is(tags.get_value_by_key("aeroway"), "runway");
        if (!highway && !railway && !waterway && !aerialway && !platform && !runway && !member)
            return;
        const QVector<Run> runs = runsOf(way);
        if (runs.isEmpty())
            return;
        if (platform || member) {
            QPointF sum;
            int count = 0;
            for (const Run &run : runs)
                for (QPointF p : run.line) {
                    sum += p;
                    ++count;
                }
            addStop(tags, {'w', way.id()}, sum / count, member, platform);
            if (platform)
                return;
        }
        const QString name = nameOf(tags);
        for (const Run &run : runs) {
            if (highway && !is(tags.get_value_by_key("area"), "yes")) {
                OsmRoad road;
                road.line = run.line;
                road.name = name;
                road.highway = highway;
                for (const QByteArray &key : m_streetKeys)
                    if (const char *value = tags.get_value_by_key(key.constData()))
                        road.tags.insert(key, value);
                road.firstNode = run.first;
                road.lastNode = run.last;
                road.bridge = tags.has_key("bridge") && !is(tags.get_value_by_key("bridge"), "no");
                m_out.roads.append(road);
            } else if (is(railway, "subway")) {
                m_out.subways.append({run.line, name, way.id(), 0});
            } else if (is(railway, "rail") || is(railway, "light_rail") || is(railway, "narrow_gauge") || is(railway, "tram")
                       || is(railway, "funicular") || is(railway, "monorail")) {
                m_out.railways.append({run.line, name, way.id(), 0});
            } else if (is(waterway, "river") || is(waterway, "stream") || is(waterway, "canal")) {
                bool ok = false;
                const double width = QString::fromLatin1(tags.get_value_by_key("width", "")).toDouble(&ok);
                m_out.waterways.append({run.line, name, way.id(), ok && width > 0 ? width : 0});
            } else if (aerialway && !is(aerialway, "station") && !is(aerialway, "pylon")) {
                m_out.aerialways.append(run.line);
            } else if (runway) {
                m_out.runways.append(run.line);
            }
        }
    }

    void addSettlement(const osmium::TagList &tags)
    {
        const char *place = tags.get_value_by_key("place");
        if (!is(place, "city") && !is(place, "town"))
            return;
        OsmSettlement settlement;
        settlement.name = nameOf(tags);
        if (settlement.name.isEmpty())
            return;
        settlement.city = is(place, "city");
        const QByteArray capital = tags.get_value_by_key("capital", "");
        const int level = capital.toInt();
        settlement.capital = capital == "yes" ? 11 : (level > 0 && level < 13 ? 13 - level : 0);
        QByteArray population = tags.get_value_by_key("population", "");
        population.replace(' ', "").replace(',', "");
        settlement.population = population.toLongLong();
        m_out.settlements.append(settlement);
    }

    void addPlace(const osmium::TagList &tags, QPointF at, bool area)
    {
        if (!m_frame.containsMetres(at))
            return;
        OsmPlace place;
        for (const QByteArray &key : m_mapping.placeKeys())
            if (const char *value = tags.get_value_by_key(key.constData()))
                place.tags.append({key, QByteArray(value)});
        if (place.tags.isEmpty())
            return;
        place.name = nameOf(tags);
        if (place.name.isEmpty())
            return;
        place.at = at;
        place.street = firstOf(tags, {"addr:street:ka", "addr:street"});
        place.house = text(tags.get_value_by_key("addr:housenumber"));
        place.phone = firstOf(tags, {"phone", "contact:phone"});
        place.fax = firstOf(tags, {"fax", "contact:fax"});
        place.email = firstOf(tags, {"email", "contact:email"});
        place.web = firstOf(tags, {"website", "contact:website", "url"});
        place.hours = text(tags.get_value_by_key("opening_hours"));
        place.area = area;
        m_out.places.append(place);
    }

private:
    struct Run {
        QPolygonF line;
        qint64 first = 0;
        qint64 last = 0;
    };

    // The stretches of a way whose nodes have places (all of it, unless it leaves the wide box).
    QVector<Run> runsOf(const osmium::Way &way) const
    {
        QVector<Run> runs;
        Run current;
        auto finish = [&] {
            if (current.line.size() >= 2 && m_frame.overlaps(current.line.boundingRect()))
                runs.append(current);
            current = Run();
        };
        for (const osmium::NodeRef &node : way.nodes()) {
            if (!node.location().valid()) {
                finish();
                continue;
            }
            if (current.line.isEmpty())
                current.first = node.ref();
            current.line << m_frame.metres(node.location());
            current.last = node.ref();
        }
        finish();
        return runs;
    }

    void addStop(const osmium::TagList &tags, OsmRef ref, QPointF at, bool member, bool platform = false)
    {
        const char *pt = tags.get_value_by_key("public_transport");
        const char *railway = tags.get_value_by_key("railway");
        const bool subwayStation = (is(railway, "station") || is(railway, "halt"))
            && (is(tags.get_value_by_key("station"), "subway") || is(tags.get_value_by_key("subway"), "yes"));
        const bool cableStation = is(tags.get_value_by_key("aerialway"), "station");
        const bool busStop = is(tags.get_value_by_key("highway"), "bus_stop");
        const bool stopPosition = is(pt, "stop_position") || is(railway, "tram_stop");
        platform = platform || is(pt, "platform");
        const bool tagged = platform || busStop || subwayStation || cableStation || stopPosition;
        if ((!tagged && !member) || !m_frame.containsMetres(at))
            return;
        OsmStop stop;
        stop.ref = ref;
        stop.at = at;
        stop.name = nameOf(tags);
        stop.rank = platform ? 0 : busStop ? 1 : (subwayStation || cableStation) ? 2 : stopPosition ? 3 : 4;
        stop.metro = subwayStation;
        stop.cable = cableStation;
        stop.tagged = tagged;
        m_out.stops.append(stop);
    }

    OsmExtract &m_out;
    const Frame &m_frame;
    const TagMapping &m_mapping;
    const RouteReader &m_routes;
    const QVector<QByteArray> m_streetKeys;
};

// Assembled areas: district boundaries, land cover, water, buildings, squares, places.
class AreaReader : public osmium::handler::Handler {
public:
    AreaReader(OsmExtract &out, const Frame &frame, FeatureReader &features)
        : m_out(out), m_frame(frame), m_features(features)
    {
    }

    void area(const osmium::Area &area)
    {
        QPainterPath shape;
        QPolygonF largest;
        double largestArea = -1;
        for (const osmium::OuterRing &outer : area.outer_rings()) {
            const QPolygonF ring = ringOf(outer);
            shape.addPolygon(ring);
            shape.closeSubpath();
            const double size = std::abs(signedArea(ring));
            if (size > largestArea) {
                largestArea = size;
                largest = ring;
            }
            for (const osmium::InnerRing &inner : area.inner_rings(outer)) {
                shape.addPolygon(ringOf(inner));
                shape.closeSubpath();
            }
        }
        if (largest.size() < 3 || !m_frame.overlaps(shape.boundingRect()))
            return;
        const osmium::TagList &tags = area.tags();
        const QString name = nameOf(tags);
        const QPointF labelAt = geo::centroid(largest);
        const char *boundary = tags.get_value_by_key("boundary");
        const int level = QByteArray(tags.get_value_by_key("admin_level", "")).toInt();
        if (is(boundary, "administrative") && level > 0 && !name.isEmpty()) {
            m_out.boundaries.append({shape, name, level, labelAt});
            return;
        }
        const char *building = tags.get_value_by_key("building");
        if (building && !is(building, "no"))
            m_out.buildings.append(shape);
        const char *place = tags.get_value_by_key("place");
        if (is(place, "island") || is(place, "islet"))
            m_out.islands.append(shape);
        SceneArea::Kind kind;
        if (landCover(tags, &kind))
            m_out.areas.append({kind, shape, name, labelAt});
        if (tags.get_value_by_key("highway") && is(tags.get_value_by_key("area"), "yes") && !name.isEmpty()) {
            OsmRoad square;
            square.line = largest;
            square.name = name;
            square.highway = tags.get_value_by_key("highway");
            square.area = true;
            m_out.roads.append(square);
        }
        m_features.addPlace(tags, labelAt, true);
    }

    // Tags an area is assembled for.
    static osmium::TagsFilter filter()
    {
        osmium::TagsFilter f{false};
        for (const char *key : {"building", "amenity", "shop", "tourism", "office", "healthcare", "craft", "leisure",
                                "water", "place"})
            f.add_rule(true, osmium::TagMatcher{key});
        f.add_rule(true, osmium::TagMatcher{"boundary", "administrative"});
        f.add_rule(true, osmium::TagMatcher{"aeroway", "aerodrome"});
        f.add_rule(true, osmium::TagMatcher{"waterway", "riverbank"});
        f.add_rule(true, osmium::TagMatcher{"area", "yes"});
        for (const char *value : {"forest", "grass", "meadow", "recreation_ground", "village_green", "cemetery", "reservoir", "basin"})
            f.add_rule(true, osmium::TagMatcher{"landuse", value});
        for (const char *value : {"wood", "water", "scrub", "grassland"})
            f.add_rule(true, osmium::TagMatcher{"natural", value});
        return f;
    }

private:
    template <typename Ring>
    QPolygonF ringOf(const Ring &ring) const
    {
        QPolygonF points;
        for (const osmium::NodeRef &node : ring)
            points << m_frame.metres(node.location());
        return points;
    }

    static double signedArea(const QPolygonF &ring)
    {
        double twice = 0;
        for (int i = 0; i < ring.size(); ++i) {
            const QPointF p = ring[i], q = ring[(i + 1) % ring.size()];
            twice += p.x() * q.y() - q.x() * p.y();
        }
        return twice / 2;
    }

    static bool landCover(const osmium::TagList &tags, SceneArea::Kind *kind)
    {
        const char *landuse = tags.get_value_by_key("landuse");
        const char *natural = tags.get_value_by_key("natural");
        const char *leisure = tags.get_value_by_key("leisure");
        if (is(landuse, "forest") || is(natural, "wood"))
            *kind = SceneArea::Forest;
        else if (is(natural, "water") || is(landuse, "reservoir") || is(landuse, "basin") || tags.has_key("water")
                 || is(tags.get_value_by_key("waterway"), "riverbank"))
            *kind = SceneArea::Water;
        else if (is(tags.get_value_by_key("aeroway"), "aerodrome"))
            *kind = SceneArea::Airport;
        else if (is(leisure, "park") || is(leisure, "garden") || is(leisure, "nature_reserve") || is(landuse, "grass")
                 || is(landuse, "meadow") || is(landuse, "recreation_ground") || is(landuse, "village_green")
                 || is(landuse, "cemetery") || is(natural, "scrub") || is(natural, "grassland"))
            *kind = SceneArea::Park;
        else
            return false;
        return true;
    }

    OsmExtract &m_out;
    const Frame &m_frame;
    FeatureReader &m_features;
};

// A PBF file may hold a NUL byte inside a tag's key or value. The library keeps such a string
// whole, by its length, but steps from one tag to the next by looking for the NUL that ends a
// string: the walk then goes astray and past the list's end (a crash, or tags made of pieces of
// others). Such a list is one whose strings do not end exactly where the list does.
bool holdsNul(const osmium::TagList &tags)
{
    const char *at = reinterpret_cast<const char *>(tags.data()) + sizeof(osmium::TagList);
    const char *end = reinterpret_cast<const char *>(tags.data()) + tags.byte_size();
    while (at < end) {
        for (int part = 0; part < 2; ++part) { // the key, then the value
            const void *nul = at < end ? std::memchr(at, 0, size_t(end - at)) : nullptr;
            if (!nul)
                return true;
            at = static_cast<const char *>(nul) + 1;
        }
    }
    return at != end;
}

// Gives every object of the buffer whose tag list holds a NUL one the walk reads right, of the
// same size: a single tag of a filler key and an empty value. The object keeps its place in
// ways, relations and areas and loses its tags. Counts them by kind: nodes, ways, relations.
void dropTagsWithNul(osmium::memory::Buffer &buffer, std::array<qint64, 3> &dropped)
{
    for (const osmium::OSMObject &object : buffer.select<osmium::OSMObject>()) {
        const osmium::TagList &tags = object.tags();
        if (!holdsNul(tags))
            continue;
        // The buffer is this reader's own: its objects may be changed in place.
        char *begin = reinterpret_cast<char *>(const_cast<osmium::TagList &>(tags).data()) + sizeof(osmium::TagList);
        char *end = begin + (tags.byte_size() - sizeof(osmium::TagList));
        std::fill(begin, end - 2, '_');
        end[-2] = end[-1] = '\0';
        ++dropped[object.type() == osmium::item_type::node ? 0 : object.type() == osmium::item_type::way ? 1 : 2];
    }
}

// Reads the file in buffers, telling progress the share read; counts the objects read without
// their tags (see holdsNul).
template <typename... Handlers>
void readPass(const osmium::io::File &file, osmium::osm_entity_bits::type entities, qint64 size, int from, int to,
              const std::function<void(int)> &progress, std::array<qint64, 3> &dropped, Handlers &...handlers)
{
    osmium::io::Reader reader{file, entities};
    while (osmium::memory::Buffer buffer = reader.read()) {
        Interruption::check();
        dropTagsWithNul(buffer, dropped);
        osmium::apply(buffer, handlers...);
        if (progress && size > 0)
            progress(from + int((to - from) * std::min<qint64>(qint64(reader.offset()), size) / size));
    }
    reader.close();
}

} // namespace

OsmExtract read(const QString &path, const MapFrame &mapFrame, const TagMapping &mapping,
                const std::function<void(int percent)> &progress)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw std::runtime_error(QStringLiteral("Cannot read %1: there is no such file").arg(path).toStdString());
    if (!info.isFile() || !info.isReadable())
        throw std::runtime_error(QStringLiteral("Cannot read %1: it is not a readable file").arg(path).toStdString());

    OsmExtract out;
    out.frame = mapFrame;
    const Frame frame(mapFrame);
    try {
        const osmium::io::File file(QFile::encodeName(path).toStdString());
        osmium::area::Assembler::config_type config;
        config.create_empty_areas = false;
        osmium::area::MultipolygonManager<osmium::area::Assembler> areas{config, AreaReader::filter()};
        RouteReader routes(out, mapping);
        std::array<qint64, 3> relationPass{}, secondPass{};
        readPass(file, osmium::osm_entity_bits::relation, info.size(), 0, 30, progress, relationPass, areas, routes);
        areas.prepare_for_lookup();

        LocationIndex index;
        Locations locations{index};
        locations.ignore_errors();
        FramedLocations framed(locations, frame);
        FeatureReader features(out, frame, mapping, routes);
        AreaReader areaReader(out, frame, features);
        auto assembled = areas.handler([&](osmium::memory::Buffer &&buffer) { osmium::apply(buffer, areaReader); });
        readPass(file, osmium::osm_entity_bits::nwr, info.size(), 30, 100, progress, secondPass, framed, features, assembled);
        out.tagsDropped = {secondPass[0], secondPass[1], relationPass[2]};
    } catch (const Interruption::Interrupted &) {
        throw;
    } catch (const std::exception &e) {
        throw std::runtime_error(QStringLiteral("Cannot read %1 as OpenStreetMap data (.osm.pbf, .osm or .osm.bz2): %2")
                                     .arg(path, QString::fromLocal8Bit(e.what()))
                                     .toStdString());
    }
    return out;
}

} // namespace OsmReader
