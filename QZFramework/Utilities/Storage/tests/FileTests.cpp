#include "QZFramework/Utilities/Storage/QZFile.h"

#include "QZFramework/Utilities/Storage/StringArrayT.h"
#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace QZ
{
namespace
{

namespace fs = std::filesystem;

std::u16string Text(const WideString& s)
{
    return std::u16string(s.GetString(), s.GetLength());
}

WideString Wide(const fs::path& path)
{
    return FileNameToWideString(path.c_str());
}

// The whole text of a runtime error thrown by the statement, or "" when nothing was thrown.
template <class Statement> std::string RuntimeErrorText(Statement statement)
{
    try
    {
        statement();
    }
    catch (const Exception<std::runtime_error>& error)
    {
        return error.what();
    }
    return std::string();
}

class FileTest : public testing::Test
{
protected:
    void WriteText(const fs::path& name, const std::string& text) const
    {
        FileSystemTest::WriteText(mFolder / name, text);
    }
    std::string ReadText(const fs::path& name) const
    {
        return FileSystemTest::ReadText(mFolder / name);
    }

    const FileSystemTest::ScratchFolder mScratch{"qz-file"};
    const fs::path mFolder = mScratch.Path();
};

using FileOpening = FileTest;

TEST_F(FileOpening, FolderAndNameAreJoinedByOneSeparator)
{
    WriteText("data.bin", "x");
    File file(Wide(mFolder), u"data.bin", File::ModeRead);
    EXPECT_EQ(Text(file.GetPath()), Text(Wide(mFolder)) + u"/data.bin");
    EXPECT_EQ(Text(file.GetName()), u"data.bin");
    EXPECT_TRUE(file.IsOpen());
    // Opening an open file answers 1 and keeps it.
    EXPECT_EQ(file.Open(u"elsewhere", u"other", File::ModeWrite), 1);
    EXPECT_EQ(Text(file.GetName()), u"data.bin");

    const File trailing(Wide(mFolder) + WideString(u"/"), u"data.bin", File::ModeRead);
    EXPECT_EQ(Text(trailing.GetPath()), Text(Wide(mFolder)) + u"//data.bin");
    EXPECT_TRUE(trailing.IsOpen());

    // A full path with an empty name keeps the name empty.
    const File whole(Wide(mFolder / "data.bin"), WideString(), File::ModeRead);
    EXPECT_TRUE(whole.GetName().IsEmpty());
    EXPECT_EQ(whole.GetLength(), 1u);
}

// An empty path is no pathname; a missing file without Create, or an existing one with
// Exclusive, does not open.
TEST_F(FileOpening, FilesThatCannotOpenThrowWhy)
{
    const std::uint32_t exclusive = File::ModeWrite | File::ModeCreate | File::ModeExclusive;
    {
        const File created(Wide(mFolder), u"new.bin", exclusive);
        EXPECT_TRUE(fs::exists(mFolder / "new.bin"));
    }
    const struct
    {
        WideString folder;
        WideString name;
        std::uint32_t mode;
        std::string head;
    } cases[] = {
        {WideString(), WideString(), File::ModeRead,
         "Runtime Error : invalid pathname : QZ::File::Open : "},
        {Wide(mFolder), u"missing.bin", File::ModeRead, "Runtime Error : open : QZ::File::Open : "},
        {Wide(mFolder), u"new.bin", exclusive, "Runtime Error : open : QZ::File::Open : "},
    };
    for (const auto& c : cases)
    {
        const std::string text = RuntimeErrorText([&] { File(c.folder, c.name, c.mode); });
        EXPECT_TRUE(text.starts_with(c.head)) << text;
    }
}

TEST_F(FileOpening, NonAsciiNamesReachTheDiskAsUtf8)
{
    const WideString name(u"Grüße € 日本.Tarn61RededoVuvuva");
    {
        File file(Wide(mFolder), name, File::ModeWrite | File::ModeCreate);
        EXPECT_EQ(file.Write("abc", 3, 0), 3u);
    }
    EXPECT_EQ(ReadText(fs::u8path("Grüße € 日本.Tarn61RededoVuvuva")), "abc");
    EXPECT_TRUE(File::FileExists(Wide(mFolder) + WideString(u"/") + name));
}

TEST_F(FileOpening, OnlyRegularFilesOpenAndOpeningNeverWaits)
{
    FileSystemTest::MakeFifo(mFolder / "fifo");
    fs::create_symlink("fifo", mFolder / "link to fifo");
    fs::create_directory(mFolder / "folder");
    const struct
    {
        fs::path path;
        std::uint32_t mode;
    } cases[] = {
        {mFolder / "fifo", File::ModeRead},
        {mFolder / "fifo", File::ModeWrite},
        {mFolder / "link to fifo", File::ModeRead},
        {mFolder / "folder", File::ModeRead},
        {"/dev/null", File::ModeWrite | File::ModeCreate},
    };
    for (const auto& test : cases)
    {
        std::string text;
        EXPECT_TRUE(FileSystemTest::ReturnsPromptly(
            mFolder / "fifo", [&]
            { text = RuntimeErrorText([&] { File(Wide(test.path), WideString(), test.mode); }); }))
            << test.path;
        EXPECT_TRUE(text.starts_with("Runtime Error : not a regular file : QZ::File::Open : "))
            << test.path << ": " << text;
    }

    WriteText("data.bin", "abc");
    fs::create_symlink("data.bin", mFolder / "link to data");
    EXPECT_EQ(File(Wide(mFolder / "link to data"), WideString(), File::ModeRead).GetLength(), 3u);
}

using FileAccess = FileTest;

TEST_F(FileAccess, ReadAndWriteAtExplicitOffsets)
{
    File file(Wide(mFolder), u"data.bin", File::ModeWrite | File::ModeCreate);
    EXPECT_EQ(file.Write("0123456789", 10, 0), 10u);
    EXPECT_EQ(file.Write("AB", 2, 4), 2u);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, 4, 3), 4u);
    EXPECT_EQ(std::string(buffer, 4), "3AB6");
    EXPECT_EQ(file.GetLength(), 10u);
}

