#include "map/MapSwitcher.h"

#include "common/MainState.h"
#include "common/ZoomControl.h"
#include "map/MapArea.h"
#include "map/SheetGrid.h"

namespace {

QString rasterPath(const QString &name, const char *extension)
{
    return QStringLiteral(".\\Raster\\") + name + QLatin1String(extension);
}

} // namespace

MapSwitcher::MapSwitcher(MainState &state, MapArea &area, ZoomControl &zoom)
    : m_state(state), m_area(area), m_zoom(zoom)
{
}

void MapSwitcher::load(const QString &path)
{
    m_area.loadPicture(path);
    m_state.HLb = m_area.imageSize().height();
    m_state.WLb = m_area.imageSize().width();
}

void MapSwitcher::switchTo(const QString &name, const QString &path, const std::function<void()> &prepare)
{
    const QString shown = m_state.CurrentMapName;
    m_state.CurrentMapName = name;
    try {
        if (prepare)
            prepare();
        load(path);
    } catch (...) {
        m_state.CurrentMapName = shown;
        throw;
    }
    if (m_switched)
        m_switched();
}

void MapSwitcher::LoadGeneralMap()
{
    m_state.CurrentMapName = SheetGrid::generalMapName();
    m_area.setAutoSize(true);
    load(rasterPath(m_state.CurrentMapName, ".bmp"));
}

QString MapSwitcher::generalMapPath()
{
    return rasterPath(SheetGrid::generalMapName(), ".bmp");
}

void MapSwitcher::SwitchToGeneralMap(bool autoSize, bool resetZoom)
{
    if (m_state.CurrentMapName == SheetGrid::generalMapName())
        return;
    switchTo(SheetGrid::generalMapName(), generalMapPath(), [&] {
        if (autoSize)
            m_area.setAutoSize(true);
        if (resetZoom)
            m_zoom.setPercent(100);
    });
}

void MapSwitcher::SwitchToSheet(const QString &code)
{
    if (m_state.CurrentMapName == code)
        return;
    switchTo(code, rasterPath(code, ".jpg"));
}
