#include "gtfs/GtfsFeed.h"

#include "gtfs/FeedFiles.h"
#include "gtfs/GtfsTable.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int MorningFrom = 7 * 3600;
constexpr int MorningTo = 10 * 3600;
constexpr int NotesShown = 3; // of each kind of mistake, the rest counted

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

// The feed's mistakes of one kind: the first few with their file and line, then how many more.
class Notes {
public:
    void add(const QString &kind, const QString &where, const QString &what)
    {
        Kind &k = m_kinds[kind];
        if (k.shown.size() < NotesShown)
            k.shown.append(what.isEmpty() ? where : QStringLiteral("%1: %2").arg(where, what));
        ++k.count;
    }
    QStringList lines() const
    {
        QStringList lines;
        for (auto it = m_kinds.cbegin(); it != m_kinds.cend(); ++it) {
            QString line = QStringLiteral("the feed: %1 (%2)").arg(it.key()).arg(it->count);
            line += QStringLiteral(": ") + it->shown.join(QStringLiteral("; "));
            if (it->count > it->shown.size())
                line += QStringLiteral("; and %1 more").arg(it->count - it->shown.size());
            lines.append(line);
        }
        return lines;
    }

private:
    struct Kind {
        QStringList shown;
        int count = 0;
    };
    QMap<QString, Kind> m_kinds;
};

struct Call {
    int sequence;
    int stop;
    int seconds; // departure (else arrival) time; -1 when the row gives none
    qint64 line;
};

struct Trip {
    int route;
    int service;
    int direction; // 0 or 1; -1 when trips.txt does not say
    qint64 line;   // in trips.txt
    QVector<Call> calls;
    QVector<int> pattern; // top-level stops in order, once the calls are checked
    int start = -1;       // first departure in seconds
    QVector<QPair<int, int>> frequencies; // start and end of each window, with ...
    QVector<int> headways;                // ... its headway in seconds
};

std::unique_ptr<GtfsTable> table(const FeedFiles &files, const QString &name, const QStringList &required)
{
    std::unique_ptr<QIODevice> device = files.open(name);
    if (!device)
        fail(QStringLiteral("The feed %1 has no %2").arg(files.path(), name));
    return std::make_unique<GtfsTable>(std::move(device), name, required);
}

bool number(const QByteArray &text, double *value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok;
}

class Reader {
public:
    explicit Reader(const QString &path) : m_files(path) {}

    GtfsFeed read()
    {
        readStops();
        readRoutes();
        readTrips();
        readStopTimes();
        readFrequencies();
        checkTrips();
        chooseTrips();
        m_feed.notes = m_notes.lines();
        return std::move(m_feed);
    }

private:
    void readStops()
    {
        auto t = table(m_files, QStringLiteral("stops.txt"), {QStringLiteral("stop_id"), QStringLiteral("stop_name")});
        const int id = t->column("stop_id"), name = t->column("stop_name"), lat = t->column("stop_lat"),
                  lon = t->column("stop_lon"), type = t->column("location_type"), parent = t->column("parent_station");
        QVector<QByteArray> parents;
        QVector<QString> where;
        while (t->next()) {
            GtfsStop stop;
            stop.id = t->value(id);
            const int kind = t->value(type).toInt(); // empty: 0, a platform or stop
            if (stop.id.isEmpty()) {
                m_notes.add(QStringLiteral("stops without stop_id, left out"), t->where(), QString());
                continue;
            }
            if (kind > 1)
                continue; // entrances, path nodes and boarding areas are parts of a station, not stops
            if (m_stopIndex.contains(stop.id)) {
                m_notes.add(QStringLiteral("stop ids given twice, the first kept"), t->where(), QString::fromUtf8(stop.id));
                continue;
            }
            stop.name = t->text(name);
            stop.station = kind == 1;
            double la = 0, lo = 0;
            stop.located = number(t->value(lat), &la) && number(t->value(lon), &lo) && qAbs(la) <= 90 && qAbs(lo) <= 180
                && !(la == 0 && lo == 0);
            stop.lat = la;
            stop.lon = lo;
            m_stopIndex.insert(stop.id, int(m_feed.stops.size()));
            m_feed.stops.append(stop);
            parents.append(t->value(parent));
            where.append(t->where());
        }
        for (int i = 0; i < m_feed.stops.size(); ++i) {
            GtfsStop &stop = m_feed.stops[i];
            const int p = parents[i].isEmpty() ? -1 : m_stopIndex.value(parents[i], -1);
            if (p >= 0 && m_feed.stops[p].station && !stop.station)
                stop.parent = p;
            else if (!parents[i].isEmpty() && !stop.station)
                m_notes.add(QStringLiteral("parent stations that are not stations of the feed, ignored"), where[i],
                            QString::fromUtf8(parents[i]));
            if (!stop.located && stop.parent >= 0 && m_feed.stops[stop.parent].located) {
                stop.located = true;
                stop.lat = m_feed.stops[stop.parent].lat;
                stop.lon = m_feed.stops[stop.parent].lon;
            }
            if (!stop.located)
                m_notes.add(QStringLiteral("stops without coordinates, kept without a position"), where[i],
                            QString::fromUtf8(stop.id));
        }
    }

