#pragma once
// Navigation of the map view: zoom (ZoomEd, zoom in/out/apply), the reset the show commands call,
// panning and jumping with the mouse, the zoom keys, and clearing the map of markers.
//
// The constructor wires the map area's own mouse and keys (ThImageMouseDown/Up, ScrollBoxClick,
// ScrollBoxMouseUp, ScrollBoxKeyDown), each run through the command runner, and gives the area
// the runner so that marker double-click handlers run inside the error report too. The main
// window routes its menu items and tool buttons to the public slots through the same runner:
// gazrda1/zogadi1/rukiszomebisSecvla1 -> gazrda1Click, Semcireba1/detaluri1/rukiszomisSemcireba1
// -> Semcireba1Click, ZoomEd/ToolButton8/specialuri1 -> specialuri1Click, ClearMapAc ->
// ClearMapAcExecute.
//
// Show commands call ResetMapView() before they switch to a sheet or place markers.
//
// A zoom keeps the focused object (current record of obieqti_logo_Qr) in view: after zoom in it
// lies 200, after zoom out and apply 300 pixels (scaled by the zoom) right of and below the
// view's corner. When the object list has no current record, or its x or y is empty, the point
// at the centre of the view stays at the centre instead.
#include "map/SheetGrid.h"

#include <QObject>
#include <QPoint>

class CommandRunner;
class DataModule;
class JourneyLayer;
class MapArea;
class MarkerLayer;
class ZoomControl;
struct MainState;

class MapNavigation : public QObject {
    Q_OBJECT
public:
    MapNavigation(MainState &state, DataModule &dm, MapArea &area, MarkerLayer &markers, JourneyLayer &journey,
                  ZoomControl &zoom, CommandRunner &runner, QObject *parent = nullptr);

    // View to the origin; when the image is zoomed (auto size off) it returns to the raster's
    // own size and the zoom editor to 100 (a drawn journey follows; the markers wait for the
    // command that resets the view to place them).
    void ResetMapView();

    // The map shown and its scale: the zoom editor's percent, WLb, HLb and CurrentMapName.
    SheetGrid::Viewport viewport() const;

    QPoint dragOrigin() const { return m_dragOrigin; }
    QPoint dragCursor() const { return m_dragCursor; }

public Q_SLOTS:
    void gazrda1Click();      // zoom in: +25 up to 200
    void Semcireba1Click();   // zoom out: -25 down to 25
    void specialuri1Click();  // apply the value in the zoom editor
    void ClearMapAcExecute(); // remove object, logo, street and stop markers and the journey

    // Mouse and keys of the map area (global screen positions).
    void ThImageMouseDown(const QPoint &globalPos);
    void ThImageMouseUp(const QPoint &globalPos);
    void ScrollBoxClick(const QPoint &globalPos);
    void ScrollBoxMouseUp(const QPoint &globalPos);
    void ScrollBoxKeyDown(int key, Qt::KeyboardModifiers modifiers);

private:
    struct ViewTarget;
    ViewTarget viewTarget(int offset) const;
    void zoom(int offset, int (*change)(int));
    void sizeImage(int zoom);

    MainState &m_state;
    DataModule &m_dm;
    MapArea &m_area;
    MarkerLayer &m_markers;
    JourneyLayer &m_journey;
    ZoomControl &m_zoom;
    QPoint m_dragOrigin;
    QPoint m_dragCursor;
};
