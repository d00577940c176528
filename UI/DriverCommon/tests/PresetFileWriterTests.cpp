#include "UI/DriverCommon/PresetFileWriter.h"

#include "UI/DriverCommon/PresetFileReader.h"
#include "UI/DriverCommon/tests/FailingFileWriter.h"
#include "UI/DriverCommon/tests/PresetTestSupport.h"

#include "QZFramework/Utilities/Storage/QZFile.h"
#include "QZFramework/Utilities/Storage/StringArrayT.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace QZ
{
namespace
{

using PresetTest::Bytes;
using PresetTest::fs::path;

class PresetFileWriting : public testing::Test
{
protected:
    // Saves the values MakeValue(position, seed) of every parameter to target.
    QZRESULT Save(AtomicFileWriter& file, const WideString& target, std::uint8_t seed)
    {
        PresetFileWriter writer(file, 0);
        if (Failed(writer.Begin(target)))
        {
            return E_FAIL;
        }
        for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
        {
            if (Failed(writer.WriteRecord(PresetTest::MakeValue(position, seed))))
            {
                return E_FAIL;
            }
        }
        return writer.Commit();
    }

    QZRESULT Save(AtomicFileWriter& file, const path& target, std::uint8_t seed)
    {
        return Save(file, PresetTest::Wide(target), seed);
    }

    QZRESULT Save(const path& target, std::uint8_t seed)
    {
        AtomicFileWriter file;
        return Save(file, target, seed);
    }

    // The target holds the previous preset and is the folder's only entry.
    void ExpectPreviousFileKept(const path& target) const
    {
        EXPECT_EQ(PresetTest::ReadFileBytes(target), PresetTest::GoldenPreset(1));
        EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{target.filename().string()});
    }

    PresetTest::ScratchFolder mFolder;
    const path mTarget = mFolder / "saved.Tarn61RededoVuvuva";
};

TEST_F(PresetFileWriting, SavedFileMatchesDocumentedLayoutByteForByteAndReadsBack)
{
    ASSERT_EQ(Save(mTarget, 7), S_OK);
    const Bytes written = PresetTest::ReadFileBytes(mTarget);
    EXPECT_EQ(written.size(), PresetTest::kWrittenFileSize);
    EXPECT_EQ(written, PresetTest::GoldenPreset(7));
    EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{mTarget.filename().string()});

    PresetFileReader reader(0);
    ASSERT_EQ(reader.ReadFile(PresetTest::Wide(mTarget)), kPresetFileLoaded);
    for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
    {
        EXPECT_TRUE(reader.GetValue(position) == PresetTest::MakeValue(position, 7)) << position;
    }
}