// The current position reads on where the last access ended; a read near the end returns what is
// there; a seek counts from the start, the current position or the end.
TEST_F(FileAccess, CurrentPositionAndSeekFollowTheAccesses)
{
    WriteText("data.bin", "abcdefgh");
    File file(Wide(mFolder), u"data.bin", File::ModeRead);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, 3, 2), 3u);
    EXPECT_EQ(file.Read(buffer, 2, File::CurrentPosition), 2u);
    EXPECT_EQ(std::string(buffer, 2), "fg");
    EXPECT_EQ(file.Read(buffer, 8, 6), 2u);
    EXPECT_EQ(file.Read(buffer, 8, File::CurrentPosition), 0u);

    EXPECT_EQ(file.Seek(3, 0), 3);
    EXPECT_EQ(file.Seek(2, 1), 5);
    EXPECT_EQ(file.Seek(-1, 2), 7);
    EXPECT_EQ(file.Seek(-20, 0), -1);
    EXPECT_EQ(file.Seek(0, 3), -1);
}

TEST_F(FileAccess, ReadOnlyFileRefusesWritesBeforeTouchingTheFile)
{
    WriteText("data.bin", "keep");
    File file(Wide(mFolder), u"data.bin", File::ModeRead);
    const std::string text = RuntimeErrorText([&] { file.Write("x", 1, 0xFFFFFFF0); });
    EXPECT_TRUE(text.starts_with("Runtime Error : file is read only : QZ::File::Write : ")) << text;
    EXPECT_EQ(ReadText("data.bin"), "keep");
}

TEST_F(FileAccess, ClosedFileFailsWithTheSystemCallsName)
{
    WriteText("data.bin", "abc");
    File file(Wide(mFolder), u"data.bin", File::ModeRead | File::ModeWrite);
    file.Close();
    char buffer[2];
    EXPECT_TRUE(RuntimeErrorText([&] { file.Read(buffer, 1, 0); })
                    .starts_with("Runtime Error : lseek : QZ::File::Read : "));
    EXPECT_TRUE(RuntimeErrorText([&] { file.Read(buffer, 1, File::CurrentPosition); })
                    .starts_with("Runtime Error : read : QZ::File::Read : "));
    EXPECT_TRUE(RuntimeErrorText([&] { file.Write(buffer, 1, 0); })
                    .starts_with("Runtime Error : lseek : QZ::File::Write : "));
    EXPECT_TRUE(RuntimeErrorText([&] { file.Write(buffer, 1, File::CurrentPosition); })
                    .starts_with("Runtime Error : write : QZ::File::Write : "));
    EXPECT_TRUE(RuntimeErrorText([&] { static_cast<void>(file.GetLength()); })
                    .starts_with("Runtime Error : fstat : QZ::File::GetLength : "));
    EXPECT_EQ(file.Seek(0, 0), -1);
}

