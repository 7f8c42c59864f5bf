#include "officehost/HostMemory.h"

#include <malloc.h>

namespace {

// Blocks up to this size come from the heap: the bitmaps a slide's
// see-through objects are drawn into stay below it (a shadow at 720 dpi
// takes about 12 MB).
constexpr int kLargestHeapBlock = 32 << 20;
// Free memory at the heap's top is handed back only above this.
constexpr int kKeptFreeMemory = 128 << 20;

} // namespace

namespace HostMemory {

bool KeepFreedBlocks()
{
    const bool heap = mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) == 1;
    const bool kept = mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory) == 1;
    return heap && kept;
}

} // namespace HostMemory
