#include "osmimport/OsmPlaces.h"

#include "citykit/Geometry.h"
#include "osmimport/OsmStreets.h"
#include "osmimport/Transcription.h"

namespace OsmPlaces {

namespace {

constexpr int NameWidth = 150;
constexpr int FieldWidth = 50;
constexpr int ActivityWidth = 150;
constexpr int NoteWidth = 255;
// A node and an area of the same name and sub-rubric this close are one place mapped twice (a shop
// and its building); two nodes are two places, such as two branches of a chain.
constexpr double SamePlaceRadius = 60;

// "a; b; c" as "a, b, c", with as many whole entries as the column holds.
QString list(const QString &value, int width)
{
    QString result;
    for (const QString &item : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString next = result.isEmpty() ? item.trimmed() : result + QStringLiteral(", ") + item.trimmed();
        if (next.size() > width)
            break;
        result = next;
    }
    return result.isEmpty() ? value.left(width) : result;
}

// An address that does not fit its column is left out rather than cut into a wrong one.
QString whole(const QString &value, int width)
{
    const QString first = value.section(QLatin1Char(';'), 0, 0).trimmed();
    return first.size() <= width ? first : QString();
}

} // namespace

Result build(const OsmExtract &extract, const Districts &districts, const TagMapping &mapping, const Model &rubrics)
{
    Result result;
    geo::PointIndex nodes(SamePlaceRadius);
    for (const OsmPlace &place : extract.places) {
        int subRubric = TagMapping::NoLine;
        for (const auto &[key, value] : place.tags) {
            subRubric = mapping.subRubric(key, value);
            if (subRubric != TagMapping::NoLine)
                break;
        }
        if (subRubric == TagMapping::LeftOut) {
            ++result.leftOut;
            continue;
        }
        if (subRubric == TagMapping::NoLine) {
            ++result.unmapped[place.tags.first().first + '=' + place.tags.first().second];
            subRubric = TagMapping::OtherSubRubric;
        }
        ObjectRecord o;
        o.name = Transcription::transcribe(place.name).left(NameWidth);
        if (o.name.isEmpty())
            continue;
        o.subRubric = subRubric;
        bool twice = false;
        for (int near : place.area ? nodes.near(place.at, SamePlaceRadius) : QVector<int>())
            twice = twice || (result.objects[near].name == o.name && result.objects[near].subRubric == subRubric);
        if (twice)
            continue;
        const QString street = place.street.isEmpty() ? QString() : OsmStreets::name(place.street, mapping);
        const QString house = Transcription::transcribe(place.house);
        o.address = QStringList({street, house}).join(QLatin1Char(' ')).trimmed().left(FieldWidth);
        o.phone = list(place.phone, FieldWidth);
        o.fax = list(place.fax, FieldWidth);
        o.email = whole(place.email, FieldWidth);
        o.web = whole(place.web, FieldWidth);
        if (!place.hours.isEmpty())
            o.note = QString(QStringLiteral("samuSao saaTebi: ") + place.hours).left(NoteWidth);
        if (const SubRubric *s = rubrics.subRubric(subRubric))
            o.activity = s->activity.left(ActivityWidth);
        o.district = districts.at(place.at);
        o.located = true;
        o.position = place.at;
        o.hasMapLogo = true;
        o.code = int(result.objects.size()) + 1;
        if (!place.area)
            nodes.add(place.at, int(result.objects.size()));
        result.objects.append(o);
    }
    return result;
}

} // namespace OsmPlaces
