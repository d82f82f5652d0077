#include "widgets/WrappedText.h"

#include <QPainter>
#include <QTextLayout>

WrappedText::WrappedText(QWidget *parent) : QWidget(parent) {}

void WrappedText::setText(const QString &text)
{
    m_text = text;
    update();
}

int WrappedText::layout(QTextLayout &textLayout) const
{
    QString text = m_text;
    // Line breaks in the text start new lines.
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    textLayout.setText(text);
    textLayout.setFont(font());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    textLayout.setTextOption(option);
    const qreal leading = QFontMetricsF(font()).leading();
    qreal y = 0;
    int count = 0;
    textLayout.beginLayout();
    for (QTextLine line = textLayout.createLine(); line.isValid(); line = textLayout.createLine()) {
        line.setLineWidth(width());
        line.setPosition(QPointF(0, y));
        y += line.height() + leading;
        ++count;
    }
    textLayout.endLayout();
    return count;
}

int WrappedText::visibleLines(const QTextLayout &textLayout, int count) const
{
    int visible = 0;
    while (visible < count) {
        const QTextLine line = textLayout.lineAt(visible);
        if (line.y() + line.height() > height() + 0.5)
            break;
        ++visible;
    }
    return visible;
}

int WrappedText::lineCount() const
{
    QTextLayout textLayout;
    return layout(textLayout);
}

int WrappedText::visibleLineCount() const
{
    QTextLayout textLayout;
    return visibleLines(textLayout, layout(textLayout));
}

void WrappedText::paintEvent(QPaintEvent *)
{
    QTextLayout textLayout;
    const int count = visibleLines(textLayout, layout(textLayout));
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < count; ++i)
        textLayout.lineAt(i).draw(&p, QPointF(0, 0));
}

void WrappedText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