using FileClosing = FileTest;

TEST_F(FileClosing, SharedDescriptorStaysOpenUntilTheLastCopyCloses)
{
    WriteText("data.bin", "abc");
    File original(Wide(mFolder), u"data.bin", File::ModeRead);
    {
        File copy(original);
        EXPECT_EQ(copy.Close(), 0);
        EXPECT_TRUE(copy.IsOpen());
    }
    char buffer[3] = {};
    EXPECT_EQ(original.Read(buffer, 3, 0), 3u);
    EXPECT_EQ(original.Close(), 0);
    EXPECT_FALSE(original.IsOpen());
}

TEST_F(FileClosing, DeleteOnCloseRemovesTheFileWithItsLastCopy)
{
    const std::uint32_t mode = File::ModeWrite | File::ModeCreate | File::ModeDeleteOnClose;
    auto file = std::make_unique<File>(Wide(mFolder), u"scratch.tmp", mode);
    auto copy = std::make_unique<File>(*file);
    file.reset();
    EXPECT_TRUE(fs::exists(mFolder / "scratch.tmp"));
    copy.reset();
    EXPECT_FALSE(fs::exists(mFolder / "scratch.tmp"));
}

TEST_F(FileClosing, AssignmentClosesTheFileItHeld)
{
    WriteText("other.bin", "o");
    File target(Wide(mFolder), u"first.tmp",
                File::ModeWrite | File::ModeCreate | File::ModeDeleteOnClose);
    target = File(Wide(mFolder), u"other.bin", File::ModeRead);
    EXPECT_FALSE(fs::exists(mFolder / "first.tmp"));
    EXPECT_EQ(target.GetLength(), 1u);
}

using FilePaths = FileTest;

TEST_F(FilePaths, MakeLegalFileNameReplacesEachReservedCharacter)
{
    EXPECT_EQ(Text(File::MakeLegalFileName(u"a/b:c?d(e)f")), u"a_b_c_d_e_f");
    EXPECT_EQ(Text(File::MakeLegalFileName(u"\\/:*?\"<>|&;,^()")), u"_______________");
    EXPECT_EQ(Text(File::MakeLegalFileName(u"Korvane Tarn 61 Ü-._!")), u"Korvane Tarn 61 Ü-._!");
}

TEST_F(FilePaths, GetDirectoryDropsTheLastElement)
{
    EXPECT_EQ(Text(File::GetDirectory(u"/home/ann/file.ini")), u"/home/ann");
    EXPECT_EQ(Text(File::GetDirectory(u"/home/ann/")), u"/home/ann");
    EXPECT_EQ(Text(File::GetDirectory(u"/file.ini")), u"/");
    EXPECT_EQ(Text(File::GetDirectory(u"/")), u"/");
    EXPECT_EQ(Text(File::GetDirectory(u"file.ini")), u"");
    EXPECT_EQ(Text(File::GetDirectory(u"")), u"");
}

TEST_F(FilePaths, GetLongPathResolvesExistingPathsOnly)
{
    fs::create_directory(mFolder / "real");
    WriteText("real/x.png", "x");
    fs::create_directory_symlink(mFolder / "real", mFolder / "link");
    const WideString resolved = File::GetLongPath(Wide(mFolder / "link/../real/./x.png"));
    EXPECT_EQ(Text(resolved), Text(Wide(fs::canonical(mFolder / "real/x.png"))));
    EXPECT_EQ(Text(File::GetLongPath(u"/no/such/file")), u"/no/such/file");
}

TEST_F(FilePaths, EnsureDirectoryCreatesWhatIsMissingAndFileExistsOnlyForFiles)
{
    EXPECT_EQ(File::EnsureDirectory(Wide(mFolder)), S_FALSE);
    EXPECT_EQ(File::EnsureDirectory(Wide(mFolder / "Korvane/Tarn 61")), S_OK);
    EXPECT_TRUE(fs::is_directory(mFolder / "Korvane/Tarn 61"));
    WriteText("plain", "x");
    EXPECT_EQ(File::EnsureDirectory(Wide(mFolder / "plain")), E_FAIL);
    EXPECT_EQ(File::EnsureDirectory(Wide(mFolder / "plain/below")), E_FAIL);

    EXPECT_TRUE(File::FileExists(Wide(mFolder / "plain")));
    EXPECT_FALSE(File::FileExists(Wide(mFolder)));
    EXPECT_FALSE(File::FileExists(Wide(mFolder / "missing")));
}

