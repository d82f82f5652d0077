#include "transit/SqlRows.h"

#include "common/Errors.h"
#include "data/ResultRows.h"
#include "data/Snapshot.h"

#include <QSqlError>

#include <cmath>
#include <limits>

namespace SqlRows {

void read(QSqlDatabase db, const QString &sql, const QString &table, const std::function<void(const ResultRows &)> &take)
{
    QSqlError error;
    const std::unique_ptr<ResultRows> rows = ResultRows::run(db, sql, table, &error);
    if (!rows)
        throw Error(databaseErrorText(error, table));
    while (rows->next())
        take(*rows);
}

std::optional<qint64> wholeNumber(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (ok)
        return number;
    const double real = value.toDouble(&ok);
    if (ok && std::isfinite(real) && real == std::floor(real) && std::abs(real) < 9.0e18)
        return qint64(real);
    return std::nullopt;
}

double realNumber(const QVariant &value)
{
    bool ok = false;
    const double number = value.isNull() ? 0.0 : value.toDouble(&ok);
    return ok ? number : std::numeric_limits<double>::quiet_NaN();
}

} // namespace SqlRows
