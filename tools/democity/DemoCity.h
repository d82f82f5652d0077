#pragma once
// The demo city of Tbilisi: its records built from the model, a seed and the requested sizes.
#include "citykit/City.h"

City buildDemoCity(const Model &model, quint64 seed, const CitySize &size);
