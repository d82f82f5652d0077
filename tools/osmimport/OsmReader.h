#pragma once
// Reads an OpenStreetMap extract (.osm.pbf, .osm, .osm.bz2) with libosmium: what lies in the map
// frame, with the areas of multipolygons assembled and the ways given their nodes' places.
#include "osmimport/OsmExtract.h"

#include <functional>

class TagMapping;

namespace OsmReader {

// Throws std::runtime_error with a message for the user when the file cannot be read. progress
// hears the share read so far, in per cent.
OsmExtract read(const QString &file, const MapFrame &frame, const TagMapping &mapping,
                const std::function<void(int percent)> &progress = {});

} // namespace OsmReader