    void readRoutes()
    {
        auto t = table(m_files, QStringLiteral("routes.txt"), {QStringLiteral("route_id"), QStringLiteral("route_type")});
        const int id = t->column("route_id"), shortName = t->column("route_short_name"),
                  longName = t->column("route_long_name"), type = t->column("route_type"), colour = t->column("route_color");
        if (shortName < 0 && longName < 0)
            fail(QStringLiteral("routes.txt:1: the header has neither route_short_name nor route_long_name"));
        while (t->next()) {
            GtfsRoute route;
            route.id = t->value(id);
            route.line = t->line();
            route.shortName = t->text(shortName);
            route.longName = t->text(longName);
            bool ok = false;
            route.type = t->value(type).toInt(&ok);
            if (m_routeIndex.contains(route.id)) {
                m_notes.add(QStringLiteral("route ids given twice, the first kept"), t->where(), QString::fromUtf8(route.id));
                continue;
            }
            if (!ok || gtfsRouteValue(route.type).isEmpty()) {
                m_notes.add(QStringLiteral("routes of a route_type the catalogue has no transport for, left out"), t->where(),
                            QString::fromUtf8(t->value(type)));
                m_routeIndex.insert(route.id, -1);
                continue;
            }
            if (route.shortName.isEmpty() && route.longName.isEmpty()) {
                m_notes.add(QStringLiteral("routes without a name, left out"), t->where(), QString::fromUtf8(route.id));
                m_routeIndex.insert(route.id, -1);
                continue;
            }
            const QByteArray hex = t->value(colour);
            if (hex.size() == 6)
                route.colour = QColor(QStringLiteral("#") + QString::fromLatin1(hex));
            m_routeIndex.insert(route.id, int(m_routes.size()));
            m_routes.append(route);
        }
    }

    void readTrips()
    {
        auto t = table(m_files, QStringLiteral("trips.txt"),
                       {QStringLiteral("route_id"), QStringLiteral("service_id"), QStringLiteral("trip_id")});
        const int route = t->column("route_id"), service = t->column("service_id"), id = t->column("trip_id"),
                  direction = t->column("direction_id");
        QHash<QByteArray, int> services;
        while (t->next()) {
            const QByteArray trip = t->value(id);
            if (m_tripIndex.contains(trip)) {
                m_notes.add(QStringLiteral("trip ids given twice, the first kept"), t->where(), QString::fromUtf8(trip));
                continue;
            }
            const int r = m_routeIndex.value(t->value(route), -2);
            if (r == -2)
                m_notes.add(QStringLiteral("trips of routes routes.txt does not list, left out"), t->where(),
                            QString::fromUtf8(t->value(route)));
            if (r < 0) {
                m_tripIndex.insert(trip, -1);
                continue;
            }
            const QByteArray s = t->value(service);
            const int serviceIndex = int(services.size());
            m_tripIndex.insert(trip, int(m_trips.size()));
            m_trips.append({r, services.contains(s) ? services.value(s) : *services.insert(s, serviceIndex),
                            t->value(direction) == "1" ? 1 : t->value(direction) == "0" ? 0 : -1, t->line(), {}, {}, -1, {}, {}});
        }
    }