TEST_F(PresetFileWriting, SaveReplacesPreviousFileAndKeepsItsPermissions)
{
    PresetTest::WriteFileBytes(mTarget, PresetTest::GoldenPreset(1));
    ASSERT_EQ(::chmod(mTarget.c_str(), 0640), 0);
    ASSERT_EQ(Save(mTarget, 2), S_OK);
    EXPECT_EQ(PresetTest::ReadFileBytes(mTarget), PresetTest::GoldenPreset(2));
    struct stat status;
    ASSERT_EQ(::stat(mTarget.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(PresetFileWriting, WritesTakenInPiecesStillGiveTheWholeFile)
{
    PresetTest::FailingFileWriter file;
    file.mPieceSize = 5;
    ASSERT_EQ(Save(file, mTarget, 4), S_OK);
    EXPECT_EQ(PresetTest::ReadFileBytes(mTarget), PresetTest::GoldenPreset(4));
}

TEST_F(PresetFileWriting, SaveIntoMissingFolderFailsAndCreatesNothing)
{
    const path target = mFolder / "missing" / "saved.Tarn61RededoVuvuva";
    EXPECT_EQ(Save(target, 1), E_FAIL);
    EXPECT_TRUE(mFolder.Entries().empty());
}

TEST_F(PresetFileWriting, SaveIntoReadOnlyFolderFailsAndKeepsPreviousFile)
{
    PresetTest::WriteFileBytes(mTarget, PresetTest::GoldenPreset(1));
    ASSERT_EQ(::chmod(mFolder.Path().c_str(), 0555), 0);
    QZRESULT result = S_OK;
    {
        PresetTest::UnprivilegedFileAccess unprivileged;
        const path probe = mFolder / "probe";
        const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_LT(descriptor, 0) << "the folder should refuse new files";
        result = Save(mTarget, 2);
    }
    ASSERT_EQ(::chmod(mFolder.Path().c_str(), 0755), 0);
    EXPECT_EQ(result, E_FAIL);
    ExpectPreviousFileKept(mTarget);
}

TEST_F(PresetFileWriting, FullDiskAtAnyWriteOrAFailedSyncFailsAndKeepsPreviousFile)
{
    PresetTest::WriteFileBytes(mTarget, PresetTest::GoldenPreset(1));
    // The file system takes 512 bytes per write: the first, a middle and the last piece fail;
    // with none failing (0), the sync does.
    for (const int failing : {1, 5, 9, 0})
    {
        PresetTest::FailingFileWriter file;
        file.mPieceSize = 512;
        file.mFailingWrite = failing;
        file.mFailSync = failing == 0;
        EXPECT_EQ(Save(file, mTarget, 2), E_FAIL) << failing;
        if (failing != 0)
        {
            EXPECT_EQ(file.mWriteCalls, failing);
        }
        EXPECT_FALSE(file.IsWriting());
        ExpectPreviousFileKept(mTarget);
    }
}

TEST_F(PresetFileWriting, FailedRenameFailsAndRemovesTemporaryFile)
{
    AtomicFileWriter file;
    ASSERT_EQ(file.Begin(PresetTest::Wide(mTarget)), S_OK);
    ASSERT_EQ(file.Write("abc", 3), S_OK);
    // A folder that is not empty takes the target's place while the file is written.
    PresetTest::fs::create_directory(mTarget);
    PresetTest::fs::create_directory(mTarget / "inside");
    EXPECT_EQ(file.Commit(), E_FAIL);
    EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{mTarget.filename().string()});
    EXPECT_TRUE(PresetTest::fs::is_directory(mTarget / "inside"));
}

TEST_F(PresetFileWriting, SaveThroughLinksReplacesTheirTargetAndKeepsTheLinks)
{
    // A link to a link in a library folder, as a synced folder or a shared library of sounds has.
    const path library = mFolder / "library";
    const path sound = library / "sound.Tarn61RededoVuvuva";
    PresetTest::fs::create_directory(library);
    PresetTest::WriteFileBytes(sound, PresetTest::GoldenPreset(1));
    ASSERT_EQ(::chmod(sound.c_str(), 0640), 0);
    PresetTest::fs::create_symlink(sound.filename(), library / "alias");
    PresetTest::fs::create_symlink("library/alias", mTarget);

    ASSERT_EQ(Save(mTarget, 2), S_OK);
    EXPECT_EQ(PresetTest::ReadFileBytes(sound), PresetTest::GoldenPreset(2));
    EXPECT_EQ(PresetTest::fs::read_symlink(mTarget), "library/alias");
    EXPECT_EQ(PresetTest::fs::read_symlink(library / "alias"), sound.filename());
    EXPECT_EQ(PresetTest::fs::status(sound).permissions(), PresetTest::fs::perms(0640));
    EXPECT_EQ(mFolder.Entries(), (std::vector<std::string>{"library", mTarget.filename()}));
    EXPECT_EQ(std::distance(PresetTest::fs::directory_iterator(library), {}), 2);
}

// Every entry of the folder with its kind, mode and what it holds (hashed) or points to.
std::map<std::string, std::string> Snapshot(const path& folder)
{
    std::map<std::string, std::string> entries;
    for (const PresetTest::fs::directory_entry& entry : PresetTest::fs::directory_iterator(folder))
    {
        const PresetTest::fs::file_status status = entry.symlink_status();
        std::string& held = entries[entry.path().filename()];
        held = std::to_string(static_cast<int>(status.type())) + " " +
               std::to_string(static_cast<unsigned>(status.permissions())) + " ";
        if (PresetTest::fs::is_symlink(status))
        {
            held += PresetTest::fs::read_symlink(entry.path());
        }
        else if (PresetTest::fs::is_regular_file(status))
        {
            const Bytes bytes = PresetTest::ReadFileBytes(entry.path());
            held +=
                std::to_string(std::hash<std::string>()(std::string(bytes.begin(), bytes.end())));
        }
    }
    return entries;
}

TEST_F(PresetFileWriting, SaveThatCannotReplaceTheNamedPresetChangesNothing)
{
    const auto protect = [](const path& target)
    {
        PresetTest::WriteFileBytes(target, PresetTest::GoldenPreset(1));
        PresetTest::fs::permissions(target, PresetTest::fs::perms(0444));
        FileSystemTest::GiveToUnprivilegedUser(target);
    };
    const struct
    {
        const char* what;
        std::function<void(const path& target)> make;
    } cases[] = {
        {"dangling link", [](const path& target) { create_symlink("missing", target); }},
        {"link to itself", [](const path& target) { create_symlink(target.filename(), target); }},
        {"loop of two links",
         [](const path& target)
         {
             create_symlink("other", target);
             create_symlink(target.filename(), target.parent_path() / "other");
         }},
        {"FIFO", [](const path& target) { FileSystemTest::MakeFifo(target); }},
        {"folder", [](const path& target) { create_directory(target); }},
        {"write-protected preset", protect},
        {"link to a write-protected preset",
         [&](const path& target)
         {
             protect(target.parent_path() / "protected");
             create_symlink("protected", target);
         }},
    };
    for (const auto& test : cases)
    {
        // The user's own folder, in which a rename alone could replace anything.
        PresetTest::ScratchFolder folder;
        FileSystemTest::GiveToUnprivilegedUser(folder.Path());
        const path target = folder / "saved.Tarn61RededoVuvuva";
        test.make(target);
        const auto before = Snapshot(folder.Path());
        QZRESULT result = S_OK;
        {
            PresetTest::UnprivilegedFileAccess unprivileged;
            result = Save(target, 2);
        }
        EXPECT_EQ(result, E_FAIL) << test.what;
        EXPECT_EQ(Snapshot(folder.Path()), before) << test.what;
    }
}

TEST_F(PresetFileWriting, NameThatIsNotUtf8IsLoadedAndSavedUnderItsOwnBytes)
{
    const path latin1 = mFolder / "Caf\xE9 Jazz.Tarn61RededoVuvuva";
    PresetTest::WriteFileBytes(latin1, PresetTest::GoldenPreset(1));
    StringArrayT<char16_t, char> listed;
    ASSERT_EQ(File::FindFiles(PresetTest::Wide(mFolder.Path()), u"*.Tarn61RededoVuvuva", listed),
              1);
    const WideString name = listed.GetAt(0);
    EXPECT_TRUE(name == PresetTest::Wide(mFolder.Path()) + u"/Caf\xDCE9 Jazz.Tarn61RededoVuvuva");

    PresetFileReader reader(0);
    EXPECT_EQ(reader.ReadFile(name), kPresetFileLoaded);
    AtomicFileWriter file;
    ASSERT_EQ(Save(file, name, 2), S_OK);
    EXPECT_EQ(PresetTest::ReadFileBytes(latin1), PresetTest::GoldenPreset(2));
    EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{latin1.filename()});

    // A lone high surrogate names no file: refused, never saved under a shortened name.
    const WideString noName = PresetTest::Wide(mFolder.Path()) + u"/Caf\xD800.Tarn61RededoVuvuva";
    EXPECT_EQ(Save(file, noName, 3), E_FAIL);
    EXPECT_EQ(reader.ReadFile(noName), kPresetFileUnreadable);
    EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{latin1.filename()});
}

