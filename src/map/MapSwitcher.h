#pragma once
// Changes the map shown in the map area: the general map ".\Raster\Tbilisi.bmp" or a detailed
// sheet ".\Raster\<ruka_kodi>.jpg", keeping CurrentMapName and the base size (WLb, HLb) in
// MainState.
//
// A switch first records the new name, then loads the raster. When the raster cannot be read the
// Error propagates to the command's error report and CurrentMapName names the previous map again,
// which the image, WLb and HLb still show: a later switch to the same map tries again (and is
// reported again) instead of placing markers on a map that is not shown.
//
// The base size is read from the image after the load: the raster's own size with auto size
// on; with auto size off (a zoomed view) the image keeps its size and the new raster is stretched
// into it, so that size is recorded. Commands call MapNavigation::ResetMapView() before
// switching to a sheet.
#include <QString>
#include <functional>

class MapArea;
class ZoomControl;
struct MainState;

class MapSwitcher {
public:
    MapSwitcher(MainState &state, MapArea &area, ZoomControl &zoom);

    // The program path of the general map's raster (relative to the current directory).
    static QString generalMapPath();
    // The first load at start-up: the general map with auto size on.
    void LoadGeneralMap();
    // Shows the general map unless it is shown: optionally turns the image's auto size on and
    // sets the zoom editor to 100 (a plain value change), then loads the raster.
    void SwitchToGeneralMap(bool autoSize, bool resetZoom);
    // Shows the sheet named by the whole `ruka_kodi` value unless it is the map shown.
    void SwitchToSheet(const QString &code);
    // Called after every map loaded by a switch (what is drawn over the map follows it).
    void setOnSwitched(std::function<void()> switched) { m_switched = std::move(switched); }

private:
    void load(const QString &path);
    // Records `name`, runs `prepare` and loads `path`; a failure restores the previous name.
    void switchTo(const QString &name, const QString &path, const std::function<void()> &prepare = {});

    MainState &m_state;
    MapArea &m_area;
    ZoomControl &m_zoom;
    std::function<void()> m_switched;
};
