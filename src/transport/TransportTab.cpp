#include "transport/TransportTab.h"

#include "app/MainState.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/TabLayout.h"
#include "app/WindowParts.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "data/LikeCondition.h"
#include "map/MarkerLayer.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/VirtualKey.h"

#include <QBoxLayout>
#include <QLineEdit>

TransportTab::TransportTab(WindowParts &parts, QWidget *parent) : QWidget(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("TransportiTSH"));
    TransportiGrid = TabLayout::makeList("TransportiGrid", this);
    DataModule &dm = m_parts.DM1;
    auto *model = new GroupedListModel(dm.kavS_transporti_gaCereba_Qr, this);
    model->setLevels({GroupedListModel::Level::lookup(QStringLiteral("tipi"), dm.transportisTipi_Qr,
                                                      QStringLiteral("transporti_tipi"), QStringLiteral("saxeli")),
                      GroupedListModel::Level::text(QStringLiteral("saxeoba"))});
    model->setColumns({GroupedListModel::Column::text(QStringLiteral("saxeli"))});
    // Within a route the stops follow their order along it, not the database's order.
    model->setRowOrder(QStringLiteral("n"));
    TransportiGrid->setModel(model);

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
    // The footer row sits under the list; it counts under no column.
    static_cast<QBoxLayout *>(layout())->insertWidget(1, new GroupedListFooter(*TransportiGrid, this));
}

QList<QWidget *> TransportTab::searchFieldKeyTargets() const
{
    return {GaCerebaEd, TransportiSaxeliEd, TransportisTipiEd};
}

QString TransportTab::searchFilter() const
{
    QString filter;
    if (!GaCerebaEd->text().isEmpty())
        filter += QStringLiteral(" AND ") + LikeCondition::contains(QStringLiteral("gaCereba.saxeli"), GaCerebaEd->text());
    if (!TransportiSaxeliEd->text().isEmpty())
        filter += QStringLiteral(" AND ") +
                  LikeCondition::matches(QStringLiteral("transporti.saxeli"), TransportiSaxeliEd->text());
    if (TransportisTipiEd->isFilled()) {
        // A type name that names no type matches no route.
        const QString key = TransportisTipiEd->key();
        filter += QStringLiteral(" AND transporti.g_transporti_tipi=") + (key.isEmpty() ? QStringLiteral("NULL") : key);
    }
    return filter;
}

void TransportTab::Transp_FilterBtnClick()
{
    MainState &state = m_parts.state;
    state.TransportFilter = searchFilter();
    DataSet &list = m_parts.DM1.kavS_transporti_gaCereba_Qr;
    DataModule::requery(list, DataModule::routeStopListSql + QLatin1Char(' ') + state.TransportFilter);
    state.TransportSearchStatus = QStringLiteral("moiZebna ") + QString::number(list.recordCount());
    m_parts.statusBar.setText(state.TransportSearchStatus);
    m_parts.markers.ClearStopMarkers();
}

void TransportTab::SpeedButton4Click()
{
    MainState &state = m_parts.state;
    state.TransportSearchStatus.clear();
    TransportisTipiEd->setText(QString());
    TransportiSaxeliEd->clear();
    GaCerebaEd->clear();
    state.TransportFilter.clear();
    m_parts.DM1.ReloadRouteStopList();
    m_parts.statusBar.setText(state.TransportSearchStatus);
}

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
        TransportiGrid->collapseAllRows();
    }
    m_parts.statusBar.setText(m_parts.state.TransportSearchStatus);
}

void TransportTab::transportisgaSla1Click()
{
    // Without a selected row (an empty list) there is nothing to expand.
    if (TransportiGrid->firstSelectedVisibleRow() < 0)
        return;
    MainState &state = m_parts.state;
    if (state.TransportGroupRow != -1) {
        TransportiGrid->collapseAllRows();
        m_parts.markers.ClearStopMarkers();
    }
    state.TransportGroupRow = TransportiGrid->firstSelectedVisibleRow();
    TransportiGrid->expandRowRecursively(TransportiGrid->visibleRow(state.TransportGroupRow));
}

void TransportTab::MenuItem14Click()
{
    transportiSearchPn->hide();
}

void TransportTab::transportiSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*transportiSearchPn, button, PanelRestoredHeight);
}
