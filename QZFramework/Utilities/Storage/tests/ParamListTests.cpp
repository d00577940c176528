#include "QZFramework/ObjectBase/Pair.h"
#include "QZFramework/Utilities/Storage/ParamDescriptors.h"
#include "QZFramework/Utilities/Storage/ParamListItem.h"
#include "QZFramework/Utilities/Storage/ParamRanges.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"
#include "QZFramework/Utilities/Storage/VariantOrder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<unsigned char>;

Bytes Pack(const Variant& value)
{
    Bytes buffer(1 << 16);
    const QZRESULT length =
        PackVariant(value, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    EXPECT_GT(length, 0);
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return buffer;
}

Variant Unpack(const Bytes& record)
{
    Variant value;
    EXPECT_EQ(UnpackVariant(value, record.data(), static_cast<std::uint32_t>(record.size())), S_OK);
    return value;
}

Variant ByteString(const Bytes& bytes)
{
    Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

Variant ListOf(std::initializer_list<Variant> items)
{
    const std::vector<Variant> list(items);
    Variant value;
    value.SetList(list.data(), static_cast<std::uint32_t>(list.size()));
    return value;
}

std::vector<std::int32_t> IdentifiersOf(const ParamValues& list)
{
    std::vector<std::int32_t> identifiers;
    for (std::uint32_t i = 0; i < list.GetListItemCount(); ++i)
    {
        Variant value;
        Variant subKey;
        std::int32_t paramID = 0;
        EXPECT_EQ(list.GetItem(i, value, paramID, subKey), 0);
        identifiers.push_back(paramID);
    }
    return identifiers;
}

// {first 0, count 131}: list(56) > item list(44) > int32 0, int32 131.
// clang-format off
const Bytes kRangesRecord = {
    0x38, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
    0x2C, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
    0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0x00, 0, 0, 0,
    0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0x83, 0, 0, 0};
// clang-format on

TEST(ParamRangesPacking, OneRangePacksToTheDocumentedRecord)
{
    ParamRanges ranges;
    const ParamRange range{0, 131};
    ASSERT_EQ(ranges.SetRanges(&range, 1), 0);
    EXPECT_EQ(Pack(ranges), kRangesRecord);

    const ParamRanges read(Unpack(kRangesRecord));
    ParamRange item;
    ASSERT_EQ(read.GetItem(0, item), 0);
    EXPECT_EQ(item.mFirstParamID, 0);
    EXPECT_EQ(item.mCount, 131u);
}

TEST(ParamRangesPacking, BadInputAndBadItemsAreReported)
{
    ParamRanges ranges(Unpack(kRangesRecord));
    EXPECT_EQ(ranges.SetRanges(nullptr, 1), -4);
    const ParamRange range{5, 1};
    EXPECT_EQ(ranges.SetRanges(&range, 0), -4);
    EXPECT_EQ(Pack(ranges), kRangesRecord);

    ParamRange item{7, 7};
    EXPECT_EQ(ranges.GetItem(1, item), -4);
    EXPECT_EQ(item.mFirstParamID, -1);
    EXPECT_EQ(item.mCount, 0u);
    EXPECT_EQ(ParamRanges(ByteString({1, 2, 3})).GetItem(0, item), -4);

    const ParamRanges threeFields(
        ListOf({ListOf({MakeInt32Variant(1), MakeInt32Variant(2), MakeInt32Variant(3)})}));
    EXPECT_EQ(threeFields.GetItem(0, item), -7);
    EXPECT_EQ(item.mFirstParamID, -1);
}

TEST(ParamDescriptorsPacking, DescriptorsPackWithEmptySubKeys)
{
    // Identifiers -3 and -2: list(92) > two items list(40) > int32, empty.
    // clang-format off
    const Bytes expected = {
        0x5C, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
        0x28, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
        0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF,
        0x0C, 0, 0, 0, 0, 0, 0, 0, 0x00, 0, 0, 0,
        0x28, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
        0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF,
        0x0C, 0, 0, 0, 0, 0, 0, 0, 0x00, 0, 0, 0};
    // clang-format on
    EXPECT_EQ(Pack(ParamDescriptors(ParamRange{-3, 2})), expected);

    const ParamDescriptors read(Unpack(expected));
    std::int32_t paramID = 0;
    Variant subKey = MakeInt32Variant(9);
    ASSERT_EQ(read.GetItem(1, paramID, subKey), 0);
    EXPECT_EQ(paramID, -2);
    EXPECT_EQ(subKey.GetType(), Variant::TagEmpty);
}

TEST(ParamDescriptorsPacking, AWholePresetRangeGivesEveryIdentifierInOrder)
{
    const ParamDescriptors descriptors(ParamRange{0, 131});
    ASSERT_EQ(descriptors.GetListItemCount(), 131u);
    for (std::uint32_t i = 0; i < 131; ++i)
    {
        std::int32_t paramID = -1;
        Variant subKey;
        ASSERT_EQ(descriptors.GetItem(i, paramID, subKey), 0);
        EXPECT_EQ(paramID, static_cast<std::int32_t>(i));
        EXPECT_EQ(subKey.GetType(), Variant::TagEmpty);
    }
    std::int32_t paramID = 0;
    Variant subKey;
    EXPECT_EQ(descriptors.GetItem(131, paramID, subKey), -4);
    EXPECT_EQ(paramID, -1);
}

TEST(ParamDescriptorsPacking, RangesConvertInOrderAndEmptyRangesGiveEmptyLists)
{
    ParamRanges ranges;
    const ParamRange two[] = {{10, 2}, {3, 1}};
    ASSERT_EQ(ranges.SetRanges(two, 2), 0);
    const ParamDescriptors descriptors(ranges);
    ASSERT_EQ(descriptors.GetListItemCount(), 3u);
    std::int32_t paramID = 0;
    Variant subKey;
    ASSERT_EQ(descriptors.GetItem(2, paramID, subKey), 0);
    EXPECT_EQ(paramID, 3);

    const ParamDescriptors none(ParamRange{0, 0});
    EXPECT_EQ(none.GetType(), Variant::TagList);
    EXPECT_EQ(none.GetListItemCount(), 0u);
    EXPECT_EQ(Pack(none), (Bytes{0x0C, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0}));
    // So do more descriptors than a list can carry.
    const ParamDescriptors tooMany(ParamRange{0, ParamDescriptors::MaxCount + 1});
    EXPECT_EQ(tooMany.GetType(), Variant::TagList);
    EXPECT_EQ(tooMany.GetListItemCount(), 0u);
}

// One value "AB" for identifier 5 with sub-key int32 7: list(70) > item list(58).
// clang-format off
const Bytes kValuesRecord = {
    0x46, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
    0x3A, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
    0x0E, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0, 'A', 'B',
    0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0x05, 0, 0, 0,
    0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 0x07, 0, 0, 0};
// clang-format on

TEST(ParamValuesPacking, ValueComesFirstThenIdentifierThenSubKey)
{
    ParamValues values;
    const ParamValue value(ParamDescriptor(5, MakeInt32Variant(7)), ByteString({'A', 'B'}));
    ASSERT_EQ(values.SetItems(&value, 1), 0);
    EXPECT_EQ(Pack(values), kValuesRecord);

    const ParamValues read(Unpack(kValuesRecord));
    Variant readValue;
    std::int32_t paramID = 0;
    Variant subKey;
    ASSERT_EQ(read.GetItem(0, readValue, paramID, subKey), 0);
    EXPECT_TRUE(readValue == ByteString({'A', 'B'}));
    EXPECT_EQ(paramID, 5);
    EXPECT_TRUE(subKey == MakeInt32Variant(7));
    EXPECT_EQ(values.SetItems(nullptr, 1), -4);
    EXPECT_EQ(values.SetItems(&value, 0), -4);
    EXPECT_EQ(Pack(values), kValuesRecord);
}

TEST(ParamValuesPacking, ItemsOfTheWrongShapeAreReported)
{
    const ParamValues twoFields(ListOf({ListOf({ByteString({1}), MakeInt32Variant(1)})}));
    Variant value = ByteString({9});
    std::int32_t paramID = 0;
    Variant subKey = MakeInt32Variant(1);
    EXPECT_EQ(twoFields.GetItem(0, value, paramID, subKey), -7);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);
    EXPECT_EQ(paramID, -1);
    EXPECT_EQ(subKey.GetType(), Variant::TagEmpty);
    EXPECT_EQ(ParamValues(MakeInt32Variant(1)).GetItem(0, value, paramID, subKey), -4);
}

TEST(ParamValuesFind, FindsByIdentifierAndSubKeyUntilAnUnreadableItem)
{
    ParamValues values;
    ASSERT_EQ(values.Set(ParamDescriptor(5), ByteString({1})), 0);
    ASSERT_EQ(values.Set(ParamDescriptor(5, MakeInt32Variant(2)), ByteString({2})), 0);
    Variant found;
    EXPECT_EQ(values.Find(ParamDescriptor(5, MakeInt32Variant(2)), found), 0);
    EXPECT_TRUE(found == ByteString({2}));
    EXPECT_EQ(values.Find(ParamDescriptor(6), found), 1);
    EXPECT_EQ(found.GetType(), Variant::TagEmpty);
    EXPECT_EQ(ParamValues().Find(ParamDescriptor(5), found), 1);

    const ParamValues broken(ListOf({MakeInt32Variant(1)}));
    found = ByteString({1});
    EXPECT_EQ(broken.Find(ParamDescriptor(1), found), -7);
    EXPECT_EQ(found.GetType(), Variant::TagEmpty);
}

TEST(ParamValuesSet, EmptyContentBecomesAOneItemList)
{
    ParamValues values;
    EXPECT_EQ(values.Set(ParamDescriptor(4), ByteString({1})), 0);
    EXPECT_EQ(values.GetListItemCount(), 1u);
    EXPECT_EQ(values.Set(ParamDescriptor(4), ByteString({1})), 1);
    EXPECT_EQ(values.Set(ParamDescriptor(4), ByteString({2})), 0);
    EXPECT_EQ(values.GetListItemCount(), 1u);
    Variant found;
    ASSERT_EQ(values.Find(ParamDescriptor(4), found), 0);
    EXPECT_TRUE(found == ByteString({2}));
}

// Identifiers sort as unsigned numbers, sub-keys within one identifier.
TEST(ParamValuesSet, ItemsSortByIdentifierThenSubKey)
{
    ParamValues values;
    ASSERT_EQ(values.Set(ParamDescriptor(5), ByteString({5})), 0);
    ASSERT_EQ(values.Set(ParamDescriptor(-3), ByteString({3})), 0);
    ASSERT_EQ(values.Set(ParamDescriptor(2, MakeInt32Variant(7)), ByteString({7})), 0);
    ASSERT_EQ(values.Set(ParamDescriptor(2, MakeInt32Variant(3)), ByteString({3})), 0);
    ASSERT_EQ(values.Set(ParamDescriptor(2), ByteString({2})), 0);
    std::vector<std::int32_t> subKeys;
    for (std::uint32_t i = 0; i < values.GetListItemCount(); ++i)
    {
        Variant value;
        Variant subKey;
        std::int32_t paramID = 0;
        ASSERT_EQ(values.GetItem(i, value, paramID, subKey), 0);
        subKeys.push_back(subKey.GetType() == Variant::TagEmpty ? -1 : subKey.ToInt32());
    }
    EXPECT_EQ(IdentifiersOf(values), (std::vector<std::int32_t>{2, 2, 2, 5, -3}));
    EXPECT_EQ(subKeys, (std::vector<std::int32_t>{-1, 3, 7, -1, -1}));
}

// An unreadable item leaves the list as it was; content that is no list is replaced.
TEST(ParamValuesSet, BrokenContentIsKeptOrReplaced)
{
    ParamValues broken(ListOf({MakeInt32Variant(1)}));
    const Bytes before = Pack(broken);
    EXPECT_EQ(broken.Set(ParamDescriptor(1), ByteString({1})), -7);
    EXPECT_EQ(Pack(broken), before);

    ParamValues values(ByteString({1, 2, 3}));
    EXPECT_EQ(values.Set(ParamDescriptor(0), ByteString({4})), 0);
    EXPECT_EQ(values.GetType(), Variant::TagList);
    EXPECT_EQ(values.GetListItemCount(), 1u);
}

// Empty sorts first; numbers compare as numbers, byte strings unsigned and texts signed; across
// tags a number counts as eight bytes; lists compare item by item, then by length.
TEST(VariantOrdering, ValuesOrderByTheirTagsRules)
{
    Variant oneAndAHalf;
    const double half = 1.5;
    unsigned char bytes[8];
    std::memcpy(bytes, &half, sizeof bytes);
    ASSERT_EQ(oneAndAHalf.Set(Variant::TagDouble, bytes, 8), Variant::TagDouble);
    Variant high;
    Variant low;
    high.SetString("\x80");
    low.SetString("\x01");
    const Variant empty;
    const Variant shortList = ListOf({MakeInt32Variant(1)});
    const Variant longList = ListOf({MakeInt32Variant(1), MakeInt32Variant(0)});
    const Variant bigger = ListOf({MakeInt32Variant(2)});
    const struct
    {
        Variant left;
        Variant right;
        bool less;
    } cases[] = {
        {empty, MakeInt32Variant(-5), true},
        {empty, ByteString({}), true},
        {MakeInt32Variant(-5), empty, false},
        {empty, empty, false},
        {MakeInt32Variant(1), oneAndAHalf, true},
        {oneAndAHalf, MakeInt32Variant(1), false},
        {MakeInt32Variant(-2), MakeInt32Variant(1), true},
        {ByteString({1, 2}), ByteString({1, 2}), false},
        {ByteString({9}), ByteString({0, 0}), true},
        {ByteString({0x01}), ByteString({0x80}), true},
        {high, low, true},
        {low, high, false},
        {ByteString({0xFF, 0xFF, 0xFF}), MakeInt32Variant(0), true},
        {MakeInt32Variant(0), ByteString({0xFF, 0xFF, 0xFF}), false},
        {MakeInt32Variant(1), ByteString({1, 0, 0, 0, 0, 0, 0, 1}), true},
        {shortList, longList, true},
        {longList, bigger, true},
        {bigger, longList, false},
        {shortList, ListOf({MakeInt32Variant(1)}), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        EXPECT_EQ(IsVariantLess(cases[i].left, cases[i].right), cases[i].less) << "case " << i;
    }
}

TEST(ParamDescriptorText, IsTheIdentifierAsAnUnsignedNumber)
{
    const LPair<ParamDescriptor, Variant, ParamDescriptorToString> pair(ParamDescriptor(-1),
                                                                        Variant());
    EXPECT_TRUE(pair.ToString() == WideString(u"4294967295"));
    EXPECT_TRUE(ParamDescriptorToString(ParamDescriptor(130)) == WideString(u"130"));
    EXPECT_TRUE(ParamDescriptor(3, MakeInt32Variant(1)) == ParamDescriptor(3, MakeInt32Variant(1)));
    EXPECT_FALSE(ParamDescriptor(3) == ParamDescriptor(3, MakeInt32Variant(1)));
}

} // namespace
} // namespace QZ
