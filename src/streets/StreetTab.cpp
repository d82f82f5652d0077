#include "streets/StreetTab.h"

#include "app/MainState.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/TabLayout.h"
#include "app/WindowParts.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "data/LikeCondition.h"
#include "map/MarkerLayer.h"
#include "platform/DisplayFont.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/VirtualKey.h"

#include <QLineEdit>
#include <QVBoxLayout>

StreetTab::StreetTab(WindowParts &parts, QWidget *parent) : QWidget(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("quCaTSh"));
    DataModule &dm = m_parts.DM1;
    StreetGrid = TabLayout::makeList("StreetGrid", this);
    StreetGrid->setFont(DisplayFont::font(13));
    m_model = new GroupedListModel(dm.quCa_Qr, StreetGrid);
    m_model->setLevels({GroupedListModel::Level::lookup(QStringLiteral("g_raioni_kodi"), dm.RaioniQr,
                                                         QStringLiteral("raioni_kodi"), QStringLiteral("saxeli"))});
    m_model->setColumns({GroupedListModel::Column::text(QStringLiteral("saxeli"))});
    StreetGrid->setModel(m_model);
    StreetGridFooter = new GroupedListFooter(*StreetGrid, this);
    StreetGridFooter->setObjectName(QStringLiteral("StreetGridFooter"));
    StreetGridFooter->setCountUnder(QStringLiteral("saxeli"));

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
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, StreetGridFooter);
}

QList<QWidget *> StreetTab::searchFieldKeyTargets() const
{
    return {quCisTipiCb, quCisSaxeliEd};
}

QString StreetTab::streetFilter() const
{
    QString filter;
    if (quCisTipiCb->isFilled()) {
        // A type text that names no street type finds no street (a comparison with NULL holds
        // for no row), rather than making the SQL invalid.
        const QString key = quCisTipiCb->key();
        filter = QStringLiteral("g_quCis_tipi=") + (key.isEmpty() ? QStringLiteral("NULL") : key);
    }
    const QString name = quCisSaxeliEd->text();
    if (!name.isEmpty()) {
        const QString condition = LikeCondition::contains(QStringLiteral("saxeli"), name);
        filter = filter.isEmpty() ? condition : filter + QStringLiteral(" AND ") + condition;
    }
    return filter;
}

void StreetTab::Street_FilterBtnClick()
{
    MainState &state = m_parts.state;
    DataModule &dm = m_parts.DM1;
    state.StreetFilter = streetFilter();
    DataModule::requery(dm.quCa_Qr, state.StreetFilter.isEmpty()
                                        ? QStringLiteral("SELECT * FROM quCa ")
                                        : QStringLiteral("SELECT * FROM quCa WHERE ") + state.StreetFilter);
    state.StreetSearchStatus =
        QStringLiteral("moZebnili quCebis raodenoba - ") + QString::number(dm.quCa_Qr.recordCount());
    m_parts.statusBar.setText(state.StreetSearchStatus);
}

void StreetTab::SpeedButton1Click()
{
    quCisTipiCb->setText(QString());
    quCisSaxeliEd->clear();
    m_parts.state.StreetFilter.clear();
    m_parts.DM1.ReloadStreetList();
    m_parts.state.StreetSearchStatus.clear();
    m_parts.statusBar.setText(QString());
}

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
    // A large city's streets are read without holding up the window; the start-up only passes
    // this tab on its way to the objects.
    dm.quCa_Qr.openInBackground();
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
