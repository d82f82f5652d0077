#include "data/Snapshot.h"

#include "common/Errors.h"
#include "data/QueryGuard.h"
#include "data/ResultRows.h"

#include <QRegularExpression>
#include <QSqlError>

namespace {

// `sql` with the source table's "table.*" in its select list replaced by the table's key
// columns and a NULL for each blob: the rows then carry no blob bytes, not even through a sort,
// and the engine need not read the blob table's rows. Empty when the select list has no "table.*".
QString withBlobsLeftOut(const QString &sql, const BlobSource &source)
{
    if (source.table.isEmpty())
        return {};
    static const QRegularExpression from(QStringLiteral("\\bFROM\\b"), QRegularExpression::CaseInsensitiveOption);
    const QString all = source.table + QStringLiteral(".*");
    const int at = sql.indexOf(all, 0, Qt::CaseInsensitive);
    const int selectListEnd = sql.indexOf(from);
    if (at < 0 || (selectListEnd >= 0 && at > selectListEnd))
        return {};
    QStringList columns;
    for (const QString &key : source.keyColumns)
        columns.append(source.table + QLatin1Char('.') + key);
    for (const QString &blob : source.blobColumns)
        columns.append(QStringLiteral("NULL AS %1").arg(blob));
    return QString(sql).replace(at, all.size(), columns.join(QStringLiteral(", ")));
}

} // namespace

QString databaseErrorText(const QSqlError &error, const QString &dataSetName)
{
    for (const QString &text : {error.databaseText().trimmed(), error.driverText().trimmed()})
        if (!text.isEmpty())
            return text;
    return QStringLiteral("%1: the query failed, and the database gave no reason").arg(dataSetName);
}

int columnPosition(const QStringList &names, const QString &name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Snapshot readSnapshot(const SnapshotRequest &request, QSqlDatabase db, const std::atomic_bool *cancelled)
{
    const QString refused = QueryGuard::refusal(request.sql);
    if (!refused.isEmpty())
        throw Error(QStringLiteral("%1: %2").arg(request.name, refused));
    // A database that cannot take the query without blobs still gets the text as written; its
    // blobs are then read, measured and let go row by row.
    bool keysDeclared = true;
    for (const QString &key : request.blobSource.keyColumns)
        keysDeclared = keysDeclared && (request.declared.isEmpty() || columnPosition(request.declared, key) >= 0);
    const QString leftOutSql = keysDeclared ? withBlobsLeftOut(request.sql, request.blobSource) : QString();
    QSqlError leftOutError;
    std::unique_ptr<ResultRows> rows =
        leftOutSql.isEmpty() ? nullptr : ResultRows::run(db, leftOutSql, request.name, &leftOutError);
    const bool blobsLeftOut = rows != nullptr;
    QSqlError error;
    if (!rows)
        rows = ResultRows::run(db, request.sql, request.name, &error);
    // A connection lost by the first attempt leaves the second without an error of its own: the
    // first one's tells what happened.
    if (!rows)
        throw Error(databaseErrorText(error.isValid() ? error : leftOutError, request.name));
    const QStringList names = rows->columnNames();
    QVector<int> sourceColumns;
    Snapshot result;
    if (request.declared.isEmpty()) {
        for (int i = 0; i < names.size(); ++i) {
            sourceColumns.append(i);
            result.columns.append(names[i]);
        }
    } else {
        for (const QString &field : request.declared) {
            const int found = columnPosition(names, field);
            if (found < 0)
                throw Error(QStringLiteral("%1: Field '%2' not found").arg(request.name, field));
            sourceColumns.append(found);
            result.columns.append(field);
        }
    }
    // Blobs stay in the database only when every key column that tells their rows apart is here.
    QVector<int> keyColumns;
    for (const QString &key : request.blobSource.keyColumns)
        keyColumns.append(columnPosition(result.columns, key));
    QVector<bool> readBack(result.columns.size(), false);
    if (!keyColumns.isEmpty() && !keyColumns.contains(-1))
        for (const QString &blob : request.blobSource.blobColumns)
            if (const int c = columnPosition(result.columns, blob); c >= 0)
                readBack[c] = true;
    while (rows->next()) {
        if (cancelled && cancelled->load(std::memory_order_relaxed))
            return {};
        for (int c = 0; c < sourceColumns.size(); ++c) {
            if (!readBack[c]) {
                rows->appendValue(sourceColumns[c], result.cells);
            } else if (blobsLeftOut) {
                result.cells.appendBlobInDatabase({});
            } else {
                const QVariant blob = rows->value(sourceColumns[c]);
                result.cells.append(blob.isNull() ? QVariant(QMetaType::fromType<QByteArray>())
                                                  : QVariant::fromValue(BlobInDatabase{blob.toByteArray().size()}));
            }
        }
        ++result.rows;
    }
    if (readBack.contains(true))
        result.keyColumns = keyColumns;
    return result;
}
