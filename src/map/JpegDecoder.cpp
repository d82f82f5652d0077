#include "map/JpegDecoder.h"

#include "platform/RasterMemory.h"

#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// libjpeg's own handler ends the process; this one returns to decode().
[[noreturn]] void fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

} // namespace

namespace JpegDecoder {

bool isJpeg(const QByteArray &data)
{
    return data.size() > 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 && uchar(data[2]) == 0xFF;
}

namespace {

// Decodes into `image`, which lives in the caller's frame: nothing of this frame that changes
// after setjmp() is used after a jump back.
bool decodeInto(const QByteArray &data, QImage &image)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.output_message = ignoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    const bool rgb = info.jpeg_color_space == JCS_GRAYSCALE || info.jpeg_color_space == JCS_YCbCr
        || info.jpeg_color_space == JCS_RGB;
    if (rgb) {
        // QImage's RGB32 pixel is 0xffRRGGBB, in memory B, G, R, 0xff; libjpeg fills X with 0xff.
        info.out_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        jpeg_start_decompress(&info);
        // The same limit as Qt's reader: a header may claim any size, and the rows it lacks
        // would still be filled.
        if (qint64(info.output_width) * info.output_height * 4 > qint64(QImageReader::allocationLimit()) * 1024 * 1024) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        image = RasterMemory::createImage(QSize(int(info.output_width), int(info.output_height)), QImage::Format_RGB32);
        while (!image.isNull() && info.output_scanline < info.output_height) {
            JSAMPROW row = image.scanLine(int(info.output_scanline));
            jpeg_read_scanlines(&info, &row, 1);
        }
        if (!image.isNull())
            jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return rgb && !image.isNull();
}

} // namespace

QImage decode(const QByteArray &data)
{
    QImage image;
    if (!isJpeg(data) || !decodeInto(data, image))
        return {};
    return image;
}

} // namespace JpegDecoder
