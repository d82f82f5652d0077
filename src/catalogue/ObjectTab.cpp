#include "catalogue/ObjectTab.h"

#include "app/MainActions.h"
#include "app/MainState.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/TabLayout.h"
#include "app/WindowParts.h"
#include "data/DataModule.h"
#include "map/MarkerLayer.h"
#include "widgets/LookupEditor.h"
#include "widgets/VirtualKey.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include "widgets/GroupedListView.h"

ObjectTab::ObjectTab(WindowParts &parts, QWidget *parent) : QWidget(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("obieqtiTSH"));
    ObjectGrid = TabLayout::makeList("ObjectGrid", this);

    ObieqtiSearchPn = TabLayout::makePanel("ObieqtiSearchPn", PanelDesignHeight, this);
    ObieqtiSearchPn->setCaptionBold(true);
    ObieqtiSearchPn->setColours(CaptionPanel::Colours::ActiveCaption);
    ObieqtiSearchPn->setButtonsFlat(true);
    CaptionPanel &panel = *ObieqtiSearchPn;
    DataModule &dm = m_parts.DM1;
    RubrikaCb = TabLayout::lookup(panel, "RubrikaCb", dm.rubrikaQr, "saxeli", "rubrika_kodi");
    QveRubrikaCb = TabLayout::lookup(panel, "QveRubrikaCb", dm.Search_qve_rubrika_Qr, "saxeli", "qve_rubrika_kodi");
    ObieqtiEd = TabLayout::textField(panel, "ObieqtiEd");
    ObieqtisRaioniCb = TabLayout::lookup(panel, "ObieqtisRaioniCb", dm.RaioniQr, "saxeli", "raioni_kodi");
    misamarTiEd = TabLayout::textField(panel, "misamarTiEd");
    telefoniEd = TabLayout::textField(panel, "telefoniEd");
    TabLayout::addField(panel, QStringLiteral("rubrika"), RubrikaCb);
    TabLayout::addField(panel, QStringLiteral("qverubrika"), QveRubrikaCb);
    TabLayout::addField(panel, QStringLiteral("obieqtis saxeli"), ObieqtiEd);
    TabLayout::addField(panel, QStringLiteral("raioni"), ObieqtisRaioniCb);
    TabLayout::addField(panel, QStringLiteral("misamarTi"), misamarTiEd);
    TabLayout::addField(panel, QStringLiteral("telefoni"), telefoniEd);
    std::tie(Obj_FilterBtn, ClearBtn) = TabLayout::addButtons(panel, "Obj_FilterBtn", "ClearBtn");
    TabLayout::stack(this, ObjectGrid, ObieqtiSearchPn);
}

QList<QWidget *> ObjectTab::searchFieldKeyTargets() const
{
    return {RubrikaCb->lineEdit(), QveRubrikaCb->lineEdit(), ObieqtiEd,
            ObieqtisRaioniCb->lineEdit(), misamarTiEd, telefoniEd};
}

void ObjectTab::Obj_FilterBtnClick() {}

void ObjectTab::ClearBtnClick() {}

void ObjectTab::RubrikaCbCloseUp() {}

void ObjectTab::RubrikaCbKeyDown(int key)
{
    if (key == VirtualKey::Enter)
        Obj_FilterBtnClick();
}

void ObjectTab::rubrikissruligaSla1Click() {}

void ObjectTab::obieqtiTSHShow()
{
    DataModule &dm = m_parts.DM1;
    dm.RaioniQr.open();
    dm.rubrikaQr.open();
    dm.qve_rubrika_Qr.open();
    dm.Search_qve_rubrika_Qr.open();
    if (!dm.obieqti_logo_Qr.isOpen()) {
        dm.obieqti_logo_Qr.open();
        ObjectGrid->collapseAll();
    }
    m_parts.actions.gaaqtiurebaobieqtebisxeze1->setVisible(true);
    m_parts.actions.gamyofi1->setVisible(true);
    m_parts.toolBar.enableOnly(MainToolBar::Group::Objects);
    m_parts.statusBar.setText(m_parts.state.ObjectSearchStatus);
}

void ObjectTab::obieqtiTSHHide()
{
    m_parts.DM1.Search_qve_rubrika_Qr.close();
    m_parts.actions.gaaqtiurebaobieqtebisxeze1->setVisible(false);
    m_parts.actions.gamyofi1->setVisible(false);
    m_parts.toolBar.ObjDetBtn->setEnabled(false);
    m_parts.markers.ClearObjectMarkers();
    m_parts.markers.ClearStopMarkers();
}

void ObjectTab::saZieblisdaxurva1Click()
{
    ObieqtiSearchPn->hide();
}

void ObjectTab::ObieqtiSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*ObieqtiSearchPn, button, PanelRestoredHeight);
}
