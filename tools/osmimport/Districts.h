#pragma once
// The city's districts, taken from the extract's administrative boundaries of one level, and the
// district each point of the map lies in.
#include "osmimport/OsmExtract.h"

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVector>

class Districts {
public:
    // The boundaries of `level`, or with level 0 of the level whose boundaries in the frame come
    // nearest to Tbilisi's ten (the deeper level on a tie; at least two, else the deepest level
    // with one). Without boundaries the whole frame is one district, named `wholeCity`.
    Districts(const QVector<OsmBoundary> &boundaries, const MapFrame &frame, int level, const QString &wholeCity);

    int level() const { return m_level; } // 0 when no boundary was used
    int size() const { return int(m_districts.size()); }
    const QString &name(int district) const { return m_districts[district].name; }
    const QPainterPath &shape(int district) const { return m_districts[district].shape; }
    QPointF labelAt(int district) const { return m_districts[district].labelAt; }

    // The district a point lies in, or else the nearest.
    int at(QPointF p) const;
    // A line cut into stretches that each lie in one district (a segment goes with its middle).
    struct Stretch {
        int district;
        QPolygonF line;
    };
    QVector<Stretch> split(const QPolygonF &line) const;

private:
    struct Edge {
        QPointF a, b;
    };
    struct District {
        QString name;
        QPainterPath shape;
        QPointF labelAt;
        QRectF bounds;
        QVector<Edge> edges;
        QVector<QVector<int>> bands; // edges by horizontal band, for the even-odd count
    };
    void add(const QString &name, const QPainterPath &shape, QPointF labelAt);
    bool contains(const District &d, QPointF p) const;

    int m_level = 0;
    QVector<District> m_districts;
};
