#include "democity/DemoCity.h"

#include "citykit/Geometry.h"
#include "citykit/SheetLayout.h"
#include "democity/Names.h"
#include "democity/StreetGrid.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// Stop codes are 16-bit in the schema.
constexpr int MaxStops = 32000;

int typeCode(const Model &model, const char *keyword)
{
    for (const StreetType &t : model.streetTypes)
        if (t.keyword == QLatin1String(keyword))
            return t.code;
    return -1;
}

// How often a route runs, in minutes: the metro every few minutes, a cable car every four, a
// minibus every 6 to 12 and a bus every 8 to 20, each route its own by its code.
double plausibleInterval(const Model &model, const RouteRecord &route)
{
    QString type;
    for (const TransportType &t : model.transportTypes)
        if (t.code == route.type)
            type = t.name;
    const int spread = (route.code * 7) % 13; // 0..12
    if (type.contains(QLatin1String("metro")))
        return 4 + spread % 2;
    if (type.contains(QLatin1String("sabagiro")))
        return 4;
    if (type.contains(QLatin1String("mikro")))
        return 6 + spread % 7;
    return 8 + spread;
}

// A point may carry a record when it lies on a sheet.
bool onSheet(const Model &model, QPointF p)
{
    return SheetLayout::locate(model.frame.percent(p)).isValid();
}

class Builder {
public:
    Builder(const Model &model, quint64 seed, const CitySize &size) : m_model(model), m_rng(seed)
    {
        m_city.model = &model;
        m_city.seed = seed;
        m_city.size = size;
    }

    City build()
    {
        m_city.grid = buildStreetGrid(m_model, m_rng.fork("grid"));
        buildStreets();
        buildStops();
        buildRoutes();
        buildObjects();
        return std::move(m_city);
    }

private:
    // --- streets

    QPolygonF layOut(const StreetDef &def, QVector<int> &nextRun)
    {
        QVector<GridRun> &runs = m_city.grid.runs[def.district];
        int &next = nextRun[def.district];
        if (next >= runs.size()) {
            // The district's grid is used up: a short stub near its centre.
            const QPointF c = geo::centroid(m_model.districts[def.district].outline);
            return QPolygonF{c, c + QPointF(120, 0)};
        }
        QPolygonF line = runs[next++].line;
        if (def.type == typeCode(m_model, "moedani"))
            return QPolygonF{line.first()};
        if (def.type == typeCode(m_model, "Sesaxvevi") || def.type == typeCode(m_model, "Cixi"))
            line.resize(2);
        return line;
    }

    void buildStreets()
    {
        QVector<int> nextRun(m_model.districts.size(), 0);
        QVector<StreetRecord> all;
        for (const StreetDef &def : m_model.streets) {
            StreetRecord s;
            s.name = def.name;
            s.type = def.type;
            s.district = def.district;
            s.line = def.line.isEmpty() ? layOut(def, nextRun) : def.line;
            s.fromModel = true;
            all.append(s);
        }
        // Every model street keeps its geometry for addresses; the table may hold fewer.
        m_modelStreets = all;
        const int wanted = m_city.size.streets > 0 ? m_city.size.streets : int(all.size());
        if (wanted < all.size())
            all.resize(wanted);

        QSet<QString> used;
        for (const StreetRecord &s : all)
            used.insert(s.name);
        Rng rng = m_rng.fork("streets");
        const auto &segments = m_city.grid.segments;
        int attempts = 0;
        while (all.size() < wanted && !segments.isEmpty() && attempts < wanted * 50) {
            ++attempts;
            StreetRecord s;
            s.name = names::street(m_model, rng, &s.type);
            if (used.contains(s.name) || s.name.size() > 100)
                continue;
            const GridSegment &seg = rng.pick(segments);
            s.district = seg.district;
            QVector<GridRun> &runs = m_city.grid.runs[seg.district];
            int &next = nextRun[seg.district];
            s.line = next < runs.size() ? runs[next++].line : QPolygonF{seg.a, seg.b};
            used.insert(s.name);
            all.append(s);
        }
        for (int i = 0; i < all.size(); ++i) {
            all[i].code = i + 1;
            all[i].marker = geo::pointAt(all[i].line, geo::length(all[i].line) / 2);
        }
        m_city.streets = all;
    }

