#pragma once
// kvirzeta --journey FROM TO [--json]: journeys by public transport between two ends, each a
// stop's name (every stop of that name may start or end it), stop:CODE, place:CODE, street:CODE
// or point:X,Y (per cent of the general map). Prints at most three journeys, the fastest first;
// what the city's data lacks is told on stderr.
#include <QStringList>

class DataModule;

namespace JourneyCommand {
int run(const QStringList &operands, bool json, DataModule &city);
}
