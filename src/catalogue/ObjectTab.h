#pragma once
// The object tab ("obieqti"): the grouped object list above the object search panel, and the
// commands of the tab itself (search, clear, the rubric lookup, the rubric expansion, and what
// showing and hiding the tab does).
#include "widgets/CaptionPanel.h"

#include <QWidget>

class CommandGroups;
class DataModule;
class GroupedListView;
class LookupEditor;
class MarkerLayer;
class Prompts;
class QLineEdit;
class QToolButton;
class StatusLine;
struct MainState;
struct ObjectCriteria;

class ObjectTab : public QWidget {
    Q_OBJECT
public:
    // `groups` and `status` are the main window's switches and status bar; the tab leaves the
    // map's object and stop markers to `markers` when it is hidden.
    ObjectTab(DataModule &dm, MainState &state, Prompts &prompts, CommandGroups &groups, StatusLine &status,
              MarkerLayer &markers, QWidget *parent = nullptr);

    GroupedListView *ObjectGrid;
    CaptionPanel *ObieqtiSearchPn;
    LookupEditor *RubrikaCb;
    LookupEditor *QveRubrikaCb;
    QLineEdit *ObieqtiEd;
    LookupEditor *ObieqtisRaioniCb;
    QLineEdit *misamarTiEd;
    QLineEdit *telefoniEd;
    QToolButton *Obj_FilterBtn;
    QToolButton *ClearBtn;

    static constexpr int PanelDesignHeight = 320;
    static constexpr int PanelRestoredHeight = 320;

    // The widgets that receive the keys typed into the six search fields, in tab order. A lookup
    // editor receives them itself: its line edit hands the focus on to it.
    QList<QWidget *> searchFieldKeyTargets() const;

    void Obj_FilterBtnClick();
    void ClearBtnClick();
    void RubrikaCbCloseUp();
    // A key pressed in any of the search fields, as a virtual-key code: Enter runs the search.
    void RubrikaCbKeyDown(int key);
    void rubrikissruligaSla1Click();
    void obieqtiTSHShow();
    void obieqtiTSHHide();
    void saZieblisdaxurva1Click();
    // Puts the object list on the object of this code, its groups opened; a search that left it
    // out is cleared first (GroupedListView::showRecord). False when the whole list lacks it.
    bool focusObject(int code);
    void ObieqtiSearchPnButtonClick(CaptionPanel::Button button);

private:
    void setUpList();
    // The criteria the six search fields hold now.
    ObjectCriteria criteria() const;

    DataModule &m_dm;
    MainState &m_state;
    Prompts &m_prompts;
    CommandGroups &m_groups;
    StatusLine &m_status;
    MarkerLayer &m_markers;
    // The list opened by the first show is shown collapsed once its rows are in.
    bool m_collapseWhenListed = false;
};
