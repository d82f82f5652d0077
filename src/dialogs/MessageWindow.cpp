#include "dialogs/MessageWindow.h"

#include "platform/DisplayFont.h"
#include "widgets/WrappedText.h"

#include <QFrame>

MessageWindow::MessageWindow(QWidget *parent)
    : TitledDialog(QStringLiteral("Setyobineba"), QSize(ClientWidth, ClientHeight), 10, QColor(192, 220, 192),
                   parent)
{
    setFont(DisplayFont::font(13, true));
}

void MessageWindow::setText(const QString &text)
{
    MessageTextLb->setText(text);
    MessageTextLb->setFont(DisplayFont::forText(text, TextPixelSize));
}

QString MessageWindow::text() const
{
    return MessageTextLb->text();
}

QWidget *MessageWindow::addPanel(const QRect &geometry, bool sunken, QWidget *parent)
{
    auto *panel = new QFrame(parent ? parent : clientArea());
    panel->setFrameStyle(QFrame::Panel | (sunken ? QFrame::Sunken : QFrame::Raised));
    panel->setGeometry(geometry);
    return panel;
}

void MessageWindow::placeText(QWidget *container, const QRect &geometry)
{
    MessageTextLb = new WrappedText(container);
    MessageTextLb->setObjectName(QStringLiteral("MessageTextLb"));
    MessageTextLb->setGeometry(geometry);
    MessageTextLb->setFont(DisplayFont::font(TextPixelSize));
}
