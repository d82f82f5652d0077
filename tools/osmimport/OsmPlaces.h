#pragma once
// The catalogue's objects from the extract's named places, filed into sub-rubrics by the tag
// table; a place whose tags have no line goes under "sxva" and its tag is counted.
#include "citykit/City.h"
#include "osmimport/Districts.h"
#include "osmimport/OsmExtract.h"
#include "osmimport/TagMapping.h"

#include <QMap>

namespace OsmPlaces {

struct Result {
    QVector<ObjectRecord> objects;
    QMap<QByteArray, int> unmapped; // "key=value" -> places filed under "sxva" for it
    int leftOut = 0;                // places whose tag the table leaves out
};

Result build(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping, const Model &rubrics);

} // namespace OsmPlaces
