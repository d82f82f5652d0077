#pragma once
// Writes a city into a folder the way Kvirzeta reads it: the general map and the 25 sheets drawn
// from its scene, the marker icons, the help document, the database (the folder's SQLite file or
// one named by a connection string) and, last, the Address.ini that names it.
#include "citykit/City.h"
#include "citykit/MapScene.h"
#include "citykit/Stages.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

struct CityOutput {
    QString folder; // written into: a hidden folder beside the city's own, for a start
    QString shownFolder; // the city's folder as messages name it
    int mapWidth = 2500; // general map width in pixels; sheets are four times as detailed
    // When set, the tables go through this connection string (an empty database on a server, or
    // any other the program can open) instead of into the folder's SQLite file, and Address.ini
    // names it.
    QString connection;
    quint64 pictureSeed = 0; // varies the logos' colours and shapes
};

namespace CityWriter {

constexpr const char *DatabaseFile = "Kvirzeta.sqlite";

// The display font's family, registered on first use; a fallback when it cannot be.
QString fontFamily();
inline QSize generalMapSize(int width) { return QSize(width, width * 3 / 4); }
inline QSize sheetSize(int generalWidth) { return QSize(generalWidth * 4 / 5, generalWidth * 3 / 5); }
// The part of the city a raster shows, in metres: a sheet's, or the whole frame for an empty code.
QRectF mapArea(const MapFrame &frame, const QString &sheetCode);

// Writes the city as the stages "rasters", "icons and help" and "database", then Address.ini
// and, last, the list of what it wrote (CityList). Throws std::runtime_error with a message for
// the user, naming the file and the system's reason; Interruption::Interrupted once a signal came.
void write(const City &city, const MapScene &scene, const CityOutput &output, Stages &stages);

} // namespace CityWriter
