#pragma once
// Reads comma-separated records as RFC 4180 writes them, a block at a time from a device, so that
// a file of any size streams through a small buffer: fields in double quotes may hold commas,
// line breaks and doubled quotes; lines end in CRLF, LF or CR; a UTF-8 byte-order mark at the start
// is skipped. Rows may have more or fewer fields than others; the caller decides what that means.
//
// A quote that is never closed, or a record beyond MaxRecordBytes (the same thing in a large
// file), throws std::runtime_error naming the file and the line the record began on.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVector>

class CsvReader {
public:
    static constexpr qsizetype MaxRecordBytes = 1024 * 1024;

    // `name` names the file in messages.
    CsvReader(QIODevice &device, QString name);

    // Moves to the next record; false at the end of the data. Lines that hold nothing are skipped.
    bool next();
    // The current record's fields, as the file's bytes (UTF-8 in a feed).
    const QVector<QByteArray> &fields() const { return m_fields; }
    // The line the current record began on, counting from 1.
    qint64 line() const { return m_recordLine; }
    // "name:line" of the current record, for messages.
    QString where() const;
    const QString &name() const { return m_name; }

private:
    bool fill();
    [[noreturn]] void fail(const QString &what) const;

    QIODevice &m_device;
    QString m_name;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_started = false;
    qint64 m_line = 1;
    qint64 m_recordLine = 0;
    QVector<QByteArray> m_fields;
};
