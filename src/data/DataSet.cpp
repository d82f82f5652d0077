#include "data/DataSet.h"

#include "common/Errors.h"
#include "data/Connection.h"
#include "data/Snapshot.h"
#include "platform/NoFollowFile.h"
#include "platform/ThreadPriority.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QSqlError>
#include <QSqlQuery>
#include <QThreadPool>

#include <optional>

namespace {

// Background reads get threads of their own. Qt draws large images and fills with helpers from
// its global pool; a read holding one of those threads for seconds would hold up painting.
QThreadPool &readers()
{
    static QThreadPool pool;
    return pool;
}

// A blob table row that was deleted after the data set was read.
Error goneFromDatabase(const QString &dataSet, const QString &field)
{
    return Error(QStringLiteral("%1: Field '%2' of this record is no longer in the database").arg(dataSet, field));
}

} // namespace

DataSet::DataSet(QString name, Connection &connection, QString sql, QStringList fields, QObject *parent)
    : QObject(parent), m_name(std::move(name)), m_connection(connection), m_sql(std::move(sql)),
      m_declared(std::move(fields))
{
    connect(&m_loadWatcher, &QFutureWatcherBase::finished, this, [this] { finishLoading(true); });
}

DataSet::~DataSet()
{
    cancelLoading();
}

void DataSet::setSql(const QString &sql)
{
    // Rows of the old text must not pass for rows of the new one.
    if ((m_open || isLoading()) && sql != m_sql)
        close();
    m_sql = sql;
}

void DataSet::open()
{
    if (m_open)
        return;
    // A read that has not started yet is done here and now.
    m_startPending = false;
    if (m_loading.isValid()) {
        // A read already under way is waited for, not started again; when it failed, the read
        // is tried once more here so that the caller gets the error.
        m_loading.waitForFinished();
        finishLoading(false);
        if (m_open)
            return;
    }
    install(readSnapshot(request(), m_connection.database()));
}

void DataSet::openInBackground()
{
    if (m_open || isLoading())
        return;
    // Without an open connection the failure to connect is reported the usual way.
    if (!m_connection.isOpen()) {
        open();
        return;
    }
    // The read starts once the events already queued are handled, the window's first paint
    // among them: a window that is being shown comes first.
    m_startPending = true;
    QMetaObject::invokeMethod(this, &DataSet::startLoading, Qt::QueuedConnection);
}

void DataSet::startLoading()
{
    if (!std::exchange(m_startPending, false))
        return;
    static std::atomic_int sessions{0};
    const QString session = QStringLiteral("%1 reader %2").arg(m_connection.connectionName()).arg(++sessions);
    m_cancelLoading = std::make_shared<std::atomic_bool>(false);
    m_loading = QtConcurrent::run(&readers(), [request = request(), connectionString = m_connection.connectionString(), session,
                                   cancelled = m_cancelLoading]() -> Loaded {
        ThreadPriority::giveWayToWindow();
        Loaded loaded;
        try {
            QSqlDatabase db = Connection::openSession(connectionString, session, Connection::Access::ReadOnly);
            loaded.snapshot = readSnapshot(request, db, cancelled.get());
        } catch (const Error &e) {
            loaded.error = e.text();
        }
        QSqlDatabase::removeDatabase(session);
        return loaded;
    });
    m_loadWatcher.setFuture(m_loading);
}

bool DataSet::isLoading() const
{
    return m_startPending || m_loading.isValid();
}

void DataSet::finishLoading(bool reportFailure)
{
    if (!m_loading.isValid() || !m_loading.isFinished())
        return;
    Loaded loaded = m_loading.takeResult();
    m_loading = {};
    if (loaded.error.isEmpty())
        install(std::move(loaded.snapshot));
    else if (reportFailure)
        Q_EMIT openFailed(loaded.error);
}

void DataSet::cancelLoading()
{
    m_startPending = false;
    if (!m_loading.isValid())
        return;
    m_cancelLoading->store(true);
    m_loading.waitForFinished();
    m_loading = {};
}

SnapshotRequest DataSet::request() const
{
    return {m_name, m_sql, m_declared, m_blobSource};
}

void DataSet::install(Snapshot &&snapshot)
{
    m_blobQueries.clear();
    m_columns = std::move(snapshot.columns);
    m_keyColumns = std::move(snapshot.keyColumns);
    m_cells = std::move(snapshot.cells);
    m_rowCount = snapshot.rows;
    m_open = true;
    m_current = m_rowCount > 0 ? 0 : -1;
    m_eof = m_rowCount == 0;
    Q_EMIT reset();
    Q_EMIT currentRowChanged(m_current);
}

