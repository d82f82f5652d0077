#include "streets/StreetMapCommands.h"

#include "common/MainState.h"
#include "common/ZoomControl.h"
#include "data/DataModule.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/MarkerWalk.h"
#include "map/SheetGrid.h"
#include "widgets/GroupedRows.h"

namespace {

const QString StreetIcon = QStringLiteral(".\\pictures\\icons\\Street.bmp");
const QString ActiveStreetIcon = QStringLiteral(".\\pictures\\icons\\Active_ Street.bmp");
// The path by which an existing marker is given the active icon.
const QString ActiveStreetReplacement = QStringLiteral(".\\Pictures\\Icons\\Active_ Street.bmp");
const QString Key = QStringLiteral("quCa_kodi");

// A street without a key (a database without constraints may hold one) is marked as key 0.
int streetKey(const DataSet &streets)
{
    return streets.value(Key).toInt();
}

} // namespace

bool StreetMapCommands::hasFocusedStreet() const
{
    const DataSet &streets = m_dm.quCa_Qr;
    return streets.isOpen() && streets.currentRow() >= 0;
}

std::optional<QPoint> StreetMapCommands::streetPosition(const DataSet &streets, Mode mode) const
{
    if (streets.isNull(QStringLiteral("x")) || streets.isNull(QStringLiteral("y")))
        return std::nullopt;
    const double x = streets.real(QStringLiteral("x"));
    const double y = streets.real(QStringLiteral("y"));
    const int zoom = m_map.zoom.percent();
    if (mode == Mode::General)
        return SheetGrid::generalPlace(streets.text(QStringLiteral("ruka_kodi")), zoom, x, y, m_state.WLb, m_state.HLb,
                                       &m_prompts);
    return SheetGrid::sheetPixel(zoom, m_state.WLb, m_state.HLb, x, y);
}

bool StreetMapCommands::addMarker(const DataSet &streets, Mode mode, const QString &icon)
{
    const std::optional<QPoint> pos = streetPosition(streets, mode);
    if (!pos)
        return false;
    MarkerSpec recipe;
    recipe.kind = MarkerKind::Street;
    recipe.key = streetKey(streets);
    recipe.name = streets.text(QStringLiteral("saxeli"));
    recipe.pos = *pos;
    recipe.iconPath = icon;
    recipe.onDoubleClick = [this, key = recipe.key] { Im_StreetAcExecute(key); };
    return m_map.markers.addMarker(recipe) != nullptr;
}

void StreetMapCommands::loadAllStreets()
{
    DataModule::requery(m_dm.Qr, QStringLiteral("SELECT * FROM quCa"));
}

QPoint StreetMapCommands::scrollTarget() const
{
    const DataSet &street = m_dm.quCa_Qr;
    // An empty coordinate counts as 0: the view stays at that edge.
    const auto coordinate = [&street](const char *column) {
        const QString name = QLatin1String(column);
        return street.isNull(name) ? 0.0 : street.real(name);
    };
    return {SheetGrid::scrollTarget(m_map.area.horizontalRange(), coordinate("x"), ScrollMargin),
            SheetGrid::scrollTarget(m_map.area.verticalRange(), coordinate("y"), ScrollMargin)};
}

void StreetMapCommands::AddStreetMarker(Mode mode)
{
    addMarker(m_dm.quCa_Qr, mode, ActiveStreetIcon);
}

void StreetMapCommands::ShowDistrictStreets(const QString &districtKey)
{
    DataSet &streets = m_dm.Qr;
    // Streets without a district are listed under a group of their own; they are its streets.
    QString sql = QStringLiteral("SELECT * FROM quCa WHERE ") +
                  (districtKey.isEmpty() ? QStringLiteral("g_raioni_kodi IS NULL")
                                         : QStringLiteral("g_raioni_kodi=") + districtKey);
    if (!m_state.StreetFilter.isEmpty())
        sql += QStringLiteral(" AND ") + m_state.StreetFilter;
    sql += QStringLiteral(" ORDER BY saxeli");
    DataModule::requery(streets, sql);
    for (streets.first(); !streets.eof(); streets.next()) {
        m_map.switcher.SwitchToGeneralMap(false, false);
        addMarker(streets, Mode::General, StreetIcon);
    }
}