    // Streams the file: only the calls of the trips kept are held, as numbers.
    void readStopTimes()
    {
        auto t = table(m_files, QStringLiteral("stop_times.txt"),
                       {QStringLiteral("trip_id"), QStringLiteral("stop_id"), QStringLiteral("stop_sequence")});
        const int trip = t->column("trip_id"), stop = t->column("stop_id"), sequence = t->column("stop_sequence"),
                  arrival = t->column("arrival_time"), departure = t->column("departure_time");
        QByteArray lastTrip;
        int tripAt = -1;
        while (t->next()) {
            const QByteArray tripId = t->value(trip);
            if (tripId != lastTrip || tripAt == -2) {
                lastTrip = tripId;
                tripAt = m_tripIndex.value(tripId, -2);
                if (tripAt == -2)
                    m_notes.add(QStringLiteral("stop times of trips trips.txt does not list, left out"), t->where(),
                                QString::fromUtf8(tripId));
            }
            if (tripAt < 0 || m_trips[tripAt].route < 0)
                continue;
            const int s = m_stopIndex.value(t->value(stop), -1);
            bool ok = false;
            const int seq = t->value(sequence).toInt(&ok);
            if (s < 0 || !ok) {
                m_notes.add(s < 0 ? QStringLiteral("stop times at stops stops.txt does not list, their trips left out")
                                  : QStringLiteral("stop times without a stop_sequence, their trips left out"),
                            t->where(), QString::fromUtf8(s < 0 ? t->value(stop) : t->value(sequence)));
                m_trips[tripAt].calls.clear();
                m_trips[tripAt].route = -1;
                continue;
            }
            int seconds = gtfsSeconds(t->value(departure));
            if (seconds < 0)
                seconds = gtfsSeconds(t->value(arrival));
            m_trips[tripAt].calls.append({seq, s, seconds, t->line()});
        }
    }

    void readFrequencies()
    {
        std::unique_ptr<QIODevice> device = m_files.open(QStringLiteral("frequencies.txt"));
        if (!device)
            return;
        GtfsTable t(std::move(device), QStringLiteral("frequencies.txt"),
                    {QStringLiteral("trip_id"), QStringLiteral("start_time"), QStringLiteral("end_time"),
                     QStringLiteral("headway_secs")});
        const int trip = t.column("trip_id"), start = t.column("start_time"), end = t.column("end_time"),
                  headway = t.column("headway_secs");
        while (t.next()) {
            const int at = m_tripIndex.value(t.value(trip), -2);
            const int from = gtfsSeconds(t.value(start)), to = gtfsSeconds(t.value(end)), every = t.value(headway).toInt();
            if (at == -2 || from < 0 || to <= from || every <= 0) {
                m_notes.add(QStringLiteral("frequencies that cannot be used, left out"), t.where(), QString::fromUtf8(t.value(trip)));
                continue;
            }
            if (at >= 0) {
                m_trips[at].frequencies.append({from, to});
                m_trips[at].headways.append(every);
            }
        }
    }

