#pragma once
// Reads the text tables the tools are driven by: lines of fields separated by "|", blank lines
// and "#" comments skipped. Mistakes are listed with file name and line number.
#include "citykit/MapFrame.h"

#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QVector>

class TableReader {
public:
    TableReader(const QString &folder, const QString &file, QStringList *errors);

    struct Line {
        int number;
        QStringList fields; // trimmed
    };
    const QVector<Line> &lines() const { return m_lines; }
    void fail(int line, const QString &what) const;
    // False, with a mistake listed, when the line has fewer fields.
    bool need(const Line &line, int count) const;
    double number(const Line &line, int field) const;
    // "lon,lat" projected into the frame.
    QPointF point(const MapFrame &frame, const Line &line, const QString &text) const;
    // "lon,lat lon,lat ..."
    QPolygonF points(const MapFrame &frame, const Line &line, const QString &text) const;
    // "ellipse lon,lat rx ry rotation" or "polygon lon,lat ..."
    QPolygonF shape(const MapFrame &frame, const Line &line, const QString &text) const;

private:
    QString m_file;
    QStringList *m_errors;
    QVector<Line> m_lines;
};
