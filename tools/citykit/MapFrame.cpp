#include "citykit/MapFrame.h"

#include <QStringList>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {
constexpr double MetresPerDegree = 111320.0;
}

QString GeoBox::text() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(west, 0, 'f', 4).arg(south, 0, 'f', 4).arg(east, 0, 'f', 4).arg(north, 0, 'f', 4);
}

std::optional<GeoBox> GeoBox::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    const GeoBox box{v[0], v[1], v[2], v[3]};
    if (!(box.west >= -180 && box.east <= 180 && box.south >= -85 && box.north <= 85 && box.west < box.east
          && box.south < box.north))
        return std::nullopt;
    return box;
}

QPointF MapFrame::project(double lon, double lat) const
{
    const double x = (lon - centreLon) * MetresPerDegree * std::cos(qDegreesToRadians(centreLat));
    const double y = (centreLat - lat) * MetresPerDegree;
    return QPointF(x + width / 2, y + height / 2);
}

QPointF MapFrame::lonLat(QPointF metres) const
{
    const double lon = centreLon + (metres.x() - width / 2) / (MetresPerDegree * std::cos(qDegreesToRadians(centreLat)));
    const double lat = centreLat - (metres.y() - height / 2) / MetresPerDegree;
    return QPointF(lon, lat);
}

MapFrame MapFrame::around(const GeoBox &box)
{
    MapFrame frame;
    frame.centreLon = (box.west + box.east) / 2;
    frame.centreLat = (box.south + box.north) / 2;
    const QPointF size = frame.project(box.east, box.south) - frame.project(box.west, box.north);
    frame.width = std::max(size.x(), size.y() * 4 / 3);
    frame.height = frame.width * 0.75;
    return frame;
}

GeoBox MapFrame::box() const
{
    const QPointF topLeft = lonLat(QPointF(0, 0)), bottomRight = lonLat(QPointF(width, height));
    return {topLeft.x(), bottomRight.y(), bottomRight.x(), topLeft.y()};
}
