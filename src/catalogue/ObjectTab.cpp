#include "catalogue/ObjectTab.h"

#include "app/MainActions.h"
#include "app/MainState.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/TabLayout.h"
#include "app/WindowParts.h"
#include "catalogue/ObjectFilter.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "dialogs/Prompts.h"
#include "map/MarkerLayer.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/VirtualKey.h"

#include <QAction>
#include <QBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {

const QString AllSubRubricsSql = QStringLiteral("SELECT * FROM qve_rubrika");

// The key a filled lookup yields, unset when it shows no text.
std::optional<QString> lookupKey(const LookupEditor &editor)
{
    if (!editor.isFilled())
        return std::nullopt;
    return editor.key();
}

// Why a filled lookup yields no key (`what` names its entries), empty when it yields one.
QString missingKey(const LookupEditor &editor, const QString &what)
{
    if (!editor.isFilled() || !editor.key().isEmpty())
        return QString();
    if (editor.findText(editor.text(), Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return QStringLiteral("The %1 \"%2\" has no code in the database").arg(what, editor.text());
    return QStringLiteral("There is no %1 named \"%2\"").arg(what, editor.text());
}

} // namespace

ObjectTab::ObjectTab(WindowParts &parts, QWidget *parent) : QWidget(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("obieqtiTSH"));
    ObjectGrid = TabLayout::makeList("ObjectGrid", this);
    setUpList();
    // After the list has followed the new rows' focus, which opens the branch of the first.
    connect(&parts.DM1.obieqti_logo_Qr, &DataSet::currentRowChanged, this, [this] {
        if (std::exchange(m_collapseWhenListed, false))
            ObjectGrid->collapseAllRows();
    });

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
    static_cast<QBoxLayout *>(layout())->insertWidget(1, new GroupedListFooter(*ObjectGrid, this));
}

void ObjectTab::setUpList()
{
    DataModule &dm = m_parts.DM1;
    auto *model = new GroupedListModel(dm.obieqti_logo_Qr, this);
    using Level = GroupedListModel::Level;
    using Column = GroupedListModel::Column;
    model->setLevels({Level::lookup(QStringLiteral("rubrika_kodi"), dm.rubrikaQr, QStringLiteral("rubrika_kodi"),
                                    QStringLiteral("saxeli")),
                      Level::lookup(QStringLiteral("qve_rubrika_kodi"), dm.qve_rubrika_Qr,
                                    QStringLiteral("qve_rubrika_kodi"), QStringLiteral("saxeli")),
                      Level::text(QStringLiteral("saxeli"), /*bold=*/true)});
    model->setColumns({Column::picture(QStringLiteral("sareklamo_failis_logo"), 20),
                       Column::text(QStringLiteral("rek"), 180),
                       Column::picture(QStringLiteral("tree_Logo"), 150)});
    ObjectGrid->setModel(model);
    GroupedListView::Colours colours;
    colours.rows = QColor(240, 251, 255);
    ObjectGrid->setColours(colours);
    // Rows take the height of their pictures; longer text is wrapped into it and elided.
    ObjectGrid->setRowsFitText(false);
}

ObjectCriteria ObjectTab::criteria() const
{
    ObjectCriteria criteria;
    criteria.name = ObieqtiEd->text();
    criteria.address = misamarTiEd->text();
    criteria.telephone = telefoniEd->text();
    criteria.districtKey = lookupKey(*ObieqtisRaioniCb);
    criteria.rubricKey = lookupKey(*RubrikaCb);
    criteria.subRubricKey = lookupKey(*QveRubrikaCb);
    return criteria;
}

QList<QWidget *> ObjectTab::searchFieldKeyTargets() const
{
    return {RubrikaCb, QveRubrikaCb, ObieqtiEd, ObieqtisRaioniCb, misamarTiEd, telefoniEd};
}

