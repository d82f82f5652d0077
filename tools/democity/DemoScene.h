#pragma once
// The demo city's maps: its model's land, water and streets, its grid of side streets, and the
// metro and cable-car lines through their stations.
#include "City.h"
#include "MapScene.h"

MapScene demoScene(const City &city);
