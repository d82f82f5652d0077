#include "streets/StreetTab.h"

#include "common/CommandGroups.h"
#include "common/MainState.h"
#include "common/StatusLine.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "map/MarkerLayer.h"
#include "platform/DisplayFont.h"
#include "streets/StreetFilter.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/TabLayout.h"
#include "widgets/VirtualKey.h"

#include <QLineEdit>
#include <QVBoxLayout>

StreetTab::StreetTab(DataModule &dm, MainState &state, CommandGroups &groups, StatusLine &status, MarkerLayer &markers,
                     QWidget *parent)
    : QWidget(parent), m_dm(dm), m_state(state), m_groups(groups), m_status(status), m_markers(markers)
{
    setObjectName(QStringLiteral("quCaTSh"));
    StreetGrid = TabLayout::makeList("StreetGrid", this);
    StreetGrid->setFont(DisplayFont::font(13));
    m_model = new GroupedListModel(dm.quCa_Qr, StreetGrid);
    m_model->setLevels({GroupedListModel::Level::lookup(QStringLiteral("g_raioni_kodi"), dm.RaioniQr,
                                                         QStringLiteral("raioni_kodi"), QStringLiteral("saxeli"))});
    m_model->setColumns({GroupedListModel::Column::text(QStringLiteral("saxeli"))});
    StreetGrid->setModel(m_model);
    streetGridFooter = new GroupedListFooter(*StreetGrid, this);
    streetGridFooter->setObjectName(QStringLiteral("StreetGridFooter"));
    streetGridFooter->setCountUnder(QStringLiteral("saxeli"));

    quCaSearchPn = TabLayout::makePanel("quCaSearchPn", PanelDesignHeight, this);
    quCaSearchPn->setColours(CaptionPanel::Colours::InactiveCaption);
    CaptionPanel &panel = *quCaSearchPn;
    quCisTipiCb = TabLayout::lookup(panel, "quCisTipiCb", dm.quCisTipi_Qr, "aRwera", "quCis_tipi_kodi");
    quCisSaxeliEd = TabLayout::textField(panel, "quCisSaxeliEd");
    TabLayout::addField(panel, QStringLiteral("quCis tipi"), quCisTipiCb);
    TabLayout::addField(panel, QStringLiteral("quCis dasaxeleba"), quCisSaxeliEd);
    std::tie(Street_FilterBtn, SpeedButton1) = TabLayout::addButtons(panel, "Street_FilterBtn", "SpeedButton1");
    TabLayout::stack(this, StreetGrid, quCaSearchPn);
    // The footer sits between the list and the search panel.
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, streetGridFooter);
}

QList<QWidget *> StreetTab::searchFieldKeyTargets() const
{
    return {quCisTipiCb, quCisSaxeliEd};
}

StreetCriteria StreetTab::criteria() const
{
    StreetCriteria criteria;
    criteria.typeKey = quCisTipiCb->filledKey();
    criteria.name = quCisSaxeliEd->text();
    return criteria;
}

void StreetTab::Street_FilterBtnClick()
{
    m_state.StreetFilter = criteria().filter();
    DataModule::requery(m_dm.quCa_Qr, StreetFilter::listSql(m_state.StreetFilter));
    m_state.StreetSearchStatus =
        QStringLiteral("moZebnili quCebis raodenoba - ") + QString::number(m_dm.quCa_Qr.recordCount());
    m_status.setText(m_state.StreetSearchStatus);
}

void StreetTab::SpeedButton1Click()
{
    quCisTipiCb->setText(QString());
    quCisSaxeliEd->clear();
    m_state.StreetFilter.clear();
    m_dm.ReloadStreetList();
    m_state.StreetSearchStatus.clear();
    m_status.setText(QString());
}

void StreetTab::quCisTipiCbKeyDown(int key)
{
    if (key == VirtualKey::Enter)
        Street_FilterBtnClick();
}

void StreetTab::quCaTShShow()
{
    m_dm.quCisTipi_Qr.open();
    m_dm.RaioniQr.open();
    // A large city's streets are read without holding up the window; the start-up only passes
    // this tab on its way to the objects.
    m_dm.quCa_Qr.openInBackground();
    m_groups.enableOnly(CommandGroups::Group::Streets);
    m_status.setText(m_state.StreetSearchStatus);
}

void StreetTab::quCaTShHide()
{
    m_markers.ClearStreetMarkers();
}

bool StreetTab::focusStreet(int code)
{
    return StreetGrid->showRecord([this, code] { return m_dm.quCa_Qr.rowOf(QStringLiteral("quCa_kodi"), code); },
                                  [this] { SpeedButton1Click(); });
}

void StreetTab::MenuItem9Click()
{
    quCaSearchPn->hide();
}

void StreetTab::quCaSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*quCaSearchPn, button, PanelRestoredHeight);
}
