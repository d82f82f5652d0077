#pragma once
// The catalogue's streets from the extract's named highways: one for each street and district it
// runs through, marked at a point on the street, with its type taken from its name or its kind.
#include "citykit/City.h"
#include "citykit/MapScene.h"
#include "osmimport/Districts.h"
#include "osmimport/OsmExtract.h"
#include "osmimport/TagMapping.h"

namespace OsmStreets {

// Highways that make streets (not footways, tracks or paths).
bool isStreet(const QByteArray &highway);
// Highways drawn as avenues.
bool isAvenue(const QByteArray &highway);

// A street's name as the catalogue writes it, and the street type its name gives (0 for none).
// A Latin name's English type word ("Avenue") becomes the type's own word ("gamziri").
QString name(const QString &extractName, const TagMapping &mapping, int *type = nullptr);

struct Result {
    QVector<StreetRecord> streets;
    QVector<SceneName> names; // for the maps: each street's joined ways, squares at their centre
};
Result build(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping);

} // namespace OsmStreets
