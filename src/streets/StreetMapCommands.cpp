#include "streets/StreetMapCommands.h"

#include "common/MainState.h"
#include "data/DataModule.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/MapShow.h"
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

std::optional<QPoint> StreetMapCommands::streetPosition(const DataSet &streets, Mode mode)
{
    if (streets.isNull(QStringLiteral("x")) || streets.isNull(QStringLiteral("y")))
        return std::nullopt;
    const double x = streets.real(QStringLiteral("x"));
    const double y = streets.real(QStringLiteral("y"));
    if (mode == Mode::General)
        return m_show.generalPlace(streets.text(QStringLiteral("ruka_kodi")), x, y, true);
    return m_show.sheetPlace(x, y);
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

MapShow::Shown StreetMapCommands::shownStreets()
{
    MapShow::Shown streets{m_map.markers.StreetMarkers(), Key, streetKey(m_dm.quCa_Qr)};
    streets.records = [this]() -> DataSet & {
        loadAllStreets();
        return m_dm.Qr;
    };
    streets.singleOut = [](const Marker &marker) {
        marker.picture->bringToFront();
        marker.picture->loadPicture(ActiveStreetReplacement);
    };
    return streets;
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
    MapShow::Shown streets = shownStreets();
    streets.addFocused = [this] { AddStreetMarker(Mode::General); };
    m_show.onGeneralMap(streets, MapShow::GeneralSwitch::KeepZoom);
}

void StreetMapCommands::StreetDetShowMnItClick()
{
    if (!hasFocusedStreet())
        return;
    const DataSet &street = m_dm.quCa_Qr;
    // An empty coordinate counts as 0 for the view: it stays at that edge.
    const auto coordinate = [&street](const char *column) {
        const QString name = QLatin1String(column);
        return street.isNull(name) ? 0.0 : street.real(name);
    };
    MapShow::Shown streets = shownStreets();
    streets.addFocused = [this] { AddStreetMarker(Mode::Detailed); };
    m_show.onSheet(streets, {street.text(QStringLiteral("ruka_kodi")), coordinate("x"), coordinate("y")});
}

void StreetMapCommands::Im_StreetAcExecute(int key)
{
    if (!m_list.isShown())
        return;
    DataSet &streets = m_dm.quCa_Qr;
    if (streets.isOpen() && streets.locate(Key, key))
        m_list.takeFocus();
}
