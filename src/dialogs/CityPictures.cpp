#include "dialogs/CityPictures.h"

#include "platform/DisplayFont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// Scenes are drawn on a 200 by 130 canvas stretched over their rectangle.
constexpr qreal SceneWidth = 200;
constexpr qreal SceneHeight = 130;

void sky(QPainter &p, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, 0, 0, SceneHeight);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(QRectF(0, 0, SceneWidth, SceneHeight), g);
}

void hill(QPainter &p, const QColor &colour, std::initializer_list<QPointF> ridge)
{
    QPainterPath path;
    path.moveTo(0, SceneHeight);
    for (const QPointF &pt : ridge)
        path.lineTo(pt);
    path.lineTo(SceneWidth, SceneHeight);
    path.closeSubpath();
    p.fillPath(path, colour);
}

void house(QPainter &p, qreal x, qreal baseY, qreal w, qreal h, const QColor &wall)
{
    p.setPen(Qt::NoPen);
    p.setBrush(wall);
    p.drawRect(QRectF(x, baseY - h, w, h));
    p.setBrush(QColor(168, 72, 48));
    p.drawPolygon(QPolygonF{{x - 1.5, baseY - h}, {x + w / 2, baseY - h - w * 0.35}, {x + w + 1.5, baseY - h}});
    // A carved wooden balcony across the upper floor.
    p.setPen(QPen(QColor(110, 70, 40), 0.8));
    p.drawLine(QPointF(x, baseY - h * 0.55), QPointF(x + w, baseY - h * 0.55));
    for (qreal bx = x + 2; bx < x + w; bx += 2.5)
        p.drawLine(QPointF(bx, baseY - h * 0.55), QPointF(bx, baseY - h * 0.4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 90, 120));
    for (qreal wx = x + 2; wx + 2.5 < x + w; wx += 5)
        p.drawRect(QRectF(wx, baseY - h * 0.85, 2.5, 3.5));
}

void church(QPainter &p, qreal cx, qreal baseY, qreal scale)
{
    const QColor stone(226, 206, 160);
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    p.drawRect(QRectF(cx - 12 * scale, baseY - 14 * scale, 24 * scale, 14 * scale));
    p.drawRect(QRectF(cx - 4 * scale, baseY - 24 * scale, 8 * scale, 10 * scale));
    p.setBrush(QColor(120, 110, 100));
    p.drawPolygon(QPolygonF{{cx - 5 * scale, baseY - 24 * scale}, {cx, baseY - 34 * scale}, {cx + 5 * scale, baseY - 24 * scale}});
    p.drawPolygon(QPolygonF{{cx - 13 * scale, baseY - 14 * scale}, {cx, baseY - 19 * scale}, {cx + 13 * scale, baseY - 14 * scale}});
    p.setPen(QPen(QColor(90, 80, 70), 0.8));
    p.drawLine(QPointF(cx, baseY - 34 * scale), QPointF(cx, baseY - 38 * scale));
    p.drawLine(QPointF(cx - 1.5, baseY - 36.5 * scale), QPointF(cx + 1.5, baseY - 36.5 * scale));
}

void oldTown(QPainter &p)
{
    sky(p, QColor(120, 178, 230), QColor(228, 240, 250));
    hill(p, QColor(118, 150, 96), {{0, 52}, {40, 40}, {95, 30}, {140, 38}, {200, 46}});
    // The television tower on the ridge.
    p.setPen(QPen(QColor(200, 60, 50), 1.2));
    p.drawLine(QPointF(96, 30), QPointF(100, 4));
    p.drawLine(QPointF(104, 30), QPointF(100, 4));
    p.setPen(QPen(QColor(235, 235, 235), 1));
    for (qreal y = 10; y < 30; y += 5)
        p.drawLine(QPointF(100 - (y - 4) * 0.15, y), QPointF(100 + (y - 4) * 0.15, y));
    hill(p, QColor(96, 128, 80), {{0, 80}, {60, 70}, {120, 76}, {200, 66}});
    church(p, 150, 82, 1.1);
    const QColor walls[] = {QColor(240, 224, 196), QColor(214, 190, 160), QColor(236, 236, 220), QColor(222, 200, 176)};
    int i = 0;
    for (qreal x = 4; x < 196; x += 17, ++i)
        house(p, x, 130 - (i % 3) * 2, 15, 22 + (i * 7) % 14, walls[i % 4]);
}

