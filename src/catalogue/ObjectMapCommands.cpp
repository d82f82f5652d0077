#include "catalogue/ObjectMapCommands.h"

#include "app/MainState.h"
#include "app/MainToolBar.h"
#include "app/WindowParts.h"
#include "catalogue/ObjectTab.h"
#include "data/DataModule.h"
#include "data/SqlText.h"
#include "dialogs/Prompts.h"
#include "map/MapArea.h"
#include "map/MapNavigation.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "map/ZoomSpinBox.h"
#include "widgets/GroupedListView.h"

#include <QCursor>
#include <QLocale>
#include <cmath>

namespace {

const QString KeyColumn = QStringLiteral("obieqtis_kodi");
const QString MapLogoColumn = QStringLiteral("map_Logo");
const QString YellowIcon = QStringLiteral(".\\pictures\\icons\\yellow.bmp");
const QString StopIcon = QStringLiteral(".\\pictures\\icons\\Active_Stop.bmp");

// Swallows the sheet-code message where a passive display must not interrupt the user.
class QuietPrompts : public Prompts {
public:
    void showMessage(const QString &) override {}
    bool askYesNo(const QString &) override { return false; }
    void reportError(const QString &) override {}
    void standardMessage(const QString &, const QString &) override {}
};

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

void placeMarker(const Marker &marker, const QPoint &pos)
{
    marker.picture->move(pos);
    marker.label->move(QPoint(pos.x(), pos.y() - MarkerLayer::LabelOffset));
}

void setMarkerVisible(const Marker &marker, bool visible)
{
    marker.picture->setVisible(visible);
    marker.label->setVisible(visible);
}

} // namespace

ObjectMapCommands::ObjectMapCommands(WindowParts &parts, ObjectTab &tab)
    : m_parts(parts), m_tab(tab), m_pointer([] { return QCursor::pos(); })
{
}

// ---- Reading the focused object

bool ObjectMapCommands::hasFocusedObject() const
{
    const DataSet &list = m_parts.DM1.obieqti_logo_Qr;
    return list.isOpen() && list.currentRow() >= 0;
}

ObjectMapCommands::Place ObjectMapCommands::focusedPlace() const
{
    return placeOf(m_parts.DM1.obieqti_logo_Qr, KeyColumn);
}

int ObjectMapCommands::zoom() const
{
    return m_parts.toolBar.ZoomEd->value();
}

std::optional<QPoint> ObjectMapCommands::generalPosition(const Place &place, bool quiet)
{
    // An unknown code is told about once here; the transform would tell it three times and put
    // the marker off the map.
    QuietPrompts quietPrompts;
    if (SheetGrid::SheetColumn(place.code, quiet ? quietPrompts : m_parts.prompts) < 0)
        return std::nullopt;
    const MainState &s = m_parts.state;
    return SheetGrid::GeneralPixel(place.code, zoom(), place.x, place.y, s.WLb, s.HLb, m_parts.prompts);
}

QPoint ObjectMapCommands::sheetPosition(const Place &place) const
{
    return SheetGrid::SheetPixel(zoom(), m_parts.state.WLb, m_parts.state.HLb, place.x, place.y);
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
    DataSet &objects = m_parts.DM1.obieqtiQr;
    if (!objects.isOpen())
        objects.open();
    return objects;
}

void ObjectMapCommands::expandFocusedRow()
{
    GroupedListView &grid = *m_tab.ObjectGrid;
    m_parts.state.ObjectGroupRow = grid.firstSelectedVisibleRow();
    if (m_parts.state.ObjectGroupRow >= 0)
        grid.expandRowRecursively(grid.visibleRow(m_parts.state.ObjectGroupRow));
}

// ---- The focused object on the general map

