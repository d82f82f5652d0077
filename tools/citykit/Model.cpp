#include "citykit/Model.h"

#include "citykit/Geometry.h"
#include "citykit/TableReader.h"

int Model::districtIndex(const QString &name) const
{
    for (int i = 0; i < districts.size(); ++i)
        if (districts[i].name == name)
            return i;
    return -1;
}

int Model::streetIndex(const QString &name) const
{
    for (int i = 0; i < streets.size(); ++i)
        if (streets[i].name == name)
            return i;
    return -1;
}

int Model::stopIndex(const QString &name) const
{
    for (int i = 0; i < stops.size(); ++i)
        if (stops[i].name == name)
            return i;
    return -1;
}

const SubRubric *Model::subRubric(int code) const
{
    for (const SubRubric &s : subRubrics)
        if (s.code == code)
            return &s;
    return nullptr;
}

int Model::districtAt(QPointF p) const
{
    int nearest = 0;
    double best = 1e300;
    for (int i = 0; i < districts.size(); ++i) {
        if (districts[i].outline.containsPoint(p, Qt::OddEvenFill))
            return i;
        const double d = geo::distanceToLine(p, districts[i].outline);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    return nearest;
}

namespace {

void readFrame(Model &m, const QString &folder, QStringList *errors)
{
    TableReader r(folder, QStringLiteral("frame.txt"), errors);
    for (const auto &line : r.lines()) {
        if (!r.need(line, 4))
            continue;
        m.frame.centreLon = r.number(line, 1);
        m.frame.centreLat = r.number(line, 2);
        m.frame.width = r.number(line, 3) * 1000;
        m.frame.height = m.frame.width * 0.75;
    }
    if (m.frame.width <= 0)
        r.fail(0, QStringLiteral("no frame"));
}

void readDistricts(Model &m, const QString &folder, QStringList *errors)
{
    TableReader r(folder, QStringLiteral("districts.txt"), errors);
    for (const auto &line : r.lines()) {
        if (!r.need(line, 4))
            continue;
        District d;
        d.name = line.fields[0];
        d.gridAngle = r.number(line, 1);
        d.gridSpacing = r.number(line, 2);
        d.outline = r.points(m.frame, line, line.fields[3]);
        if (d.outline.size() < 3 || d.gridSpacing < 50)
            r.fail(line.number, QStringLiteral("a district needs an outline and a grid spacing of 50 m or more"));
        m.districts.append(d);
    }
}

void readAreas(Model &m, const QString &folder, QStringList *errors)
{
    TableReader r(folder, QStringLiteral("areas.txt"), errors);
    static const QMap<QString, Area::Kind> kinds{{QStringLiteral("forest"), Area::Forest},
                                                 {QStringLiteral("park"), Area::Park},
                                                 {QStringLiteral("water"), Area::Water},
                                                 {QStringLiteral("airport"), Area::Airport}};
    for (const auto &line : r.lines()) {
        if (!r.need(line, 3))
            continue;
        if (!kinds.contains(line.fields[0])) {
            r.fail(line.number, QStringLiteral("unknown kind of area: %1").arg(line.fields[0]));
            continue;
        }
        m.areas.append({kinds.value(line.fields[0]), line.fields[1], r.shape(m.frame, line, line.fields[2])});
    }
}

void readRiver(Model &m, const QString &folder, QStringList *errors)
{
    TableReader r(folder, QStringLiteral("river.txt"), errors);
    for (const auto &line : r.lines()) {
        if (line.fields[0] == QLatin1String("river") && r.need(line, 4)) {
            m.river.name = line.fields[1];
            m.river.width = r.number(line, 2);
            m.river.line = r.points(m.frame, line, line.fields[3]);
        } else if (line.fields[0] == QLatin1String("island") && r.need(line, 6)) {
            const QPointF centre = r.point(m.frame, line, line.fields[2]);
            m.river.islands.append({line.fields[1], geo::ellipse(centre, r.number(line, 3), r.number(line, 4),
                                                                 r.number(line, 5))});
        } else {
            r.fail(line.number, QStringLiteral("expected a river or an island"));
        }
    }
    if (m.river.line.size() < 2)
        r.fail(0, QStringLiteral("no river"));
}

void readStreets(Model &m, const QString &folder, QStringList *errors)
{
    TableReader types(folder, QStringLiteral("street_types.txt"), errors);
    for (const auto &line : types.lines())
        if (types.need(line, 3))
            m.streetTypes.append({int(types.number(line, 0)), line.fields[1], line.fields[2]});

    TableReader r(folder, QStringLiteral("streets.txt"), errors);
    for (const auto &line : r.lines()) {
        if (!r.need(line, 3))
            continue;
        StreetDef s;
        s.name = line.fields[1];
        for (const StreetType &t : m.streetTypes)
            if (t.keyword == line.fields[0])
                s.type = t.code;
        s.district = m.districtIndex(line.fields[2]);
        if (line.fields.size() > 3)
            s.line = r.points(m.frame, line, line.fields[3]);
        if (s.type == 0 || s.district < 0)
            r.fail(line.number, QStringLiteral("unknown street type or district"));
        else if (m.streetIndex(s.name) >= 0)
            r.fail(line.number, QStringLiteral("street named twice: %1").arg(s.name));
        else
            m.streets.append(s);
    }
}

void readTransport(Model &m, const QString &folder, QStringList *errors)
{
    TableReader r(folder, QStringLiteral("transport.txt"), errors);
    QVector<StopDef> surface;
    auto addStop = [&](QVector<StopDef> &list, const TableReader::Line &line, const QString &name) {
        const QPointF p = r.point(m.frame, line, line.fields[2]);
        for (const StopDef &s : list)
            if (s.name == name)
                return; // a station served by two lines
        list.append({name, p});
    };
    for (const auto &line : r.lines()) {
        const QString &kind = line.fields[0];
        if (kind == QLatin1String("type") && r.need(line, 3)) {
            m.transportTypes.append({int(r.number(line, 1)), line.fields[2]});
        } else if (kind == QLatin1String("line") && r.need(line, 4)) {
            RouteDef route;
            route.type = 1;
            route.name = line.fields[1];
            route.description = line.fields[2];
            route.colour = QColor(line.fields[3]);
            m.routes.append(route);
        } else if (kind == QLatin1String("station") && r.need(line, 3)) {
            if (m.routes.isEmpty()) {
                r.fail(line.number, QStringLiteral("a station before its line"));
                continue;
            }
            const QString name = QStringLiteral("metro ") + line.fields[1];
            addStop(m.stops, line, name);
            m.routes.last().stops.append(name);
        } else if (kind == QLatin1String("stop") && r.need(line, 3)) {
            if (m.stopIndex(line.fields[1]) >= 0)
                r.fail(line.number, QStringLiteral("stop named twice: %1").arg(line.fields[1]));
            const int before = surface.size();
            addStop(surface, line, line.fields[1]);
            if (surface.size() == before)
                r.fail(line.number, QStringLiteral("stop named twice: %1").arg(line.fields[1]));
        } else if (kind == QLatin1String("route") && r.need(line, 5)) {
            RouteDef route;
            route.type = int(r.number(line, 1));
            route.name = line.fields[2];
            route.description = line.fields[3];
            for (const QString &stop : line.fields[4].split(QLatin1Char(';'), Qt::SkipEmptyParts))
                route.stops.append(stop.trimmed());
            m.routes.append(route);
        } else {
            r.fail(line.number, QStringLiteral("unknown line"));
        }
    }
    m.stops += surface;
    for (const RouteDef &route : m.routes) {
        bool known = false;
        for (const TransportType &t : m.transportTypes)
            known = known || t.code == route.type;
        if (!known)
            r.fail(0, QStringLiteral("route %1 has an unknown type").arg(route.name));
        if (route.name.size() > 10)
            r.fail(0, QStringLiteral("route name longer than 10 characters: %1").arg(route.name));
        if (route.stops.size() < 2)
            r.fail(0, QStringLiteral("route %1 has fewer than two stops").arg(route.name));
        for (const QString &stop : route.stops)
            if (m.stopIndex(stop) < 0)
                r.fail(0, QStringLiteral("route %1 names an unknown stop: %2").arg(route.name, stop));
    }
}

void readCatalogue(Model &m, const QString &folder, QStringList *errors)
{
    TableReader r(folder, QStringLiteral("rubrics.txt"), errors);
    for (const auto &line : r.lines()) {
        if (line.fields[0] == QLatin1String("rubric") && r.need(line, 3)) {
            m.rubrics.append({int(r.number(line, 1)), line.fields[2]});
        } else if (line.fields[0] == QLatin1String("sub") && r.need(line, 6)) {
            SubRubric s;
            s.code = int(r.number(line, 1));
            s.rubric = int(r.number(line, 2));
            s.name = line.fields[3];
            s.share = int(r.number(line, 4));
            s.activity = line.fields[5];
            for (const QString &p : line.fields.value(6).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                if (!p.trimmed().isEmpty())
                    s.patterns.append(p.trimmed());
            if (s.share > 0 && s.patterns.isEmpty())
                r.fail(line.number, QStringLiteral("a sub-rubric with a share needs name patterns"));
            if (m.subRubric(s.code))
                r.fail(line.number, QStringLiteral("sub-rubric code used twice"));
            m.subRubrics.append(s);
        } else {
            r.fail(line.number, QStringLiteral("expected a rubric or a sub-rubric"));
        }
    }

    TableReader names(folder, QStringLiteral("names.txt"), errors);
    for (const auto &line : names.lines()) {
        if (!names.need(line, 2))
            continue;
        for (const QString &w : line.fields[1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!w.trimmed().isEmpty())
                m.words[line.fields[0]].append(w.trimmed());
    }

    TableReader objects(folder, QStringLiteral("objects.txt"), errors);
    for (const auto &line : objects.lines()) {
        if (!objects.need(line, 6))
            continue;
        ObjectDef o;
        o.subRubric = int(objects.number(line, 0));
        o.name = line.fields[1];
        if (line.fields[2] != QLatin1String("-")) {
            o.street = line.fields[2];
            o.house = line.fields[3];
        }
        o.phone = line.fields[4];
        o.web = line.fields[5];
        if (!m.subRubric(o.subRubric))
            objects.fail(line.number, QStringLiteral("unknown sub-rubric"));
        if (o.street.isEmpty() != (o.subRubric == HotLineSubRubric))
            objects.fail(line.number, QStringLiteral("only hot lines are off the map"));
        if (!o.street.isEmpty() && m.streetIndex(o.street) < 0)
            objects.fail(line.number, QStringLiteral("unknown street: %1").arg(o.street));
        m.objects.append(o);
    }
}

} // namespace

Model Model::load(const QString &folder, QStringList *errors)
{
    Model m;
    readFrame(m, folder, errors);
    readDistricts(m, folder, errors);
    readAreas(m, folder, errors);
    readRiver(m, folder, errors);
    readStreets(m, folder, errors);
    readTransport(m, folder, errors);
    readCatalogue(m, folder, errors);
    return m;
}

Model Model::builtIn(QStringList *errors)
{
    return load(QStringLiteral(":/citykit/model"), errors);
}
