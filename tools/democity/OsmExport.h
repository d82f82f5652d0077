#pragma once
// Writes a demo city as an OpenStreetMap file, of the format its name says (.osm.pbf, .osm or
// .osm.bz2): its places, streets, stops and routes tagged the way the import reads them, with the
// districts, water, parks and side streets of its maps, so that importing it gives the city back.
#include "citykit/City.h"

#include <QString>

class TagMapping;

namespace OsmExport {

// Throws std::runtime_error with a message for the user.
void write(const City &city, const TagMapping &mapping, const QString &path);

} // namespace OsmExport
