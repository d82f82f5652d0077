#include "osmimport/OsmCity.h"

#include "citykit/SheetLayout.h"
#include "osmimport/Districts.h"
#include "osmimport/OsmPlaces.h"
#include "osmimport/OsmScene.h"
#include "osmimport/OsmStreets.h"
#include "osmimport/OsmTransport.h"

#include <algorithm>

namespace {

const QString WholeCity = QStringLiteral("qalaqi");
constexpr int UnmappedShown = 20;

QString unmappedNote(const QMap<QByteArray, int> &unmapped)
{
    QVector<QPair<int, QByteArray>> byCount;
    int places = 0;
    for (auto it = unmapped.cbegin(); it != unmapped.cend(); ++it) {
        byCount.append({-it.value(), it.key()});
        places += it.value();
    }
    std::sort(byCount.begin(), byCount.end());
    QStringList shown;
    for (int i = 0; i < std::min(int(byCount.size()), UnmappedShown); ++i)
        shown.append(QStringLiteral("%1 %2").arg(QString::fromUtf8(byCount[i].second)).arg(-byCount[i].first));
    if (byCount.size() > UnmappedShown)
        shown.append(QStringLiteral("and %1 more tags").arg(byCount.size() - UnmappedShown));
    return QStringLiteral("%1 places have tags the table does not map and are filed under \"sxva\": %2")
        .arg(places)
        .arg(shown.join(QStringLiteral(", ")));
}

} // namespace

OsmCity::OsmCity(const OsmExtract &extract, const Model &rubrics, const TagMapping &mapping, int adminLevel,
                 const GtfsFeed *feed, const QString &title)
{
    m_model.frame = extract.frame;
    m_model.streetTypes = rubrics.streetTypes;
    const Districts districts(extract.boundaries, extract.frame, adminLevel, WholeCity);
    for (int i = 0; i < districts.size(); ++i)
        m_model.districts.append({districts.name(i), {}, 0, 0});
    m_notes.append(districts.level() > 0
                       ? QStringLiteral("districts: the %1 boundaries of admin_level %2").arg(districts.size()).arg(districts.level())
                       : QStringLiteral("districts: no administrative boundary in the box, so one district \"%1\"").arg(WholeCity));

    const OsmStreets::Result streets = OsmStreets::build(extract, districts, mapping);
    const OsmTransport::Result transport = OsmTransport::build(extract, districts, mapping, streets.names, feed);
    const OsmPlaces::Result places = OsmPlaces::build(extract, districts, mapping, rubrics);
    m_model.transportTypes = transport.types;
    m_model.rubrics = rubrics.rubrics;
    m_model.subRubrics = rubrics.subRubrics;

    m_city.model = &m_model;
    m_city.title = title;
    m_city.streets = streets.streets;
    m_city.stops = transport.stops;
    m_city.routes = transport.routes;
    m_city.objects = places.objects;
    m_scene = osmScene(extract, districts, streets.names, transport);

    if (!places.unmapped.isEmpty())
        m_notes.append(unmappedNote(places.unmapped));
    if (places.leftOut > 0)
        m_notes.append(QStringLiteral("%1 places are left out as the table says (parking, benches and the like)").arg(places.leftOut));
    m_notes += transport.notes;
    int offSheets = 0;
    auto count = [&](QPointF p) { offSheets += !SheetLayout::locate(extract.frame.percent(p)).isValid(); };
    for (const ObjectRecord &o : m_city.objects)
        count(o.position);
    for (const StreetRecord &s : m_city.streets)
        count(s.marker);
    for (const StopRecord &s : m_city.stops)
        if (s.located)
            count(s.position);
    const auto [nodes, ways, relations] = extract.tagsDropped;
    if (nodes + ways + relations > 0)
        m_notes.append(QStringLiteral("%1 nodes, %2 ways and %3 relations have a NUL character in a tag: they are read "
                                      "without their tags, so none of them is a place, street or stop")
                           .arg(nodes)
                           .arg(ways)
                           .arg(relations));
    if (offSheets > 0)
        m_notes.append(QStringLiteral("%1 places, streets and stops lie right of sheet F5, where no sheet is: they "
                                      "are kept without a map position")
                           .arg(offSheets));
}
