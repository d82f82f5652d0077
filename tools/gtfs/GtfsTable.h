#pragma once
// One file of a GTFS feed read row by row with its columns found by their header names.
#include "gtfs/CsvReader.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

class GtfsTable {
public:
    // Reads the header; throws std::runtime_error naming the file when it is empty or a required
    // column is missing.
    GtfsTable(std::unique_ptr<QIODevice> device, const QString &name, const QStringList &required);

    bool next() { return m_reader.next(); }
    // The column's index, -1 when the file lacks it.
    int column(const char *name) const { return m_columns.value(QByteArray(name), -1); }
    // A field of the current row, trimmed; empty for a column the file lacks or a short row.
    QByteArray value(int column) const;
    QString text(int column) const { return QString::fromUtf8(value(column)); }
    QString where() const { return m_reader.where(); }
    qint64 line() const { return m_reader.line(); }

private:
    std::unique_ptr<QIODevice> m_device;
    CsvReader m_reader;
    QHash<QByteArray, int> m_columns;
};
