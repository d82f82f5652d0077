#include "widgets/GroupedListView.h"

#include "common/GeorgianScript.h"
#include "data/DataSet.h"
#include "data/GroupedListModel.h"
#include "widgets/GroupedListDelegate.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

GroupedListView::GroupedListView(QWidget *parent) : QTreeView(parent), m_delegate(new GroupedListDelegate(*this))
{
    setItemDelegate(m_delegate);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Per row: the scroll range then needs no row heights beyond the rows shown.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(true);
    setUniformRowHeights(false);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(false);
    setExpandsOnDoubleClick(true);
    setIndentation(14);
    header()->hide();
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    setColours(m_colours);

    connect(this, &QTreeView::collapsed, this, &GroupedListView::keepFocusVisible);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_model)
            Q_EMIT rowDoubleClicked(m_model->recordOf(index), m_model->isGroup(index));
    });
}

GroupedListView::~GroupedListView() = default;

void GroupedListView::setModel(QAbstractItemModel *model)
{
    for (const QMetaObject::Connection &c : std::as_const(m_modelConnections))
        disconnect(c);
    m_modelConnections.clear();
    m_model = qobject_cast<GroupedListModel *>(model);
    QTreeView::setModel(model);
    m_delegate->clearPictures();
    if (!m_model) {
        Q_EMIT listReset();
        return;
    }
    m_modelConnections.append(connect(m_model, &GroupedListModel::focusRequested, this, &GroupedListView::focusRecordRow));
    m_modelConnections.append(connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_delegate->clearPictures();
        applyColumnWidths();
        Q_EMIT listReset();
    }));
    applyColumnWidths();
    focusRecordRow(m_model->focusedIndex());
    Q_EMIT listReset();
}

void GroupedListView::applyColumnWidths()
{
    if (!m_model || header()->count() == 0)
        return;
    // Column 0 holds only the tree: wide enough for the indentation of the data rows.
    const int levels = int(m_model->levels().size());
    setRootIsDecorated(levels > 0);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    header()->resizeSection(0, levels > 0 ? indentation() * (levels + 1) : 0);
    // There is no horizontal scroll bar: when the list is narrower than the preferred widths,
    // text columns give up the difference (down to a readable minimum) so pictures stay whole.
    const auto &columns = m_model->columns();
    int spare = viewport()->width() - header()->sectionSize(0);
    for (const auto &column : columns)
        spare -= column.width;
    constexpr int narrowestText = 60;
    for (int c = 0; c < columns.size() && c + 1 < header()->count(); ++c) {
        if (columns[c].width > 0) {
            int width = columns[c].width;
            if (spare < 0 && columns[c].kind == GroupedListModel::Column::Text) {
                const int given = qMin(-spare, qMax(0, width - narrowestText));
                width -= given;
                spare += given;
            }
            header()->setSectionResizeMode(c + 1, QHeaderView::Fixed);
            header()->resizeSection(c + 1, width);
        } else {
            header()->setSectionResizeMode(c + 1, QHeaderView::Stretch);
        }
    }
}

bool GroupedListView::viewportEvent(QEvent *event)
{
    // The viewport narrows also when the vertical scroll bar appears, without the list resizing.
    if (event->type() == QEvent::Resize)
        applyColumnWidths();
    return QTreeView::viewportEvent(event);
}

void GroupedListView::keyPressEvent(QKeyEvent *event)
{
    // Georgian letters read correctly in whatever the text is pasted into, and can be searched there.
    if (event->matches(QKeySequence::Copy)) {
        if (const QString name = focusedName(); !name.isEmpty())
            QGuiApplication::clipboard()->setText(GeorgianScript::toUnicode(name));
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

QString GroupedListView::focusedName() const
{
    const QModelIndex current = currentIndex();
    if (!m_model || !current.isValid())
        return QString();
    if (m_model->isGroup(current))
        return m_model->groupText(current);
    const DataSet &records = m_model->dataSet();
    const int column = records.isOpen() ? records.columnIndex(m_nameField) : -1;
    const int record = m_model->recordOf(current);
    return column < 0 || record < 0 ? QString() : records.valueAt(record, column).toString();
}

void GroupedListView::setColours(const Colours &colours)
{
    m_colours = colours;
    QPalette p = palette();
    p.setColor(QPalette::Base, colours.background);
    p.setColor(QPalette::Window, colours.background);
    // The branch area of a selected row keeps the list's colour: selection shows in the font.
    p.setColor(QPalette::Highlight, colours.background);
    p.setColor(QPalette::HighlightedText, colours.selectedText);
    setPalette(p);
    viewport()->update();
}

void GroupedListView::setRowsFitText(bool fit)
{
    m_rowsFitText = fit;
    m_delegate->clearPictures();
    scheduleDelayedItemsLayout();
}

void GroupedListView::changeEvent(QEvent *event)
{
    // Row heights were measured in the old font.
    if (event->type() == QEvent::FontChange)
        m_delegate->clearPictures();
    QTreeView::changeEvent(event);
}

void GroupedListView::focusRecordRow(const QModelIndex &index)
{
    if (!index.isValid()) {
        selectionModel()->clear();
        // A rebuild drops the focused row without telling currentChanged().
        if (m_hasFocusedRow) {
            m_hasFocusedRow = false;
            Q_EMIT focusedRecordChanged(-1);
        }
        return;
    }
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    // Scroll first: the selection's repaint region is then found near the top row, instead of
    // by measuring every row between the old position and the new one.
    selectionModel()->clearSelection();
    scrollTo(index);
    setCurrentIndex(index);
}

void GroupedListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    // The row counts, not the cell: moving between the cells of one row changes nothing.
    if (current.siblingAtColumn(0) == previous.siblingAtColumn(0))
        return;
    m_hasFocusedRow = current.isValid();
    if (!m_model)
        return;
    m_model->setFocusedIndex(current);
    Q_EMIT focusedRecordChanged(m_model->recordOf(current));
}

void GroupedListView::keepFocusVisible()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    QModelIndexList ancestors;
    for (QModelIndex parent = current.parent(); parent.isValid(); parent = parent.parent())
        ancestors.prepend(parent);
    for (const QModelIndex &ancestor : std::as_const(ancestors)) {
        if (!isExpanded(ancestor)) {
            setCurrentIndex(ancestor);
            return;
        }
    }
}

