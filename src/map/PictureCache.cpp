#include "map/PictureCache.h"

#include "common/Errors.h"
#include "map/BitmapDecoder.h"
#include "map/JpegDecoder.h"
#include "platform/FileLookup.h"
#include "platform/RegularFile.h"

#include <QBuffer>
#include <QFile>
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

QImage read(QImageReader &reader, bool transparentBitmap, const QString &name)
{
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    QImage image = reader.read();
    if (image.isNull())
        throw Error(QStringLiteral("Cannot load the picture %1").arg(name));
    if (transparentBitmap && format == "bmp")
        return withTransparentKey(image);
    // Formats the painter draws directly, without a converted copy per paint.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace

QImage PictureCache::decode(const QString &path, bool transparentBitmap)
{
    QFile file(FileLookup::find(path));
    if (!RegularFile::open(file, path))
        throw Error(QStringLiteral("Cannot load the picture %1").arg(path));
    if (JpegDecoder::isJpeg(file.peek(4))) {
        if (QImage image = JpegDecoder::decode(file.readAll()); !image.isNull())
            return image;
    } else if (QImage image = BitmapDecoder::decode(file); !image.isNull()) {
        return transparentBitmap ? withTransparentKey(image) : image;
    }
    // Anything else is left to Qt's readers, from the file already open.
    file.seek(0);
    QImageReader reader(&file);
    return read(reader, transparentBitmap, path);
}

QImage PictureCache::decodeContent(const QByteArray &content, const QString &name)
{
    if (const QImage image = JpegDecoder::decode(content); !image.isNull())
        return image;
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    if (QImage image = BitmapDecoder::decode(buffer); !image.isNull())
        return withTransparentKey(image);
    buffer.seek(0);
    QImageReader reader(&buffer);
    return read(reader, true, name);
}

QImage PictureCache::load(const QString &path)
{
    // Entries are found by the path as written, so the case-insensitive lookup runs once per
    // path; one stat per load tells whether the file changed.
    const auto found = m_entries.constFind(path);
    if (found != m_entries.constEnd()) {
        const QFileInfo info(found->file);
        if (info.exists() && found->size == info.size() && found->modified == info.lastModified())
            return found->image;
    }
    const QFileInfo info(FileLookup::find(path));
    Entry entry{info.absoluteFilePath(), info.lastModified(), info.size(), decode(path, true)};
    m_entries.insert(path, entry);
    return entry.image;
}
