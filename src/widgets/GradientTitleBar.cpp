#include "widgets/GradientTitleBar.h"

#include "platform/DisplayFont.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

namespace {

const QColor GradientStart(10, 36, 106);
const QColor GradientEnd(166, 202, 240);

QIcon closeIcon()
{
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.6));
    p.drawLine(QPointF(1.5, 1.5), QPointF(8.5, 8.5));
    p.drawLine(QPointF(8.5, 1.5), QPointF(1.5, 8.5));
    return QIcon(pixmap);
}

} // namespace

GradientTitleBar::GradientTitleBar(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(caption), m_closeButton(new QToolButton(this))
{
    setFixedHeight(Height);
    setFont(DisplayFont::font(13, true));
    m_closeButton->setIcon(closeIcon());
    m_closeButton->setIconSize(QSize(10, 10));
    m_closeButton->setFixedSize(18, 16);
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    m_closeButton->setAutoRaise(false);
    connect(m_closeButton, &QToolButton::clicked, this, &GradientTitleBar::closeRequested);
}

void GradientTitleBar::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void GradientTitleBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, GradientStart);
    gradient.setColorAt(1, GradientEnd);
    p.fillRect(rect(), gradient);
    p.setPen(Qt::white);
    p.setFont(font());
    const QRect textRect = rect().adjusted(6, 0, -(m_closeButton->width() + 8), 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(m_caption, Qt::ElideRight, textRect.width()));
}

void GradientTitleBar::resizeEvent(QResizeEvent *)
{
    m_closeButton->move(width() - m_closeButton->width() - 3, (height() - m_closeButton->height()) / 2);
}

void GradientTitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    // The window manager moves the window where it can; otherwise the bar follows the pointer.
    QWindow *handle = window()->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void GradientTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void GradientTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}
