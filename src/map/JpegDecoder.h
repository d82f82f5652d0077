#pragma once
// Decodes JPEG data straight into a QImage of Format_RGB32 with libjpeg, row by row into the
// image's own memory: Qt's reader makes a 24-bit image and converts it, which for a large map
// sheet costs several times the decoding itself.
#include <QByteArray>
#include <QImage>

namespace JpegDecoder {

// True when `data` starts like a JPEG file.
bool isJpeg(const QByteArray &data);
// The decoded picture, or a null image when libjpeg cannot decode the data (not a JPEG, a
// colour space it cannot turn into RGB, a broken file) or the picture would take more memory
// than Qt's image reader allows (QImageReader::allocationLimit()).
QImage decode(const QByteArray &data);

} // namespace JpegDecoder
