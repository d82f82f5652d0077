#pragma once
// The routes that serve a stop, for "routes at this stop": each route with its transport type
// and the stop it goes on to next. A route that stops there twice (out and back) is listed for
// each way on. Rows come in the order of the type's key (routes without a type last), then of
// the route's name (numbers by their value), then of the next stop's name.
//
// The window asks through StopRoutesSource, so that the rows can come from anywhere that knows
// the network; StopRoutes::fromNetwork() takes them from the journey planner's network, so that
// the window and `kvirzeta --routes-at` give the same answer.
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class Network;

struct StopRoute {
    int routeKey = 0;  // transporti_kodi
    QString routeName;
    QVariant typeKey;  // g_transporti_tipi; null for a route without a type
    QString typeName;
    QString nextStop;  // empty at the last stop of a route that does not run round
};

using StopRoutesSource = std::function<QVector<StopRoute>(int stopKey)>;

namespace StopRoutes {
// The routes at the stop with the code `stopKey`; none for a code the network does not know.
QVector<StopRoute> fromNetwork(const Network &network, int stopKey);
} // namespace StopRoutes

