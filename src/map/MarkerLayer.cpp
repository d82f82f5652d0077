#include "map/MarkerLayer.h"

#include "common/Errors.h"
#include "data/DataModule.h"
#include "map/MapArea.h"
#include "map/MarkerWalk.h"
#include "platform/NoFollowFile.h"
#include "platform/PrivateTempDirectory.h"


const QColor MarkerLayer::SkyBlue(166, 202, 240);
const QColor MarkerLayer::Cream(255, 251, 240);

MarkerLayer::MarkerLayer(DataModule &dm, MapArea &area) : m_dm(dm), m_area(area)
{
}

QString MarkerLayer::pictureName(MarkerKind kind, int key)
{
    const char *prefix = kind == MarkerKind::Street ? "Str_" : kind == MarkerKind::Stop ? "Stp_" : "Obj_";
    return QLatin1String(prefix) + QString::number(key);
}

QString MarkerLayer::labelName(MarkerKind kind, int key)
{
    // Stop labels carry their kind too, so that a stop and an object with equal keys can both
    // be labelled on the map.
    return (kind == MarkerKind::Stop ? QStringLiteral("Lb_Stp_") : QStringLiteral("Lb_")) + QString::number(key);
}

std::optional<int> MarkerLayer::stopKeyOf(const MapItem &item)
{
    if (item.name() == pictureName(MarkerKind::Stop, item.key()) || item.name() == labelName(MarkerKind::Stop, item.key()))
        return item.key();
    return std::nullopt;
}

// ---- Making markers

void MarkerLayer::loadPicture(MapItem &picture, const MarkerSpec &recipe)
{
    if (!recipe.mapLogo) {
        picture.loadPicture(recipe.iconPath);
        return;
    }
    const QString path = privateTempDirectory() + QStringLiteral("ForMap.jpg");
    const QByteArray &bytes = *recipe.mapLogo;
    NoFollowFile::write(path, bytes);
    // The picture is the file's content: decoded from the bytes just written rather than read
    // back, which spares thousands of file operations when a rubric is shown.
    picture.setPicture(PictureCache::decodeContent(bytes, path));
    // A header claiming an absurd size (1 x 65,000 pixels) makes no logo: it would stretch the map.
    if (picture.width() > MaxMapLogoSide || picture.height() > MaxMapLogoSide)
        throw Error(QStringLiteral("The map picture of %1 is too large").arg(recipe.name));
}

std::optional<Marker> MarkerLayer::MakeMarker(const MarkerSpec &recipe)
{
    MapItem *picture = m_area.createItem(MapItem::Type::Picture, pictureName(recipe.kind, recipe.key));
    if (!picture)
        return std::nullopt;
    picture->move(recipe.pos);
    try {
        loadPicture(*picture, recipe);
    } catch (const Error &) {
        m_area.destroyItem(picture);
        return std::nullopt;
    }
    picture->setHint(recipe.name);
    if (recipe.kind != MarkerKind::Stop) {
        picture->setContextMenu(m_area.contextMenu());
        picture->setDoubleClickHandler(recipe.onDoubleClick);
    }
    if (recipe.kind == MarkerKind::Street)
        return Marker{picture, nullptr};

    MapItem *label = m_area.createItem(MapItem::Type::Label, labelName(recipe.kind, recipe.key));
    if (!label) {
        m_area.destroyItem(picture);
        return std::nullopt;
    }
    label->move(QPoint(picture->left(), picture->top() - LabelOffset));
    label->setCaption(recipe.name);
    label->setColour(recipe.labelColour);
    label->setVisible(recipe.labelVisible);
    label->setHint(recipe.name);
    return Marker{picture, label};
}

const Marker *MarkerLayer::addMarker(const MarkerSpec &recipe)
{
    MarkerList *list = recipe.kind == MarkerKind::Object   ? &m_objects
                       : recipe.kind == MarkerKind::Street ? &m_streets
                       : recipe.kind == MarkerKind::Stop   ? &m_stops
                                                         : nullptr;
    if (!list || list->isFull())
        return nullptr;
    const std::optional<Marker> marker = MakeMarker(recipe);
    if (!marker)
        return nullptr;
    list->m_entries.append(*marker);
    return &list->m_entries.constLast();
}

bool MarkerLayer::showLogoMarker(const MarkerSpec &recipe, int shownKey)
{
    removeLogoMarker();
    const std::optional<Marker> marker = MakeMarker(recipe);
    if (!marker)
        return false;
    m_logo.marker = *marker;
    m_logo.shown = shownKey;
    return true;
}

void MarkerLayer::removeLogoMarker()
{
    m_area.destroyItems({m_logo.marker.picture, m_logo.marker.label});
    m_logo = LogoMarkerState();
}

// ---- Removing markers

void MarkerLayer::clear(MarkerList &list)
{
    QList<MapItem *> items;
    items.reserve(list.count() * 2);
    for (const Marker &marker : list.m_entries) {
        items.append(marker.label);
        items.append(marker.picture);
    }
    m_area.destroyItems(items);
    list.m_entries.clear();
}

void MarkerLayer::ClearObjectMarkers()
{
    clear(m_objects);
    removeLogoMarker();
}

void MarkerLayer::ClearStreetMarkers()
{
    clear(m_streets);
}

void MarkerLayer::ClearStopMarkers()
{
    clear(m_stops);
}

// ---- Moving markers after a zoom change

void MarkerLayer::moveMarker(const Marker &marker, const QPoint &pos)
{
    marker.picture->move(pos);
    if (marker.label)
        marker.label->move(QPoint(pos.x(), pos.y() - LabelOffset));
}

void MarkerLayer::reposition(const MarkerList &list, DataSet &records, const QString &keyColumn,
                             const SheetGrid::Viewport &viewport)
{
    MarkerWalk walk(records, keyColumn, list);
    walk.forEach([&](const Marker &marker, const MarkerWalk::Record *record) {
        if (!record)
            return;
        if (const std::optional<QPoint> pos = viewport.pixelOnShownMap({record->code, record->x, record->y}))
            moveMarker(marker, *pos);
    });
}

void MarkerLayer::RepositionObjectMarkers(const SheetGrid::Viewport &viewport)
{
    // Without object markers the table of every object need not be read.
    if (m_objects.isEmpty())
        return;
    if (!m_dm.obieqtiQr.isOpen())
        m_dm.obieqtiQr.open();
    reposition(m_objects, m_dm.obieqtiQr, QStringLiteral("obieqtis_kodi"), viewport);
}

void MarkerLayer::repositionFromScratch(const MarkerList &list, const QString &sql, const QString &keyColumn,
                                        const SheetGrid::Viewport &viewport)
{
    // Qr is left holding the query either way; every user of Qr sets its own SQL before opening
    // it, so an empty list need not run the query.
    if (list.isEmpty()) {
        m_dm.Qr.close();
        m_dm.Qr.setSql(sql);
        return;
    }
    DataModule::requery(m_dm.Qr, sql);
    reposition(list, m_dm.Qr, keyColumn, viewport);
}

void MarkerLayer::RepositionStreetMarkers(const SheetGrid::Viewport &viewport)
{
    repositionFromScratch(m_streets, QStringLiteral("SELECT * FROM quCa"), QStringLiteral("quCa_kodi"), viewport);
}

void MarkerLayer::RepositionStopMarkers(const SheetGrid::Viewport &viewport)
{
    repositionFromScratch(m_stops, QStringLiteral("SELECT * FROM gaCereba"), QStringLiteral("gaCereba_kodi"), viewport);
}
