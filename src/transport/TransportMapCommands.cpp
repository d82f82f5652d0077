#include "transport/TransportMapCommands.h"

#include "common/MainState.h"
#include "common/ZoomControl.h"
#include "data/DataModule.h"
#include "data/SqlText.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/MarkerWalk.h"
#include "map/SheetGrid.h"

namespace {

const QString StopIcon = QStringLiteral(".\\pictures\\icons\\Stop.bmp");
const QString ActiveStopIcon = QStringLiteral(".\\pictures\\icons\\Active_Stop.bmp");
const QString ActiveStopReplacement = QStringLiteral(".\\Pictures\\Icons\\Active_Stop.bmp");
const QString StopKey = QStringLiteral("gaCereba_kodi");

// An empty coordinate reads as 0, as the marker layer reads it too.
double coordinate(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// A stop without a key (a database without constraints may hold one) is marked as key 0.
int stopKey(const DataSet &stops)
{
    return stops.value(StopKey).toInt();
}

} // namespace

DataSet &TransportMapCommands::routeStops() const
{
    return m_dm.kavS_transporti_gaCereba_Qr;
}

bool TransportMapCommands::hasCurrentStop() const
{
    return routeStops().isOpen() && routeStops().currentRow() >= 0;
}

int TransportMapCommands::zoom() const
{
    return m_map.zoom.percent();
}

void TransportMapCommands::marSrutisCvenebazogadrukaze1Click()
{
    if (!hasCurrentStop())
        return;
    m_map.navigation.ResetMapView();
    m_map.area.setHorizontalPosition(0);
    m_map.area.setVerticalPosition(0);
    ShowRouteStops(routeStops().text(QStringLiteral("saxeoba")), routeStops().value(QStringLiteral("tipi")));
}

void TransportMapCommands::ShowRouteStops(const QString &routeName, const QVariant &type)
{
    DataSet &qr = m_dm.Qr;
    const QString typeCondition =
        type.isNull() ? QStringLiteral(" IS NULL") : QLatin1Char('=') + QString::number(type.toInt());
    DataModule::requery(
        qr, QStringLiteral("SELECT gaCereba.*, transporti.saxeli as saxeoba, transporti.g_transporti_tipi as tipi, "
                           "kavS_transporti_gaCereba.gaCerebis_rigiTi_n as n FROM gaCereba, transporti, "
                           "kavS_transporti_gaCereba WHERE transporti.g_transporti_tipi") +
                typeCondition + QStringLiteral(" AND transporti.saxeli='") + SqlText::literalBody(routeName) +
                QStringLiteral("' AND kavS_transporti_gaCereba.g_gaCereba_kodi=gaCereba.gaCereba_kodi AND "
                               "kavS_transporti_gaCereba.g_transporti_kodi=transporti.transporti_kodi ") +
                m_state.TransportFilter + QStringLiteral(" ORDER BY kavS_transporti_gaCereba.gaCerebis_rigiTi_n"));
    if (qr.isEmpty())
        return;
    for (qr.first(); !qr.eof(); qr.next()) {
        if (m_state.CurrentMapName != SheetGrid::generalMapName())
            m_map.switcher.SwitchToGeneralMap(false, false);
        const std::optional<QPoint> pos = SheetGrid::generalPlace(
            qr.text(QStringLiteral("ruka_kodi")), zoom(), coordinate(qr.value(QStringLiteral("x"))),
            coordinate(qr.value(QStringLiteral("y"))), m_state.WLb, m_state.HLb, &m_prompts);
        if (!pos)
            continue;
        MarkerSpec recipe;
        recipe.kind = MarkerKind::Stop;
        recipe.key = stopKey(qr);
        recipe.name = qr.text(QStringLiteral("saxeli"));
        recipe.pos = *pos;
        recipe.iconPath = StopIcon;
        recipe.labelColour = MarkerLayer::SkyBlue;
        recipe.labelVisible = false;
        // A stop already marked (twice in the route, or by another route) keeps its marker.
        m_map.markers.addMarker(recipe);
    }
}

void TransportMapCommands::AddStopMarker(Mode mode)
{
    const DataSet &row = routeStops();
    if (row.isNull(QStringLiteral("x")) || row.isNull(QStringLiteral("y")))
        return;
    const double x = row.real(QStringLiteral("x"));
    const double y = row.real(QStringLiteral("y"));
    const std::optional<QPoint> pos =
        mode == Mode::General ? SheetGrid::generalPlace(row.text(QStringLiteral("ruka_kodi")), zoom(), x, y, m_state.WLb,
                                                        m_state.HLb, &m_prompts)
                              : SheetGrid::sheetPixel(zoom(), m_state.WLb, m_state.HLb, x, y);
    if (!pos)
        return;
    MarkerSpec recipe;
    recipe.kind = MarkerKind::Stop;
    recipe.key = stopKey(row);
    recipe.name = row.text(QStringLiteral("saxeli"));
    recipe.pos = *pos;
    recipe.iconPath = mode == Mode::General ? StopIcon : ActiveStopIcon;
    recipe.labelColour = MarkerLayer::Cream;
    recipe.labelVisible = mode == Mode::Detailed;
    m_map.markers.addMarker(recipe);
}

void TransportMapCommands::GenStopShowMnItClick()
{
    if (!hasCurrentStop())
        return;
    MapArea &map = m_map.area;
    const int horizontal = map.horizontalPosition();
    const int vertical = map.verticalPosition();
    map.setHorizontalPosition(0);
    map.setVerticalPosition(0);
    if (m_state.CurrentMapName != SheetGrid::generalMapName())
        m_map.switcher.SwitchToGeneralMap(false, false);

    const int current = stopKey(routeStops());
    bool marked = false;
    if (!m_map.markers.StopMarkers().isEmpty()) {
        DataSet &stops = m_dm.gaCereba_Qr;
        if (!stops.isOpen())
            stops.open();
        MarkerWalk walk(stops, StopKey, m_map.markers.StopMarkers());
        walk.forEach([&](const Marker &marker, const MarkerWalk::Record *stop) {
            // A stop that is gone, or whose code names no sheet, leaves its marker as it is.
            const std::optional<QPoint> pos =
                stop ? SheetGrid::generalPlace(stop->code, zoom(), stop->x, stop->y, m_state.WLb, m_state.HLb, nullptr)
                     : std::nullopt;
            if (!pos)
                return;
            marker.picture->setVisible(true);
            MarkerLayer::moveMarker(marker, *pos);
            if (marker.picture->key() == current) {
                marker.label->setVisible(true);
                marker.label->bringToFront();
                marker.label->setColour(MarkerLayer::Cream);
                marked = true;
            }
        });
    }
    if (!marked)
        AddStopMarker(Mode::General);
    map.setHorizontalPosition(horizontal);
    map.setVerticalPosition(vertical);
}

void TransportMapCommands::DetStopShowMnItClick()
{
    if (!hasCurrentStop())
        return;
    m_map.navigation.ResetMapView();
    const DataSet &row = routeStops();
    m_map.switcher.SwitchToSheet(row.text(QStringLiteral("ruka_kodi")));
    DataSet &qr = m_dm.Qr;
    DataModule::requery(qr, QStringLiteral("SELECT * FROM gaCereba"));

    // The scroll target puts the stop about 350 pixels right of and below the view's corner,
    // from the content's extent once the stop's marker is in place.
    MapArea &map = m_map.area;
    QPoint target;
    const auto aimAtCurrentStop = [&] {
        target = {SheetGrid::scrollTarget(map.horizontalRange(), coordinate(row.value(QStringLiteral("x")))),
                  SheetGrid::scrollTarget(map.verticalRange(), coordinate(row.value(QStringLiteral("y"))))};
    };

    const int current = stopKey(row);
    bool found = false;
    MarkerWalk walk(qr, StopKey, m_map.markers.StopMarkers());
    walk.forEach([&](const Marker &marker, const MarkerWalk::Record *stop) {
        if (!stop)
            return;
        const bool onThisSheet = stop->code == m_state.CurrentMapName;
        if (onThisSheet)
            MarkerLayer::moveMarker(marker, SheetGrid::sheetPixel(zoom(), m_state.WLb, m_state.HLb, stop->x, stop->y));
        marker.picture->setVisible(onThisSheet);
        marker.label->setVisible(onThisSheet);
        if (marker.picture->key() == current) {
            found = true;
            marker.picture->bringToFront();
            marker.picture->loadPicture(ActiveStopReplacement);
            aimAtCurrentStop();
        }
    });
    if (!found) {
        AddStopMarker(Mode::Detailed);
        aimAtCurrentStop();
    }

    map.setHorizontalPosition(target.x());
    map.setVerticalPosition(target.y());
}
