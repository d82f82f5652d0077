#pragma once
// The local streets of each district: a jittered grid at the district's own angle and spacing,
// kept off the river, lakes, parks and forests. Model streets without a line of their own are
// laid along pieces of it; the rest is drawn as unnamed side streets.
#include "citykit/City.h"

class Rng;

StreetGridResult buildStreetGrid(const Model &model, Rng rng);

// True where nothing may be built: water, parks, forests, the airport and the river's banks.
bool isOpenGround(const Model &model, QPointF p, double margin);
