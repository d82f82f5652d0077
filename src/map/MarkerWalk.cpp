#include "map/MarkerWalk.h"

#include "data/DataSet.h"

MarkerWalk::MarkerWalk(DataSet &records, const QString &keyColumn, const MarkerList &markers)
    : m_records(records), m_keyColumn(keyColumn), m_markers(markers)
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
    m_rowOfKey.reserve(m_markers.count());
    for (const Marker &marker : m_markers)
        m_rowOfKey.insert(marker.picture->key(), -1);
    // One pass, which ends as soon as every key has its first row.
    qsizetype missing = m_rowOfKey.size();
    for (int row = 0; row < m_records.recordCount() && missing > 0; ++row) {
        const auto wanted = m_rowOfKey.find(m_records.valueAt(row, keyColumn).toLongLong());
        if (wanted != m_rowOfKey.end() && *wanted < 0) {
            *wanted = row;
            --missing;
        }
    }
    m_indexed = true;
}

std::optional<MarkerWalk::Record> MarkerWalk::find(int key)
{
    if (!m_indexed)
        index();
    const auto found = m_rowOfKey.constFind(key);
    if (found == m_rowOfKey.constEnd() || *found < 0)
        return std::nullopt;
    Record record;
    record.row = *found;
    const QVariant &code = m_records.valueAt(record.row, m_codeColumn);
    const QVariant &x = m_records.valueAt(record.row, m_xColumn);
    const QVariant &y = m_records.valueAt(record.row, m_yColumn);
    record.code = code.isNull() ? QString() : code.toString();
    record.x = x.isNull() ? 0.0 : x.toDouble();
    record.y = y.isNull() ? 0.0 : y.toDouble();
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
