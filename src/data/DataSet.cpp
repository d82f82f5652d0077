#include "data/DataSet.h"

#include "common/Errors.h"
#include "data/Connection.h"
#include "data/QueryGuard.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The database's own wording when it gives one, else the driver's.
QString errorText(const QSqlError &error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

// What a data set with a blob source keeps of a non-null blob until it is asked for.
struct BlobInDatabase {
    qsizetype size = 0;
};

bool isBlobInDatabase(const QVariant &cell)
{
    return cell.metaType() == QMetaType::fromType<BlobInDatabase>();
}

// `sql` with the source table's "table.*" in its select list replaced by the table's columns,
// blobs as their lengths: the rows then carry no blob bytes, not even through a sort. Empty
// when the select list has no "table.*".
QString withBlobLengths(const QString &sql, const BlobSource &source)
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
        columns.append(QStringLiteral("length(%1.%2) AS %2").arg(source.table, blob));
    return QString(sql).replace(at, all.size(), columns.join(QStringLiteral(", ")));
}

int indexOf(const QStringList &names, const QString &name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

DataSet::DataSet(QString name, Connection &connection, QString sql, QStringList fields, QObject *parent)
    : QObject(parent), m_name(std::move(name)), m_connection(connection), m_sql(std::move(sql)),
      m_declared(std::move(fields))
{
}

void DataSet::setSql(const QString &sql)
{
    // Rows of the old text must not pass for rows of the new one.
    if (m_open && sql != m_sql)
        close();
    m_sql = sql;
}

void DataSet::open()
{
    if (m_open)
        return;
    const QString refused = QueryGuard::refusal(m_sql);
    if (!refused.isEmpty())
        throw Error(QStringLiteral("%1: %2").arg(m_name, refused));
    QSqlDatabase db = m_connection.database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // A database that cannot take the lengths query still gets the text as written; its blobs
    // are then read and let go row by row.
    bool keysDeclared = true;
    for (const QString &key : m_blobSource.keyColumns)
        keysDeclared = keysDeclared && (m_declared.isEmpty() || indexOf(m_declared, key) >= 0);
    const QString lengthsSql = keysDeclared ? withBlobLengths(m_sql, m_blobSource) : QString();
    const bool lengthsOnly = !lengthsSql.isEmpty() && query.exec(lengthsSql);
    if (!lengthsOnly && !query.exec(m_sql))
        throw Error(errorText(query.lastError()));
    const QSqlRecord record = query.record();
    QVector<int> sourceColumns;
    QStringList columns;
    if (m_declared.isEmpty()) {
        for (int i = 0; i < record.count(); ++i) {
            sourceColumns.append(i);
            columns.append(record.fieldName(i));
        }
    } else {
        for (const QString &field : m_declared) {
            int found = -1;
            for (int i = 0; i < record.count() && found < 0; ++i)
                if (record.fieldName(i).compare(field, Qt::CaseInsensitive) == 0)
                    found = i;
            if (found < 0)
                throw Error(QStringLiteral("%1: Field '%2' not found").arg(m_name, field));
            sourceColumns.append(found);
            columns.append(field);
        }
    }
    // Blobs are read back later only when every key column that tells their rows apart is here.
    QVector<int> keyColumns;
    for (const QString &key : m_blobSource.keyColumns)
        keyColumns.append(indexOf(columns, key));
    QVector<bool> readBack(columns.size(), false);
    if (!keyColumns.isEmpty() && !keyColumns.contains(-1))
        for (const QString &blob : m_blobSource.blobColumns)
            if (const int c = indexOf(columns, blob); c >= 0)
                readBack[c] = true;
    QVector<QVariant> values;
    int rows = 0;
    while (query.next()) {
        for (int c = 0; c < sourceColumns.size(); ++c) {
            QVariant value = query.value(sourceColumns[c]);
            if (readBack[c])
                value = value.isNull() ? QVariant(QMetaType::fromType<QByteArray>())
                                       : QVariant::fromValue(BlobInDatabase{
                                             lengthsOnly ? value.toLongLong() : value.toByteArray().size()});
            values.append(std::move(value));
        }
        ++rows;
    }
    // A read error part-way would otherwise pass for the end of the result.
    if (query.lastError().isValid())
        throw Error(errorText(query.lastError()));
    m_columns = columns;
    m_keyColumns = readBack.contains(true) ? keyColumns : QVector<int>();
    m_values = std::move(values);
    m_rowCount = rows;
    m_open = true;
    m_current = rows > 0 ? 0 : -1;
    m_eof = rows == 0;
    Q_EMIT reset();
    Q_EMIT currentRowChanged(m_current);
}

void DataSet::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_values.clear();
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
    return indexOf(m_columns, column);
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
        if (equal(valueAt(row, c))) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
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
    const QVariant &cell = valueAt(m_current, c);
    return isBlobInDatabase(cell) ? QVariant(readBackBlob(m_current, c)) : cell;
}

bool DataSet::isNull(const QString &column) const
{
    requireCurrent(column);
    return valueAt(m_current, requireColumn(column)).isNull();
}

QByteArray DataSet::blobAt(int row, int column) const
{
    const QVariant &cell = valueAt(row, column);
    return isBlobInDatabase(cell) ? readBackBlob(row, column) : cell.toByteArray();
}

QByteArray DataSet::readBackBlob(int row, int column) const
{
    QStringList conditions;
    QVariantList keys;
    for (int i = 0; i < m_keyColumns.size(); ++i) {
        const QString &name = m_blobSource.keyColumns[i];
        const QVariant &key = valueAt(row, m_keyColumns[i]);
        if (key.isNull()) {
            conditions.append(name + QStringLiteral(" IS NULL"));
        } else {
            conditions.append(name + QStringLiteral("=?"));
            keys.append(key);
        }
    }
    QSqlQuery query(m_connection.database());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                           .arg(m_columns[column], m_blobSource.table, conditions.join(QStringLiteral(" AND ")))))
        throw Error(errorText(query.lastError()));
    for (const QVariant &key : keys)
        query.addBindValue(key);
    if (!query.exec())
        throw Error(errorText(query.lastError()));
    QVector<QByteArray> candidates;
    while (query.next())
        candidates.append(query.value(0).toByteArray());
    if (candidates.isEmpty())
        throw Error(QStringLiteral("%1: Field '%2' of this record is no longer in the database").arg(m_name, m_columns[column]));
    if (candidates.size() == 1)
        return candidates.first();
    // Rows with equal keys (one object with two logo rows) are matched in order of appearance;
    // the length kept from the first read settles it when the order differs.
    int ordinal = 0;
    for (int earlier = 0; earlier < row; ++earlier) {
        bool same = true;
        for (int k : m_keyColumns)
            same = same && valueAt(earlier, k) == valueAt(row, k);
        ordinal += same;
    }
    const qsizetype size = valueAt(row, column).value<BlobInDatabase>().size;
    const QByteArray &inOrder = candidates[qMin(ordinal, int(candidates.size()) - 1)];
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
    const QByteArray data = bytes(column);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    if (file.write(data) != data.size())
        throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}
