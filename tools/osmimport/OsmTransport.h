#pragma once
// The catalogue's stops and routes: the platforms, stop positions and stations of one stop become
// one stop; each route of the mapped kinds lists its stops in the order of its members.
#include "citykit/City.h"
#include "citykit/MapScene.h"
#include "osmimport/Districts.h"
#include "osmimport/OsmExtract.h"
#include "osmimport/TagMapping.h"

struct GtfsFeed;

namespace OsmTransport {

struct Result {
    QVector<StopRecord> stops;
    QVector<RouteRecord> routes;
    QVector<TransportType> types;    // those the routes use, by code
    QVector<SceneStation> stations;  // metro and cable-car stations, for the maps
    QVector<QPointF> surfaceStops;   // the other stops, for the sheets
    QHash<qint64, QColor> lineColours; // metro ways by the colour of their line
    QStringList notes;               // what the report should say
};

// `streetNames` names an unnamed stop after the street it stands on. With a feed, the routes are
// the feed's and its stops join the extract's: a feed stop within 60 m of a stop of the same name
// is that stop; one outside the maps' frame is kept without a position.
Result build(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping,
             const QVector<SceneName> &streetNames, const GtfsFeed *feed = nullptr);

// A metro station's name as the catalogue writes it: "metro " and the name, whatever prefix for a
// station ("m/s", "metro", "sadguri") it was written with.
QString metroName(const QString &name);

} // namespace OsmTransport
