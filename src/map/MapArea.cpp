#include "map/MapArea.h"

MapArea::MapArea(QWidget *parent) : QScrollArea(parent) {}
