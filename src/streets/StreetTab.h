#pragma once
// The street tab ("quCa"): the street list grouped by district above the street search panel,
// and the commands of the tab itself (search, clear, showing and hiding the tab).
#include "widgets/CaptionPanel.h"

#include <QWidget>

class LookupEditor;
class QLineEdit;
class QToolButton;
class GroupedListView;
struct WindowParts;

class StreetTab : public QWidget {
    Q_OBJECT
public:
    explicit StreetTab(WindowParts &parts, QWidget *parent = nullptr);

    GroupedListView *StreetGrid;
    CaptionPanel *quCaSearchPn;
    LookupEditor *quCisTipiCb;
    QLineEdit *quCisSaxeliEd;
    QToolButton *Street_FilterBtn;
    QToolButton *SpeedButton1;

    static constexpr int PanelDesignHeight = 165;
    static constexpr int PanelRestoredHeight = 175;

    // The widgets that receive the keys typed into the two search fields.
    QList<QWidget *> searchFieldKeyTargets() const;

    void Street_FilterBtnClick();
    void SpeedButton1Click();
    // A key pressed in either search field, as a virtual-key code: Enter runs the search.
    void quCisTipiCbKeyDown(int key);
    void quCaTShShow();
    void quCaTShHide();
    void MenuItem9Click();
    void quCaSearchPnButtonClick(CaptionPanel::Button button);

private:
    WindowParts &m_parts;
};
