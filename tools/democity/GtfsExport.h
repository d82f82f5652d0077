#pragma once
// Writes a city's stops and routes as a GTFS feed folder, for kvirzeta-import-osm --gtfs: each
// route's stops as one trip pattern, run all day at its interval (trips listed one by one, as
// most operators publish them), names in Georgian as in the city's extract.
#include "citykit/City.h"
#include "osmimport/TagMapping.h"

#include <QString>

namespace GtfsExport {

// Throws std::runtime_error with a message for the user.
void write(const City &city, const TagMapping &mapping, const QString &folder);

} // namespace GtfsExport
