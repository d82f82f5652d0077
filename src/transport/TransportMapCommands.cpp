#include "transport/TransportMapCommands.h"

#include "common/MainState.h"
#include "data/DataModule.h"
#include "data/SqlText.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"

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

MapShow::Shown TransportMapCommands::shownStops()
{
    return {m_map.markers.StopMarkers(), StopKey, stopKey(routeStops())};
}

void TransportMapCommands::marSrutisCvenebazogadrukaze1Click()
{
    if (!hasCurrentStop())
        return;
    showRoute(routeStops().text(QStringLiteral("saxeoba")), routeStops().value(QStringLiteral("tipi")));
}

void TransportMapCommands::showRoute(const QString &routeName, const QVariant &type)
{
    m_map.navigation.ResetMapView();
    m_map.area.setHorizontalPosition(0);
    m_map.area.setVerticalPosition(0);
    ShowRouteStops(routeName, type);
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
        const std::optional<QPoint> pos =
            m_show.generalPlace(qr.text(QStringLiteral("ruka_kodi")), coordinate(qr.value(QStringLiteral("x"))),
                                coordinate(qr.value(QStringLiteral("y"))), true);
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
    const std::optional<QPoint> pos = mode == Mode::General
                                          ? m_show.generalPlace(row.text(QStringLiteral("ruka_kodi")), x, y, true)
                                          : m_show.sheetPlace(x, y);
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
    MapShow::Shown stops = shownStops();
    stops.records = [this]() -> DataSet & {
        DataSet &all = m_dm.gaCereba_Qr;
        // Without stop markers the table of every stop need not be read.
        if (!all.isOpen() && !m_map.markers.StopMarkers().isEmpty())
            all.open();
        return all;
    };
    // A route's labels stay hidden; the shown stop's label comes forward.
    stops.labelsOnGeneralMap = false;
    stops.singleOut = [](const Marker &marker) {
        marker.label->setVisible(true);
        marker.label->bringToFront();
        marker.label->setColour(MarkerLayer::Cream);
    };
    stops.addFocused = [this] { AddStopMarker(Mode::General); };
    m_show.onGeneralMap(stops, MapShow::GeneralSwitch::KeepZoom);
}

void TransportMapCommands::DetStopShowMnItClick()
{
    if (!hasCurrentStop())
        return;
    const DataSet &row = routeStops();
    MapShow::Shown stops = shownStops();
    stops.records = [this]() -> DataSet & {
        DataModule::requery(m_dm.Qr, QStringLiteral("SELECT * FROM gaCereba"));
        return m_dm.Qr;
    };
    stops.singleOut = [](const Marker &marker) {
        marker.picture->bringToFront();
        marker.picture->loadPicture(ActiveStopReplacement);
    };
    stops.addFocused = [this] { AddStopMarker(Mode::Detailed); };
    m_show.onSheet(stops, {row.text(QStringLiteral("ruka_kodi")), coordinate(row.value(QStringLiteral("x"))),
                           coordinate(row.value(QStringLiteral("y")))});
}
