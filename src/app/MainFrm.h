#pragma once
// The main window: tool bar, main menu, the left pane with the object, transport and street tabs,
// the splitter, the map area and the status bar. It builds these parts, owns the shared state
// and routes every menu item, tool button, popup item, double click, key and focus change to the
// handler of the subsystem that owns the command, each run through the default error report.
#include "app/StartUp.h"
#include "common/CommandGroups.h"
#include "common/CommandRunner.h"

#include <QMainWindow>
#include <memory>

class CityNetwork;
class DataModule;
class Desktop;
class HelpCommands;
class JourneyCommands;
class JourneyTab;
class MainActions;
class MainStatusBar;
class MainToolBar;
class MapArea;
class MapNavigation;
struct MainState;
struct MapEngine;
class ObjectDetailCommands;
class ObjectMapCommands;
class ObjectTab;
class PicturePreload;
class Prompts;
class QSplitter;
class QTabWidget;
class SearchBoxCommands;
class SearchService;
class StreetMapCommands;
class StopRoutesCommands;
class StreetTab;
class TransportMapCommands;
class TransportTab;

// The main window is also the switches the tabs flip (CommandGroups), over its tool bar and menus.
class TMainFrm : public QMainWindow, private CommandGroups {
    Q_OBJECT
public:
    // Builds the window and runs its creation handler (FormCreate). `splash` shows the splash
    // window modally. `generalMap`, when given, is the general map's raster already being decoded
    // (MapSwitcher::generalMapPath()). The data module, the state kept beside the window (which the
    // message windows share), the message windows, the desktop and the preload must outlive the window.
    TMainFrm(DataModule &dm, MainState &state, Prompts &prompts, Desktop &desktop, StartUp::Splash splash,
             PicturePreload *generalMap = nullptr, QWidget *parent = nullptr);
    ~TMainFrm() override;

    MainState &state() { return m_state; }
    DataModule &dataModule() { return m_dm; }
    // The map engine over the map area (ScrollBox) and the tool bar's zoom editor.
    MapEngine &map() { return *m_map; }
    // The search index behind the tool bar's search box, read in the background after the first
    // activation; and the box's commands.
    SearchService &search();
    SearchBoxCommands &searchBox() { return *m_searchBox; }
    // The journey page's commands.
    JourneyCommands &journeys() { return *m_journeys; }

    MainActions *actions;
    MainToolBar *ToolBar;
    QSplitter *Spliter;
    QTabWidget *PageControl;
    ObjectTab *obieqtiTSH;
    TransportTab *TransportiTSH;
    StreetTab *quCaTSh;
    JourneyTab *mgzavrobaTSH;
    MapArea *ScrollBox;
    MainStatusBar *StatusBar;

    static constexpr int PageControlWidth = 362;
    static constexpr int SplitterWidth = 7;

    void FormCreate();
    void FormActivate();
    void RubMmnItClick();
    void trnasporti1Click();
    void quCa1Click();
    void CloseBtnClick();
    void SearchAcExecute();
    void SelectAcExecute();
    void ZoomInWindowAcExecute();

Q_SIGNALS:
    // A routed handler is about to run; `handler` is its name.
    void handlerStarted(const QString &handler);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildWindow(Desktop &desktop, PicturePreload *generalMap);
    void routeCommands();
    void routeEvents();
    template <typename Sender, typename Signal>
    void route(Sender *sender, Signal signal, const char *handler, std::function<void()> command);
    bool run(const char *handler, const std::function<void()> &command);
    void PageControlChange();
    void tabShown(QWidget *tab);
    void tabHidden(QWidget *tab);
    void activateOnce();
    MapNavigation *navigation();
    // CommandGroups.
    void enableOnly(Group group) override;
    void setObjectDetailsEnabled(bool enabled) override;
    void setObjectActivationShown(bool shown) override;

    DataModule &m_dm;
    MainState &m_state;
    Prompts &m_prompts;
    CommandRunner m_runner;
    std::unique_ptr<MapEngine> m_map;
    std::unique_ptr<StartUp> m_startUp;
    std::unique_ptr<ObjectMapCommands> m_objectMap;
    std::unique_ptr<ObjectDetailCommands> m_objectDetails;
    std::unique_ptr<StreetMapCommands> m_streetMap;
    std::unique_ptr<TransportMapCommands> m_transportMap;
    std::unique_ptr<CityNetwork> m_network;
    std::unique_ptr<StopRoutesCommands> m_stopRoutes;
    std::unique_ptr<HelpCommands> m_help;
    QString m_cityGenitive; // "Tbilisis": the city's name in the titles
    std::unique_ptr<SearchBoxCommands> m_searchBox;
    std::unique_ptr<JourneyCommands> m_journeys;
    QWidget *m_shownTab = nullptr;
    bool m_activated = false;
};
