#include "osmimport/OsmTransport.h"

#include "citykit/Geometry.h"
#include "gtfs/GtfsFeed.h"
#include "osmimport/Transcription.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace OsmTransport {

namespace {

constexpr double SameStopRadius = 100;   // metres between the parts of one stop of one name
constexpr double UnnamedPartRadius = 60; // an unnamed part joins the nearest stop this close
constexpr double StreetRadius = 300;     // an unnamed stop is named after a street this close
constexpr double FeedStopRadius = 60;    // a feed's stop joins a stop of its name this close
constexpr int MaxStops = 32767;          // stop codes are 16-bit
constexpr int StopNameWidth = 50;
constexpr int RouteNameWidth = 10;
constexpr int DescriptionWidth = 50;
const QColor MetroColour(200, 40, 40);
const QString MetroPrefix = QStringLiteral("metro ");

// A stop's name as people write it, transcribed; a metro station's with its one "metro ".
QString stopName(const QString &name, bool metro)
{
    const QString transcribed = Transcription::transcribe(name);
    return (metro && !transcribed.isEmpty() ? metroName(transcribed) : transcribed).left(StopNameWidth);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isStopRole(const QByteArray &role)
{
    return role.contains("stop") || role.contains("platform");
}

struct Part {
    int index; // into the extract's stops
    QString name;
    bool metro;
    bool cable;
    QColor colour;
};

struct StopKind {
    bool metro = false;
    bool cable = false;
    QColor colour;
};

class Builder {
public:
    Builder(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping, const GtfsFeed *feed)
        : m_extract(extract), m_districts(districts), m_mapping(mapping), m_feed(feed), m_stopOf(extract.stops.size(), -1)
    {
        for (int i = 0; i < extract.stops.size(); ++i)
            if (!m_partOf.contains(extract.stops[i].ref))
                m_partOf.insert(extract.stops[i].ref, i);
    }

    Result build(const QVector<SceneName> &streetNames)
    {
        readRoutes();
        joinParts();
        if (m_feed)
            joinFeedStops();
        nameUnnamed(streetNames);
        if (m_feed)
            buildFeedRoutes();
        else
            buildRoutes();
        keepWithinCodes();
        finish();
        return std::move(m_result);
    }

private:
    // What the routes say of their members: which are stops, metro stations, cable-car stations.
    void readRoutes()
    {
        for (const OsmRoute &route : m_extract.routes) {
            const QColor colour = route.colour.isValid() ? route.colour : MetroColour;
            for (const OsmRoute::Member &member : route.members) {
                if (isStopRole(member.role))
                    m_stopMembers.insert(member.ref);
                if (route.route == "subway" && member.ref.type == 'w' && !m_result.lineColours.contains(member.ref.id))
                    m_result.lineColours.insert(member.ref.id, colour);
                if (route.route == "subway" && !m_metroColour.contains(member.ref))
                    m_metroColour.insert(member.ref, colour);
                if (route.route == "aerialway")
                    m_cableMembers.insert(member.ref);
            }
        }
    }

    // The parts of one stop (its platforms, stop positions, station) become one stop: parts of
    // one name close together, and an unnamed part with the nearest stop close to it.
    void joinParts()
    {
        QVector<Part> parts;
        for (int i = 0; i < m_extract.stops.size(); ++i) {
            const OsmStop &s = m_extract.stops[i];
            if (!s.tagged && !m_stopMembers.contains(s.ref))
                continue;
            const bool metro = s.metro || m_metroColour.contains(s.ref);
            parts.append({i, stopName(s.name, metro), metro, s.cable || m_cableMembers.contains(s.ref),
                          m_metroColour.value(s.ref, MetroColour)});
        }
        std::stable_sort(parts.begin(), parts.end(), [&](const Part &a, const Part &b) {
            if (a.name.isEmpty() != b.name.isEmpty())
                return b.name.isEmpty();
            return m_extract.stops[a.index].rank < m_extract.stops[b.index].rank;
        });
        geo::PointIndex placed(SameStopRadius);
        for (const Part &part : parts) {
            const QPointF at = m_extract.stops[part.index].at;
            int stop = -1;
            if (part.name.isEmpty()) {
                stop = placed.near(at, UnnamedPartRadius).value(0, -1);
            } else {
                for (int near : placed.near(at, SameStopRadius))
                    if (sameName(m_result.stops[near].name, part.name)) {
                        stop = near;
                        break;
                    }
            }
            if (stop < 0) {
                stop = int(m_result.stops.size());
                StopRecord record;
                record.name = part.name;
                record.position = at;
                record.district = m_districts.at(at);
                m_result.stops.append(record);
                m_kinds.append(StopKind());
                placed.add(at, stop);
            }
            StopKind &kind = m_kinds[stop];
            if (part.metro && !kind.metro)
                kind.colour = part.colour;
            kind.metro = kind.metro || part.metro;
            kind.cable = kind.cable || part.cable;
            m_stopOf[part.index] = stop;
        }
    }

    // The feed's stops that its routes serve (a station with its platforms is one): each joins a
    // stop of its name close by, or is a stop of its own; outside the frame, without a position.
    void joinFeedStops()
    {
        geo::PointIndex placed(FeedStopRadius);
        for (int i = 0; i < m_result.stops.size(); ++i)
            placed.add(m_result.stops[i].position, i);
        const QRectF inside(0, 0, m_extract.frame.width, m_extract.frame.height);
        m_feedStop.fill(-1, m_feed->stops.size());
        int away = 0;
        for (int i = 0; i < m_feed->stops.size(); ++i) {
            const GtfsStop &s = m_feed->stops[i];
            if (!s.served || s.parent >= 0)
                continue;
            const bool metro = s.routeValue == "subway", cable = s.routeValue == "aerialway";
            const QString name = stopName(s.name, metro);
            const QPointF at = s.located ? m_extract.frame.project(s.lon, s.lat) : QPointF();
            const bool located = s.located && inside.contains(at);
            int stop = -1;
            if (located)
                for (int near : placed.near(at, FeedStopRadius))
                    if (m_result.stops[near].located && sameName(m_result.stops[near].name, name)) {
                        stop = near;
                        break;
                    }
            if (stop < 0) {
                stop = int(m_result.stops.size());
                StopRecord record;
                record.name = name;
                record.located = located;
                record.position = located ? at : QPointF();
                record.district = located ? m_districts.at(at) : -1;
                m_result.stops.append(record);
                m_kinds.append(StopKind());
                if (located)
                    placed.add(at, stop);
                else
                    ++away;
            }
            StopKind &kind = m_kinds[stop];
            if (metro && !kind.metro)
                kind.colour = MetroColour;
            kind.metro = kind.metro || metro;
            kind.cable = kind.cable || cable;
            m_feedStop[i] = stop;
        }
        if (away > 0)
            m_result.notes.append(QStringLiteral("%1 stops of the feed lie outside the maps' frame or have no coordinates: "
                                                 "they are kept without a map position")
                                      .arg(away));
    }

    void nameUnnamed(const QVector<SceneName> &streetNames)
    {
        geo::PointIndex streets(StreetRadius / 2);
        for (int i = 0; i < streetNames.size(); ++i) {
            const QPolygonF &line = streetNames[i].line;
            const double length = geo::length(line);
            for (double at = 0; at <= length; at += 40)
                streets.add(geo::pointAt(line, at), i);
        }
        for (StopRecord &stop : m_result.stops) {
            if (!stop.name.isEmpty() || !stop.located)
                continue;
            const int street = streets.near(stop.position, StreetRadius).value(0, -1);
            stop.name = (street >= 0 ? streetNames[street].name : m_districts.name(stop.district)).left(StopNameWidth);
        }
    }

    // One route for each transport type and route name: its relations (the two directions, say)
    // one after the other, each stop listed at every position where it is met.
    void buildRoutes()
    {
        QMap<QPair<int, QString>, int> routeOf;
        int withoutStops = 0;
        for (const OsmRoute &route : m_extract.routes) {
            const TagMapping::TransportType type = m_mapping.transportType(route.route);
            QString name = Transcription::transcribe(route.ref.isEmpty() ? route.name : route.ref).left(RouteNameWidth);
            if (name.isEmpty())
                name = QString::number(route.id).left(RouteNameWidth);
            QVector<int> stops;
            for (const OsmRoute::Member &member : route.members) {
                const int part = m_partOf.value(member.ref, -1);
                const int stop = part >= 0 ? m_stopOf[part] : -1;
                if (stop >= 0 && (stops.isEmpty() || stops.last() != stop))
                    stops.append(stop);
            }
            if (stops.isEmpty()) {
                ++withoutStops;
                continue;
            }
            const auto key = qMakePair(type.code, name);
            if (!routeOf.contains(key)) {
                routeOf.insert(key, int(m_result.routes.size()));
                RouteRecord record;
                record.type = type.code;
                record.name = name;
                record.colour = route.colour.isValid() ? route.colour : MetroColour;
                const QString from = Transcription::transcribe(route.from), to = Transcription::transcribe(route.to);
                record.description = (!from.isEmpty() && !to.isEmpty() ? from + QStringLiteral(" - ") + to
                                                                        : Transcription::transcribe(route.name))
                                         .left(DescriptionWidth);
                m_result.routes.append(record);
                m_types.insert(type.code, type.name);
            }
            QVector<int> &all = m_result.routes[routeOf.value(key)].stops;
            if (!all.isEmpty() && all.last() == stops.first())
                stops.removeFirst();
            all += stops;
        }
        if (withoutStops > 0)
            m_result.notes.append(QStringLiteral("%1 routes have no stop in the box and are left out").arg(withoutStops));
    }

    // The feed's routes: the stops of each direction one after the other, and how often it runs.
    void buildFeedRoutes()
    {
        int unread = 0;
        for (const GtfsRoute &route : m_feed->routes) {
            const TagMapping::TransportType type = m_mapping.transportType(gtfsRouteValue(route.type));
            if (type.code == 0) {
                ++unread;
                continue;
            }
            QVector<int> stops;
            for (const QVector<int> &direction : route.directions)
                for (int feedStop : direction) {
                    const int stop = m_feedStop.value(feedStop, -1);
                    if (stop >= 0 && (stops.isEmpty() || stops.last() != stop))
                        stops.append(stop);
                }
            if (stops.size() < 2)
                continue;
            RouteRecord record;
            record.type = type.code;
            record.name = Transcription::transcribe(route.shortName.isEmpty() ? route.longName : route.shortName)
                              .left(RouteNameWidth)
                              .trimmed();
            record.description = (!route.shortName.isEmpty() && !route.longName.isEmpty()
                                      ? Transcription::transcribe(route.longName)
                                      : m_result.stops[stops.first()].name + QStringLiteral(" - ")
                                            + m_result.stops[route.directions.first().size() < stops.size()
                                                                 ? stops[route.directions.first().size() - 1]
                                                                 : stops.last()]
                                                  .name)
                                     .left(DescriptionWidth);
            record.colour = route.colour.isValid() ? route.colour : MetroColour;
            record.stops = stops;
            record.intervalMinutes = route.intervalMinutes;
            m_result.routes.append(record);
            m_types.insert(type.code, type.name);
        }
        if (unread > 0)
            m_result.notes.append(QStringLiteral("%1 routes of the feed are of kinds the catalogue does not carry (rail and "
                                                 "the like) and are left out")
                                      .arg(unread));
    }

    // Stop codes are 16-bit: beyond that many, the stops no route serves go first.
    void keepWithinCodes()
    {
        if (m_result.stops.size() <= MaxStops)
            return;
        QVector<bool> served(m_result.stops.size(), false);
        for (const RouteRecord &route : m_result.routes)
            for (int stop : route.stops)
                served[stop] = true;
        QVector<int> order;
        for (const bool wanted : {true, false})
            for (int i = 0; i < m_result.stops.size(); ++i)
                if (served[i] == wanted)
                    order.append(i);
        order.resize(MaxStops);
        std::sort(order.begin(), order.end());
        QVector<int> newIndex(m_result.stops.size(), -1);
        QVector<StopRecord> kept;
        QVector<StopKind> keptKinds;
        for (int i : order) {
            newIndex[i] = int(kept.size());
            kept.append(m_result.stops[i]);
            keptKinds.append(m_kinds[i]);
        }
        m_result.notes.append(QStringLiteral("%1 stops are left out: stop codes end at %2")
                                  .arg(m_result.stops.size() - MaxStops)
                                  .arg(MaxStops));
        for (RouteRecord &route : m_result.routes) {
            QVector<int> stops;
            for (int stop : route.stops)
                if (newIndex[stop] >= 0)
                    stops.append(newIndex[stop]);
            route.stops = stops;
        }
        m_result.stops = kept;
        m_kinds = keptKinds;
    }

    void finish()
    {
        for (int i = 0; i < m_result.stops.size(); ++i) {
            StopRecord &stop = m_result.stops[i];
            stop.code = i + 1;
            const StopKind &kind = m_kinds[i];
            if (!stop.located)
                continue;
            if (kind.metro || kind.cable)
                m_result.stations.append({stop.position,
                                          stop.name.startsWith(MetroPrefix) ? stop.name.mid(MetroPrefix.size()) : stop.name,
                                          kind.colour, !kind.metro});
            else
                m_result.surfaceStops.append(stop.position);
        }
        for (int i = 0; i < m_result.routes.size(); ++i)
            m_result.routes[i].code = i + 1;
        for (auto it = m_types.cbegin(); it != m_types.cend(); ++it)
            m_result.types.append({it.key(), it.value()});
    }

    const OsmExtract &m_extract;
    const Districts &m_districts;
    const TagMapping &m_mapping;
    const GtfsFeed *m_feed;
    QVector<int> m_feedStop; // the stop each of the feed's top-level stops joined
    QHash<OsmRef, int> m_partOf;
    QVector<int> m_stopOf; // the stop each part joined, by the extract's stop index
    QSet<OsmRef> m_stopMembers;
    QSet<OsmRef> m_cableMembers;
    QHash<OsmRef, QColor> m_metroColour;
    QVector<StopKind> m_kinds;
    QMap<int, QString> m_types;
    Result m_result;
};

} // namespace

Result build(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping,
             const QVector<SceneName> &streetNames, const GtfsFeed *feed)
{
    return Builder(extract, districts, mapping, feed).build(streetNames);
}

QString metroName(const QString &name)
{
    // Longest first: "metro sadguri" before "metro".
    static const QStringList Prefixes{QStringLiteral("metro sadguri"), QStringLiteral("metrosadguri"), QStringLiteral("sadguri"),
                                      QStringLiteral("metro"), QStringLiteral("m/s"), QStringLiteral("m.s."),
                                      QStringLiteral("m. s.")};
    QString rest = name.trimmed();
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const QString &prefix : Prefixes) {
            if (!rest.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            const QChar after = rest.size() > prefix.size() ? rest.at(prefix.size()) : QChar();
            if (after.isLetterOrNumber() && prefix.back().isLetter())
                continue; // "metrologia" is no prefix
            QString shorter = rest.mid(prefix.size());
            while (!shorter.isEmpty() && (shorter.front().isSpace() || shorter.front() == QLatin1Char('.')
                                          || shorter.front() == QLatin1Char(',') || shorter.front() == QLatin1Char('-')))
                shorter.remove(0, 1);
            if (shorter.isEmpty()) // a station called just "metro" keeps its name
                return rest.startsWith(MetroPrefix.trimmed(), Qt::CaseInsensitive) ? rest : MetroPrefix + rest;
            rest = shorter;
            stripped = true;
            break;
        }
    }
    return MetroPrefix + rest;
}

} // namespace OsmTransport
