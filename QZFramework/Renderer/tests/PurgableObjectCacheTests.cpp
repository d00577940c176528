// The bounded object cache. Its clock is its use counter: every lookup is one tick, so the tests
// drive time by looking keys up, and set the counter directly to cross the 32-bit wrap.
#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Renderer/PurgableObjectCache.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <stdexcept>

namespace QZ
{
namespace
{

class Thing : public virtual LRefCountedObject
{
public:
    explicit Thing(int id) : mId(id) {}
    int GetId() const { return mId; }

private:
    int mId;
};

using Base = PurgableObjectCache<Thing, int, int, &GetSelf<int>, 8, &GetBits<8, 4, int>>;

// Opens the cache's counter and entries, to age entries without billions of lookups.
class Cache : public Base
{
public:
    using Base::Base;
    using Base::GetMutableEntry;
    using Base::SetUseCounter;

    // Looks the key up and builds its object when the slot is empty, as a renderer does.
    RCPtr<Thing>& Use(int key)
    {
        RCPtr<Thing>& slot = Lookup(key);
        if (slot.IsNull())
        {
            slot = new Thing(key);
        }
        return slot;
    }

    void UseAll(std::initializer_list<int> keys)
    {
        for (int key : keys)
        {
            Use(key);
        }
    }

    // The index of the entry holding the key, or -1.
    int EntryOf(int key) const
    {
        for (int i = 0; i < GetCapacity(); ++i)
        {
            if (GetEntry(i).key == key && !GetEntry(i).IsEmpty())
            {
                return i;
            }
        }
        return -1;
    }
};

TEST(ObjectCacheClaiming, KeysTakeEntriesInOrderThenTheOldestIsReused)
{
    Cache cache(256);
    for (int key = 1000; key < 1256; ++key)
    {
        cache.Use(key);
    }
    for (int i = 0; i < 256; ++i)
    {
        ASSERT_EQ(cache.GetEntry(i).key, 1000 + i);
    }
    cache.Use(5000);
    EXPECT_EQ(cache.GetEntry(0).key, 5000);
    EXPECT_EQ(cache.GetEntry(0).object->GetId(), 5000);
    EXPECT_EQ(cache.GetEntry(1).key, 1001);
}

TEST(ObjectCacheClaiming, RecentlyUsedEntriesSurviveEviction)
{
    Cache cache(4);
    cache.UseAll({10, 11, 12, 13, 11, 10});
    cache.Use(14);
    EXPECT_EQ(cache.EntryOf(14), 2);
    EXPECT_EQ(cache.EntryOf(12), -1);
    // Key 12 is gone from the index: coming back it claims the next oldest entry, 13's.
    cache.Use(12);
    EXPECT_EQ(cache.EntryOf(12), 3);
    EXPECT_EQ(cache.EntryOf(10), 0);
    EXPECT_EQ(cache.EntryOf(11), 1);
}

TEST(ObjectCacheClaiming, AmongEquallyOldEntriesTheLeastUsedIsReused)
{
    Cache cache(3);
    cache.UseAll({1, 2, 3});
    for (int i = 0; i < 3; ++i)
    {
        cache.GetMutableEntry(i).lastUse = 1;
    }
    cache.GetMutableEntry(0).useCount = 9;
    cache.GetMutableEntry(1).useCount = 4;
    cache.GetMutableEntry(2).useCount = 7;
    cache.Use(4);
    EXPECT_EQ(cache.EntryOf(4), 1);
}

TEST(ObjectCacheClaiming, AgesAreCountedAcrossTheCounterWrap)
{
    Cache cache(3);
    cache.SetUseCounter(0xFFFFFFFEu);
    cache.UseAll({1, 2, 3}); // last uses 0xFFFFFFFF, 0, 1
    cache.Use(4);
    EXPECT_EQ(cache.EntryOf(4), 0);
    cache.Use(5);
    EXPECT_EQ(cache.EntryOf(5), 1);
}

TEST(ObjectCachePurge, EmptiesEntriesOlderThanTheStampAndKeepsTheirKeys)
{
    Cache cache(4);
    cache.UseAll({1, 2, 3});
    const std::uint32_t stamp = cache.GetUseCounter();
    cache.UseAll({3});
    cache.SetPurgeStamp(stamp);
    EXPECT_EQ(cache.Purge(cache.GetPurgeStamp()), 2);
    EXPECT_TRUE(cache.GetEntry(0).IsEmpty());
    EXPECT_TRUE(cache.GetEntry(1).IsEmpty());
    EXPECT_FALSE(cache.GetEntry(2).IsEmpty());
    EXPECT_EQ(cache.GetEntry(0).key, 1);
    EXPECT_EQ(cache.GetEntry(0).useCount, 0u);
    // Nothing is left to release a second time.
    EXPECT_EQ(cache.Purge(stamp), 0);
}

TEST(ObjectCachePurge, StampIsComparedAcrossTheCounterWrap)
{
    Cache cache(2);
    cache.SetUseCounter(0xFFFFFFF0u);
    cache.UseAll({1});
    cache.SetUseCounter(0x10u);
    cache.UseAll({2});
    EXPECT_EQ(cache.Purge(0x5u), 1);
    EXPECT_TRUE(cache.GetEntry(0).IsEmpty());
    EXPECT_FALSE(cache.GetEntry(1).IsEmpty());
}

TEST(ObjectCachePurge, EmptiedEntryIsReusedBeforeAnyOlderFullOne)
{
    Cache cache(3);
    cache.UseAll({1, 2, 3, 1});   // last uses: 1 -> 4, 2 -> 2, 3 -> 3
    EXPECT_EQ(cache.Purge(3), 1); // only key 2
    cache.Use(4);
    EXPECT_EQ(cache.EntryOf(4), 1);
    EXPECT_EQ(cache.EntryOf(3), 2);
}

TEST(ObjectCachePurge, EmptiedKeyFindsItsOwnEntryAgain)
{
    Cache cache(2);
    RCPtr<Thing>& slot = cache.Use(1);
    cache.Use(2);
    (void)cache.Purge(cache.GetUseCounter() + 1);
    RCPtr<Thing>& again = cache.Lookup(1);
    EXPECT_EQ(&again, &slot);
    EXPECT_TRUE(again.IsNull());
    EXPECT_EQ(cache.GetEntry(1).key, 2);
}

TEST(ObjectCacheInvalidate, PresentKeyComesBackEmptyInTheSameEntry)
{
    Cache cache(2);
    RCPtr<Thing>& slot = cache.Use(1);
    RCPtr<Thing>& invalidated = cache.Lookup(1, true);
    EXPECT_EQ(&invalidated, &slot);
    EXPECT_TRUE(invalidated.IsNull());
    EXPECT_EQ(cache.GetEntry(0).useCount, 1u);
}

TEST(ObjectCacheInvalidate, AbsentKeyIsClaimedAsUsual)
{
    Cache cache(2);
    cache.Use(1);
    RCPtr<Thing>& slot = cache.Lookup(2, true);
    EXPECT_TRUE(slot.IsNull());
    EXPECT_EQ(cache.GetEntry(1).key, 2);
    EXPECT_EQ(cache.GetEntry(1).useCount, 1u);
}

TEST(ObjectCacheDiscard, AbsentKeyReportsOneAndChangesNothing)
{
    Cache cache(2);
    cache.Use(1);
    EXPECT_EQ(cache.Discard(2), 1);
    EXPECT_FALSE(cache.GetEntry(0).IsEmpty());
    EXPECT_EQ(cache.GetUseCounter(), 1u);
}

TEST(ObjectCacheDiscard, PresentKeyIsEmptiedAndFoundAgainInPlace)
{
    Cache cache(2);
    RCPtr<Thing>& slot = cache.Use(1);
    const RCPtr<Thing> held = slot;
    EXPECT_EQ(cache.Discard(1), 0);
    EXPECT_EQ(held->GetRefCount(), 1);
    EXPECT_EQ(cache.GetEntry(0).lastUse, 0u);
    EXPECT_EQ(&cache.Lookup(1), &slot);
}

TEST(ObjectCacheUseCount, SaturatesAtTheTop)
{
    Cache cache(1);
    cache.Use(1);
    cache.GetMutableEntry(0).useCount = 0xFFFFFFFEu;
    cache.UseAll({1, 1, 1});
    EXPECT_EQ(cache.GetEntry(0).useCount, 0xFFFFFFFFu);
}

TEST(ObjectCacheCapacity, BelowOneIsRefused)
{
    EXPECT_THROW(Cache(0), Exception<std::invalid_argument>);
    EXPECT_THROW(Cache(-5), Exception<std::invalid_argument>);
    Cache cache(2);
    EXPECT_THROW((void)cache.GetEntry(2), Exception<std::out_of_range>);
}

// A key holding a reference keeps its object alive while it is cached.
std::uint32_t ThingBits(const RCPtr<Thing>& key)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(key.Get()) >> 4) & 0xFFu;
}

RCPtr<Thing> SameThing(const RCPtr<Thing>& thing)
{
    return thing;
}

TEST(ObjectCacheKeys, ReplacedKeyReleasesWhatItHeld)
{
    PurgableObjectCache<Thing, RCPtr<Thing>, RCPtr<Thing>, &SameThing, 8, &ThingBits> cache(1);
    RCPtr<Thing> first(new Thing(1));
    RCPtr<Thing> second(new Thing(2));
    cache.Lookup(cache.GetSourceKey(first)) = new Thing(10);
    EXPECT_GT(first->GetRefCount(), 1);
    cache.Lookup(second) = new Thing(20);
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_GT(second->GetRefCount(), 1);
}

} // namespace
} // namespace QZ
