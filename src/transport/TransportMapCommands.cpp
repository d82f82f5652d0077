#include "transport/TransportMapCommands.h"

#include "common/MainState.h"
#include "data/DataModule.h"
#include "data/SqlText.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/SheetGrid.h"
#include "map/ZoomControl.h"

#include <QHash>

namespace {

const QString StopIcon = QStringLiteral(".\\pictures\\icons\\Stop.bmp");
const QString ActiveStopIcon = QStringLiteral(".\\pictures\\icons\\Active_Stop.bmp");
const QString ActiveStopReplacement = QStringLiteral(".\\Pictures\\Icons\\Active_Stop.bmp");

// A stop's position as the marker layer reads it too: an empty coordinate reads as 0.
struct StopPlace {
    QString code;
    double x = 0;
    double y = 0;
};

double coordinate(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// A stop without a key (a database without constraints may hold one) is marked as key 0.
int stopKey(const DataSet &stops)
{
    return stops.value(QStringLiteral("gaCereba_kodi")).toInt();
}

// The first row of each stop key in a data set of stops, for finding markers' records.
class StopIndex {
public:
    explicit StopIndex(const DataSet &stops) : m_stops(stops)
    {
        m_key = stops.requireColumn(QStringLiteral("gaCereba_kodi"));
        m_code = stops.requireColumn(QStringLiteral("ruka_kodi"));
        m_x = stops.requireColumn(QStringLiteral("x"));
        m_y = stops.requireColumn(QStringLiteral("y"));
        for (int row = stops.recordCount() - 1; row >= 0; --row)
            m_rows.insert(stops.valueAt(row, m_key).toLongLong(), row);
    }
    // The place of the stop with this key, or false when there is none.
    bool find(int key, StopPlace &place) const
    {
        const auto found = m_rows.constFind(key);
        if (found == m_rows.constEnd())
            return false;
        const QVariant code = m_stops.valueAt(*found, m_code);
        place = {code.isNull() ? QString() : code.toString(), coordinate(m_stops.valueAt(*found, m_x)),
                 coordinate(m_stops.valueAt(*found, m_y))};
        return true;
    }

private:
    const DataSet &m_stops;
    int m_key, m_code, m_x, m_y;
    QHash<qint64, int> m_rows;
};

void placeLabel(const Marker &marker)
{
    marker.label->move(QPoint(marker.picture->left(), marker.picture->top() - MarkerLayer::LabelOffset));
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
        MarkerSpec recipe;
        recipe.kind = MarkerKind::Stop;
        recipe.key = stopKey(qr);
        recipe.name = qr.text(QStringLiteral("saxeli"));
        recipe.pos = SheetGrid::generalPixel(qr.text(QStringLiteral("ruka_kodi")), zoom(),
                                           coordinate(qr.value(QStringLiteral("x"))),
                                           coordinate(qr.value(QStringLiteral("y"))), m_state.WLb, m_state.HLb,
                                           m_prompts);
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
    MarkerSpec recipe;
    recipe.kind = MarkerKind::Stop;
    recipe.key = stopKey(row);
    recipe.name = row.text(QStringLiteral("saxeli"));
    recipe.pos = mode == Mode::General ? SheetGrid::generalPixel(row.text(QStringLiteral("ruka_kodi")), zoom(), x, y,
                                                               m_state.WLb, m_state.HLb, m_prompts)
                                     : SheetGrid::sheetPixel(zoom(), m_state.WLb, m_state.HLb, x, y);
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
        const StopIndex index(stops);
        for (const Marker &marker : m_map.markers.StopMarkers()) {
            StopPlace place;
            if (!index.find(marker.picture->key(), place))
                continue; // the stop is gone: its marker keeps its place
            marker.picture->setVisible(true);
            marker.picture->move(
                SheetGrid::generalPixel(place.code, zoom(), place.x, place.y, m_state.WLb, m_state.HLb, m_prompts));
            placeLabel(marker);
            if (marker.picture->key() == current) {
                marker.label->setVisible(true);
                marker.label->bringToFront();
                marker.label->setColour(MarkerLayer::Cream);
                marked = true;
            }
        }
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
    const StopIndex index(qr);
    for (const Marker &marker : m_map.markers.StopMarkers()) {
        StopPlace place;
        if (!index.find(marker.picture->key(), place))
            continue;
        if (place.code != m_state.CurrentMapName) {
            marker.picture->setVisible(false);
            marker.label->setVisible(false);
        } else {
            marker.picture->move(SheetGrid::sheetPixel(zoom(), m_state.WLb, m_state.HLb, place.x, place.y));
            marker.picture->setVisible(true);
            placeLabel(marker);
            marker.label->setVisible(true);
        }
        if (marker.picture->key() == current) {
            found = true;
            marker.picture->bringToFront();
            marker.picture->loadPicture(ActiveStopReplacement);
            aimAtCurrentStop();
        }
    }
    if (!found) {
        AddStopMarker(Mode::Detailed);
        aimAtCurrentStop();
    }

    map.setHorizontalPosition(target.x());
    map.setVerticalPosition(target.y());
}
