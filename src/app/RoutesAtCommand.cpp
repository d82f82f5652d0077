#include "app/RoutesAtCommand.h"

#include "app/CommandLine.h"
#include "app/JsonText.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "transit/Endpoints.h"
#include "transit/NetworkLoader.h"
#include "transit/RoutesAtStop.h"

#include <QTextStream>

int RoutesAtCommand::run(const QStringList &operands, bool asJson, DataModule &city)
{
    const Error usage(QStringLiteral("--routes-at takes one stop, as stop:CODE. See kvirzeta --help."));
    if (operands.size() != 1)
        throw usage;
    const EndpointText stopText = EndpointText::parse(operands[0]);
    if (stopText.kind != EndpointText::Kind::Stop)
        throw usage;
    const std::shared_ptr<const Network> network = NetworkLoader::load(city.ADOConn.database());
    const int stop = network->stopIndex(stopText.code);
    if (stop < 0)
        throw Error(QStringLiteral("There is no stop with the code %1").arg(stopText.code));
    const QString stopName = network->stops()[stop].name;
    const QVector<RouteAtStop> routes = routesAtStop(*network, stop);
    if (routes.isEmpty()) {
        CommandLine::tell(QStringLiteral("No route stops at %1 (%2)").arg(stopName).arg(stopText.code));
        return CommandLine::NothingFound;
    }
    QTextStream out(stdout);
    if (asJson) {
        QStringList items;
        for (const RouteAtStop &r : routes)
            items << QStringLiteral("{\"route\":%1,\"type\":%2,\"next\":%3}")
                         .arg(JsonText::string(r.routeName), JsonText::string(r.typeName),
                              r.nextStop >= 0 ? JsonText::string(network->stops()[r.nextStop].name) : QStringLiteral("null"));
        out << QStringLiteral("{\"routes\":[%1]}\n").arg(items.join(QLatin1Char(',')));
        return CommandLine::Done;
    }
    out << QStringLiteral("Routes at %1 (%2):\n").arg(stopName).arg(stopText.code);
    for (const RouteAtStop &r : routes)
        out << QStringLiteral("   %1 %2, next %3\n")
                   .arg(r.typeName, r.routeName,
                        r.nextStop >= 0 ? network->stops()[r.nextStop].name : QStringLiteral("(the route ends here)"));
    return CommandLine::Done;
}