void river(QPainter &p)
{
    sky(p, QColor(150, 196, 236), QColor(236, 244, 250));
    hill(p, QColor(130, 160, 104), {{0, 50}, {70, 40}, {130, 48}, {200, 38}});
    hill(p, QColor(104, 140, 88), {{0, 74}, {200, 70}});
    // The river bends towards the viewer.
    QPainterPath water;
    water.moveTo(70, 72);
    water.cubicTo(100, 84, 40, 100, 20, 130);
    water.lineTo(150, 130);
    water.cubicTo(140, 104, 150, 86, 120, 72);
    water.closeSubpath();
    QLinearGradient g(0, 72, 0, 130);
    g.setColorAt(0, QColor(96, 150, 170));
    g.setColorAt(1, QColor(50, 100, 130));
    p.fillPath(water, g);
    // An arched stone bridge across it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 170, 130));
    QPainterPath bridge;
    bridge.addRect(QRectF(20, 90, 160, 6));
    for (qreal x = 40; x < 170; x += 34) {
        bridge.moveTo(x - 2, 96);
        bridge.lineTo(x - 2, 108);
        bridge.lineTo(x + 2, 108);
        bridge.lineTo(x + 2, 96);
    }
    p.drawPath(bridge);
    p.setBrush(QColor(150, 120, 90));
    p.drawRect(QRectF(20, 89, 160, 1.5));
    // Trees on both banks.
    p.setBrush(QColor(60, 110, 60));
    for (const QPointF &t : {QPointF(10, 112), QPointF(28, 118), QPointF(170, 110), QPointF(186, 120)})
        p.drawEllipse(t, 7, 9);
}

void cableCar(QPainter &p)
{
    sky(p, QColor(110, 170, 226), QColor(220, 236, 250));
    hill(p, QColor(140, 150, 110), {{0, 110}, {60, 80}, {130, 40}, {170, 26}, {200, 30}});
    // Fortress wall on the summit.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(176, 150, 112));
    p.drawRect(QRectF(150, 14, 40, 14));
    for (qreal x = 150; x < 190; x += 6)
        p.drawRect(QRectF(x, 11, 3, 3));
    p.drawRect(QRectF(168, 6, 8, 22));
    // The cable and a cabin hanging from it.
    p.setPen(QPen(QColor(60, 60, 60), 0.9));
    p.drawLine(QPointF(0, 70), QPointF(170, 16));
    p.drawLine(QPointF(0, 74), QPointF(170, 20));
    const QPointF hook(80, 44.6);
    p.drawLine(hook, hook + QPointF(0, 10));
    p.setPen(QPen(QColor(40, 40, 40), 0.8));
    p.setBrush(QColor(230, 70, 50));
    p.drawRoundedRect(QRectF(hook.x() - 10, hook.y() + 10, 20, 16), 3, 3);
    p.setBrush(QColor(200, 226, 246));
    p.drawRect(QRectF(hook.x() - 7, hook.y() + 13, 6, 6));
    p.drawRect(QRectF(hook.x() + 1, hook.y() + 13, 6, 6));
    hill(p, QColor(96, 128, 80), {{0, 118}, {200, 122}});
}

void fortress(QPainter &p)
{
    sky(p, QColor(70, 80, 150), QColor(250, 180, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 170));
    p.drawEllipse(QPointF(40, 34), 9, 9);
    hill(p, QColor(90, 80, 90), {{0, 90}, {50, 70}, {100, 52}, {150, 60}, {200, 84}});
    // Walls and towers following the ridge.
    p.setBrush(QColor(70, 56, 60));
    p.drawPolygon(QPolygonF{{60, 70}, {100, 50}, {140, 58}, {140, 64}, {100, 56}, {60, 76}});
    for (const QPointF &t : {QPointF(60, 70), QPointF(100, 50), QPointF(140, 58)}) {
        p.drawRect(QRectF(t.x() - 4, t.y() - 14, 8, 16));
        for (qreal x = t.x() - 4; x < t.x() + 4; x += 3)
            p.drawRect(QRectF(x, t.y() - 16.5, 2, 2.5));
    }
    // Lights of the town below.
    hill(p, QColor(40, 40, 60), {{0, 108}, {200, 102}});
    p.setBrush(QColor(255, 214, 120));
    for (int i = 0; i < 36; ++i)
        p.drawRect(QRectF(4 + (i * 53) % 192, 110 + (i * 7) % 16, 1.6, 1.6));
}

void pin(QPainter &p, const QPointF &tip, qreal height)
{
    const qreal r = height * 0.32;
    const QPointF centre(tip.x(), tip.y() - height + r);
    QPainterPath path;
    path.moveTo(tip);
    path.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -60, 300);
    path.closeSubpath();
    p.setPen(QPen(QColor(120, 20, 20), 1));
    p.setBrush(QColor(210, 40, 40));
    p.drawPath(path);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, r * 0.4, r * 0.4);
}

