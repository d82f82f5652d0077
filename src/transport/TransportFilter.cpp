#include "transport/TransportFilter.h"

#include "data/DataModule.h"
#include "data/LikeCondition.h"

QString TransportCriteria::filter() const
{
    QString filter;
    if (!stopName.isEmpty())
        filter += QStringLiteral(" AND ") + LikeCondition::contains(QStringLiteral("gaCereba.saxeli"), stopName);
    if (!routeName.isEmpty())
        filter += QStringLiteral(" AND ") + LikeCondition::matches(QStringLiteral("transporti.saxeli"), routeName);
    if (typeKey)
        filter += QStringLiteral(" AND transporti.g_transporti_tipi=") + (typeKey->isEmpty() ? QStringLiteral("NULL") : *typeKey);
    return filter;
}

QString TransportFilter::listSql(const QString &filter)
{
    return DataModule::routeStopListSql + QLatin1Char(' ') + filter;
}