    // A trip's calls in the order of their sequence; a trip whose times go back, that calls twice
    // at one position, or that has fewer than two stops is left out.
    void checkTrips()
    {
        for (Trip &trip : m_trips) {
            if (trip.route < 0)
                continue;
            std::sort(trip.calls.begin(), trip.calls.end(), [](const Call &a, const Call &b) { return a.sequence < b.sequence; });
            QString problem;
            qint64 line = trip.line;
            int last = -1;
            for (int i = 0; i < trip.calls.size() && problem.isEmpty(); ++i) {
                const Call &c = trip.calls[i];
                if (i > 0 && c.sequence == trip.calls[i - 1].sequence) {
                    problem = QStringLiteral("trips that list one stop_sequence twice, left out");
                    line = c.line;
                } else if (c.seconds >= 0 && last >= 0 && c.seconds < last) {
                    problem = QStringLiteral("trips whose times go back, left out");
                    line = c.line;
                }
                if (c.seconds >= 0)
                    last = c.seconds;
            }
            if (problem.isEmpty()) {
                for (const Call &c : trip.calls) {
                    const int top = m_feed.topLevel(c.stop);
                    if (trip.pattern.isEmpty() || trip.pattern.last() != top)
                        trip.pattern.append(top);
                }
                if (trip.pattern.size() < 2)
                    problem = QStringLiteral("trips of fewer than two stops, left out");
            }
            if (!problem.isEmpty()) {
                m_notes.add(problem,
                            QStringLiteral("%1:%2").arg(line == trip.line ? QStringLiteral("trips.txt") : QStringLiteral("stop_times.txt"))
                                .arg(line),
                            QString());
                trip.route = -1;
                trip.pattern.clear();
            } else {
                trip.start = trip.calls.first().seconds;
            }
            trip.calls = {};
        }
    }

    // Each route's stops: the most frequent pattern of each direction on its busiest service; its
    // interval from the morning's departures in the busier direction.
    void chooseTrips()
    {
        QVector<QVector<int>> tripsOf(m_routes.size());
        for (int i = 0; i < m_trips.size(); ++i)
            if (m_trips[i].route >= 0)
                tripsOf[m_trips[i].route].append(i);
        for (int r = 0; r < m_routes.size(); ++r) {
            GtfsRoute &route = m_routes[r];
            QHash<int, int> perService;
            for (int t : tripsOf[r])
                ++perService[m_trips[t].service];
            int service = -1, most = 0;
            for (auto it = perService.cbegin(); it != perService.cend(); ++it)
                if (it.value() > most || (it.value() == most && it.key() < service)) {
                    service = it.key();
                    most = it.value();
                }
            if (service < 0) {
                m_notes.add(QStringLiteral("routes without a usable trip, left out"), QStringLiteral("routes.txt:%1").arg(route.line),
                            QString::fromUtf8(route.id));
                continue;
            }
            QVector<int> departures[2];
            QHash<QVector<int>, int> patterns[2];
            const QVector<int> undirected = mostFrequent(tripsOf[r], service, -1);
            for (int t : tripsOf[r]) {
                Trip &trip = m_trips[t];
                if (trip.service != service)
                    continue;
                // Without direction_id, a trip that starts where the commonest pattern ends, or
                // ends where it starts, runs the other way.
                if (trip.direction < 0)
                    trip.direction = !undirected.isEmpty() && trip.pattern.first() != undirected.first()
                                         && (trip.pattern.first() == undirected.last() || trip.pattern.last() == undirected.first());
                ++patterns[trip.direction][trip.pattern];
                if (trip.frequencies.isEmpty()) {
                    if (trip.start >= 0)
                        departures[trip.direction].append(trip.start);
                } else {
                    for (int w = 0; w < trip.frequencies.size(); ++w)
                        for (int at = trip.frequencies[w].first; at < trip.frequencies[w].second; at += trip.headways[w])
                            departures[trip.direction].append(at);
                }
            }
            for (const auto &counted : patterns)
                if (const QVector<int> best = commonest(counted); !best.isEmpty())
                    route.directions.append(best);
            setInterval(route, departures);
            for (const QVector<int> &direction : route.directions)
                for (int stop : direction) {
                    GtfsStop &s = m_feed.stops[stop];
                    s.served = true;
                    if (s.routeValue != "subway")
                        s.routeValue = gtfsRouteValue(route.type);
                }
            m_feed.routes.append(route);
        }
    }

