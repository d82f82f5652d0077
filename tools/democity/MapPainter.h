#pragma once
// Draws the city's map from the model: the general map and the detailed sheets come from the same
// geometry, so a place lands on the same spot of the city on both.
#include "City.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

class MapPainter {
public:
    MapPainter(const City &city, QString fontFamily);

    // The transform from model metres to the pixels of an image of the given size showing area.
    static QTransform viewTransform(const QRectF &area, QSize size);
    // Area in metres; detailed maps carry street names, stops and the sheet's frame.
    QImage paint(const QRectF &area, QSize size, bool detailed, const QString &title) const;

private:
    const City &m_city;
    const Model &m_model;
    QString m_family;
};
