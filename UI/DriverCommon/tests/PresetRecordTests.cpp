#include "UI/DriverCommon/PresetRecord.h"

#include "UI/DriverCommon/tests/PresetTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace QZ
{
namespace
{

using PresetTest::Bytes;
using PresetTest::FileImage;

Bytes Contents(const IBuffer& buffer)
{
    const auto* data = static_cast<const std::uint8_t*>(buffer.GetData());
    return Bytes(data, data + buffer.GetSize());
}

void Fill(IBuffer& buffer, const Bytes& bytes)
{
    buffer.Resize(static_cast<std::uint32_t>(bytes.size()));
    if (!bytes.empty())
    {
        std::memcpy(buffer.GetData(), bytes.data(), bytes.size());
    }
}

struct Unpacked
{
    QZRESULT result = 0;
    std::uint32_t index = 0xDEAD;
    std::uint32_t reserved = 0xDEAD;
    Variant value;
};

Unpacked Unpack(const Bytes& bytes, std::uint32_t offset = 0)
{
    Unpacked out;
    out.value.SetString("untouched");
    PresetScratchBuffer buffer(0, 0, false);
    Fill(buffer, bytes);
    out.result = UnpackPresetRecord(buffer, offset, out.index, out.value, out.reserved);
    return out;
}

TEST(PresetRecordPacking, ValuesGiveTheDocumentedBytes)
{
    const std::uint8_t name[] = {'T', 'a', 'r', 'n', '6', '1'};
    Variant bytes;
    bytes.SetBytes(name, sizeof(name));
    const struct
    {
        std::uint32_t index;
        Variant value;
        Bytes record;
    } cases[] = {
        {3, bytes, {0x1E, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0x12, 0, 0, 0,
                    0,    0, 0, 0, 8, 0, 0, 0, 'T', 'a', 'r', 'n', '6', '1'}},
        // An empty value gives a bare value record with tag 0.
        {0x01020304, Variant(), {24, 0, 0, 0, 0, 0, 0, 0, 4, 3, 2, 1,
                                 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
    {
        PresetScratchBuffer buffer(0, 0, false);
        ASSERT_EQ(PackPresetRecord(c.index, c.value, buffer),
                  static_cast<QZRESULT>(c.record.size()));
        EXPECT_EQ(Contents(buffer), c.record);
    }
}

TEST(PresetRecordPacking, ReusedBufferTakesEachRecordsExactLength)
{
    PresetScratchBuffer buffer(0, 0, false);
    const Bytes large(17, 0xAA);
    Variant value;
    value.SetBytes(large.data(), 17);
    ASSERT_EQ(PackPresetRecord(25, value, buffer), 41);
    ASSERT_EQ(PackPresetRecord(6, PresetTest::MakeValue(6, 0), buffer), 29);
    EXPECT_EQ(buffer.GetSize(), 29u);
    EXPECT_EQ(buffer.GetCapacity() % 512, 0u);
}

TEST(PresetRecordPacking, ReferenceWithoutDataIsRefused)
{
    Variant reference;
    ASSERT_EQ(reference.SetReference(Variant::TagDataRef, nullptr, 0), Variant::TagDataRef);
    PresetScratchBuffer buffer(0, 0, false);
    EXPECT_EQ(PackPresetRecord(0, reference, buffer), E_FAIL);
}

TEST(PresetRecordUnpacking, PackedRecordReadsBack)
{
    PresetScratchBuffer buffer(0, 0, false);
    const Variant value = PresetTest::MakeValue(129, 5);
    ASSERT_EQ(PackPresetRecord(129, value, buffer), 39);
    std::uint32_t index = 0;
    std::uint32_t reserved = 7;
    Variant read;
    EXPECT_EQ(UnpackPresetRecord(buffer, 0, index, read, reserved), 39);
    EXPECT_EQ(index, 129u);
    EXPECT_EQ(reserved, 0u);
    EXPECT_TRUE(read == value);
}

TEST(PresetRecordUnpacking, RecordAtOffsetIsRead)
{
    FileImage image;
    image.Word(0xFFFFFFFF).Word(0xFFFFFFFF).Record(7, 8, {1, 2, 3});
    const Unpacked out = Unpack(image.Get(), 8);
    EXPECT_EQ(out.result, 27);
    EXPECT_EQ(out.index, 7u);
    std::uint32_t size = 0;
    const auto* data = static_cast<const std::uint8_t*>(out.value.GetData(size));
    ASSERT_EQ(size, 3u);
    EXPECT_EQ(Bytes(data, data + size), (Bytes{1, 2, 3}));

    // Bytes after the value record, within the parameter record, are ignored.
    FileImage padded;
    padded.Word(40).Word(0).Word(5).Word(20).Word(0).Word(8).Append(Bytes(8, 0x11));
    padded.Append(Bytes(8, 0xEE));
    const Unpacked withTail = Unpack(padded.Get());
    EXPECT_EQ(withTail.result, 40);
    withTail.value.GetData(size);
    EXPECT_EQ(size, 8u);
}

// Framing that is short or overlong, a non-zero reserved word (reported), and a value record
// reaching past its parameter record (whatever bytes follow in the buffer) are refused.
TEST(PresetRecordUnpacking, BadFramingIsRefused)
{
    FileImage sound;
    sound.Record(1, 8, {9, 9});
    Bytes shortHead = sound.Get();
    shortHead.resize(11);
    Bytes truncated = sound.Get();
    truncated.pop_back();
    FileImage outside;
    outside.Word(40).Word(0).Word(5).Word(30).Word(0).Word(8).Append(Bytes(16, 0x11));
    Bytes followed = outside.Get();
    followed.insert(followed.end(), 64, 0x22);
    for (const Bytes& bytes : {shortHead, truncated, outside.Get(), followed})
    {
        EXPECT_EQ(Unpack(bytes).result, E_FAIL) << ::testing::PrintToString(bytes);
    }

    for (const std::uint32_t length : {12u, 15u})
    {
        FileImage image;
        image.Word(length).Word(0).Word(2).Word(0);
        const Unpacked out = Unpack(image.Get());
        EXPECT_EQ(out.result, E_FAIL) << length;
        EXPECT_EQ(out.index, 2u) << length;
        EXPECT_STREQ(out.value.GetString(), "untouched") << length;
    }

    FileImage reserved;
    reserved.Record(4, 8, {1}, 1);
    const Unpacked out = Unpack(reserved.Get());
    EXPECT_EQ(out.result, E_FAIL);
    EXPECT_EQ(out.reserved, 1u);
}

TEST(PresetRecordUnpacking, BareValueRecordsOfTagZeroAndTenAreEmptyValues)
{
    FileImage empty;
    empty.Record(0, Variant::TagEmpty, {});
    Unpacked out = Unpack(empty.Get());
    EXPECT_EQ(out.result, 24);
    EXPECT_EQ(out.value.GetType(), Variant::TagEmpty);

    FileImage list;
    list.Record(0, Variant::TagList, {});
    out = Unpack(list.Get());
    EXPECT_EQ(out.result, 24);
    EXPECT_EQ(out.value.GetType(), Variant::TagList);
    EXPECT_EQ(out.value.GetListItemCount(), 0u);

    for (const std::uint32_t tag : {1u, 2u, 5u, 8u, 9u, 11u, 0xFFFFFFFFu})
    {
        FileImage other;
        other.Record(0, tag, {});
        EXPECT_EQ(Unpack(other.Get()).result, E_FAIL) << tag;
    }
}

} // namespace
} // namespace QZ
