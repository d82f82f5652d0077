#include "journeys/JourneyText.h"

#include <algorithm>

namespace {

const QString Dot = QStringLiteral(" \u00b7 ");
const QString Arrow = QStringLiteral(" \u2192 ");

QString whole(double value)
{
    return QString::number(qRound64(value));
}

QString minutes(double value)
{
    return whole(value) + QStringLiteral(" wuTi");
}

} // namespace

namespace JourneyText {

QString journey(const Journey &journey)
{
    const int changes = journey.transfers();
    return minutes(journey.minutes) + Dot
           + (changes == 0 ? QStringLiteral("gadajdomis gareSe") : QString::number(changes) + QStringLiteral(" gadajdoma"))
           + Dot + whole(journey.walkMetres) + QStringLiteral(" m fexiT");
}

QStringList bestIn(const QVector<Journey> &journeys, int index)
{
    if (journeys.size() < 2)
        return {};
    const auto least = [&](auto measure) {
        const auto best = std::min_element(journeys.begin(), journeys.end(),
                                           [&](const Journey &a, const Journey &b) { return measure(a) < measure(b); });
        return qRound64(measure(journeys[index])) == qRound64(measure(*best));
    };
    QStringList best;
    if (least([](const Journey &j) { return j.minutes; }))
        best << QStringLiteral("uswrafesi");
    if (least([](const Journey &j) { return double(j.transfers()); }))
        best << QStringLiteral("yvelaze cota gadajdoma");
    if (least([](const Journey &j) { return j.walkMetres; }))
        best << QStringLiteral("yvelaze cota siaruli");
    return best;
}

QString leg(const Leg &leg)
{
    if (leg.kind == Leg::Kind::Walk)
        return QStringLiteral("fexiT %1 m, %2").arg(whole(leg.metres), minutes(leg.minutes)) + Arrow + leg.to().name;
    QString ride = leg.typeName.isEmpty() ? leg.routeName : leg.typeName + QLatin1Char(' ') + leg.routeName;
    return ride + QStringLiteral(": ") + leg.from().name + Arrow + leg.to().name
           + QStringLiteral("\n%1 gaCereba, lodini %2, gzaSi %3")
                 .arg(QString::number(leg.stopsMoved), minutes(leg.waitMinutes), minutes(leg.minutes));
}

QString estimate(bool rough)
{
    QString text = QStringLiteral("dro miaxloebiTia: ganrigi ar aris, igi gamoiTvleba manZilisa da siCqaris mixedviT.");
    if (rough)
        text += QStringLiteral(" rukis zomebi metrebSi ucnobia, amitom dro uxeSia.");
    return text;
}

} // namespace JourneyText
