#include "map/MapShow.h"

#include "common/MainState.h"
#include "common/Prompts.h"
#include "map/MapEngine.h"
#include "map/MarkerWalk.h"

namespace {

constexpr int HotLineSubRubric = 172;
// How far the view stays from a drawn journey's edge when all of it does not fit.
constexpr int JourneyMargin = 40;

void setMarkerVisible(const Marker &marker, bool visible, bool withLabel = true)
{
    marker.picture->setVisible(visible);
    if (marker.label && withLabel)
        marker.label->setVisible(visible);
}

} // namespace

MapShow::MapShow(MapEngine &map, MainState &state, Prompts &prompts) : m_map(map), m_state(state), m_prompts(prompts)
{
}

SheetGrid::Viewport MapShow::viewport() const
{
    return m_map.viewport();
}

std::optional<QPoint> MapShow::generalPlace(const QString &code, double x, double y, bool tell)
{
    const std::optional<QPoint> pos = viewport().generalPixel(code, x, y);
    if (!pos && tell)
        tellNoSuchSheet();
    return pos;
}

QPoint MapShow::sheetPlace(double x, double y) const
{
    return viewport().sheetPixel(x, y);
}

void MapShow::tellNoSuchSheet()
{
    m_prompts.showMessage(QStringLiteral("adgilmdebareobis maCvenebeli rukis faili arakoreqtulia"));
}

bool MapShow::CheckMapCode(const QString &code, int subRubric)
{
    if (!code.isEmpty())
        return true;
    m_prompts.showMessage(subRubric == HotLineSubRubric
                              ? QStringLiteral("cxeli xazis obieqti rukaze datanili ar aris")
                              : QStringLiteral("rukis rekviziti arakoreqtulia, obieqtis Cveneba rukaze SeuZlebelia"));
    return false;
}

bool MapShow::walk(const Shown &shown, const std::function<bool(const Marker &, const SheetGrid::Place &)> &place)
{
    MarkerWalk walk(shown.records(), shown.keyColumn, shown.markers);
    bool found = false;
    walk.forEach([&](const Marker &marker, const MarkerWalk::Record *record) {
        // A marker whose record is gone is left as it is.
        if (!record || !place(marker, {record->code, record->x, record->y}))
            return;
        if (marker.picture->key() == shown.focusedKey) {
            shown.singleOut(marker);
            found = true;
        }
    });
    walk.makeLastFoundCurrent();
    return found;
}

void MapShow::onGeneralMap(const Shown &shown, GeneralSwitch how, const std::function<bool()> &admit)
{
    MapArea &area = m_map.area;
    const int horizontal = area.horizontalPosition();
    const int vertical = area.verticalPosition();
    area.scrollTo(0, 0);
    if (m_state.CurrentMapName != SheetGrid::generalMapName()) {
        const bool reset = how == GeneralSwitch::ResetZoom;
        m_map.switcher.SwitchToGeneralMap(reset, reset);
    }
    if (admit && !admit())
        return;
    const SheetGrid::Viewport view = viewport();
    // A record whose code names no sheet has no place here: its marker is left as it is.
    const bool found = walk(shown, [&](const Marker &marker, const SheetGrid::Place &record) {
        const std::optional<QPoint> pos = view.generalPixel(record.code, record.x, record.y);
        if (!pos)
            return false;
        setMarkerVisible(marker, true, shown.labelsOnGeneralMap);
        MarkerLayer::moveMarker(marker, *pos);
        return true;
    });
    if (!found)
        shown.addFocused();
    area.scrollTo(horizontal, vertical);
}

void MapShow::onSheet(const Shown &shown, const SheetGrid::Place &focused, const std::function<bool()> &admit,
                      const std::function<void()> &beforeScroll)
{
    m_map.navigation.ResetMapView();
    if (admit && !admit())
        return;
    m_map.switcher.SwitchToSheet(focused.code);
    const SheetGrid::Viewport view = viewport();
    const bool found = walk(shown, [&](const Marker &marker, const SheetGrid::Place &record) {
        const std::optional<QPoint> pos = view.pixelOnShownMap(record);
        setMarkerVisible(marker, pos.has_value());
        if (pos)
            MarkerLayer::moveMarker(marker, *pos);
        return pos.has_value();
    });
    if (!found)
        shown.addFocused();
    // Measured once the marker is in place: it may widen the content. The area clamps what lies
    // beyond its ends.
    MapArea &area = m_map.area;
    const QPoint target(SheetGrid::scrollTarget(area.horizontalRange(), focused.x),
                        SheetGrid::scrollTarget(area.verticalRange(), focused.y));
    if (beforeScroll)
        beforeScroll();
    area.scrollTo(target.x(), target.y());
}

void MapShow::showJourney(const JourneyDrawing &journey)
{
    MapArea &area = m_map.area;
    area.scrollTo(0, 0);
    m_map.switcher.SwitchToGeneralMap(true, true);
    m_map.journey.draw(journey, viewport());
    const QRect drawn = m_map.journey.bounds();
    if (drawn.isEmpty())
        return;
    // On each axis the middle of the journey in the middle of the view, or, when it is longer
    // than the view, its start near the view's edge.
    const QRect view = area.visibleContent();
    const auto aim = [](int start, int length, int viewLength) {
        return length + 2 * JourneyMargin <= viewLength ? start + length / 2 - viewLength / 2 : start - JourneyMargin;
    };
    area.scrollTo(aim(drawn.left(), drawn.width(), view.width()), aim(drawn.top(), drawn.height(), view.height()));
}
