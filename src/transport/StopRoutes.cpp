#include "transport/StopRoutes.h"

#include "data/DataSet.h"

#include <algorithm>
#include <tuple>

namespace {

// Every link of the stop with its route, its type and the stop of the next order number on the
// same route (none after the last).
QString routesSql(int stopKey)
{
    return QStringLiteral(
               "SELECT transporti.transporti_kodi AS marSruti, transporti.saxeli AS saxeoba, "
               "transporti.g_transporti_tipi AS tipi, transporti_tipi.saxeli AS tipis_saxeli, "
               "Semdegi.saxeli AS Semdegi "
               "FROM kavS_transporti_gaCereba aq "
               "INNER JOIN transporti ON transporti.transporti_kodi=aq.g_transporti_kodi "
               "LEFT JOIN transporti_tipi ON transporti_tipi.transporti_tipi=transporti.g_transporti_tipi "
               "LEFT JOIN kavS_transporti_gaCereba Semdegi_kavSiri ON Semdegi_kavSiri.g_transporti_kodi=aq.g_transporti_kodi "
               "AND Semdegi_kavSiri.gaCerebis_rigiTi_n=(SELECT MIN(k.gaCerebis_rigiTi_n) FROM kavS_transporti_gaCereba k "
               "WHERE k.g_transporti_kodi=aq.g_transporti_kodi AND k.gaCerebis_rigiTi_n>aq.gaCerebis_rigiTi_n) "
               "LEFT JOIN gaCereba Semdegi ON Semdegi.gaCereba_kodi=Semdegi_kavSiri.g_gaCereba_kodi "
               "WHERE aq.g_gaCereba_kodi=") +
           QString::number(stopKey);
}

// A route name's leading number, so that "4" comes before "37"; names without one after those.
std::tuple<bool, qint64, QString> routeOrder(const QString &name)
{
    qsizetype digits = 0;
    while (digits < name.size() && digits < 18 && name[digits].isDigit())
        ++digits;
    if (digits == 0)
        return {true, 0, name};
    return {false, name.left(digits).toLongLong(), name};
}

std::tuple<bool, qint64, std::tuple<bool, qint64, QString>, QString> order(const StopRoute &route)
{
    const bool typed = route.typeKey.isValid() && !route.typeKey.isNull();
    return {!typed, typed ? route.typeKey.toLongLong() : 0, routeOrder(route.routeName), route.nextStop};
}

// Puts rows in their order and drops repeats (a route listed twice with the same next stop).
void arrange(QVector<StopRoute> &routes)
{
    std::stable_sort(routes.begin(), routes.end(),
                     [](const StopRoute &a, const StopRoute &b) { return order(a) < order(b); });
    const auto same = [](const StopRoute &a, const StopRoute &b) {
        return a.routeKey == b.routeKey && a.nextStop == b.nextStop;
    };
    routes.erase(std::unique(routes.begin(), routes.end(), same), routes.end());
}

} // namespace

QVector<StopRoute> StopRoutes::fromTables(Connection &connection, int stopKey)
{
    DataSet rows(QStringLiteral("StopRoutesQr"), connection, routesSql(stopKey));
    rows.open();
    const int route = rows.requireColumn(QStringLiteral("marSruti"));
    const int name = rows.requireColumn(QStringLiteral("saxeoba"));
    const int type = rows.requireColumn(QStringLiteral("tipi"));
    const int typeName = rows.requireColumn(QStringLiteral("tipis_saxeli"));
    const int next = rows.requireColumn(QStringLiteral("Semdegi"));
    QVector<StopRoute> routes;
    routes.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        StopRoute r;
        r.routeKey = rows.valueAt(row, route).toInt();
        r.routeName = rows.valueAt(row, name).toString();
        r.typeKey = rows.valueAt(row, type);
        r.typeName = rows.valueAt(row, typeName).toString();
        r.nextStop = rows.valueAt(row, next).toString();
        routes.append(r);
    }
    arrange(routes);
    return routes;
}
