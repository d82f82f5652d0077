#include "widgets/DialogButton.h"

#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace DialogButton {

QIcon picture(Picture kind)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case Picture::Yes: {
        p.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(2.5, 8.5);
        tick.lineTo(6.5, 12.5);
        tick.lineTo(13.5, 3.5);
        p.drawPath(tick);
        break;
    }
    case Picture::No:
        p.setPen(QPen(QColor(192, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    case Picture::Close:
        // An open door.
        p.setPen(QPen(QColor(90, 60, 20), 1.2));
        p.setBrush(QColor(240, 230, 200));
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.setBrush(QColor(150, 95, 40));
        p.drawPolygon(QPolygonF{{3.5, 1.5}, {9.5, 3.5}, {9.5, 15.5}, {3.5, 14.5}});
        p.setBrush(QColor(230, 200, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(8.2, 9), 0.9, 0.9);
        break;
    }
    return QIcon(pixmap);
}

QPushButton *make(QWidget *parent, const QString &text, Picture kind, const QRect &geometry)
{
    auto *button = new QPushButton(picture(kind), text, parent);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

} // namespace DialogButton
