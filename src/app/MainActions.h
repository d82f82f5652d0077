#pragma once
// The actions of the main window (ActionList1) and every menu: the main menu, the popup menus
// of the three lists and of the map, and the zoom menu of the tool bar. Each menu item is its
// own QAction with its own caption; an item tied to an action triggers that action, so every
// way to a command ends in the action's one handler.
#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class MainActions : public QObject {
    Q_OBJECT
public:
    // Menus are created as children of `window`; the main menu becomes `menuBar`'s content.
    MainActions(QWidget *window, QMenuBar *menuBar);

    // ActionList1.
    QAction *ObjDetailAc;
    QAction *ReaklamaAc;
    QAction *ShowMepAc;
    QAction *ShowDetMapAc;
    QAction *SearchAc;
    QAction *Im_ObjAc;
    QAction *ClearMapAc;
    QAction *ShowObjWithStopAc;
    QAction *SelectAc;        // hidden, no command
    QAction *ZoomInWindowAc;  // hidden, no command

    // MainMenu.
    QMenuBar *MainMenu;
    QMenu *mTavari1;
    QAction *RubMmnIt;
    QAction *trnasporti1;
    QAction *quCa1;
    QAction *gasvla1;
    QMenu *operaciebi1;
    QAction *saZiebeli2;
    QAction *sareklamoSemoTavazebisdaTvaliereba2;
    QMenu *ruka1;
    QAction *zogadi1;
    QAction *detaluri1;
    QAction *rukisgasufTavebaobieqtebisagan1;
    QAction *moniSvna1;   // hidden
    QAction *aqtivacia1;  // hidden
    QMenu *daxmareba1;
    QAction *daxmareba2;
    QAction *Sesaxeb1;

    // ObjectTreeViewPopupMenu, the object list's menu.
    QMenu *ObjectTreeViewPopupMenu;
    QAction *rubrikissruligaSla1;
    QAction *rubrukaSiSemvaliobieqtebisCvenebarukaze1;
    QAction *obieqtisdetalebi1;
    QAction *sareklamoSemoTavazebisdaTvaliereba1;
    QAction *obieqtisrukazemiTiTeba1;
    QAction *obieqtismiTiTebadetalurrukaze1;
    QAction *obieqtisCvenebadetalurrukazeaxlosmdebaregaCerebebTanerTad1;
    QAction *saZiebeli1;
    QAction *saZieblisdaxurva1;

    // transportiTreeViewPopupMenu, the transport list's menu.
    QMenu *transportiTreeViewPopupMenu;
    QAction *transportisgaSla1;
    QAction *marSrutisCvenebazogadrukaze1;
    QAction *GenStopShowMnIt;
    QAction *DetStopShowMnIt;
    QAction *marSrutebigaCerebaze1;       // the routes at the row's stop
    QAction *MenuItem13;
    QAction *MenuItem14;

    // quCaTreeViewPopupMenu, the street list's menu.
    QMenu *quCaTreeViewPopupMenu;
    QAction *raionSiSemavaliyvelaquCismiTiTeba1;
    QAction *StreetGenShowMnIt;
    QAction *StreetDetShowMnIt;
    QAction *MenuItem8;
    QAction *MenuItem9;

    // GraphPopupMenu, the map's menu (also the menu of object and street markers).
    QMenu *GraphPopupMenu;
    QAction *marSrutebigaCerebaze2;       // the routes at a stop: shown only on a stop's marker
    QAction *gamyofi2;                    // the separator below it, shown with it
    QAction *gaaqtiurebaobieqtebisxeze1;  // shown only while the object tab is shown
    QAction *gamyofi1;                    // the separator below it, shown with it
    QAction *rukisgasufTavebaobieqtebisagan2;
    QAction *rukiszomebisSecvla1;
    QAction *rukiszomisSemcireba1;

    // ZoomPM, the drop-down of the zoom button.
    QMenu *ZoomPM;
    QAction *gazrda1;
    QAction *Semcireba1;
    QAction *specialuri1;  // hidden

private:
    QAction *makeAction(const char *name, const QString &caption, const QString &hint, int picture);
    QAction *item(QMenu *menu, const char *name, const QString &caption, int picture = -1,
                  QAction *action = nullptr);
    QMenu *popup(QWidget *window, const char *name, int pointSize);
};
