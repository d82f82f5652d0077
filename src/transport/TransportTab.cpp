#include "transport/TransportTab.h"

#include "app/MainState.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/TabLayout.h"
#include "app/WindowParts.h"
#include "data/DataModule.h"
#include "widgets/LookupEditor.h"
#include "widgets/VirtualKey.h"

#include <QLineEdit>
#include "widgets/GroupedListView.h"

TransportTab::TransportTab(WindowParts &parts, QWidget *parent) : QWidget(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("TransportiTSH"));
    TransportiGrid = TabLayout::makeList("TransportiGrid", this);

    transportiSearchPn = TabLayout::makePanel("transportiSearchPn", PanelDesignHeight, this);
    transportiSearchPn->setColours(CaptionPanel::Colours::InactiveCaption);
    CaptionPanel &panel = *transportiSearchPn;
    TransportisTipiEd =
        TabLayout::lookup(panel, "TransportisTipiEd", m_parts.DM1.transportisTipi_Qr, "saxeli", "transporti_tipi");
    TransportiSaxeliEd = TabLayout::textField(panel, "TransportiSaxeliEd");
    GaCerebaEd = TabLayout::textField(panel, "GaCerebaEd");
    TabLayout::addField(panel, QStringLiteral("transportis tipi"), TransportisTipiEd);
    TabLayout::addField(panel, QStringLiteral("transportis dasaxeleba"), TransportiSaxeliEd);
    TabLayout::addField(panel, QStringLiteral("gaCerebis dasaxeleba"), GaCerebaEd);
    std::tie(Transp_FilterBtn, SpeedButton4) = TabLayout::addButtons(panel, "Transp_FilterBtn", "SpeedButton4");
    // The keyboard goes from the stop name up to the transport type.
    setTabOrder(GaCerebaEd, TransportiSaxeliEd);
    setTabOrder(TransportiSaxeliEd, TransportisTipiEd);
    TabLayout::stack(this, TransportiGrid, transportiSearchPn);
}

QList<QWidget *> TransportTab::searchFieldKeyTargets() const
{
    return {GaCerebaEd, TransportiSaxeliEd, TransportisTipiEd->lineEdit()};
}

void TransportTab::Transp_FilterBtnClick() {}

void TransportTab::SpeedButton4Click() {}

void TransportTab::TransportisTipiEdKeyDown(int key)
{
    if (key == VirtualKey::Enter)
        Transp_FilterBtnClick();
}

void TransportTab::TransportiTSHShow()
{
    m_parts.toolBar.enableOnly(MainToolBar::Group::Stops);
    DataModule &dm = m_parts.DM1;
    dm.transportisTipi_Qr.open();
    dm.RaioniQr.open();
    if (!dm.kavS_transporti_gaCereba_Qr.isOpen()) {
        dm.kavS_transporti_gaCereba_Qr.open();
        TransportiGrid->collapseAll();
    }
    m_parts.statusBar.setText(m_parts.state.TransportSearchStatus);
}

void TransportTab::transportisgaSla1Click() {}

void TransportTab::MenuItem14Click()
{
    transportiSearchPn->hide();
}

void TransportTab::transportiSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*transportiSearchPn, button, PanelRestoredHeight);
}
