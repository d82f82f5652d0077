#include "data/GroupedListModel.h"

#include "common/Errors.h"
#include "data/DataSet.h"
#include "data/ParallelSort.h"

#include <algorithm>
#include <numeric>

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The text under which a key is found in a lookup: 7, 7.0 and "7" are the same key.
QString keyText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        if (d == double(qint64(d)))
            return QString::number(qint64(d));
    }
    return value.toString();
}

// A grouping value prepared for sorting: nulls first, then numbers by value, then texts by
// character codes.
struct SortKey {
    int kind = 0; // 0 null, 1 number, 2 text
    double number = 0;
    QString text;

    static SortKey of(const QVariant &value)
    {
        if (value.isNull())
            return {};
        if (isNumber(value))
            return {1, value.toDouble(), {}};
        return {2, 0, value.toString()};
    }
    int compare(const SortKey &other) const
    {
        if (kind != other.kind)
            return kind < other.kind ? -1 : 1;
        if (kind == 1)
            return number < other.number ? -1 : number > other.number ? 1 : 0;
        return text.compare(other.text);
    }
};

// An index's internalId: its parent group + 1 above four bits that vary with the row. Qt hashes
// a model index as (row << 4) + column + internalId, so without those bits every sibling would
// share the low four bits of its hash, and views holding many persistent indexes of siblings
// (a rubric of thousands of expanded names) would crawl.
quintptr packId(int parentGroup, int row)
{
    return (quintptr(parentGroup + 1) << 4) | ((quint32(row) * 0x9E3779B1u) >> 28);
}

int unpackParent(quintptr id)
{
    return int(id >> 4) - 1;
}

} // namespace

GroupedListModel::Level GroupedListModel::Level::text(const QString &column, bool bold)
{
    Level level;
    level.column = column;
    level.bold = bold;
    return level;
}

GroupedListModel::Level GroupedListModel::Level::lookup(const QString &column, DataSet &source,
                                                        const QString &sourceKey, const QString &sourceName,
                                                        bool bold)
{
    Level level = text(column, bold);
    level.source = &source;
    level.sourceKey = sourceKey;
    level.sourceName = sourceName;
    return level;
}

GroupedListModel::Level GroupedListModel::Level::custom(const QString &column,
                                                        std::function<QString(const QVariant &)> display,
                                                        bool bold)
{
    Level level = text(column, bold);
    level.display = std::move(display);
    return level;
}

GroupedListModel::GroupedListModel(DataSet &dataSet, QObject *parent) : QAbstractItemModel(parent), m_dataSet(dataSet)
{
    connect(&m_dataSet, &DataSet::reset, this, &GroupedListModel::rebuild);
    connect(&m_dataSet, &DataSet::currentRowChanged, this, &GroupedListModel::followCurrentRecord);
    rebuild();
}

GroupedListModel::~GroupedListModel() = default;

void GroupedListModel::setLevels(const QList<Level> &levels)
{
    m_levels = levels;
    connectLookups();
    rebuild();
}

void GroupedListModel::setColumns(const QList<Column> &columns)
{
    m_columns = columns;
    rebuild();
}

void GroupedListModel::setRowOrder(const QString &column)
{
    m_rowOrder = column;
    rebuild();
}

void GroupedListModel::connectLookups()
{
    for (const QMetaObject::Connection &c : std::as_const(m_lookupConnections))
        disconnect(c);
    m_lookupConnections.clear();
    m_lookupTables = QVector<QHash<QString, QString>>(m_levels.size());
    for (int l = 0; l < m_levels.size(); ++l) {
        if (DataSet *source = m_levels[l].source) {
            m_lookupConnections.append(connect(source, &DataSet::reset, this, [this, l] { refreshLookup(l); }));
            loadLookup(l);
        }
    }
}

void GroupedListModel::refreshLookup(int level)
{
    loadLookup(level);
    // Tell the views about the relabelled group rows, one run of siblings at a time.
    if (m_groups.isEmpty())
        return;
    const auto changed = [this](const QModelIndex &parent, int rows) {
        if (rows > 0)
            Q_EMIT dataChanged(index(0, 0, parent), index(rows - 1, 0, parent), {Qt::DisplayRole});
    };
    if (level == 0) {
        changed({}, int(m_top.size()));
        return;
    }
    for (int g = 0; g < m_groups.size(); ++g)
        if (m_groups[g].level == level - 1)
            changed(groupIndex(g), int(m_groups[g].children.size()));
}

