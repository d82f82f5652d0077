#include "osmimport/Districts.h"

#include "citykit/Geometry.h"
#include "osmimport/Transcription.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace {

constexpr int BandCount = 128;
constexpr int TbilisiDistricts = 10;

double distanceToRect(QPointF p, const QRectF &r)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

} // namespace

Districts::Districts(const QVector<OsmBoundary> &boundaries, const MapFrame &frame, int level, const QString &wholeCity)
{
    QMap<int, int> perLevel;
    for (const OsmBoundary &b : boundaries)
        ++perLevel[b.level];
    if (level == 0) {
        int best = -1;
        for (auto it = perLevel.cbegin(); it != perLevel.cend(); ++it) {
            if (it.value() < 2)
                continue;
            if (best < 0 || std::abs(it.value() - TbilisiDistricts) <= std::abs(perLevel[best] - TbilisiDistricts))
                best = it.key();
        }
        if (best < 0 && !perLevel.isEmpty())
            best = perLevel.lastKey();
        level = std::max(best, 0);
    }
    for (const OsmBoundary &b : boundaries)
        if (b.level == level)
            add(Transcription::transcribe(b.name).left(50), b.shape, b.labelAt);
    if (m_districts.isEmpty()) {
        QPainterPath all;
        all.addRect(QRectF(0, 0, frame.width, frame.height));
        add(wholeCity, all, QPointF(frame.width / 2, frame.height / 2));
    } else {
        m_level = level;
    }
}

void Districts::add(const QString &name, const QPainterPath &shape, QPointF labelAt)
{
    District d;
    d.name = name;
    d.shape = shape;
    d.labelAt = labelAt;
    d.bounds = shape.boundingRect();
    for (const QPolygonF &ring : shape.toSubpathPolygons())
        for (int i = 1; i < ring.size(); ++i)
            d.edges.append({ring[i - 1], ring[i]});
    d.bands.resize(BandCount);
    const double height = std::max(d.bounds.height(), 1e-9);
    auto band = [&](double y) { return std::clamp(int((y - d.bounds.top()) / height * BandCount), 0, BandCount - 1); };
    for (int i = 0; i < d.edges.size(); ++i) {
        const double low = std::min(d.edges[i].a.y(), d.edges[i].b.y());
        const double high = std::max(d.edges[i].a.y(), d.edges[i].b.y());
        for (int b = band(low); b <= band(high); ++b)
            d.bands[b].append(i);
    }
    m_districts.append(d);
}

bool Districts::contains(const District &d, QPointF p) const
{
    if (!d.bounds.contains(p))
        return false;
    const int band = std::clamp(int((p.y() - d.bounds.top()) / std::max(d.bounds.height(), 1e-9) * BandCount), 0, BandCount - 1);
    bool inside = false;
    for (int i : d.bands[band]) {
        const QPointF a = d.edges[i].a, b = d.edges[i].b;
        if ((a.y() > p.y()) != (b.y() > p.y()) && p.x() < a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y()))
            inside = !inside;
    }
    return inside;
}

int Districts::at(QPointF p) const
{
    for (int i = 0; i < m_districts.size(); ++i)
        if (contains(m_districts[i], p))
            return i;
    int nearest = 0;
    double best = 1e300;
    for (int i = 0; i < m_districts.size(); ++i) {
        const District &d = m_districts[i];
        if (distanceToRect(p, d.bounds) >= best)
            continue;
        for (const Edge &e : d.edges) {
            const double distance = geo::distanceToSegment(p, e.a, e.b);
            if (distance < best) {
                best = distance;
                nearest = i;
            }
        }
    }
    return nearest;
}

QVector<Districts::Stretch> Districts::split(const QPolygonF &line) const
{
    QVector<Stretch> stretches;
    for (int i = 1; i < line.size(); ++i) {
        const int district = at((line[i - 1] + line[i]) / 2);
        if (stretches.isEmpty() || stretches.last().district != district)
            stretches.append({district, QPolygonF{line[i - 1]}});
        stretches.last().line << line[i];
    }
    return stretches;
}
