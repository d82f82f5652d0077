#include "app/MainActions.h"

#include "platform/DisplayFont.h"
#include "widgets/ToolBarImages.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr int MenuPointSize = 10;
constexpr int ZoomMenuPointSize = 8;

QString text(const char *latin)
{
    return QString::fromLatin1(latin);
}

} // namespace

QAction *MainActions::makeAction(const char *name, const QString &caption, const QString &hint, int picture)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(hint);
    action->setIcon(ToolBarImageList::icon(picture));
    return action;
}

QAction *MainActions::item(QMenu *menu, const char *name, const QString &caption, int picture, QAction *action)
{
    auto *item = new QAction(caption, menu);
    item->setObjectName(QLatin1String(name));
    if (picture >= 0)
        item->setIcon(ToolBarImageList::icon(picture));
    if (action)
        connect(item, &QAction::triggered, action, &QAction::trigger);
    menu->addAction(item);
    return item;
}

QMenu *MainActions::popup(QWidget *window, const char *name, int pointSize)
{
    auto *menu = new QMenu(window);
    menu->setObjectName(QLatin1String(name));
    menu->setFont(DisplayFont::pointFont(pointSize));
    return menu;
}

MainActions::MainActions(QWidget *window, QMenuBar *menuBar) : QObject(window), MainMenu(menuBar)
{
    using namespace ToolBarImageList;
    ObjDetailAc = makeAction("ObjDetailAc", text("obieqtis detalebi"), text("Detail"), Details);
    ReaklamaAc = makeAction("ReaklamaAc", text("sareklamo SemoTavazebis daTvaliereba"),
                            text("sareklamo SemoTavazebis daTvaliereba"), Advertising);
    ShowMepAc = makeAction("ShowMepAc", text("obieqtis miTiTeba rukaze"), text("Show"), GeneralMap);
    ShowDetMapAc = makeAction("ShowDetMapAc", text("obieqtis miTiTeba detalur rukaze"), QString(), DetailedMap);
    SearchAc = makeAction("SearchAc", text("saZiebeli"), text("Search"), Search);
    Im_ObjAc = makeAction("Im_ObjAc", text("gaaqtiureba obieqtebis xeze "), text("Activate"), Activate);
    ClearMapAc = makeAction("ClearMapAc", text("rukis gasufTaveba obieqtebisagan"),
                            text("rukis gasufTaveba obieqtebisagan"), ClearMap);
    ShowObjWithStopAc = makeAction("ShowObjWithStopAc",
                                   text("obieqtis Cveneba detalur rukaze mimdebare gaCerebebTan erTad"), QString(),
                                   ObjectWithStops);
    SelectAc = makeAction("SelectAc", text("moniSvna"), QString(), -1);
    ZoomInWindowAc = makeAction("ZoomInWindowAc", text("aqtivacia"), QString(), -1);

    MainMenu->setFont(DisplayFont::pointFont(MenuPointSize));
    mTavari1 = MainMenu->addMenu(text("mTavari"));
    operaciebi1 = MainMenu->addMenu(text("operaciebi"));
    ruka1 = MainMenu->addMenu(text("ruka"));
    daxmareba1 = MainMenu->addMenu(text("daxmareba"));
    const std::pair<QMenu *, const char *> mainMenus[] = {
        {mTavari1, "mTavari1"}, {operaciebi1, "operaciebi1"}, {ruka1, "ruka1"}, {daxmareba1, "daxmareba1"}};
    for (const auto &[menu, name] : mainMenus) {
        menu->setObjectName(QLatin1String(name));
        menu->setFont(DisplayFont::pointFont(MenuPointSize));
    }

    RubMmnIt = item(mTavari1, "RubMmnIt", text("obieqti"));
    trnasporti1 = item(mTavari1, "trnasporti1", text("transporti"));
    quCa1 = item(mTavari1, "quCa1", text("quCa"));
    mTavari1->addSeparator();
    gasvla1 = item(mTavari1, "gasvla1", text("gasvla"));

    saZiebeli2 = item(operaciebi1, "saZiebeli2", SearchAc->text(), -1, SearchAc);
    operaciebi1->addSeparator();
    sareklamoSemoTavazebisdaTvaliereba2 =
        item(operaciebi1, "sareklamoSemoTavazebisdaTvaliereba2", ReaklamaAc->text(), -1, ReaklamaAc);

    zogadi1 = item(ruka1, "zogadi1", text("masStabis gazrda"));
    detaluri1 = item(ruka1, "detaluri1", text("masStabis Semcireba"));
    ruka1->addSeparator();
    rukisgasufTavebaobieqtebisagan1 =
        item(ruka1, "rukisgasufTavebaobieqtebisagan1", ClearMapAc->text(), -1, ClearMapAc);
    moniSvna1 = item(ruka1, "moniSvna1", SelectAc->text(), -1, SelectAc);
    aqtivacia1 = item(ruka1, "aqtivacia1", ZoomInWindowAc->text(), -1, ZoomInWindowAc);
    moniSvna1->setVisible(false);
    aqtivacia1->setVisible(false);

    daxmareba2 = item(daxmareba1, "daxmareba2", text("daxmareba"));
    daxmareba1->addSeparator();
    Sesaxeb1 = item(daxmareba1, "Sesaxeb1", text("Sesaxeb"));

    ObjectTreeViewPopupMenu = popup(window, "ObjectTreeViewPopupMenu", MenuPointSize);
    QMenu *m = ObjectTreeViewPopupMenu;
    rubrikissruligaSla1 = item(m, "rubrikissruligaSla1", text("rubrikis sruli gaSla"));
    m->addSeparator();
    rubrukaSiSemvaliobieqtebisCvenebarukaze1 = item(m, "rubrukaSiSemvaliobieqtebisCvenebarukaze1",
                                                    text("rubrukaSi Semvali obieqtebis xilva rukaze"));
    m->addSeparator();
    obieqtisdetalebi1 = item(m, "obieqtisdetalebi1", ObjDetailAc->text(), Details, ObjDetailAc);
    sareklamoSemoTavazebisdaTvaliereba1 =
        item(m, "sareklamoSemoTavazebisdaTvaliereba1", ReaklamaAc->text(), Advertising, ReaklamaAc);
    m->addSeparator();
    obieqtisrukazemiTiTeba1 =
        item(m, "obieqtisrukazemiTiTeba1", text("obieqtis Cveneba zogad rukaze"), GeneralMap, ShowMepAc);
    obieqtismiTiTebadetalurrukaze1 = item(m, "obieqtismiTiTebadetalurrukaze1", text("obieqtis Cveneba detalur rukaze"),
                                          DetailedMap, ShowDetMapAc);
    obieqtisCvenebadetalurrukazeaxlosmdebaregaCerebebTanerTad1 =
        item(m, "obieqtisCvenebadetalurrukazeaxlosmdebaregaCerebebTanerTad1", ShowObjWithStopAc->text(),
             ObjectWithStops, ShowObjWithStopAc);
    m->addSeparator();
    saZiebeli1 = item(m, "saZiebeli1", SearchAc->text(), Search, SearchAc);
    saZieblisdaxurva1 = item(m, "saZieblisdaxurva1", text("saZieblis daxurva"));

    transportiTreeViewPopupMenu = popup(window, "transportiTreeViewPopupMenu", MenuPointSize);
    m = transportiTreeViewPopupMenu;
    transportisgaSla1 = item(m, "transportisgaSla1", text("transportis gaSla"));
    m->addSeparator();
    marSrutisCvenebazogadrukaze1 = item(m, "marSrutisCvenebazogadrukaze1", text("marSrutis xilva zogad rukaze"));
    m->addSeparator();
    GenStopShowMnIt = item(m, "GenStopShowMnIt", text("gaCerebis Cveneba zogad rukaze"), GeneralMapItem);
    DetStopShowMnIt = item(m, "DetStopShowMnIt", text("gaCerebis Cveneba detalur rukaze"), DetailedMap);
    marSrutebigaCerebaze1 = item(m, "marSrutebigaCerebaze1", text("am gaCerebaze gamavali marSrutebi"));
    m->addSeparator();
    MenuItem13 = item(m, "MenuItem13", SearchAc->text(), Search, SearchAc);
    MenuItem14 = item(m, "MenuItem14", text("saZieblis daxurva"));

    quCaTreeViewPopupMenu = popup(window, "quCaTreeViewPopupMenu", MenuPointSize);
    m = quCaTreeViewPopupMenu;
    raionSiSemavaliyvelaquCismiTiTeba1 =
        item(m, "raionSiSemavaliyvelaquCismiTiTeba1", text("raionSi Semavali yvela quCis xilva"));
    m->addSeparator();
    StreetGenShowMnIt = item(m, "StreetGenShowMnIt", text("quCis Cveneba zogad rukaze"), GeneralMapItem);
    StreetDetShowMnIt = item(m, "StreetDetShowMnIt", text("quCis Cveneba detalur rukaze"), DetailedMap);
    m->addSeparator();
    MenuItem8 = item(m, "MenuItem8", SearchAc->text(), Search, SearchAc);
    MenuItem9 = item(m, "MenuItem9", text("saZieblis daxurva"));

    // The map's menu has no pictures.
    GraphPopupMenu = popup(window, "GraphPopupMenu", MenuPointSize);
    m = GraphPopupMenu;
    marSrutebigaCerebaze2 = item(m, "marSrutebigaCerebaze2", text("am gaCerebaze gamavali marSrutebi"));
    gamyofi2 = m->addSeparator();
    gamyofi2->setObjectName(QStringLiteral("gamyofi2"));
    marSrutebigaCerebaze2->setVisible(false);
    gamyofi2->setVisible(false);
    gaaqtiurebaobieqtebisxeze1 = item(m, "gaaqtiurebaobieqtebisxeze1", Im_ObjAc->text(), -1, Im_ObjAc);
    gamyofi1 = m->addSeparator();
    gamyofi1->setObjectName(QStringLiteral("gamyofi1"));
    gaaqtiurebaobieqtebisxeze1->setVisible(false);
    gamyofi1->setVisible(false);
    rukisgasufTavebaobieqtebisagan2 =
        item(m, "rukisgasufTavebaobieqtebisagan2", ClearMapAc->text(), -1, ClearMapAc);
    m->addSeparator();
    rukiszomebisSecvla1 = item(m, "rukiszomebisSecvla1", text("rukis masStabis gazrda       (+)"));
    rukiszomisSemcireba1 = item(m, "rukiszomisSemcireba1", text("rukis masStabis Semcireba  ( - ) "));

    ZoomPM = popup(window, "ZoomPM", ZoomMenuPointSize);
    gazrda1 = item(ZoomPM, "gazrda1", text("gazrda"));
    Semcireba1 = item(ZoomPM, "Semcireba1", text("Semcireba"));
    specialuri1 = item(ZoomPM, "specialuri1", text("specialuri"));
    specialuri1->setVisible(false);
}
