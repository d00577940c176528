#include "UI/DriverCommon/PresetFileReader.h"

#include "UI/DriverCommon/PresetRecord.h"
#include "UI/DriverCommon/tests/PresetTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <unistd.h>

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

TEST_F(PresetFileReading, WrittenPresetGivesEveryValueAndAHeaderAloneNone)
{
    ASSERT_EQ(Read(PresetTest::GoldenPreset(3)), kPresetFileLoaded);
    for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
    {
        EXPECT_TRUE(mReader.GetValue(position) == PresetTest::MakeValue(position, 3)) << position;
    }
    EXPECT_EQ(mReader.GetValue(PresetTest::kParamCount).GetType(), Variant::TagEmpty);

    // A header alone loads, and offers no value.
    EXPECT_EQ(Read(FileImage().Header(1, 0, 0).Get()), kPresetFileLoaded);
    EXPECT_TRUE(OffersNoValue());
}

// Empty and cut-short files are damaged; files the system will not open say why.
TEST_F(PresetFileReading, ShortFilesAreCorruptAndUnreadableOnesGiveTheReason)
{
    EXPECT_EQ(Read({}), kPresetFileCorrupt);
    Bytes header = FileImage().Header(1, 0, 0).Get();
    header.pop_back();
    EXPECT_EQ(Read(header), kPresetFileCorrupt);
    EXPECT_EQ(mReader.GetReadError(), "");
    const std::pair<WideString, const char*> unreadable[] = {
        {PresetTest::Wide(mFolder / "missing"), "No such file or directory"},
        {PresetTest::Wide(mFolder.Path()), "not a regular file"},
        {WideString(), "invalid pathname"},
    };
    for (const auto& [path, reason] : unreadable)
    {
        EXPECT_EQ(mReader.ReadFile(path), kPresetFileUnreadable) << reason;
        EXPECT_EQ(mReader.GetReadError(), reason);
    }
    // Without the right to read it (the test may run as root, who has every right).
    const PresetTest::fs::path locked = mFolder / "locked.Tarn61RededoVuvuva";
    PresetTest::WriteFileBytes(locked, FileImage().Header(1, 0, 0).Get());
    PresetTest::fs::permissions(locked, PresetTest::fs::perms::none);
    if (::geteuid() != 0)
    {
        EXPECT_EQ(mReader.ReadFile(PresetTest::Wide(locked)), kPresetFileUnreadable);
        EXPECT_EQ(mReader.GetReadError(), "Permission denied");
    }
}

TEST_F(PresetFileReading, SpecialFilesAreRefusedAtOnce)
{
    const PresetTest::fs::path fifo = mFolder / "fifo.Tarn61RededoVuvuva";
    FileSystemTest::MakeFifo(fifo);
    PresetTest::fs::create_symlink(fifo.filename(), mFolder / "link to fifo");
    for (const char* name : {"fifo.Tarn61RededoVuvuva", "link to fifo"})
    {
        std::int32_t result = kPresetFileLoaded;
        EXPECT_TRUE(FileSystemTest::ReturnsPromptly(
            fifo, [&] { result = mReader.ReadFile(PresetTest::Wide(mFolder / name)); }))
            << name;
        EXPECT_EQ(result, kPresetFileUnreadable) << name;
    }
}

TEST_F(PresetFileReading, OversizedFileIsRefusedUnread)
{
    // Well-formed records of no parameter, which a reader without the bound would skip and load.
    FileImage image = SoundStart();
    const Bytes filler(4000, 0x55);
    while (image.Get().size() <= kPresetFileMaxSize)
    {
        image.Record(500, 8, filler);
    }
    EXPECT_EQ(Read(image.Get()), kPresetFileCorrupt);
    EXPECT_TRUE(OffersNoValue());
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
