#include "transit/Network.h"

#include "transit/SheetPosition.h"


#include <algorithm>
#include <cmath>

namespace {

// A stop's position counts when it lies on its sheet (a hair's breadth over the edge allowed).
constexpr double SheetMargin = 0.01;
constexpr int UnplacedExamples = 3;
// Intervals beyond a day are no service anyone waits for.
constexpr double MaxIntervalMinutes = 24 * 60;

bool onSheet(double v)
{
    return v >= -SheetMargin && v <= 100.0 + SheetMargin;
}

std::optional<int> asInt(const std::optional<qint64> &v)
{
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*v);
}

double distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

std::shared_ptr<const Network> Network::build(const NetworkTables &tables, const CityFrame &frame,
                                              const TransitFigures &figures)
{
    std::shared_ptr<Network> network(new Network(frame, figures));
    network->addStops(tables.stops);
    network->addRoutes(tables);
    network->indexVisits();
    network->linkFootpaths();
    return network;
}

QPointF Network::metres(QPointF generalPercent) const
{
    return {generalPercent.x() * m_frame.widthMetres / 100.0, generalPercent.y() * m_frame.heightMetres / 100.0};
}

void Network::addStops(const QVector<NetworkTables::Stop> &rows)
{
    m_stops.reserve(rows.size());
    for (const NetworkTables::Stop &row : rows) {
        const std::optional<int> code = asInt(row.code);
        if (!code)
            continue;
        if (m_stopByCode.contains(*code)) {
            ++m_notes.repeatedStopCodes;
            continue;
        }
        TransitStop stop;
        stop.code = *code;
        stop.name = row.name;
        stop.district = row.district;
        stop.sheet = row.sheet;
        stop.x = row.x;
        stop.y = row.y;
        const std::optional<QPointF> general = SheetPosition::generalPercent(row.sheet, row.x, row.y);
        stop.placed = general && onSheet(row.x) && onSheet(row.y);
        if (stop.placed) {
            stop.general = *general;
            stop.metres = metres(*general);
        } else if (m_notes.unplacedStops++ < UnplacedExamples) {
            m_notes.unplacedExamples.append(row.name);
        }
        m_stopByCode.insert(*code, int(m_stops.size()));
        m_stopsByName[stop.name].append(int(m_stops.size()));
        m_stops.append(stop);
    }
}

void Network::addRoutes(const NetworkTables &tables)
{
    QHash<qint64, QString> typeNames;
    for (const NetworkTables::Type &t : tables.types)
        if (t.code && !typeNames.contains(*t.code))
            typeNames.insert(*t.code, t.name);

    QHash<qint64, int> routeByCode;
    for (const NetworkTables::Route &row : tables.routes) {
        const std::optional<int> code = asInt(row.code);
        if (!code)
            continue;
        if (routeByCode.contains(*code)) {
            ++m_notes.repeatedRouteCodes;
            continue;
        }
        TransitRoute route;
        route.code = *code;
        route.name = row.name;
        route.type = asInt(row.type).value_or(0);
        route.typeName = row.type ? typeNames.value(*row.type) : QString();
        route.mode = TransitFigures::modeOfType(route.typeName);
        route.intervalMinutes = m_figures.mode(route.mode).defaultIntervalMinutes;
        routeByCode.insert(*code, int(m_routes.size()));
        m_routes.append(route);
    }

    m_notes.intervalsProblem = tables.intervalsProblem;
    for (const NetworkTables::Interval &row : tables.intervals) {
        const int route = row.route ? routeByCode.value(*row.route, -1) : -1;
        if (route < 0 || !(row.minutes > 0 && row.minutes <= MaxIntervalMinutes)) {
            ++m_notes.unusableIntervals;
            continue;
        }
        m_routes[route].intervalMinutes = row.minutes;
        m_routes[route].intervalFromCity = true;
    }

    // A route's stops in the order of their numbers; a number given twice is ordered by the
    // stop's code, so that every backend gives the same order.
    struct Ordered {
        qint64 order;
        int stop;
    };
    QVector<QVector<Ordered>> ordered(m_routes.size());
    for (const NetworkTables::Link &link : tables.links) {
        const int route = link.route ? routeByCode.value(*link.route, -1) : -1;
        const int stop = link.stop ? m_stopByCode.value(*link.stop, -1) : -1;
        if (route < 0 || stop < 0 || !link.order) {
            ++m_notes.unusableLinks;
            continue;
        }
        ordered[route].append({*link.order, stop});
    }
    for (int r = 0; r < m_routes.size(); ++r) {
        QVector<Ordered> &links = ordered[r];
        std::sort(links.begin(), links.end(), [this](const Ordered &a, const Ordered &b) {
            return a.order != b.order ? a.order < b.order : m_stops[a.stop].code < m_stops[b.stop].code;
        });
        TransitRoute &route = m_routes[r];
        for (const Ordered &link : links)
            if (route.stops.isEmpty() || route.stops.last() != link.stop) // the same stop twice in a row is one
                route.stops.append(link.stop);
        route.circular = route.stops.size() > 2 && route.stops.first() == route.stops.last();
        route.scan = route.stops;
        if (route.circular)
            route.scan += route.stops.mid(1);
        timeRoute(route);
    }
}

