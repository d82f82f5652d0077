#include "osmimport/Importer.h"

#include "citykit/CityDatabase.h"
#include "citykit/CityWriter.h"
#include "osmimport/OsmCity.h"
#include "osmimport/OsmReader.h"
#include "osmimport/TagMapping.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

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

// What an earlier city in the folder may hold; anything else there is someone's own.
bool isCityEntry(const QString &name)
{
    static const QStringList entries{QStringLiteral("Address.ini"), QLatin1String(CityWriter::DatabaseFile),
                                     QStringLiteral("Kvirzeta.pdf"), QStringLiteral("Raster"), QStringLiteral("pictures")};
    return entries.contains(name);
}

} // namespace

GeoBox defaultImportBox()
{
    return demoModel().frame.box();
}

Importer::Importer(ImportOptions options) : m_options(std::move(options))
{
    // The folder as one clean absolute path ("city/" and "./city" are "city"), so that the
    // temporary folder is made beside it, never in it.
    m_options.folder = QDir::cleanPath(QFileInfo(m_options.folder).absoluteFilePath());
}

void Importer::checkTarget() const
{
    const QFileInfo info(m_options.folder);
    if (!info.exists())
        return;
    if (!info.isDir())
        fail(QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(m_options.folder)));
    const QStringList entries = QDir(m_options.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const bool city = entries.contains(QStringLiteral("Address.ini")) && std::all_of(entries.begin(), entries.end(), isCityEntry);
    if (!entries.isEmpty() && !city)
        fail(QStringLiteral("%1 holds files that are not a Kvirzeta city; give a new or empty folder, or one with a "
                            "city made before")
                 .arg(QDir::toNativeSeparators(info.absoluteFilePath())));
}

void Importer::run(Stages &stages, const std::function<void(int percent)> &readProgress)
{
    const Model demo = demoModel();
    const TagMapping mapping = TagMapping::builtIn(demo);
    const MapFrame frame = MapFrame::around(m_options.box.value_or(defaultImportBox()));
    const QString box = m_options.box.value_or(defaultImportBox()).text();
    checkTarget();
    if (!m_options.connection.isEmpty())
        CityDatabase::requireEmpty(m_options.connection);

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

    // The city is made beside the folder, on the same file system, and then moved into place.
    const QFileInfo target(m_options.folder);
    if (!QDir().mkpath(target.absolutePath()))
        fail(QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(target.absolutePath())));
    QTemporaryDir made(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".import-XXXXXX"));
    if (!made.isValid())
        fail(QStringLiteral("Cannot write into %1: %2").arg(QDir::toNativeSeparators(target.absolutePath()), made.errorString()));
    QFile::setPermissions(made.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                           | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                           | QFileDevice::ExeOther);
    CityWriter::write(city->city(), city->scene(), {made.path(), m_options.mapWidth, m_options.connection, m_options.seed},
                      stages);
    moveIntoPlace(made.path());
    made.setAutoRemove(false);

    const City &c = city->city();
    m_report = QStringList{QStringLiteral("%1 places, %2 streets, %3 stops, %4 routes in %5")
                               .arg(c.objects.size())
                               .arg(c.streets.size())
                               .arg(c.stops.size())
                               .arg(c.routes.size())
                               .arg(QDir::toNativeSeparators(target.absoluteFilePath()))}
        + city->notes();
}

void Importer::moveIntoPlace(const QString &made) const
{
    const QString target = QFileInfo(m_options.folder).absoluteFilePath();
    const QString old = made + QStringLiteral("-old");
    const bool replacing = QFileInfo::exists(target);
    if (replacing && !QDir().rename(target, old))
        fail(QStringLiteral("Cannot move the city in %1 aside").arg(QDir::toNativeSeparators(target)));
    if (!QDir().rename(made, target)) {
        if (replacing)
            QDir().rename(old, target);
        fail(QStringLiteral("Cannot move the new city into %1").arg(QDir::toNativeSeparators(target)));
    }
    if (replacing)
        QDir(old).removeRecursively();
}
