#include "transit/TransitFigures.h"

namespace {

// Every figure with where it comes from. Where no measured figure of Tbilisi was at hand the
// figure is an estimate, said as such; a city's own intervals (table transporti_intervali)
// replace the default intervals route by route.
TransitFigures makeStandard()
{
    TransitFigures f;

    // Bus: 20 km/h between stops and 20 s at each stop give about 16 km/h over stops 400 m
    // apart, the city-street bus speed Levinson measured (6.0 min per mile, "Analyzing Transit
    // Performance", Transportation Research Record 915, 1983), where dwell times run at 15-20 s.
    // Interval 15 min: an estimate for a city line outside the rush hour.
    f.bus = {20.0, 20.0 / 60.0, 15.0};

    // Minibus (marSrutka): stops on request, so shorter stops than a bus at a little more speed
    // (an estimate). Interval 10 min: 465 minibuses on 79 lines (Tbilisi City Hall, 2023), about
    // six a line on rounds of about an hour.
    f.minibus = {22.0, 10.0 / 60.0, 10.0};

    // Metro: 40 km/h between stations and 20 s at each give the 33 km/h average speed given for
    // Tbilisi's metro (its encyclopaedia entry) over stations about 1.2 km apart. Interval
    // 5 min: trains run every 3 to 5 minutes by day (Tbilisi City Hall, August 2018).
    f.metro = {40.0, 20.0 / 60.0, 5.0};

    // Cable car: the 508 m from Rike to Narikala take 2.5 minutes on average (Tbilisi Transport
    // Company), about 12 km/h; cabins leave every few minutes (interval 4 min, an estimate).
    f.cableCar = {12.0, 0.0, 4.0};

    // Walking: 4.5 km/h, a usual planning speed for adults (the Highway Capacity Manual takes
    // 1.2 m/s, 4.3 km/h, at crossings).
    f.walkKmh = 4.5;
    // Streets wind: a walk is about 1.3 times the straight line (road circuity factors of 1.2 to
    // 1.4, Ballou, Rahardja and Sakai, Transportation Research Part A 36, 2002).
    f.detourFactor = 1.3;
    // A change walks only to a stop within sight, across a square or a street: 300 m, an
    // estimate that keeps the stops of one interchange together.
    f.changeWalkMetres = 300.0;
    // The first and last walks: about 20 minutes on foot, three times the half-mile walk shed
    // TCRP Report 153 takes for stations, so that the edge of a district still finds a stop.
    f.accessWalkMetres = 1500.0;
    // Four changes at most: a journey with more is no answer anyone takes.
    f.maxRides = 5;
    return f;
}

} // namespace

const TransitFigures &TransitFigures::standard()
{
    static const TransitFigures figures = makeStandard();
    return figures;
}

const ModeFigures &TransitFigures::mode(TransitMode m) const
{
    switch (m) {
    case TransitMode::Minibus:
        return minibus;
    case TransitMode::Metro:
        return metro;
    case TransitMode::CableCar:
        return cableCar;
    case TransitMode::Bus:
        break;
    }
    return bus;
}

TransitMode TransitFigures::modeOfType(const QString &typeName)
{
    const QString name = typeName.trimmed();
    if (name.contains(QLatin1String("metro")))
        return TransitMode::Metro;
    if (name.contains(QLatin1String("sabagiro")))
        return TransitMode::CableCar;
    if (name.contains(QLatin1String("mikroavtobus")) || name.contains(QLatin1String("marSrut")))
        return TransitMode::Minibus;
    return TransitMode::Bus;
}
