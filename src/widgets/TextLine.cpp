#include "widgets/TextLine.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

TextLine::TextLine(QList<Run> runs, const QColor &colour, QWidget *parent)
    : QWidget(parent), m_runs(std::move(runs)), m_colour(colour)
{
}

QString TextLine::text() const
{
    QString all;
    for (const Run &run : m_runs)
        all += run.text;
    return all;
}

void TextLine::paintEvent(QPaintEvent *)
{
    // The runs share one baseline below the tallest ascent, as in a label sized to its text.
    int ascent = 0;
    for (const Run &run : m_runs)
        ascent = std::max(ascent, QFontMetrics(run.font).ascent());
    QPainter painter(this);
    painter.setPen(m_colour);
    int x = 0;
    for (const Run &run : m_runs) {
        painter.setFont(run.font);
        painter.drawText(QPoint(x, ascent), run.text);
        x += QFontMetrics(run.font).horizontalAdvance(run.text);
    }
}
