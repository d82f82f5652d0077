#pragma once
// The general map's frame: where it lies on the earth and how big it is. Geometry is in metres
// from the general map's top-left corner, y pointing south; the frame projects longitude and
// latitude onto it.
#include <QPointF>
#include <QString>

#include <optional>

// A box on the earth in degrees.
struct GeoBox {
    double west = 0, south = 0, east = 0, north = 0;
    // "W,S,E,N" to four decimals, as the tools take and tell it.
    QString text() const;
    // From "W,S,E,N"; nothing unless west lies west of east and south south of north, within
    // the world a map can show.
    static std::optional<GeoBox> parse(const QString &text);
};

struct MapFrame {
    double centreLon = 0;
    double centreLat = 0;
    double width = 0;  // metres
    double height = 0; // metres, three quarters of the width
    QPointF project(double lon, double lat) const;
    // Back from metres to longitude (x) and latitude (y).
    QPointF lonLat(QPointF metres) const;
    // Per cent of the general map.
    QPointF percent(QPointF metres) const { return QPointF(metres.x() / width * 100, metres.y() / height * 100); }
    QPointF metres(QPointF percent) const { return QPointF(percent.x() * width / 100, percent.y() * height / 100); }

    // The smallest frame of the maps' 4:3 shape around a box, centred on it.
    static MapFrame around(const GeoBox &box);
    // The box the frame covers.
    GeoBox box() const;
};
