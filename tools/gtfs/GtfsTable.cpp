#include "gtfs/GtfsTable.h"

#include <stdexcept>

GtfsTable::GtfsTable(std::unique_ptr<QIODevice> device, const QString &name, const QStringList &required)
    : m_device(std::move(device)), m_reader(*m_device, name)
{
    if (!m_reader.next())
        throw std::runtime_error(QStringLiteral("%1 is empty: it has not even its header").arg(name).toStdString());
    const QVector<QByteArray> &header = m_reader.fields();
    for (int i = 0; i < header.size(); ++i)
        if (!m_columns.contains(header[i].trimmed()))
            m_columns.insert(header[i].trimmed(), i);
    QStringList missing;
    for (const QString &column : required)
        if (!m_columns.contains(column.toUtf8()))
            missing.append(column);
    if (!missing.isEmpty())
        throw std::runtime_error(QStringLiteral("%1:1: the header lacks the column%2 %3")
                                     .arg(name, missing.size() > 1 ? QStringLiteral("s") : QString(), missing.join(QStringLiteral(", ")))
                                     .toStdString());
}

QByteArray GtfsTable::value(int column) const
{
    const QVector<QByteArray> &fields = m_reader.fields();
    return column >= 0 && column < fields.size() ? fields[column].trimmed() : QByteArray();
}
