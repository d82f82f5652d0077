#include "map/BitmapDecoder.h"

#include "platform/RasterMemory.h"

#include <QImageReader>
#include <QtEndian>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40; // BITMAPINFOHEADER; later versions only add fields
constexpr qint64 BlockBytes = 256 * 1024;

struct Layout {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    qint64 pixelOffset = 0;
    qint64 rowBytes = 0;
};

template <typename T>
T field(const QByteArray &header, int at)
{
    return qFromLittleEndian<T>(header.constData() + at);
}

bool readLayout(const QByteArray &header, Layout &layout)
{
    if (header.size() < FileHeaderSize + InfoHeaderSize || !header.startsWith("BM"))
        return false;
    const quint32 infoSize = field<quint32>(header, 14);
    const qint32 width = field<qint32>(header, 18);
    const qint32 height = field<qint32>(header, 22);
    const quint16 planes = field<quint16>(header, 26);
    const quint16 bitsPerPixel = field<quint16>(header, 28);
    const quint32 compression = field<quint32>(header, 30);
    if (infoSize < quint32(InfoHeaderSize) || planes != 1 || bitsPerPixel != 24 || compression != 0 || width <= 0
        || height == 0 || height == std::numeric_limits<qint32>::min())
        return false;
    layout.width = width;
    layout.height = std::abs(height);
    layout.bottomUp = height > 0;
    layout.pixelOffset = field<quint32>(header, 10);
    layout.rowBytes = (qint64(width) * 3 + 3) & ~qint64(3);
    return layout.pixelOffset >= FileHeaderSize + qint64(infoSize);
}

void convertRow(const uchar *source, QRgb *target, int width)
{
    for (int x = 0; x < width; ++x, source += 3)
        target[x] = qRgb(source[2], source[1], source[0]);
}

} // namespace

namespace BitmapDecoder {

QImage decode(QIODevice &device)
{
    Layout layout;
    const qint64 start = device.pos();
    if (!readLayout(device.peek(FileHeaderSize + InfoHeaderSize), layout))
        return {};
    if (qint64(layout.width) * layout.height * 4 > qint64(QImageReader::allocationLimit()) * 1024 * 1024)
        return {};
    // A sequential device cannot tell its size; Qt's reader copes with it.
    if (device.isSequential() || device.size() - start < layout.pixelOffset + layout.rowBytes * layout.height)
        return {};
    if (!device.seek(start + layout.pixelOffset))
        return {};
    QImage image = RasterMemory::createImage(QSize(layout.width, layout.height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const int rowsPerBlock = int(qMax<qint64>(1, BlockBytes / layout.rowBytes));
    std::vector<uchar> block(size_t(rowsPerBlock * layout.rowBytes));
    for (int row = 0; row < layout.height; row += rowsPerBlock) {
        const int rows = qMin(rowsPerBlock, layout.height - row);
        const qint64 bytes = rows * layout.rowBytes;
        if (device.read(reinterpret_cast<char *>(block.data()), bytes) != bytes)
            return {};
        for (int i = 0; i < rows; ++i) {
            const int y = layout.bottomUp ? layout.height - 1 - (row + i) : row + i;
            convertRow(block.data() + i * layout.rowBytes, reinterpret_cast<QRgb *>(image.scanLine(y)), layout.width);
        }
    }
    return image;
}

} // namespace BitmapDecoder
