#pragma once
// Reading a data set's rows: the query, the rows it gave, and the blob columns that stay in the
// database until asked for. Reading needs nothing of the data set itself, so it can run on a
// session and thread of its own.
#include "data/CellStore.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <atomic>

class QSqlError;

// Where the blob columns of a data set's rows can be read again: `table` holds them, and its
// rows are told apart by `keyColumns`, which the data set's result carries under the same names.
// A data set with a blob source reads its rows without touching the blob table's rows (an index
// on the key columns then covers the join): whether a row's blobs are null and how long they are
// is asked when the row is first asked about, and the bytes when a row or a command needs them.
// A list of 100,000 objects thus neither holds nor reads every picture and advertising file.
struct BlobSource {
    QString table;
    QStringList keyColumns;
    QStringList blobColumns;
};

struct SnapshotRequest {
    QString name; // the data set's, for messages
    QString sql;
    QStringList declared;
    BlobSource blobSource;
};

struct Snapshot {
    QStringList columns;
    CellStore cells; // row after row
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