TEST_F(PresetFileWriting, ValueThatDoesNotFitItsParameterEndsSaveUntouched)
{
    PresetTest::WriteFileBytes(mTarget, PresetTest::GoldenPreset(1));
    const Variant wrongValues[] = {Variant(), PresetTest::MakeValue(0, 1)};
    for (const Variant& wrong : wrongValues)
    {
        AtomicFileWriter file;
        PresetFileWriter writer(file, 0);
        ASSERT_EQ(writer.Begin(PresetTest::Wide(mTarget)), S_OK);
        for (std::uint32_t position = 0; position < 40; ++position)
        {
            ASSERT_EQ(writer.WriteRecord(PresetTest::MakeValue(position, 2)), S_OK);
        }
        EXPECT_EQ(writer.WriteRecord(wrong), E_FAIL);
        EXPECT_EQ(writer.Commit(), E_FAIL);
        ExpectPreviousFileKept(mTarget);
    }
}

TEST_F(PresetFileWriting, IncompleteOrOverfullPresetIsNotPutInPlace)
{
    PresetTest::WriteFileBytes(mTarget, PresetTest::GoldenPreset(1));
    AtomicFileWriter file;
    PresetFileWriter writer(file, 0);
    ASSERT_EQ(writer.Begin(PresetTest::Wide(mTarget)), S_OK);
    for (std::uint32_t position = 0; position + 1 < PresetTest::kParamCount; ++position)
    {
        ASSERT_EQ(writer.WriteRecord(PresetTest::MakeValue(position, 2)), S_OK);
    }
    EXPECT_EQ(writer.Commit(), E_FAIL);
    ExpectPreviousFileKept(mTarget);

    ASSERT_EQ(writer.Begin(PresetTest::Wide(mTarget)), S_OK);
    for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
    {
        ASSERT_EQ(writer.WriteRecord(PresetTest::MakeValue(position, 2)), S_OK);
    }
    EXPECT_EQ(writer.WriteRecord(PresetTest::MakeValue(0, 2)), E_FAIL);
    ExpectPreviousFileKept(mTarget);
}

