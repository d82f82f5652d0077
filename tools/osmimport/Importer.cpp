#include "Importer.h"

#include "CityDatabase.h"
#include "CityReplacement.h"
#include "CityWriter.h"
#include "OsmCity.h"
#include "OsmReader.h"
#include "TagMapping.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

Model demoModel()
{
    QStringList errors;
    Model model = Model::builtIn(&errors);
    if (!errors.isEmpty())
        fail(QStringLiteral("The built-in rubrics have mistakes:\n") + errors.join(QLatin1Char('\n')));
    return model;
}

QString boxText(double west, double south, double east, double north)
{
    return QStringLiteral("%1,%2,%3,%4").arg(west, 0, 'f', 4).arg(south, 0, 'f', 4).arg(east, 0, 'f', 4).arg(north, 0, 'f', 4);
}

QString frameBoxText(const MapFrame &frame)
{
    const QPointF topLeft = frame.lonLat(QPointF(0, 0)), bottomRight = frame.lonLat(QPointF(frame.width, frame.height));
    return boxText(topLeft.x(), bottomRight.y(), bottomRight.x(), topLeft.y());
}

bool parseBox(const QString &text, ImportOptions *options)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok)
            return false;
    }
    const auto [west, south, east, north] = v;
    if (!(west >= -180 && east <= 180 && south >= -85 && north <= 85 && west < east && south < north))
        return false;
    options->hasBox = true;
    options->west = west;
    options->south = south;
    options->east = east;
    options->north = north;
    return true;
}

} // namespace

QString importUsage()
{
    return QStringLiteral(
               "usage: kvirzeta-import-osm INPUT FOLDER [options]\n"
               "Reads an OpenStreetMap extract (.osm.pbf, .osm or .osm.bz2) and writes a city Kvirzeta opens into\n"
               "FOLDER: Address.ini, the database, Raster/, pictures/icons/ and Kvirzeta.pdf.\n"
               "  --bbox W,S,E,N     the box to import, in degrees (default: Tbilisi, %1);\n"
               "                     the maps cover the smallest 4:3 frame around it\n"
               "  --connection TEXT  write the tables through this connection string into an empty database\n"
               "                     instead of the folder's SQLite file, and name it in Address.ini\n"
               "  --seed S           varies the colours and shapes of the places' logos (default 0)\n"
               "  --admin-level N    the administrative boundaries that make the districts (default: the\n"
               "                     level whose boundaries in the box come nearest to Tbilisi's ten)\n"
               "  --map-width W      width of the general map in pixels (default 2500, at least 400)\n"
               "  --quiet            print nothing but errors\n"
               "FOLDER must be new, empty, or hold a city made before by this tool or kvirzeta-democity (the files\n"
               "its .kvirzeta-city lists, and nothing else), which the new one replaces. A link to a folder stands\n"
               "for that folder. Nothing else is ever replaced or removed.\n")
        .arg(frameBoxText(demoModel().frame));
}

bool parseImportArguments(const QStringList &arguments, ImportOptions *options, QString *error)
{
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        const QString value = hasValue ? arguments[i + 1] : QString();
        bool ok = false;
        if (a == QLatin1String("--bbox")) {
            if (!hasValue || !parseBox(value, options)) {
                *error = QStringLiteral("--bbox needs WEST,SOUTH,EAST,NORTH in degrees, west of east and south of north");
                return false;
            }
        } else if (a == QLatin1String("--connection")) {
            if (value.trimmed().isEmpty()) {
                *error = QStringLiteral("--connection needs a connection string");
                return false;
            }
            options->connection = value;
        } else if (a == QLatin1String("--seed")) {
            options->seed = value.toULongLong(&ok);
            if (!ok) {
                *error = QStringLiteral("--seed needs a whole number");
                return false;
            }
        } else if (a == QLatin1String("--admin-level")) {
            options->adminLevel = value.toInt(&ok);
            if (!ok || options->adminLevel < 1 || options->adminLevel > 12) {
                *error = QStringLiteral("--admin-level needs a level from 1 to 12");
                return false;
            }
        } else if (a == QLatin1String("--map-width")) {
            options->mapWidth = value.toInt(&ok);
            if (!ok || options->mapWidth < 400 || options->mapWidth > 12000) {
                *error = QStringLiteral("--map-width needs a whole number from 400 to 12000");
                return false;
            }
        } else if (a == QLatin1String("--quiet")) {
            options->quiet = true;
            continue;
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown argument: %1").arg(a);
            return false;
        } else {
            positional.append(a);
            continue;
        }
        ++i; // the option's value
    }
    if (positional.size() != 2) {
        *error = positional.size() < 2 ? QStringLiteral("an input file and a folder are needed")
                                       : QStringLiteral("unknown argument: %1").arg(positional[2]);
        return false;
    }
    options->input = positional[0];
    options->folder = positional[1];
    return true;
}

MapFrame frameAround(double west, double south, double east, double north)
{
    MapFrame frame;
    frame.centreLon = (west + east) / 2;
    frame.centreLat = (south + north) / 2;
    const QPointF size = frame.project(east, south) - frame.project(west, north);
    frame.width = std::max(size.x(), size.y() * 4 / 3);
    frame.height = frame.width * 0.75;
    return frame;
}

Importer::Importer(ImportOptions options) : m_options(std::move(options)) {}

void Importer::run(Stages &stages, const std::function<void(int percent)> &readProgress)
{
    const Model demo = demoModel();
    const TagMapping mapping = TagMapping::builtIn(demo);
    const MapFrame frame = m_options.hasBox ? frameAround(m_options.west, m_options.south, m_options.east, m_options.north)
                                            : demo.frame;
    const QString box = m_options.hasBox ? boxText(m_options.west, m_options.south, m_options.east, m_options.north)
                                         : frameBoxText(frame);
    CityReplacement replacement(m_options.folder);
    const QString connection = CityDatabase::forCity(m_options.connection, replacement.folder());
    if (!connection.isEmpty())
        CityDatabase::requireEmpty(connection);

    OsmExtract extract;
    stages.run(QStringLiteral("reading %1").arg(QFileInfo(m_options.input).fileName()),
               [&] { extract = OsmReader::read(m_options.input, frame, mapping, readProgress); });
    if (extract.nodesInFrame == 0)
        fail(QStringLiteral("%1 has nothing in the box %2: is it an extract of that part of the world?")
                 .arg(QDir::toNativeSeparators(m_options.input), box));
    std::unique_ptr<OsmCity> city;
    stages.run(QStringLiteral("catalogue"), [&] { city = std::make_unique<OsmCity>(extract, demo, mapping, m_options.adminLevel); });
    if (city->city().objects.isEmpty())
        fail(QStringLiteral("The box %1 holds no named places (shops, cafés, offices and the like): there is no catalogue "
                            "to make")
                 .arg(box));

    QStringList cleaned;
    const QString work = replacement.begin(&cleaned);
    CityWriter::write(city->city(), city->scene(),
                      {work, replacement.shownFolder(), m_options.mapWidth, connection, m_options.seed}, stages);
    stages.run(QStringLiteral("moving into place"), [&] { replacement.commit(); });

    const City &c = city->city();
    m_report = QStringList{QStringLiteral("%1 places, %2 streets, %3 stops, %4 routes in %5")
                               .arg(c.objects.size())
                               .arg(c.streets.size())
                               .arg(c.stops.size())
                               .arg(c.routes.size())
                               .arg(replacement.shownFolder())}
        + city->notes();
    for (const QString &left : cleaned)
        m_report.append(QStringLiteral("removed %1, left by an earlier run that was stopped").arg(left));
}
