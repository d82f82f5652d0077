#pragma once
// What the import takes from an OpenStreetMap extract, already placed in metres of the map frame:
// the raw material of the catalogue and of the maps. Names are as the extract writes them (the
// Georgian name when there is one); the catalogue transcribes them.
#include "citykit/MapScene.h"
#include "citykit/Model.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QPainterPath>
#include <QPair>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVector>

#include <array>

// An object of the extract: 'n' node, 'w' way, 'r' relation, and its id.
struct OsmRef {
    char type = 'n';
    qint64 id = 0;
    bool operator==(const OsmRef &other) const { return type == other.type && id == other.id; }
};
inline size_t qHash(const OsmRef &ref, size_t seed = 0)
{
    return ::qHash(ref.id, seed) ^ size_t(ref.type);
}

// A named node or area with a tag that may file it in the catalogue.
struct OsmPlace {
    QString name;
    QPointF at;
    QVector<QPair<QByteArray, QByteArray>> tags; // its tags of the mapping's place keys
    QString street, house, phone, fax, email, web, hours;
    bool area = false; // an area's middle rather than a node
};

// A highway: a line, or a square drawn as an area (its outline).
struct OsmRoad {
    QPolygonF line;
    QString name;
    QByteArray highway;
    QHash<QByteArray, QByteArray> tags; // those the street-type rules read
    qint64 firstNode = 0;               // the ends, to join the ways of one street
    qint64 lastNode = 0;
    bool area = false;
    bool bridge = false;
};

// Something a passenger waits at: a platform, a stop position, a bus stop, a station.
struct OsmStop {
    OsmRef ref;
    QPointF at;
    QString name;
    int rank = 0;         // which of several at one stop gives it its place: lower first
    bool metro = false;   // a metro station
    bool cable = false;   // a cable-car station
    bool tagged = false;  // tagged as a stop, not only a route's member
};

struct OsmRoute {
    qint64 id = 0;
    QByteArray route; // route=*
    QString ref, name, from, to;
    QColor colour;
    struct Member {
        OsmRef ref;
        QByteArray role;
    };
    QVector<Member> members;
};

struct OsmBoundary {
    QPainterPath shape;
    QString name;
    int level = 0;
    QPointF labelAt;
};

struct OsmLine {
    QPolygonF line;
    QString name;
    qint64 way = 0;
    double width = 0; // metres, for a river whose width is tagged
};

struct OsmArea {
    SceneArea::Kind kind = SceneArea::Park;
    QPainterPath shape;
    QString name;
    QPointF labelAt;
};

// A city or town in the frame, for the maps' title: the most important one names the city.
struct OsmSettlement {
    QString name;
    bool city = false;      // place=city, else a town
    int capital = 0;        // 0: none; more for a capital of a wider area (capital=yes: a country's)
    qint64 population = 0;
};

struct OsmExtract {
    MapFrame frame;
    qint64 nodesInFrame = 0;
    // Nodes, ways and relations read without their tags, which held a NUL byte.
    std::array<qint64, 3> tagsDropped{};
    QVector<OsmPlace> places;
    QVector<OsmRoad> roads;
    QVector<OsmStop> stops;
    QVector<OsmRoute> routes;
    QVector<OsmBoundary> boundaries;
    QVector<OsmSettlement> settlements;
    // Drawn only.
    QVector<OsmArea> areas;
    QVector<QPainterPath> islands;
    QVector<QPainterPath> buildings;
    QVector<OsmLine> waterways;
    QVector<OsmLine> railways;
    QVector<OsmLine> subways;
    QVector<QPolygonF> aerialways;
    QVector<QPolygonF> runways;
};
