#include "Generator.h"

#include "CityDatabase.h"
#include "CityReplacement.h"
#include "DemoScene.h"


#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

bool number(const QString &text, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

QString usage()
{
    return QStringLiteral(
        "usage: kvirzeta-democity FOLDER [options]\n"
        "Writes a demo city of Tbilisi into FOLDER: Address.ini, the database, Raster/, pictures/icons/ and\n"
        "Kvirzeta.pdf. FOLDER must be new, empty, or hold a city made before by this tool or kvirzeta-import-osm\n"
        "(the files its .kvirzeta-city lists, and nothing else), which the new one replaces.\n"
        "  --seed S          random seed (default 1); the same seed gives the same city\n"
        "  --objects N       number of objects (default 450)\n"
        "  --streets N       number of streets (default: the model's)\n"
        "  --stops N         number of stops, at least the model's (default: the model's)\n"
        "  --routes N        number of routes, at least the model's (default: as the stops need)\n"
        "  --ad-percent P    per cent of objects with an advertising file (default 30)\n"
        "  --ad-kb K         size of each advertising file in kilobytes (default: as small as it comes)\n"
        "  --ad-icons-all    every object gets an advertising icon, not only those with a file\n"
        "  --map-width W     width of the general map in pixels (default 2500, at least 400)\n"
        "  --bench           a large city for benchmarks: 100000 objects, 20000 streets, 5000 stops on\n"
        "                    300 routes, 5 % of objects with a 50 KB advertising file, icons for all\n"
        "  --quiet           print nothing but errors\n"
        "  --osm FILE        also write the city as an OpenStreetMap file (.osm.pbf, .osm or .osm.bz2),\n"
        "                    for kvirzeta-import-osm\n"
        "  --connection TEXT write the tables through this connection string into an empty database\n"
        "                    instead of the folder's SQLite file, and name it in Address.ini, e.g.\n"
        "                    \"Provider=PostgreSQL;Host=localhost;Port=5432;Database=kvirzeta;User ID=me;Password=secret\"\n");
}

bool parseArguments(const QStringList &arguments, GeneratorOptions *options, QString *error)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        auto value = [&](qint64 low, qint64 high, qint64 *out) {
            if (i + 1 >= arguments.size() || !number(arguments[i + 1], low, high, out)) {
                *error = QStringLiteral("%1 needs a whole number from %2 to %3").arg(a).arg(low).arg(high);
                return false;
            }
            ++i;
            return true;
        };
        qint64 v = 0;
        if (a == QLatin1String("--seed")) {
            if (!value(0, std::numeric_limits<qint64>::max(), &v))
                return false;
            options->seed = quint64(v);
        } else if (a == QLatin1String("--objects")) {
            if (!value(0, 1000000, &v))
                return false;
            options->size.objects = int(v);
        } else if (a == QLatin1String("--streets")) {
            if (!value(1, 200000, &v))
                return false;
            options->size.streets = int(v);
        } else if (a == QLatin1String("--stops")) {
            if (!value(1, 32000, &v))
                return false;
            options->size.stops = int(v);
        } else if (a == QLatin1String("--routes")) {
            if (!value(1, 5000, &v))
                return false;
            options->size.routes = int(v);
        } else if (a == QLatin1String("--ad-percent")) {
            if (!value(0, 100, &v))
                return false;
            options->size.advertShare = v / 100.0;
        } else if (a == QLatin1String("--ad-kb")) {
            if (!value(0, 10000, &v))
                return false;
            options->size.advertKilobytes = int(v);
        } else if (a == QLatin1String("--ad-icons-all")) {
            options->size.advertIconForAll = true;
        } else if (a == QLatin1String("--map-width")) {
            if (!value(400, 12000, &v))
                return false;
            options->mapWidth = int(v);
        } else if (a == QLatin1String("--bench")) {
            options->size.objects = 100000;
            options->size.streets = 20000;
            options->size.stops = 5000;
            options->size.routes = 300;
            options->size.advertShare = 0.05;
            options->size.advertKilobytes = 50;
            options->size.advertIconForAll = true;
        } else if (a == QLatin1String("--quiet")) {
            options->quiet = true;
        } else if (a == QLatin1String("--connection")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].trimmed().isEmpty()) {
                *error = QStringLiteral("--connection needs a connection string");
                return false;
            }
            options->connection = arguments[++i];
        } else if (a == QLatin1String("--osm")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                *error = QStringLiteral("--osm needs a file name");
                return false;
            }
            options->osmFile = arguments[++i];
        } else if (a.startsWith(QLatin1String("--")) || !options->folder.isEmpty()) {
            *error = QStringLiteral("unknown argument: %1").arg(a);
            return false;
        } else {
            options->folder = a;
        }
    }
    if (options->folder.isEmpty()) {
        *error = QStringLiteral("no folder given");
        return false;
    }
    return true;
}

Generator::Generator(GeneratorOptions options) : m_options(std::move(options)) {}

void Generator::run()
{
    QStringList errors;
    m_model = Model::builtIn(&errors);
    if (!errors.isEmpty())
        fail(QStringLiteral("The city model has mistakes:\n") + errors.join(QLatin1Char('\n')));

    // The folder may be replaced, and a database named by a connection string is reachable and
    // empty, before anything is written.
    CityReplacement replacement(m_options.folder);
    const QString connection = CityDatabase::forCity(m_options.connection, replacement.folder());
    if (!connection.isEmpty())
        CityDatabase::requireEmpty(connection);

    Stages stages;
    stages.run(QStringLiteral("city"), [&] { m_city = City::build(m_model, m_options.seed, m_options.size); });
    const QString work = replacement.begin();
    CityWriter::write(m_city, demoScene(m_city), {work, replacement.shownFolder(), m_options.mapWidth, connection, 0}, stages);
    stages.run(QStringLiteral("moving into place"), [&] { replacement.commit(); });
    m_report = stages.report();
    m_report.prepend(QStringLiteral("%1 objects, %2 streets, %3 stops, %4 routes in %5")
                         .arg(m_city.objects.size())
                         .arg(m_city.streets.size())
                         .arg(m_city.stops.size())
                         .arg(m_city.routes.size())
                         .arg(replacement.shownFolder()));
}
