#pragma once
// Memory for large decoded pictures (map rasters). A decoded map sheet holds tens of megabytes;
// in 4 KB pages the first write to each page is a page fault, which on some machines (virtual
// ones in particular) costs more than decoding the picture. Large images are therefore placed
// in memory the kernel may back with 2 MB pages, and a picture released goes straight back to
// the system.
#include <QImage>

namespace RasterMemory {

// A new, uninitialised image of `size` in a 32-bit `format` (Format_RGB32 and the like), or a
// null image when the memory cannot be had. Small images are ordinary QImages.
QImage createImage(QSize size, QImage::Format format);

} // namespace RasterMemory
