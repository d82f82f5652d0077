#pragma once
// What a command does to a grouped list besides moving its data set's current record: reads
// which row is selected, expands a group all the way down, collapses every group, and gives the
// list the keyboard focus. GroupedListView implements it.
class GroupedRows {
public:
    virtual ~GroupedRows() = default;
    // The position of the selected row among the rows now shown (group and data rows alike,
    // counting from 0), or -1 when no row is selected.
    virtual int firstSelectedVisibleRow() const = 0;
    // Expands the row shown at `position` and every row below it.
    virtual void expandVisibleRowRecursively(int position) = 0;
    // Collapses every row, all levels deep.
    virtual void collapseAllRows() = 0;
    // True while the list is on the screen (its tab is the one shown).
    virtual bool isShown() const = 0;
    virtual void takeFocus() = 0;
};