    // --- stops and routes

    void buildStops()
    {
        for (const StopDef &def : m_model.stops) {
            StopRecord s;
            s.name = def.name;
            s.position = def.position;
            s.district = m_model.districtAt(def.position);
            s.fromModel = true;
            m_city.stops.append(s);
        }
        const int wanted = std::min(MaxStops, std::max(m_city.size.stops, int(m_city.stops.size())));
        if (wanted <= m_city.stops.size() || m_city.grid.segments.isEmpty())
            return;

        geo::PointIndex taken(300);
        for (int i = 0; i < m_city.stops.size(); ++i)
            taken.add(m_city.stops[i].position, i);
        geo::PointIndex streetPoints(250);
        QVector<int> streetOf;
        for (int i = 0; i < m_city.streets.size(); ++i) {
            const QPolygonF &line = m_city.streets[i].line;
            const double len = geo::length(line);
            for (double at = 0; at <= len; at += 80)
                streetPoints.add(geo::pointAt(line, at), i);
        }
        QSet<QString> usedNames;
        for (const StopRecord &s : m_city.stops)
            usedNames.insert(s.name);
        Rng rng = m_rng.fork("stops");
        int attempts = 0;
        while (m_city.stops.size() < wanted && attempts < wanted * 40) {
            ++attempts;
            const GridSegment &seg = rng.pick(m_city.grid.segments);
            const QPointF p = rng.chance(0.5) ? seg.a : seg.b;
            if (!onSheet(m_model, p) || (attempts < wanted * 20 && !taken.near(p, 120).isEmpty()))
                continue;
            const QVector<int> nearStreets = streetPoints.near(p, 600);
            QString base = nearStreets.isEmpty() ? m_model.districts[seg.district].name
                                                 : m_city.streets[nearStreets.first()].name;
            QString name = base;
            for (int n = 1 + 2 * rng.below(40); usedNames.contains(name); n += 2)
                name = base + QLatin1Char(' ') + QString::number(n);
            if (name.size() > 50)
                continue;
            StopRecord s;
            s.name = name;
            s.position = p;
            s.district = seg.district;
            taken.add(p, int(m_city.stops.size()));
            usedNames.insert(name);
            m_city.stops.append(s);
        }
    }

    void buildRoutes()
    {
        QMap<QString, int> stopByName;
        for (int i = 0; i < m_city.stops.size(); ++i)
            stopByName.insert(m_city.stops[i].name, i);
        QSet<QString> usedNames;
        for (const RouteDef &def : m_model.routes) {
            RouteRecord r;
            r.type = def.type;
            r.name = def.name;
            r.description = def.description;
            r.colour = def.colour;
            r.fromModel = true;
            for (const QString &stop : def.stops)
                r.stops.append(stopByName.value(stop));
            usedNames.insert(r.name);
            m_city.routes.append(r);
        }
        const int extraStops = int(m_city.stops.size()) - int(m_model.stops.size());
        int wanted = m_city.size.routes > 0 ? std::max(m_city.size.routes, int(m_model.routes.size()))
                                            : int(m_model.routes.size()) + (extraStops + 13) / 14;
        // Generated stops need at least one generated route to be served by.
        if (extraStops > 0)
            wanted = std::max(wanted, int(m_model.routes.size()) + 1);
        if (wanted > m_city.routes.size())
            buildExtraRoutes(wanted, usedNames);
        for (int i = 0; i < m_city.routes.size(); ++i) {
            m_city.routes[i].code = i + 1;
            m_city.routes[i].intervalMinutes = plausibleInterval(m_model, m_city.routes[i]);
        }
        for (int i = 0; i < m_city.stops.size(); ++i)
            m_city.stops[i].code = i + 1;
    }

