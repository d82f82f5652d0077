#include "citykit/Geometry.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace geo {

double distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

double length(const QPolygonF &line)
{
    double total = 0;
    for (int i = 1; i < line.size(); ++i)
        total += distance(line[i - 1], line[i]);
    return total;
}

QPointF pointAt(const QPolygonF &line, double along, QPointF *direction)
{
    if (direction)
        *direction = QPointF(1, 0);
    if (line.isEmpty())
        return {};
    if (line.size() == 1)
        return line.first();
    double left = std::max(0.0, along);
    for (int i = 1; i < line.size(); ++i) {
        const double piece = distance(line[i - 1], line[i]);
        if (piece <= 0)
            continue;
        if (direction)
            *direction = (line[i] - line[i - 1]) / piece;
        if (left <= piece || i == line.size() - 1) {
            const double t = std::min(1.0, left / piece);
            return line[i - 1] + (line[i] - line[i - 1]) * t;
        }
        left -= piece;
    }
    return line.last();
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    if (len2 <= 0)
        return distance(p, a);
    const double t = std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0);
    return distance(p, a + ab * t);
}

double distanceToLine(QPointF p, const QPolygonF &line)
{
    if (line.size() == 1)
        return distance(p, line.first());
    double best = 1e300;
    for (int i = 1; i < line.size(); ++i)
        best = std::min(best, distanceToSegment(p, line[i - 1], line[i]));
    return best;
}

static double cross(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const double d1 = cross(c, d, a), d2 = cross(c, d, b);
    const double d3 = cross(a, b, c), d4 = cross(a, b, d);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

QPointF centroid(const QPolygonF &polygon)
{
    double area = 0, cx = 0, cy = 0;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF p = polygon[i], q = polygon[(i + 1) % polygon.size()];
        const double f = p.x() * q.y() - q.x() * p.y();
        area += f;
        cx += (p.x() + q.x()) * f;
        cy += (p.y() + q.y()) * f;
    }
    if (std::abs(area) < 1e-9)
        return polygon.boundingRect().center();
    return QPointF(cx / (3 * area), cy / (3 * area));
}

QPolygonF ellipse(QPointF centre, double rx, double ry, double rotationDegrees, int steps)
{
    QPolygonF shape;
    const double r = qDegreesToRadians(rotationDegrees);
    for (int i = 0; i < steps; ++i) {
        const double t = 2 * M_PI * i / steps;
        const double x = rx * std::cos(t), y = ry * std::sin(t);
        // Rotation is counter-clockwise on the map, whose y axis points south.
        shape << centre + QPointF(x * std::cos(r) + y * std::sin(r), -x * std::sin(r) + y * std::cos(r));
    }
    return shape;
}

QVector<int> PointIndex::near(QPointF p, double radius) const
{
    QVector<QPair<double, int>> found;
    const int r = int(std::ceil(radius / m_cell));
    const auto [cx, cy] = cellOf(p);
    for (int dx = -r; dx <= r; ++dx)
        for (int dy = -r; dy <= r; ++dy) {
            const auto it = m_cells.constFind(pack(cx + dx, cy + dy));
            if (it == m_cells.cend())
                continue;
            for (const auto &entry : *it) {
                const double d = distance(p, entry.first);
                if (d <= radius)
                    found.append({d, entry.second});
            }
        }
    std::sort(found.begin(), found.end());
    QVector<int> ids;
    for (const auto &f : found)
        ids.append(f.second);
    return ids;
}

std::pair<int, int> PointIndex::cellOf(QPointF p) const
{
    return {int(std::floor(p.x() / m_cell)), int(std::floor(p.y() / m_cell))};
}

qint64 PointIndex::key(QPointF p) const
{
    const auto [x, y] = cellOf(p);
    return pack(x, y);
}

} // namespace geo

std::uint64_t Rng::next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform()
{
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

int Rng::below(int n)
{
    return n <= 0 ? 0 : int(next() % std::uint64_t(n));
}

Rng Rng::fork(const char *purpose) const
{
    return Rng(m_state ^ stableHash(QString::fromLatin1(purpose)) * 0x2545F4914F6CDD1Dull);
}

std::uint64_t stableHash(const QString &text)
{
    std::uint64_t h = 1469598103934665603ull;
    for (QChar c : text) {
        h ^= c.unicode();
        h *= 1099511628211ull;
    }
    return h;
}
