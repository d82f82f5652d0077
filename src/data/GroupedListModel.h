#pragma once
// A read-only tree over the rows of a DataSet, as the object, street and transport lists show
// them: group rows, one level per grouping column, with the data rows under the deepest group.
//
//   GroupedListModel model(dm.obieqti_logo_Qr);
//   model.setLevels({GroupedListModel::Level::lookup("rubrika_kodi", dm.rubrikaQr, "rubrika_kodi", "saxeli"),
//                    GroupedListModel::Level::lookup("qve_rubrika_kodi", dm.qve_rubrika_Qr,
//                                                    "qve_rubrika_kodi", "saxeli"),
//                    GroupedListModel::Level::text("saxeli", /*bold=*/true)});
//   model.setColumns({GroupedListModel::Column::picture("sareklamo_failis_logo", 20),
//                     GroupedListModel::Column::text("rek", 180),
//                     GroupedListModel::Column::picture("tree_Logo", 150)});
//
// Ordering: the groups of each level are sorted ascending by their key, the grouping column's
// value (numbers by value, texts by character codes, nulls first), whatever a lookup shows for
// them. Within the deepest group the rows keep the data set's order, or follow the row order
// column when one is set (ascending, ties in data set order).
//
// Rows and the data set: the tree is rebuilt whenever the data set is opened or closed (its
// reset() signal); group labels of a lookup level are refreshed when the lookup's data set is
// reopened. Every row stands for one record of the data set: a data row for its own, a group
// row for the first record shown under it. The model keeps the data set's current record and
// the focused row together in both directions:
//   - setFocusedIndex(): the view reports the row the user focused; the data set moves to its
//     record.
//   - focusRequested(): the data set's current record moved elsewhere (a command located a
//     record, or the data set was reopened); the view should focus and reveal that data row.
// Columns: column 0 carries the tree (its indentation and expand marks); group rows show their
// text there and are drawn across the whole width; data rows leave it empty. The declared
// columns follow from column 1 on (columnOf() maps a field to its column).
//
// The model never runs SQL; building the tree costs O(n log n) in the record count. The data set
// (and a lookup's data set) must outlive the model.
#include <QAbstractItemModel>
#include <QHash>
#include <QPointer>
#include <QVector>

#include <functional>

class DataSet;

class GroupedListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role {
        RecordRole = Qt::UserRole + 1, // int: the record a row stands for (-1 for none)
        GroupLevelRole,                // int: the grouping level of a group row, -1 for a data row
        BoldRole,                      // bool: the row's level is shown in bold
        PictureRole,                   // QByteArray: the picture bytes of a picture cell (null: none)
        IsPictureRole,                 // bool: the cell belongs to a picture column
    };

    struct Level {
        QString column;                                  // grouping column of the data set
        std::function<QString(const QVariant &)> display; // shown text of a key; empty: the key's text
        bool bold = false;
        // A lookup level shows the `sourceName` of the `source` record whose `sourceKey` equals
        // the group key (empty when there is none or the source is closed).
        QPointer<DataSet> source;
        QString sourceKey;
        QString sourceName;

        // Groups by a column and shows its own text.
        static Level text(const QString &column, bool bold = false);
        // Groups by a key column and shows the name that another data set gives the key.
        static Level lookup(const QString &column, DataSet &source, const QString &sourceKey,
                            const QString &sourceName, bool bold = false);
        // Groups by a column and shows what `display` makes of the key.
        static Level custom(const QString &column, std::function<QString(const QVariant &)> display,
                            bool bold = false);
    };

    struct Column {
        enum Kind { Text, Picture };
        QString field;
        Kind kind = Text;
        int width = 0; // preferred width in pixels; 0: takes the width that is left

        static Column text(const QString &field, int width = 0) { return {field, Text, width}; }
        static Column picture(const QString &field, int width) { return {field, Picture, width}; }
    };

    explicit GroupedListModel(DataSet &dataSet, QObject *parent = nullptr);
    ~GroupedListModel() override;

    DataSet &dataSet() const { return m_dataSet; }
    void setLevels(const QList<Level> &levels);
    const QList<Level> &levels() const { return m_levels; }
    void setColumns(const QList<Column> &columns);
    const QList<Column> &columns() const { return m_columns; }
    // The model column of a declared column's field (first match, case ignored), -1 when none.
    int columnOf(const QString &field) const;
    // Orders the rows within their deepest group by this column; empty keeps the data set order.
    void setRowOrder(const QString &column);

    // Rows and records.
    bool isGroup(const QModelIndex &index) const;
    int groupLevel(const QModelIndex &index) const; // -1 for a data row or an invalid index
    int recordOf(const QModelIndex &index) const;   // the record a row stands for, -1 for none
    QModelIndex indexOfRecord(int record, int column = 0) const; // a cell of the data row of a record
    QString groupText(const QModelIndex &index) const;
    // The grouping column's value that a group row stands for (null for a data row).
    QVariant groupKey(const QModelIndex &index) const;
    // Text of a key as a level shows it.
    QString levelText(int level, const QVariant &key) const;

    // Focus: see the header comment.
    void setFocusedIndex(const QModelIndex &index);
    QModelIndex focusedIndex() const;

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;

Q_SIGNALS:
    // The data set's current record is `index`'s; the view should focus and reveal it. An invalid
    // index means that no record is current.
    void focusRequested(const QModelIndex &index);

private:
    struct Group {
        int parent = -1;      // parent group, -1 for the top level
        int row = 0;          // row under the parent
        int level = 0;
        int firstRecord = -1; // first record shown under the group
        QVariant key;
        QVector<int> children; // groups of the next level, or records under the deepest level
    };
    // Where a record is shown: its deepest group (-1: top level) and its row there. An index's
    // internalId holds its parent group, so that parent() and data() find it in O(1).
    struct Place {
        int group = -1;
        int row = -1;
    };

    void rebuild();
    void followCurrentRecord(int record);
    void loadLookup(int level);
    void refreshLookup(int level);
    void connectLookups();
    const QVector<int> &childrenOf(int group) const;
    int parentGroupOf(const QModelIndex &index) const;
    int groupAt(const QModelIndex &index) const; // the group a group row shows, -1 for a data row
    QModelIndex groupIndex(int group) const;

    DataSet &m_dataSet;
    QList<Level> m_levels;
    QList<Column> m_columns;
    QString m_rowOrder;
    QVector<int> m_columnIndexes; // data set column of each visible column, -1 when absent

    QVector<Group> m_groups;
    QVector<int> m_top;          // top-level groups, or records when there is no level
    QVector<Place> m_places;     // where each record is shown
    QVector<QHash<QString, QString>> m_lookupTables; // per level: key text -> shown name
    QList<QMetaObject::Connection> m_lookupConnections;

    // The focused row as the view reported it or the model requested it: a group, or a record.
    int m_focusedGroup = -1;
    int m_focusedRecord = -1;
};
