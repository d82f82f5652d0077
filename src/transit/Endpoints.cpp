#include "transit/Endpoints.h"

#include "common/Errors.h"
#include "data/ResultRows.h"
#include "transit/SheetPosition.h"
#include "transit/SqlRows.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

QString numberText(double value)
{
    return QString::number(value, 'g', 6);
}

// The one row of `table` with that code: its name, sheet code and position.
JourneyEnd readPlace(const Network &network, QSqlDatabase db, const QString &what, const QString &table,
                     const QString &keyColumn, qint64 code)
{
    bool found = false;
    JourneyEnd end;
    // The first row of a code that is given twice, as the lists locate records.
    SqlRows::read(db,
                  QStringLiteral("SELECT saxeli, ruka_kodi, x, y FROM %1 WHERE %2=%3").arg(table, keyColumn).arg(code),
                  table, [&](const ResultRows &row) {
                      if (found)
                          return;
                      found = true;
                      end = Endpoints::atPlace(network, QStringLiteral("%1 %2").arg(what).arg(code), row.value(0).toString(),
                                               row.value(1).toString(), SqlRows::realNumber(row.value(2)),
                                               SqlRows::realNumber(row.value(3)));
                  });
    if (!found)
        throw Error(QStringLiteral("There is no %1 with the code %2").arg(what).arg(code));
    return end;
}

} // namespace

EndpointText EndpointText::parse(const QString &text)
{
    EndpointText end;
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    const QString prefix = colon > 0 ? trimmed.left(colon) : QString();
    const QString value = trimmed.mid(colon + 1).trimmed();
    static const QList<std::pair<QString, Kind>> coded{
        {QStringLiteral("stop"), Kind::Stop}, {QStringLiteral("place"), Kind::Place}, {QStringLiteral("street"), Kind::Street}};
    for (const auto &[name, kind] : coded) {
        if (prefix != name)
            continue;
        bool ok = false;
        end.kind = kind;
        end.code = value.toLongLong(&ok);
        if (!ok)
            throw Error(QStringLiteral("\"%1\": a %2 is given by its code, a whole number (%2:CODE)").arg(text, name));
        return end;
    }
    if (prefix == QLatin1String("point")) {
        const QStringList parts = value.split(QLatin1Char(','));
        bool okX = false, okY = false;
        const double x = parts.value(0).trimmed().toDouble(&okX), y = parts.value(1).trimmed().toDouble(&okY);
        if (parts.size() != 2 || !okX || !okY)
            throw Error(QStringLiteral("\"%1\": a point is two numbers, per cent of the general map across and down "
                                       "(point:X,Y)")
                            .arg(text));
        if (!(x >= 0 && x <= 100 && y >= 0 && y <= 100))
            throw Error(QStringLiteral("\"%1\" lies off the map: a point's X and Y run from 0 to 100").arg(text));
        end.kind = Kind::Point;
        end.percent = QPointF(x, y);
        return end;
    }
    if (trimmed.isEmpty())
        throw Error(QStringLiteral("An empty name names no stop"));
    end.kind = Kind::StopName;
    end.name = text;
    return end;
}

