#include "platform/RasterMemory.h"

#include <cstdint>
#include <sys/mman.h>

namespace {

constexpr size_t HugePage = size_t(2) << 20;
// Below this an image is an ordinary allocation: few pages, and huge pages would waste memory.
constexpr size_t LargeImage = size_t(4) << 20;

struct Mapping {
    void *start;
    size_t length;
};

void unmap(void *info)
{
    const auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

// `length` bytes aligned to a huge page (the kernel only uses huge pages for aligned ranges),
// advised for huge pages; nullptr when the system refuses the mapping.
Mapping *mapAligned(size_t length)
{
    const size_t reserved = length + HugePage;
    void *base = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
    const auto address = reinterpret_cast<uintptr_t>(base);
    const uintptr_t aligned = (address + HugePage - 1) & ~uintptr_t(HugePage - 1);
    // Give back the unaligned head and the tail beyond `length`.
    if (aligned > address)
        munmap(base, aligned - address);
    if (const size_t tail = address + reserved - (aligned + length); tail > 0)
        munmap(reinterpret_cast<void *>(aligned + length), tail);
    void *start = reinterpret_cast<void *>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(start, length, MADV_HUGEPAGE);
#endif
    return new Mapping{start, length};
}

} // namespace

namespace RasterMemory {

QImage createImage(QSize size, QImage::Format format)
{
    if (size.isEmpty())
        return {};
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const size_t length = size_t(bytesPerLine) * size_t(size.height());
    if (length < LargeImage)
        return QImage(size, format);
    Mapping *mapping = mapAligned((length + HugePage - 1) & ~(HugePage - 1));
    if (!mapping)
        return QImage(size, format);
    QImage image(static_cast<uchar *>(mapping->start), size.width(), size.height(), bytesPerLine, format, unmap,
                 mapping);
    if (image.isNull())
        unmap(mapping);
    return image;
}

} // namespace RasterMemory
