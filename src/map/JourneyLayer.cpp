#include "map/JourneyLayer.h"

#include "common/Errors.h"

#include <QPainter>

namespace {

const QString StopIcon = QStringLiteral(".\\pictures\\icons\\Stop.bmp");
constexpr int EndSize = 13;
constexpr int RideWidth = 5;
constexpr int CasingWidth = 8;
constexpr int WalkWidth = 3;

// A small ring: white inside, `colour` around.
QImage ring(int size, const QColor &colour, qreal width)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, width));
    p.setBrush(Qt::white);
    const qreal inset = width / 2 + 0.5;
    p.drawEllipse(QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    return image;
}

QString keyed(const char *prefix, int key)
{
    return QLatin1String(prefix) + QString::number(key);
}

} // namespace

JourneyLayer::JourneyLayer(MapArea &area) : m_area(area)
{
    area.setOverlay(this);
}

JourneyLayer::~JourneyLayer()
{
    m_area.setOverlay(nullptr);
}

void JourneyLayer::draw(const JourneyDrawing &journey, const SheetGrid::Viewport &viewport)
{
    clear();
    m_journey = journey;
    makeItems();
    relayout(viewport);
}

void JourneyLayer::clear()
{
    QList<MapItem *> items;
    for (const Placed &placed : std::as_const(m_placed))
        items << placed.label << placed.picture;
    m_area.destroyItems(items);
    m_journey = {};
    m_placed.clear();
    m_stops.clear();
    m_passed.clear();
    m_lines.clear();
    m_lineBounds.clear();
    m_area.overlayChanged();
}

std::optional<int> JourneyLayer::stopKeyOf(const MapItem &item)
{
    for (const char *prefix : {"Jst_", "Lb_Jst_", "Jps_"})
        if (item.name() == keyed(prefix, item.key()))
            return item.key();
    return std::nullopt;
}

// ---- Making the items

void JourneyLayer::makeItems()
{
    const QVector<JourneyLeg> &legs = m_journey.legs;
    // Boarding and alighting stops first, so that a stop that is also passed elsewhere keeps its
    // stop marker.
    for (const JourneyLeg &leg : legs) {
        if (leg.points.isEmpty())
            continue;
        for (const JourneyPoint *end : {&leg.points.first(), &leg.points.last()})
            if (end->isStop)
                addStop(*end);
    }
    for (const JourneyLeg &leg : legs) {
        if (leg.kind != JourneyLeg::Kind::Ride)
            continue;
        const QColor colour = JourneyDrawing::rideColour(leg.typeKey, leg.typeName);
        for (qsizetype i = 1; i + 1 < leg.points.size(); ++i)
            if (leg.points[i].isStop)
                addPassed(leg.points[i], colour);
    }
    // Where the journey starts and ends between the stops (a place, a point on the map).
    for (const JourneyLeg &leg : legs) {
        if (!leg.points.isEmpty()) {
            if (!leg.points.first().isStop)
                addEnd(leg.points.first(), 1);
            break;
        }
    }
    for (auto leg = legs.crbegin(); leg != legs.crend(); ++leg) {
        if (!leg->points.isEmpty()) {
            if (!leg->points.last().isStop)
                addEnd(leg->points.last(), 2);
            break;
        }
    }
}

void JourneyLayer::addStop(const JourneyPoint &point)
{
    // A stop met again (alighting where the next ride boards) keeps the marker it has.
    MapItem *picture = m_area.createItem(MapItem::Type::Picture, keyed("Jst_", point.stopKey));
    if (!picture)
        return;
    try {
        picture->loadPicture(StopIcon);
    } catch (const Error &) {
        // Like any marker that cannot be made: dropped without a word; the line still shows.
        m_area.destroyItem(picture);
        return;
    }
    picture->setHint(point.name);
    MapItem *label = m_area.createItem(MapItem::Type::Label, keyed("Lb_Jst_", point.stopKey));
    if (!label) {
        m_area.destroyItem(picture);
        return;
    }
    label->setCaption(point.name);
    label->setHint(point.name);
    label->setColour(MarkerLayer::Cream);
    m_placed.append({picture, label, point.place});
    m_stops.append(Marker{picture, label});
}

void JourneyLayer::addPassed(const JourneyPoint &point, const QColor &colour)
{
    if (m_area.findItem(keyed("Jst_", point.stopKey)))
        return;
    MapItem *picture = m_area.createItem(MapItem::Type::Picture, keyed("Jps_", point.stopKey));
    if (!picture)
        return;
    picture->setPicture(ring(PassedStopSize, colour, 2));
    picture->setHint(point.name);
    m_placed.append({picture, nullptr, point.place});
    m_passed.append(picture);
}

void JourneyLayer::addEnd(const JourneyPoint &point, int index)
{
    MapItem *picture = m_area.createItem(MapItem::Type::Picture, keyed("Jnd_", index));
    if (!picture)
        return;
    picture->setPicture(ring(EndSize, JourneyDrawing::walkColour(), 3));
    picture->setHint(point.name);
    m_placed.append({picture, nullptr, point.place});
}

// ---- Laying it out

void JourneyLayer::relayout(const SheetGrid::Viewport &viewport)
{
    if (isEmpty())
        return;
    for (const Placed &placed : std::as_const(m_placed)) {
        const std::optional<QPoint> at = viewport.pixelOnShownMap(placed.place);
        placed.picture->setVisible(at.has_value());
        if (placed.label)
            placed.label->setVisible(at.has_value());
        if (at) {
            const QPoint corner = *at - QPoint(placed.picture->width() / 2, placed.picture->height() / 2);
            MarkerLayer::moveMarker({placed.picture, placed.label}, corner);
        }
    }
    m_lines.clear();
    m_lineBounds.clear();
    for (const JourneyLeg &leg : std::as_const(m_journey.legs)) {
        QPolygon line;
        line.reserve(leg.points.size());
        for (const JourneyPoint &point : leg.points)
            if (const std::optional<QPoint> at = viewport.pixelInFrame(point.place))
                line.append(*at);
        m_lineBounds.append(line.boundingRect());
        m_lines.append(std::move(line));
    }
    m_area.overlayChanged();
}

QRect JourneyLayer::bounds() const
{
    QRect all;
    for (const QRect &line : m_lineBounds)
        all |= line;
    for (const Placed &placed : m_placed)
        if (placed.picture->isVisible())
            all |= placed.picture->geometry();
    return all;
}

void JourneyLayer::paintOverlay(QPainter &painter, const QRect &exposed) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QPolygon &line = m_lines[i];
        if (line.size() < 2 || !m_lineBounds[i].adjusted(-CasingWidth, -CasingWidth, CasingWidth, CasingWidth)
                                     .intersects(exposed))
            continue;
        const JourneyLeg &leg = m_journey.legs[i];
        if (leg.kind == JourneyLeg::Kind::Ride) {
            // A light casing keeps the line readable on any part of the map.
            painter.setPen(QPen(QColor(255, 255, 255, 210), CasingWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(line);
            painter.setPen(QPen(JourneyDrawing::rideColour(leg.typeKey, leg.typeName), RideWidth, Qt::SolidLine,
                                Qt::RoundCap, Qt::RoundJoin));
        } else {
            QPen pen(JourneyDrawing::walkColour(), WalkWidth, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
            pen.setDashPattern({2.0, 1.5});
            painter.setPen(pen);
        }
        painter.drawPolyline(line);
    }
    painter.restore();
}
