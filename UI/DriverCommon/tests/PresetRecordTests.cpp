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

TEST(PresetRecordPacking, ByteStringValueGivesDocumentedBytes)
{
    const std::uint8_t name[] = {'T', 'a', 'r', 'n', '6', '1'};
    Variant value;
    value.SetBytes(name, sizeof(name));
    PresetScratchBuffer buffer(0, 0, false);
    ASSERT_EQ(PackPresetRecord(3, value, buffer), 30);
    const Bytes expected = {0x1E, 0, 0, 0, 0, 0, 0, 0, 3, 0,   0,   0,   0x12, 0,   0,
                            0,    0, 0, 0, 0, 8, 0, 0, 0, 'T', 'a', 'r', 'n',  '6', '1'};
    EXPECT_EQ(Contents(buffer), expected);
}

TEST(PresetRecordPacking, EmptyValueGivesBareRecordWithTagZero)
{
    PresetScratchBuffer buffer(0, 0, false);
    ASSERT_EQ(PackPresetRecord(0x01020304, Variant(), buffer), 24);
    const Bytes expected = {24, 0, 0, 0, 0, 0, 0, 0, 4, 3, 2, 1,
                            12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Contents(buffer), expected);
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
}

TEST(PresetRecordUnpacking, ShortOrOverlongFramingIsRefused)
{
    FileImage sound;
    sound.Record(1, 8, {9, 9});
    Bytes shortHead = sound.Get();
    shortHead.resize(11);
    EXPECT_EQ(Unpack(shortHead).result, E_FAIL);

    Bytes truncated = sound.Get();
    truncated.pop_back();
    EXPECT_EQ(Unpack(truncated).result, E_FAIL);

    for (const std::uint32_t length : {12u, 15u})
    {
        FileImage image;
        image.Word(length).Word(0).Word(2).Word(0);
        const Unpacked out = Unpack(image.Get());
        EXPECT_EQ(out.result, E_FAIL) << length;
        EXPECT_EQ(out.index, 2u) << length;
        EXPECT_STREQ(out.value.GetString(), "untouched") << length;
    }
}

TEST(PresetRecordUnpacking, NonZeroReservedWordIsRefusedAndReported)
{
    FileImage image;
    image.Record(4, 8, {1}, 1);
    const Unpacked out = Unpack(image.Get());
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

TEST(PresetRecordUnpacking, BytesAfterTheValueRecordAreIgnored)
{
    FileImage image;
    image.Word(40).Word(0).Word(5).Word(20).Word(0).Word(8).Append(Bytes(8, 0x11));
    image.Append(Bytes(8, 0xEE));
    const Unpacked out = Unpack(image.Get());
    EXPECT_EQ(out.result, 40);
    std::uint32_t size = 0;
    out.value.GetData(size);
    EXPECT_EQ(size, 8u);
}

TEST(PresetRecordUnpacking, ValueRecordMustLieInsideItsParameterRecord)
{
    FileImage image;
    image.Word(40).Word(0).Word(5).Word(30).Word(0).Word(8).Append(Bytes(16, 0x11));
    EXPECT_EQ(Unpack(image.Get()).result, E_FAIL);

    // Bytes that follow in the buffer do not make room for it either.
    image.Append(Bytes(64, 0x22));
    EXPECT_EQ(Unpack(image.Get()).result, E_FAIL);
}

} // namespace
} // namespace QZ
