#pragma once
// The rows of one SELECT, read forward once. On a connection of Qt's SQLite driver the rows are
// read through SQLite's own interface, with the values that driver would give (whole numbers as
// qlonglong, reals as double, texts as QString, blobs as QByteArray, NULL as a null QString), but
// without its two copies of every text: reading 100,000 objects takes half the time. Any other
// connection is read through Qt SQL.
#include "data/CellStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <QVariant>

#include <memory>

class ResultRows {
public:
    virtual ~ResultRows() = default;

    // Runs `sql` on `db`; null with the database's error in `error` when it fails.
    // `dataSetName` names the data set in messages of later failures.
    static std::unique_ptr<ResultRows> run(QSqlDatabase db, const QString &sql, const QString &dataSetName,
                                           QSqlError *error);

    virtual QStringList columnNames() const = 0;
    // Moves to the next row; false after the last. Throws Error when reading fails part-way.
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;
    // Appends the value to `cells`, without making it first where the engine allows.
    virtual void appendValue(int column, CellStore &cells) const { cells.append(value(column)); }
};
