#include "map/MarkerWalk.h"

#include "data/DataSet.h"

MarkerWalk::MarkerWalk(DataSet &records, const QString &keyColumn) : m_records(records), m_keyColumn(keyColumn)
{
    m_reset = QObject::connect(&records, &DataSet::reset, [this] {
        m_indexed = false;
        m_lastFound = -1;
    });
}

MarkerWalk::~MarkerWalk()
{
    QObject::disconnect(m_reset);
}

void MarkerWalk::index()
{
    const int keyColumn = m_records.requireColumn(m_keyColumn);
    m_codeColumn = m_records.requireColumn(QStringLiteral("ruka_kodi"));
    m_xColumn = m_records.requireColumn(QStringLiteral("x"));
    m_yColumn = m_records.requireColumn(QStringLiteral("y"));
    m_rowOfKey.clear();
    m_rowOfKey.reserve(m_records.recordCount());
    // Last row first, so that the first row of a key is the one kept.
    for (int row = m_records.recordCount() - 1; row >= 0; --row)
        m_rowOfKey.insert(m_records.valueAt(row, keyColumn).toLongLong(), row);
    m_indexed = true;
}

std::optional<MarkerWalk::Record> MarkerWalk::find(int key)
{
    if (!m_indexed)
        index();
    const auto found = m_rowOfKey.constFind(key);
    if (found == m_rowOfKey.constEnd())
        return std::nullopt;
    Record record;
    record.row = *found;
    const QVariant &code = m_records.valueAt(record.row, m_codeColumn);
    const QVariant &x = m_records.valueAt(record.row, m_xColumn);
    const QVariant &y = m_records.valueAt(record.row, m_yColumn);
    record.code = code.isNull() ? QString() : code.toString();
    record.x = x.isNull() ? 0.0 : x.toDouble();
    record.y = y.isNull() ? 0.0 : y.toDouble();
    record.hasPosition = !x.isNull() && !y.isNull();
    m_lastFound = record.row;
    return record;
}

bool MarkerWalk::locate(int key)
{
    if (!find(key))
        return false;
    makeLastFoundCurrent();
    return true;
}

void MarkerWalk::makeLastFoundCurrent()
{
    if (m_lastFound >= 0)
        m_records.setCurrentRow(m_lastFound);
}
