#include "osmimport/Importer.h"

#include "citykit/CityDatabase.h"
#include "citykit/CityReplacement.h"
#include "citykit/CityWriter.h"
#include "gtfs/GtfsFeed.h"
#include "osmimport/OsmCity.h"
#include "osmimport/OsmReader.h"
#include "osmimport/TagMapping.h"
#include "osmimport/Transcription.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <tuple>
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

// The city the maps are titled with: a city before a town, a capital before others, then the
// most people.
const OsmSettlement *mostImportant(const QVector<OsmSettlement> &settlements)
{
    const OsmSettlement *best = nullptr;
    for (const OsmSettlement &s : settlements)
        if (!best || std::tie(s.city, s.capital, s.population) > std::tie(best->city, best->capital, best->population))
            best = &s;
    return best;
}

// The box of the administrative boundary named as the city, whatever its level (the largest of
// that name); nothing when the extract has none.
std::optional<GeoBox> boundaryBox(const OsmExtract &extract, const QString &city)
{
    QRectF largest;
    for (const OsmBoundary &b : extract.boundaries) {
        const QRectF bounds = b.shape.boundingRect();
        if (Transcription::transcribe(b.name).compare(city, Qt::CaseInsensitive) == 0
            && bounds.width() * bounds.height() > largest.width() * largest.height())
            largest = bounds;
    }
    if (largest.isEmpty())
        return std::nullopt;
    const QPointF northWest = extract.frame.lonLat(largest.topLeft());
    const QPointF southEast = extract.frame.lonLat(largest.bottomRight());
    return GeoBox{northWest.x(), southEast.y(), southEast.x(), northWest.y()};
}

} // namespace

GeoBox defaultImportBox()
{
    // Every platform of Tbilisi's bus and metro network lies within it, Krtsanisi's in the south too.
    return GeoBox{44.63, 41.57, 45.02, 41.84};
}

Importer::Importer(ImportOptions options) : m_options(std::move(options)) {}

void Importer::run(Stages &stages, const std::function<void(int percent)> &readProgress)
{
    const Model demo = demoModel();
    const TagMapping mapping = TagMapping::builtIn(demo);
    MapFrame frame = MapFrame::around(m_options.box.value_or(defaultImportBox()));
    QString box = m_options.box.value_or(defaultImportBox()).text();
    CityReplacement replacement(m_options.folder);
    const QString connection = CityDatabase::forCity(m_options.connection, replacement.folder());
    if (!connection.isEmpty())
        CityDatabase::requireEmpty(connection);

    OsmExtract extract;
    const QString extractName = QFileInfo(m_options.input).fileName();
    stages.run(QStringLiteral("reading %1").arg(extractName),
               [&] { extract = OsmReader::read(m_options.input, frame, mapping, readProgress); });
    if (extract.nodesInFrame == 0)
        fail(QStringLiteral("%1 has nothing in the box %2: is it an extract of that part of the world?")
                 .arg(QDir::toNativeSeparators(m_options.input), box));
    // The city's name, and without a box of the user's the city's own boundary as the box.
    QStringList notes;
    const OsmSettlement *settlement = mostImportant(extract.settlements);
    // A title in Georgian letters is transcribed; one in Latin letters is the transliteration.
    QString title = Transcription::hasGeorgian(m_options.title) ? Transcription::transcribe(m_options.title) : m_options.title;
    if (title.isEmpty() && settlement)
        title = Transcription::transcribe(settlement->name);
    if (title.isEmpty()) {
        title = QStringLiteral("Tbilisi");
        notes.append(QStringLiteral("no city or town is in the box: the maps are titled \"Tbilisi\" (--title names the city)"));
    }
    if (!m_options.box) {
        if (const std::optional<GeoBox> bounds = boundaryBox(extract, title)) {
            frame = MapFrame::around(*bounds);
            box = bounds->text();
            stages.run(QStringLiteral("reading %1 again within the boundary of %2").arg(extractName, title),
                       [&] { extract = OsmReader::read(m_options.input, frame, mapping, readProgress); });
            notes.append(QStringLiteral("the box is the administrative boundary of %1: %2").arg(title, box));
        }
    }
    std::optional<GtfsFeed> feed;
    if (!m_options.gtfs.isEmpty())
        stages.run(QStringLiteral("reading the feed %1").arg(QFileInfo(m_options.gtfs).fileName()),
                   [&] { feed = GtfsFeed::read(m_options.gtfs); });
    std::unique_ptr<OsmCity> city;
    stages.run(QStringLiteral("catalogue"), [&] {
        city = std::make_unique<OsmCity>(extract, demo, mapping, m_options.adminLevel, feed ? &*feed : nullptr, title);
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
        + notes + city->notes() + (feed ? feed->notes : QStringList());
    for (const QString &left : cleaned)
        m_report.append(QStringLiteral("removed %1, left by an earlier run that was stopped").arg(left));
}
