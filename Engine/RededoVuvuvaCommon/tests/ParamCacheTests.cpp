#include "Engine/RededoVuvuvaCommon/ParamCache.h"

#include "QZFramework/Utilities/Storage/ParamListItem.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace QZ
{
namespace
{

Variant Bytes(std::initializer_list<unsigned char> bytes)
{
    const std::vector<unsigned char> data(bytes);
    Variant value;
    value.SetBytes(data.data(), static_cast<std::uint32_t>(data.size()));
    return value;
}

// Records every notified change.
class LRecordingCache : public LParamCache
{
public:
    using LParamCache::LParamCache;
    std::vector<std::pair<std::uint32_t, Variant>> mChanges;

protected:
    QZRESULT OnValueChanged(std::uint32_t index, const Variant& value) override
    {
        mChanges.emplace_back(index, value);
        return LParamCache::OnValueChanged(index, value);
    }
};

TEST(ParamCacheSlots, StartEmptyAndKeepWholeValues)
{
    LParamCache cache(131);
    EXPECT_EQ(cache.GetCount(), 131u);
    Variant value = Bytes({9});
    EXPECT_EQ(cache.GetValue(ParamDescriptor(130), value), 0);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);

    EXPECT_EQ(cache.SetValue(ParamDescriptor(130), Bytes({1, 2}), false), 0);
    EXPECT_EQ(cache.GetValue(ParamDescriptor(130), value), 0);
    EXPECT_TRUE(value == Bytes({1, 2}));
}

TEST(ParamCacheSlots, NumbersOutsideTheCacheAreRefused)
{
    LParamCache cache(131);
    Variant value = Bytes({9});
    EXPECT_EQ(cache.SetValue(ParamDescriptor(131), Bytes({1}), true), -1);
    EXPECT_EQ(cache.SetValue(ParamDescriptor(-1), Bytes({1}), true), -1);
    EXPECT_EQ(cache.GetValue(ParamDescriptor(131), value), -1);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);
    EXPECT_EQ(cache.GetValue(ParamDescriptor(-1), value), -1);
}

TEST(ParamCacheNotification, OnlyRealChangesWithNotifySetAreReported)
{
    LRecordingCache cache(131);
    EXPECT_EQ(cache.SetValue(ParamDescriptor(4), Bytes({1}), false), 0);
    EXPECT_TRUE(cache.mChanges.empty());
    EXPECT_EQ(cache.SetValue(ParamDescriptor(4), Bytes({1}), true), 1);
    EXPECT_EQ(cache.SetValue(ParamDescriptor(4), Bytes({1}), false), 1);
    EXPECT_TRUE(cache.mChanges.empty());

    EXPECT_EQ(cache.SetValue(ParamDescriptor(4), Bytes({2}), true), 0);
    ASSERT_EQ(cache.mChanges.size(), 1u);
    EXPECT_EQ(cache.mChanges[0].first, 4u);
    EXPECT_TRUE(cache.mChanges[0].second == Bytes({2}));
}

TEST(ParamCacheComposite, SubKeyEntriesLiveInASortedListInTheSlot)
{
    LRecordingCache cache(4);
    const ParamDescriptor seven(2, MakeInt32Variant(7));
    const ParamDescriptor three(2, MakeInt32Variant(3));
    EXPECT_EQ(cache.SetValue(seven, Bytes({7}), true), 0);
    EXPECT_EQ(cache.SetValue(three, Bytes({3}), true), 0);
    EXPECT_EQ(cache.SetValue(three, Bytes({3}), true), 1);
    ASSERT_EQ(cache.mChanges.size(), 2u);
    EXPECT_EQ(cache.mChanges[1].second.GetListItemCount(), 2u);

    Variant value;
    EXPECT_EQ(cache.GetValue(three, value), 0);
    EXPECT_TRUE(value == Bytes({3}));
    EXPECT_EQ(cache.GetValue(ParamDescriptor(2, MakeInt32Variant(5)), value), 1);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);

    Variant whole;
    ASSERT_EQ(cache.GetValue(ParamDescriptor(2), whole), 0);
    const ParamValues list(whole);
    std::int32_t paramID = 0;
    Variant subKey;
    ASSERT_EQ(list.GetItem(0, value, paramID, subKey), 0);
    EXPECT_EQ(paramID, 2);
    EXPECT_EQ(subKey.ToInt32(), 3);
}

TEST(ParamCacheComposite, HoldsAnswersAsGetValueCompares)
{
    LParamCache cache(4);
    const ParamDescriptor entry(2, MakeInt32Variant(7));
    ASSERT_EQ(cache.SetValue(ParamDescriptor(1), Bytes({1, 2}), false), 0);
    ASSERT_EQ(cache.SetValue(entry, Bytes({7}), false), 0);
    const struct
    {
        ParamDescriptor descriptor;
        Variant value;
        bool held;
    } cases[] = {
        {ParamDescriptor(1), Bytes({1, 2}), true},
        {ParamDescriptor(1), Bytes({1, 3}), false},
        {ParamDescriptor(0), Variant(), true},
        {ParamDescriptor(0), Bytes({}), false},
        {entry, Bytes({7}), true},
        {entry, Bytes({8}), false},
        {ParamDescriptor(2, MakeInt32Variant(5)), Variant(), true},
        {ParamDescriptor(4), Variant(), true},
        {ParamDescriptor(4), Bytes({1}), false},
    };
    for (const auto& c : cases)
    {
        Variant current;
        static_cast<void>(cache.GetValue(c.descriptor, current));
        EXPECT_EQ(current == c.value, c.held) << c.descriptor.mParamID;
        EXPECT_EQ(cache.Holds(c.descriptor, c.value), c.held) << c.descriptor.mParamID;
    }
}

TEST(ParamCacheComposite, AnUnreadableListLeavesTheSlotAsItWas)
{
    LParamCache cache(4);
    // A list whose one item is a bare number, not a three-item list.
    Variant broken;
    const Variant number = MakeInt32Variant(1);
    broken.SetList(&number, 1);
    ASSERT_EQ(cache.SetValue(ParamDescriptor(1), broken, false), 0);

    EXPECT_EQ(cache.SetValue(ParamDescriptor(1, MakeInt32Variant(1)), Bytes({1}), true), -1);
    Variant value;
    EXPECT_EQ(cache.GetValue(ParamDescriptor(1), value), 0);
    EXPECT_TRUE(value == broken);
    EXPECT_EQ(cache.GetValue(ParamDescriptor(1, MakeInt32Variant(1)), value), -7);
}

TEST(ParamCacheComposite, AWholeValueInTheSlotIsReplacedByAList)
{
    LParamCache cache(4);
    ASSERT_EQ(cache.SetValue(ParamDescriptor(0), Bytes({5}), false), 0);
    EXPECT_EQ(cache.SetValue(ParamDescriptor(0, MakeInt32Variant(1)), Bytes({6}), false), 0);
    Variant value;
    ASSERT_EQ(cache.GetValue(ParamDescriptor(0), value), 0);
    EXPECT_EQ(value.GetType(), Variant::TagList);
    EXPECT_EQ(value.GetListItemCount(), 1u);
}

} // namespace
} // namespace QZ
