#pragma once
// A named, read-only SQL query over the one connection. Opening it fetches the whole result as a
// snapshot that never changes while the data set is open; it has a current record that lists
// follow and commands read. Column names are matched without regard to case, because one SQL
// text writes "map_logo" for the column "map_Logo" and some servers fold names to lower case.
#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

class Connection;

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

class DataSet : public QObject {
    Q_OBJECT
public:
    // `fields` is the declared field list: when given, exactly those result columns are bound by
    // name (a missing one makes open() fail); when empty, every result column is exposed.
    DataSet(QString name, Connection &connection, QString sql, QStringList fields = {},
            QObject *parent = nullptr);

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

    // Reads of the current record. Unknown columns and reads without a current record throw.
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const;
    QString text(const QString &column) const;   // null reads as ""
    int integer(const QString &column) const;    // null throws
    double real(const QString &column) const;    // null throws
    QByteArray bytes(const QString &column) const;
    // Writes the bytes of a blob column of the current record to `path`, replacing the file.
    void saveBlobToFile(const QString &column, const QString &path) const;

    // Whole-snapshot access for lists and indexes. valueAt() gives a blob read back on demand
    // (see BlobSource) as a non-null placeholder; blobAt() gives any blob cell's bytes.
    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &column) const; // -1 when unknown
    int requireColumn(const QString &column) const;
    const QVariant &valueAt(int row, int column) const { return m_values[row * m_columns.size() + column]; }
    // Throws Error when a blob read back on demand cannot be read.
    QByteArray blobAt(int row, int column) const;

Q_SIGNALS:
    // Emitted after every open and close: the rows changed wholesale.
    void reset();
    // Emitted when the current record moves.
    void currentRowChanged(int row);

private:
    void requireCurrent(const QString &column) const;
    QVariant nonNull(const QString &column, const char *type) const;
    QByteArray readBackBlob(int row, int column) const;

    QString m_name;
    Connection &m_connection;
    QString m_sql;
    QStringList m_declared;
    BlobSource m_blobSource;
    QVector<int> m_keyColumns; // result columns of m_blobSource.keyColumns while blobs are read back
    QStringList m_columns;
    QVector<QVariant> m_values;
    int m_rowCount = 0;
    int m_current = -1;
    bool m_open = false;
    bool m_eof = true;
};
