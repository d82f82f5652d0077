#pragma once
// A journey as the map draws it: legs in the order they are travelled, each a line through
// sheet positions. A ride's first and last stops are where it boards and alights, the stops
// between them are passed; a point that is no stop only bends the line (a walk's start at a
// place, a shape point of a route). Whoever plans journeys fills this; the map knows nothing
// of planning.
//
//   JourneyDrawing journey;
//   JourneyLeg &walk = journey.legs.emplace_back();
//   walk.points = {JourneyPoint::at({"B2", 40, 60}, "kafe"), JourneyPoint::stop({"B2", 44, 61}, 12, "vagzali")};
//   JourneyLeg &ride = journey.legs.emplace_back();
//   ride.kind = JourneyLeg::Kind::Ride;
//   ride.typeKey = 2;
//   ride.typeName = "avtobusi";
//   ride.points = {...boarding stop, passed stops..., alighting stop};
#include "map/SheetGrid.h"

#include <QColor>
#include <QString>
#include <QVector>

struct JourneyPoint {
    SheetGrid::Place place;
    QString name;     // shown when the pointer rests on a stop or an end of the journey
    int stopKey = 0;  // gaCereba_kodi of a stop
    bool isStop = false;

    static JourneyPoint stop(const SheetGrid::Place &place, int key, const QString &name)
    {
        return {place, name, key, true};
    }
    static JourneyPoint at(const SheetGrid::Place &place, const QString &name = {}) { return {place, name, 0, false}; }
};

struct JourneyLeg {
    enum class Kind { Walk, Ride };
    Kind kind = Kind::Walk;
    // A ride's transport type (transporti_tipi and its name), which picks the line's colour.
    int typeKey = 0;
    QString typeName;
    QVector<JourneyPoint> points;
};

struct JourneyDrawing {
    QVector<JourneyLeg> legs;

    bool isEmpty() const { return legs.isEmpty(); }
    // The colour of a ride of this transport type: the metro red, buses blue, minibuses orange,
    // the cable car violet, by the words of the type's name; other types by their key, so that
    // each keeps one colour.
    static QColor rideColour(int typeKey, const QString &typeName);
    static QColor walkColour() { return QColor(70, 70, 70); }
};
