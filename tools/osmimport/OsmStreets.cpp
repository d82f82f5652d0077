#include "osmimport/OsmStreets.h"

#include "citykit/Geometry.h"
#include "osmimport/Transcription.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace OsmStreets {

namespace {

// A district's share of a street's length that gives the street a row there, unless it is this
// long anyway: a street that only touches a district is not listed under it.
constexpr double DistrictShare = 0.25;
constexpr double DistrictLength = 500;
constexpr int NameWidth = 100;

// The ways of one street joined end to end where they share a node.
QVector<QPolygonF> chains(const OsmExtract &extract, const QVector<int> &ways)
{
    QMultiHash<qint64, int> byEnd;
    for (int w : ways) {
        byEnd.insert(extract.roads[w].firstNode, w);
        byEnd.insert(extract.roads[w].lastNode, w);
    }
    QSet<int> used;
    QVector<QPolygonF> result;
    for (int start : ways) {
        if (used.contains(start))
            continue;
        used.insert(start);
        QPolygonF chain = extract.roads[start].line;
        qint64 head = extract.roads[start].firstNode, tail = extract.roads[start].lastNode;
        // Grows the chain at its tail, then (turned round) at its head.
        for (int end = 0; end < 2; ++end) {
            for (bool grown = true; grown;) {
                grown = false;
                for (auto it = byEnd.constFind(tail); it != byEnd.cend() && it.key() == tail; ++it) {
                    if (used.contains(it.value()))
                        continue;
                    const OsmRoad &next = extract.roads[it.value()];
                    used.insert(it.value());
                    QPolygonF line = next.line;
                    if (next.lastNode == tail)
                        std::reverse(line.begin(), line.end());
                    tail = next.lastNode == tail ? next.firstNode : next.lastNode;
                    chain += line.mid(1);
                    grown = true;
                    break;
                }
            }
            std::reverse(chain.begin(), chain.end());
            std::swap(head, tail);
        }
        result.append(chain);
    }
    return result;
}

struct Street {
    QString name;
    int type = 0;
    QVector<int> ways;
    QVector<int> squares;
    bool major = false;
};

} // namespace

bool isStreet(const QByteArray &highway)
{
    static const QByteArrayList streets{"motorway", "trunk", "primary", "secondary", "tertiary", "unclassified",
                                        "residential", "living_street", "pedestrian", "service", "road"};
    return streets.contains(highway.endsWith("_link") ? highway.chopped(5) : highway);
}

bool isAvenue(const QByteArray &highway)
{
    return highway.startsWith("motorway") || highway.startsWith("trunk") || highway.startsWith("primary");
}

QString name(const QString &extractName, const TagMapping &mapping, int *type)
{
    QString result;
    int wordType = 0;
    if (!Transcription::hasGeorgian(extractName)) {
        const int space = int(extractName.trimmed().lastIndexOf(QLatin1Char(' ')));
        wordType = space > 0 ? mapping.streetTypeOfWord(extractName.trimmed().mid(space + 1)) : 0;
        if (wordType)
            result = Transcription::transcribe(extractName.trimmed().left(space)) + QLatin1Char(' ') + mapping.streetTypeWord(wordType);
    }
    if (!wordType)
        result = Transcription::transcribe(extractName);
    result = result.left(NameWidth);
    if (type)
        *type = mapping.streetTypeOfName(result);
    return result;
}

Result build(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping)
{
    // The named highways, by the name the catalogue gives them, in the extract's order.
    QVector<Street> streets;
    QHash<QString, int> byName;
    for (int i = 0; i < extract.roads.size(); ++i) {
        const OsmRoad &road = extract.roads[i];
        if (road.name.isEmpty() || (!road.area && !isStreet(road.highway)))
            continue;
        int type = 0;
        const QString catalogueName = name(road.name, mapping, &type);
        if (catalogueName.isEmpty())
            continue;
        auto it = byName.constFind(catalogueName);
        if (it == byName.cend()) {
            it = byName.insert(catalogueName, int(streets.size()));
            streets.append({catalogueName, type, {}, {}, false});
        }
        Street &street = streets[*it];
        (road.area ? street.squares : street.ways).append(i);
        street.major = street.major || isAvenue(road.highway);
        if (street.type == 0)
            street.type = mapping.streetTypeOfTags([&](const QByteArray &key) {
                return key == "area" && road.area ? QByteArray("yes") : road.tags.value(key);
            });
    }

    Result result;
    for (const Street &street : streets) {
        // Where the street runs, district by district, and where a square of its name lies.
        QMap<int, double> length;
        QMap<int, QPolygonF> longest;
        QMap<int, QPointF> squareAt;
        double total = 0;
        QPolygonF main;
        for (const QPolygonF &chain : chains(extract, street.ways)) {
            result.names.append({chain, street.name, street.major});
            if (geo::length(chain) > geo::length(main))
                main = chain;
            for (const Districts::Stretch &stretch : districts.split(chain)) {
                const double l = geo::length(stretch.line);
                length[stretch.district] += l;
                total += l;
                if (l > geo::length(longest.value(stretch.district)))
                    longest[stretch.district] = stretch.line;
            }
        }
        for (int s : street.squares) {
            const QPointF centre = geo::centroid(extract.roads[s].line);
            result.names.append({QPolygonF{centre}, street.name, false});
            const int district = districts.at(centre);
            if (!squareAt.contains(district))
                squareAt.insert(district, centre);
        }
        // The street is marked at its middle, in the district there, and at the middle of its
        // longest stretch in each other district it runs through for long enough.
        const QPointF middle = geo::pointAt(main, geo::length(main) / 2);
        const int middleDistrict = main.isEmpty() ? -1 : districts.at(middle);
        const int mostly = length.isEmpty() ? -1 : std::max_element(length.begin(), length.end()).key();
        for (int district = 0; district < districts.size(); ++district) {
            QPointF marker;
            if (squareAt.contains(district)) {
                marker = squareAt.value(district);
            } else if (district == middleDistrict) {
                marker = middle;
            } else if (length.contains(district)
                       && (district == mostly || length[district] >= DistrictLength || length[district] >= total * DistrictShare)) {
                const QPolygonF &here = longest[district];
                marker = geo::pointAt(here, geo::length(here) / 2);
            } else {
                continue;
            }
            StreetRecord record;
            record.code = int(result.streets.size()) + 1;
            record.district = district;
            record.name = street.name;
            record.type = street.type;
            record.marker = marker;
            result.streets.append(record);
        }
    }
    return result;
}

} // namespace OsmStreets
