#pragma once
// The routes that stop at a stop, for "routes at this stop": each with its type and the stop it
// goes on to next. A route that stops there twice (out and back) is listed for each way on.
#include "transit/Network.h"

#include <QString>
#include <QVector>

struct RouteAtStop {
    int route = -1;     // index into the network's routes
    int routeCode = 0;
    QString routeName;
    int typeCode = 0;
    QString typeName;
    int nextStop = -1;  // index of the next stop; -1 at the end of a route that does not run round
};

// In the order of the type's code, then of the route's name (numbers by their value), then of
// the next stop's name.
QVector<RouteAtStop> routesAtStop(const Network &network, int stop);
