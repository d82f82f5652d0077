#include "democity/OsmExport.h"

#include "citykit/Geometry.h"
#include "democity/DemoScene.h"
#include "osmimport/TagMapping.h"
#include "osmimport/Transcription.h"

#include <osmium/builder/attr.hpp>
#include <osmium/io/any_output.hpp>
#include <osmium/io/writer.hpp>
#include <osmium/memory/buffer.hpp>

#include <QFile>
#include <QSet>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace OsmExport {

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;
using Member = osmium::builder::attr::member_type;

constexpr const char *DistrictLevel = "10";
constexpr int MetroType = 1;
constexpr int CableCarType = 4;

std::string utf8(const QString &text)
{
    return text.toStdString();
}

std::string georgian(const QString &transliterated)
{
    return utf8(Transcription::toGeorgian(transliterated));
}

// Nodes are written as they come; ways and relations wait until every node is out, as readers
// of the format expect.
class File {
public:
    File(const QString &path, const MapFrame &frame) : m_writer(osmium::io::File(QFile::encodeName(path).toStdString()),
                                                                osmium::io::overwrite::allow),
                                                       m_frame(frame)
    {
    }

    qint64 node(QPointF metres, const Tags &tags = {})
    {
        using namespace osmium::builder::attr;
        const QPointF lonLat = m_frame.lonLat(metres);
        osmium::builder::add_node(m_buffer, _id(m_nextNode), _version(1), _location(lonLat.x(), lonLat.y()), _tags(tags));
        flushIfFull();
        return m_nextNode++;
    }

    qint64 way(const std::vector<osmium::object_id_type> &nodes, const Tags &tags)
    {
        m_ways.push_back({nodes, tags});
        return qint64(m_ways.size());
    }

    // A line's nodes and its way; a ring's first node closes it.
    qint64 line(const QPolygonF &points, const Tags &tags, bool closed = false)
    {
        std::vector<osmium::object_id_type> nodes;
        for (QPointF p : points)
            nodes.push_back(node(p));
        if (closed && !nodes.empty())
            nodes.push_back(nodes.front());
        return way(nodes, tags);
    }

    void relation(const std::vector<Member> &members, const Tags &tags) { m_relations.push_back({members, tags}); }

    void close()
    {
        using namespace osmium::builder::attr;
        for (std::size_t i = 0; i < m_ways.size(); ++i) {
            osmium::builder::add_way(m_buffer, _id(osmium::object_id_type(i + 1)), _version(1), _nodes(m_ways[i].first),
                                     _tags(m_ways[i].second));
            flushIfFull();
        }
        for (std::size_t i = 0; i < m_relations.size(); ++i) {
            osmium::builder::add_relation(m_buffer, _id(osmium::object_id_type(i + 1)), _version(1),
                                          _members(m_relations[i].first), _tags(m_relations[i].second));
            flushIfFull();
        }
        m_writer(std::move(m_buffer));
        m_writer.close();
    }

private:
    void flushIfFull()
    {
        if (m_buffer.committed() > 4 * 1024 * 1024) {
            m_writer(std::move(m_buffer));
            m_buffer = osmium::memory::Buffer(8 * 1024 * 1024, osmium::memory::Buffer::auto_grow::yes);
        }
    }

    osmium::io::Writer m_writer;
    MapFrame m_frame;
    osmium::memory::Buffer m_buffer{8 * 1024 * 1024, osmium::memory::Buffer::auto_grow::yes};
    qint64 m_nextNode = 1;
    std::vector<std::pair<std::vector<osmium::object_id_type>, Tags>> m_ways;
    std::vector<std::pair<std::vector<Member>, Tags>> m_relations;
};

QString keyword(const Model &model, int type)
{
    for (const StreetType &t : model.streetTypes)
        if (t.code == type)
            return t.keyword;
    return QString();
}

void writeLand(const City &city, File &file)
{
    const Model &m = *city.model;
    for (const District &d : m.districts)
        file.line(d.outline, {{"boundary", "administrative"}, {"admin_level", DistrictLevel}, {"name", georgian(d.name)}}, true);
    for (const Area &a : m.areas) {
        const std::pair<std::string, std::string> kind = a.kind == Area::Forest ? std::pair{"landuse", "forest"}
            : a.kind == Area::Park                                              ? std::pair{"leisure", "park"}
            : a.kind == Area::Water                                             ? std::pair{"natural", "water"}
                                                                                : std::pair{"aeroway", "aerodrome"};
        file.line(a.outline, {kind, {"name", georgian(a.name)}}, true);
    }
    file.line(m.river.line, {{"waterway", "river"}, {"width", std::to_string(int(m.river.width))}, {"name", georgian(m.river.name)}});
    for (const Island &island : m.river.islands)
        file.line(island.outline, {{"place", "island"}, {"name", georgian(island.name)}}, true);
    for (const QPolygonF &runway : demoScene(city).runways)
        file.line(runway, {{"aeroway", "runway"}});
    for (const GridSegment &segment : city.grid.segments)
        file.line(QPolygonF{segment.a, segment.b}, {{"highway", "residential"}});
}

