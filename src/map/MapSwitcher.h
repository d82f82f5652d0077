#pragma once
// Changes the map shown in the map area: the general map ".\Raster\Tbilisi.bmp" or a detailed
// sheet ".\Raster\<ruka_kodi>.jpg", keeping CurrentMapName and the base size (WLb, HLb) in
// MainState.
//
// A switch first records the new name, then loads the raster. When the raster cannot be read the
// Error propagates to the command's error report; CurrentMapName already holds the new name
// while the image, WLb and HLb still show and describe the previous map, so a later switch to the
// same name does nothing and a switch to another map loads normally.
//
// The base size is read from the image after the load: the raster's own size with auto size
// on; with auto size off (a zoomed view) the image keeps its size and the new raster is stretched
// into it, so that size is recorded. Commands call MapNavigation::ResetMapView() before
// switching to a sheet.
#include <QString>

class MapArea;
class ZoomSpinBox;
struct MainState;

class MapSwitcher {
public:
    MapSwitcher(MainState &state, MapArea &area, ZoomSpinBox &zoom);

    // The first load at start-up: the general map with auto size on.
    void LoadGeneralMap();
    // Shows the general map unless it is shown: optionally turns the image's auto size on and
    // sets the zoom editor to 100 (a plain value change), then loads the raster.
    void SwitchToGeneralMap(bool autoSize, bool resetZoom);
    // Shows the sheet named by the whole `ruka_kodi` value unless it is the map shown.
    void SwitchToSheet(const QString &code);

private:
    void load(const QString &path);

    MainState &m_state;
    MapArea &m_area;
    ZoomSpinBox &m_zoom;
};
