#pragma once
// What the city's maps show, layer by layer, in metres from the general map's top-left corner with
// y pointing south. The demo city fills it from its model and the OpenStreetMap import from the
// extract; the map painter draws either the same way.
#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVector>

struct SceneDistrict {
    QPainterPath shape; // odd-even filled: inner rings are holes
    QString name;
    QPointF labelAt;
};

struct SceneArea {
    enum Kind { Forest, Park, Water, Airport };
    Kind kind = Park;
    QPainterPath shape;
    QString name;
    QPointF labelAt;
};

struct SceneWaterway {
    QPolygonF line;
    QString name;
    double width = 0; // metres; 0 for a thin line without banks
};

struct SceneRoad {
    enum Kind { Path, Side, Street, Avenue }; // footways are drawn on the sheets only
    QPolygonF line;
    Kind kind = Side;
    bool bridge = false;
};

// A street's name, written along its line; a line of one point is a square, named above it.
struct SceneName {
    QPolygonF line;
    QString name;
    bool major = false; // avenues are named first
};

struct SceneTransitLine {
    QPolygonF line;
    QColor colour;
    bool cable = false; // a cable car rather than a metro line
};

struct SceneStation {
    QPointF at;
    QString name;
    QColor colour;
    bool cable = false;
};

struct MapScene {
    QVector<SceneDistrict> districts;
    QVector<SceneArea> areas;
    QVector<QPolygonF> runways;
    QVector<QPainterPath> buildings; // drawn on the sheets only
    QVector<SceneWaterway> waterways;
    QVector<QPainterPath> islandWater; // water widening around islands
    QVector<QPainterPath> islands;
    QVector<SceneRoad> roads;
    QVector<QPolygonF> railways;
    QVector<QPainterPath> squares;
    QVector<SceneTransitLine> transit;
    QVector<SceneStation> stations;
    QVector<QPointF> stops; // surface stops, drawn on the sheets
    QVector<SceneName> streetNames;
};

// A closed shape from one ring.
inline QPainterPath closedShape(const QPolygonF &ring)
{
    QPainterPath path;
    path.addPolygon(ring);
    path.closeSubpath();
    return path;
}