    // Routes through the generated stops: each walks on from stop to a nearby stop ahead,
    // preferring stops that no route serves yet, so that every stop is on some route.
    void buildExtraRoutes(int wanted, QSet<QString> &usedNames)
    {
        Rng rng = m_rng.fork("routes");
        geo::PointIndex index(500);
        QVector<int> served(m_city.stops.size(), 0);
        for (const RouteRecord &r : m_city.routes)
            for (int s : r.stops)
                ++served[s];
        QVector<int> order;
        for (int i = 0; i < m_city.stops.size(); ++i) {
            index.add(m_city.stops[i].position, i);
            order.append(i);
        }
        for (int k = order.size() - 1; k > 0; --k)
            std::swap(order[k], order[rng.below(k + 1)]);
        int orderNext = 0;
        int busNumber = 302, minibusNumber = 402;
        while (m_city.routes.size() < wanted) {
            while (orderNext < order.size() && served[order[orderNext]] > 0)
                ++orderNext;
            int current = orderNext < order.size() ? order[orderNext] : rng.below(int(m_city.stops.size()));
            const double heading = rng.range(0, 2 * M_PI);
            QPointF direction(std::cos(heading), std::sin(heading));
            RouteRecord r;
            r.stops.append(current);
            ++served[current];
            const int length = 12 + rng.below(16);
            while (r.stops.size() < length) {
                const QPointF here = m_city.stops[current].position;
                int best = -1;
                double bestScore = 1e300;
                for (double radius : {900.0, 1800.0, 3600.0}) {
                    for (int candidate : index.near(here, radius)) {
                        if (r.stops.contains(candidate))
                            continue;
                        const QPointF step = m_city.stops[candidate].position - here;
                        const double d = std::hypot(step.x(), step.y());
                        if (d < 150 || QPointF::dotProduct(step, direction) < 0.3 * d)
                            continue;
                        const double score = d + (served[candidate] ? 700 : 0) + rng.range(0, 250);
                        if (score < bestScore) {
                            bestScore = score;
                            best = candidate;
                        }
                    }
                    if (best >= 0)
                        break;
                }
                if (best < 0)
                    break;
                const QPointF step = m_city.stops[best].position - here;
                direction = direction * 0.5 + step / std::hypot(step.x(), step.y()) * 0.5;
                direction /= std::max(1e-9, std::hypot(direction.x(), direction.y()));
                current = best;
                r.stops.append(current);
                ++served[current];
            }
            if (r.stops.size() < 2) {
                // A lone stop: try again from another.
                ++orderNext;
                if (orderNext > order.size() + wanted)
                    break;
                continue;
            }
            const bool bus = rng.chance(0.6);
            r.type = bus ? 2 : 3;
            int &number = bus ? busNumber : minibusNumber;
            do {
                r.name = QString::number(number++);
            } while (usedNames.contains(r.name));
            usedNames.insert(r.name);
            m_city.routes.append(r);
        }
        // A stop no route reached joins the generated route that ends nearest to it.
        const int firstExtra = int(m_model.routes.size());
        for (int stop = 0; stop < m_city.stops.size() && firstExtra < m_city.routes.size(); ++stop) {
            if (served[stop])
                continue;
            const QPointF p = m_city.stops[stop].position;
            int bestRoute = firstExtra;
            bool atStart = false;
            double best = 1e300;
            for (int i = firstExtra; i < m_city.routes.size(); ++i) {
                const QVector<int> &stops = m_city.routes[i].stops;
                const double toFirst = geo::distance(p, m_city.stops[stops.first()].position);
                const double toLast = geo::distance(p, m_city.stops[stops.last()].position);
                if (std::min(toFirst, toLast) < best) {
                    best = std::min(toFirst, toLast);
                    bestRoute = i;
                    atStart = toFirst < toLast;
                }
            }
            QVector<int> &stops = m_city.routes[bestRoute].stops;
            if (atStart)
                stops.prepend(stop);
            else
                stops.append(stop);
            ++served[stop];
        }
        for (int i = firstExtra; i < m_city.routes.size(); ++i) {
            RouteRecord &r = m_city.routes[i];
            r.description = QString(m_city.stops[r.stops.first()].name + QStringLiteral(" - ")
                                    + m_city.stops[r.stops.last()].name).left(50);
        }
    }

