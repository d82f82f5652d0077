#include "MapPainter.h"

#include "Geometry.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
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

bool isAvenue(const Model &m, int type)
{
    for (const StreetType &t : m.streetTypes)
        if (t.code == type)
            return t.keyword == QLatin1String("gamziri") || t.keyword == QLatin1String("gzatkecili")
                || t.keyword == QLatin1String("sanapiro") || t.keyword == QLatin1String("xeivani");
    return false;
}

bool isKeyword(const Model &m, int type, const char *keyword)
{
    for (const StreetType &t : m.streetTypes)
        if (t.code == type)
            return t.keyword == QLatin1String(keyword);
    return false;
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
    bool shows(const QPolygonF &shape) const { return shape.boundingRect().intersects(visible) || visible.contains(shape.value(0)); }
    QPolygonF map(const QPolygonF &shape) const { return transform.map(shape); }
    QPointF map(QPointF p) const { return transform.map(p); }

    void fill(const QPolygonF &shape, const QColor &colour, const QPen &pen = Qt::NoPen)
    {
        if (!shows(shape))
            return;
        painter.setPen(pen);
        painter.setBrush(colour);
        painter.drawPolygon(map(shape));
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

} // namespace

MapPainter::MapPainter(const City &city, QString fontFamily)
    : m_city(city), m_model(*city.model), m_family(std::move(fontFamily))
{
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
    const Model &m = m_model;

    // Land: the districts, each with a faint tint of its own.
    for (int i = 0; i < m.districts.size(); ++i)
        c.fill(m.districts[i].outline, Tints[i % 5]);
    for (const Area &a : m.areas) {
        const QColor colour = a.kind == Area::Forest ? ForestFill
            : a.kind == Area::Park                   ? ParkFill
            : a.kind == Area::Water                  ? WaterFill
                                                     : AirportFill;
        c.fill(a.outline, colour, a.kind == Area::Water ? QPen(WaterEdge, c.px(6, 0.8)) : QPen(Qt::NoPen));
    }
    for (const Area &a : m.areas)
        if (a.kind == Area::Airport && a.outline.size() >= 4)
            c.stroke(QPolygonF{(a.outline[0] + a.outline[3]) / 2, (a.outline[1] + a.outline[2]) / 2},
                     QColor(150, 150, 160), c.px(60, 2));

    // The river, widening around its islands.
    const double riverWidth = c.px(m.river.width, 2.5);
    c.stroke(m.river.line, WaterEdge, riverWidth + c.px(10, 1));
    c.stroke(m.river.line, WaterFill, riverWidth);
    for (const Island &island : m.river.islands) {
        const QPointF centre = geo::centroid(island.outline);
        QPolygonF bulge;
        for (QPointF p : island.outline)
            bulge << centre + (p - centre) * 1.5 + (p - centre) / std::max(1.0, geo::distance(p, centre)) * 30;
        c.fill(bulge, WaterFill);
        c.fill(island.outline, ParkFill, QPen(WaterEdge, c.px(4, 0.6)));
    }

    // District borders.
    for (const District &d : m.districts) {
        QPolygonF closed = d.outline;
        closed << d.outline.first();
        c.stroke(closed, QColor(BorderColour.red(), BorderColour.green(), BorderColour.blue(), 150),
                 c.px(12, 1.2), Qt::DashLine);
    }

    // Side streets of the grid, then named streets, then avenues and bridges above them.
    const double sideWidth = c.px(11, 0.9);
    QPen casingPen(Casing, sideWidth + (detailed ? 2 : 0.8), Qt::SolidLine, Qt::RoundCap);
    QPen fillPen(StreetFill, sideWidth, Qt::SolidLine, Qt::RoundCap);
    for (const QPen &pen : {casingPen, fillPen}) {
        c.painter.setPen(pen);
        for (const GridSegment &s : m_city.grid.segments)
            if (c.visible.contains(s.a) || c.visible.contains(s.b))
                c.painter.drawLine(c.map(s.a), c.map(s.b));
    }
    auto drawStreets = [&](bool avenues) {
        for (const StreetRecord &s : m_city.streets) {
            if (!s.fromModel || s.line.size() < 2 || isAvenue(m, s.type) != avenues)
                continue;
            const bool bridge = isKeyword(m, s.type, "xidi");
            const double w = avenues ? c.px(26, 2.2) : c.px(15, 1.2);
            c.stroke(s.line, bridge ? QColor(110, 110, 110) : (avenues ? AvenueCasing : Casing),
                     w + (bridge ? c.px(10, 2) : (detailed ? 2 : 0.8)));
            c.stroke(s.line, avenues || bridge ? AvenueFill : StreetFill, w);
        }
    };
    drawStreets(false);
    drawStreets(true);
    for (const StreetRecord &s : m_city.streets)
        if (s.fromModel && s.line.size() == 1) {
            const QPolygonF square = geo::ellipse(s.line.first(), 55, 55, 0, 24);
            c.fill(square, QColor(242, 236, 222), QPen(Casing, c.px(5, 0.8)));
        }

    // Metro lines and stations, cable cars.
    for (const RouteRecord &r : m_city.routes) {
        if (!r.fromModel || (r.type != 1 && r.type != 4))
            continue;
        QPolygonF line;
        for (int s : r.stops)
            line << m_city.stops[s].position;
        if (r.type == 1) {
            QColor colour = r.colour;
            colour.setAlpha(170);
            c.stroke(line, colour, c.px(14, 2.5));
        } else {
            c.stroke(line, QColor(60, 60, 60), c.px(5, 1.2), Qt::DashLine);
        }
    }
    for (const RouteRecord &r : m_city.routes) {
        if (!r.fromModel || (r.type != 1 && r.type != 4))
            continue;
        for (int s : r.stops) {
            const QPointF p = c.map(m_city.stops[s].position);
            const double radius = detailed ? 7 : 3.5;
            c.painter.setPen(QPen(r.type == 1 ? r.colour : QColor(60, 60, 60), detailed ? 3 : 1.5));
            c.painter.setBrush(Qt::white);
            c.painter.drawEllipse(p, radius, radius);
        }
    }
    if (detailed) {
        c.painter.setPen(QPen(QColor(30, 80, 160), 1));
        c.painter.setBrush(QColor(70, 130, 210));
        for (const StopRecord &s : m_city.stops)
            if (s.fromModel && !s.name.startsWith(QLatin1String("metro ")) && c.visible.contains(s.position)) {
                const QPointF p = c.map(s.position);
                c.painter.drawRoundedRect(QRectF(p.x() - 4, p.y() - 4, 8, 8), 2, 2);
            }
    }

    // Names: districts first on the general map, streets first on the sheets.
    const QColor districtColour(110, 70, 150, 170);
    auto districtNames = [&] {
        for (const District &d : m.districts) {
            const QPointF centre = geo::centroid(d.outline);
            if (!c.visible.contains(centre))
                continue;
            QFont f = c.font(detailed ? 56 : 30, true);
            f.setLetterSpacing(QFont::AbsoluteSpacing, detailed ? 8 : 3);
            c.label(d.name, c.map(centre), 0, f, districtColour, QColor(255, 255, 255, 120), 4);
        }
    };
    auto areaNames = [&] {
        for (const Area &a : m.areas) {
            const QRectF box = c.map(a.outline).boundingRect();
            if (box.width() < 50 || !c.visible.contains(geo::centroid(a.outline)))
                continue;
            const QColor colour = a.kind == Area::Water ? QColor(30, 80, 150)
                : a.kind == Area::Airport               ? QColor(80, 70, 110)
                                                        : QColor(40, 100, 40);
            c.label(a.name, c.map(geo::centroid(a.outline)), 0, c.font(detailed ? 17 : 12, false, true), colour);
        }
        QFont riverFont = c.font(detailed ? 20 : 13, true, true);
        riverFont.setLetterSpacing(QFont::AbsoluteSpacing, detailed ? 4 : 2);
        if (detailed) {
            c.labelAlong(m.river.name, m.river.line, riverFont, QColor(30, 80, 150), false);
        } else {
            for (int i = 2; i + 1 < m.river.line.size(); i += 6)
                c.labelAlong(m.river.name, QPolygonF{m.river.line[i], m.river.line[i + 1]}, riverFont,
                             QColor(30, 80, 150), false);
        }
    };
    auto stationNames = [&] {
        QSet<int> named; // a station of two lines is named once
        for (const RouteRecord &r : m_city.routes) {
            if (!r.fromModel || (r.type != 1 && r.type != 4))
                continue;
            for (int s : r.stops) {
                if (named.contains(s))
                    continue;
                named.insert(s);
                const StopRecord &stop = m_city.stops[s];
                const QPointF p = c.map(stop.position);
                QString name = stop.name;
                if (name.startsWith(QLatin1String("metro ")))
                    name = name.mid(6);
                const QFont f = c.font(detailed ? 15 : 10, true);
                const double offset = (detailed ? 10 : 5) + QFontMetricsF(f).horizontalAdvance(name) / 2;
                if (!c.label(name, p + QPointF(offset, 0), 0, f, r.type == 1 ? r.colour.darker(130) : QColor(40, 40, 40)))
                    c.label(name, p - QPointF(offset, 0), 0, f, r.type == 1 ? r.colour.darker(130) : QColor(40, 40, 40));
            }
        }
    };
    auto streetNames = [&] {
        for (int pass = 0; pass < 2; ++pass)
            for (const StreetRecord &s : m_city.streets) {
                if (!s.fromModel || isAvenue(m, s.type) != (pass == 0))
                    continue;
                if (s.line.size() == 1) {
                    if (c.visible.contains(s.line.first()))
                        c.label(s.name, c.map(s.line.first()) + QPointF(0, detailed ? -26 : -10), 0,
                                c.font(detailed ? 14 : 10, true), TextColour);
                    continue;
                }
                const QFont f = pass == 0 ? c.font(detailed ? 16 : 10, true) : c.font(detailed ? 13 : 9);
                c.labelAlong(s.name, s.line, f, TextColour, !detailed || pass == 1);
            }
    };
    if (detailed) {
        stationNames();
        streetNames();
        areaNames();
        districtNames();
    } else {
        districtNames();
        areaNames();
        stationNames();
        streetNames();
    }

    // The map's furniture: its title and a scale bar.
    const double barMetres = detailed ? 500 : 2000;
    const double barPixels = barMetres / c.metresPerPixel;
    const QPointF barAt(20, image.height() - 24);
    c.painter.setPen(QPen(QColor(40, 40, 40), 2));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawLine(barAt, barAt + QPointF(barPixels, 0));
    c.painter.drawLine(barAt + QPointF(0, -5), barAt + QPointF(0, 5));
    c.painter.drawLine(barAt + QPointF(barPixels, -5), barAt + QPointF(barPixels, 5));
    c.placed.clear();
    c.label(detailed ? QStringLiteral("500 m") : QStringLiteral("2 km"), barAt + QPointF(barPixels / 2, -12), 0,
            c.font(12, true), QColor(40, 40, 40));
    if (!title.isEmpty()) {
        // A sheet's code is Latin; the city's name is written in the map's own script.
        QFont f = c.font(detailed ? 22 : 28, true);
        if (detailed)
            f.setFamily(QStringLiteral("DejaVu Sans"));
        c.label(title, QPointF(16 + QFontMetricsF(f).horizontalAdvance(title) / 2, 24), 0, f, QColor(60, 40, 90));
    }
    c.painter.end();
    return image;
}
