#pragma once
// kvirzeta-import-osm: reads an OpenStreetMap extract and writes a city Kvirzeta opens (the
// database, the maps, the icons, the help document and Address.ini) into a folder. The city is
// made in a hidden folder beside it and moved into place only when all of it is written
// (CityReplacement).
#include "citykit/Model.h"
#include "citykit/Stages.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct ImportOptions {
    QString input;
    QString folder;
    // The box to import, in degrees; the maps' 4:3 frame is the smallest around it. Unset: the
    // default box.
    std::optional<GeoBox> box;
    QString connection; // as the demo city generator's --connection
    QString title;      // the city's name on the maps and in the guide; empty: from the extract
    QString gtfs;       // a GTFS feed (folder or .zip) the stops and routes come from; empty: the extract
    quint64 seed = 0;   // varies the logos; the same seed gives the same pictures
    int mapWidth = 2500;
    int adminLevel = 0; // 0: chosen from the boundaries in the box
    bool quiet = false;
};

// The box imported when none is given: Tbilisi's.
GeoBox defaultImportBox();

class Importer {
public:
    explicit Importer(ImportOptions options);
    // Throws std::runtime_error with a message for the user (Interruption::Interrupted once a
    // signal came); the folder is then as it was.
    // The stages tell a listener when each begins and ends; readProgress hears the share of the
    // extract read, in per cent.
    void run(Stages &stages, const std::function<void(int percent)> &readProgress = {});
    // What was imported and what the import did with the extract.
    const QStringList &report() const { return m_report; }

private:
    ImportOptions m_options;
    QStringList m_report;
};
