#include "map/MapNavigation.h"

#include "common/CommandRunner.h"
#include "common/MainState.h"
#include "common/ZoomControl.h"
#include "data/DataModule.h"
#include "map/JourneyLayer.h"
#include "map/MapArea.h"
#include "map/MarkerLayer.h"

#include <cmath>

namespace {

constexpr int ZoomInOffset = 200;
constexpr int ZoomOutOffset = 300;

int roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(qBound(-2.0e9, std::nearbyint(value), 2.0e9));
}

int zoomIn(int z)
{
    return z < ZoomControl::Maximum ? z + ZoomControl::Step : z;
}

int zoomOut(int z)
{
    return z > ZoomControl::Minimum ? z - ZoomControl::Step : z;
}

int keep(int z)
{
    return z;
}

} // namespace

// Where the view goes after a zoom, taken before anything changes: the focused object's point at
// zoom 100 less the offset, or the point now at the centre of the view.
struct MapNavigation::ViewTarget {
    bool onObject = false;
    int cx = 0, cy = 0;        // onObject: the object's point at zoom 100, less the offset
    double bx = 0, by = 0;     // otherwise: the view's centre in raster pixels at zoom 100
    int halfWidth = 0, halfHeight = 0;

    QPoint position(int zoom) const
    {
        if (onObject)
            return {roundHalfEven(double(cx) * zoom / 100.0), roundHalfEven(double(cy) * zoom / 100.0)};
        return {roundHalfEven(bx * zoom / 100.0 + MapArea::ImageOrigin.x() - halfWidth),
                roundHalfEven(by * zoom / 100.0 + MapArea::ImageOrigin.y() - halfHeight)};
    }
};

MapNavigation::MapNavigation(MainState &state, DataModule &dm, MapArea &area, MarkerLayer &markers,
                             JourneyLayer &journey, ZoomControl &zoom, CommandRunner &runner, QObject *parent)
    : QObject(parent), m_state(state), m_dm(dm), m_area(area), m_markers(markers), m_journey(journey), m_zoom(zoom)
{
    area.setCommandRunner(&runner);
    const auto guarded = [this, &runner](void (MapNavigation::*slot)(const QPoint &)) {
        return [this, &runner, slot](const QPoint &pos) { runner.run([this, slot, pos] { (this->*slot)(pos); }); };
    };
    connect(&area, &MapArea::imageMouseDown, this, guarded(&MapNavigation::ThImageMouseDown));
    connect(&area, &MapArea::imageMouseUp, this, guarded(&MapNavigation::ThImageMouseUp));
    connect(&area, &MapArea::freeSpaceClick, this, guarded(&MapNavigation::ScrollBoxClick));
    connect(&area, &MapArea::freeSpaceMouseUp, this, guarded(&MapNavigation::ScrollBoxMouseUp));
    connect(&area, &MapArea::keyDown, this, [this, &runner](int key, Qt::KeyboardModifiers modifiers) {
        runner.run([this, key, modifiers] { ScrollBoxKeyDown(key, modifiers); });
    });
}

void MapNavigation::ResetMapView()
{
    m_area.scrollTo(0, 0);
    if (!m_area.autoSize()) {
        m_area.setAutoSize(true);
        m_zoom.setPercent(100);
        m_journey.relayout(viewport());
    }
}

SheetGrid::Viewport MapNavigation::viewport() const
{
    return {m_zoom.percent(), m_state.WLb, m_state.HLb, m_state.CurrentMapName};
}

