#pragma once
// The demo city's maps: its model's land, water and streets, its grid of side streets, and the
// metro and cable-car lines through their stations.
#include "citykit/City.h"
#include "citykit/MapScene.h"

MapScene demoScene(const City &city);
