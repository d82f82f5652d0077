#pragma once
// Writes a complete demo city into a folder: Address.ini, the SQLite database, the general map and
// the 25 sheets, the marker icons and the help document.
#include "citykit/City.h"
#include "citykit/CityWriter.h"

#include <QImage>
#include <QString>
#include <QStringList>

struct GeneratorOptions {
    QString folder;
    quint64 seed = 1;
    CitySize size;
    int mapWidth = 2500; // general map width in pixels; sheets are four times as detailed
    bool quiet = false;
    // When set, the database goes through this connection string (an empty database on a server,
    // or any other the program can open) instead of into the folder's SQLite file, and
    // Address.ini names it.
    QString connection;
    // When set, the city is also written there as an OpenStreetMap file (by the program around
    // the generator, with the OpenStreetMap import's tag tables).
    QString osmFile;
    QString gtfsFolder; // also write the transit as a GTFS feed there
};

class Generator {
public:
    explicit Generator(GeneratorOptions options);
    // Throws std::runtime_error with a message for the user.
    void run();
    // What was written and how long each step took.
    const QStringList &report() const { return m_report; }
    // The city written, after run().
    const City &city() const { return m_city; }

private:
    GeneratorOptions m_options;
    QStringList m_report;
    Model m_model;
    City m_city;
};
