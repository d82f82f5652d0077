#pragma once
// "am gaCerebaze gamavali marSrutebi": the routes serving a stop, offered in a small menu at the
// pointer from a stop's row in the route-stop list and from a stop's marker on the map (its own
// or a drawn journey's). Each entry names the route, its transport type and the stop it goes on
// to; choosing one shows that route on the general map as the list's route command does.
//
//   StopRoutesCommands stops(dm, prompts, runner, map, routeCommands, source, window);
//   stops.marSrutebigaCerebaze1Click();              // from the list's menu
//   if (stops.GraphPopupMenuPopup(item)) ...          // the map's menu is opening on `item`
//   stops.marSrutebigaCerebaze2Click();              // from the map's menu
#include "transport/StopRoutes.h"

#include <QPoint>
#include <QPointer>
#include <functional>
#include <optional>

class CommandRunner;
class DataModule;
class MapItem;
class Prompts;
class QMenu;
class QWidget;
class TransportMapCommands;
struct MapEngine;

class StopRoutesCommands {
public:
    // `routes` shows a chosen route; `source` lists the routes at a stop; the menu belongs to
    // `window`. Choices run through `runner`, inside the default error report.
    StopRoutesCommands(DataModule &dm, Prompts &prompts, CommandRunner &runner, MapEngine &map,
                       TransportMapCommands &routes, StopRoutesSource source, QWidget *window);
    ~StopRoutesCommands();

    // From the route-stop list: the routes at the current row's stop.
    void marSrutebigaCerebaze1Click();
    // From the map's menu: the routes at the stop whose marker the menu was opened on.
    void marSrutebigaCerebaze2Click();
    // The map's menu is opening on `item` (nullptr: on the map itself); true when it is a stop's
    // marker, whose routes the menu then offers.
    bool GraphPopupMenuPopup(const MapItem *item);

    // Lists the routes at the stop in the menu, at the pointer; a stop that no route serves is
    // told so.
    void showRoutesAt(int stopKey, const QString &stopName);

    // The menu of routes (created at the first use).
    QMenu *routesMenu() const { return m_menu; }
    // Seam for tests: where the menu opens (default: the pointer).
    void setPointerSource(std::function<QPoint()> source) { m_pointer = std::move(source); }

    // An entry's text: "37 · avtobusi · Semdegi: vagzlis moedani".
    static QString entryText(const StopRoute &route);

private:
    DataModule &m_dm;
    Prompts &m_prompts;
    CommandRunner &m_runner;
    MapEngine &m_map;
    TransportMapCommands &m_routes;
    StopRoutesSource m_source;
    QWidget *m_window;
    QPointer<QMenu> m_menu;
    std::function<QPoint()> m_pointer;
    // The stop under the map's menu while it is open.
    std::optional<int> m_menuStop;
    QString m_menuStopName;
};
