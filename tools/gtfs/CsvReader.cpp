#include "gtfs/CsvReader.h"

#include <stdexcept>

namespace {
constexpr qint64 BlockBytes = 256 * 1024;
}

CsvReader::CsvReader(QIODevice &device, QString name) : m_device(device), m_name(std::move(name)) {}

QString CsvReader::where() const
{
    return QStringLiteral("%1:%2").arg(m_name).arg(m_recordLine);
}

void CsvReader::fail(const QString &what) const
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(where(), what).toStdString());
}

// Appends the next block to the unread rest of the buffer; false when the device has no more.
bool CsvReader::fill()
{
    m_buffer.remove(0, m_at);
    m_at = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + BlockBytes);
    const qint64 got = m_device.read(m_buffer.data() + kept, BlockBytes);
    if (got < 0)
        throw std::runtime_error(QStringLiteral("%1: cannot be read: %2").arg(m_name, m_device.errorString()).toStdString());
    m_buffer.resize(kept + got);
    if (!m_started) {
        m_started = true;
        if (m_buffer.startsWith("\xEF\xBB\xBF"))
            m_at = 3;
    }
    return got > 0;
}

bool CsvReader::next()
{
    for (;;) {
        m_fields.clear();
        m_recordLine = m_line;
        QByteArray field;
        bool quoted = false;     // inside a quoted stretch
        bool fieldStart = true;  // nothing of the field read yet: a quote here opens one
        bool anything = false;   // the record has begun
        qsizetype recordBytes = 0;
        for (;;) {
            if (m_at >= m_buffer.size() && !fill()) {
                // The data ends: the last record needs no line break.
                if (quoted)
                    fail(QStringLiteral("a quoted field is not closed"));
                if (!anything && field.isEmpty())
                    return false;
                m_fields.append(field);
                return true;
            }
            const char c = m_buffer.at(m_at++);
            if (++recordBytes > MaxRecordBytes)
                fail(quoted ? QStringLiteral("a quoted field runs on beyond %1 KB: is a closing quote missing?").arg(MaxRecordBytes / 1024)
                            : QStringLiteral("the record is longer than %1 KB").arg(MaxRecordBytes / 1024));
            if (quoted) {
                if (c == '"') {
                    if (m_at >= m_buffer.size())
                        fill();
                    if (m_at < m_buffer.size() && m_buffer.at(m_at) == '"') {
                        field += '"';
                        ++m_at;
                    } else {
                        quoted = false;
                    }
                } else {
                    if (c == '\n')
                        ++m_line;
                    field += c;
                }
                continue;
            }
            if (c == '"' && fieldStart) {
                quoted = true;
                anything = true;
                fieldStart = false;
            } else if (c == ',') {
                m_fields.append(field);
                field.clear();
                anything = true;
                fieldStart = true;
            } else if (c == '\n' || c == '\r') {
                if (c == '\r') {
                    if (m_at >= m_buffer.size())
                        fill();
                    if (m_at < m_buffer.size() && m_buffer.at(m_at) == '\n')
                        ++m_at;
                }
                ++m_line;
                if (!anything && field.isEmpty())
                    break; // a line with nothing on it
                m_fields.append(field);
                return true;
            } else {
                // A quote within an unquoted field is kept as written, as lenient readers do.
                field += c;
                anything = true;
                fieldStart = false;
            }
        }
    }
}