TEST_F(FilePaths, CreateDirectoriesStopsBeforeAFileName)
{
    EXPECT_TRUE(File::CreateDirectories(Wide(mFolder / "a/b/settings.ini"), true));
    EXPECT_TRUE(fs::is_directory(mFolder / "a/b"));
    EXPECT_FALSE(fs::exists(mFolder / "a/b/settings.ini"));
    EXPECT_TRUE(File::CreateDirectories(Wide(mFolder / "c/d"), false));
    EXPECT_TRUE(fs::is_directory(mFolder / "c/d"));
    EXPECT_TRUE(File::CreateDirectories(u"relative-name-only", true));
    WriteText("blocker", "x");
    EXPECT_FALSE(File::CreateDirectories(Wide(mFolder / "blocker/e/f"), false));
}

TEST_F(FilePaths, FindFilesListsMatchingFilesAndSkipsFolders)
{
    WriteText("a.ttf", "");
    WriteText("B.TTF", "");
    WriteText("c.ttc", "");
    WriteText("noextension", "");
    WriteText(fs::u8path("ü.ttf"), "");
    fs::create_directory(mFolder / "folder.ttf");
    WideStringArray files;
    files.Add(u"stale entry");

    EXPECT_EQ(File::FindFiles(Wide(mFolder), u"*.ttf", files), 3);
    std::vector<std::u16string> found;
    for (std::int32_t i = 0; i < files.GetCount(); ++i)
    {
        found.push_back(Text(files.GetAt(i)));
    }
    std::sort(found.begin(), found.end());
    const std::u16string prefix = Text(Wide(mFolder)) + u"/";
    EXPECT_EQ(found, (std::vector<std::u16string>{prefix + u"B.TTF", prefix + u"a.ttf",
                                                  prefix + u"ü.ttf"}));

    EXPECT_EQ(File::FindFiles(Wide(mFolder), u"*.*", files), 5);
    EXPECT_EQ(File::FindFiles(Wide(mFolder), u"?.tt?", files), 4);
    EXPECT_EQ(File::FindFiles(Wide(mFolder), u"*.png", files), 0);

    // A missing folder, or a file in its place, cannot be searched; the list ends empty.
    files.Add(u"stale entry");
    EXPECT_EQ(File::FindFiles(Wide(mFolder / "missing"), u"*", files), File::E_NOTIMPL);
    EXPECT_EQ(files.GetCount(), 0);
    EXPECT_EQ(File::FindFiles(Wide(mFolder / "noextension"), u"*", files), File::E_NOTIMPL);
}

TEST_F(FilePaths, NamesThatAreNotUtf8AreListedAndOpenedUnchanged)
{
    WriteText("caf\xE9.syx", "latin-1");
    WriteText("\xFF\xFE", "bytes");
    WideStringArray files;
    ASSERT_EQ(File::FindFiles(Wide(mFolder), u"*", files), 2);
    for (std::int32_t i = 0; i < files.GetCount(); ++i)
    {
        const WideString& listed = files.GetAt(i);
        EXPECT_TRUE(File::FileExists(listed));
        EXPECT_EQ(Text(File::GetLongPath(listed)), Text(listed));
        File file(listed, WideString(), File::ModeRead);
        std::string text(file.GetLength(), '\0');
        EXPECT_EQ(file.Read(text.data(), file.GetLength(), 0), text.size());
        EXPECT_TRUE(text == "latin-1" || text == "bytes") << text;
    }

    File(Wide(mFolder), u"new\xDCE9", File::ModeWrite | File::ModeCreate).Write("x", 1, 0);
    EXPECT_EQ(ReadText("new\xE9"), "x");

    // A lone high surrogate names no file: refused, never cut short to another name.
    const WideString noName = Wide(mFolder / "new") + WideString(u'\xD800');
    const std::string text =
        RuntimeErrorText([&] { File(noName, WideString(), File::ModeWrite | File::ModeCreate); });
    EXPECT_TRUE(text.starts_with("Runtime Error : pathname not representable on disk : ")) << text;
    EXPECT_FALSE(File::FileExists(noName));
    EXPECT_EQ(File::EnsureDirectory(noName), E_FAIL);
    EXPECT_EQ(File::FindFiles(noName, u"*", files), File::E_NOTIMPL);
    EXPECT_EQ(std::distance(fs::directory_iterator(mFolder), fs::directory_iterator()), 3);
}

} // namespace
} // namespace QZ
