#pragma once
// A planned journey as plain values: everything a list of journeys and a drawing on the map
// need, with no reference back into the network.
#include "transit/TransitFigures.h"

#include <QPointF>
#include <QString>
#include <QVector>

// A place a leg starts at, passes or ends at: a stop, or a journey's end between the stops.
struct Waypoint {
    QString name;
    bool isStop = false;
    int stopCode = 0;
    // Where it lies, when it has a position: its sheet and the position on that sheet in per
    // cent (`sheet` is empty for a point that no sheet shows), and per cent of the general map.
    bool placed = false;
    QString sheet;
    double x = 0, y = 0;
    QPointF general;
};

struct Leg {
    enum class Kind { Walk, Ride };
    Kind kind = Kind::Walk;
    double minutes = 0;     // walking, or riding from the boarding stop to the alighting stop
    double metres = 0;      // walked, or ridden along the straight lines between the stops
    // A ride's route and how long it waits to board.
    QString routeName;
    int routeCode = 0;
    QString typeName;
    int typeCode = 0;
    TransitMode mode = TransitMode::Bus;
    double waitMinutes = 0;
    int stopsMoved = 0;     // from the first to the sixteenth station of a line is 15
    // A walk: where it starts and ends. A ride: the boarding stop, each stop passed, the
    // alighting stop.
    QVector<Waypoint> points;

    const Waypoint &from() const { return points.first(); }
    const Waypoint &to() const { return points.last(); }
};

struct Journey {
    double minutes = 0;     // an estimate: no timetables
    double walkMetres = 0;
    int rides = 0;
    QVector<Leg> legs;      // walks under a metre are left out

    int transfers() const { return rides > 1 ? rides - 1 : 0; }
};
