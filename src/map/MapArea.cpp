#include "map/MapArea.h"

#include "common/Errors.h"
#include "platform/FileLookup.h"

MapArea::MapArea(QWidget *parent) : QScrollArea(parent) {}

void MapArea::loadPicture(const QString &path)
{
    QImage image(FileLookup::find(path));
    if (image.isNull())
        throw Error(QStringLiteral("Cannot load the picture %1").arg(path));
    m_raster = image;
}

QSize MapArea::imageSize() const
{
    return m_raster.size();
}
