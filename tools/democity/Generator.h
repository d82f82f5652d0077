#pragma once
// Writes a complete demo city into a folder: Address.ini, the SQLite database, the general map and
// the 25 sheets, the marker icons and the help document.
#include "City.h"

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
};

// Parses the command line (without the program name). On a mistake it returns false and sets error.
bool parseArguments(const QStringList &arguments, GeneratorOptions *options, QString *error);
QString usage();

class Generator {
public:
    explicit Generator(GeneratorOptions options);
    // Throws std::runtime_error with a message for the user.
    void run();
    // What was written and how long each step took.
    const QStringList &report() const { return m_report; }

    static constexpr const char *DatabaseFile = "Kvirzeta.sqlite";
    // The display font's family, registered on first use; a fallback when it cannot be.
    static QString fontFamily();
    static QSize generalMapSize(int width) { return QSize(width, width * 3 / 4); }
    static QSize sheetSize(int generalWidth) { return QSize(generalWidth * 4 / 5, generalWidth * 3 / 5); }
    // The part of the city a raster shows, in model metres: a sheet's, or the whole frame for
    // an empty code.
    static QRectF mapArea(const MapFrame &frame, const QString &sheetCode);

private:
    void step(const QString &what, const std::function<void()> &work);
    void writeRasters(const City &city);

    GeneratorOptions m_options;
    QStringList m_report;
    QImage m_generalMap;
};