// Ride minutes along the scan: each stretch between placed stops at the mode's speed, a stop's
// dwell at each stop moved on to. An unplaced stop adds its dwell, and the stretch to it is
// counted from the last placed stop to the next one.
void Network::timeRoute(TransitRoute &route) const
{
    const double dwell = m_figures.mode(route.mode).dwellMinutes;
    route.minutesAt.resize(route.scan.size());
    int lastPlaced = -1;
    double minutes = 0;
    for (int p = 0; p < route.scan.size(); ++p) {
        const TransitStop &stop = m_stops[route.scan[p]];
        if (p > 0)
            minutes += dwell;
        if (stop.placed) {
            if (lastPlaced >= 0)
                minutes += m_figures.rideMinutes(route.mode, distance(m_stops[lastPlaced].metres, stop.metres));
            lastPlaced = route.scan[p];
        }
        route.minutesAt[p] = minutes;
    }
}

void Network::indexVisits()
{
    QVector<int> counts(m_stops.size() + 1, 0);
    for (const TransitRoute &route : m_routes)
        for (int stop : route.stops)
            ++counts[stop + 1];
    for (int s = 0; s < m_stops.size(); ++s)
        counts[s + 1] += counts[s];
    m_visitStart = counts;
    m_visits.resize(counts.last());
    QVector<int> filled = counts;
    for (int r = 0; r < m_routes.size(); ++r)
        for (int p = 0; p < m_routes[r].stops.size(); ++p)
            m_visits[filled[m_routes[r].stops[p]]++] = {r, p};
}

// Changes between placed stops: a grid of cells a change's walk wide, so that each stop is
// compared only with the stops of its own and the eight neighbouring cells.
void Network::linkFootpaths()
{
    const double reach = m_figures.changeWalkMetres;
    QHash<qint64, QVector<int>> cells;
    auto cellOf = [reach](QPointF p, int dx, int dy) {
        return (qint64(std::floor(p.x() / reach)) + dx) * 1000003 + qint64(std::floor(p.y() / reach)) + dy;
    };
    for (int s = 0; s < m_stops.size(); ++s)
        if (m_stops[s].placed)
            cells[cellOf(m_stops[s].metres, 0, 0)].append(s);

    m_footpathStart.resize(m_stops.size() + 1);
    m_footpathStart[0] = 0;
    for (int s = 0; s < m_stops.size(); ++s) {
        if (m_stops[s].placed) {
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    const auto cell = cells.constFind(cellOf(m_stops[s].metres, dx, dy));
                    if (cell == cells.cend())
                        continue;
                    for (int other : *cell) {
                        const double d = distance(m_stops[s].metres, m_stops[other].metres);
                        if (other != s && d <= reach)
                            m_footpaths.append({other, float(d)});
                    }
                }
            }
        }
        m_footpathStart[s + 1] = int(m_footpaths.size());
    }
}

QStringList NetworkNotes::describe(const CityFrame &frame) const
{
    QStringList lines;
    if (frame.rough)
        lines << QStringLiteral("%1: distances use the default Tbilisi frame, so the times are rough").arg(frame.problem);
    if (unplacedStops > 0)
        lines << QStringLiteral("%1 stop(s) have no position on the map (%2%3) and are left out of walking")
                     .arg(unplacedStops)
                     .arg(unplacedExamples.join(QStringLiteral(", ")), unplacedStops > unplacedExamples.size()
                                                                          ? QStringLiteral(", ...")
                                                                          : QString());
    if (repeatedStopCodes > 0)
        lines << QStringLiteral("%1 stop row(s) repeat the code of another and are left out").arg(repeatedStopCodes);
    if (repeatedRouteCodes > 0)
        lines << QStringLiteral("%1 route row(s) repeat the code of another and are left out").arg(repeatedRouteCodes);
    if (unusableLinks > 0)
        lines << QStringLiteral("%1 route stop(s) name no known route or stop, or have no order number, and are left out")
                     .arg(unusableLinks);
    if (unusableIntervals > 0)
        lines << QStringLiteral("%1 route interval(s) name no route or no sound number of minutes and are left out")
                     .arg(unusableIntervals);
    if (!intervalsProblem.isEmpty())
        lines << QStringLiteral("The routes' intervals cannot be read (%1); each type's default is used").arg(intervalsProblem);
    return lines;
}
