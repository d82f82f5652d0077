#include "widgets/TitledDialog.h"

#include "widgets/GradientTitleBar.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

TitledDialog::TitledDialog(const QString &caption, QSize clientSize, int border, const QColor &background,
                           QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_titleBar(new GradientTitleBar(caption, this)),
      m_client(new QWidget(this))
{
    setWindowTitle(caption);
    if (background.isValid()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, background);
        setPalette(pal);
    }
    setAutoFillBackground(true);

    const int width = clientSize.width() + 2 * border + 2 * FrameWidth;
    const int height = GradientTitleBar::Height + clientSize.height() + 2 * border + 2 * FrameWidth;
    setFixedSize(width, height);
    m_titleBar->setGeometry(FrameWidth, FrameWidth, width - 2 * FrameWidth, GradientTitleBar::Height);
    m_client->setGeometry(QRect(QPoint(FrameWidth + border, FrameWidth + GradientTitleBar::Height + border),
                                clientSize));
    connect(m_titleBar, &GradientTitleBar::closeRequested, this, &QDialog::reject);
}

void TitledDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_cancelButton && m_cancelButton->isEnabled())
            m_cancelButton->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TitledDialog::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centre();
    }
    QDialog::showEvent(event);
}

void TitledDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TitledDialog::centre()
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (m_placement == Placement::ParentCentre && owner && owner->isVisible()) {
        area = owner->frameGeometry();
    } else {
        const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen)
            area = screen->availableGeometry();
    }
    if (area.isValid())
        move(area.center() - rect().center());
}