MapNavigation::ViewTarget MapNavigation::viewTarget(int offset) const
{
    ViewTarget target;
    const DataSet &focused = m_dm.obieqti_logo_Qr;
    if (focused.isOpen() && focused.currentRow() >= 0 && !focused.isNull(QStringLiteral("x"))
        && !focused.isNull(QStringLiteral("y"))) {
        const double w = m_state.WLb * 0.01;
        const double h = m_state.HLb * 0.01;
        target.onObject = true;
        target.cx = roundHalfEven(w * focused.real(QStringLiteral("x"))) - offset;
        target.cy = roundHalfEven(h * focused.real(QStringLiteral("y"))) - offset;
        return target;
    }
    // The image's present scale, which need not match the zoom editor (auto size on at 150).
    const QSize image = m_area.imageSize();
    const double scaleX = m_state.WLb > 0 && image.width() > 0 ? double(image.width()) / m_state.WLb : 1.0;
    const double scaleY = m_state.HLb > 0 && image.height() > 0 ? double(image.height()) / m_state.HLb : 1.0;
    const QRect view = m_area.visibleContent();
    target.halfWidth = view.width() / 2;
    target.halfHeight = view.height() / 2;
    target.bx = (view.x() + target.halfWidth - MapArea::ImageOrigin.x()) / scaleX;
    target.by = (view.y() + target.halfHeight - MapArea::ImageOrigin.y()) / scaleY;
    return target;
}

void MapNavigation::sizeImage(int zoom)
{
    if (zoom == 100) {
        m_area.setAutoSize(true);
        return;
    }
    m_area.setImageSize(QSize(roundHalfEven(m_state.WLb * 0.01 * zoom), roundHalfEven(m_state.HLb * 0.01 * zoom)));
}

void MapNavigation::zoom(int offset, int (*change)(int))
{
    const ViewTarget target = viewTarget(offset);
    m_area.scrollTo(0, 0);
    const int z = change(m_zoom.percent());
    m_zoom.setPercent(z);
    sizeImage(z);
    const SheetGrid::Viewport shown = viewport();
    m_markers.RepositionObjectMarkers(shown);
    m_markers.RepositionStreetMarkers(shown);
    m_markers.RepositionStopMarkers(shown);
    m_journey.relayout(shown);
    const QPoint pos = target.position(z);
    m_area.setHorizontalPosition(pos.x());
    m_area.setVerticalPosition(pos.y());
}

void MapNavigation::gazrda1Click()
{
    zoom(ZoomInOffset, zoomIn);
}

void MapNavigation::Semcireba1Click()
{
    zoom(ZoomOutOffset, zoomOut);
}

void MapNavigation::specialuri1Click()
{
    zoom(ZoomOutOffset, keep);
}

void MapNavigation::ClearMapAcExecute()
{
    m_markers.ClearObjectMarkers();
    m_markers.ClearStreetMarkers();
    m_markers.ClearStopMarkers();
    m_journey.clear();
}

void MapNavigation::ThImageMouseDown(const QPoint &globalPos)
{
    m_dragOrigin = globalPos;
}

void MapNavigation::ThImageMouseUp(const QPoint &globalPos)
{
    m_dragCursor = globalPos;
    m_area.setHorizontalPosition(m_area.horizontalPosition() - (m_dragCursor.x() - m_dragOrigin.x()));
    m_area.setVerticalPosition(m_area.verticalPosition() - (m_dragCursor.y() - m_dragOrigin.y()));
}

void MapNavigation::ScrollBoxClick(const QPoint &globalPos)
{
    m_dragOrigin = globalPos;
}

void MapNavigation::ScrollBoxMouseUp(const QPoint &globalPos)
{
    m_dragCursor = globalPos;
    m_area.setHorizontalPosition(roundHalfEven(m_area.horizontalRange() * 0.01 * (m_dragCursor.x() - m_dragOrigin.x())));
    m_area.setVerticalPosition(roundHalfEven(m_area.verticalRange() * 0.01 * (m_dragCursor.y() - m_dragOrigin.y())));
}

void MapNavigation::ScrollBoxKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier)
        return;
    if (key == Qt::Key_Equal || key == Qt::Key_Plus)
        gazrda1Click();
    else if (key == Qt::Key_Minus || key == Qt::Key_Underscore)
        Semcireba1Click();
}
