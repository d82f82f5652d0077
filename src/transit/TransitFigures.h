#pragma once
// What the journey planner's estimates rest on: the speeds, stops, waits and walks, in one table
// (TransitFigures.cpp, with the source of every figure) so that they can be tuned. There are no
// timetables: a ride takes the distance between consecutive stops at its mode's speed plus a
// short stop at each stop it moves on to, and boarding waits half the route's interval.
#include <QString>

// The kinds of vehicle the figures tell apart. A transport type is given a mode by its name.
enum class TransitMode { Bus, Minibus, Metro, CableCar };

struct ModeFigures {
    double speedKmh = 0;              // running speed over the straight line between stops
    double dwellMinutes = 0;          // standing at each stop a ride moves on to
    double defaultIntervalMinutes = 0; // how often a route runs when the city does not say
};

struct TransitFigures {
    ModeFigures bus, minibus, metro, cableCar;
    double walkKmh = 0;
    double detourFactor = 0;       // walked metres per metre of straight line
    double changeWalkMetres = 0;   // stops at most this far apart (straight line) are a change
    double accessWalkMetres = 0;   // the first and last walks, in walked metres, at most this
    int maxRides = 0;              // rides in one journey, at most

    // The figures in force (TransitFigures.cpp).
    static const TransitFigures &standard();

    const ModeFigures &mode(TransitMode mode) const;
    // The mode of a transport type by its name: "metro", "sabagiro gza" (cable car),
    // "mikroavtobusi" and "marSrutka" (minibus); anything else rides as a bus.
    static TransitMode modeOfType(const QString &typeName);

    double walkedMetres(double straightMetres) const { return straightMetres * detourFactor; }
    double walkMinutes(double walkedMetres) const { return walkedMetres / (walkKmh * 1000.0 / 60.0); }
    double rideMinutes(TransitMode m, double straightMetres) const
    {
        return straightMetres / (mode(m).speedKmh * 1000.0 / 60.0);
    }
};
