#pragma once
// The vector model of Tbilisi that the demo city is generated from, read from the text files of
// the model folder (built into the tools as resources). Geometry is in metres from the general
// map's top-left corner, y pointing south; the map frame fixes the projection from longitude and
// latitude.
#include "citykit/MapFrame.h"

#include <QColor>
#include <QMap>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QVector>

struct District {
    QString name;
    QPolygonF outline;
    double gridAngle = 0;  // degrees
    double gridSpacing = 0; // metres
};

struct Area {
    enum Kind { Forest, Park, Water, Airport };
    Kind kind = Park;
    QString name;
    QPolygonF outline;
};

struct Island {
    QString name;
    QPolygonF outline;
};

struct River {
    QString name;
    double width = 0;
    QPolygonF line;
    QVector<Island> islands;
};

struct StreetType {
    int code = 0;
    QString keyword;
    QString description;
};

struct StreetDef {
    QString name;
    int type = 0;     // street type code
    int district = 0; // index into Model::districts
    QPolygonF line;   // empty: laid out in the district's street grid
};

struct TransportType {
    int code = 0;
    QString name;
};

struct StopDef {
    QString name;
    QPointF position;
};

struct RouteDef {
    int type = 0;
    QString name;
    QString description;
    QStringList stops;
    QColor colour; // metro lines only
};

struct Rubric {
    int code = 0;
    QString name;
};

struct SubRubric {
    int code = 0;
    int rubric = 0;
    QString name;
    int share = 0; // relative share of generated objects
    QString activity;
    QStringList patterns;
};

struct ObjectDef {
    int subRubric = 0;
    QString name;
    QString street; // empty for a hot line
    QString house;
    QString phone;
    QString web;
};

struct Model {
    MapFrame frame;
    QVector<District> districts;
    QVector<Area> areas;
    River river;
    QVector<StreetType> streetTypes;
    QVector<StreetDef> streets;
    QVector<TransportType> transportTypes;
    QVector<StopDef> stops;       // metro stations first ("metro " + name), then surface stops
    QVector<RouteDef> routes;     // metro lines first
    QVector<Rubric> rubrics;
    QVector<SubRubric> subRubrics;
    QVector<ObjectDef> objects;
    QMap<QString, QStringList> words; // word lists for generated names

    int districtIndex(const QString &name) const;
    int streetIndex(const QString &name) const;
    int stopIndex(const QString &name) const;
    const SubRubric *subRubric(int code) const;
    // The district a point lies in, or the nearest one.
    int districtAt(QPointF p) const;

    // Reads the model folder; problems are listed in errors (the model is then incomplete).
    static Model load(const QString &folder, QStringList *errors);
    // The model built into the generator.
    static Model builtIn(QStringList *errors);
};

// The sub-rubric whose objects are hot lines, not placed on the map.
constexpr int HotLineSubRubric = 172;