void DataSet::close()
{
    cancelLoading();
    m_blobQueries.clear();
    if (!m_open)
        return;
    m_open = false;
    m_cells.clear();
    m_rowCount = 0;
    m_current = -1;
    m_eof = true;
    Q_EMIT reset();
    Q_EMIT currentRowChanged(m_current);
}

void DataSet::setCurrentRow(int row)
{
    if (row < 0 || row >= m_rowCount || row == m_current) {
        if (row >= 0 && row < m_rowCount)
            m_eof = false;
        return;
    }
    m_current = row;
    m_eof = false;
    Q_EMIT currentRowChanged(m_current);
}

void DataSet::first()
{
    if (m_rowCount == 0) {
        m_eof = true;
        return;
    }
    setCurrentRow(0);
    m_eof = false;
}

void DataSet::next()
{
    if (m_current + 1 < m_rowCount)
        setCurrentRow(m_current + 1);
    else
        m_eof = true;
}

int DataSet::columnIndex(const QString &column) const
{
    return columnPosition(m_columns, column);
}

int DataSet::requireColumn(const QString &column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw Error(QStringLiteral("%1: Field '%2' not found").arg(m_name, column));
    return index;
}

bool DataSet::locate(const QString &column, const QVariant &value)
{
    const int row = rowOf(column, value);
    if (row < 0)
        return false;
    setCurrentRow(row);
    return true;
}

int DataSet::rowOf(const QString &column, const QVariant &value) const
{
    if (!m_open)
        throw Error(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(m_name));
    const int c = requireColumn(column);
    // The comparison is chosen once for the value; a cell's null test, which is slow, only
    // settles a tie that a null cell could fake (it reads as "" and as 0).
    const bool nullValue = value.isNull();
    const bool textValue = value.typeId() == QMetaType::QString;
    const bool numberValue = !textValue && value.canConvert<double>() && value.typeId() != QMetaType::QByteArray;
    const QString text = nullValue ? QString() : value.toString();
    const double number = numberValue ? value.toDouble() : 0;
    const auto equal = [&](const QVariant &cell) {
        if (nullValue)
            return cell.isNull();
        if (textValue || cell.typeId() == QMetaType::QString)
            return cell.toString() == text && !cell.isNull();
        if (numberValue)
            return cell.toDouble() == number && !cell.isNull();
        return !cell.isNull() && cell == value;
    };
    for (int row = 0; row < m_rowCount; ++row) {
        if (equal(valueAt(row, c)))
            return row;
    }
    return -1;
}

void DataSet::requireCurrent(const QString &column) const
{
    if (!m_open)
        throw Error(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(m_name));
    if (m_current < 0)
        throw Error(QStringLiteral("%1: Cannot read field '%2': the data set is empty").arg(m_name, column));
}

QVariant DataSet::value(const QString &column) const
{
    requireCurrent(column);
    const int c = requireColumn(column);
    const QVariant cell = measured(m_current, c);
    return isBlobInDatabase(cell) ? QVariant(readBackBlob(m_current, c)) : cell;
}

bool DataSet::isNull(const QString &column) const
{
    requireCurrent(column);
    return isNullAt(m_current, requireColumn(column));
}

bool DataSet::isNullAt(int row, int column) const
{
    return measured(row, column).isNull();
}

QByteArray DataSet::blobAt(int row, int column) const
{
    const QVariant cell = measured(row, column);
    return isBlobInDatabase(cell) ? readBackBlob(row, column) : cell.toByteArray();
}

// The cell, a blob left in the database measured first: the row's unmeasured blobs become null
// or their lengths, in one read.
QVariant DataSet::measured(int row, int column) const
{
    const QVariant cell = valueAt(row, column);
    if (!isBlobInDatabase(cell) || cell.value<BlobInDatabase>().size >= 0)
        return cell;
    QVector<int> blobs;
    QStringList lengths;
    for (int c = 0; c < m_columns.size(); ++c) {
        const QVariant other = valueAt(row, c);
        if (isBlobInDatabase(other) && other.value<BlobInDatabase>().size < 0) {
            blobs.append(c);
            lengths.append(QStringLiteral("length(%1)").arg(m_columns[c]));
        }
    }
    // The row's blob table rows, each with the lengths of the blobs; none when the engine has no
    // length() (its blobs are then read whole to be measured).
    std::optional<QVector<QVector<QVariant>>> found;
    try {
        QSqlQuery &query = readBack(row, lengths.join(QStringLiteral(", ")));
        found.emplace();
        while (query.next()) {
            QVector<QVariant> lengthsFound;
            for (int i = 0; i < blobs.size(); ++i)
                lengthsFound.append(query.value(i));
            found->append(lengthsFound);
        }
    } catch (const Error &) {
        // Left empty: the blobs are measured by reading them.
    }
    QVector<QVariant> sizes;
    if (found && found->isEmpty())
        throw goneFromDatabase(m_name, m_columns[column]);
    if (found) {
        sizes = found->size() == 1 ? found->first() : (*found)[qMin(sameKeysBefore(row), int(found->size()) - 1)];
    } else {
        for (int c : std::as_const(blobs)) {
            const QByteArray bytes = readBackBlob(row, c);
            sizes.append(bytes.isNull() ? QVariant() : QVariant(bytes.size()));
        }
    }
    for (int i = 0; i < blobs.size(); ++i)
        m_cells.set(qsizetype(row) * m_columns.size() + blobs[i],
                    sizes[i].isNull() ? QVariant(QMetaType::fromType<QByteArray>())
                                      : QVariant::fromValue(BlobInDatabase{sizes[i].toLongLong()}));
    return valueAt(row, column);
}

