#include "Platform/Settings/SettingsFileIO.h"

#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

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

TEST_F(SettingsFileIOTest, CrashBeforeRenameLeavesTheOldFileWhole)
{
    WriteText(mPath, "old settings");
    EXPECT_EXIT(static_cast<void>(SettingsFileIO::WriteFileAtomically(mPath, "new settings",
                                                                      [] { std::_Exit(7); })),
                testing::ExitedWithCode(7), "");
    EXPECT_EQ(ReadText(mPath), "old settings");
    const std::vector<fs::path> entries = FolderEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1].string().starts_with("UserSettings.ini.saving-"));
    EXPECT_EQ(ReadText(mFolder / entries[1]), "new settings");
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
