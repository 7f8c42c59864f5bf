#pragma once

// How the office's allocator treats the large blocks it frees.
namespace HostMemory {

// LibreOffice draws see-through objects into large bitmaps, freeing and
// allocating them again object by object. By default each large block is
// mapped from the kernel and handed back when freed, so its pages are
// faulted in and cleared every time: for a deck of see-through shadows,
// flattened, that was a seventh of the run's processor time. A host lives
// for one file, so it keeps what it freed for its next block instead.
// Call it before the office loads: the warm office's hosts inherit it.
// False when the allocator refused either setting (it works as before).
bool KeepFreedBlocks();

} // namespace HostMemory
