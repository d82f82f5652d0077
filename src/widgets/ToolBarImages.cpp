#include "widgets/ToolBarImages.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace {

constexpr int Size = 16;

using Draw = void (*)(QPainter &);

// Draws its picture when it is first wanted: most pictures belong to menu items that may never
// be opened, and drawing them all would hold up the start. Behaves like an icon made from one
// 16 by 16 pixmap: never enlarged, disabled and selected looks made by the style.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Draw draw) : m_draw(draw) {}

    QIconEngine *clone() const override { return new DrawnIconEngine(m_draw); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return QSize(Size, Size).scaled(size.boundedTo(QSize(Size, Size)), Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize wanted = actualSize(size, mode, state);
        const quint64 key = (quint64(mode) << 40) | (quint64(wanted.width()) << 20) | quint64(wanted.height());
        if (const auto found = m_pixmaps.constFind(key); found != m_pixmaps.constEnd())
            return *found;
        QPixmap picture = drawn();
        if (picture.size() != wanted)
            picture = picture.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        m_pixmaps.insert(key, picture);
        return picture;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    QPixmap drawn() const
    {
        QPixmap pixmap(Size, Size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        m_draw(painter);
        return pixmap;
    }

    Draw m_draw;
    QHash<quint64, QPixmap> m_pixmaps;
};

QIcon drawn(Draw draw)
{
    return QIcon(new DrawnIconEngine(draw));
}

void mapSheet(QPainter &p, bool detailed)
{
    p.setPen(QColor(70, 90, 70));
    p.setBrush(QColor(214, 236, 196));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(QPen(QColor(60, 120, 210), 1.5));
    QPainterPath river(QPointF(2, 11));
    river.cubicTo(QPointF(6, 6), QPointF(9, 13), QPointF(14, 5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(river);
    if (detailed) {
        p.setPen(QPen(QColor(120, 120, 120), 0.6));
        for (double x = 5.5; x < 14; x += 3.5)
            p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
        for (double y = 6; y < 13; y += 3.5)
            p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    }
}

void pin(QPainter &p, QPointF tip, const QColor &colour)
{
    QPainterPath path(tip);
    path.lineTo(tip + QPointF(-3, -5));
    path.arcTo(QRectF(tip.x() - 3.2, tip.y() - 9, 6.4, 6.4), 200, -220);
    path.closeSubpath();
    p.setPen(QPen(colour.darker(160), 0.8));
    p.setBrush(colour);
    p.drawPath(path);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(tip.x(), tip.y() - 5.8), 1.1, 1.1);
}

void stopSign(QPainter &p, QPointF foot)
{
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.drawLine(foot, foot + QPointF(0, -6));
    p.setPen(QPen(QColor(20, 60, 150), 0.8));
    p.setBrush(QColor(40, 110, 220));
    p.drawRect(QRectF(foot.x() - 3, foot.y() - 10, 6, 5));
}

void magnifier(QPainter &p)
{
    p.setPen(QPen(QColor(90, 60, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.setPen(QPen(QColor(60, 60, 80), 1.3));
    p.setBrush(QColor(200, 230, 255, 200));
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
}

void cross(QPainter &p, QRectF box)
{
    p.setPen(QPen(QColor(210, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

// Two arrow heads pointing right.
void chevrons(QPainter &p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const qreal x : {4.5, 8.5})
        p.drawPolyline(QPolygonF({QPointF(x, 4.5), QPointF(x + 3, 8), QPointF(x, 11.5)}));
}

} // namespace

QIcon ToolBarImageList::icon(int index)
{
    switch (index) {
    case ClearMap:
        return drawn([](QPainter &p) { mapSheet(p, false); cross(p, QRectF(7, 7, 7, 7)); });
    case Activate:
        return drawn([](QPainter &p) {
            p.setPen(QPen(QColor(40, 110, 40), 1.2));
            p.drawLine(QPointF(2.5, 2), QPointF(2.5, 13));
            for (double y : {4.0, 8.5, 13.0}) {
                p.drawLine(QPointF(2.5, y), QPointF(5, y));
                p.fillRect(QRectF(5.5, y - 1, 4, 2), QColor(40, 110, 40));
            }
            p.setPen(QPen(QColor(200, 110, 0), 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(15, 8.5), QPointF(10.5, 8.5));
            p.drawLine(QPointF(10.5, 8.5), QPointF(12.5, 6.5));
            p.drawLine(QPointF(10.5, 8.5), QPointF(12.5, 10.5));
        });
    case Details:
        return drawn([](QPainter &p) {
            p.setPen(QColor(90, 90, 90));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(2.5, 1.5, 10, 13));
            p.setPen(QPen(QColor(120, 120, 160), 1));
            for (double y = 5; y < 14; y += 2.5)
                p.drawLine(QPointF(4.5, y), QPointF(10.5, y));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 90, 200));
            p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
            p.setPen(QPen(Qt::white, 1.2));
            p.drawLine(QPointF(12, 11), QPointF(12, 14));
            p.drawPoint(QPointF(12, 9.6));
        });
    case Exit:
        return drawn([](QPainter &p) {
            p.setPen(QColor(90, 50, 20));
            p.setBrush(QColor(170, 110, 60));
            p.drawRect(QRectF(2.5, 1.5, 7, 13));
            p.setPen(QPen(QColor(20, 140, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(7, 8), QPointF(14.5, 8));
            p.drawLine(QPointF(14.5, 8), QPointF(12, 5.5));
            p.drawLine(QPointF(14.5, 8), QPointF(12, 10.5));
        });
    case Search:
        return drawn([](QPainter &p) { magnifier(p); });
    case GeneralMapItem:
        return drawn([](QPainter &p) { mapSheet(p, false); pin(p, QPointF(8, 12), QColor(240, 200, 20)); });
    case GeneralMap:
        return drawn([](QPainter &p) { mapSheet(p, false); pin(p, QPointF(8, 12), QColor(220, 40, 40)); });
    case ObjectWithStops:
        return drawn([](QPainter &p) {
            mapSheet(p, true);
            pin(p, QPointF(5.5, 12), QColor(220, 40, 40));
            stopSign(p, QPointF(12, 14));
        });
    case Zoom:
        return drawn([](QPainter &p) {
            magnifier(p);
            p.setPen(QPen(QColor(20, 20, 20), 1.3));
            p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
            p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
        });
    case DetailedMap:
        return drawn([](QPainter &p) { mapSheet(p, true); pin(p, QPointF(8, 12), QColor(220, 40, 40)); });
    case Advertising:
        return drawn([](QPainter &p) {
            QPainterPath horn(QPointF(2, 6));
            horn.lineTo(QPointF(5, 6));
            horn.lineTo(QPointF(13, 2));
            horn.lineTo(QPointF(13, 14));
            horn.lineTo(QPointF(5, 10));
            horn.lineTo(QPointF(2, 10));
            horn.closeSubpath();
            p.setPen(QPen(QColor(150, 70, 0), 0.8));
            p.setBrush(QColor(250, 150, 30));
            p.drawPath(horn);
            p.drawLine(QPointF(5, 10), QPointF(6, 14.5));
        });
    case StopGeneralMap:
        return drawn([](QPainter &p) { mapSheet(p, false); stopSign(p, QPointF(8, 14)); });
    case StopDetailedMap:
        return drawn([](QPainter &p) { mapSheet(p, true); stopSign(p, QPointF(8, 14)); });
    default:
        return QIcon();
    }
}

QIcon ToolBarImageList::clearSearchIcon()
{
    return drawn([](QPainter &p) { magnifier(p); cross(p, QRectF(9, 1.5, 5.5, 5.5)); });
}

QIcon ToolBarImageList::placeIcon()
{
    return drawn([](QPainter &p) {
        p.scale(1.5, 1.5);
        p.translate(-2.7, -5);
        pin(p, QPointF(8, 14.5), QColor(220, 40, 40));
    });
}

QIcon ToolBarImageList::streetIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 110, 110));
        p.drawPolygon(QPolygonF({QPointF(5.5, 1), QPointF(10.5, 1), QPointF(15, 15), QPointF(1, 15)}));
        p.setPen(QPen(QColor(250, 250, 250), 1.2, Qt::SolidLine, Qt::FlatCap));
        for (const double y : {2.0, 6.5, 11.0})
            p.drawLine(QPointF(8, y), QPointF(8, y + 2.5));
    });
}

QIcon ToolBarImageList::stopIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.4));
        p.drawLine(QPointF(8, 9), QPointF(8, 15.5));
        p.setPen(QPen(QColor(20, 60, 150), 0.8));
        p.setBrush(QColor(40, 110, 220));
        p.drawRoundedRect(QRectF(2.5, 0.5, 11, 9), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 2.5, 6, 3.5));
        p.drawEllipse(QPointF(6, 7), 0.9, 0.9);
        p.drawEllipse(QPointF(10, 7), 0.9, 0.9);
    });
}

QIcon ToolBarImageList::routeIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(QPen(QColor(150, 80, 0), 0.8));
        p.setBrush(QColor(250, 160, 30));
        p.drawRoundedRect(QRectF(2, 1, 12, 12.5), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 230, 255));
        p.drawRect(QRectF(3.5, 3, 9, 5));
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(3, 13, 2.5, 2.5));
        p.drawRect(QRectF(10.5, 13, 2.5, 2.5));
        p.setBrush(QColor(255, 250, 200));
        p.drawEllipse(QPointF(4.5, 10.8), 1, 1);
        p.drawEllipse(QPointF(11.5, 10.8), 1, 1);
    });
}

QIcon ToolBarImageList::extensionIcon(Qt::Orientation orientation)
{
    if (orientation == Qt::Vertical) {
        return drawn([](QPainter &p) {
            p.translate(Size, 0);
            p.rotate(90);
            chevrons(p);
        });
    }
    return drawn(chevrons);
}
