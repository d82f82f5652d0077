#include "catalogue/ObjectMapCommands.h"

#include "common/MainState.h"
#include "common/Prompts.h"
#include "data/DataModule.h"
#include "data/SqlText.h"
#include "map/MapArea.h"
#include "map/MapEngine.h"
#include "map/MapShow.h"
#include "map/MarkerWalk.h"
#include "map/SheetGrid.h"
#include "widgets/GroupedRows.h"

#include <QCursor>
#include <QLocale>
#include <cmath>

namespace {

const QString KeyColumn = QStringLiteral("obieqtis_kodi");
const QString MapLogoColumn = QStringLiteral("map_Logo");
const QString YellowIcon = QStringLiteral(".\\pictures\\icons\\yellow.bmp");
const QString ActiveStopIcon = QStringLiteral(".\\pictures\\icons\\Active_Stop.bmp");

// An empty coordinate reads as 0, as the marker layer places such a record after a zoom.
double coordinate(const DataSet &record, const QString &column)
{
    const QVariant value = record.value(column);
    return value.isNull() ? 0.0 : value.toDouble();
}

ObjectMapCommands::Place placeOf(const DataSet &record, const QString &keyColumn)
{
    ObjectMapCommands::Place place;
    place.key = record.value(keyColumn).toInt();
    place.name = record.text(QStringLiteral("saxeli"));
    place.code = record.text(QStringLiteral("ruka_kodi"));
    place.x = coordinate(record, QStringLiteral("x"));
    place.y = coordinate(record, QStringLiteral("y"));
    const QString subRubric = QStringLiteral("g_qve_rubrika_kodi");
    if (record.columnIndex(subRubric) >= 0) // objects only
        place.subRubric = record.value(subRubric).toInt();
    return place;
}

} // namespace

ObjectMapCommands::ObjectMapCommands(DataModule &dm, MainState &state, Prompts &prompts, MapEngine &map,
                                     GroupedRows &list)
    : m_dm(dm), m_state(state), m_prompts(prompts), m_map(map), m_show(map, state, prompts),
      m_list(list), m_pointer([] { return QCursor::pos(); })
{
}

// ---- Reading the focused object

bool ObjectMapCommands::hasFocusedObject() const
{
    const DataSet &list = m_dm.obieqti_logo_Qr;
    return list.isOpen() && list.currentRow() >= 0;
}

ObjectMapCommands::Place ObjectMapCommands::focusedPlace() const
{
    return placeOf(m_dm.obieqti_logo_Qr, KeyColumn);
}

std::optional<QPoint> ObjectMapCommands::generalPosition(const QString &code, double x, double y, bool tell)
{
    return m_show.generalPlace(code, x, y, tell);
}

QPoint ObjectMapCommands::sheetPosition(double x, double y) const
{
    return m_show.sheetPlace(x, y);
}

MapShow::Shown ObjectMapCommands::shownObjects(int focusedKey)
{
    MapShow::Shown objects{m_map.markers.ObjectMarkers(), KeyColumn, focusedKey};
    objects.records = [this]() -> DataSet & { return openObjects(); };
    return objects;
}

MarkerSpec ObjectMapCommands::objectSpec(const Place &place, const QPoint &pos, const DataSet &record)
{
    MarkerSpec recipe;
    recipe.key = place.key;
    recipe.name = place.name;
    recipe.pos = pos;
    if (!record.isNull(MapLogoColumn))
        recipe.mapLogo = record.bytes(MapLogoColumn);
    recipe.iconPath = YellowIcon;
    recipe.labelColour = MarkerLayer::Cream;
    recipe.onDoubleClick = [this] { Im_ObjAcExecute(); };
    return recipe;
}

DataSet &ObjectMapCommands::openObjects()
{
    DataSet &objects = m_dm.obieqtiQr;
    if (!objects.isOpen())
        objects.open();
    return objects;
}

void ObjectMapCommands::expandFocusedRow()
{
    m_state.ObjectGroupRow = m_list.firstSelectedVisibleRow();
    if (m_state.ObjectGroupRow >= 0)
        m_list.expandVisibleRowRecursively(m_state.ObjectGroupRow);
}

// ---- The focused object on the general map

void ObjectMapCommands::ShowMepAcExecute()
{
    if (!hasFocusedObject())
        return;
    m_map.markers.ClearStopMarkers();
    const Place focused = focusedPlace();
    MapShow::Shown objects = shownObjects(focused.key);
    objects.singleOut = [](const Marker &marker) {
        marker.label->bringToFront();
        marker.label->setColour(MarkerLayer::Cream);
    };
    objects.addFocused = [this] { PlaceObjectMarker('g'); };
    m_show.onGeneralMap(objects, MapShow::GeneralSwitch::ResetZoom,
                         [&] { return m_show.CheckMapCode(focused.code, focused.subRubric); });
}

