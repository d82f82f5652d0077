#pragma once
// A city made from an OpenStreetMap extract: the catalogue's records, the model that names its
// districts, rubrics and types, and its maps; and what the import did, for its report.
#include "citykit/City.h"
#include "citykit/MapScene.h"
#include "osmimport/OsmExtract.h"
#include "osmimport/TagMapping.h"

#include <QStringList>

struct GtfsFeed;

class OsmCity {
public:
    // rubrics: the demo city's model, whose rubrics and street types the catalogue uses.
    // adminLevel: the boundaries that make the districts, 0 to choose. feed: where the stops and
    // routes come from, when not from the extract's route relations. title: the city's name.
    OsmCity(const OsmExtract &extract, const Model &rubrics, const TagMapping &mapping, int adminLevel,
            const GtfsFeed *feed = nullptr, const QString &title = QStringLiteral("Tbilisi"));
    OsmCity(const OsmCity &) = delete;
    OsmCity &operator=(const OsmCity &) = delete;

    const City &city() const { return m_city; }
    const MapScene &scene() const { return m_scene; }
    // One line for each thing the report should say: districts, unmapped tags, what was left out.
    const QStringList &notes() const { return m_notes; }

private:
    Model m_model;
    City m_city;
    MapScene m_scene;
    QStringList m_notes;
};
