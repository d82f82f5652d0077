#include "osmimport/ImportCommandLine.h"

#include "transit/CityFrame.h"

#include <limits>

ToolCommandLine importCommandLine()
{
    ToolCommandLine commandLine(
        QStringLiteral("kvirzeta-import-osm"),
        QStringLiteral("Reads an OpenStreetMap extract and writes a city Kvirzeta opens into FOLDER: Address.ini, the "
                       "database, Raster/, pictures/icons/ and Kvirzeta.pdf."),
        {{QStringLiteral("EXTRACT"), QStringLiteral("The extract: .osm.pbf, .osm or .osm.bz2.")},
         {QStringLiteral("FOLDER"), QStringLiteral("Where the city goes.")}},
        QStringLiteral("FOLDER must be new, empty, or hold a city made before, which the new one replaces.\n"));
    commandLine.add(QStringLiteral("bbox"),
                    QStringLiteral("The box to import, in degrees (default: Tbilisi, %1, or the administrative boundary "
                                   "of the city named as the maps are when the extract has it); the maps cover the "
                                   "smallest 4:3 frame around it.")
                        .arg(defaultImportBox().text()),
                    QStringLiteral("W,S,E,N"));
    commandLine.add(QStringLiteral("title"),
                    QStringLiteral("The city's name on the general map and in the guides, in Georgian letters or in the display "
                                   "font's transliteration (\"rusTavi\"; default: the most important city, else town, in "
                                   "the box, transcribed)."),
                    QStringLiteral("TEXT"));
    commandLine.add(QStringLiteral("gtfs"),
                    QStringLiteral("Take the stops and routes, and how often each runs, from this GTFS feed (a folder or "
                                   ".zip) instead of the extract's route relations."),
                    QStringLiteral("FEED"));
    commandLine.add(QStringLiteral("connection"),
                    QStringLiteral("Write the tables through this connection string into an empty database instead of "
                                   "the folder's SQLite file, and name it in Address.ini."),
                    QStringLiteral("TEXT"));
    commandLine.add(QStringLiteral("seed"), QStringLiteral("Varies the colours and shapes of the places' logos (default 0)."),
                    QStringLiteral("S"));
    commandLine.add(QStringLiteral("admin-level"),
                    QStringLiteral("The administrative boundaries that make the districts (default: the level whose "
                                   "boundaries in the box come nearest to Tbilisi's ten)."),
                    QStringLiteral("N"));
    commandLine.add(QStringLiteral("map-width"), QStringLiteral("Width of the general map in pixels (default 2500)."),
                    QStringLiteral("W"));
    commandLine.add(QStringLiteral("quiet"), QStringLiteral("Print nothing but errors."));
    return commandLine;
}

bool readImportOptions(ToolCommandLine &commandLine, const QStringList &arguments, ImportOptions *options)
{
    if (!commandLine.parse(arguments))
        return false;
    if (commandLine.answersAlone())
        return true;
    const QStringList positional = commandLine.positionalArguments();
    options->input = positional.at(0);
    options->folder = positional.at(1);
    if (commandLine.isSet(QStringLiteral("bbox"))) {
        options->box = GeoBox::parse(commandLine.value(QStringLiteral("bbox")));
        if (!options->box)
            return commandLine.refuse(QStringLiteral("--bbox needs WEST,SOUTH,EAST,NORTH in degrees, west of east and "
                                                     "south of north"));
    }
    if (!commandLine.text(QStringLiteral("connection"), QStringLiteral("a connection string"), &options->connection)
        || !commandLine.text(QStringLiteral("gtfs"), QStringLiteral("a feed folder or .zip"), &options->gtfs))
        return false;
    if (commandLine.isSet(QStringLiteral("title"))) {
        options->title = commandLine.value(QStringLiteral("title")).simplified();
        if (options->title.isEmpty() || options->title.size() > CityFrame::MaxCityLength)
            return commandLine.refuse(QStringLiteral("--title needs a name of 1 to %1 characters").arg(CityFrame::MaxCityLength));
    }
    qint64 number = 0;
    if (commandLine.isSet(QStringLiteral("seed"))) {
        if (!commandLine.wholeNumber(QStringLiteral("seed"), 0, std::numeric_limits<qint64>::max(), &number))
            return false;
        options->seed = quint64(number);
    }
    if (commandLine.isSet(QStringLiteral("admin-level"))) {
        if (!commandLine.wholeNumber(QStringLiteral("admin-level"), 1, 12, &number))
            return false;
        options->adminLevel = int(number);
    }
    if (commandLine.isSet(QStringLiteral("map-width"))) {
        if (!commandLine.wholeNumber(QStringLiteral("map-width"), 400, 12000, &number))
            return false;
        options->mapWidth = int(number);
    }
    options->quiet = commandLine.isSet(QStringLiteral("quiet"));
    return true;
}

bool parseImportArguments(const QStringList &arguments, ImportOptions *options, QString *error)
{
    ToolCommandLine commandLine = importCommandLine();
    const bool read = readImportOptions(commandLine, arguments, options);
    *error = commandLine.error();
    return read && !commandLine.answersAlone();
}
