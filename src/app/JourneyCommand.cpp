#include "app/JourneyCommand.h"

#include "app/CommandLine.h"
#include "app/JsonText.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "transit/NetworkLoader.h"
#include "transit/Planner.h"

#include <QTextStream>

namespace {

QString whole(double value)
{
    return QString::number(qRound64(value));
}

QString plural(qint64 count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

QString legJson(const Leg &leg)
{
    if (leg.kind == Leg::Kind::Walk)
        return QStringLiteral("{\"kind\":\"walk\",\"metres\":%1,\"minutes\":%2,\"to\":%3}")
            .arg(whole(leg.metres), whole(leg.minutes), JsonText::string(leg.to().name));
    return QStringLiteral("{\"kind\":\"ride\",\"route\":%1,\"type\":%2,\"from\":%3,\"to\":%4,\"stops\":%5,"
                          "\"wait_minutes\":%6,\"minutes\":%7}")
        .arg(JsonText::string(leg.routeName), JsonText::string(leg.typeName), JsonText::string(leg.from().name),
             JsonText::string(leg.to().name), QString::number(leg.stopsMoved), whole(leg.waitMinutes), whole(leg.minutes));
}

QString json(const QVector<Journey> &journeys)
{
    QStringList items;
    for (const Journey &j : journeys) {
        QStringList legs;
        for (const Leg &leg : j.legs)
            legs << legJson(leg);
        items << QStringLiteral("{\"minutes\":%1,\"transfers\":%2,\"walk_metres\":%3,\"legs\":[%4]}")
                     .arg(whole(j.minutes), QString::number(j.transfers()), whole(j.walkMetres), legs.join(QLatin1Char(',')));
    }
    return QStringLiteral("{\"journeys\":[%1]}\n").arg(items.join(QLatin1Char(',')));
}

QString legText(const Leg &leg)
{
    if (leg.kind == Leg::Kind::Walk)
        return QStringLiteral("walk %1 m, %2 min, to %3").arg(whole(leg.metres), whole(leg.minutes), leg.to().name);
    return QStringLiteral("%1 %2 from %3 to %4, %5, wait %6 min, ride %7 min")
        .arg(leg.typeName, leg.routeName, leg.from().name, leg.to().name, plural(leg.stopsMoved, "stop", "stops"),
             whole(leg.waitMinutes), whole(leg.minutes));
}

QString text(const QString &from, const QString &to, const QVector<Journey> &journeys)
{
    QString out = QStringLiteral("From %1 to %2 (estimated minutes, without timetables):\n").arg(from, to);
    for (int i = 0; i < journeys.size(); ++i) {
        const Journey &j = journeys[i];
        out += QStringLiteral("\n%1. %2 min, %3, %4 m on foot\n")
                   .arg(i + 1)
                   .arg(whole(j.minutes), plural(j.transfers(), "change", "changes"), whole(j.walkMetres));
        for (const Leg &leg : j.legs)
            out += QStringLiteral("   ") + legText(leg) + QLatin1Char('\n');
    }
    return out;
}

} // namespace

int JourneyCommand::run(const QStringList &operands, bool asJson, DataModule &city)
{
    if (operands.size() != 2)
        throw Error(QStringLiteral("--journey takes two ends, FROM and TO. See kvirzeta --help."));
    const EndpointText fromText = EndpointText::parse(operands[0]);
    const EndpointText toText = EndpointText::parse(operands[1]);
    QSqlDatabase db = city.ADOConn.database();
    const std::shared_ptr<const Network> network = NetworkLoader::load(db);
    const JourneyEnd from = Endpoints::resolve(fromText, *network, db);
    const JourneyEnd to = Endpoints::resolve(toText, *network, db);

    for (const QString &note : network->notes().describe(network->frame()))
        CommandLine::tell(QStringLiteral("note: ") + note);
    for (const JourneyEnd *end : {&from, &to})
        if (!end->note.isEmpty())
            CommandLine::tell(QStringLiteral("note: ") + end->note);

    Planner planner(network);
    const Planner::Result result = planner.plan(from, to);
    if (result.outcome == Planner::Result::Outcome::SamePlace) {
        CommandLine::tell(QStringLiteral("From and to are the same place: there is no journey to make"));
        return CommandLine::NothingFound;
    }
    if (result.outcome == Planner::Result::Outcome::NoJourney) {
        CommandLine::tell(network->routes().isEmpty()
                              ? QStringLiteral("No journey found: the city has no routes, and the ends are too far "
                                               "apart to walk")
                              : QStringLiteral("No journey found from %1 to %2").arg(from.name, to.name));
        return CommandLine::NothingFound;
    }
    QTextStream(stdout) << (asJson ? json(result.journeys) : text(from.name, to.name, result.journeys));
    return CommandLine::Done;
}
