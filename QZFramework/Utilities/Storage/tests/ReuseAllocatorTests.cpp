#include "QZFramework/Utilities/Storage/ReuseAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace QZ
{
namespace
{

struct Sample
{
    double value;
    std::int32_t count;
};

using SamplePool = ReuseAllocator<Sample, 4>;

// Blocks are aligned for the object, numbered in order, and freed ones are handed out again last
// in, first out.
TEST(ReuseAllocator, BlocksAreNumberedInOrderAndReusedLastInFirstOut)
{
    SamplePool pool(true);
    void* zero = pool.Allocate(sizeof(Sample));
    void* one = pool.Allocate(sizeof(Sample));
    void* two = pool.Allocate(sizeof(Sample));
    EXPECT_NE(zero, one);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(zero) % alignof(Sample), 0u);
    EXPECT_EQ(SamplePool::GetBlockNumber(zero), 0u);
    EXPECT_EQ(SamplePool::GetBlockNumber(one), 1u);
    EXPECT_EQ(SamplePool::GetBlockNumber(two), 2u);

    pool.Free(zero);
    pool.Free(two);
    EXPECT_EQ(pool.GetFreeCount(), 2u);
    EXPECT_EQ(pool.Allocate(sizeof(Sample)), two);
    EXPECT_EQ(pool.Allocate(sizeof(Sample)), zero);
    EXPECT_EQ(pool.GetBlockCount(), 3u);
    pool.Free(one);
}

// Without a lock as with one; other sizes come from the heap and go back there.
TEST(ReuseAllocator, OtherSizesComeFromTheHeapAndGoBackThere)
{
    SamplePool pool(false);
    void* own = pool.Allocate(sizeof(Sample));
    void* foreign = pool.Allocate(sizeof(Sample) + 8);
    EXPECT_EQ(pool.GetBlockCount(), 1u);
    static_cast<unsigned char*>(foreign)[sizeof(Sample) + 7] = 1;

    pool.Free(foreign);
    EXPECT_EQ(pool.GetFreeCount(), 0u);
    pool.Free(own);
    EXPECT_EQ(pool.GetFreeCount(), 1u);
    EXPECT_EQ(pool.Allocate(sizeof(Sample)), own);
    EXPECT_EQ(pool.GetBlockCount(), 1u);
}

} // namespace
} // namespace QZ
