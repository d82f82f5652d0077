#pragma once
// A city: every record the database will hold, with its place on the maps, as the demo-city
// generator or the OpenStreetMap import makes it.
#include "citykit/Model.h"

#include <QString>
#include <QVector>

// The demo city's side streets: a grid the generator lays in each district, drawn on its maps and
// written into its extract.
struct GridSegment {
    QPointF a;
    QPointF b;
    int district = 0;
};

// A run of consecutive segments along one grid line, a candidate for a named street.
struct GridRun {
    QPolygonF line;
    int district = 0;
};

struct StreetGridResult {
    QVector<GridSegment> segments;
    QVector<QVector<GridRun>> runs; // per district, in a shuffled order
};

struct CitySize {
    int objects = 450;
    int streets = 0;  // 0: the model's streets
    int stops = 0;    // 0: the model's stops (never fewer)
    int routes = 0;   // 0: the model's routes, plus what extra stops need
    double advertShare = 0.3;  // share of objects with an advertising file
    int advertKilobytes = 0;   // 0: as small as the file's content allows
    bool advertIconForAll = false; // every object gets an advertising icon, not only those with a file
};

struct StreetRecord {
    int code = 0;
    int district = 0;
    QString name;
    int type = 0;
    QPolygonF line;  // metres
    QPointF marker;  // metres: the middle of the street
    bool fromModel = false;
};

struct StopRecord {
    int code = 0;
    int district = 0; // -1: none (a stop outside the maps)
    QString name;
    bool located = true; // false: off the maps, written without a position
    QPointF position;
    QString description;
    bool fromModel = false;
};

struct RouteRecord {
    int code = 0;
    int type = 0;
    QString name;
    QString description;
    QVector<int> stops; // indexes into City::stops, in travel order
    QColor colour;
    bool fromModel = false;
    double intervalMinutes = 0; // how often it runs; 0: not known
};

struct ObjectRecord {
    int code = 0;
    QString name;
    QString address;
    int subRubric = 0;
    int district = 0;
    QString phone;
    QString fax;
    QString email;
    QString web;
    QString activity;
    QString note;
    bool located = false;
    QPointF position; // metres
    bool hasMapLogo = true;
    bool hasAdvert = false;
    bool hasAdvertIcon = false;
    QString advertFileName;
};

struct City {
    const Model *model = nullptr;
    QString title = QStringLiteral("Tbilisi"); // the city's name: the general map's title, the guide's
    StreetGridResult grid;
    QVector<StreetRecord> streets;
    QVector<StopRecord> stops;
    QVector<RouteRecord> routes;
    QVector<ObjectRecord> objects;
    CitySize size;
    quint64 seed = 0;
};
