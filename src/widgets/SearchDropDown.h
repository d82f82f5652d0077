#pragma once
// The list of search results that opens under a line edit while a person types into it: up to
// 20 places, streets, stops and routes from the search index, each with the picture of its kind,
// its name and what tells it apart, in the display font. Attach it to any line edit:
//
//   auto *dropDown = new SearchDropDown(*edit, search, SearchKinds(SearchKind::Stop) | SearchKind::Place);
//   connect(dropDown, &SearchDropDown::picked, this, [](const SearchResult &result) { ... });
//
// The line edit keeps the keyboard focus and the list follows its keys:
//   Down, Up        move through the results (Down opens the list again after it was closed)
//   Return, Enter   pick the highlighted result, or the first when none is highlighted
//   Esc             closes the list, and goes on to the line edit (which may act on it too)
// A click on a result picks it. Picking puts the result's name into the line edit, closes the
// list and emits picked(). The list closes when the line edit loses the focus or its text is
// emptied, and when its window moves. While the index is being read the list says so (one row
// that cannot be picked), and likewise when nothing matches, when the text was cut, and when the
// index could not be read (with the database's words).
#include "search/SearchResult.h"

#include <QListView>
#include <QObject>
#include <QPointer>

#include <vector>

class QLineEdit;
class QStandardItemModel;
class SearchService;

class SearchDropDown : public QObject {
    Q_OBJECT
public:
    // The line edit and the service must outlive the drop-down, which is a child of the line edit.
    SearchDropDown(QLineEdit &edit, SearchService &search, SearchKinds kinds = AllSearchKinds);
    ~SearchDropDown() override;

    bool isOpen() const;
    // The results listed, best first, and the list itself: a row for each result, then a row for
    // a note when there is one.
    const std::vector<SearchResult> &results() const { return m_results; }
    QListView *view() const { return m_view; }

    // Captions of the note rows.
    static const QString Preparing;
    static const QString Unavailable;
    static const QString NothingFound;
    static const QString TextCut;

Q_SIGNALS:
    void picked(const SearchResult &result);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void close();
    void moveHighlight(int step);
    void pick(int row);
    void place();

    QLineEdit &m_edit;
    SearchService &m_search;
    SearchKinds m_kinds;
    QPointer<QListView> m_view;
    QStandardItemModel *m_model;
    std::vector<SearchResult> m_results;
};
