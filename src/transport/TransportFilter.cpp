#include "transport/TransportFilter.h"

#include "data/DataModule.h"
#include "data/SqlText.h"

QString TransportCriteria::filter() const
{
    QString filter;
    if (!stopName.isEmpty())
        filter += QStringLiteral(" AND gaCereba.saxeli LIKE '%") + SqlText::literalBody(stopName) + QStringLiteral("%'");
    if (!routeName.isEmpty())
        filter += QStringLiteral(" AND transporti.saxeli LIKE '") + SqlText::literalBody(routeName) + QStringLiteral("'");
    if (typeKey)
        filter += QStringLiteral(" AND transporti.g_transporti_tipi=") + (typeKey->isEmpty() ? QStringLiteral("NULL") : *typeKey);
    return filter;
}

QString TransportFilter::listSql(const QString &filter)
{
    return DataModule::routeStopListSql + QLatin1Char(' ') + filter;
}
