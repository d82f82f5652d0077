#include "app/MainFrm.h"

#include "app/MainActions.h"
#include "app/MainStatusBar.h"
#include "app/MainToolBar.h"
#include "app/SearchBoxCommands.h"
#include "catalogue/ObjectDetailCommands.h"
#include "catalogue/ObjectMapCommands.h"
#include "catalogue/ObjectTab.h"
#include "common/Errors.h"
#include "common/MainState.h"
#include "data/DataModule.h"
#include "dialogs/HelpCommands.h"
#include "journeys/JourneyCommands.h"
#include "journeys/JourneyTab.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "platform/DisplayFont.h"
#include "streets/StreetMapCommands.h"
#include "streets/StreetTab.h"
#include "transit/CityNetwork.h"
#include "transport/StopRoutesCommands.h"
#include "transport/TransportMapCommands.h"
#include "transport/TransportTab.h"
#include "transit/CityFrame.h"
#include "widgets/EventHook.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"
#include "widgets/SearchDropDown.h"
#include "widgets/VirtualKey.h"
#include "widgets/ZoomSpinBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

// The name and the call of a handler method, for route().
#define HANDLER(object, method) #method, [this] { object->method(); }

TMainFrm::TMainFrm(DataModule &dm, MainState &state, Prompts &prompts, Desktop &desktop, StartUp::Splash splash,
                   PicturePreload *generalMap, QWidget *parent)
    : QMainWindow(parent), m_dm(dm), m_state(state), m_prompts(prompts), m_runner(prompts)
{
    buildWindow(desktop, generalMap);
    m_startUp = std::make_unique<StartUp>(dm, m_state, m_map->switcher, prompts, std::move(splash));
    routeCommands();
    routeEvents();
    FormCreate();
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::buildWindow(Desktop &desktop, PicturePreload *generalMap)
{
    setObjectName(QStringLiteral("MainFrm"));
    // The city's own name, from the frame file the city tools write beside the rasters.
    m_cityGenitive = CityFrame::genitive(CityFrame::read().city);
    setWindowTitle(m_cityGenitive + QStringLiteral(" saZiebo-sainformacio sistema `kvirzeta~"));
    setFont(DisplayFont::font(13));
    QToolTip::setFont(DisplayFont::font(13));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(192, 220, 192));
    setPalette(palette);

    actions = new MainActions(this, menuBar());
    ToolBar = new MainToolBar(*actions, this);
    addToolBar(Qt::TopToolBarArea, ToolBar);
    // Set once docked: docking resets a tool bar's size limits.
    ToolBar->setFixedHeight(MainToolBar::Height);
    StatusBar = new MainStatusBar(this);
    StatusBar->setFont(DisplayFont::font(13));
    setStatusBar(StatusBar);

    Spliter = new QSplitter(Qt::Horizontal, this);
    Spliter->setObjectName(QStringLiteral("Spliter"));
    Spliter->setHandleWidth(SplitterWidth);
    Spliter->setChildrenCollapsible(false);
    PageControl = new QTabWidget(Spliter);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setTabPosition(QTabWidget::South);
    PageControl->tabBar()->setCursor(Qt::BusyCursor);
    ScrollBox = new MapArea(Spliter);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setCursor(Qt::ArrowCursor);
    if (generalMap)
        ScrollBox->usePreload(*generalMap);
    // Markers take the map's menu when they are made, so it is set before any marker exists.
    ScrollBox->setContextMenu(actions->GraphPopupMenu);
    Spliter->addWidget(PageControl);
    Spliter->addWidget(ScrollBox);
    Spliter->setStretchFactor(1, 1);
    setCentralWidget(Spliter);

    m_map = std::make_unique<MapEngine>(m_state, m_dm, m_runner, *ScrollBox, *ToolBar->ZoomEd);
    MarkerLayer &markers = m_map->markers;
    obieqtiTSH = new ObjectTab(m_dm, m_state, m_prompts, *this, *StatusBar, markers);
    TransportiTSH = new TransportTab(m_dm, m_state, *this, *StatusBar, markers);
    quCaTSh = new StreetTab(m_dm, m_state, *this, *StatusBar, markers);
    PageControl->addTab(obieqtiTSH, QStringLiteral("obieqti"));
    PageControl->addTab(TransportiTSH, QStringLiteral("transporti"));
    PageControl->addTab(quCaTSh, QStringLiteral("quCa"));
    mgzavrobaTSH = new JourneyTab;
    PageControl->addTab(mgzavrobaTSH, QStringLiteral("mgzavroba"));
    // Built with the street tab active: its show handler runs when the window becomes visible.
    PageControl->setCurrentWidget(quCaTSh);
    m_shownTab = quCaTSh;

    m_objectMap = std::make_unique<ObjectMapCommands>(m_dm, m_state, m_prompts, *m_map, *obieqtiTSH->ObjectGrid);
    m_objectDetails = std::make_unique<ObjectDetailCommands>(m_dm, m_prompts, desktop, this);
    m_streetMap = std::make_unique<StreetMapCommands>(m_dm, m_state, m_prompts, *m_map, *quCaTSh->StreetGrid);
    m_transportMap = std::make_unique<TransportMapCommands>(m_dm, m_state, m_prompts, *m_map);
    m_network = std::make_unique<CityNetwork>(m_dm);
    m_stopRoutes = std::make_unique<StopRoutesCommands>(
        m_dm, m_prompts, m_runner, *m_map, *m_transportMap,
        [this](int stop) { return StopRoutes::fromNetwork(*m_network->network(), stop); }, this);
    m_help = std::make_unique<HelpCommands>(desktop, m_runner, this);
    m_help->setCityGenitive(m_cityGenitive);
    m_searchBox = std::make_unique<SearchBoxCommands>(
        m_dm, *ToolBar->searchBox, *this,
        SearchBoxCommands::Tabs{*PageControl, *obieqtiTSH, *quCaTSh, *TransportiTSH, *m_objectMap, *m_streetMap,
                                *m_transportMap});
    m_journeys = std::make_unique<JourneyCommands>(
        *mgzavrobaTSH, JourneyCommands::Services{m_dm, m_searchBox->search(), *m_network, *m_map, m_state, m_prompts,
                                                 m_runner, *PageControl});

    resize(1020, 734);
    Spliter->setSizes({PageControlWidth, width() - PageControlWidth - SplitterWidth});
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

template <typename Sender, typename Signal>
void TMainFrm::route(Sender *sender, Signal signal, const char *handler, std::function<void()> command)
{
    connect(sender, signal, this, [this, handler, command = std::move(command)] { run(handler, command); });
}

bool TMainFrm::run(const char *handler, const std::function<void()> &command)
{
    Q_EMIT handlerStarted(QLatin1String(handler));
    return m_runner.run(command);
}

void TMainFrm::routeCommands()
{
    MainActions *a = actions;
    route(a->ObjDetailAc, &QAction::triggered, HANDLER(m_objectDetails, ObjDetailAcExecute));
    route(a->ReaklamaAc, &QAction::triggered, HANDLER(m_objectDetails, ReaklamaAcExecute));
    route(a->ShowMepAc, &QAction::triggered, HANDLER(m_objectMap, ShowMepAcExecute));
    route(a->ShowDetMapAc, &QAction::triggered, HANDLER(m_objectMap, ShowDetMapAcExecute));
    route(a->SearchAc, &QAction::triggered, HANDLER(this, SearchAcExecute));
    route(a->Im_ObjAc, &QAction::triggered, HANDLER(m_objectMap, Im_ObjAcExecute));
    route(a->ClearMapAc, &QAction::triggered, HANDLER(navigation(), ClearMapAcExecute));
    route(a->ShowObjWithStopAc, &QAction::triggered, HANDLER(m_objectMap, ShowObjWithStopAcExecute));
    route(a->SelectAc, &QAction::triggered, HANDLER(this, SelectAcExecute));
    route(a->ZoomInWindowAc, &QAction::triggered, HANDLER(this, ZoomInWindowAcExecute));

    // Main menu (items tied to actions trigger them).
    route(a->RubMmnIt, &QAction::triggered, HANDLER(this, RubMmnItClick));
    route(a->trnasporti1, &QAction::triggered, HANDLER(this, trnasporti1Click));
    route(a->quCa1, &QAction::triggered, HANDLER(this, quCa1Click));
    route(a->gasvla1, &QAction::triggered, HANDLER(this, CloseBtnClick));
    route(a->zogadi1, &QAction::triggered, HANDLER(navigation(), gazrda1Click));
    route(a->detaluri1, &QAction::triggered, HANDLER(navigation(), Semcireba1Click));
    route(a->daxmareba2, &QAction::triggered, HANDLER(m_help, daxmareba2Click));
    route(a->Sesaxeb1, &QAction::triggered, HANDLER(m_help, Sesaxeb1Click));

    // The lists' popup menus.
    route(a->rubrikissruligaSla1, &QAction::triggered, HANDLER(obieqtiTSH, rubrikissruligaSla1Click));
    route(a->rubrukaSiSemvaliobieqtebisCvenebarukaze1, &QAction::triggered,
          HANDLER(m_objectMap, rubrukaSiSemvaliobieqtebisCvenebarukaze1Click));
    route(a->saZieblisdaxurva1, &QAction::triggered, HANDLER(obieqtiTSH, saZieblisdaxurva1Click));
    route(a->transportisgaSla1, &QAction::triggered, HANDLER(TransportiTSH, transportisgaSla1Click));
    route(a->marSrutisCvenebazogadrukaze1, &QAction::triggered,
          HANDLER(m_transportMap, marSrutisCvenebazogadrukaze1Click));
    route(a->GenStopShowMnIt, &QAction::triggered, HANDLER(m_transportMap, GenStopShowMnItClick));
    route(a->DetStopShowMnIt, &QAction::triggered, HANDLER(m_transportMap, DetStopShowMnItClick));
    route(a->MenuItem14, &QAction::triggered, HANDLER(TransportiTSH, MenuItem14Click));
    route(a->marSrutebigaCerebaze1, &QAction::triggered, HANDLER(m_stopRoutes, marSrutebigaCerebaze1Click));
    route(a->raionSiSemavaliyvelaquCismiTiTeba1, &QAction::triggered,
          HANDLER(m_streetMap, raionSiSemavaliyvelaquCismiTiTeba1Click));
    route(a->StreetGenShowMnIt, &QAction::triggered, HANDLER(m_streetMap, StreetGenShowMnItClick));
    route(a->StreetDetShowMnIt, &QAction::triggered, HANDLER(m_streetMap, StreetDetShowMnItClick));
    route(a->MenuItem9, &QAction::triggered, HANDLER(quCaTSh, MenuItem9Click));

    // The map's popup menu and the zoom menu.
    route(a->marSrutebigaCerebaze2, &QAction::triggered, HANDLER(m_stopRoutes, marSrutebigaCerebaze2Click));
    route(a->rukiszomebisSecvla1, &QAction::triggered, HANDLER(navigation(), gazrda1Click));
    route(a->rukiszomisSemcireba1, &QAction::triggered, HANDLER(navigation(), Semcireba1Click));
    route(a->gazrda1, &QAction::triggered, HANDLER(navigation(), gazrda1Click));
    route(a->Semcireba1, &QAction::triggered, HANDLER(navigation(), Semcireba1Click));
    route(a->specialuri1, &QAction::triggered, HANDLER(navigation(), specialuri1Click));

    // Tool buttons not tied to an action.
    MainToolBar *t = ToolBar;
    route(t->CloseBtn, &QToolButton::clicked, HANDLER(this, CloseBtnClick));
    route(t->ZoomEd, &ZoomSpinBox::clicked, HANDLER(navigation(), specialuri1Click));
    route(t->ToolButton8, &QToolButton::clicked, HANDLER(navigation(), specialuri1Click));
    route(t->StreetGenMapBtn, &QToolButton::clicked, HANDLER(m_streetMap, StreetGenShowMnItClick));
    route(t->StreetDetMapBtn, &QToolButton::clicked, HANDLER(m_streetMap, StreetDetShowMnItClick));
    route(t->StopGenMapBtn, &QToolButton::clicked, HANDLER(m_transportMap, GenStopShowMnItClick));
    route(t->StopDetMapBtn, &QToolButton::clicked, HANDLER(m_transportMap, DetStopShowMnItClick));

    // The search box.
    connect(&m_searchBox->dropDown(), &SearchDropDown::picked, this, [this](const SearchResult &result) {
        run("showSearchResult", [this, result] { m_searchBox->showSearchResult(result); });
    });

    // The journey page; its fields plan with Enter unless their drop-down takes it.
    route(a->aqedanMnIt, &QAction::triggered, HANDLER(m_journeys, aqedanMnItClick));
    route(a->aqamdeMnIt, &QAction::triggered, HANDLER(m_journeys, aqamdeMnItClick));
    JourneyTab *j = mgzavrobaTSH;
    route(j->Journey_FilterBtn, &QToolButton::clicked, HANDLER(m_journeys, Journey_FilterBtnClick));
    route(j->JourneyClearBtn, &QToolButton::clicked, HANDLER(m_journeys, JourneyClearBtnClick));
    route(j->SaidanEd, &QLineEdit::returnPressed, HANDLER(m_journeys, Journey_FilterBtnClick));
    route(j->SadEd, &QLineEdit::returnPressed, HANDLER(m_journeys, Journey_FilterBtnClick));
    connect(j->mgzavrobaSearchPn, &CaptionPanel::buttonClicked, this, [this](CaptionPanel::Button b) {
        run("mgzavrobaSearchPnButtonClick", [this, b] { mgzavrobaTSH->mgzavrobaSearchPnButtonClick(b); });
    });

    // The search panels.
    route(obieqtiTSH->Obj_FilterBtn, &QToolButton::clicked, HANDLER(obieqtiTSH, Obj_FilterBtnClick));
    route(obieqtiTSH->ClearBtn, &QToolButton::clicked, HANDLER(obieqtiTSH, ClearBtnClick));
    route(obieqtiTSH->RubrikaCb, &LookupEditor::closeUp, HANDLER(obieqtiTSH, RubrikaCbCloseUp));
    route(quCaTSh->Street_FilterBtn, &QToolButton::clicked, HANDLER(quCaTSh, Street_FilterBtnClick));
    route(quCaTSh->SpeedButton1, &QToolButton::clicked, HANDLER(quCaTSh, SpeedButton1Click));
    route(TransportiTSH->Transp_FilterBtn, &QToolButton::clicked, HANDLER(TransportiTSH, Transp_FilterBtnClick));
    route(TransportiTSH->SpeedButton4, &QToolButton::clicked, HANDLER(TransportiTSH, SpeedButton4Click));
    connect(obieqtiTSH->ObieqtiSearchPn, &CaptionPanel::buttonClicked, this, [this](CaptionPanel::Button b) {
        run("ObieqtiSearchPnButtonClick", [this, b] { obieqtiTSH->ObieqtiSearchPnButtonClick(b); });
    });
    connect(quCaTSh->quCaSearchPn, &CaptionPanel::buttonClicked, this, [this](CaptionPanel::Button b) {
        run("quCaSearchPnButtonClick", [this, b] { quCaTSh->quCaSearchPnButtonClick(b); });
    });
    connect(TransportiTSH->transportiSearchPn, &CaptionPanel::buttonClicked, this, [this](CaptionPanel::Button b) {
        run("transportiSearchPnButtonClick", [this, b] { TransportiTSH->transportiSearchPnButtonClick(b); });
    });
}

void TMainFrm::routeEvents()
{
    // Keys typed into the search fields, as virtual-key codes.
    const auto routeKeys = [this](const QList<QWidget *> &fields, const char *handler,
                                  std::function<void(int)> command) {
        for (QWidget *field : fields) {
            EventHook::install(field, QEvent::KeyPress, [this, handler, command](QEvent *event) {
                const int key = VirtualKey::fromEvent(*static_cast<QKeyEvent *>(event));
                run(handler, [command, key] { command(key); });
            });
        }
    };
    routeKeys(obieqtiTSH->searchFieldKeyTargets(), "RubrikaCbKeyDown",
              [this](int key) { obieqtiTSH->RubrikaCbKeyDown(key); });
    routeKeys(quCaTSh->searchFieldKeyTargets(), "quCisTipiCbKeyDown",
              [this](int key) { quCaTSh->quCisTipiCbKeyDown(key); });
    routeKeys(TransportiTSH->searchFieldKeyTargets(), "TransportisTipiEdKeyDown",
              [this](int key) { TransportiTSH->TransportisTipiEdKeyDown(key); });

    // Double clicks anywhere in a list.
    const auto routeDoubleClick = [this](QTreeView *list, const char *handler, std::function<void()> command) {
        EventHook::install(list->viewport(), QEvent::MouseButtonDblClick,
                           [this, handler, command](QEvent *) { run(handler, command); });
    };
    routeDoubleClick(obieqtiTSH->ObjectGrid, HANDLER(m_objectDetails, ObjDetailAcExecute));
    routeDoubleClick(quCaTSh->StreetGrid, HANDLER(m_streetMap, StreetGenShowMnItClick));
    routeDoubleClick(TransportiTSH->TransportiGrid, HANDLER(m_transportMap, GenStopShowMnItClick));

    // The object list's focused record is the current record of its data set.
    route(&m_dm.obieqti_logo_Qr, &DataSet::currentRowChanged,
          HANDLER(m_objectMap, ObjectGridTableViewFocusedRecordChanged));
    // Lists read in the background (the objects, the streets) report a failed read through the
    // default error report, as an open in the foreground would; the list stays empty, and the
    // next show of its tab reads it again.
    for (DataSet *dataSet : m_dm.findChildren<DataSet *>()) {
        connect(dataSet, &DataSet::openFailed, this,
                [this, handler = QByteArray(dataSet->name().toLatin1() + "OpenFailed")](const QString &message) {
                    run(handler.constData(), [message] { throw Error(message); });
                });
    }

    // Popup menus of the lists and the map.
    const auto attachPopup = [](QAbstractScrollArea *area, QMenu *menu) {
        QObject::connect(area, &QWidget::customContextMenuRequested, menu,
                         [area, menu](const QPoint &pos) { menu->popup(area->viewport()->mapToGlobal(pos)); });
    };
    attachPopup(obieqtiTSH->ObjectGrid, actions->ObjectTreeViewPopupMenu);
    attachPopup(quCaTSh->StreetGrid, actions->quCaTreeViewPopupMenu);
    attachPopup(TransportiTSH->TransportiGrid, actions->transportiTreeViewPopupMenu);

    // On a stop's marker the map's menu offers the routes at that stop; anywhere on the map, a
    // journey from or to the spot.
    connect(ScrollBox, &MapArea::contextMenuOpening, this, [this](const MapItem *item, const QPoint &content) {
        run("GraphPopupMenuPopup", [this, item, content] {
            const bool onStop = m_stopRoutes->GraphPopupMenuPopup(item);
            actions->marSrutebigaCerebaze2->setVisible(onStop);
            actions->gamyofi2->setVisible(onStop);
            const bool onMap = m_journeys->GraphPopupMenuPopup(content);
            for (QAction *entry : {actions->aqedanMnIt, actions->aqamdeMnIt, actions->gamyofi3})
                entry->setVisible(onMap);
        });
    });

    connect(PageControl, &QTabWidget::currentChanged, this, &TMainFrm::PageControlChange);
}

void TMainFrm::FormCreate()
{
    if (!m_startUp->openConnection())
        return;
    run("FormCreate", [this] { m_startUp->finish(); });
}

void TMainFrm::FormActivate()
{
    if (m_state.KeyLb != QLatin1String("0")) {
        close();
        return;
    }
    PageControl->setCurrentWidget(obieqtiTSH);
}

void TMainFrm::activateOnce()
{
    if (m_activated)
        return;
    m_activated = true;
    run("FormActivate", [this] { FormActivate(); });
    // The search box's index is read once the object list, which the activation reads, is in.
    if (m_state.KeyLb == QLatin1String("0"))
        m_searchBox->startAfter(m_dm.obieqti_logo_Qr);
}

bool TMainFrm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activateOnce();
    return QMainWindow::event(event);
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    tabShown(m_shownTab);
    // Lay out and mark for painting what showing the window changed before it is first painted: a
    // platform that exposes a window as soon as it is shown would otherwise paint it twice.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    // A window manager may keep the window from becoming active; it counts as activated then.
    if (!m_activated)
        QTimer::singleShot(0, this, &TMainFrm::activateOnce);
}

