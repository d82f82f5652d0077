#pragma once
// The imported city's maps, from the extract's geometry: districts, land cover and water, roads by
// class, railways, metro and cable-car lines with their stations, buildings, and names.
#include "citykit/MapScene.h"
#include "osmimport/Districts.h"
#include "osmimport/OsmExtract.h"
#include "osmimport/OsmTransport.h"

MapScene osmScene(const OsmExtract &extract, const Districts &districts, const QVector<SceneName> &streetNames,
                  const OsmTransport::Result &transport);
