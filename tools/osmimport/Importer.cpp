#include "osmimport/Importer.h"

#include "citykit/CityDatabase.h"
#include "citykit/CityReplacement.h"
#include "citykit/CityWriter.h"
#include "gtfs/GtfsFeed.h"
#include "osmimport/OsmCity.h"
#include "osmimport/OsmReader.h"
#include "osmimport/TagMapping.h"

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

} // namespace

GeoBox defaultImportBox()
{
    return demoModel().frame.box();
}

Importer::Importer(ImportOptions options) : m_options(std::move(options)) {}

void Importer::run(Stages &stages, const std::function<void(int percent)> &readProgress)
{
    const Model demo = demoModel();
    const TagMapping mapping = TagMapping::builtIn(demo);
    const MapFrame frame = MapFrame::around(m_options.box.value_or(defaultImportBox()));
    const QString box = m_options.box.value_or(defaultImportBox()).text();
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
    std::optional<GtfsFeed> feed;
    if (!m_options.gtfs.isEmpty())
        stages.run(QStringLiteral("reading the feed %1").arg(QFileInfo(m_options.gtfs).fileName()),
                   [&] { feed = GtfsFeed::read(m_options.gtfs); });
    std::unique_ptr<OsmCity> city;
    stages.run(QStringLiteral("catalogue"), [&] {
        city = std::make_unique<OsmCity>(extract, demo, mapping, m_options.adminLevel, feed ? &*feed : nullptr);
    });
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
        + city->notes() + (feed ? feed->notes : QStringList());
    for (const QString &left : cleaned)
        m_report.append(QStringLiteral("removed %1, left by an earlier run that was stopped").arg(left));
}
