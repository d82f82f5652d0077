#include "data/ResultRows.h"

#include "common/Errors.h"
#include "data/Snapshot.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>

namespace {

QSqlError sqliteError(sqlite3 *handle)
{
    return QSqlError(QString(), handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString(), QSqlError::StatementError);
}

class QtSqlRows final : public ResultRows {
public:
    QtSqlRows(QSqlQuery query, QString dataSetName) : m_query(std::move(query)), m_name(std::move(dataSetName))
    {
        const QSqlRecord record = m_query.record();
        for (int i = 0; i < record.count(); ++i)
            m_columns.append(record.fieldName(i));
    }
    QStringList columnNames() const override { return m_columns; }
    bool next() override
    {
        if (m_query.next())
            return true;
        // A read error part-way would otherwise pass for the end of the result.
        if (m_query.lastError().isValid())
            throw Error(databaseErrorText(m_query.lastError(), m_name));
        return false;
    }
    QVariant value(int column) const override { return m_query.value(column); }

private:
    QSqlQuery m_query;
    QString m_name;
    QStringList m_columns;
};

class SqliteRows final : public ResultRows {
public:
    SqliteRows(sqlite3_stmt *statement, QString dataSetName) : m_statement(statement), m_name(std::move(dataSetName)) {}
    ~SqliteRows() override { sqlite3_finalize(m_statement); }
    QStringList columnNames() const override
    {
        QStringList names;
        for (int i = 0; i < sqlite3_column_count(m_statement); ++i)
            names.append(QString::fromUtf8(sqlite3_column_name(m_statement, i)));
        return names;
    }
    bool next() override
    {
        const int step = sqlite3_step(m_statement);
        if (step == SQLITE_ROW)
            return true;
        if (step == SQLITE_DONE)
            return false;
        throw Error(databaseErrorText(sqliteError(sqlite3_db_handle(m_statement)), m_name));
    }
    QVariant value(int column) const override
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(m_statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_statement, column);
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_statement, column)),
                              sqlite3_column_bytes(m_statement, column));
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
            return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
        }
        }
    }

    void appendValue(int column, CellStore &cells) const override
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            cells.appendInteger(sqlite3_column_int64(m_statement, column));
            break;
        case SQLITE_FLOAT:
            cells.appendReal(sqlite3_column_double(m_statement, column));
            break;
        case SQLITE_TEXT:
            cells.appendUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
                             sqlite3_column_bytes(m_statement, column));
            break;
        case SQLITE_NULL:
            cells.appendNull(QMetaType::fromType<QString>());
            break;
        default:
            cells.append(value(column));
        }
    }

private:
    sqlite3_stmt *m_statement;
    QString m_name;
};

// The SQLite connection behind `db`, or null. The handle is used only when the driver runs on
// the very SQLite library this program is linked with (Debian's Qt uses the system's); a driver
// with an SQLite of its own is read through Qt SQL.
sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver() || db.driverName() != QLatin1String("QSQLITE"))
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    static std::atomic_int sameLibrary{-1}; // unknown, no, yes
    if (sameLibrary.load() < 0) {
        QSqlQuery source(db);
        const bool same = source.exec(QStringLiteral("SELECT sqlite_source_id()")) && source.next()
                          && source.value(0).toString() == QString::fromUtf8(sqlite3_sourceid());
        sameLibrary.store(same ? 1 : 0);
    }
    return sameLibrary.load() == 1 ? *static_cast<sqlite3 *const *>(handle.constData()) : nullptr;
}

} // namespace

std::unique_ptr<ResultRows> ResultRows::run(QSqlDatabase db, const QString &sql, const QString &dataSetName,
                                            QSqlError *error)
{
    if (sqlite3 *handle = sqliteHandle(db)) {
        sqlite3_stmt *statement = nullptr;
        const QByteArray text = sql.toUtf8();
        const int prepared = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr);
        if (prepared != SQLITE_OK || !statement) { // no statement: the text held none
            *error = sqliteError(prepared != SQLITE_OK ? handle : nullptr);
            sqlite3_finalize(statement);
            return nullptr;
        }
        return std::make_unique<SqliteRows>(statement, dataSetName);
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        *error = query.lastError();
        return nullptr;
    }
    return std::make_unique<QtSqlRows>(std::move(query), dataSetName);
}
