#pragma once
// The imported city's maps, from the extract's geometry: districts, land cover and water, roads by
// class, railways, metro and cable-car lines with their stations, buildings, and names.
#include "Districts.h"
#include "MapScene.h"
#include "OsmExtract.h"
#include "OsmTransport.h"

MapScene osmScene(const OsmExtract &extract, const Districts &districts, const QVector<SceneName> &streetNames,
                  const OsmTransport::Result &transport);
