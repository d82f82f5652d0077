#include "democity/GeneratorCommandLine.h"

#include <functional>
#include <limits>

ToolCommandLine generatorCommandLine()
{
    ToolCommandLine commandLine(
        QStringLiteral("kvirzeta-democity"),
        QStringLiteral("Writes a demo city of Tbilisi into FOLDER: Address.ini, the database, Raster/, pictures/icons/ "
                       "and Kvirzeta.pdf."),
        {{QStringLiteral("FOLDER"), QStringLiteral("Where the city goes.")}},
        QStringLiteral("FOLDER must be new, empty, or hold a city made before by this tool or kvirzeta-import-osm (the "
                       "files its .kvirzeta-city lists, and nothing else), which the new one replaces.\n"));
    commandLine.add(QStringLiteral("seed"), QStringLiteral("Random seed (default 1); the same seed gives the same city."),
                    QStringLiteral("S"));
    commandLine.add(QStringLiteral("objects"), QStringLiteral("Number of objects (default 450)."), QStringLiteral("N"));
    commandLine.add(QStringLiteral("streets"), QStringLiteral("Number of streets (default: the model's)."), QStringLiteral("N"));
    commandLine.add(QStringLiteral("stops"), QStringLiteral("Number of stops, at least the model's (default: the model's)."),
                    QStringLiteral("N"));
    commandLine.add(QStringLiteral("routes"),
                    QStringLiteral("Number of routes, at least the model's (default: as the stops need)."), QStringLiteral("N"));
    commandLine.add(QStringLiteral("ad-percent"), QStringLiteral("Per cent of objects with an advertising file (default 30)."),
                    QStringLiteral("P"));
    commandLine.add(QStringLiteral("ad-kb"),
                    QStringLiteral("Size of each advertising file in kilobytes (default: as small as it comes)."),
                    QStringLiteral("K"));
    commandLine.add(QStringLiteral("ad-icons-all"),
                    QStringLiteral("Every object gets an advertising icon, not only those with a file."));
    commandLine.add(QStringLiteral("map-width"), QStringLiteral("Width of the general map in pixels (default 2500)."),
                    QStringLiteral("W"));
    commandLine.add(QStringLiteral("bench"),
                    QStringLiteral("A large city for benchmarks: 100000 objects, 20000 streets, 5000 stops on 300 routes, "
                                   "5 % of objects with a 50 KB advertising file, icons for all (the options above "
                                   "change it further)."));
    commandLine.add(QStringLiteral("quiet"), QStringLiteral("Print nothing but errors."));
    commandLine.add(QStringLiteral("gtfs"),
                    QStringLiteral("Also write the city's stops and routes as a GTFS feed into this folder, for "
                                   "kvirzeta-import-osm --gtfs."),
                    QStringLiteral("FOLDER"));
    commandLine.add(QStringLiteral("osm"),
                    QStringLiteral("Also write the city as an OpenStreetMap file (.osm.pbf, .osm or .osm.bz2), for "
                                   "kvirzeta-import-osm."),
                    QStringLiteral("FILE"));
    commandLine.add(QStringLiteral("connection"),
                    QStringLiteral("Write the tables through this connection string into an empty database instead of "
                                   "the folder's SQLite file, and name it in Address.ini, e.g. \"Provider=PostgreSQL;"
                                   "Host=localhost;Port=5432;Database=kvirzeta;User ID=me;Password=secret\"."),
                    QStringLiteral("TEXT"));
    return commandLine;
}

bool readGeneratorOptions(ToolCommandLine &commandLine, const QStringList &arguments, GeneratorOptions *options)
{
    if (!commandLine.parse(arguments))
        return false;
    if (commandLine.answersAlone())
        return true;
    options->folder = commandLine.positionalArguments().at(0);
    if (commandLine.isSet(QStringLiteral("bench"))) {
        options->size.objects = 100000;
        options->size.streets = 20000;
        options->size.stops = 5000;
        options->size.routes = 300;
        options->size.advertShare = 0.05;
        options->size.advertKilobytes = 50;
        options->size.advertIconForAll = true;
    }
    // Each whole-number option: its name, its range and where it goes.
    const struct {
        const char *name;
        qint64 low, high;
        std::function<void(qint64)> store;
    } numbers[] = {
        {"seed", 0, std::numeric_limits<qint64>::max(), [&](qint64 v) { options->seed = quint64(v); }},
        {"objects", 0, 1000000, [&](qint64 v) { options->size.objects = int(v); }},
        {"streets", 1, 200000, [&](qint64 v) { options->size.streets = int(v); }},
        {"stops", 1, 32000, [&](qint64 v) { options->size.stops = int(v); }},
        {"routes", 1, 5000, [&](qint64 v) { options->size.routes = int(v); }},
        {"ad-percent", 0, 100, [&](qint64 v) { options->size.advertShare = v / 100.0; }},
        {"ad-kb", 0, 10000, [&](qint64 v) { options->size.advertKilobytes = int(v); }},
        {"map-width", 400, 12000, [&](qint64 v) { options->mapWidth = int(v); }},
    };
    for (const auto &number : numbers) {
        const QString name = QLatin1String(number.name);
        qint64 value = 0;
        if (commandLine.isSet(name)) {
            if (!commandLine.wholeNumber(name, number.low, number.high, &value))
                return false;
            number.store(value);
        }
    }
    if (commandLine.isSet(QStringLiteral("ad-icons-all")))
        options->size.advertIconForAll = true;
    options->quiet = commandLine.isSet(QStringLiteral("quiet"));
    return commandLine.text(QStringLiteral("connection"), QStringLiteral("a connection string"), &options->connection)
        && commandLine.text(QStringLiteral("gtfs"), QStringLiteral("a folder"), &options->gtfsFolder)
        && commandLine.text(QStringLiteral("osm"), QStringLiteral("a file name"), &options->osmFile);
}

bool parseArguments(const QStringList &arguments, GeneratorOptions *options, QString *error)
{
    ToolCommandLine commandLine = generatorCommandLine();
    const bool read = readGeneratorOptions(commandLine, arguments, options);
    *error = commandLine.error();
    return read && !commandLine.answersAlone();
}
