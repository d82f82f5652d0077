#include "transport/TransportTab.h"

#include "common/CommandGroups.h"
#include "common/MainState.h"
#include "common/StatusLine.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "map/MarkerLayer.h"
#include "transport/TransportFilter.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/TabLayout.h"
#include "widgets/VirtualKey.h"

#include <QBoxLayout>
#include <QLineEdit>

TransportTab::TransportTab(DataModule &dm, MainState &state, CommandGroups &groups, StatusLine &status,
                           MarkerLayer &markers, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_state(state), m_groups(groups), m_status(status), m_markers(markers)
{
    setObjectName(QStringLiteral("TransportiTSH"));
    TransportiGrid = TabLayout::makeList("TransportiGrid", this);
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
        TabLayout::lookup(panel, "TransportisTipiEd", dm.transportisTipi_Qr, "saxeli", "transporti_tipi");
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

TransportCriteria TransportTab::criteria() const
{
    TransportCriteria criteria;
    criteria.stopName = GaCerebaEd->text();
    criteria.routeName = TransportiSaxeliEd->text();
    criteria.typeKey = TransportisTipiEd->filledKey();
    return criteria;
}

void TransportTab::Transp_FilterBtnClick()
{
    m_state.TransportFilter = criteria().filter();
    DataSet &list = m_dm.kavS_transporti_gaCereba_Qr;
    DataModule::requery(list, TransportFilter::listSql(m_state.TransportFilter));
    m_state.TransportSearchStatus = QStringLiteral("moiZebna ") + QString::number(list.recordCount());
    m_status.setText(m_state.TransportSearchStatus);
    m_markers.ClearStopMarkers();
}

void TransportTab::SpeedButton4Click()
{
    m_state.TransportSearchStatus.clear();
    TransportisTipiEd->setText(QString());
    TransportiSaxeliEd->clear();
    GaCerebaEd->clear();
    m_state.TransportFilter.clear();
    // Clearing does not collapse the list: the groups open before stay open.
    const QSet<QString> open = TransportiGrid->expandedGroups();
    m_dm.ReloadRouteStopList();
    TransportiGrid->expandGroups(open);
    m_status.setText(m_state.TransportSearchStatus);
}

void TransportTab::TransportisTipiEdKeyDown(int key)
{
    if (key == VirtualKey::Enter)
        Transp_FilterBtnClick();
}

void TransportTab::TransportiTSHShow()
{
    m_groups.enableOnly(CommandGroups::Group::Stops);
    m_dm.transportisTipi_Qr.open();
    m_dm.RaioniQr.open();
    if (!m_dm.kavS_transporti_gaCereba_Qr.isOpen()) {
        m_dm.kavS_transporti_gaCereba_Qr.open();
        TransportiGrid->collapseAllRows();
    }
    m_status.setText(m_state.TransportSearchStatus);
}

void TransportTab::transportisgaSla1Click()
{
    // Without a selected row (an empty list) there is nothing to expand.
    if (TransportiGrid->firstSelectedVisibleRow() < 0)
        return;
    if (m_state.TransportGroupRow != -1) {
        TransportiGrid->collapseAllRows();
        m_markers.ClearStopMarkers();
    }
    m_state.TransportGroupRow = TransportiGrid->firstSelectedVisibleRow();
    TransportiGrid->expandVisibleRowRecursively(m_state.TransportGroupRow);
}

bool TransportTab::focusStop(int code)
{
    DataSet &list = m_dm.kavS_transporti_gaCereba_Qr;
    return TransportiGrid->showRecord([&list, code] { return list.rowOf(QStringLiteral("gaCereba_kodi"), code); },
                                      [this] { SpeedButton4Click(); });
}

bool TransportTab::focusRoute(int code)
{
    // The list knows a route by its name and type.
    DataModule::requery(m_dm.Qr, QStringLiteral("SELECT saxeli, g_transporti_tipi FROM transporti WHERE transporti_kodi=")
                                     + QString::number(code));
    if (m_dm.Qr.isEmpty())
        return false;
    const QString name = m_dm.Qr.text(QStringLiteral("saxeli"));
    const QVariant type = m_dm.Qr.value(QStringLiteral("g_transporti_tipi"));
    DataSet &list = m_dm.kavS_transporti_gaCereba_Qr;
    const auto firstStop = [&list, &name, &type] {
        const int nameColumn = list.requireColumn(QStringLiteral("saxeoba"));
        const int typeColumn = list.requireColumn(QStringLiteral("tipi"));
        const int orderColumn = list.requireColumn(QStringLiteral("n"));
        int first = -1;
        for (int row = 0; row < list.recordCount(); ++row) {
            const QVariant rowType = list.valueAt(row, typeColumn);
            if (list.valueAt(row, nameColumn).toString() != name || rowType.isNull() != type.isNull()
                || (!type.isNull() && rowType.toLongLong() != type.toLongLong()))
                continue;
            if (first < 0 || list.valueAt(row, orderColumn).toLongLong() < list.valueAt(first, orderColumn).toLongLong())
                first = row;
        }
        return first;
    };
    return TransportiGrid->showRecord(firstStop, [this] { SpeedButton4Click(); });
}

void TransportTab::MenuItem14Click()
{
    transportiSearchPn->hide();
}

void TransportTab::transportiSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*transportiSearchPn, button, PanelRestoredHeight);
}