void ObjectTab::Obj_FilterBtnClick()
{
    MainState &state = m_parts.state;
    DataModule &dm = m_parts.DM1;
    state.ObjectFilter = criteria().filter();
    // A lookup that yields no key makes the query invalid: it is not sent, and the search ends
    // as the database's refusal would end it (the list closed on the rejected text), with a
    // message that names the entry the user asked for.
    for (const QString &why : {missingKey(*RubrikaCb, QStringLiteral("rubric")),
                               missingKey(*QveRubrikaCb, QStringLiteral("sub-rubric")),
                               missingKey(*ObieqtisRaioniCb, QStringLiteral("district"))}) {
        if (!why.isEmpty()) {
            dm.obieqti_logo_Qr.close();
            dm.obieqti_logo_Qr.setSql(ObjectFilter::listSql(state.ObjectFilter));
            throw Error(why);
        }
    }
    if (state.ObjectFilter.isEmpty()) {
        dm.ReloadObjectList();
    } else {
        DataModule::requery(dm.obieqti_logo_Qr, ObjectFilter::listSql(state.ObjectFilter));
        state.ObjectSearchStatus =
            QStringLiteral("moZebnili obieqtebis raodenoba - ") + QString::number(dm.obieqti_logo_Qr.recordCount());
        if (dm.obieqti_logo_Qr.isEmpty()) {
            m_parts.prompts.showMessage(QStringLiteral("aseTi obieqti ar iZebneba"));
            return;
        }
    }
    m_parts.statusBar.setText(state.ObjectSearchStatus);
}

void ObjectTab::ClearBtnClick()
{
    MainState &state = m_parts.state;
    DataModule &dm = m_parts.DM1;
    state.ObjectSearchStatus = QStringLiteral("  ");
    if (RubrikaCb->isFilled())
        DataModule::requery(dm.Search_qve_rubrika_Qr, AllSubRubricsSql);
    RubrikaCb->setText(QString());
    QveRubrikaCb->setText(QString());
    ObieqtiEd->clear();
    ObieqtisRaioniCb->setText(QString());
    misamarTiEd->clear();
    telefoniEd->clear();
    state.ObjectFilter.clear();
    dm.ReloadObjectList();
    m_parts.statusBar.setText(state.ObjectSearchStatus);
}

void ObjectTab::RubrikaCbCloseUp()
{
    // A rubric text that names no rubric narrows nothing: all sub-rubrics stay listed.
    const std::optional<QString> rubric = lookupKey(*RubrikaCb);
    const bool narrowed = rubric && !rubric->isEmpty();
    DataModule::requery(m_parts.DM1.Search_qve_rubrika_Qr,
                        narrowed ? AllSubRubricsSql + QStringLiteral(" WHERE g_rubrika_kodi=") + *rubric
                                 : AllSubRubricsSql);
}

void ObjectTab::RubrikaCbKeyDown(int key)
{
    if (key == VirtualKey::Enter)
        Obj_FilterBtnClick();
}

void ObjectTab::rubrikissruligaSla1Click()
{
    // Needs a selected row: with an empty list there is nothing to expand.
    if (ObjectGrid->firstSelectedVisibleRow() < 0)
        return;
    MainState &state = m_parts.state;
    if (state.ObjectGroupRow != -1)
        ObjectGrid->collapseAllRows();
    state.ObjectGroupRow = ObjectGrid->firstSelectedVisibleRow();
    ObjectGrid->expandRowRecursively(ObjectGrid->visibleRow(state.ObjectGroupRow));
}

void ObjectTab::obieqtiTSHShow()
{
    DataModule &dm = m_parts.DM1;
    dm.RaioniQr.open();
    dm.rubrikaQr.open();
    dm.qve_rubrika_Qr.open();
    dm.Search_qve_rubrika_Qr.open();
    // The whole catalogue can be large: it is read without holding up the window.
    if (!dm.obieqti_logo_Qr.isOpen() && !dm.obieqti_logo_Qr.isLoading()) {
        m_collapseWhenListed = true;
        dm.obieqti_logo_Qr.openInBackground();
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
