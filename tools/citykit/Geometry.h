#pragma once
// Small geometry and randomness helpers shared by the city builder and the map painter.
// Model geometry is kept in metres from the general map's top-left corner, y pointing south.
#include <QHash>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace geo {

double distance(QPointF a, QPointF b);
double length(const QPolygonF &line);
// The point at the given distance along a polyline (clamped to its ends) and the direction there.
QPointF pointAt(const QPolygonF &line, double along, QPointF *direction = nullptr);
double distanceToSegment(QPointF p, QPointF a, QPointF b);
double distanceToLine(QPointF p, const QPolygonF &line);
bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d);
// The polygon's area-weighted centre.
QPointF centroid(const QPolygonF &polygon);
QPolygonF ellipse(QPointF centre, double rx, double ry, double rotationDegrees, int steps = 48);

// Buckets of points for nearest-neighbour look-ups.
class PointIndex {
public:
    explicit PointIndex(double cell) : m_cell(cell) {}
    void add(QPointF p, int id) { m_cells[key(p)].append({p, id}); }
    // Ids within radius, nearest first (equally near ones by id).
    QVector<int> near(QPointF p, double radius) const;

private:
    std::pair<int, int> cellOf(QPointF p) const;
    static qint64 pack(int x, int y) { return (qint64(x) << 32) ^ quint32(y); }
    qint64 key(QPointF p) const;

    double m_cell;
    QHash<qint64, QVector<QPair<QPointF, int>>> m_cells;
};

} // namespace geo

// A small deterministic random source (splitmix64): the same seed gives the same city on every
// platform, unlike the standard library's distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    // A stream of its own for one purpose, so that one part of the city does not shift another.
    Rng fork(const char *purpose) const;
    std::uint64_t next();
    double uniform(); // [0, 1)
    int below(int n); // [0, n), 0 when n <= 0
    double range(double low, double high) { return low + (high - low) * uniform(); }
    bool chance(double p) { return uniform() < p; }
    template <typename List>
    const auto &pick(const List &list) { return list[below(int(list.size()))]; }

private:
    std::uint64_t m_state;
};

// A stable hash of a text (FNV-1a); Qt's own hashes are seeded per process.
std::uint64_t stableHash(const QString &text);
