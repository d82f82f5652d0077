#pragma once
// What the three tabs share: a list filling the tab above a search panel docked at the bottom;
// the panels' caption buttons; the way their fields are laid out (each label above its field,
// the search and clear buttons at the bottom).
#include "widgets/CaptionPanel.h"

class DataSet;
class LookupEditor;
class QLineEdit;
class QToolButton;
class GroupedListView;

namespace TabLayout {

constexpr int MinimisedHeight = 40;

// The read-only list of a tab: no headers, no editing, a vertical scroll bar only; its popup
// menu is opened by the main window.
GroupedListView *makeList(const char *name, QWidget *tab);
// Lays out the tab: the list fills it, the panel sits below the list.
void stack(QWidget *tab, GroupedListView *list, CaptionPanel *panel);

// Close hides the panel; minimise leaves its caption bar and top; restore sets `restoredHeight`.
void buttonClick(CaptionPanel &panel, CaptionPanel::Button button, int restoredHeight);

// A search panel with its caption "saZiebeli" and an empty column of fields.
CaptionPanel *makePanel(const char *name, int designHeight, QWidget *parent);
// Fields of the panel: a plain text field, and a lookup editor listing `listField` of the data
// set and yielding its `keyField`. Both take Georgian letters as the transliteration (GeorgianInput).
QLineEdit *textField(CaptionPanel &panel, const char *name);
LookupEditor *lookup(CaptionPanel &panel, const char *name, DataSet &dataSet, const char *listField,
                     const char *keyField);
// Adds a field with its label above it to the panel's column.
void addField(CaptionPanel &panel, const QString &label, QWidget *field);
// Adds the search and clear buttons below the fields; returns {search, clear}.
std::pair<QToolButton *, QToolButton *> addButtons(CaptionPanel &panel, const char *searchName,
                                                   const char *clearName);

} // namespace TabLayout
