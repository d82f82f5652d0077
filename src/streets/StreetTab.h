#pragma once
// The street tab ("quCa"): the street list grouped by district above the street search panel,
// and the commands of the tab itself (search, clear, showing and hiding the tab).
#include "widgets/CaptionPanel.h"

#include <QWidget>

class CommandGroups;
class DataModule;
class GroupedListFooter;
class GroupedListModel;
class GroupedListView;
class LookupEditor;
class MarkerLayer;
class QLineEdit;
class QToolButton;
class StatusLine;
struct MainState;
struct StreetCriteria;

class StreetTab : public QWidget {
    Q_OBJECT
public:
    // `groups` and `status` are the main window's switches and status bar; the tab leaves the
    // map's street markers to `markers` when it is hidden.
    StreetTab(DataModule &dm, MainState &state, CommandGroups &groups, StatusLine &status, MarkerLayer &markers,
              QWidget *parent = nullptr);

    // The street list over quCa_Qr: district rows (the district's name), street rows (the name),
    // and the number of streets in the footer under the names.
    GroupedListView *StreetGrid;
    GroupedListFooter *streetGridFooter;
    CaptionPanel *quCaSearchPn;
    LookupEditor *quCisTipiCb;
    QLineEdit *quCisSaxeliEd;
    QToolButton *Street_FilterBtn;
    QToolButton *SpeedButton1;

    static constexpr int PanelDesignHeight = 165;
    static constexpr int PanelRestoredHeight = 175;

    // The widgets that receive the keys typed into the two search fields (see ObjectTab).
    QList<QWidget *> searchFieldKeyTargets() const;

    void Street_FilterBtnClick();
    void SpeedButton1Click();
    // A key pressed in either search field, as a virtual-key code: Enter runs the search.
    void quCisTipiCbKeyDown(int key);
    void quCaTShShow();
    void quCaTShHide();
    void MenuItem9Click();
    // Puts the street list on the street of this code (see ObjectTab::focusObject).
    bool focusStreet(int code);
    void quCaSearchPnButtonClick(CaptionPanel::Button button);

private:
    // The criteria the two search fields hold now.
    StreetCriteria criteria() const;

    DataModule &m_dm;
    MainState &m_state;
    CommandGroups &m_groups;
    StatusLine &m_status;
    MarkerLayer &m_markers;
    GroupedListModel *m_model;
};