void foldedMap(QPainter &p, const QRectF &r)
{
    const qreal w = r.width() / 3;
    const QColor panels[] = {QColor(236, 230, 200), QColor(214, 226, 196), QColor(236, 230, 200)};
    p.setPen(QPen(QColor(140, 130, 100), 0.8));
    for (int i = 0; i < 3; ++i) {
        const qreal skew = (i % 2) ? r.height() * 0.08 : 0;
        p.setBrush(panels[i]);
        p.drawPolygon(QPolygonF{{r.left() + i * w, r.top() + skew}, {r.left() + (i + 1) * w, r.top() + r.height() * 0.08 - skew},
                                {r.left() + (i + 1) * w, r.bottom() - skew}, {r.left() + i * w, r.bottom() - r.height() * 0.08 + skew}});
    }
    // The river across the map.
    p.setPen(QPen(QColor(80, 140, 200), r.height() * 0.07));
    p.drawLine(QPointF(r.left() + 2, r.top() + r.height() * 0.3), QPointF(r.right() - 2, r.bottom() - r.height() * 0.25));
}

void emblem(QPainter &p, const QRect &rect)
{
    const qreal h = rect.height();
    const QRectF mapRect(rect.left() + 4, rect.top() + h * 0.35, h * 0.9, h * 0.55);
    foldedMap(p, mapRect);
    pin(p, QPointF(mapRect.center().x(), mapRect.center().y()), h * 0.6);
    const QRectF textRect(mapRect.right() + h * 0.15, rect.top(), rect.right() - mapRect.right() - h * 0.15, h);
    QFont f = DisplayFont::font(qMax(8, int(h * 0.42)), true);
    p.setFont(f);
    // Shrink the name until it fits beside the map.
    while (f.pixelSize() > 8 && p.fontMetrics().horizontalAdvance(QStringLiteral("Kvirzeta")) > textRect.width()) {
        f.setPixelSize(f.pixelSize() - 1);
        p.setFont(f);
    }
    p.setPen(QColor(0, 110, 60));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kvirzeta"));
}

void banner(QPainter &p, const QRect &rect, bool bus)
{
    QLinearGradient g(rect.topLeft(), rect.bottomRight());
    g.setColorAt(0, bus ? QColor(255, 214, 90) : QColor(150, 210, 160));
    g.setColorAt(1, bus ? QColor(240, 140, 40) : QColor(40, 140, 90));
    p.setPen(Qt::NoPen);
    p.fillRect(rect, g);
    const qreal h = rect.height();
    if (bus) {
        const QRectF body(rect.left() + rect.width() * 0.2, rect.top() + h * 0.2, rect.width() * 0.6, h * 0.5);
        p.setBrush(QColor(30, 90, 170));
        p.drawRoundedRect(body, h * 0.08, h * 0.08);
        p.setBrush(QColor(210, 230, 250));
        const qreal win = body.width() / 5;
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(body.left() + win * 0.3 + i * win * 1.15, body.top() + body.height() * 0.15, win * 0.9, body.height() * 0.35));
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(body.left() + body.width() * 0.22, body.bottom()), h * 0.09, h * 0.09);
        p.drawEllipse(QPointF(body.right() - body.width() * 0.22, body.bottom()), h * 0.09, h * 0.09);
    } else {
        foldedMap(p, QRectF(rect.left() + rect.width() * 0.25, rect.top() + h * 0.3, rect.width() * 0.5, h * 0.55));
        pin(p, QPointF(rect.center().x(), rect.top() + h * 0.6), h * 0.5);
    }
}

} // namespace

void paintCityPicture(QPainter &painter, const QRect &rect, CityPicture kind)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(rect);
    switch (kind) {
    case CityPicture::Emblem:
        emblem(painter, rect);
        break;
    case CityPicture::BusBanner:
    case CityPicture::MapBanner:
        banner(painter, rect, kind == CityPicture::BusBanner);
        break;
    default:
        painter.translate(rect.topLeft());
        painter.scale(rect.width() / SceneWidth, rect.height() / SceneHeight);
        if (kind == CityPicture::OldTown)
            oldTown(painter);
        else if (kind == CityPicture::River)
            river(painter);
        else if (kind == CityPicture::CableCar)
            cableCar(painter);
        else
            fortress(painter);
        break;
    }
    painter.restore();
}

CityPictureWidget::CityPictureWidget(CityPicture kind, const QRect &geometry, QWidget *parent)
    : QWidget(parent), m_kind(kind)
{
    setGeometry(geometry);
}

void CityPictureWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintCityPicture(p, rect(), m_kind);
}
