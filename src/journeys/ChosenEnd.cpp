#include "journeys/ChosenEnd.h"

#include "common/Errors.h"
#include "search/SearchService.h"

#include <cmath>

namespace {

JourneyEnd atResult(const Network &network, QSqlDatabase db, const SearchResult &result)
{
    switch (result.kind) {
    case SearchKind::Stop: {
        const int stop = network.stopIndex(result.code);
        if (stop < 0)
            throw Error(QStringLiteral("\"%1\" is no longer in the database").arg(result.name));
        return Endpoints::atStop(network, stop);
    }
    case SearchKind::Route:
        return Endpoints::atRoute(network, result.code, result.name);
    case SearchKind::Place:
    case SearchKind::Street:
        break;
    }
    EndpointText text;
    text.kind = result.kind == SearchKind::Place ? EndpointText::Kind::Place : EndpointText::Kind::Street;
    text.code = result.code;
    return Endpoints::resolve(text, network, db);
}

} // namespace

ChosenEnd ChosenEnd::picked(const SearchResult &result)
{
    ChosenEnd end;
    end.kind = Kind::Picked;
    end.result = result;
    end.text = result.name;
    return end;
}

ChosenEnd ChosenEnd::point(QPointF percent)
{
    const auto hundredth = [](double v) { return std::round(v * 100.0) / 100.0; };
    ChosenEnd end;
    end.kind = Kind::Point;
    end.percent = QPointF(hundredth(percent.x()), hundredth(percent.y()));
    // The name the planner gives a point, so that the field and the legs say the same.
    end.text = QStringLiteral("wertili %1,%2")
                   .arg(QString::number(end.percent.x(), 'g', 6), QString::number(end.percent.y(), 'g', 6));
    return end;
}

ChosenEnd ChosenEnd::forText(const QString &text) const
{
    if (kind != Kind::Typed && text == this->text)
        return *this;
    ChosenEnd typed;
    typed.text = text;
    return typed;
}

JourneyEnd ChosenEnd::resolve(const Network &network, QSqlDatabase db, const SearchService &search) const
{
    switch (kind) {
    case Kind::Point:
        return Endpoints::atPoint(network, percent);
    case Kind::Picked:
        return atResult(network, db, result);
    case Kind::Typed:
        break;
    }
    const QString name = text.trimmed();
    if (!network.stopsNamed(name).isEmpty())
        return Endpoints::atStopsNamed(network, name);
    for (const SearchResult &found : search.find(name).results)
        if (found.name == name)
            return atResult(network, db, found);
    throw Error(QStringLiteral("Nothing is named \"%1\": choose a place, a street, a stop or a route from the list "
                               "under the field")
                    .arg(name));
}
