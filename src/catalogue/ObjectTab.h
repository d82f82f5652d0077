#pragma once
// The object tab ("obieqti"): the grouped object list above the object search panel, and the
// commands of the tab itself (search, clear, the rubric lookup, the rubric expansion, and what
// showing and hiding the tab does).
#include "widgets/CaptionPanel.h"

#include <QWidget>

struct ObjectCriteria;
class LookupEditor;
class QLineEdit;
class QToolButton;
class GroupedListView;
struct WindowParts;

class ObjectTab : public QWidget {
    Q_OBJECT
public:
    explicit ObjectTab(WindowParts &parts, QWidget *parent = nullptr);

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
    void ObieqtiSearchPnButtonClick(CaptionPanel::Button button);

private:
    void setUpList();
    // The criteria the six search fields hold now.
    ObjectCriteria criteria() const;

    WindowParts &m_parts;
    // The list opened by the first show is shown collapsed once its rows are in.
    bool m_collapseWhenListed = false;
};
