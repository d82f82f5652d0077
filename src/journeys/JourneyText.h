#pragma once
// The journeys as the journey page lists them, in the transliteration: a line for a journey
// (its minutes, changes and walking, and what it is best in), a line for each leg, and the note
// on what the times rest on.
#include "transit/Journey.h"

#include <QString>
#include <QStringList>

namespace JourneyText {

// "34 wuTi · 1 gadajdoma · 420 m fexiT"
QString journey(const Journey &journey);
// What each journey is best in among `journeys` ("uswrafesi", ...), empty when there is one.
QStringList bestIn(const QVector<Journey> &journeys, int index);
// "fexiT 180 m, 2 wuTi → filarmonia"; a ride on two lines, where and then how long:
// "avtobusi 37: filarmonia → opera\n4 gaCereba, lodini 8 wuTi, gzaSi 6 wuTi"
QString leg(const Leg &leg);
// The times are estimates; `rough` adds that the map's size in metres is not known.
QString estimate(bool rough);

} // namespace JourneyText
