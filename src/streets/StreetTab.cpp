#include "streets/StreetTab.h"

#include "app/MainState.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/TabLayout.h"
#include "app/WindowParts.h"
#include "data/DataModule.h"
#include "map/MarkerLayer.h"
#include "widgets/LookupEditor.h"
#include "widgets/VirtualKey.h"

#include <QLineEdit>
#include "widgets/GroupedListView.h"

StreetTab::StreetTab(WindowParts &parts, QWidget *parent) : QWidget(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("quCaTSh"));
    StreetGrid = TabLayout::makeList("StreetGrid", this);

    quCaSearchPn = TabLayout::makePanel("quCaSearchPn", PanelDesignHeight, this);
    quCaSearchPn->setColours(CaptionPanel::Colours::InactiveCaption);
    CaptionPanel &panel = *quCaSearchPn;
    quCisTipiCb = TabLayout::lookup(panel, "quCisTipiCb", m_parts.DM1.quCisTipi_Qr, "aRwera", "quCis_tipi_kodi");
    quCisSaxeliEd = TabLayout::textField(panel, "quCisSaxeliEd");
    TabLayout::addField(panel, QStringLiteral("quCis tipi"), quCisTipiCb);
    TabLayout::addField(panel, QStringLiteral("quCis dasaxeleba"), quCisSaxeliEd);
    std::tie(Street_FilterBtn, SpeedButton1) = TabLayout::addButtons(panel, "Street_FilterBtn", "SpeedButton1");
    TabLayout::stack(this, StreetGrid, quCaSearchPn);
}

QList<QWidget *> StreetTab::searchFieldKeyTargets() const
{
    return {quCisTipiCb->lineEdit(), quCisSaxeliEd};
}

void StreetTab::Street_FilterBtnClick() {}

void StreetTab::SpeedButton1Click() {}

void StreetTab::quCisTipiCbKeyDown(int key)
{
    if (key == VirtualKey::Enter)
        Street_FilterBtnClick();
}

void StreetTab::quCaTShShow()
{
    DataModule &dm = m_parts.DM1;
    dm.quCisTipi_Qr.open();
    dm.RaioniQr.open();
    dm.quCa_Qr.open();
    m_parts.toolBar.enableOnly(MainToolBar::Group::Streets);
    m_parts.statusBar.setText(m_parts.state.StreetSearchStatus);
}

void StreetTab::quCaTShHide()
{
    m_parts.markers.ClearStreetMarkers();
}

void StreetTab::MenuItem9Click()
{
    quCaSearchPn->hide();
}

void StreetTab::quCaSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*quCaSearchPn, button, PanelRestoredHeight);
}
