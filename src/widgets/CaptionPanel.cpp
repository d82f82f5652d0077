#include "widgets/CaptionPanel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace {

// The classic title-bar colours: caption colour on the left fading to the gradient colour.
QLinearGradient captionGradient(CaptionPanel::Colours colours, int width)
{
    QLinearGradient gradient(0, 0, width, 0);
    if (colours == CaptionPanel::Colours::ActiveCaption) {
        gradient.setColorAt(0, QColor(10, 36, 106));
        gradient.setColorAt(1, QColor(166, 202, 240));
    } else {
        gradient.setColorAt(0, QColor(128, 128, 128));
        gradient.setColorAt(1, QColor(192, 192, 192));
    }
    return gradient;
}

constexpr int ButtonWidth = 16;
constexpr int ButtonHeight = 14;

} // namespace

CaptionPanel::CaptionPanel(const QString &caption, int designHeight, QWidget *parent)
    : QFrame(parent), m_caption(caption), m_bodyHeight(qMax(0, designHeight - CaptionHeight)),
      m_body(new QWidget(this))
{
    m_buttons[0] = makeButton(Button::Close);
    m_buttons[1] = makeButton(Button::Minimise);
    m_buttons[2] = makeButton(Button::Restore);
    setFixedHeight(designHeight);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QToolButton *CaptionPanel::makeButton(Button which)
{
    static const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_TitleBarCloseButton, QStyle::SP_TitleBarMinButton,
                                                     QStyle::SP_TitleBarNormalButton};
    static const char *names[] = {"CloseButton", "MinimiseButton", "RestoreButton"};
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(names[int(which)]));
    button->setIcon(style()->standardIcon(pixmaps[int(which)], nullptr, this));
    button->setIconSize(QSize(10, 10));
    button->setFixedSize(ButtonWidth, ButtonHeight);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, which] { Q_EMIT buttonClicked(which); });
    return button;
}

QToolButton *CaptionPanel::button(Button which) const
{
    return m_buttons[int(which)];
}

void CaptionPanel::setCaptionBold(bool bold)
{
    m_bold = bold;
    update();
}

void CaptionPanel::setColours(Colours colours)
{
    m_colours = colours;
    update();
}

void CaptionPanel::setButtonsFlat(bool flat)
{
    for (QToolButton *button : m_buttons)
        button->setAutoRaise(flat);
}

void CaptionPanel::layoutChildren()
{
    // Right to left, as on a title bar: close, restore, minimise.
    const int top = (CaptionHeight - ButtonHeight) / 2;
    int x = width() - 2;
    for (Button which : {Button::Close, Button::Restore, Button::Minimise}) {
        x -= ButtonWidth;
        button(which)->move(x, top);
    }
    m_body->setGeometry(0, CaptionHeight, width(), qMax(height() - CaptionHeight, m_bodyHeight));
}

void CaptionPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutChildren();
}

void CaptionPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect bar(0, 0, width(), CaptionHeight);
    painter.fillRect(bar, captionGradient(m_colours, width()));
    QFont font = this->font();
    font.setBold(m_bold);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(bar.adjusted(4, 0, -3 * ButtonWidth - 4, 0), Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}
