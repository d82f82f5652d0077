#pragma once
// The cells of a data set's rows, kept compactly: whole numbers, reals, the lengths of blobs left
// in the database and nulls (with their type) in place, texts as UTF-8 in one buffer, anything else
// (blobs read whole, dates) beside them as values. A value is made when a cell is read. 100,000
// rows of 24 columns take half the memory of as many QVariants and fill twice as fast,
// since a text costs no allocation of its own.
#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QVariant>

// What a data set keeps of a blob that stays in the database: its length, or -1 while the row's
// blobs have not been measured (the blob may then still be null).
struct BlobInDatabase {
    qsizetype size = -1;
};

inline bool isBlobInDatabase(const QVariant &cell)
{
    return cell.metaType() == QMetaType::fromType<BlobInDatabase>();
}

// One cell as the store keeps it.
struct StoredCell {
    enum Kind : quint16 { Null, Integer, Real, Text, Blob, Other };
    quint64 payload; // the number's bits, the text's offset, the blob's length, or the other value's index
    quint32 length;  // the text's length in bytes
    Kind kind;
    quint16 type;    // the type id of the value, or of the null
};
Q_DECLARE_TYPEINFO(StoredCell, Q_PRIMITIVE_TYPE);

class CellStore {
public:
    void clear();

    void append(const QVariant &value);
    // A null of the given type, as a driver gives it for a NULL.
    void appendNull(QMetaType type) { m_cells.append({0, 0, StoredCell::Null, quint16(type.id())}); }
    void appendInteger(qint64 value) { m_cells.append({quint64(value), 0, StoredCell::Integer, QMetaType::LongLong}); }
    void appendReal(double value);
    void appendUtf8(const char *text, qsizetype bytes);
    void appendBlobInDatabase(BlobInDatabase blob) { m_cells.append({quint64(blob.size), 0, StoredCell::Blob, 0}); }

    QVariant at(qsizetype index) const;
    // Replaces a cell's value; the store keeps its size.
    void set(qsizetype index, const QVariant &value);

private:
    StoredCell cellOf(const QVariant &value);

    QList<StoredCell> m_cells;
    QByteArray m_text;
    QList<QVariant> m_others;
};
