#include "data/DataSet.h"

#include "common/Errors.h"
#include "data/Connection.h"
#include "data/QueryGuard.h"

#include <QFile>
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
    if (!query.exec(m_sql))
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
    QVector<QVariant> values;
    int rows = 0;
    while (query.next()) {
        for (int source : sourceColumns)
            values.append(query.value(source));
        ++rows;
    }
    // A read error part-way would otherwise pass for the end of the result.
    if (query.lastError().isValid())
        throw Error(errorText(query.lastError()));
    m_columns = columns;
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
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
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
    return valueAt(m_current, requireColumn(column));
}

bool DataSet::isNull(const QString &column) const
{
    return value(column).isNull();
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
