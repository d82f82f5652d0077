#pragma once
// The two ends of a journey: a stop, every stop of one name, a place (an object), a street or a
// point on the general map, each made into the anchors a journey starts or ends at.
#include "transit/Journey.h"
#include "transit/Network.h"

#include <QSqlDatabase>

struct JourneyEnd {
    struct Anchor {
        int stop = -1;   // a stop of the network, or -1 for a place between the stops
        Waypoint spot;
        QPointF metres;  // on the frame, when spot.placed
    };
    QString name;
    QVector<Anchor> anchors;
    // Said to the person once: this end has something they should know ("no position").
    QString note;
};

// An end as a person writes it on the command line: "stop:CODE", "place:CODE" (an object),
// "street:CODE", "point:X,Y" (per cent of the general map) or a stop's name.
struct EndpointText {
    enum class Kind { StopName, Stop, Place, Street, Point };
    Kind kind = Kind::StopName;
    qint64 code = 0;
    QString name;
    QPointF percent;

    // Throws Error saying what is wrong: an empty name, a code that is not a whole number, a
    // point that is not two numbers or lies off the map.
    static EndpointText parse(const QString &text);
};

namespace Endpoints {

// A stop as a place a journey passes.
Waypoint stopPoint(const TransitStop &stop);

JourneyEnd atStop(const Network &network, int stop);
// Every stop of that name: a journey may start or end at any of them. Throws Error when no stop
// has the name.
JourneyEnd atStopsNamed(const Network &network, const QString &name);
// Every stop of a route: a journey may start or end at whichever serves it best. Throws Error
// when the route has no stops or is not in the network (`name` says which was meant).
JourneyEnd atRoute(const Network &network, qint64 code, const QString &name);
// A point in per cent of the general map; throws Error when it lies off the map.
JourneyEnd atPoint(const Network &network, QPointF percent);
// A located record: its name, sheet code and position on the sheet. Throws Error (naming
// `what`) when it has no position on the map.
JourneyEnd atPlace(const Network &network, const QString &what, const QString &name, const QString &sheet, double x,
                   double y);

// Resolves a written end; places and streets are read from `db`. Throws Error for an unknown
// code, and with the database's message when it cannot be read.
JourneyEnd resolve(const EndpointText &text, const Network &network, QSqlDatabase db);

} // namespace Endpoints
