#pragma once
// The transport tab ("transporti"): the route-stop list grouped by transport type and route
// above the transport search panel, and the commands of the tab itself (search, clear, the
// route expansion, showing the tab).
#include "widgets/CaptionPanel.h"

#include <QWidget>

class CommandGroups;
class DataModule;
class GroupedListView;
class LookupEditor;
class MarkerLayer;
class QLineEdit;
class QToolButton;
class StatusLine;
struct MainState;
struct TransportCriteria;

class TransportTab : public QWidget {
    Q_OBJECT
public:
    // `groups` and `status` are the main window's switches and status bar; a search or an
    // expansion removes the map's stop markers through `markers`.
    TransportTab(DataModule &dm, MainState &state, CommandGroups &groups, StatusLine &status, MarkerLayer &markers,
                 QWidget *parent = nullptr);

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
    // Put the route-stop list on a stop (its first row) or a route (the row of its first stop), as
    // ObjectTab::focusObject does. False when the whole list lacks it.
    bool focusStop(int code);
    bool focusRoute(int code);
    void transportiSearchPnButtonClick(CaptionPanel::Button button);

private:
    // The criteria the three search fields hold now.
    TransportCriteria criteria() const;

    DataModule &m_dm;
    MainState &m_state;
    CommandGroups &m_groups;
    StatusLine &m_status;
    MarkerLayer &m_markers;
};
