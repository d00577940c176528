#include "UI/DriverCommon/PresetFileReader.h"

#include "UI/DriverCommon/PresetRecord.h"
#include "UI/DriverCommon/tests/PresetTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace QZ
{
namespace
{

using PresetTest::Bytes;
using PresetTest::FileImage;

class PresetFileReading : public testing::Test
{
protected:
    // Reads the bytes as a preset file from disk.
    std::int32_t Read(const Bytes& bytes)
    {
        const PresetTest::fs::path path = mFolder / "preset.Tarn61RededoVuvuva";
        PresetTest::WriteFileBytes(path, bytes);
        return mReader.ReadFile(PresetTest::Wide(path));
    }

    bool OffersNoValue() const
    {
        for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
        {
            if (mReader.GetValue(position).GetType() != Variant::TagEmpty)
            {
                return false;
            }
        }
        return true;
    }

    static FileImage SoundStart()
    {
        FileImage image;
        image.Header(1, 0, 0).Record(0, 8, PresetTest::ValueBytes(0, 1));
        return image;
    }

    PresetTest::ScratchFolder mFolder;
    PresetFileReader mReader{0};
};

TEST_F(PresetFileReading, WrittenPresetGivesEveryValue)
{
    ASSERT_EQ(Read(PresetTest::GoldenPreset(3)), kPresetFileLoaded);
    for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
    {
        EXPECT_TRUE(mReader.GetValue(position) == PresetTest::MakeValue(position, 3)) << position;
    }
    EXPECT_EQ(mReader.GetValue(PresetTest::kParamCount).GetType(), Variant::TagEmpty);
}

TEST_F(PresetFileReading, HeaderOnlyLoadsNothing)
{
    FileImage image;
    image.Header(1, 0, 0);
    EXPECT_EQ(Read(image.Get()), kPresetFileLoaded);
    EXPECT_TRUE(OffersNoValue());
}

TEST_F(PresetFileReading, UnreadableOrShortFilesAreCorrupt)
{
    EXPECT_EQ(Read({}), kPresetFileCorrupt);
    Bytes header = FileImage().Header(1, 0, 0).Get();
    header.pop_back();
    EXPECT_EQ(Read(header), kPresetFileCorrupt);
    EXPECT_EQ(mReader.ReadFile(PresetTest::Wide(mFolder / "missing")), kPresetFileCorrupt);
    EXPECT_EQ(mReader.ReadFile(PresetTest::Wide(mFolder.Path())), kPresetFileCorrupt);
    EXPECT_EQ(mReader.ReadFile(WideString()), kPresetFileCorrupt);
}

TEST_F(PresetFileReading, HeaderWordsDecideVersionAndDevice)
{
    struct Case
    {
        std::uint32_t version, device1, device2;
        std::int32_t result;
    };
    const Case cases[] = {
        {2, 0, 0, kPresetFileNewer},       {0xFFFFFFFF, 0, 0, kPresetFileNewer},
        {0, 0, 0, kPresetFileOlder},       {1, 5, 0, kPresetFileWrongDevice},
        {1, 0, 5, kPresetFileWrongDevice}, {2, 0, 7, kPresetFileWrongDevice},
        {0, 1, 1, kPresetFileWrongDevice},
    };
    for (const Case& c : cases)
    {
        FileImage image;
        image.Header(c.version, c.device1, c.device2).Record(0, 8, PresetTest::ValueBytes(0, 0));
        EXPECT_EQ(Read(image.Get()), c.result) << c.version << " " << c.device1 << " " << c.device2;
        EXPECT_TRUE(OffersNoValue());
    }
}

// Each refused file starts with a sound record, which must not be offered either.
TEST_F(PresetFileReading, BrokenRecordFramingIsCorrupt)
{
    const std::pair<const char*, Bytes> cases[] = {
        {"length 3", SoundStart().Word(3).Get()},
        {"length 12", SoundStart().Word(12).Word(0).Word(1).Get()},
        {"length 15", SoundStart().Word(15).Word(0).Word(1).Word(0).Get()},
        {"length past the end",
         SoundStart().Word(31).Word(0).Word(1).Word(18).Word(0).Word(8).Append(Bytes(6, 1)).Get()},
        {"two stray bytes", SoundStart().Append({1, 0}).Get()},
        {"reserved word 1", SoundStart().Record(1, 8, PresetTest::ValueBytes(1, 1), 1).Get()},
        {"value reserved word", SoundStart()
                                    .Word(33)
                                    .Word(0)
                                    .Word(1)
                                    .Word(21)
                                    .Word(1)
                                    .Word(8)
                                    .Append(PresetTest::ValueBytes(1, 1))
                                    .Get()},
        {"value tag 11", SoundStart().Record(1, 11, PresetTest::ValueBytes(1, 1)).Get()},
        {"value claims 30 of 28", SoundStart()
                                      .Word(40)
                                      .Word(0)
                                      .Word(500)
                                      .Word(30)
                                      .Word(0)
                                      .Word(8)
                                      .Append(Bytes(16, 0))
                                      .Get()},
    };
    for (const auto& [name, bytes] : cases)
    {
        EXPECT_EQ(Read(bytes), kPresetFileCorrupt) << name;
        EXPECT_TRUE(OffersNoValue()) << name;
    }
}

TEST_F(PresetFileReading, ParameterValueMustBeByteStringOfItsFixedSize)
{
    const std::pair<const char*, Bytes> cases[] = {
        {"empty value", SoundStart().Record(1, Variant::TagEmpty, {}).Get()},
        {"empty list", SoundStart().Record(1, Variant::TagList, {}).Get()},
        {"bare tag 3", SoundStart().Record(1, Variant::TagInt64, {}).Get()},
        {"zone of 8 bytes", SoundStart().Record(1, 8, Bytes(8, 0)).Get()},
        {"zone of 10 bytes", SoundStart().Record(1, 8, Bytes(10, 0)).Get()},
        {"name as text",
         SoundStart().Record(0, Variant::TagString, {'a', 'b', 'c', 'd', 'e', 0}).Get()},
        {"axis as 15-byte list", SoundStart().Record(130, Variant::TagList, Bytes(15, 0)).Get()},
    };
    for (const auto& [name, bytes] : cases)
    {
        EXPECT_EQ(Read(bytes), kPresetFileCorrupt) << name;
        EXPECT_TRUE(OffersNoValue()) << name;
    }
}

TEST_F(PresetFileReading, RecordOfNoParameterIsCheckedThenSkipped)
{
    FileImage image = SoundStart();
    image.Record(500, 8, Bytes(3, 0x55))
        .Record(500, Variant::TagEmpty, {})
        .Record(500, Variant::TagList, {})
        .Record(0xFFFFFFF8u, 8, Bytes(6, 0x66))
        .Record(131, 8, Bytes(6, 0x77))
        .Word(40)
        .Word(0)
        .Word(500)
        .Word(20)
        .Word(0)
        .Word(8)
        .Append(Bytes(8, 1))
        .Append(Bytes(8, 2));
    ASSERT_EQ(Read(image.Get()), kPresetFileLoaded);
    EXPECT_TRUE(mReader.GetValue(0) == PresetTest::MakeValue(0, 1));
    for (std::uint32_t position = 1; position < PresetTest::kParamCount; ++position)
    {
        EXPECT_EQ(mReader.GetValue(position).GetType(), Variant::TagEmpty) << position;
    }

    FileImage badTag = SoundStart();
    badTag.Record(500, Variant::TagUInt8, {});
    EXPECT_EQ(Read(badTag.Get()), kPresetFileCorrupt);
}

TEST_F(PresetFileReading, BytesAfterParameterValueRecordAreIgnored)
{
    FileImage image;
    image.Header(1, 0, 0).Word(40).Word(0).Word(0).Word(18).Word(0).Word(8);
    image.Append(PresetTest::ValueBytes(0, 9)).Append(Bytes(10, 0xEE));
    ASSERT_EQ(Read(image.Get()), kPresetFileLoaded);
    EXPECT_TRUE(mReader.GetValue(0) == PresetTest::MakeValue(0, 9));
}

TEST_F(PresetFileReading, ParameterNamedTwiceTakesItsLastValue)
{
    FileImage image = SoundStart();
    image.Record(0, 8, PresetTest::ValueBytes(0, 2));
    ASSERT_EQ(Read(image.Get()), kPresetFileLoaded);
    EXPECT_TRUE(mReader.GetValue(0) == PresetTest::MakeValue(0, 2));
}

TEST_F(PresetFileReading, RefusedFileDropsValuesOfEarlierRead)
{
    ASSERT_EQ(Read(PresetTest::GoldenPreset(1)), kPresetFileLoaded);
    EXPECT_EQ(Read(SoundStart().Word(3).Get()), kPresetFileCorrupt);
    EXPECT_TRUE(OffersNoValue());
}

TEST_F(PresetFileReading, RecordLengthIsBoundedByTheFile)
{
    // A length near 4 GiB must be refused from the file size, before anything is sized from it.
    FileImage image = SoundStart();
    image.Word(0xFFFFFFF0u).Word(0).Word(1).Word(0xFFFFFFE4u).Word(0).Word(8);
    EXPECT_EQ(Read(image.Get()), kPresetFileCorrupt);
}

TEST_F(PresetFileReading, FirstParamIDShiftsTheParameters)
{
    PresetFileReader shifted(100);
    FileImage image;
    image.Header(1, 0, 0).Record(100, 8, PresetTest::ValueBytes(0, 4)).Record(0, 8, Bytes(1, 0));
    const PresetTest::fs::path path = mFolder / "shifted";
    PresetTest::WriteFileBytes(path, image.Get());
    ASSERT_EQ(shifted.ReadFile(PresetTest::Wide(path)), kPresetFileLoaded);
    EXPECT_TRUE(shifted.GetValue(0) == PresetTest::MakeValue(0, 4));
}

} // namespace
} // namespace QZ
