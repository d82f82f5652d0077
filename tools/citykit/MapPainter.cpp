#include "citykit/MapPainter.h"

#include "citykit/Geometry.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>

namespace {

const QColor Countryside(234, 230, 218);
const QColor Town(247, 244, 237);
const QColor ForestFill(205, 226, 184);
const QColor ParkFill(184, 222, 156);
const QColor WaterFill(156, 201, 232);
const QColor WaterEdge(118, 170, 210);
const QColor AirportFill(221, 216, 232);
const QColor Casing(200, 192, 176);
const QColor StreetFill(255, 255, 255);
const QColor AvenueFill(251, 210, 122);
const QColor AvenueCasing(196, 150, 62);
const QColor BorderColour(140, 100, 170);
const QColor TextColour(50, 45, 40);

// District tints, so that neighbours are told apart.
const QColor Tints[] = {QColor(247, 242, 232), QColor(244, 243, 236), QColor(248, 241, 238),
                        QColor(242, 244, 236), QColor(246, 240, 234)};

const QColor BuildingFill(226, 214, 200);
const QColor BuildingEdge(196, 182, 166);
const QColor PlazaFill(242, 236, 222);

QColor areaColour(SceneArea::Kind kind)
{
    switch (kind) {
    case SceneArea::Forest:
        return ForestFill;
    case SceneArea::Park:
        return ParkFill;
    case SceneArea::Water:
        return WaterFill;
    case SceneArea::Airport:
        return AirportFill;
    }
    return ParkFill;
}

// One image being painted: its transform, scale and the labels already placed.
class Canvas {
public:
    Canvas(QImage &image, const QRectF &area, const QString &family)
        : painter(&image), area(area), family(family)
    {
        transform = MapPainter::viewTransform(area, image.size());
        metresPerPixel = area.width() / image.width();
        visible = area.adjusted(-area.width() * 0.05, -area.height() * 0.05, area.width() * 0.05,
                                area.height() * 0.05);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
    }

    double px(double metres, double minimum) const { return std::max(minimum, metres / metresPerPixel); }
    // Whether a shape's bounds touch the image; a straight horizontal or vertical line has flat ones.
    bool shows(const QRectF &bounds) const
    {
        return bounds.left() <= visible.right() && bounds.right() >= visible.left() && bounds.top() <= visible.bottom()
            && bounds.bottom() >= visible.top();
    }
    bool shows(const QPolygonF &shape) const { return !shape.isEmpty() && shows(shape.boundingRect()); }
    QPolygonF map(const QPolygonF &shape) const { return transform.map(shape); }
    QPointF map(QPointF p) const { return transform.map(p); }

    bool shows(const QPainterPath &shape) const { return !shape.isEmpty() && shows(shape.boundingRect()); }

    // Fills a shape (holes left open) and draws its outline with pen; a brush of Qt::NoBrush
    // draws the outline alone.
    void fill(const QPainterPath &shape, const QBrush &brush, const QPen &pen = Qt::NoPen)
    {
        if (!shows(shape))
            return;
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.drawPath(transform.map(shape));
    }

    void stroke(const QPolygonF &line, const QColor &colour, double width, Qt::PenStyle style = Qt::SolidLine)
    {
        if (!shows(line))
            return;
        QPen pen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(map(line));
    }

    QFont font(double pixels, bool bold = false, bool italic = false) const
    {
        QFont f(family);
        f.setPixelSize(std::max(6, int(std::lround(pixels))));
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    }