// Runs `SELECT selectList` over the blob table's rows with the keys of `row`, ready to be read.
QSqlQuery &DataSet::readBack(int row, const QString &selectList) const
{
    QStringList conditions;
    QVariantList keys;
    for (int i = 0; i < m_keyColumns.size(); ++i) {
        const QString &name = m_blobSource.keyColumns[i];
        const QVariant key = valueAt(row, m_keyColumns[i]);
        if (key.isNull()) {
            conditions.append(name + QStringLiteral(" IS NULL"));
        } else {
            conditions.append(name + QStringLiteral("=?"));
            keys.append(key);
        }
    }
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                            .arg(selectList, m_blobSource.table, conditions.join(QStringLiteral(" AND ")));
    // A statement is prepared once and run again for each record: on a server every preparation
    // costs round trips of its own. One that fails (its session was lost) is prepared anew once.
    const auto prepared = [&](bool fresh) -> QSqlQuery & {
        auto found = m_blobQueries.find(sql);
        if (found == m_blobQueries.end() || fresh) {
            QSqlQuery query(m_connection.database());
            query.setForwardOnly(true);
            if (!query.prepare(sql))
                throw Error(databaseErrorText(query.lastError(), m_name));
            found = m_blobQueries.insert(sql, query);
        }
        return *found;
    };
    const auto run = [&](QSqlQuery &query) {
        for (int i = 0; i < keys.size(); ++i)
            query.bindValue(i, keys[i]);
        return query.exec();
    };
    QSqlQuery *query = &prepared(false);
    if (!run(*query)) {
        query = &prepared(true);
        if (!run(*query))
            throw Error(databaseErrorText(query->lastError(), m_name));
    }
    return *query;
}

// How many earlier records have the same blob keys: rows with equal keys (one object with two
// logo rows) are matched with the blob table's rows in order of appearance.
int DataSet::sameKeysBefore(int row) const
{
    int ordinal = 0;
    for (int earlier = 0; earlier < row; ++earlier) {
        bool same = true;
        for (int k : m_keyColumns)
            same = same && valueAt(earlier, k) == valueAt(row, k);
        ordinal += same;
    }
    return ordinal;
}

QByteArray DataSet::readBackBlob(int row, int column) const
{
    QSqlQuery &query = readBack(row, m_columns[column]);
    QVector<QByteArray> candidates;
    while (query.next())
        candidates.append(query.value(0).toByteArray());
    if (candidates.isEmpty())
        throw goneFromDatabase(m_name, m_columns[column]);
    if (candidates.size() == 1)
        return candidates.first();
    // The length kept from the first read settles it when the order differs.
    const qsizetype size = valueAt(row, column).value<BlobInDatabase>().size;
    const QByteArray &inOrder = candidates[qMin(sameKeysBefore(row), int(candidates.size()) - 1)];
    if (inOrder.size() == size)
        return inOrder;
    for (const QByteArray &candidate : candidates)
        if (candidate.size() == size)
            return candidate;
    return inOrder;
}

QString DataSet::text(const QString &column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

QVariant DataSet::nonNull(const QString &column, const char *type) const
{
    const QVariant v = value(column);
    if (v.isNull())
        throw Error(QStringLiteral("Could not convert variant of type (Null) into type (%1)").arg(QLatin1String(type)));
    return v;
}

int DataSet::integer(const QString &column) const
{
    const QVariant v = nonNull(column, "Integer");
    bool ok = false;
    const int result = v.toInt(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    return result;
}

double DataSet::real(const QString &column) const
{
    const QVariant v = nonNull(column, "Double");
    bool ok = false;
    const double result = v.toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return result;
}

QByteArray DataSet::bytes(const QString &column) const
{
    return value(column).toByteArray();
}

void DataSet::saveBlobToFile(const QString &column, const QString &path) const
{
    NoFollowFile::write(path, bytes(column));
}
