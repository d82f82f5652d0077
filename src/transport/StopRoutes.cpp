#include "transport/StopRoutes.h"

#include "transit/RoutesAtStop.h"

QVector<StopRoute> StopRoutes::fromNetwork(const Network &network, int stopKey)
{
    const int stop = network.stopIndex(stopKey);
    if (stop < 0)
        return {};
    QVector<StopRoute> routes;
    for (const RouteAtStop &r : routesAtStop(network, stop)) {
        StopRoute route;
        route.routeKey = r.routeCode;
        route.routeName = r.routeName;
        route.typeKey = r.typed ? QVariant(r.typeCode) : QVariant();
        route.typeName = r.typeName;
        route.nextStop = r.nextStop >= 0 ? network.stops()[r.nextStop].name : QString();
        routes.append(route);
    }
    return routes;
}