void GroupedListView::collapseAllRows()
{
    collapseAll();
    keepFocusVisible();
}

void GroupedListView::forEachGroup(const QModelIndex &parent, const QString &path,
                                   const std::function<void(const QModelIndex &, const QString &)> &visit) const
{
    // A level holds either groups or data rows; only the groups are walked, never the records.
    for (int row = 0; row < m_model->rowCount(parent); ++row) {
        const QModelIndex group = m_model->index(row, 0, parent);
        if (!m_model->isGroup(group))
            return;
        const QString groupPath = path + m_model->groupKey(group).toString() + QChar(0x1F);
        visit(group, groupPath);
        forEachGroup(group, groupPath, visit);
    }
}

QSet<QString> GroupedListView::expandedGroups() const
{
    QSet<QString> groups;
    if (m_model) {
        forEachGroup({}, {}, [&](const QModelIndex &group, const QString &path) {
            if (isExpanded(group))
                groups.insert(path);
        });
    }
    return groups;
}

void GroupedListView::expandGroups(const QSet<QString> &groups)
{
    if (!m_model || groups.isEmpty())
        return;
    forEachGroup({}, {}, [&](const QModelIndex &group, const QString &path) {
        if (groups.contains(path))
            expand(group);
    });
}

void GroupedListView::expandRowRecursively(const QModelIndex &index)
{
    if (index.isValid())
        expandRecursively(index.siblingAtColumn(0));
}

void GroupedListView::expandVisibleRowRecursively(int position)
{
    expandRowRecursively(visibleRow(position));
}

int GroupedListView::firstSelectedVisibleRow() const
{
    if (!model() || !selectionModel())
        return -1;
    const QModelIndexList selected = selectionModel()->selectedRows();
    int best = -1;
    for (const QModelIndex &index : selected) {
        int position = 0;
        for (QModelIndex i = model()->index(0, 0, rootIndex()); i.isValid(); i = indexBelow(i), ++position) {
            if (i == index) {
                if (best < 0 || position < best)
                    best = position;
                break;
            }
        }
    }
    return best;
}

QModelIndex GroupedListView::visibleRow(int position) const
{
    if (!model() || position < 0)
        return {};
    QModelIndex i = model()->index(0, 0, rootIndex());
    for (int n = 0; n < position && i.isValid(); ++n)
        i = indexBelow(i);
    return i;
}

int GroupedListView::focusedRecord() const
{
    return m_model ? m_model->recordOf(currentIndex()) : -1;
}

bool GroupedListView::showRecord(const std::function<int()> &find, const std::function<void()> &showAll)
{
    if (!m_model)
        return false;
    DataSet &records = m_model->dataSet();
    if (records.isLoading())
        records.open();
    int record = records.isOpen() ? find() : -1;
    if (record < 0) {
        showAll();
        record = records.isOpen() ? find() : -1;
        if (record < 0)
            return false;
    }
    records.setCurrentRow(record);
    focusRecordRow(m_model->indexOfRecord(record));
    return true;
}

void GroupedListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_model || !m_model->isGroup(index)) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    // A group row is one cell from its branch indicator to the right edge.
    int depth = 0;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        ++depth;
    const int left = columnViewportPosition(0);
    const int indent = indentation() * (depth + (rootIsDecorated() ? 1 : 0));
    const QRect row(left, option.rect.y(), viewport()->width() - left, option.rect.height());
    painter->fillRect(row, m_colours.groups);
    drawBranches(painter, QRect(left, row.y(), indent, row.height()), index);
    QStyleOptionViewItem cell = option;
    cell.rect = QRect(left + indent, row.y(), std::max(0, row.width() - indent), row.height());
    const QModelIndex first = index.siblingAtColumn(0);
    if (selectionModel() && selectionModel()->isRowSelected(first.row(), first.parent()))
        cell.state |= QStyle::State_Selected;
    m_delegate->paint(painter, cell, first);
}
