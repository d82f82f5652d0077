#pragma once
// The street tab ("quCa"): the street list grouped by district above the street search panel,
// and the commands of the tab itself (search, clear, showing and hiding the tab).
#include "widgets/CaptionPanel.h"

#include <QWidget>

class GroupedListFooter;
class GroupedListModel;
class GroupedListView;
class LookupEditor;
class QLineEdit;
class QToolButton;
struct WindowParts;

class StreetTab : public QWidget {
    Q_OBJECT
public:
    explicit StreetTab(WindowParts &parts, QWidget *parent = nullptr);

    // The street list over quCa_Qr: district rows (the district's name), street rows (the name),
    // and the number of streets in the footer under the names.
    GroupedListView *StreetGrid;
    GroupedListFooter *StreetGridFooter;
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
    void quCaSearchPnButtonClick(CaptionPanel::Button button);

private:
    // The search condition of the two fields, without WHERE; empty when both are empty.
    QString streetFilter() const;

    WindowParts &m_parts;
    GroupedListModel *m_model;
};
