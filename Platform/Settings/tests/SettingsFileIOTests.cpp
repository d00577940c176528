#include "Platform/Settings/SettingsFileIO.h"

#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace IniSettings
{
namespace
{

namespace fs = std::filesystem;
namespace FileSystemTest = QZ::FileSystemTest;

class SettingsFileIOTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qz-settings-io-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        mFolder = pattern;
        mPath = (mFolder / "UserSettings.ini").string();
    }
    void TearDown() override { fs::remove_all(mFolder); }

    static void WriteText(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string ReadText(const fs::path& path)
    {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    std::vector<fs::path> FolderEntries() const
    {
        std::vector<fs::path> entries;
        for (const fs::directory_entry& entry : fs::directory_iterator(mFolder))
        {
            entries.push_back(entry.path().filename());
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    fs::path mFolder;
    std::string mPath;
};

TEST_F(SettingsFileIOTest, AtomicWriteReplacesTheFileAndLeavesNothingElse)
{
    WriteText(mPath, "old");
    ASSERT_TRUE(SettingsFileIO::WriteFileAtomically(mPath, "new text"));
    EXPECT_EQ(ReadText(mPath), "new text");
    EXPECT_EQ(FolderEntries(), std::vector<fs::path>{"UserSettings.ini"});
}

TEST_F(SettingsFileIOTest, ReplacedFileKeepsItsPermissions)
{
    WriteText(mPath, "old");
    ASSERT_EQ(::chmod(mPath.c_str(), 0640), 0);
    ASSERT_TRUE(SettingsFileIO::WriteFileAtomically(mPath, "new"));
    struct stat status;
    ASSERT_EQ(::stat(mPath.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(SettingsFileIOTest, KilledSavesLeaveTheOldFileWholeAndNothingBeside)
{
    WriteText(mPath, "old settings");
    EXPECT_EXIT(static_cast<void>(SettingsFileIO::WriteFileAtomically(mPath, "new settings",
                                                                      [] { std::_Exit(7); })),
                testing::ExitedWithCode(7), "");
    EXPECT_EQ(ReadText(mPath), "old settings");
    EXPECT_EQ(FolderEntries(), std::vector<fs::path>{"UserSettings.ini"});

    // Killed at any moment of a save, again and again: what a dead process left named is swept
    // by the next save, so the file and nothing else remains.
    const std::string text(256 * 1024, 's');
    for (int kill = 0; kill < 200; ++kill)
    {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0)
        {
            for (;;)
            {
                static_cast<void>(SettingsFileIO::WriteFileAtomically(mPath, text));
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200 + 37 * (kill % 50)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
    }
    // A named temporary file of a dead process, of a live one and of another file.
    const pid_t gone = ::fork();
    if (gone == 0)
    {
        std::_Exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string dead = "UserSettings.ini.saving-" + std::to_string(gone) + "-4";
    const std::string live = "UserSettings.ini.saving-" + std::to_string(::getpid()) + "-9";
    const std::string other = "Other.ini.saving-" + std::to_string(gone) + "-4";
    for (const std::string& name : {dead, live, other})
    {
        WriteText(mFolder / name, "left");
    }
    ASSERT_TRUE(SettingsFileIO::WriteFileAtomically(mPath, "last"));
    EXPECT_EQ(ReadText(mPath), "last");
    EXPECT_EQ(FolderEntries(), (std::vector<fs::path>{other, "UserSettings.ini", live}));
}

TEST_F(SettingsFileIOTest, AtomicWriteGoesThroughLinksAndRefusesWhatItMayNotReplace)
{
    fs::create_directory(mFolder / "synced");
    WriteText(mFolder / "synced/real.ini", "old");
    fs::create_symlink("synced/real.ini", mPath);
    ASSERT_TRUE(SettingsFileIO::WriteFileAtomically(mPath, "new"));
    EXPECT_EQ(fs::read_symlink(mPath), "synced/real.ini");
    EXPECT_EQ(ReadText(mFolder / "synced/real.ini"), "new");

    fs::create_symlink("missing.ini", mFolder / "dangling.ini");
    fs::create_symlink("loop.ini", mFolder / "loop.ini");
    WriteText(mFolder / "protected.ini", "kept");
    fs::permissions(mFolder / "protected.ini", fs::perms(0444));
    FileSystemTest::GiveToUnprivilegedUser(mFolder / "protected.ini");
    FileSystemTest::GiveToUnprivilegedUser(mFolder);
    const std::vector<fs::path> before = FolderEntries();
    for (const char* name : {"dangling.ini", "loop.ini", "protected.ini"})
    {
        FileSystemTest::UnprivilegedFileAccess unprivileged;
        EXPECT_FALSE(SettingsFileIO::WriteFileAtomically((mFolder / name).string(), "x")) << name;
    }
    EXPECT_EQ(FolderEntries(), before);
    EXPECT_EQ(ReadText(mFolder / "protected.ini"), "kept");
    EXPECT_TRUE(fs::is_symlink(mFolder / "dangling.ini"));
}

TEST_F(SettingsFileIOTest, WhatCannotBeSavedSaysWhyAndIsNeverWrittenThrough)
{
    fs::create_directory(mFolder / "folder.ini");
    FileSystemTest::MakeFifo(mFolder / "fifo.ini");
    fs::create_symlink("/dev/zero", mFolder / "zero.ini");
    fs::create_symlink("nowhere", mFolder / "dangling.ini");
    fs::create_directory(mFolder / "closed");
    FileSystemTest::GiveToUnprivilegedUser(mFolder / "closed");
    fs::permissions(mFolder / "closed", fs::perms(0555));
    WriteText(mFolder / "readonly.ini", "kept");
    FileSystemTest::GiveToUnprivilegedUser(mFolder / "readonly.ini");
    fs::permissions(mFolder / "readonly.ini", fs::perms(0444));
    FileSystemTest::GiveToUnprivilegedUser(mFolder);
    const struct
    {
        std::string name;
        std::string reason;
    } cases[] = {
        {"folder.ini", "a folder is in its place"},
        {"fifo.ini", "a FIFO, socket or device is in its place"},
        {"zero.ini", "a FIFO, socket or device is in its place"},
        {"dangling.ini", "a symbolic link that leads nowhere"},
        {"readonly.ini", "the file may not be written (Permission denied)"},
        {"closed/new.ini", "its folder may not be written (Permission denied)"},
        {"no/such.ini", "No such file or directory"},
    };
    for (const auto& c : cases)
    {
        FileSystemTest::UnprivilegedFileAccess unprivileged;
        std::string reason;
        EXPECT_FALSE(
            SettingsFileIO::WriteFileAtomically((mFolder / c.name).string(), "x", {}, &reason));
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
    }
    EXPECT_EQ(ReadText(mFolder / "readonly.ini"), "kept");
    EXPECT_TRUE(fs::is_empty(mFolder / "closed"));
}

TEST_F(SettingsFileIOTest, WriteIntoAMissingFolderFails)
{
    EXPECT_FALSE(SettingsFileIO::WriteFileAtomically((mFolder / "no/such.ini").string(), "x"));
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(SettingsFileIOTest, ReadTellsMissingFromUnreadable)
{
    std::string text = "stale";
    EXPECT_EQ(SettingsFileIO::ReadWholeFile(mPath, 100, text),
              SettingsFileIO::ReadOutcome::Missing);
    EXPECT_EQ(text, "");
    EXPECT_EQ(SettingsFileIO::ReadWholeFile(mFolder.string(), 100, text),
              SettingsFileIO::ReadOutcome::Failed);
    WriteText(mPath, "contents");
    EXPECT_EQ(SettingsFileIO::ReadWholeFile(mPath, 100, text), SettingsFileIO::ReadOutcome::Read);
    EXPECT_EQ(text, "contents");
}

TEST_F(SettingsFileIOTest, ReadRefusesAFifoAtOnce)
{
    FileSystemTest::MakeFifo(mPath);
    std::string text;
    SettingsFileIO::ReadOutcome outcome = SettingsFileIO::ReadOutcome::Read;
    EXPECT_TRUE(FileSystemTest::ReturnsPromptly(
        mPath, [&] { outcome = SettingsFileIO::ReadWholeFile(mPath, 100, text); }));
    EXPECT_EQ(outcome, SettingsFileIO::ReadOutcome::Failed);
}

TEST_F(SettingsFileIOTest, ReadStopsJustPastTheLimit)
{
    WriteText(mPath, std::string(200000, 'x'));
    std::string text;
    ASSERT_EQ(SettingsFileIO::ReadWholeFile(mPath, 100, text), SettingsFileIO::ReadOutcome::Read);
    EXPECT_EQ(text.size(), 101u);
}

TEST_F(SettingsFileIOTest, DamagedFilesAreSetAsideUnderFreeNames)
{
    WriteText(mPath, "first");
    EXPECT_EQ(SettingsFileIO::SetFileAside(mPath), mPath + ".damaged");
    WriteText(mPath, "second");
    EXPECT_EQ(SettingsFileIO::SetFileAside(mPath), mPath + ".damaged-2");
    EXPECT_FALSE(fs::exists(mPath));
    EXPECT_EQ(ReadText(mPath + ".damaged"), "first");
    EXPECT_EQ(ReadText(mPath + ".damaged-2"), "second");
    EXPECT_EQ(SettingsFileIO::SetFileAside(mPath), std::nullopt);
}

} // namespace
} // namespace IniSettings
