#pragma once
// The routes that serve a stop, for "routes at this stop": each route with its transport type
// and the stop it goes on to next. A route that stops there twice (out and back) is listed for
// each way on. Rows come in the order of the type's key, then of the route's name (numbers by
// their value), then of the next stop's name.
//
// The window asks through StopRoutesSource, so that the rows can come from anywhere that knows
// the network; StopRoutes::fromTables() reads them with one query from the route-stop links.
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class Connection;

struct StopRoute {
    int routeKey = 0;  // transporti_kodi
    QString routeName;
    QVariant typeKey;  // g_transporti_tipi; null for a route without a type
    QString typeName;
    QString nextStop;  // empty at the route's last stop
};

using StopRoutesSource = std::function<QVector<StopRoute>(int stopKey)>;

namespace StopRoutes {
// The routes at the stop `stopKey` read from the tables (read only); throws Error with the
// database's message when the query fails.
QVector<StopRoute> fromTables(Connection &connection, int stopKey);
} // namespace StopRoutes

