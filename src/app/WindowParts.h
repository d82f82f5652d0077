#pragma once
// What the commands of every tab reach beside their own widgets: the data module, the shared
// state, the message windows and the desktop, and the parts of the main window they change
// (tool bar, menus, map area, status bar). The main window owns all of them.
class DataModule;
class Desktop;
class MainActions;
class MainStatusBar;
class MainToolBar;
class MapArea;
class MapNavigation;
class MapSwitcher;
class MarkerLayer;
class Prompts;
struct MainState;

struct WindowParts {
    DataModule &DM1;
    MainState &state;
    Prompts &prompts;
    Desktop &desktop;
    MainActions &actions;
    MainToolBar &toolBar;
    MapArea &map;
    MarkerLayer &markers;
    MapSwitcher &switcher;
    MapNavigation &navigation;
    MainStatusBar &statusBar;
};
