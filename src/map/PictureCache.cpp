#include "map/PictureCache.h"

#include "common/Errors.h"
#include "platform/FileLookup.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

// Makes every pixel of the bottom-left pixel's colour fully transparent.
QImage withTransparentKey(const QImage &image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1) | 0xff000000u;
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] | 0xff000000u) == key)
                line[x] = 0;
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString absolutePath(const QString &path)
{
    return QFileInfo(FileLookup::find(path)).absoluteFilePath();
}

} // namespace

QImage PictureCache::decode(const QString &path, bool transparentBitmap)
{
    QImageReader reader(FileLookup::find(path));
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    QImage image = reader.read();
    if (image.isNull())
        throw Error(QStringLiteral("Cannot load the picture %1").arg(path));
    if (transparentBitmap && format == "bmp")
        return withTransparentKey(image);
    // Formats the painter draws directly, without a converted copy per paint.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QImage PictureCache::load(const QString &path)
{
    const QString key = absolutePath(path);
    const QFileInfo info(key);
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd() && found->size == info.size() && found->modified == info.lastModified())
        return found->image;
    Entry entry{info.lastModified(), info.size(), decode(path, true)};
    m_entries.insert(key, entry);
    return entry.image;
}

void PictureCache::forget(const QString &path)
{
    m_entries.remove(absolutePath(path));
}