void ObjectMapCommands::ShowMepAcExecute()
{
    if (!hasFocusedObject())
        return;
    MapArea &map = m_parts.map;
    const int horizontal = map.horizontalPosition();
    const int vertical = map.verticalPosition();
    m_parts.markers.ClearStopMarkers();
    map.scrollTo(0, 0);
    if (m_parts.state.CurrentMapName != SheetGrid::generalMapName())
        m_parts.switcher.SwitchToGeneralMap(true, true);

    const Place focused = focusedPlace();
    if (!SheetGrid::CheckMapCode(focused.code, focused.subRubric, m_parts.prompts))
        return;

    // Every object marker comes back onto the general map, visible.
    DataSet &objects = openObjects();
    const QString focusedName = MarkerLayer::pictureName(MarkerKind::Object, focused.key);
    bool marked = false;
    for (const Marker &marker : m_parts.markers.ObjectMarkers()) {
        if (!objects.locate(KeyColumn, marker.picture->key()))
            continue;
        const std::optional<QPoint> pos = generalPosition(placeOf(objects, KeyColumn), true);
        if (!pos)
            continue;
        setMarkerVisible(marker, true);
        placeMarker(marker, *pos);
        if (marker.picture->name() == focusedName) {
            marker.label->bringToFront();
            marker.label->setColour(MarkerLayer::Cream);
            marked = true;
        }
    }
    if (!marked)
        PlaceObjectMarker('g');
    map.scrollTo(horizontal, vertical);
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
    MapArea &map = m_parts.map;
    m_parts.navigation.ResetMapView();
    if (!withStops)
        m_parts.markers.ClearStopMarkers();

    const Place focused = focusedPlace();
    if (!SheetGrid::CheckMapCode(focused.code, focused.subRubric, m_parts.prompts))
        return;
    // A code that names no sheet is told about once, before any raster is looked for.
    if (SheetGrid::SheetColumn(focused.code, m_parts.prompts) < 0)
        return;
    MainState &state = m_parts.state;
    if (state.CurrentMapName != focused.code)
        m_parts.switcher.SwitchToSheet(focused.code);

    // Markers of objects on this sheet are shown in their places, the others hidden.
    DataSet &objects = openObjects();
    bool marked = false;
    for (const Marker &marker : m_parts.markers.ObjectMarkers()) {
        if (!objects.locate(KeyColumn, marker.picture->key()))
            continue;
        const Place place = placeOf(objects, KeyColumn);
        if (place.code != state.CurrentMapName) {
            setMarkerVisible(marker, false);
            continue;
        }
        setMarkerVisible(marker, true);
        placeMarker(marker, sheetPosition(place));
        if (place.key == focused.key) {
            marker.picture->bringToFront();
            marker.label->bringToFront();
            marker.label->setColour(MarkerLayer::Cream);
            marked = true;
        }
    }
    if (!marked)
        PlaceObjectMarker('d');
    // The map area clamps what lies beyond its ends.
    const QPoint target(SheetGrid::ScrollTarget(map.horizontalRange(), focused.x),
                        SheetGrid::ScrollTarget(map.verticalRange(), focused.y));

    if (withStops) {
        m_parts.markers.ClearStopMarkers();
        ShowNearbyStops(focused.code, focused.x, focused.y);
    }
    map.sendImageToBack();
    map.scrollTo(target.x(), target.y());
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
    DataSet &stops = m_parts.DM1.Qr;
    DataModule::requery(stops, nearbyStopsSql(sheet, x, y, separator));
    if (stops.isEmpty()) {
        m_parts.prompts.showMessage(QStringLiteral("axlos mdebare gaCerebebi dafiqsirebuli ar aris"));
        return;
    }
    for (stops.first(); !stops.eof(); stops.next()) {
        const Place stop = placeOf(stops, QStringLiteral("gaCereba_kodi"));
        MarkerSpec recipe;
        recipe.kind = MarkerKind::Stop;
        recipe.key = stop.key;
        recipe.name = stop.name;
        recipe.pos = sheetPosition(stop);
        recipe.iconPath = StopIcon;
        recipe.labelColour = MarkerLayer::Cream;
        const Marker *made = m_parts.markers.AddMarker(recipe);
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
    m_parts.map.scrollTo(0, 0);
    if (m_parts.state.ObjectGroupRow != -1) {
        m_tab.ObjectGrid->collapseAllRows();
        m_parts.markers.ClearObjectMarkers();
    }
    expandFocusedRow();
    ShowRubricObjects(m_parts.DM1.obieqti_logo_Qr.text(QStringLiteral("rubrika_kodi")));
}

void ObjectMapCommands::ShowRubricObjects(const QString &rubric)
{
    bool isKey = false;
    rubric.toLongLong(&isKey);
    if (!isKey)
        return;
    DataSet &records = m_parts.DM1.Qr;
    DataModule::requery(
        records,
        QStringLiteral("SELECT obieqtis_logo.map_logo, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
                       "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi FROM obieqtis_logo, obieqti, qve_rubrika WHERE ") +
            m_parts.state.ObjectFilter +
            QStringLiteral("(qve_rubrika.qve_rubrika_kodi=obieqti.g_qve_rubrika_kodi AND "
                           "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) AND g_rubrika_kodi=") +
            rubric + QStringLiteral(" ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
    MarkerLayer &markers = m_parts.markers;
    // The focused object's logo would take the name of its rubric marker.
    if (!records.isEmpty())
        markers.RemoveLogoMarker();
    for (records.first(); !records.eof() && !markers.ObjectMarkers().isFull(); records.next()) {
        if (m_parts.state.CurrentMapName != SheetGrid::generalMapName())
            m_parts.switcher.SwitchToGeneralMap(true, false);
        const Place place = placeOf(records, KeyColumn);
        if (!SheetGrid::CheckMapCode(place.code, place.subRubric, m_parts.prompts))
            continue;
        const std::optional<QPoint> pos = generalPosition(place);
        if (!pos)
            continue;
        MarkerSpec recipe = objectSpec(place, *pos, records);
        recipe.labelColour = MarkerLayer::SkyBlue;
        markers.AddMarker(recipe);
    }
}

// ---- Single markers

void ObjectMapCommands::PlaceObjectMarker(char mode)
{
    m_parts.markers.RemoveLogoMarker();
    const Place focused = focusedPlace();
    const std::optional<QPoint> pos = mode == 'g' ? generalPosition(focused) : sheetPosition(focused);
    if (pos)
        m_parts.markers.AddMarker(objectSpec(focused, *pos, m_parts.DM1.obieqti_logo_Qr));
}

void ObjectMapCommands::PlaceLogoMarker()
{
    MarkerLayer &markers = m_parts.markers;
    markers.RemoveLogoMarker();
    const DataSet &list = m_parts.DM1.obieqti_logo_Qr;
    if (list.isNull(MapLogoColumn))
        return;
    // Following the focus must not interrupt browsing: an object without a known sheet just
    // gets no logo.
    const Place focused = focusedPlace();
    const std::optional<QPoint> pos = generalPosition(focused, true);
    if (!pos)
        return;
    MarkerSpec recipe = objectSpec(focused, *pos, list);
    recipe.kind = MarkerKind::Logo;
    markers.ShowLogoMarker(recipe, list.value(QStringLiteral("g_obieqti_kodi")).toInt());
}

void ObjectMapCommands::ObjectGridTableViewFocusedRecordChanged()
{
    const DataSet &list = m_parts.DM1.obieqti_logo_Qr;
    if (!list.isOpen() || list.isEmpty() || list.currentRow() < 0 ||
        m_parts.state.CurrentMapName != SheetGrid::generalMapName())
        return;
    MapArea &map = m_parts.map;
    const int horizontal = map.horizontalPosition();
    const int vertical = map.verticalPosition();
    map.scrollTo(0, 0);
    PlaceLogoMarker();
    map.scrollTo(horizontal, vertical);
}

// ---- From a marker back to the list

void ObjectMapCommands::Im_ObjAcExecute()
{
    DataSet &list = m_parts.DM1.obieqti_logo_Qr;
    if (!list.isOpen())
        return;
    const QPoint pointer = m_parts.map.globalToContent(m_pointer());
    const MarkerList &markers = m_parts.markers.ObjectMarkers();
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
        if (!list.locate(KeyColumn, image.key()) || list.text(QStringLiteral("saxeli")) != name)
            continue;
        expandFocusedRow();
        if (!m_parts.prompts.askYesNo(QStringLiteral("obieqti \"") + name +
                                      QStringLiteral("\" gaaqtiurebulia, ganvagrZoT Zebna?")))
            return;
    }
}