    // Draws a text centred on a pixel point, turned by angle degrees, with a light halo; skipped
    // when it would cover a text placed before.
    bool label(const QString &text, QPointF at, double angle, const QFont &f, const QColor &colour,
               const QColor &halo = QColor(255, 255, 255, 220), double haloWidth = 3)
    {
        const QFontMetricsF metrics(f);
        const double w = metrics.horizontalAdvance(text), h = metrics.height();
        QTransform t;
        t.translate(at.x(), at.y());
        t.rotate(angle);
        const QRectF box = t.mapRect(QRectF(-w / 2, -h / 2, w, h)).adjusted(-2, -2, 2, 2);
        const QRectF image(QPointF(0, 0), QSizeF(painter.device()->width(), painter.device()->height()));
        if (!image.intersects(box))
            return false;
        for (const QRectF &r : placed)
            if (r.intersects(box))
                return false;
        placed.append(box);
        QPainterPath path;
        path.addText(-w / 2, metrics.ascent() - h / 2, f, text);
        path = t.map(path);
        if (haloWidth > 0) {
            painter.setPen(QPen(halo, haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(path);
        return true;
    }

    // A name along a line, centred on its middle (or on its longest visible piece when the middle
    // is off the image), turned along the line and kept upright.
    bool labelAlong(const QString &text, const QPolygonF &line, const QFont &f, const QColor &colour, bool mustFit)
    {
        const QPolygonF p = map(line);
        const double total = geo::length(p);
        const double width = QFontMetricsF(f).horizontalAdvance(text);
        if (p.size() < 2 || (mustFit && width > total * 0.9))
            return false;
        const QRectF inner = QRectF(0, 0, painter.device()->width(), painter.device()->height()).adjusted(20, 20, -20, -20);
        double centre = total / 2;
        if (!inner.contains(geo::pointAt(p, centre))) {
            double at = 0, bestLength = 0;
            centre = -1;
            for (int i = 1; i < p.size(); ++i) {
                const double len = geo::distance(p[i - 1], p[i]);
                if (inner.contains((p[i - 1] + p[i]) / 2) && len > bestLength) {
                    bestLength = len;
                    centre = at + len / 2;
                }
                at += len;
            }
            if (centre < 0 || (mustFit && width > bestLength * 0.95))
                return false;
        }
        const QPointF d = geo::pointAt(p, centre + width / 2) - geo::pointAt(p, centre - width / 2);
        double angle = qRadiansToDegrees(std::atan2(d.y(), d.x()));
        if (angle > 90)
            angle -= 180;
        if (angle < -90)
            angle += 180;
        return label(text, geo::pointAt(p, centre), angle, f, colour);
    }

    QPainter painter;
    QRectF area;
    QRectF visible;
    QString family;
    QTransform transform;
    double metresPerPixel = 1;
    QVector<QRectF> placed;
};

// Land: the districts, each with a faint tint of its own, then what covers it.
void paintLand(Canvas &c, const MapScene &s, bool detailed)
{
    for (int i = 0; i < s.districts.size(); ++i)
        c.fill(s.districts[i].shape, Tints[i % 5]);
    for (const SceneArea &a : s.areas)
        c.fill(a.shape, areaColour(a.kind), a.kind == SceneArea::Water ? QPen(WaterEdge, c.px(6, 0.8)) : QPen(Qt::NoPen));
    for (const QPolygonF &runway : s.runways)
        c.stroke(runway, QColor(150, 150, 160), c.px(60, 2));
    if (detailed)
        for (const QPainterPath &building : s.buildings)
            c.fill(building, BuildingFill, QPen(BuildingEdge, 0.8));
}

// Rivers of known width with their banks, the smaller waterways as lines; islands above them.
void paintWater(Canvas &c, const MapScene &s)
{
    for (const SceneWaterway &w : s.waterways) {
        if (w.width > 0) {
            const double width = c.px(w.width, 2.5);
            c.stroke(w.line, WaterEdge, width + c.px(10, 1));
            c.stroke(w.line, WaterFill, width);
        } else {
            c.stroke(w.line, WaterEdge, c.px(5, 1.2));
        }
    }
    for (const QPainterPath &water : s.islandWater)
        c.fill(water, WaterFill);
    for (const QPainterPath &island : s.islands)
        c.fill(island, ParkFill, QPen(WaterEdge, c.px(4, 0.6)));
}

void paintBorders(Canvas &c, const MapScene &s)
{
    for (const SceneDistrict &d : s.districts)
        c.fill(d.shape, Qt::NoBrush,
               QPen(QColor(BorderColour.red(), BorderColour.green(), BorderColour.blue(), 150), c.px(12, 1.2),
                    Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
}

// Roads class by class, each class's casings below its fills; bridges in grey casings; then the
// railways and the squares.
void paintRoads(Canvas &c, const MapScene &s, bool detailed)
{
    if (detailed)
        for (const SceneRoad &r : s.roads)
            if (r.kind == SceneRoad::Path)
                c.stroke(r.line, QColor(170, 150, 130), 1.2, Qt::DashLine);
    for (const SceneRoad::Kind kind : {SceneRoad::Side, SceneRoad::Street, SceneRoad::Avenue}) {
        const double w = kind == SceneRoad::Side ? c.px(11, 0.9) : kind == SceneRoad::Street ? c.px(15, 1.2) : c.px(26, 2.2);
        for (const SceneRoad &r : s.roads)
            if (r.kind == kind)
                c.stroke(r.line, r.bridge ? QColor(110, 110, 110) : (kind == SceneRoad::Avenue ? AvenueCasing : Casing),
                         w + (r.bridge ? c.px(10, 2) : (detailed ? 2 : 0.8)));
        for (const SceneRoad &r : s.roads)
            if (r.kind == kind)
                c.stroke(r.line, r.bridge || kind == SceneRoad::Avenue ? AvenueFill : StreetFill, w);
    }
    for (const QPolygonF &rail : s.railways) {
        c.stroke(rail, QColor(120, 120, 120), c.px(7, 1.6));
        if (detailed)
            c.stroke(rail, Qt::white, c.px(3, 0.8), Qt::DashLine);
    }
    for (const QPainterPath &square : s.squares)
        c.fill(square, PlazaFill, QPen(Casing, c.px(5, 0.8)));
}

// Metro lines and stations, cable cars, and the stops on the sheets.
void paintTransit(Canvas &c, const MapScene &s, bool detailed)
{
    for (const SceneTransitLine &t : s.transit) {
        if (t.cable) {
            c.stroke(t.line, QColor(60, 60, 60), c.px(5, 1.2), Qt::DashLine);
        } else {
            QColor colour = t.colour;
            colour.setAlpha(170);
            c.stroke(t.line, colour, c.px(14, 2.5));
        }
    }
    for (const SceneStation &station : s.stations) {
        const QPointF p = c.map(station.at);
        const double radius = detailed ? 7 : 3.5;
        c.painter.setPen(QPen(station.cable ? QColor(60, 60, 60) : station.colour, detailed ? 3 : 1.5));
        c.painter.setBrush(Qt::white);
        c.painter.drawEllipse(p, radius, radius);
    }
    if (detailed) {
        c.painter.setPen(QPen(QColor(30, 80, 160), 1));
        c.painter.setBrush(QColor(70, 130, 210));
        for (const QPointF &stop : s.stops)
            if (c.visible.contains(stop)) {
                const QPointF p = c.map(stop);
                c.painter.drawRoundedRect(QRectF(p.x() - 4, p.y() - 4, 8, 8), 2, 2);
            }
    }
}

void districtNames(Canvas &c, const MapScene &s, bool detailed)
{
    const QColor colour(110, 70, 150, 170);
    for (const SceneDistrict &d : s.districts) {
        if (!c.visible.contains(d.labelAt))
            continue;
        QFont f = c.font(detailed ? 56 : 30, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, detailed ? 8 : 3);
        c.label(d.name, c.map(d.labelAt), 0, f, colour, QColor(255, 255, 255, 120), 4);
    }
}

void areaNames(Canvas &c, const MapScene &s, bool detailed)
{
    for (const SceneArea &a : s.areas) {
        if (a.name.isEmpty() || !c.visible.contains(a.labelAt) || c.transform.mapRect(a.shape.boundingRect()).width() < 50)
            continue;
        const QColor colour = a.kind == SceneArea::Water ? QColor(30, 80, 150)
            : a.kind == SceneArea::Airport               ? QColor(80, 70, 110)
                                                         : QColor(40, 100, 40);
        c.label(a.name, c.map(a.labelAt), 0, c.font(detailed ? 17 : 12, false, true), colour);
    }
    QFont riverFont = c.font(detailed ? 20 : 13, true, true);
    riverFont.setLetterSpacing(QFont::AbsoluteSpacing, detailed ? 4 : 2);
    for (const SceneWaterway &w : s.waterways) {
        if (w.name.isEmpty() || !c.shows(w.line))
            continue;
        if (detailed || w.line.size() < 9) {
            c.labelAlong(w.name, w.line, riverFont, QColor(30, 80, 150), false);
        } else {
            for (int i = 2; i + 1 < w.line.size(); i += 6)
                c.labelAlong(w.name, QPolygonF{w.line[i], w.line[i + 1]}, riverFont, QColor(30, 80, 150), false);
        }
    }
}

void stationNames(Canvas &c, const MapScene &s, bool detailed)
{
    for (const SceneStation &station : s.stations) {
        const QPointF p = c.map(station.at);
        const QFont f = c.font(detailed ? 15 : 10, true);
        const QColor colour = station.cable ? QColor(40, 40, 40) : station.colour.darker(130);
        const double offset = (detailed ? 10 : 5) + QFontMetricsF(f).horizontalAdvance(station.name) / 2;
        if (!c.label(station.name, p + QPointF(offset, 0), 0, f, colour))
            c.label(station.name, p - QPointF(offset, 0), 0, f, colour);
    }
}

void streetNames(Canvas &c, const MapScene &s, bool detailed)
{
    for (const bool major : {true, false})
        for (const SceneName &n : s.streetNames) {
            if (n.major != major || !c.shows(n.line))
                continue;
            if (n.line.size() == 1) {
                c.label(n.name, c.map(n.line.first()) + QPointF(0, detailed ? -26 : -10), 0, c.font(detailed ? 14 : 10, true),
                        TextColour);
                continue;
            }
            const QFont f = major ? c.font(detailed ? 16 : 10, true) : c.font(detailed ? 13 : 9);
            c.labelAlong(n.name, n.line, f, TextColour, !detailed || !major);
        }
}

// Names: a name placed first keeps its place, so districts go first on the general map and
// streets first on the sheets.
void paintNames(Canvas &c, const MapScene &s, bool detailed)
{
    if (detailed) {
        stationNames(c, s, detailed);
        streetNames(c, s, detailed);
        areaNames(c, s, detailed);
        districtNames(c, s, detailed);
    } else {
        districtNames(c, s, detailed);
        areaNames(c, s, detailed);
        stationNames(c, s, detailed);
        streetNames(c, s, detailed);
    }
}

// The map's furniture: its title and a scale bar, of the longest round length up to 500 m on a
// sheet and 2 km on the general map that takes at most a quarter of the image.
void paintFurniture(Canvas &c, bool detailed, const QString &title)
{
    const QSize size(c.painter.device()->width(), c.painter.device()->height());
    double barMetres = 0;
    for (const double metres : {50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0})
        if (metres <= (detailed ? 500 : 2000) && (barMetres == 0 || metres / c.metresPerPixel <= size.width() / 4.0))
            barMetres = metres;
    const double barPixels = barMetres / c.metresPerPixel;
    const QPointF barAt(20, size.height() - 24);
    c.painter.setPen(QPen(QColor(40, 40, 40), 2));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawLine(barAt, barAt + QPointF(barPixels, 0));
    c.painter.drawLine(barAt + QPointF(0, -5), barAt + QPointF(0, 5));
    c.painter.drawLine(barAt + QPointF(barPixels, -5), barAt + QPointF(barPixels, 5));
    c.placed.clear();
    const QString barText = barMetres >= 1000 ? QStringLiteral("%1 km").arg(barMetres / 1000) : QStringLiteral("%1 m").arg(barMetres);
    c.label(barText, barAt + QPointF(barPixels / 2, -12), 0, c.font(12, true), QColor(40, 40, 40));
    if (!title.isEmpty()) {
        // A sheet's code is Latin; the city's name is written in the map's own script.
        QFont f = c.font(detailed ? 22 : 28, true);
        if (detailed)
            f.setFamily(QStringLiteral("DejaVu Sans"));
        c.label(title, QPointF(16 + QFontMetricsF(f).horizontalAdvance(title) / 2, 24), 0, f, QColor(60, 40, 90));
    }
}

} // namespace

MapPainter::MapPainter(const MapScene &scene, QString fontFamily) : m_scene(scene), m_family(std::move(fontFamily))
{
    // A path works out its bounds on first use and keeps them; done here, before the painting
    // threads share the paths.
    auto bounds = [](const auto &items, auto shape) {
        for (const auto &item : items)
            shape(item).boundingRect();
    };
    bounds(scene.districts, [](const SceneDistrict &d) -> const QPainterPath & { return d.shape; });
    bounds(scene.areas, [](const SceneArea &a) -> const QPainterPath & { return a.shape; });
    for (const QVector<QPainterPath> *paths : {&scene.buildings, &scene.islandWater, &scene.islands, &scene.squares})
        bounds(*paths, [](const QPainterPath &p) -> const QPainterPath & { return p; });
}

QTransform MapPainter::viewTransform(const QRectF &area, QSize size)
{
    QTransform t;
    t.scale(size.width() / area.width(), size.height() / area.height());
    t.translate(-area.left(), -area.top());
    return t;
}

QImage MapPainter::paint(const QRectF &area, QSize size, bool detailed, const QString &title) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Countryside);
    Canvas c(image, area, m_family);
    paintLand(c, m_scene, detailed);
    paintWater(c, m_scene);
    paintBorders(c, m_scene);
    paintRoads(c, m_scene, detailed);
    paintTransit(c, m_scene, detailed);
    paintNames(c, m_scene, detailed);
    paintFurniture(c, detailed, title);
    c.painter.end();
    return image;
}