void StreetMapCommands::raionSiSemavaliyvelaquCismiTiTeba1Click()
{
    GroupedRows &list = m_list;
    if (!hasFocusedStreet() || list.firstSelectedVisibleRow() < 0)
        return;
    m_map.navigation.ResetMapView();
    m_map.area.scrollTo(0, 0);
    if (m_state.StreetGroupRow != -1) {
        list.collapseAllRows();
        m_map.markers.ClearStreetMarkers();
    }
    m_state.StreetGroupRow = list.firstSelectedVisibleRow();
    list.expandVisibleRowRecursively(m_state.StreetGroupRow);
    const DataSet &street = m_dm.quCa_Qr;
    const QString district = QStringLiteral("g_raioni_kodi");
    ShowDistrictStreets(street.isNull(district) ? QString() : street.text(district));
}

void StreetMapCommands::StreetGenShowMnItClick()
{
    if (!hasFocusedStreet())
        return;
    MapArea &map = m_map.area;
    const int horizontal = map.horizontalPosition();
    const int vertical = map.verticalPosition();
    map.scrollTo(0, 0);
    m_map.switcher.SwitchToGeneralMap(false, false);
    loadAllStreets();
    MarkerWalk walk(m_dm.Qr, Key, m_map.markers.StreetMarkers());
    const int focusedKey = streetKey(m_dm.quCa_Qr);
    const int zoom = m_map.zoom.percent();
    bool marked = false;
    walk.forEach([&](const Marker &marker, const MarkerWalk::Record *street) {
        MapItem &picture = *marker.picture;
        // A street whose code names no sheet has no place here: its marker is left as it is.
        const std::optional<QPoint> pos =
            street ? SheetGrid::generalPlace(street->code, zoom, street->x, street->y, m_state.WLb, m_state.HLb, nullptr)
                   : std::nullopt;
        if (pos) {
            picture.setVisible(true);
            if (street->hasPosition)
                picture.move(*pos);
        }
        if (picture.key() == focusedKey) {
            picture.bringToFront();
            picture.loadPicture(ActiveStreetReplacement);
            marked = true;
        }
    });
    walk.makeLastFoundCurrent();
    if (!marked)
        AddStreetMarker(Mode::General);
    map.setHorizontalPosition(horizontal);
    map.setVerticalPosition(vertical);
}

void StreetMapCommands::StreetDetShowMnItClick()
{
    if (!hasFocusedStreet())
        return;
    m_map.navigation.ResetMapView();
    m_map.switcher.SwitchToSheet(m_dm.quCa_Qr.text(QStringLiteral("ruka_kodi")));
    loadAllStreets();
    MarkerWalk walk(m_dm.Qr, Key, m_map.markers.StreetMarkers());
    const int focusedKey = streetKey(m_dm.quCa_Qr);
    const int zoom = m_map.zoom.percent();
    bool found = false;
    QPoint target;
    walk.forEach([&](const Marker &marker, const MarkerWalk::Record *street) {
        MapItem &picture = *marker.picture;
        if (street) {
            const bool onThisSheet = street->code == m_state.CurrentMapName;
            picture.setVisible(onThisSheet);
            if (onThisSheet && street->hasPosition)
                picture.move(SheetGrid::sheetPixel(zoom, m_state.WLb, m_state.HLb, street->x, street->y));
        }
        if (picture.key() == focusedKey) {
            found = true;
            picture.bringToFront();
            picture.loadPicture(ActiveStreetReplacement);
            target = scrollTarget();
        }
    });
    walk.makeLastFoundCurrent();
    if (!found) {
        AddStreetMarker(Mode::Detailed);
        target = scrollTarget();
    }
    m_map.area.setHorizontalPosition(target.x());
    m_map.area.setVerticalPosition(target.y());
}

void StreetMapCommands::Im_StreetAcExecute(int key)
{
    if (!m_list.isShown())
        return;
    DataSet &streets = m_dm.quCa_Qr;
    if (streets.isOpen() && streets.locate(Key, key))
        m_list.takeFocus();
}
