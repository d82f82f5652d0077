#include "data/CellStore.h"

#include <QString>
#include <QStringEncoder>

#include <cstring>
#include <limits>

void CellStore::clear()
{
    // Lists keep their capacity through clear(): a closed data set would hold on to its memory.
    *this = CellStore();
}

namespace {

StoredCell realCell(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return {bits, 0, StoredCell::Real, QMetaType::Double};
}

} // namespace

void CellStore::appendReal(double value)
{
    m_cells.append(realCell(value));
}

void CellStore::appendUtf8(const char *text, qsizetype bytes)
{
    if (bytes > std::numeric_limits<quint32>::max()) {
        append(QString::fromUtf8(text, bytes));
        return;
    }
    m_cells.append({quint64(m_text.size()), quint32(bytes), StoredCell::Text, QMetaType::QString});
    m_text.append(text, bytes);
}

void CellStore::append(const QVariant &value)
{
    m_cells.append(cellOf(value));
}

void CellStore::set(qsizetype index, const QVariant &value)
{
    m_cells[index] = cellOf(value);
}

StoredCell CellStore::cellOf(const QVariant &value)
{
    const int type = value.typeId();
    if (value.isNull() && type != QMetaType::UnknownType && type <= std::numeric_limits<quint16>::max())
        return {0, 0, StoredCell::Null, quint16(type)};
    switch (type) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return {quint64(value.toLongLong()), 0, StoredCell::Integer, quint16(type)};
    case QMetaType::Double:
        return realCell(value.toDouble());
    case QMetaType::QString: {
        // Written straight into the buffer: a UTF-8 text takes at most three bytes a character.
        const QString text = value.toString();
        const qsizetype offset = m_text.size();
        if (text.size() * 3 <= std::numeric_limits<quint32>::max()) {
            QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
            m_text.resize(offset + text.size() * 3);
            char *end = encoder.appendToBuffer(m_text.data() + offset, text);
            m_text.resize(end - m_text.constData());
            return {quint64(offset), quint32(m_text.size() - offset), StoredCell::Text, QMetaType::QString};
        }
        break;
    }
    default:
        if (isBlobInDatabase(value))
            return {quint64(value.value<BlobInDatabase>().size), 0, StoredCell::Blob, 0};
        break;
    }
    m_others.append(value);
    return {quint64(m_others.size() - 1), 0, StoredCell::Other, 0};
}

QVariant CellStore::at(qsizetype index) const
{
    const StoredCell &cell = m_cells[index];
    switch (cell.kind) {
    case StoredCell::Null:
        return QVariant(QMetaType(cell.type));
    case StoredCell::Integer:
        return cell.type == QMetaType::Int ? QVariant(int(qint64(cell.payload))) : QVariant(qlonglong(cell.payload));
    case StoredCell::Real: {
        double real;
        std::memcpy(&real, &cell.payload, sizeof real);
        return real;
    }
    case StoredCell::Text:
        return QString::fromUtf8(QByteArrayView(m_text.constData() + cell.payload, cell.length));
    case StoredCell::Blob:
        return QVariant::fromValue(BlobInDatabase{qsizetype(cell.payload)});
    case StoredCell::Other:
        break;
    }
    return m_others[qsizetype(cell.payload)];
}