void GroupedListModel::loadLookup(int level)
{
    QHash<QString, QString> &table = m_lookupTables[level];
    table.clear();
    const Level &definition = m_levels[level];
    if (definition.source && definition.source->isOpen()) {
        const DataSet &source = *definition.source;
        const int key = source.columnIndex(definition.sourceKey);
        const int name = source.columnIndex(definition.sourceName);
        if (key >= 0 && name >= 0) {
            for (int r = 0; r < source.recordCount(); ++r) {
                const QVariant &k = source.valueAt(r, key);
                if (!k.isNull() && !table.contains(keyText(k)))
                    table.insert(keyText(k), source.valueAt(r, name).toString());
            }
        }
    }
}

void GroupedListModel::rebuild()
{
    beginResetModel();
    m_groups.clear();
    m_top.clear();
    m_places.clear();
    m_focusedGroup = -1;
    m_focusedRecord = -1;
    m_columnIndexes.clear();
    for (const Column &column : std::as_const(m_columns))
        m_columnIndexes.append(m_dataSet.columnIndex(column.field));

    const int n = m_dataSet.isOpen() ? m_dataSet.recordCount() : 0;
    const int depth = int(m_levels.size());
    // One sort over the levels' keys and then the row order: names are compared only between
    // records of the same group. A record's keys lie side by side, so that a comparison reads
    // memory in one place rather than one place per level.
    const int width = depth + 1;
    QVector<int> keyColumns;
    for (const Level &level : std::as_const(m_levels))
        keyColumns.append(m_dataSet.columnIndex(level.column));
    keyColumns.append(m_rowOrder.isEmpty() ? -1 : m_dataSet.columnIndex(m_rowOrder));
    QVector<SortKey> keys(qsizetype(n) * width);
    SortKey *const filled = keys.data();
    ParallelSort::inHalves(n, [&](qsizetype from, qsizetype to) {
        for (qsizetype r = from; r < to; ++r)
            for (int l = 0; l < width; ++l)
                if (keyColumns[l] >= 0)
                    filled[r * width + l] = SortKey::of(m_dataSet.valueAt(int(r), keyColumns[l]));
    });
    const auto key = [&](int record, int level) -> const SortKey & { return keys[qsizetype(record) * width + level]; };

    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    ParallelSort::sort(order.begin(), order.end(), [&](int a, int b) {
        for (int l = 0; l < width; ++l)
            if (const int c = key(a, l).compare(key(b, l)))
                return c < 0;
        return a < b;
    });

    m_places.resize(n);
    QVector<int> open(depth, -1); // the group now being filled at each level
    int previous = -1;
    for (int record : std::as_const(order)) {
        int first = depth; // the first level whose group changes with this record
        for (int l = 0; l < depth && first == depth; ++l)
            if (previous < 0 || key(record, l).compare(key(previous, l)) != 0)
                first = l;
        for (int l = first; l < depth; ++l) {
            Group group;
            group.parent = l == 0 ? -1 : open[l - 1];
            QVector<int> &siblings = group.parent < 0 ? m_top : m_groups[group.parent].children;
            group.row = int(siblings.size());
            group.level = l;
            group.firstRecord = record;
            group.key = keyColumns[l] >= 0 ? m_dataSet.valueAt(record, keyColumns[l]) : QVariant();
            siblings.append(int(m_groups.size()));
            open[l] = int(m_groups.size());
            m_groups.append(group);
        }
        const int parent = depth > 0 ? open[depth - 1] : -1;
        QVector<int> &rows = parent < 0 ? m_top : m_groups[parent].children;
        m_places[record] = {parent, int(rows.size())};
        rows.append(record);
        previous = record;
    }
    endResetModel();
    // Views lost their focus with the reset: give them the data set's current record.
    const int current = m_dataSet.isOpen() ? m_dataSet.currentRow() : -1;
    if (current >= 0 && current < m_places.size()) {
        m_focusedRecord = current;
        Q_EMIT focusRequested(indexOfRecord(current));
    } else {
        Q_EMIT focusRequested({});
    }
}

void GroupedListModel::followCurrentRecord(int record)
{
    if (record < 0 || record >= m_places.size()) {
        if (m_focusedGroup < 0 && m_focusedRecord < 0)
            return;
        m_focusedGroup = m_focusedRecord = -1;
        Q_EMIT focusRequested({});
        return;
    }
    // The focused row already stands for this record: the move came from the view.
    if (m_focusedRecord == record || (m_focusedGroup >= 0 && m_groups[m_focusedGroup].firstRecord == record))
        return;
    m_focusedGroup = -1;
    m_focusedRecord = record;
    Q_EMIT focusRequested(indexOfRecord(record));
}

void GroupedListModel::setFocusedIndex(const QModelIndex &index)
{
    if (!index.isValid() || index.model() != this)
        return;
    const int group = groupAt(index);
    m_focusedGroup = group;
    m_focusedRecord = group >= 0 ? -1 : recordOf(index);
    m_dataSet.setCurrentRow(recordOf(index));
}

QModelIndex GroupedListModel::focusedIndex() const
{
    if (m_focusedGroup >= 0)
        return groupIndex(m_focusedGroup);
    return indexOfRecord(m_focusedRecord);
}