// ---- The focused object on its detailed sheet

void ObjectMapCommands::ShowDetMapAcExecute()
{
    showOnSheet(false);
}

void ObjectMapCommands::ShowObjWithStopAcExecute()
{
    showOnSheet(true);
}

void ObjectMapCommands::showOnSheet(bool withStops)
{
    if (!hasFocusedObject())
        return;
    const Place focused = focusedPlace();
    MapShow::Shown objects = shownObjects(focused.key);
    objects.singleOut = [](const Marker &marker) {
        marker.picture->bringToFront();
        marker.label->bringToFront();
        marker.label->setColour(MarkerLayer::Cream);
    };
    objects.addFocused = [this] { PlaceObjectMarker('d'); };
    const auto admit = [&] {
        if (!withStops)
            m_map.markers.ClearStopMarkers();
        if (!m_show.CheckMapCode(focused.code, focused.subRubric))
            return false;
        // A code that names no sheet is told about once, before any raster is looked for.
        if (SheetGrid::SheetColumn(focused.code) < 0) {
            m_show.tellNoSuchSheet();
            return false;
        }
        return true;
    };
    const auto nearbyStops = [&] {
        if (withStops) {
            m_map.markers.ClearStopMarkers();
            ShowNearbyStops(focused.code, focused.x, focused.y);
        }
    };
    m_show.onSheet(objects, {focused.code, focused.x, focused.y}, admit, nearbyStops);
}

// ---- Stops near an object

QString ObjectMapCommands::nearbyStopsSql(const QString &sheet, double x, double y, const QString &separator)
{
    const auto general = [&separator](double value) {
        return QString::number(value, 'g', 15).replace(QLatin1Char('.'), separator);
    };
    const QString xText = general(x);
    QString xQuery;
    QString yQuery;
    int window;
    if (xText.contains(QLatin1Char(','))) {
        // Keep two decimals, cut rather than rounded, with the point SQL expects.
        const auto cut = [](const QString &text) {
            const int comma = text.indexOf(QLatin1Char(','));
            return comma < 0 ? text : text.left(comma) + QLatin1Char('.') + text.mid(comma + 1, 2);
        };
        xQuery = cut(xText);
        yQuery = cut(general(y));
        window = 5;
    } else {
        // SQL reads a point whatever the user's separator (a whole x of a comma user lands here).
        xQuery = QString::number(x, 'f', 2);
        yQuery = QString::number(y, 'f', 2);
        window = 6;
    }
    // A negative value is bracketed: "y--5" would start an SQL comment.
    const auto operand = [](const QString &number) {
        return number.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + number + QLatin1Char(')') : number;
    };
    const QString w = QString::number(window);
    return QStringLiteral("SELECT * FROM gaCereba WHERE (ABS(x-") + operand(xQuery) + QStringLiteral(")<=") + w +
           QStringLiteral(") AND (ABS(y-") + operand(yQuery) + QStringLiteral(")<=") + w +
           QStringLiteral(") AND (ruka_kodi='") + SqlText::literalBody(sheet) + QStringLiteral("')");
}

void ObjectMapCommands::ShowNearbyStops(const QString &sheet, double x, double y)
{
    const QString separator = m_separator.isEmpty() ? QLocale::system().decimalPoint() : m_separator;
    DataSet &stops = m_dm.Qr;
    DataModule::requery(stops, nearbyStopsSql(sheet, x, y, separator));
    if (stops.isEmpty()) {
        m_prompts.showMessage(QStringLiteral("axlos mdebare gaCerebebi dafiqsirebuli ar aris"));
        return;
    }
    for (stops.first(); !stops.eof(); stops.next()) {
        const Place stop = placeOf(stops, QStringLiteral("gaCereba_kodi"));
        MarkerSpec recipe;
        recipe.kind = MarkerKind::Stop;
        recipe.key = stop.key;
        recipe.name = stop.name;
        recipe.pos = sheetPosition(stop.x, stop.y);
        recipe.iconPath = ActiveStopIcon;
        recipe.labelColour = MarkerLayer::Cream;
        const Marker *made = m_map.markers.addMarker(recipe);
        if (!made)
            return;
        // Stop labels lie just above the map, under every other marker.
        made->label->sendToBack();
    }
}

// ---- All objects of a rubric

void ObjectMapCommands::rubrukaSiSemvaliobieqtebisCvenebarukaze1Click()
{
    if (!hasFocusedObject())
        return;
    m_map.area.scrollTo(0, 0);
    if (m_state.ObjectGroupRow != -1) {
        m_list.collapseAllRows();
        m_map.markers.ClearObjectMarkers();
    }
    expandFocusedRow();
    ShowRubricObjects(m_dm.obieqti_logo_Qr.text(QStringLiteral("rubrika_kodi")));
}

