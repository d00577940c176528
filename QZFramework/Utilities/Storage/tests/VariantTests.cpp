#include "QZFramework/Utilities/Storage/Variant.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using QZ::Variant;
using Bytes = std::vector<unsigned char>;

namespace
{

Bytes Pack(const Variant& value)
{
    Bytes buffer(256, 0xEE);
    const QZ::QZRESULT length =
        QZ::PackVariant(value, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    EXPECT_GT(length, 0);
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return buffer;
}

QZ::QZRESULT Unpack(const Bytes& record, Variant& value)
{
    return QZ::UnpackVariant(value, record.data(), static_cast<std::uint32_t>(record.size()));
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
    {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Variant MakeBytes(const Bytes& bytes)
{
    Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

Variant MakeList(const Bytes& payload)
{
    Variant value;
    value.Set(Variant::TagList, payload.data(), static_cast<std::uint32_t>(payload.size()));
    return value;
}

// Numbers go in as host bytes, which the payload layout takes as little-endian.
static_assert(std::endian::native == std::endian::little);

template <class T> Variant MakeNumber(std::uint32_t tag, T number)
{
    Variant value;
    value.Set(tag, &number, sizeof(number));
    return value;
}

Bytes DataOf(const Variant& value)
{
    std::uint32_t size = 0;
    const auto* data = static_cast<const unsigned char*>(value.GetData(size));
    return data == nullptr ? Bytes() : Bytes(data, data + size);
}

// Three tag-8 values of 6, 9 and 14 bytes, as packed by hand.
// clang-format off
const Bytes SixNineFourteenList = Join({
    {0x4D, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0},
    {0x12, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, Bytes(6, 0x06),
    {0x15, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, Bytes(9, 0x09),
    {0x1A, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, Bytes(14, 0x0E),
});
// clang-format on

} // namespace

TEST(VariantPacking, ValuesPackToTheirDocumentedRecords)
{
    EXPECT_EQ(Pack(Variant()), (Bytes{0x0C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Variant list;
    list.SetList(nullptr, 0);
    EXPECT_EQ(Pack(list), (Bytes{0x0C, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0}));
    EXPECT_EQ(Pack(MakeBytes({1, 2})), (Bytes{0x0E, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 1, 2}));
    EXPECT_EQ(Pack(MakeNumber<std::int32_t>(Variant::TagInt32, -2)),
              (Bytes{0x10, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Pack(MakeNumber(Variant::TagDouble, 1.0)),
              (Bytes{0x14, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    Variant text;
    text.SetString("ab");
    EXPECT_EQ(Pack(text), (Bytes{0x0F, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'a', 'b', 0}));
}

TEST(VariantPacking, ListsPackTheirItemsBackToBackAndNest)
{
    const Variant items[] = {MakeBytes(Bytes(6, 0x06)), MakeBytes(Bytes(9, 0x09)),
                             MakeBytes(Bytes(14, 0x0E))};
    Variant list;
    EXPECT_EQ(list.SetList(items, 3), Variant::TagList);
    EXPECT_EQ(Pack(list), SixNineFourteenList);

    const Variant inner[] = {MakeNumber<std::int32_t>(Variant::TagInt32, 7)};
    Variant outer[] = {Variant(), MakeNumber<std::uint8_t>(Variant::TagUInt8, 5)};
    outer[0].SetList(inner, 1);
    list.SetList(outer, 2);
    // clang-format off
    EXPECT_EQ(Pack(list), (Bytes{0x35, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
                                 0x1C, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0, 0, 0,
                                 0x10, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0, 7, 0, 0, 0,
                                 0x0D, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 5}));
    // clang-format on
}

// A reference without data is refused alone and packs as an empty record in a list; so are a
// null or short buffer.
TEST(VariantPacking, ReferenceWithoutDataNullOrShortBufferAreRefused)
{
    const unsigned char bytes[] = {1, 2, 3};
    Variant empty;
    empty.SetReference(Variant::TagElementsRef, bytes, 0);
    unsigned char buffer[64];
    EXPECT_EQ(QZ::PackVariant(empty, buffer, sizeof(buffer)), QZ::E_FAIL);
    Variant list;
    list.SetList(&empty, 1);
    EXPECT_EQ(DataOf(list), (Bytes{0x0C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    Variant reference;
    reference.SetReference(Variant::TagDataRef, bytes, 3);
    EXPECT_EQ(Pack(reference), (Bytes{0x0F, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 1, 2, 3}));
    Variant back;
    ASSERT_EQ(Unpack(Pack(reference), back), QZ::S_OK);
    EXPECT_EQ(back, MakeBytes({1, 2, 3}));

    unsigned char shortBuffer[13];
    EXPECT_EQ(QZ::PackVariant(MakeBytes({1, 2}), nullptr, 64), QZ::E_FAIL);
    EXPECT_EQ(QZ::PackVariant(MakeBytes({1, 2}), shortBuffer, 13), QZ::E_FAIL);
    EXPECT_EQ(QZ::PackVariant(MakeBytes({1}), shortBuffer, 13), 13);
}

TEST(VariantUnpacking, EveryTagRoundTrips)
{
    Variant text;
    text.SetString("knob");
    Variant inner[] = {text, MakeBytes({9})};
    Variant list;
    list.SetList(inner, 2);
    Variant emptyList;
    emptyList.SetList(nullptr, 0);
    const Variant values[] = {Variant(),
                              MakeNumber<std::uint8_t>(Variant::TagUInt8, 200),
                              MakeNumber<std::int32_t>(Variant::TagInt32, -7),
                              MakeNumber<std::int64_t>(Variant::TagInt64, -(1LL << 40)),
                              MakeNumber(Variant::TagFloat, 1.25f),
                              MakeNumber(Variant::TagDouble, -3.5),
                              MakeBytes({1, 2, 3, 4, 5, 6}),
                              text,
                              list,
                              emptyList};
    for (const Variant& value : values)
    {
        Variant back = MakeBytes({0xFF});
        ASSERT_EQ(Unpack(Pack(value), back), QZ::S_OK) << value.GetType();
        EXPECT_EQ(back, value) << value.GetType();
    }
}

TEST(VariantUnpacking, MalformedRecordsAreRefusedAndLeaveTheValueAlone)
{
    // clang-format off
    const std::vector<Bytes> malformed = {
        {},
        {0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},                     // shorter than a head
        {0x0D, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0},                  // length beyond the bytes
        {0x0D, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 1},               // reserved word set
        {0x0D, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 0, 1},              // tag 11
        {0x0D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1},               // tag far above 10
        {0x08, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 1},               // length below 12
        {0x00, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0},                 // length 0
        {0x0C, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0},                  // 12-byte tag 8
        {0x0C, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0},                  // 12-byte tag 9
        {0x0D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},               // 13-byte tag 0
        {0x0E, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 2},            // tag 1 with 2 bytes
        {0x0F, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 2, 3},         // tag 2 with 3 bytes
        {0x14, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, // tag 2 with 8
        {0x10, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 2, 3, 4},      // tag 3 with 4 bytes
        {0x0D, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 1},               // tag 4 with 1 byte
        {0x10, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 1, 2, 3, 4},      // tag 5 with 4 bytes
    };
    // clang-format on
    for (const Bytes& record : malformed)
    {
        Variant value = MakeBytes({0x5A});
        EXPECT_EQ(Unpack(record, value), QZ::E_FAIL) << ::testing::PrintToString(record);
        EXPECT_EQ(value, MakeBytes({0x5A}));
    }
    Variant value;
    EXPECT_EQ(QZ::UnpackVariant(value, nullptr, 64), QZ::E_FAIL);
}

// A record reads only its own length; text without a NUL is taken whole and terminated.
TEST(VariantUnpacking, RecordReadsOnlyItsOwnLengthOfTheAvailableBytes)
{
    const Bytes record = {0x0D, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0x2A, 0x99, 0x99};
    Variant value;
    ASSERT_EQ(Unpack(record, value), QZ::S_OK);
    EXPECT_EQ(value, MakeNumber<std::uint8_t>(Variant::TagUInt8, 0x2A));

    ASSERT_EQ(Unpack({0x0F, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'a', 'b', 'c'}, value), QZ::S_OK);
    EXPECT_STREQ(value.GetString(), "abc");
    EXPECT_EQ(DataOf(value), (Bytes{'a', 'b', 'c', 0}));

    ASSERT_EQ(Unpack({0x0F, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'a', 0, 'c'}, value), QZ::S_OK);
    EXPECT_EQ(DataOf(value), (Bytes{'a', 0}));
}

TEST(VariantListWalk, ItemsReadBackByIndexAndPastTheEndIsRefused)
{
    const Variant list =
        MakeList(Bytes(SixNineFourteenList.begin() + 12, SixNineFourteenList.end()));
    EXPECT_EQ(list.GetListItemCount(), 3u);
    Variant item;
    ASSERT_EQ(list.GetListItem(1, item), 0);
    EXPECT_EQ(item, MakeBytes(Bytes(9, 0x09)));
    ASSERT_EQ(list.GetListItem(2, item), 0);
    EXPECT_EQ(item, MakeBytes(Bytes(14, 0x0E)));
    EXPECT_EQ(list.GetListItem(3, item), -1);
    EXPECT_EQ(item.GetType(), Variant::TagEmpty);

    Variant back;
    ASSERT_EQ(Unpack(SixNineFourteenList, back), QZ::S_OK);
    EXPECT_EQ(back, list);
}

// Items read in any order, after a change of the list, and item by item through nested lists.
TEST(VariantListWalk, ItemsReadInAnyOrderAndAfterAChangeOfTheList)
{
    const Variant longItems[] = {MakeBytes({1, 1, 1}), MakeBytes({2, 2, 2}), MakeBytes({3, 3, 3})};
    const Variant shortItems[] = {MakeBytes({4}), MakeBytes({5}), MakeBytes({6, 6})};
    Variant list;
    list.SetList(longItems, 3);
    Variant item;
    for (const std::uint32_t index : {2u, 0u, 1u, 1u, 2u})
    {
        ASSERT_EQ(list.GetListItem(index, item), 0);
        EXPECT_EQ(item, longItems[index]);
    }
    list.SetList(shortItems, 3);
    ASSERT_EQ(list.GetListItem(2, item), 0);
    EXPECT_EQ(item, shortItems[2]);
    list.SetList(shortItems, 2);
    EXPECT_EQ(list.GetListItem(2, item), -1);

    Variant moved(std::move(list));
    ASSERT_EQ(moved.GetListItem(1, item), 0);
    EXPECT_EQ(item, shortItems[1]);
    list.SetList(longItems, 3);
    ASSERT_EQ(list.GetListItem(1, item), 0);
    EXPECT_EQ(item, longItems[1]);

    const Variant leaves[] = {MakeBytes({1}), MakeBytes({2, 3})};
    Variant middle[] = {Variant(), MakeNumber<std::int32_t>(Variant::TagInt32, 4)};
    middle[0].SetList(leaves, 2);
    Variant outer;
    outer.SetList(middle, 2);

    Variant first;
    ASSERT_EQ(outer.GetListItem(0, first), 0);
    EXPECT_EQ(first.GetListItemCount(), 2u);
    Variant leaf;
    ASSERT_EQ(first.GetListItem(1, leaf), 0);
    EXPECT_EQ(leaf, MakeBytes({2, 3}));
    ASSERT_EQ(outer.GetListItem(1, leaf), 0);
    EXPECT_EQ(leaf.ToInt32(), 4);
}

TEST(VariantListWalk, BrokenFramingEndsTheWalk)
{
    const Bytes item = {0x0D, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 7};
    struct Case
    {
        Bytes payload;
        std::uint32_t count;
    };
    // clang-format off
    const Case cases[] = {
        {Join({item, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, item}), 1}, // zero length record
        {Join({item, {0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}), 1},    // length below 12
        {Join({item, {0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}), 1},    // length past the end
        {Join({item, {0x0C, 0, 0, 0, 0}}), 1},                         // trailing fragment
        {{1, 2, 3, 4}, 0},
    };
    // clang-format on
    for (const Case& broken : cases)
    {
        const Variant list = MakeList(broken.payload);
        EXPECT_EQ(list.GetListItemCount(), broken.count);
        Variant value;
        EXPECT_EQ(list.GetListItem(broken.count, value), -1);
        EXPECT_EQ(value.GetType(), Variant::TagEmpty);
    }
}

TEST(VariantListWalk, RefusedItemRecordOrNonListGivesMinusOneAndEmptyItem)
{
    const Variant list = MakeList({0x0C, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0});
    EXPECT_EQ(list.GetListItemCount(), 1u);
    Variant item = MakeBytes({1});
    EXPECT_EQ(list.GetListItem(0, item), -1);
    EXPECT_EQ(item.GetType(), Variant::TagEmpty);

    item = MakeBytes({1});
    EXPECT_EQ(MakeBytes(SixNineFourteenList).GetListItemCount(), 0u);
    EXPECT_EQ(MakeBytes(SixNineFourteenList).GetListItem(0, item), -1);
    EXPECT_EQ(item.GetType(), Variant::TagEmpty);
}

TEST(VariantConversion, EachTagConvertsByTheTable)
{
    struct Row
    {
        Variant value;
        bool asBool;
        std::int32_t asInt32;
        std::int64_t asInt64;
        float asFloat;
        double asDouble;
    };
    Variant text;
    text.SetString("abc");
    const unsigned char bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
    Variant reference;
    reference.SetReference(Variant::TagElementsRef, bytes, 9);
    Variant list;
    list.SetList(&text, 1);
    const Row rows[] = {
        {Variant(), false, 0, 0, 0.0f, 0.0},
        {MakeNumber<std::uint8_t>(Variant::TagUInt8, 255), true, 255, 255, 255.0f, 255.0},
        {MakeNumber<std::int32_t>(Variant::TagInt32, -5), true, -5, -5, -5.0f, -5.0},
        {MakeNumber<std::int64_t>(Variant::TagInt64, (1LL << 32) + 1), true, 1, (1LL << 32) + 1,
         4294967296.0f, 4294967297.0},
        {MakeNumber(Variant::TagFloat, -2.5f), true, -3, -3, -2.5f, -2.5},
        {MakeNumber(Variant::TagDouble, 2.5), true, 3, 3, 2.5f, 2.5},
        {MakeNumber(Variant::TagDouble, -2.5), true, -3, -3, -2.5f, -2.5},
        {MakeNumber(Variant::TagDouble, 2.4999), true, 2, 2, 2.4999f, 2.4999},
        {reference, true, 0x04030201, 0x0807060504030201, 67305985.0f, 578437695752307201.0},
        {MakeBytes({0x01, 0x02}), true, 0x0201, 0x0201, 513.0f, 513.0},
        {MakeBytes({0, 0, 0, 0x80, 1}), true, std::numeric_limits<std::int32_t>::min(),
         0x0180000000, -2147483648.0f, 6442450944.0},
        {MakeBytes({}), false, 0, 0, 0.0f, 0.0},
        {text, true, 3, 3, 3.0f, 3.0},
        {list, true, 0, 0, 0.0f, 0.0},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.value.GetType());
        EXPECT_EQ(row.value.ToBool(), row.asBool);
        EXPECT_EQ(row.value.ToInt32(), row.asInt32);
        EXPECT_EQ(row.value.ToInt64(), row.asInt64);
        EXPECT_EQ(row.value.ToFloat(), row.asFloat);
        EXPECT_EQ(row.value.ToDouble(), row.asDouble);
    }
}

// NaN and out-of-range numbers convert to defined values; a float rounds to int64 in single
// precision.
TEST(VariantConversion, NanOutOfRangeAndHalfwayNumbersStayDefined)
{
    const Variant justBelowHalf = MakeNumber(Variant::TagFloat, 0.49999997f);
    EXPECT_EQ(justBelowHalf.ToInt32(), 0);
    EXPECT_EQ(justBelowHalf.ToInt64(), 1);

    const Variant nan = MakeNumber(Variant::TagDouble, std::nan(""));
    EXPECT_TRUE(nan.ToBool());
    EXPECT_EQ(nan.ToInt32(), 0);
    EXPECT_EQ(nan.ToInt64(), 0);
    EXPECT_EQ(MakeNumber(Variant::TagDouble, 1e30).ToInt32(),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(MakeNumber(Variant::TagFloat, -1e30f).ToInt64(),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(MakeNumber(Variant::TagFloat, -0.0f).ToBool());
}

TEST(VariantEquality, NumbersCompareAsNumbersAndBlocksByteByByte)
{
    const double nan = std::nan("");
    EXPECT_NE(MakeNumber(Variant::TagDouble, nan), MakeNumber(Variant::TagDouble, nan));
    EXPECT_EQ(MakeNumber(Variant::TagDouble, 0.0), MakeNumber(Variant::TagDouble, -0.0));
    EXPECT_NE(MakeNumber<std::int64_t>(Variant::TagInt64, 1),
              MakeNumber<std::int64_t>(Variant::TagInt64, 1 + (1LL << 32)));
    EXPECT_NE(MakeNumber<std::int32_t>(Variant::TagInt32, 1),
              MakeNumber<std::int64_t>(Variant::TagInt64, 1));
    EXPECT_EQ(MakeBytes({'h', 'i', 0}), MakeBytes({'h', 'i', 0}));
    EXPECT_NE(MakeBytes({'h', 'i', 0}), MakeBytes({'h', 'o', 0}));
    Variant text;
    text.SetString("hi");
    EXPECT_NE(MakeBytes({'h', 'i', 0}), text);

    const unsigned char first[] = {1, 2};
    const unsigned char second[] = {1, 2};
    Variant a;
    Variant b;
    a.SetReference(Variant::TagElementsRef, first, 2);
    b.SetReference(Variant::TagElementsRef, first, 2);
    EXPECT_EQ(a, b);
    b.SetReference(Variant::TagElementsRef, second, 2);
    EXPECT_NE(a, b);
}

TEST(VariantCopy, ReferencesShareTheirBytesAndOwnedBlocksAreCopied)
{
    const unsigned char bytes[] = {4, 5, 6};
    Variant reference;
    reference.SetReference(Variant::TagElementsRef, bytes, 3);
    Variant copy;
    EXPECT_EQ(copy.Assign(reference), Variant::TagElementsRef);
    std::uint32_t size = 0;
    EXPECT_EQ(copy.GetData(size), bytes);
    EXPECT_EQ(size, 3u);

    // Blocks kept inside the Variant and blocks on the heap, at the border between them.
    for (const std::uint32_t length : {2u, Variant::InlineBlockSize, Variant::InlineBlockSize + 1})
    {
        Bytes block(length);
        for (std::uint32_t i = 0; i < length; ++i)
        {
            block[i] = static_cast<unsigned char>(7 + i);
        }
        Variant original = MakeBytes(block);
        Variant owned(original);
        EXPECT_EQ(owned, original) << length;
        EXPECT_NE(owned.GetData(size), original.GetData(size)) << length;
        original.Clear();
        EXPECT_EQ(DataOf(owned), block) << length;

        const Variant& alias = owned;
        owned = alias;
        EXPECT_EQ(DataOf(owned), block) << length;
        Variant moved(std::move(owned));
        EXPECT_EQ(owned.GetType(), Variant::TagEmpty);
        EXPECT_EQ(DataOf(moved), block) << length;
        Variant text;
        text.Set(Variant::TagString, block.data(), length);
        Variant assigned;
        assigned = text;
        EXPECT_EQ(std::string(assigned.GetString()), std::string(block.begin(), block.end()));
        assigned = moved;
        EXPECT_EQ(assigned, moved) << length;
        EXPECT_EQ(DataOf(assigned), block) << length;
    }
}

TEST(VariantCopy, SettingFromItsOwnBytesKeepsThem)
{
    Variant value = MakeBytes({'x', 'y', 'z'});
    std::uint32_t size = 0;
    const void* data = value.GetData(size);
    EXPECT_EQ(value.Set(Variant::TagString, data, size), Variant::TagString);
    EXPECT_STREQ(value.GetString(), "xyz");
    Variant list;
    list.SetList(&value, 1);
    list.SetList(&list, 1);
    EXPECT_EQ(list.GetListItemCount(), 1u);
}

namespace
{

class HeaplessVariant : public Variant
{
protected:
    unsigned char* AllocateData(std::uint32_t) override { return nullptr; }
};

} // namespace

// Values up to InlineBlockSize bytes need no heap; one byte more does.
TEST(VariantCopy, OnlyBlocksPastTheInlineSizeAllocateAndAFailedAllocationThrows)
{
    const std::string fits(Variant::InlineBlockSize - 1, 'a');
    const std::string past(Variant::InlineBlockSize, 'a');
    const auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    const Variant list = MakeList(Join({{24, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0}, Bytes(12, 1)}));
    const Variant longList = MakeList(Join({{25, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0}, Bytes(13, 1)}));
    Variant item = MakeBytes(Bytes(12, 1));
    const std::vector<std::pair<const char*, std::function<void(Variant&)>>> setters = {
        {"Assign", [&](Variant& v) { v.Assign(MakeBytes(bytes(fits + "b"))); }},
        {"SetBytes", [&](Variant& v) { v.SetBytes(fits.data(), Variant::InlineBlockSize); }},
        {"SetString", [&](Variant& v) { v.SetString(fits.c_str()); }},
        {"Set", [&](Variant& v) { v.Set(Variant::TagList, DataOf(list).data(), 24); }},
        {"SetList", [&](Variant& v) { v.SetList(&item, 1); }},
    };
    const std::vector<std::pair<const char*, std::function<void(Variant&)>>> longSetters = {
        {"QZ::Variant::Assign", [&](Variant& v) { v.Assign(MakeBytes(bytes(past + "b"))); }},
        {"QZ::Variant::SetBytes",
         [&](Variant& v) { v.SetBytes(past.data(), Variant::InlineBlockSize + 1); }},
        {"QZ::Variant::SetString", [&](Variant& v) { v.SetString(past.c_str()); }},
        {"QZ::Variant::Set",
         [&](Variant& v) { v.Set(Variant::TagList, DataOf(longList).data(), 25); }},
        {"QZ::Variant::SetList",
         [&](Variant& v)
         {
             Variant longer = MakeBytes(Bytes(13, 1));
             v.SetList(&longer, 1);
         }},
    };
    for (const auto& [name, set] : setters)
    {
        HeaplessVariant value;
        EXPECT_NO_THROW(set(value)) << name;
        EXPECT_NE(value.GetType(), Variant::TagEmpty) << name;
    }
    for (const auto& [name, set] : longSetters)
    {
        HeaplessVariant value;
        value.Set(Variant::TagInt32, "\x01\x00\x00\x00", 4);
        try
        {
            set(value);
            ADD_FAILURE() << name << ": no exception";
        }
        catch (const QZ::Exception<std::bad_alloc>& failure)
        {
            const std::string expected =
                std::string("Bad Allocation : Out of Memory : ") + name + " : ";
            EXPECT_EQ(std::string(failure.what()).rfind(expected, 0), 0u) << failure.what();
        }
        EXPECT_EQ(value.GetType(), Variant::TagEmpty) << name;
    }
}

TEST(VariantSet, PayloadsOfTheWrongLengthAreRefusedAndDataFollowsTheTag)
{
    const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    Variant value = MakeBytes({1});
    EXPECT_EQ(value.Set(Variant::TagUInt8, bytes, 2), Variant::TagEmpty);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);
    EXPECT_EQ(value.Set(Variant::TagDouble, bytes, 4), Variant::TagEmpty);
    EXPECT_EQ(value.Set(11, bytes, 8), Variant::TagEmpty);
    EXPECT_EQ(value.Set(Variant::TagDataRef, bytes, 3), Variant::TagBytes);
    EXPECT_EQ(value.SetReference(Variant::TagBytes, bytes, 3), Variant::TagEmpty);
    EXPECT_EQ(value.SetReference(Variant::TagDataRef, nullptr, 3), Variant::TagEmpty);

    Variant opaque;
    opaque.SetReference(Variant::TagDataRef, bytes, 3);
    std::uint32_t count = 99;
    EXPECT_EQ(opaque.GetElements(count), nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(opaque.GetData(count), bytes);
    EXPECT_EQ(count, 3u);

    const Variant number = MakeNumber(Variant::TagDouble, 1.0);
    EXPECT_EQ(number.GetElements(count), number.GetData(count));
    number.GetElements(count);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(number.GetString(), nullptr);

    const Variant empty = MakeBytes({});
    EXPECT_NE(empty.GetData(count), nullptr);
    EXPECT_EQ(count, 0u);
}

