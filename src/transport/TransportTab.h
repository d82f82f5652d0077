#pragma once
// The transport tab ("transporti"): the route-stop list grouped by transport type and route
// above the transport search panel, and the commands of the tab itself (search, clear, the
// route expansion, showing the tab).
#include "widgets/CaptionPanel.h"

#include <QWidget>

class LookupEditor;
class QLineEdit;
class QToolButton;
class GroupedListView;
struct WindowParts;

class TransportTab : public QWidget {
    Q_OBJECT
public:
    explicit TransportTab(WindowParts &parts, QWidget *parent = nullptr);

    GroupedListView *TransportiGrid;
    CaptionPanel *transportiSearchPn;
    LookupEditor *TransportisTipiEd;
    QLineEdit *TransportiSaxeliEd;
    QLineEdit *GaCerebaEd;
    QToolButton *Transp_FilterBtn;
    QToolButton *SpeedButton4;

    static constexpr int PanelDesignHeight = 213;
    static constexpr int PanelRestoredHeight = 230;

    // The widgets that receive the keys typed into the three search fields (see ObjectTab).
    QList<QWidget *> searchFieldKeyTargets() const;

    void Transp_FilterBtnClick();
    void SpeedButton4Click();
    // A key pressed in any of the search fields, as a virtual-key code: Enter runs the search.
    void TransportisTipiEdKeyDown(int key);
    void TransportiTSHShow();
    void transportisgaSla1Click();
    void MenuItem14Click();
    void transportiSearchPnButtonClick(CaptionPanel::Button button);

private:
    // The extra WHERE conditions of the search fields, each beginning with " AND ".
    QString searchFilter() const;

    WindowParts &m_parts;
};
