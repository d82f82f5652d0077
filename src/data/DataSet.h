#pragma once
// A named, read-only SQL query over the one connection. Opening it fetches the whole result as a
// snapshot that never changes while the data set is open; it has a current record that lists
// follow and commands read. Column names are matched without regard to case, because one SQL
// text writes "map_logo" for the column "map_Logo" and some servers fold names to lower case.
#include "data/CellStore.h"
#include "data/Snapshot.h"

#include <QByteArray>
#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <atomic>
#include <memory>

class Connection;

class DataSet : public QObject {
    Q_OBJECT
public:
    // `fields` is the declared field list: when given, exactly those result columns are bound by
    // name (a missing one makes open() fail); when empty, every result column is exposed.
    DataSet(QString name, Connection &connection, QString sql, QStringList fields = {},
            QObject *parent = nullptr);
    ~DataSet() override;

    const QString &name() const { return m_name; }
    const QString &sql() const { return m_sql; }
    const QStringList &declaredFields() const { return m_declared; }

    // Takes effect at the next open.
    void setBlobSource(BlobSource source) { m_blobSource = std::move(source); }

    // Replaces the SQL text; an open data set given another text is closed first.
    void setSql(const QString &sql);
    // Opens the connection first when it is closed; throws Error with the database's message
    // and stays closed when the query fails. Anything but a single SELECT statement is refused
    // before it reaches the database. Opening an open data set does nothing.
    void open();
    // Opens without making the caller wait: once the events already queued are handled (a window
    // being shown paints first), the rows are read on a session of the data set's own in another
    // thread, and reset() follows when they are in; a failure is told through
    // openFailed() and leaves the data set closed. open() meanwhile waits for the read, close()
    // and setSql() with another text abandon it. With the connection closed it is open().
    void openInBackground();
    bool isLoading() const;
    void close();
    bool isOpen() const { return m_open; }

    int recordCount() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }

    // Navigation. The current record is -1 while the data set is closed or empty.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    void first();
    void next();
    bool eof() const { return m_eof; }
    // Moves to the first record whose column equals `value` (whole value, exact; a text and a
    // number compare as text; a null value finds a null cell); the current record stays where
    // it was when nothing matches. Throws on a closed data set or an unknown column.
    bool locate(const QString &column, const QVariant &value);
    // The first record that locate() would move to, -1 when none; the current record stays.
    int rowOf(const QString &column, const QVariant &value) const;

    // Reads of the current record. Unknown columns and reads without a current record throw.
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const;
    QString text(const QString &column) const;   // null reads as ""
    int integer(const QString &column) const;    // null throws
    double real(const QString &column) const;    // null throws
    QByteArray bytes(const QString &column) const;
    // Writes the bytes of a blob column of the current record to `path`, replacing the file's
    // content; a symbolic link under that name is refused, never followed (NoFollowFile).
    void saveBlobToFile(const QString &column, const QString &path) const;

    // Whole-snapshot access for lists and indexes. valueAt() gives a blob read back on demand
    // (see BlobSource) as a placeholder that is not null even when the blob is; isNullAt() tells,
    // and blobAt() gives any blob cell's bytes.
    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &column) const; // -1 when unknown
    int requireColumn(const QString &column) const;
    QVariant valueAt(int row, int column) const { return m_cells.at(qsizetype(row) * m_columns.size() + column); }
    // Both throw Error when a blob read back on demand cannot be read.
    bool isNullAt(int row, int column) const;
    QByteArray blobAt(int row, int column) const;

Q_SIGNALS:
    // Emitted after every open and close: the rows changed wholesale.
    void reset();
    // Emitted when the current record moves.
    void currentRowChanged(int row);
    // A read begun by openInBackground() failed with this message.
    void openFailed(const QString &message);

private:
    void requireCurrent(const QString &column) const;
    QVariant nonNull(const QString &column, const char *type) const;
    QVariant measured(int row, int column) const;
    QSqlQuery &readBack(int row, const QString &selectList) const;
    int sameKeysBefore(int row) const;
    QByteArray readBackBlob(int row, int column) const;
    SnapshotRequest request() const;
    void install(Snapshot &&snapshot);
    void startLoading();
    void finishLoading(bool reportFailure);
    void cancelLoading();

    struct Loaded {
        Snapshot snapshot;
        QString error;
    };

    QString m_name;
    Connection &m_connection;
    QString m_sql;
    QStringList m_declared;
    BlobSource m_blobSource;
    QVector<int> m_keyColumns; // result columns of m_blobSource.keyColumns while blobs are read back
    mutable QHash<QString, QSqlQuery> m_blobQueries; // prepared read-backs by their SQL text
    QStringList m_columns;
    mutable CellStore m_cells; // row after row; blob cells learn their lengths when first asked
    int m_rowCount = 0;
    int m_current = -1;
    bool m_open = false;
    bool m_eof = true;
    bool m_startPending = false; // openInBackground() has queued the start of its read
    QFuture<Loaded> m_loading;
    QFutureWatcher<Loaded> m_loadWatcher;
    std::shared_ptr<std::atomic_bool> m_cancelLoading;
};
