#pragma once
// The map engine over one map area: the markers on it, the switching between the general map and
// the sheets, and the navigation (zoom, pan, clear), sharing the state beside the main window,
// the data module, the zoom percent and the command runner. The main window makes one over its
// map area and the tool bar's zoom editor; the map commands of the tabs work through it.
//
//   MapEngine map(state, dm, runner, area, zoom);
//   map.switcher.SwitchToSheet(QStringLiteral("B2"));
//   map.markers.addMarker(recipe);
//   map.navigation.gazrda1Click();
#include "map/MapNavigation.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"

class CommandRunner;
class ZoomControl;

struct MapEngine {
    MapEngine(MainState &state, DataModule &dm, CommandRunner &runner, MapArea &area, ZoomControl &zoom)
        : area(area), zoom(zoom), markers(state, dm, area), switcher(state, area, zoom),
          navigation(state, dm, area, markers, zoom, runner)
    {
    }
    MapEngine(const MapEngine &) = delete;
    MapEngine &operator=(const MapEngine &) = delete;

    MapArea &area;
    ZoomControl &zoom;
    MarkerLayer markers;
    MapSwitcher switcher;
    MapNavigation navigation;
};