TEST(AtomicFileReplacement, OnlyTheCommittedWriteOfANamedFileLeavesAFile)
{
    PresetTest::ScratchFolder folder;
    const path target = folder / "target";
    {
        // Unnamed until it is put in place.
        AtomicFileWriter file;
        ASSERT_EQ(file.Begin(PresetTest::Wide(target)), S_OK);
        EXPECT_EQ(file.GetTemporaryPath(), "");
        ASSERT_EQ(file.Write("abc", 3), S_OK);
        EXPECT_TRUE(folder.Entries().empty());
    }
    EXPECT_TRUE(folder.Entries().empty());

    AtomicFileWriter file;
    ASSERT_EQ(file.Begin(PresetTest::Wide(target)), S_OK);
    file.Abandon();
    EXPECT_FALSE(file.IsWriting());
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_EQ(file.Write("abc", 3), E_FAIL);
    EXPECT_EQ(file.Commit(), E_FAIL);

    // A path without a file name is refused.
    EXPECT_EQ(file.Begin(WideString()), E_FAIL);
    EXPECT_EQ(file.Begin(PresetTest::Wide(folder.Path()) + WideString(u"/")), E_FAIL);
    EXPECT_TRUE(folder.Entries().empty());

    // Begin abandons a write under way.
    ASSERT_EQ(file.Begin(PresetTest::Wide(folder / "first")), S_OK);
    ASSERT_EQ(file.Write("first", 5), S_OK);
    ASSERT_EQ(file.Begin(PresetTest::Wide(folder / "second")), S_OK);
    ASSERT_EQ(file.Write("second", 6), S_OK);
    ASSERT_EQ(file.Commit(), S_OK);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"second"});
}

TEST(AtomicFileReplacement, KilledSavesLeaveNoStrayFile)
{
    PresetTest::ScratchFolder folder;
    const path target = folder / "target";
    // A process killed at any moment of its saves leaves the file and nothing else once the
    // next save has swept what a dead process had already named.
    const std::string content(512 * 1024, 'p');
    for (int kill = 0; kill < 200; ++kill)
    {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0)
        {
            for (AtomicFileWriter writer;;)
            {
                static_cast<void>(writer.Begin(PresetTest::Wide(target)) == S_OK &&
                                  writer.Write(content.data(), content.size()) == S_OK &&
                                  writer.Commit() == S_OK);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300 + 41 * (kill % 50)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
    }
    {
        AtomicFileWriter file;
        ASSERT_EQ(file.Begin(PresetTest::Wide(target)), S_OK);
        ASSERT_EQ(file.Commit(), S_OK);
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"target"});
}

} // namespace
} // namespace QZ
