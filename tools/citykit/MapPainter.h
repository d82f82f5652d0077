#pragma once
// Draws the city's maps from a scene: the general map and the detailed sheets come from the same
// geometry, so a place lands on the same spot of the city on both.
#include "citykit/MapScene.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

class MapPainter {
public:
    MapPainter(const MapScene &scene, QString fontFamily);

    // The transform from metres to the pixels of an image of the given size showing area.
    static QTransform viewTransform(const QRectF &area, QSize size);
    // Area in metres; detailed maps carry buildings, footways, street names, stops and the
    // sheet's frame.
    QImage paint(const QRectF &area, QSize size, bool detailed, const QString &title) const;

private:
    const MapScene &m_scene;
    QString m_family;
};