    // --- objects

    QString phone(Rng &rng) const
    {
        auto two = [&] { return QStringLiteral("%1").arg(rng.below(100), 2, 10, QLatin1Char('0')); };
        return QStringLiteral("(032) 2 %1 %2 %3").arg(two(), two(), two());
    }

    QString mobile(Rng &rng) const
    {
        auto two = [&] { return QStringLiteral("%1").arg(rng.below(100), 2, 10, QLatin1Char('0')); };
        return QStringLiteral("5%1%2 %3 %4 %5").arg(5 + rng.below(5)).arg(rng.below(10)).arg(two(), two(), two());
    }

    // A place beside a street, on the side its house number gives; false when it lies on no sheet.
    bool placeOnStreet(const StreetRecord &street, int house, Rng &rng, QPointF *place) const
    {
        const QPolygonF &line = street.line;
        const double len = geo::length(line);
        const bool wide = street.type == typeCode(m_model, "gamziri") || street.type == typeCode(m_model, "gzatkecili");
        for (int attempt = 0; attempt < 4; ++attempt) {
            QPointF p;
            if (line.size() < 2 || len <= 0) {
                const double a = rng.range(0, 2 * M_PI), r = rng.range(25, 60);
                p = line.value(0) + QPointF(std::cos(a) * r, std::sin(a) * r);
            } else {
                const double along = attempt == 0 ? std::min(len * 0.97, 10.0 + house * 11.0) : rng.range(0, len);
                QPointF dir;
                const QPointF on = geo::pointAt(line, along, &dir);
                const double side = (house % 2 ? 1 : -1) * ((wide ? 26 : 16) + rng.range(0, 8));
                p = on + QPointF(-dir.y(), dir.x()) * side;
            }
            if (onSheet(m_model, p)) {
                *place = p;
                return true;
            }
        }
        return false;
    }

    void fillContacts(ObjectRecord &o, Rng &rng) const
    {
        const QString domain = names::domain(o.name);
        if (o.phone.isEmpty())
            o.phone = rng.chance(0.25) ? phone(rng) + QStringLiteral(", ") + mobile(rng)
                                       : (rng.chance(0.2) ? mobile(rng) : phone(rng));
        if (rng.chance(0.25))
            o.fax = phone(rng);
        if (o.web.isEmpty() && !domain.isEmpty() && rng.chance(0.4))
            o.web = QStringLiteral("www.") + domain + QStringLiteral(".ge");
        if (!domain.isEmpty() && rng.chance(0.45))
            o.email = QStringLiteral("info@") + (o.web.isEmpty() ? domain + QStringLiteral(".ge") : o.web.mid(4));
        static const QStringList notes{QStringLiteral("samuSao saaTebi: 09:00 - 18:00"),
                                       QStringLiteral("samuSao saaTebi: 10:00 - 22:00"),
                                       QStringLiteral("Ria yoveldRe, 24 saaTi"),
                                       QStringLiteral("uqmeebi: Sabati, kvira"),
                                       QStringLiteral("parkingi ezoSi")};
        if (rng.chance(0.5))
            o.note = rng.pick(notes);
    }

