#include "platform/HugePageHeap.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace HugePageHeap {

void reserve()
{
#if defined(__linux__) && defined(__GLIBC__)
    static bool reserved = false;
    if (reserved)
        return;
    reserved = true;

    constexpr std::uintptr_t HugePage = 2u << 20;
    constexpr int Reserve = 64 << 20;
    mallopt(M_MMAP_THRESHOLD, 8 << 20);
    // The heap keeps the reserve free at its end, and gives back only what is free beyond it.
    mallopt(M_TRIM_THRESHOLD, Reserve + (32 << 20));

    // Grow the heap from its end to the next 2 MB boundary and the reserve beyond it: a block
    // larger than any free space in it makes malloc grow it by the pad.
    auto *const end = static_cast<char *>(sbrk(0));
    auto *const aligned =
        reinterpret_cast<char *>((reinterpret_cast<std::uintptr_t>(end) + HugePage - 1) & ~(HugePage - 1));
    mallopt(M_TOP_PAD, int(aligned - end) + Reserve);
    void *volatile grown = malloc(4 << 20);
    free(grown);
    mallopt(M_TOP_PAD, Reserve);

    // Under a replacement allocator (a sanitizer's, for one) the heap does not grow: nothing to advise.
    auto *const grownEnd = static_cast<char *>(sbrk(0));
    if (grownEnd > aligned)
        madvise(aligned, std::uintptr_t(grownEnd - aligned) & ~(HugePage - 1), MADV_HUGEPAGE);
#endif
}

} // namespace HugePageHeap