void writeStreets(const City &city, File &file)
{
    static const QStringList avenues{QStringLiteral("gamziri"), QStringLiteral("gzatkecili"), QStringLiteral("sanapiro"),
                                     QStringLiteral("xeivani")};
    for (const StreetRecord &street : city.streets) {
        const QString type = keyword(*city.model, street.type);
        if (street.line.size() == 1) {
            // A square: a small pedestrian area around its point.
            file.line(geo::ellipse(street.line.first(), 30, 30, 0, 12),
                      {{"highway", "pedestrian"}, {"area", "yes"}, {"name", georgian(street.name)}}, true);
            continue;
        }
        Tags tags{{"highway", avenues.contains(type) ? "primary" : "residential"}, {"name", georgian(street.name)}};
        if (type == QLatin1String("xidi"))
            tags.insert(tags.end(), {{"bridge", "yes"}, {"layer", "1"}});
        file.line(street.line, tags);
    }
}

void writeTransport(const City &city, const TagMapping &mapping, File &file)
{
    QSet<int> cableStops;
    for (const RouteRecord &route : city.routes)
        if (route.type == CableCarType)
            for (int stop : route.stops)
                cableStops.insert(stop);
    std::vector<qint64> stopNode;
    for (int i = 0; i < city.stops.size(); ++i) {
        const StopRecord &stop = city.stops[i];
        Tags tags;
        if (stop.name.startsWith(QLatin1String("metro "))) {
            tags = {{"railway", "station"}, {"station", "subway"}, {"name", georgian(stop.name.mid(6))}};
        } else {
            tags = {{"highway", "bus_stop"}, {"public_transport", "platform"}, {"name", georgian(stop.name)}};
            if (cableStops.contains(i))
                tags.push_back({"aerialway", "station"});
        }
        stopNode.push_back(file.node(stop.position, tags));
    }
    for (const RouteRecord &route : city.routes) {
        const QByteArray value = mapping.routeOf(route.type);
        if (value.isEmpty())
            throw std::runtime_error(QStringLiteral("transport type %1 has no route=* value in the table").arg(route.type).toStdString());
        Tags tags{{"type", "route"}, {"route", value.toStdString()}, {"ref", georgian(route.name)}};
        const QStringList ends = route.description.split(QStringLiteral(" - "));
        if (ends.size() == 2)
            tags.insert(tags.end(), {{"from", georgian(ends[0])}, {"to", georgian(ends[1])}});
        else if (!route.description.isEmpty())
            tags.push_back({"name", georgian(route.description)});
        std::vector<Member> members;
        for (int stop : route.stops)
            members.emplace_back(osmium::item_type::node, stopNode[std::size_t(stop)], "stop");
        if (route.type == MetroType || route.type == CableCarType) {
            std::vector<osmium::object_id_type> nodes;
            for (int stop : route.stops)
                nodes.push_back(stopNode[std::size_t(stop)]);
            const qint64 way = file.way(nodes, {route.type == MetroType ? std::pair{"railway", "subway"} : std::pair{"aerialway", "cable_car"}});
            members.emplace_back(osmium::item_type::way, way, "");
            if (route.colour.isValid())
                tags.push_back({"colour", utf8(route.colour.name())});
        }
        file.relation(members, tags);
    }
}

void writePlaces(const City &city, const TagMapping &mapping, File &file)
{
    for (const ObjectRecord &o : city.objects) {
        if (!o.located)
            continue; // a hot line has no place on the map
        const QByteArray tag = mapping.tagOf(o.subRubric);
        if (tag.isEmpty())
            throw std::runtime_error(QStringLiteral("sub-rubric %1 has no tag in the table").arg(o.subRubric).toStdString());
        Tags tags{{tag.left(tag.indexOf('=')).toStdString(), tag.mid(tag.indexOf('=') + 1).toStdString()},
                  {"name", georgian(o.name)}};
        const int space = int(o.address.lastIndexOf(QLatin1Char(' ')));
        if (space > 0) {
            tags.push_back({"addr:street", georgian(o.address.left(space))});
            tags.push_back({"addr:housenumber", utf8(o.address.mid(space + 1))});
        }
        for (const auto &[key, value] : {std::pair{"phone", &o.phone}, std::pair{"fax", &o.fax},
                                         std::pair{"email", &o.email}, std::pair{"website", &o.web}})
            if (!value->isEmpty())
                tags.push_back({key, utf8(*value)});
        file.node(o.position, tags);
    }
}

} // namespace

void write(const City &city, const TagMapping &mapping, const QString &path)
{
    try {
        File file(path, city.model->frame);
        writeTransport(city, mapping, file);
        writePlaces(city, mapping, file);
        writeStreets(city, file);
        writeLand(city, file);
        file.close();
    } catch (const std::exception &e) {
        throw std::runtime_error(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(e.what())).toStdString());
    }
}

} // namespace OsmExport
