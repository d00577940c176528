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

TEST(ReuseAllocator, FreedBlockIsHandedOutAgain)
{
    SamplePool pool(false);
    void* first = pool.Allocate(sizeof(Sample));
    pool.Free(first);
    EXPECT_EQ(pool.Allocate(sizeof(Sample)), first);
    EXPECT_EQ(pool.GetBlockCount(), 1u);
}

TEST(ReuseAllocator, BlocksAreNumberedInOrderAndReusedLastInFirstOut)
{
    SamplePool pool(true);
    void* zero = pool.Allocate(sizeof(Sample));
    void* one = pool.Allocate(sizeof(Sample));
    void* two = pool.Allocate(sizeof(Sample));
    EXPECT_NE(zero, one);
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
}

TEST(ReuseAllocator, StorageIsAlignedForTheObject)
{
    SamplePool pool(false);
    void* storage = pool.Allocate(sizeof(Sample));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(storage) % alignof(Sample), 0u);
}

} // namespace
} // namespace QZ