    // The commonest stop pattern of a route's trips of one service and direction.
    QVector<int> mostFrequent(const QVector<int> &trips, int service, int direction) const
    {
        QHash<QVector<int>, int> counted;
        for (int t : trips)
            if (m_trips[t].service == service && m_trips[t].direction == direction)
                ++counted[m_trips[t].pattern];
        return commonest(counted);
    }

    // The pattern most trips run; of equal ones the first in order, so that a feed always gives
    // the same city.
    static QVector<int> commonest(const QHash<QVector<int>, int> &counted)
    {
        const QVector<int> *best = nullptr;
        int count = 0;
        for (auto it = counted.cbegin(); it != counted.cend(); ++it)
            if (it.value() > count || (it.value() == count && best && it.key() < *best)) {
                best = &it.key();
                count = it.value();
            }
        return best ? *best : QVector<int>();
    }

    static void setInterval(GtfsRoute &route, QVector<int> (&departures)[2])
    {
        int busier = 0, morning[2] = {0, 0};
        for (int d = 0; d < 2; ++d) {
            std::sort(departures[d].begin(), departures[d].end());
            departures[d].erase(std::unique(departures[d].begin(), departures[d].end()), departures[d].end());
            for (int at : departures[d])
                morning[d] += at >= MorningFrom && at < MorningTo;
        }
        busier = morning[1] > morning[0] || (morning[1] == morning[0] && departures[1].size() > departures[0].size());
        route.morningDepartures = morning[busier];
        const QVector<int> &all = departures[busier];
        if (morning[busier] >= 2)
            route.intervalMinutes = (MorningTo - MorningFrom) / 60.0 / morning[busier];
        else if (all.size() >= 2)
            route.intervalMinutes = (all.last() - all.first()) / 60.0 / (all.size() - 1);
        route.intervalMinutes = qRound(route.intervalMinutes * 10) / 10.0;
    }

    FeedFiles m_files;
    GtfsFeed m_feed;
    Notes m_notes;
    QVector<GtfsRoute> m_routes;
    QVector<Trip> m_trips;
    QHash<QByteArray, int> m_stopIndex;
    QHash<QByteArray, int> m_routeIndex; // -1: a route left out
    QHash<QByteArray, int> m_tripIndex;  // -1: a trip of a route left out
};

} // namespace

GtfsFeed GtfsFeed::read(const QString &path)
{
    return Reader(path).read();
}

int GtfsFeed::topLevel(int stop) const
{
    return stops[stop].parent >= 0 ? stops[stop].parent : stop;
}

int gtfsSeconds(const QByteArray &text)
{
    const QList<QByteArray> parts = text.trimmed().split(':');
    if (parts.size() != 3)
        return -1;
    int values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok || values[i] < 0 || (i > 0 && values[i] > 59) || values[i] > 99)
            return -1;
    }
    return values[0] * 3600 + values[1] * 60 + values[2];
}

QByteArray gtfsRouteValue(int type)
{
    if (type == 0 || (type >= 900 && type <= 906))
        return "tram";
    if (type == 1 || (type >= 400 && type <= 404))
        return "subway";
    if (type == 2 || (type >= 100 && type <= 117))
        return "train";
    if (type == 3 || (type >= 700 && type <= 717) || (type >= 200 && type <= 209))
        return "bus";
    if (type == 11 || type == 800)
        return "trolleybus";
    // Cable trams, cable cars and funiculars: the catalogue's cable-car lines.
    if (type == 5 || type == 6 || type == 7 || type == 1300 || type == 1400)
        return "aerialway";
    return {};
}
