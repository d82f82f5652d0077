#pragma once
// Decodes uncompressed 24-bit Windows bitmaps (the general city map is one) straight into a
// QImage of Format_RGB32, reading the file in blocks of rows: Qt's reader is several times
// slower for a large map and holds the whole image twice while it works.
#include <QIODevice>
#include <QImage>

namespace BitmapDecoder {

// The picture read from `device` (from its current position, the start of the file), or a
// null image when the data is not an uncompressed 24-bit bitmap, is shorter than its header
// says, or would take more memory than Qt's image reader allows; other bitmaps are left to
// Qt's reader. The device's position is then undefined.
QImage decode(QIODevice &device);

} // namespace BitmapDecoder
