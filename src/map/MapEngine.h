#pragma once
// The map engine over one map area: the markers on it, a drawn journey, the switching between
// the general map and the sheets, and the navigation (zoom, pan, clear), sharing the state beside
// the main window, the data module, the zoom percent and the command runner. The main window
// makes one over its map area and the tool bar's zoom editor; the map commands of the tabs work
// through it (and through MapShow, the steps they share).
//
//   MapEngine map(state, dm, runner, area, zoom);
//   map.switcher.SwitchToSheet(QStringLiteral("B2"));
//   map.markers.addMarker(recipe);
//   map.journey.draw(journey, map.viewport());
//   map.navigation.gazrda1Click();
#include "map/JourneyLayer.h"
#include "map/MapNavigation.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"

class CommandRunner;
class ZoomControl;

struct MapEngine {
    MapEngine(MainState &state, DataModule &dm, CommandRunner &runner, MapArea &area, ZoomControl &zoom)
        : area(area), zoom(zoom), markers(dm, area), journey(area), switcher(state, area, zoom),
          navigation(state, dm, area, markers, journey, zoom, runner)
    {
        // A drawn journey follows every switch of the map, as it follows a zoom.
        switcher.setOnSwitched([this] { journey.relayout(viewport()); });
    }
    MapEngine(const MapEngine &) = delete;
    MapEngine &operator=(const MapEngine &) = delete;

    SheetGrid::Viewport viewport() const { return navigation.viewport(); }
    // The stop whose marker `item` is, a stop marker's or a drawn journey's.
    static std::optional<int> stopKeyOf(const MapItem &item)
    {
        const std::optional<int> stop = MarkerLayer::stopKeyOf(item);
        return stop ? stop : JourneyLayer::stopKeyOf(item);
    }

    MapArea &area;
    ZoomControl &zoom;
    MarkerLayer markers;
    JourneyLayer journey;
    MapSwitcher switcher;
    MapNavigation navigation;
};