    void finishObject(ObjectRecord &o, Rng &rng)
    {
        if (const SubRubric *sub = m_model.subRubric(o.subRubric))
            o.activity = sub->activity;
        fillContacts(o, rng);
        o.hasMapLogo = rng.chance(0.85);
        o.hasAdvert = o.located && rng.chance(m_city.size.advertShare);
        o.hasAdvertIcon = o.hasAdvert || m_city.size.advertIconForAll;
        if (o.hasAdvert) {
            // Branches of a chain share their advertising file and its name.
            const QString base = names::domain(o.name);
            o.advertFileName = (base.isEmpty() ? QStringLiteral("reklama") : base) + QStringLiteral(".pdf");
        }
        o.code = int(m_city.objects.size()) + 1;
        m_city.objects.append(o);
    }

    const StreetRecord *modelStreet(const QString &name) const
    {
        for (const StreetRecord &s : m_modelStreets)
            if (s.name == name)
                return &s;
        return nullptr;
    }

    void buildObjects()
    {
        Rng rng = m_rng.fork("objects");
        const int wanted = std::max(0, m_city.size.objects);
        for (const ObjectDef &def : m_model.objects) {
            if (m_city.objects.size() >= wanted)
                return;
            ObjectRecord o;
            o.name = def.name;
            o.subRubric = def.subRubric;
            o.phone = def.phone;
            o.web = def.web;
            if (const StreetRecord *street = modelStreet(def.street)) {
                o.address = street->name + QLatin1Char(' ') + def.house;
                o.district = street->district;
                o.located = placeOnStreet(*street, def.house.toInt(), rng, &o.position);
            } else {
                o.district = -1; // a hot line serves the whole city
            }
            finishObject(o, rng);
        }

        // Generated objects: a sub-rubric by its share, a street by its importance.
        QVector<int> subWeights;
        int subTotal = 0;
        for (const SubRubric &s : m_model.subRubrics) {
            subTotal += s.share;
            subWeights.append(subTotal);
        }
        QVector<double> streetWeights;
        double streetTotal = 0;
        for (const StreetRecord &s : m_city.streets) {
            double w = 1;
            if (s.type == typeCode(m_model, "gamziri") || s.type == typeCode(m_model, "gzatkecili"))
                w = 5;
            else if (s.type == typeCode(m_model, "xidi"))
                w = 0;
            else if (s.type == typeCode(m_model, "moedani"))
                w = 2;
            streetTotal += w;
            streetWeights.append(streetTotal);
        }
        if (subTotal <= 0 || streetTotal <= 0)
            return;
        int attempts = 0;
        while (m_city.objects.size() < wanted && attempts++ < wanted * 10) {
            const int pickSub = rng.below(subTotal);
            const SubRubric &sub =
                m_model.subRubrics[int(std::upper_bound(subWeights.begin(), subWeights.end(), pickSub) - subWeights.begin())];
            const double pickStreet = rng.uniform() * streetTotal;
            const int si = int(std::upper_bound(streetWeights.begin(), streetWeights.end(), pickStreet)
                               - streetWeights.begin());
            const StreetRecord &street = m_city.streets[std::min(si, int(m_city.streets.size()) - 1)];
            ObjectRecord o;
            o.subRubric = sub.code;
            o.name = names::fromPattern(m_model, rng.pick(sub.patterns), rng).left(150);
            const int house = 1 + rng.below(std::clamp(int(geo::length(street.line) / 11), 2, 220));
            o.address = QString(street.name + QLatin1Char(' ') + QString::number(house)).left(50);
            o.district = street.district;
            o.located = placeOnStreet(street, house, rng, &o.position);
            if (!o.located)
                continue;
            finishObject(o, rng);
        }
    }

    const Model &m_model;
    Rng m_rng;
    City m_city;
    QVector<StreetRecord> m_modelStreets;
};

} // namespace

City buildDemoCity(const Model &model, quint64 seed, const CitySize &size)
{
    return Builder(model, seed, size).build();
}
