#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Renderer/HashedList.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace QZ
{
namespace
{

struct Item
{
    int id;
    int value;
};

int IdOf(const Item& item)
{
    return item.id;
}

using List = HashedList<Item, int, &IdOf, 8, &GetBits<8, 4, int>>;

// Spreads keys over more bits than the list has buckets.
std::uint32_t WideBits(const int& key)
{
    return static_cast<std::uint32_t>(key) * 2654435761u;
}

TEST(CacheKeyBits, ShiftThenMask)
{
    EXPECT_EQ((GetBits<8, 4, int>(0x1234)), 0x23u);
    EXPECT_EQ((GetBits<8, 0, long>(0x1FFL)), 0xFFu);
    EXPECT_EQ((GetBits<8, 4, int>(-16)), 0xFFu);
    EXPECT_EQ((GetBits<8, 4, std::uintptr_t>(std::uintptr_t{0xABCDE0})), 0xDEu);
}

TEST(HashedListAdd, NewKeyAddsAndExistingKeyOnlyReplacesTheItem)
{
    List list;
    EXPECT_TRUE(list.Add({7, 1}));
    EXPECT_FALSE(list.Add({7, 2}));
    EXPECT_EQ(list.GetCount(), 1);
    Item* found = list.Find(7, nullptr);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->value, 2);
}

TEST(HashedListFind, AbsentKeyGivesTheCallersDefault)
{
    List list;
    Item fallback{0, 0};
    list.Add({1, 1});
    EXPECT_EQ(list.Find(2, &fallback), &fallback);
    EXPECT_EQ(list.Find(2, nullptr), nullptr);
}

TEST(HashedListFind, KeysSharingABucketStaySeparate)
{
    List list;
    // 0, 4096 and -65536 all land in bucket 0.
    list.Add({0, 10});
    list.Add({4096, 20});
    list.Add({-65536, 30});
    EXPECT_EQ(list.Find(4096, nullptr)->value, 20);
    EXPECT_TRUE(list.Remove(4096));
    EXPECT_EQ(list.Find(4096, nullptr), nullptr);
    EXPECT_EQ(list.Find(0, nullptr)->value, 10);
    EXPECT_EQ(list.Find(-65536, nullptr)->value, 30);
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(HashedListFind, FoundItemCanBeChangedInPlace)
{
    List list;
    list.Add({3, 1});
    list.Find(3, nullptr)->value = 9;
    EXPECT_EQ(list.Find(3, nullptr)->value, 9);
}

TEST(HashedListRemove, AbsentKeyReportsFalse)
{
    List list;
    list.Add({5, 5});
    EXPECT_FALSE(list.Remove(6));
    EXPECT_TRUE(list.Remove(5));
    EXPECT_FALSE(list.Remove(5));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(HashedListClear, EmptiesEveryBucket)
{
    List list;
    for (int id = -300; id < 300; id += 7)
    {
        list.Add({id, id});
    }
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.Find(-300, nullptr), nullptr);
    EXPECT_TRUE(list.Add({-300, 0}));
}

TEST(HashedListBuckets, BucketFunctionWithMoreBitsStaysInRange)
{
    HashedList<Item, int, &IdOf, 4, &WideBits> list;
    for (int id = 0; id < 100; ++id)
    {
        list.Add({id, id * 2});
    }
    EXPECT_EQ(list.GetCount(), 100);
    EXPECT_EQ(list.Find(99, nullptr)->value, 198);
}

TEST(HashedListKeyText, NamesTheKeyType)
{
    EXPECT_TRUE(List::KeyToString(5) == u"int");
}

} // namespace
} // namespace QZ
