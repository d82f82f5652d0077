#include "app/MainToolBar.h"

#include "app/MainActions.h"
#include "platform/DisplayFont.h"
#include "widgets/GeorgianInput.h"
#include "widgets/ToolBarImages.h"
#include "widgets/ZoomSpinBox.h"

#include <QAction>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace {

QString text(const char *latin)
{
    return QString::fromLatin1(latin);
}

} // namespace

QToolButton *MainToolBar::button(const char *name, const QString &hint, int picture, QAction *action)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setFixedSize(38, 23);
    button->setIconSize(QSize(16, 16));
    button->setIcon(ToolBarImageList::icon(picture));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    if (action)
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
    m_slots.insert(button, addWidget(button));
    return button;
}

void MainToolBar::hide(QToolButton *button)
{
    // A widget in a tool bar is hidden through the tool bar's action for it.
    m_slots.value(button)->setVisible(false);
}

MainToolBar::MainToolBar(MainActions &actions, QWidget *parent) : QToolBar(parent)
{
    using namespace ToolBarImageList;
    setObjectName(QStringLiteral("ToolBar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setContentsMargins(0, 0, 0, 0);
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);

    addSeparator();
    CloseBtn = button("CloseBtn", text("gasvla"), Exit);
    addSeparator();
    ToolButton4 = button("ToolButton4", text("saZIebeli"), Search, actions.SearchAc);
    addSeparator();
    ZoomEd = new ZoomSpinBox(this);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    addWidget(ZoomEd);
    ToolButton8 = button("ToolButton8", text("zomebis Secvla"), Zoom);
    ToolButton8->setText(text("rukis zomebis Secvla"));
    ToolButton8->setMenu(actions.ZoomPM);
    ToolButton8->setPopupMode(QToolButton::MenuButtonPopup);
    ToolButton8->setFixedWidth(38 + 13);
    ToolButton12 = button("ToolButton12", actions.ZoomInWindowAc->text(), -1, actions.ZoomInWindowAc);
    hide(ToolButton12);
    addSeparator();
    SelectBtn = button("SelectBtn", actions.SelectAc->text(), -1, actions.SelectAc);
    hide(SelectBtn);
    ToolButton17 = button("ToolButton17", text("rukis gasufTaveba obieqtebisagan"), ClearMap, actions.ClearMapAc);
    addSeparator();
    ObjDetBtn = button("ObjDetBtn", text("obieqtis detalebi"), Details, actions.ObjDetailAc);
    ReklamaBtn = button("ReklamaBtn", text("sareklamo SemoTavazebis daTvaliereba"), Advertising, actions.ReaklamaAc);
    ObjGenMapBtn = button("ObjGenMapBtn", text("obieqtis miTiTeba rukaze"), GeneralMap, actions.ShowMepAc);
    ObjDetMapBtn = button("ObjDetMapBtn", text("obieqtis miTiTeba detalur rukaze"), DetailedMap, actions.ShowDetMapAc);
    addSeparator();
    StreetGenMapBtn = button("StreetGenMapBtn", text("quCis gaaqtiureba zogad rukaze"), GeneralMap);
    StreetDetMapBtn = button("StreetDetMapBtn", text("quCis miTiTeba detalur rukaze"), DetailedMap);
    addSeparator();
    StopGenMapBtn = button("StopGenMapBtn", text("gaCerebis gaaqtiureba rukaze"), StopGeneralMap);
    StopDetMapBtn = button("StopDetMapBtn", text("gaCerebis miTiTeba detalur rukaze"), StopDetailedMap);
    addSeparator();
    auto *spring = new QWidget(this);
    spring->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spring);
    searchBox = new QLineEdit(this);
    searchBox->setObjectName(QStringLiteral("searchBox"));
    searchBox->setFont(DisplayFont::font(13));
    searchBox->setFixedSize(SearchBoxWidth, Height - 4);
    searchBox->setClearButtonEnabled(true);
    searchBox->setValidator(new GeorgianInput(searchBox));
    addWidget(searchBox);
}

void MainToolBar::enableOnly(CommandGroups::Group group)
{
    for (QToolButton *b : {ObjDetBtn, ReklamaBtn, ObjGenMapBtn, ObjDetMapBtn})
        b->setEnabled(group == CommandGroups::Group::Objects);
    for (QToolButton *b : {StreetGenMapBtn, StreetDetMapBtn})
        b->setEnabled(group == CommandGroups::Group::Streets);
    for (QToolButton *b : {StopGenMapBtn, StopDetMapBtn})
        b->setEnabled(group == CommandGroups::Group::Stops);
}
