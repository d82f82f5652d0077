#pragma once
// The tool bar's one search box: the search index behind it, its drop-down, its keys (Ctrl+F and
// Ctrl+K take the person to it, Esc leaves it for the list of the tab shown) and what picking a
// result does. The box's placeholder says while the index is being read.
#include "search/SearchService.h"

#include <QObject>

class DataSet;
class ObjectMapCommands;
class ObjectTab;
class QLineEdit;
class QTabWidget;
class SearchDropDown;
class StreetMapCommands;
class StreetTab;
class TransportMapCommands;
class TransportTab;

class SearchBoxCommands : public QObject {
    Q_OBJECT
public:
    struct Tabs {
        QTabWidget &pages;
        ObjectTab &objects;
        StreetTab &streets;
        TransportTab &transport;
        ObjectMapCommands &objectMap;
        StreetMapCommands &streetMap;
        TransportMapCommands &transportMap;
    };

    // `box` is in `window`, whose shortcuts lead to it; everything must outlive the commands.
    SearchBoxCommands(DataModule &dm, QLineEdit &box, QWidget &window, Tabs tabs);
    ~SearchBoxCommands() override;

    SearchService &search() { return m_search; }
    SearchDropDown &dropDown() { return *m_dropDown; }

    // Starts reading the index once `list`, being read at start-up, is in: both reads at once
    // would share the processors that the first seconds of the window need.
    void startAfter(DataSet &list);

    // A picked result: its tab is shown and its list put on it, its groups opened (a search that
    // left it out is cleared first); the tab's own command shows it on the general map, and the
    // list has the keyboard, so the person goes on from there.
    void showSearchResult(const SearchResult &result);

private:
    void showState();
    void leaveBox();

    QLineEdit &m_box;
    Tabs m_tabs;
    SearchService m_search;
    SearchDropDown *m_dropDown;
};