void TMainFrm::PageControlChange()
{
    QWidget *left = m_shownTab;
    m_shownTab = PageControl->currentWidget();
    if (!isVisible() || left == m_shownTab)
        return;
    // The tab entered is shown before the tab left is hidden.
    tabShown(m_shownTab);
    tabHidden(left);
}

void TMainFrm::tabShown(QWidget *tab)
{
    if (tab == obieqtiTSH)
        run(HANDLER(obieqtiTSH, obieqtiTSHShow));
    else if (tab == quCaTSh)
        run(HANDLER(quCaTSh, quCaTShShow));
    else if (tab == TransportiTSH)
        run(HANDLER(TransportiTSH, TransportiTSHShow));
}

void TMainFrm::tabHidden(QWidget *tab)
{
    if (tab == obieqtiTSH)
        run(HANDLER(obieqtiTSH, obieqtiTSHHide));
    else if (tab == quCaTSh)
        run(HANDLER(quCaTSh, quCaTShHide));
}

void TMainFrm::RubMmnItClick()
{
    PageControl->setCurrentWidget(obieqtiTSH);
}

void TMainFrm::trnasporti1Click()
{
    PageControl->setCurrentWidget(TransportiTSH);
}

void TMainFrm::quCa1Click()
{
    PageControl->setCurrentWidget(quCaTSh);
}

void TMainFrm::CloseBtnClick()
{
    close();
}

void TMainFrm::SearchAcExecute()
{
    QWidget *active = PageControl->currentWidget();
    if (active == obieqtiTSH)
        obieqtiTSH->ObieqtiSearchPn->show();
    else if (active == quCaTSh)
        quCaTSh->quCaSearchPn->show();
    else if (active == TransportiTSH)
        TransportiTSH->transportiSearchPn->show();
}

SearchService &TMainFrm::search()
{
    return m_searchBox->search();
}

MapNavigation *TMainFrm::navigation()
{
    return &m_map->navigation;
}

void TMainFrm::enableOnly(Group group)
{
    ToolBar->enableOnly(group);
}

void TMainFrm::setObjectDetailsEnabled(bool enabled)
{
    ToolBar->ObjDetBtn->setEnabled(enabled);
}

void TMainFrm::setObjectActivationShown(bool shown)
{
    actions->gaaqtiurebaobieqtebisxeze1->setVisible(shown);
    actions->gamyofi1->setVisible(shown);
}

void TMainFrm::SelectAcExecute() {}

void TMainFrm::ZoomInWindowAcExecute() {}
