#pragma once
// Reading the planner's rows from the database: every row of a query handed to a function, and
// the values of a row's cells as the network takes them.
#include <QSqlDatabase>
#include <QVariant>

#include <functional>
#include <optional>

class ResultRows;

namespace SqlRows {

// Runs `sql` and hands every row to `take`; throws Error with the database's message, which
// names `table` when the database gives none.
void read(QSqlDatabase db, const QString &sql, const QString &table, const std::function<void(const ResultRows &)> &take);

// A cell's whole number (also one a driver hands over as a real or as text); nothing for NULL or
// anything else.
std::optional<qint64> wholeNumber(const QVariant &value);
// A cell's real number; NaN for NULL or anything else.
double realNumber(const QVariant &value);

} // namespace SqlRows
