#pragma once
// Memory for the many small objects the start-up makes. Building the main window writes to a few
// thousand fresh 4 KB pages (widgets, fonts, the window's 3 MB paint buffer); the first write to
// each is a page fault, which on virtual machines costs several microseconds, a tenth of the
// start-up. The heap is therefore grown once into a reserve the kernel may back with 2 MB pages,
// and blocks up to 8 MB are served from it rather than from mappings of their own (larger ones,
// map rasters among them, keep theirs and go back to the system when freed).
//
// Only with glibc on Linux; where transparent huge pages are off, the advice changes nothing.
namespace HugePageHeap {

// Takes effect once; later calls do nothing.
void reserve();

} // namespace HugePageHeap