const QVector<int> &GroupedListModel::childrenOf(int group) const
{
    return group < 0 ? m_top : m_groups[group].children;
}

int GroupedListModel::parentGroupOf(const QModelIndex &index) const
{
    return unpackParent(index.internalId());
}

int GroupedListModel::groupAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return -1;
    const int parent = parentGroupOf(index);
    const bool groupRow = parent < 0 ? !m_levels.isEmpty() : m_groups[parent].level < m_levels.size() - 1;
    return groupRow ? childrenOf(parent)[index.row()] : -1;
}

QModelIndex GroupedListModel::groupIndex(int group) const
{
    if (group < 0 || group >= m_groups.size())
        return {};
    return createIndex(m_groups[group].row, 0, packId(m_groups[group].parent, m_groups[group].row));
}

bool GroupedListModel::isGroup(const QModelIndex &index) const
{
    return groupAt(index) >= 0;
}

int GroupedListModel::groupLevel(const QModelIndex &index) const
{
    const int group = groupAt(index);
    return group < 0 ? -1 : m_groups[group].level;
}

int GroupedListModel::recordOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return -1;
    const int group = groupAt(index);
    if (group >= 0)
        return m_groups[group].firstRecord;
    return childrenOf(parentGroupOf(index))[index.row()];
}

QModelIndex GroupedListModel::indexOfRecord(int record, int column) const
{
    if (record < 0 || record >= m_places.size() || column < 0 || column >= columnCount())
        return {};
    return createIndex(m_places[record].row, column, packId(m_places[record].group, m_places[record].row));
}

QString GroupedListModel::levelText(int level, const QVariant &key) const
{
    if (level < 0 || level >= m_levels.size() || key.isNull())
        return {};
    const Level &definition = m_levels[level];
    if (definition.source)
        return m_lookupTables[level].value(keyText(key));
    if (definition.display)
        return definition.display(key);
    return key.toString();
}

QString GroupedListModel::groupText(const QModelIndex &index) const
{
    const int group = groupAt(index);
    return group < 0 ? QString() : levelText(m_groups[group].level, m_groups[group].key);
}

QVariant GroupedListModel::groupKey(const QModelIndex &index) const
{
    const int group = groupAt(index);
    return group < 0 ? QVariant() : m_groups[group].key;
}

QModelIndex GroupedListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= columnCount())
        return {};
    int group = -1;
    if (parent.isValid()) {
        group = groupAt(parent);
        if (group < 0 || parent.column() != 0)
            return {};
    }
    if (row >= childrenOf(group).size())
        return {};
    return createIndex(row, column, packId(group, row));
}

QModelIndex GroupedListModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    return groupIndex(parentGroupOf(child));
}

int GroupedListModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_top.size());
    if (parent.column() != 0)
        return 0;
    const int group = groupAt(parent);
    return group < 0 ? 0 : int(m_groups[group].children.size());
}

int GroupedListModel::columnCount(const QModelIndex &) const
{
    return int(m_columns.size()) + 1;
}

int GroupedListModel::columnOf(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].field.compare(field, Qt::CaseInsensitive) == 0)
            return c + 1;
    return -1;
}

bool GroupedListModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant GroupedListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    const int group = groupAt(index);
    if (group >= 0) {
        const Group &g = m_groups[group];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return index.column() == 0 ? QVariant(levelText(g.level, g.key)) : QVariant();
        case RecordRole:
            return g.firstRecord;
        case GroupLevelRole:
            return g.level;
        case BoldRole:
            return m_levels[g.level].bold;
        case IsPictureRole:
            return false;
        default:
            return {};
        }
    }
    const int record = recordOf(index);
    const int declared = index.column() - 1;
    const int c = declared >= 0 && declared < m_columnIndexes.size() ? m_columnIndexes[declared] : -1;
    const bool picture = declared >= 0 && declared < m_columns.size() && m_columns[declared].kind == Column::Picture;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (picture || c < 0)
            return {};
        return m_dataSet.valueAt(record, c).isNull() ? QString() : m_dataSet.valueAt(record, c).toString();
    case PictureRole:
        if (!picture || c < 0)
            return {};
        try {
            if (m_dataSet.isNullAt(record, c))
                return {};
            return m_dataSet.blobAt(record, c);
        } catch (const Error &) {
            return {}; // a picture that cannot be read shows as an empty cell, like a broken one
        }
    case RecordRole:
        return record;
    case GroupLevelRole:
        return -1;
    case BoldRole:
        return false;
    case IsPictureRole:
        return picture;
    default:
        return {};
    }
}

QVariant GroupedListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 1 || section > m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section - 1].field;
    return {};
}

Qt::ItemFlags GroupedListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!isGroup(index))
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}
