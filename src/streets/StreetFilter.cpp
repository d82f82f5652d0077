#include "streets/StreetFilter.h"

#include "data/LikeCondition.h"

QString StreetCriteria::filter() const
{
    QString filter;
    if (typeKey)
        filter = QStringLiteral("g_quCis_tipi=") + (typeKey->isEmpty() ? QStringLiteral("NULL") : *typeKey);
    if (!name.isEmpty()) {
        const QString condition = LikeCondition::contains(QStringLiteral("saxeli"), name);
        filter = filter.isEmpty() ? condition : filter + QStringLiteral(" AND ") + condition;
    }
    return filter;
}

QString StreetFilter::listSql(const QString &filter)
{
    return filter.isEmpty() ? QStringLiteral("SELECT * FROM quCa ") : QStringLiteral("SELECT * FROM quCa WHERE ") + filter;
}
