#pragma once
// One line of fixed text set in several fonts (Georgian display text with a Latin word in
// Arial), drawn when it is painted. Unlike a rich-text label it neither lays out nor measures its
// text when it is made, so a window of such lines is built at once; the caller gives it room.
#include <QColor>
#include <QFont>
#include <QList>
#include <QWidget>

class TextLine : public QWidget {
public:
    struct Run {
        QString text;
        QFont font;
    };

    TextLine(QList<Run> runs, const QColor &colour, QWidget *parent);

    // The runs' text together.
    QString text() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Run> m_runs;
    QColor m_colour;
};