void ObjectMapCommands::ShowRubricObjects(const QString &rubric)
{
    bool isKey = false;
    rubric.toLongLong(&isKey);
    if (!isKey)
        return;
    DataSet &records = m_dm.Qr;
    DataModule::requery(
        records,
        QStringLiteral("SELECT obieqtis_logo.map_logo, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
                       "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi FROM obieqtis_logo, obieqti, qve_rubrika WHERE ") +
            m_state.ObjectFilter +
            QStringLiteral("(qve_rubrika.qve_rubrika_kodi=obieqti.g_qve_rubrika_kodi AND "
                           "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) AND g_rubrika_kodi=") +
            rubric + QStringLiteral(" ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
    MarkerLayer &markers = m_map.markers;
    // The focused object's logo would take the name of its rubric marker.
    if (!records.isEmpty())
        markers.removeLogoMarker();
    for (records.first(); !records.eof() && !markers.ObjectMarkers().isFull(); records.next()) {
        if (m_state.CurrentMapName != SheetGrid::generalMapName())
            m_map.switcher.SwitchToGeneralMap(true, false);
        const Place place = placeOf(records, KeyColumn);
        if (!m_show.CheckMapCode(place.code, place.subRubric))
            continue;
        const std::optional<QPoint> pos = generalPosition(place.code, place.x, place.y, true);
        if (!pos)
            continue;
        MarkerSpec recipe = objectSpec(place, *pos, records);
        recipe.labelColour = MarkerLayer::SkyBlue;
        markers.addMarker(recipe);
    }
}

// ---- Single markers

void ObjectMapCommands::PlaceObjectMarker(char mode)
{
    m_map.markers.removeLogoMarker();
    const Place focused = focusedPlace();
    const std::optional<QPoint> pos =
        mode == 'g' ? generalPosition(focused.code, focused.x, focused.y, true) : sheetPosition(focused.x, focused.y);
    if (pos)
        m_map.markers.addMarker(objectSpec(focused, *pos, m_dm.obieqti_logo_Qr));
}

void ObjectMapCommands::PlaceLogoMarker()
{
    MarkerLayer &markers = m_map.markers;
    markers.removeLogoMarker();
    const DataSet &list = m_dm.obieqti_logo_Qr;
    if (list.isNull(MapLogoColumn))
        return;
    // Following the focus must not interrupt browsing: an object without a known sheet just
    // gets no logo.
    const Place focused = focusedPlace();
    const std::optional<QPoint> pos = generalPosition(focused.code, focused.x, focused.y, false);
    if (!pos)
        return;
    MarkerSpec recipe = objectSpec(focused, *pos, list);
    recipe.kind = MarkerKind::Logo;
    markers.showLogoMarker(recipe, list.value(QStringLiteral("g_obieqti_kodi")).toInt());
}

void ObjectMapCommands::ObjectGridTableViewFocusedRecordChanged()
{
    const DataSet &list = m_dm.obieqti_logo_Qr;
    if (!list.isOpen() || list.isEmpty() || list.currentRow() < 0 ||
        m_state.CurrentMapName != SheetGrid::generalMapName())
        return;
    MapArea &map = m_map.area;
    const int horizontal = map.horizontalPosition();
    const int vertical = map.verticalPosition();
    map.scrollTo(0, 0);
    PlaceLogoMarker();
    map.scrollTo(horizontal, vertical);
}

// ---- From a marker back to the list

void ObjectMapCommands::Im_ObjAcExecute()
{
    DataSet &list = m_dm.obieqti_logo_Qr;
    if (!list.isOpen())
        return;
    const QPoint pointer = m_map.area.globalToContent(m_pointer());
    const MarkerList &markers = m_map.markers.ObjectMarkers();
    MarkerWalk listed(list, KeyColumn, markers);
    const int count = markers.count();
    for (int i = 0; i < count && i < markers.count(); ++i) {
        const MapItem &image = *markers[i].picture;
        // Hidden markers belong to other sheets and cannot be under the pointer.
        if (!image.isVisible())
            continue;
        const QPoint d = pointer - image.pos();
        if (std::hypot(double(d.x()), double(d.y())) > std::hypot(double(image.width()), double(image.height())))
            continue;
        const QString name = image.hint();
        // An object the current search excludes is not in the list: nothing to activate.
        if (!listed.locate(image.key()) || list.text(QStringLiteral("saxeli")) != name)
            continue;
        expandFocusedRow();
        if (!m_prompts.askYesNo(QStringLiteral("obieqti \"") + name +
                                      QStringLiteral("\" gaaqtiurebulia, ganvagrZoT Zebna?")))
            return;
    }
}
