#include "officehost/HostMemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <malloc.h>

// A block the size of a flattened object's bitmap comes from the heap, and
// stays there once freed, ready for the next one.
TEST(HostMemoryTest, LargeBlocksComeFromTheHeapAndAreKeptOnceFreed)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers bring their own allocator";
#endif
    ASSERT_TRUE(HostMemory::KeepFreedBlocks());
    constexpr size_t kBitmap = 20u << 20;
    const size_t mappedBefore = mallinfo2().hblkhd;
    void* block = std::malloc(kBitmap);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, kBitmap);
    EXPECT_EQ(mallinfo2().hblkhd, mappedBefore) << "the block was mapped on its own";
    std::free(block);
    EXPECT_GE(mallinfo2().fordblks, kBitmap) << "the freed block went back to the kernel";
}
