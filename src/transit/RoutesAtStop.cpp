#include "transit/RoutesAtStop.h"

#include <QCollator>

#include <algorithm>

QVector<RouteAtStop> routesAtStop(const Network &network, int stop)
{
    QVector<RouteAtStop> found;
    for (const Network::Visit &visit : network.visits(stop)) {
        const TransitRoute &route = network.routes()[visit.route];
        // The scan goes on into the second lap of a route that runs round.
        const int next = visit.position + 1 < route.scan.size() ? route.scan[visit.position + 1] : -1;
        const bool known = std::any_of(found.begin(), found.end(), [&](const RouteAtStop &r) {
            return r.route == visit.route && r.nextStop == next;
        });
        if (!known)
            found.append({visit.route, route.code, route.name, route.type, route.typeName, next});
    }
    QCollator byNumber;
    byNumber.setNumericMode(true);
    auto nextName = [&network](const RouteAtStop &r) { return r.nextStop >= 0 ? network.stops()[r.nextStop].name : QString(); };
    std::sort(found.begin(), found.end(), [&](const RouteAtStop &a, const RouteAtStop &b) {
        if (a.typeCode != b.typeCode)
            return a.typeCode < b.typeCode;
        if (const int c = byNumber.compare(a.routeName, b.routeName))
            return c < 0;
        return nextName(a) < nextName(b);
    });
    return found;
}