namespace Endpoints {

Waypoint stopPoint(const TransitStop &stop)
{
    Waypoint w;
    w.name = stop.name;
    w.isStop = true;
    w.stopCode = stop.code;
    w.placed = stop.placed;
    w.sheet = stop.sheet;
    w.x = stop.x;
    w.y = stop.y;
    w.general = stop.general;
    return w;
}

JourneyEnd atStop(const Network &network, int stop)
{
    const TransitStop &s = network.stops()[stop];
    JourneyEnd end;
    end.name = s.name;
    end.anchors.append({stop, stopPoint(s), s.metres});
    if (!s.placed)
        end.note = QStringLiteral("The stop \"%1\" (%2) has no position on the map: journeys reach it only on its own "
                                  "routes, without walking")
                       .arg(s.name)
                       .arg(s.code);
    return end;
}

namespace {

// An end at any of these stops, each anchored once however often it is listed.
JourneyEnd atAnyOf(const Network &network, const QString &name, const QVector<int> &stops)
{
    JourneyEnd end;
    end.name = name;
    QSet<int> anchored;
    for (int stop : stops) {
        if (anchored.contains(stop))
            continue;
        anchored.insert(stop);
        const TransitStop &s = network.stops()[stop];
        end.anchors.append({stop, stopPoint(s), s.metres});
    }
    return end;
}

} // namespace

JourneyEnd atStopsNamed(const Network &network, const QString &name)
{
    const QVector<int> stops = network.stopsNamed(name);
    if (stops.isEmpty())
        throw Error(QStringLiteral("No stop is named \"%1\"").arg(name));
    JourneyEnd end = atAnyOf(network, name, stops);
    const bool nonePlaced =
        std::none_of(stops.begin(), stops.end(), [&](int stop) { return network.stops()[stop].placed; });
    if (nonePlaced)
        end.note = atStop(network, stops.first()).note;
    return end;
}

JourneyEnd atRoute(const Network &network, qint64 code, const QString &name)
{
    for (const TransitRoute &route : network.routes()) {
        if (route.code != code)
            continue;
        if (route.stops.isEmpty())
            throw Error(QStringLiteral("The route \"%1\" has no stops").arg(route.name));
        return atAnyOf(network, QStringLiteral("marSruti ") + route.name, route.stops);
    }
    throw Error(QStringLiteral("\"%1\" is no longer in the database").arg(name));
}

JourneyEnd atPoint(const Network &network, QPointF percent)
{
    if (!(percent.x() >= 0 && percent.x() <= 100 && percent.y() >= 0 && percent.y() <= 100))
        throw Error(QStringLiteral("The point %1,%2 lies off the map").arg(numberText(percent.x()), numberText(percent.y())));
    Waypoint w;
    w.name = QStringLiteral("wertili %1,%2").arg(numberText(percent.x()), numberText(percent.y()));
    w.placed = true;
    w.general = percent;
    if (const std::optional<SheetSpot> spot = SheetPosition::sheetOf(percent)) {
        w.sheet = spot->sheet;
        w.x = spot->x;
        w.y = spot->y;
    }
    JourneyEnd end;
    end.name = w.name;
    end.anchors.append({-1, w, network.metres(percent)});
    return end;
}

JourneyEnd atPlace(const Network &network, const QString &what, const QString &name, const QString &sheet, double x,
                   double y)
{
    const std::optional<QPointF> general = SheetPosition::generalPercent(sheet, x, y);
    if (!general || !(general->x() >= 0 && general->x() <= 100 && general->y() >= 0 && general->y() <= 100))
        throw Error(QStringLiteral("The %1 \"%2\" has no position on the map").arg(what, name));
    Waypoint w;
    w.name = name;
    w.placed = true;
    w.sheet = sheet.left(2);
    w.x = x;
    w.y = y;
    w.general = *general;
    JourneyEnd end;
    end.name = name;
    end.anchors.append({-1, w, network.metres(*general)});
    return end;
}

JourneyEnd resolve(const EndpointText &text, const Network &network, QSqlDatabase db)
{
    switch (text.kind) {
    case EndpointText::Kind::Stop: {
        const int stop = network.stopIndex(text.code);
        if (stop < 0)
            throw Error(QStringLiteral("There is no stop with the code %1").arg(text.code));
        return atStop(network, stop);
    }
    case EndpointText::Kind::Place:
        return readPlace(network, db, QStringLiteral("place"), QStringLiteral("obieqti"), QStringLiteral("obieqtis_kodi"),
                         text.code);
    case EndpointText::Kind::Street:
        return readPlace(network, db, QStringLiteral("street"), QStringLiteral("quCa"), QStringLiteral("quCa_kodi"),
                         text.code);
    case EndpointText::Kind::Point:
        return atPoint(network, text.percent);
    case EndpointText::Kind::StopName:
        break;
    }
    return atStopsNamed(network, text.name);
}

} // namespace Endpoints
