#include "widgets/ActiveLabel.h"

#include <QMouseEvent>

ActiveLabel::ActiveLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

void ActiveLabel::setColour(const QColor &colour)
{
    m_colour = colour;
    applyLook();
}

void ActiveLabel::setHoverColour(const QColor &colour)
{
    m_hoverColour = colour;
    applyLook();
}

void ActiveLabel::setUnderlineOnHover(bool underline)
{
    m_underlineOnHover = underline;
    applyLook();
}

void ActiveLabel::setLinkCursor(bool link)
{
    if (link)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void ActiveLabel::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QLabel::enterEvent(event);
}

void ActiveLabel::leaveEvent(QEvent *event)
{
    setHovered(false);
    QLabel::leaveEvent(event);
}

void ActiveLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QLabel::mousePressEvent(event);
}

void ActiveLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}

void ActiveLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void ActiveLabel::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    applyLook();
}

void ActiveLabel::applyLook()
{
    const QColor colour = m_hovered && m_hoverColour.isValid() ? m_hoverColour : m_colour;
    QPalette pal = palette();
    if (colour.isValid())
        pal.setColor(QPalette::WindowText, colour);
    else
        pal.setColor(QPalette::WindowText, parentWidget() ? parentWidget()->palette().color(QPalette::WindowText)
                                                         : QPalette().color(QPalette::WindowText));
    setPalette(pal);
    QFont f = font();
    f.setUnderline(m_underlineOnHover && m_hovered);
    setFont(f);
}
