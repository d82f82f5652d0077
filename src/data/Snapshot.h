#pragma once
// Reading a data set's rows: the query, the rows it gave, and the blob columns that stay in the
// database until asked for. Reading needs nothing of the data set itself, so it can run on a
// session and thread of its own.
#include <QByteArray>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <atomic>

class QSqlError;

// Where the blob columns of a data set's rows can be read again: `table` holds them, and its
// rows are told apart by `keyColumns`, which the data set's result carries under the same names.
// A data set with a blob source keeps only whether each blob is null and how long it is; the
// bytes are read back from the database when a row or a command asks for them, so a list of
// 100,000 objects does not hold every picture and advertising file in memory.
struct BlobSource {
    QString table;
    QStringList keyColumns;
    QStringList blobColumns;
};

// What a data set keeps of a non-null blob that stays in the database.
struct BlobInDatabase {
    qsizetype size = 0;
};

inline bool isBlobInDatabase(const QVariant &cell)
{
    return cell.metaType() == QMetaType::fromType<BlobInDatabase>();
}

struct SnapshotRequest {
    QString name; // the data set's, for messages
    QString sql;
    QStringList declared;
    BlobSource blobSource;
};

struct Snapshot {
    QStringList columns;
    QVector<QVariant> values; // row after row
    int rows = 0;
    QVector<int> keyColumns; // columns of blobSource.keyColumns when blobs stay in the database
};

// Runs the request on `db` and reads every row. Throws Error with the database's message, or
// when a declared field is missing; anything but a single SELECT is refused first. When
// `cancelled` turns true the read stops early and its rows must not be used.
Snapshot readSnapshot(const SnapshotRequest &request, QSqlDatabase db, const std::atomic_bool *cancelled = nullptr);

// Case-insensitive position of a column name, -1 when absent.
int columnPosition(const QStringList &names, const QString &name);

// The database's own wording of an error when it gives one, else the driver's, else a sentence
// saying that reading the data set failed: never empty.
QString databaseErrorText(const QSqlError &error, const QString &dataSetName);
