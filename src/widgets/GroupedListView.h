#pragma once
// The read-only grouped list of the object, street and transport tabs: a QTreeView over a
// GroupedListModel, without header or grid lines, with a vertical scroll bar only, elided text,
// group rows drawn across the whole width, and the selected row in a bold coloured font.
//
//   GroupedListView view;
//   view.setModel(&model);                 // a GroupedListModel; column widths come from it
//   connect(&view, &GroupedListView::rowDoubleClicked, ...);
//
// Focus follows the model's data set both ways: a row the user focuses makes its record (a
// group row: the first record under it) the data set's current record, and a record a command
// locates in the data set becomes the focused row, its groups expanded and scrolled into view.
// Collapsing a group that holds the focused row moves the focus to that group's row.
//
// Ctrl+C copies the focused row's name to the clipboard in Georgian letters, as the display font
// draws it: a group row's text, or the name field of a data row's record.
#include "widgets/GroupedRows.h"

#include <QSet>
#include <QTreeView>

#include <functional>

class GroupedListDelegate;
class GroupedListModel;

class GroupedListView : public QTreeView, public GroupedRows {
    Q_OBJECT
public:
    struct Colours {
        QColor background{192, 220, 192}; // the empty area below the rows
        QColor rows{192, 220, 192};       // cells of data rows
        QColor groups{192, 220, 192};     // group rows
        QColor selectedText{0, 128, 128}; // font colour of the selected row, drawn bold
    };

    explicit GroupedListView(QWidget *parent = nullptr);
    ~GroupedListView() override;

    // Takes a GroupedListModel (any other model is shown as it is, without the list's behaviour).
    void setModel(QAbstractItemModel *model) override;
    GroupedListModel *listModel() const { return m_model; }

    void setColours(const Colours &colours);
    const Colours &colours() const { return m_colours; }
    // true (the default): a row grows to show its whole wrapped text. false: rows take the height
    // of their pictures or of one line, and longer text is wrapped into it and elided.
    void setRowsFitText(bool fit);
    bool rowsFitText() const { return m_rowsFitText; }
    // The field of the data set that names a data row's record.
    void setNameField(const QString &field) { m_nameField = field; }

    // GroupedRows.
    void collapseAllRows() override;
    int firstSelectedVisibleRow() const override;
    void expandVisibleRowRecursively(int position) override;
    bool isShown() const override { return isVisible(); }
    void takeFocus() override { setFocus(); }

    // The open groups, each named by its keys from the top level down, and opening the groups so
    // named: what the user opened survives a rebuild of the list from its data set.
    QSet<QString> expandedGroups() const;
    void expandGroups(const QSet<QString> &groups);

    // Expands a row and every row below it.
    void expandRowRecursively(const QModelIndex &index);
    // The row shown at that position, or an invalid index.
    QModelIndex visibleRow(int position) const;
    // The record the focused row stands for, -1 when none.
    int focusedRecord() const;
    // Makes the record that `find` gives (-1: none) the data set's current record and focuses its
    // row, its groups opened and scrolled into view, whether or not it was current before. A read
    // of the data set under way is waited for. When the list lacks the record (a search left it
    // out, or the list is closed), `showAll` puts the list back on all its rows and `find` is asked
    // again. False when the list lacks the record even then.
    bool showRecord(const std::function<int()> &find, const std::function<void()> &showAll);

    GroupedListDelegate &pictureDelegate() const { return *m_delegate; }

Q_SIGNALS:
    // The focused row changed (by the user, by a command that located a record, or because the
    // data set was reopened); `record` is the record it stands for, -1 for none.
    void focusedRecordChanged(int record);
    // A row was double-clicked; a group row gives the first record under it.
    void rowDoubleClicked(int record, bool groupRow);
    // The list was rebuilt from its data set, or given another model.
    void listReset();

protected:
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void changeEvent(QEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void focusRecordRow(const QModelIndex &index);
    void keepFocusVisible();
    void applyColumnWidths();
    // The name of the focused row as the list shows it, empty when none.
    QString focusedName() const;
    // Calls `visit` for every group row under `parent` with its path of keys.
    void forEachGroup(const QModelIndex &parent, const QString &path,
                      const std::function<void(const QModelIndex &, const QString &)> &visit) const;

    GroupedListModel *m_model = nullptr;
    GroupedListDelegate *m_delegate = nullptr;
    Colours m_colours;
    bool m_rowsFitText = true;
    QString m_nameField;
    bool m_hasFocusedRow = false;
    QList<QMetaObject::Connection> m_modelConnections;
};
