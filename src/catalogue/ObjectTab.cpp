#include "catalogue/ObjectTab.h"

#include "catalogue/ObjectFilter.h"
#include "common/CommandGroups.h"
#include "common/Errors.h"
#include "common/MainState.h"
#include "common/Prompts.h"
#include "common/StatusLine.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "map/MarkerLayer.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/TabLayout.h"
#include "widgets/VirtualKey.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {

const QString AllSubRubricsSql = QStringLiteral("SELECT * FROM qve_rubrika");

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

ObjectTab::ObjectTab(DataModule &dm, MainState &state, Prompts &prompts, CommandGroups &groups, StatusLine &status,
                     MarkerLayer &markers, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_state(state), m_prompts(prompts), m_groups(groups), m_status(status),
      m_markers(markers)
{
    setObjectName(QStringLiteral("obieqtiTSH"));
    ObjectGrid = TabLayout::makeList("ObjectGrid", this);
    setUpList();
    // After the list has followed the new rows' focus, which opens the branch of the first.
    connect(&dm.obieqti_logo_Qr, &DataSet::currentRowChanged, this, [this] {
        if (std::exchange(m_collapseWhenListed, false))
            ObjectGrid->collapseAllRows();
    });

    ObieqtiSearchPn = TabLayout::makePanel("ObieqtiSearchPn", PanelDesignHeight, this);
    ObieqtiSearchPn->setCaptionBold(true);
    ObieqtiSearchPn->setColours(CaptionPanel::Colours::ActiveCaption);
    ObieqtiSearchPn->setButtonsFlat(true);
    CaptionPanel &panel = *ObieqtiSearchPn;
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
    auto *model = new GroupedListModel(m_dm.obieqti_logo_Qr, this);
    using Level = GroupedListModel::Level;
    using Column = GroupedListModel::Column;
    model->setLevels({Level::lookup(QStringLiteral("rubrika_kodi"), m_dm.rubrikaQr, QStringLiteral("rubrika_kodi"),
                                    QStringLiteral("saxeli")),
                      Level::lookup(QStringLiteral("qve_rubrika_kodi"), m_dm.qve_rubrika_Qr,
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
    criteria.districtKey = ObieqtisRaioniCb->filledKey();
    criteria.rubricKey = RubrikaCb->filledKey();
    criteria.subRubricKey = QveRubrikaCb->filledKey();
    return criteria;
}

QList<QWidget *> ObjectTab::searchFieldKeyTargets() const
{
    return {RubrikaCb, QveRubrikaCb, ObieqtiEd, ObieqtisRaioniCb, misamarTiEd, telefoniEd};
}

void ObjectTab::Obj_FilterBtnClick()
{
    m_state.ObjectFilter = criteria().filter();
    // A lookup that yields no key makes the query invalid: it is not sent, and the search ends
    // as the database's refusal would end it (the list closed on the rejected text), with a
    // message that names the entry the user asked for.
    for (const QString &why : {missingKey(*RubrikaCb, QStringLiteral("rubric")),
                               missingKey(*QveRubrikaCb, QStringLiteral("sub-rubric")),
                               missingKey(*ObieqtisRaioniCb, QStringLiteral("district"))}) {
        if (!why.isEmpty()) {
            m_dm.obieqti_logo_Qr.close();
            m_dm.obieqti_logo_Qr.setSql(ObjectFilter::listSql(m_state.ObjectFilter));
            throw Error(why);
        }
    }
    if (m_state.ObjectFilter.isEmpty()) {
        m_dm.ReloadObjectList();
    } else {
        DataModule::requery(m_dm.obieqti_logo_Qr, ObjectFilter::listSql(m_state.ObjectFilter));
        m_state.ObjectSearchStatus =
            QStringLiteral("moZebnili obieqtebis raodenoba - ") + QString::number(m_dm.obieqti_logo_Qr.recordCount());
        if (m_dm.obieqti_logo_Qr.isEmpty()) {
            m_prompts.showMessage(QStringLiteral("aseTi obieqti ar iZebneba"));
            return;
        }
    }
    m_status.setText(m_state.ObjectSearchStatus);
}

void ObjectTab::ClearBtnClick()
{
    m_state.ObjectSearchStatus = QStringLiteral("  ");
    if (RubrikaCb->isFilled())
        DataModule::requery(m_dm.Search_qve_rubrika_Qr, AllSubRubricsSql);
    RubrikaCb->setText(QString());
    QveRubrikaCb->setText(QString());
    ObieqtiEd->clear();
    ObieqtisRaioniCb->setText(QString());
    misamarTiEd->clear();
    telefoniEd->clear();
    m_state.ObjectFilter.clear();
    m_dm.ReloadObjectList();
    m_status.setText(m_state.ObjectSearchStatus);
}

void ObjectTab::RubrikaCbCloseUp()
{
    // A rubric text that names no rubric narrows nothing: all sub-rubrics stay listed.
    const std::optional<QString> rubric = RubrikaCb->filledKey();
    const bool narrowed = rubric && !rubric->isEmpty();
    DataModule::requery(m_dm.Search_qve_rubrika_Qr,
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
    if (m_state.ObjectGroupRow != -1)
        ObjectGrid->collapseAllRows();
    m_state.ObjectGroupRow = ObjectGrid->firstSelectedVisibleRow();
    ObjectGrid->expandVisibleRowRecursively(m_state.ObjectGroupRow);
}

void ObjectTab::obieqtiTSHShow()
{
    m_dm.RaioniQr.open();
    m_dm.rubrikaQr.open();
    m_dm.qve_rubrika_Qr.open();
    m_dm.Search_qve_rubrika_Qr.open();
    // The whole catalogue can be large: it is read without holding up the window.
    if (!m_dm.obieqti_logo_Qr.isOpen() && !m_dm.obieqti_logo_Qr.isLoading()) {
        m_collapseWhenListed = true;
        m_dm.obieqti_logo_Qr.openInBackground();
    }
    m_groups.setObjectActivationShown(true);
    m_groups.enableOnly(CommandGroups::Group::Objects);
    m_status.setText(m_state.ObjectSearchStatus);
}

void ObjectTab::obieqtiTSHHide()
{
    m_dm.Search_qve_rubrika_Qr.close();
    m_groups.setObjectActivationShown(false);
    m_groups.setObjectDetailsEnabled(false);
    m_markers.ClearObjectMarkers();
    m_markers.ClearStopMarkers();
}

bool ObjectTab::focusObject(int code)
{
    return ObjectGrid->showRecord([this, code] { return m_dm.obieqti_logo_Qr.rowOf(QStringLiteral("obieqtis_kodi"), code); },
                                  [this] { ClearBtnClick(); });
}

void ObjectTab::saZieblisdaxurva1Click()
{
    ObieqtiSearchPn->hide();
}

void ObjectTab::ObieqtiSearchPnButtonClick(CaptionPanel::Button button)
{
    TabLayout::buttonClick(*ObieqtiSearchPn, button, PanelRestoredHeight);
}
