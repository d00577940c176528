#include "Platform/Shell/CommandLine.h"
#include "Platform/Shell/DocumentLauncher.h"
#include "Platform/Shell/SpecialFolders.h"
#include "Platform/Shell/UserDirs.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

using namespace QZ::Shell;

TEST(UserDirs, FindsTheLastValidEntryOfTheKey)
{
    const struct
    {
        const char* text;
        const char* folder; // null: none
    } cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", "/home/u/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"", "/home/u"},
        {"XDG_DOCUMENTS_DIR=\"/srv/Dokumente \\\"A\\\"\"\r\n", "/srv/Dokumente \"A\""},
        {"  XDG_DOCUMENTS_DIR = \"/a\"  \nXDG_DOCUMENTS_DIR=\"/b\"\n", "/b"},
        {"XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"relative\"\n", "/a"},
        {"# XDG_DOCUMENTS_DIR=\"/a\"\nXDG_MUSIC_DIR=\"/m\"\n", nullptr},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"", nullptr},
        {"XDG_DOCUMENTS_DIR=\"$H\"", nullptr},
        {"XDG_DOCUMENTS_DIR=$HOME/x", nullptr},
        {"XDG_DOCUMENTS_DIR=\"/a\"b\"", nullptr},
        {"XDG_DOCUMENTS_DIR=\"", nullptr},
        {"XDG_DOCUMENTS_DIRX=\"/a\"", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases)
    {
        const auto folder = FindUserDir(c.text, "XDG_DOCUMENTS_DIR", "/home/u");
        if (c.folder == nullptr)
        {
            EXPECT_FALSE(folder) << c.text << " gave " << folder.value_or("");
        }
        else
        {
            EXPECT_EQ(folder.value_or("(none)"), c.folder) << c.text;
        }
    }
    EXPECT_FALSE(FindUserDir("XDG_DOCUMENTS_DIR=\"$HOME/x\"", "XDG_DOCUMENTS_DIR", ""));
}

TEST(CommandLine, ArgumentsJoinWithQuotingWhereNeeded)
{
    const struct
    {
        std::array<const char*, 2> arguments;
        const char* line;
    } cases[] = {
        {{"/opt/editor", "preset.Tarn61RededoVuvuva"}, "/opt/editor preset.Tarn61RededoVuvuva"},
        {{"/opt/my editor", "Grüße – Ä.syx"}, "\"/opt/my editor\" \"Grüße – Ä.syx\""},
        {{"a", ""}, "a \"\""},
        {{"say \"hi\"", "C:\\dir\\"}, "\"say \\\"hi\\\"\" C:\\dir\\"},
        {{"tab\there\\", "x\\\"y"}, "\"tab\there\\\\\" \"x\\\\\\\"y\""},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(JoinCommandLine(c.arguments), c.line);
    }
}

class SpecialFolderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = std::filesystem::temp_directory_path() /
                ("shell-folders-" + std::to_string(::getpid()));
        std::filesystem::create_directories(mRoot / "config");
        for (const char* name : {"HOME", "TMPDIR"})
        {
            const char* value = std::getenv(name);
            mSaved.emplace_back(name, value == nullptr ? std::nullopt
                                                       : std::optional<std::string>(value));
        }
        setenv("HOME", (mRoot / "home").c_str(), 1);
        setenv("TMPDIR", mRoot.c_str(), 1);
    }
    // The next tests of this program see the environment they started with.
    void TearDown() override
    {
        for (const auto& [name, value] : mSaved)
        {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
        std::filesystem::remove_all(mRoot);
    }

    std::string Path(const char* relative) const { return (mRoot / relative).string(); }

    std::filesystem::path mRoot;
    std::vector<std::pair<std::string, std::optional<std::string>>> mSaved;
};

TEST_F(SpecialFolderTest, XdgVariablesComeFirstThenHomeDefaultsThenTheFallback)
{
    const std::string fallback = Path(("qz-user-" + std::to_string(::getuid())).c_str());
    setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(GetSpecialFolderCandidates(SpecialFolder::SharedApplicationData),
              (std::vector<std::string>{Path("data"), Path("home/.local/share"), fallback}));
    EXPECT_EQ(GetSpecialFolderCandidates(SpecialFolder::LocalApplicationData),
              (std::vector<std::string>{Path("home/.config"), fallback}));
    EXPECT_EQ(GetSpecialFolderCandidates(SpecialFolder::Documents),
              (std::vector<std::string>{Path("home/Documents"), fallback}));

    setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
    std::ofstream(Path("config/user-dirs.dirs")) << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    EXPECT_EQ(GetSpecialFolderCandidates(SpecialFolder::Documents),
              (std::vector<std::string>{Path("home/Dokumente"), Path("home/Documents"), fallback}));

    setenv("HOME", "not/absolute", 1);
    setenv("TMPDIR", "also/relative", 1);
    const auto candidates = GetSpecialFolderCandidates(SpecialFolder::LocalApplicationData);
    EXPECT_EQ(candidates.front(), Path("config"));
    EXPECT_EQ(candidates.back(), "/tmp/qz-user-" + std::to_string(::getuid()));
    for (const std::string& candidate : candidates)
    {
        EXPECT_EQ(candidate.front(), '/') << candidate;
    }
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
}

TEST(ProgramPath, IsThisProcessFile)
{
    EXPECT_EQ(GetProgramPath().value_or(""), std::filesystem::read_symlink("/proc/self/exe"));
}

// The path reaches xdg-open as its one argument, whatever characters it holds; a missing file,
// a missing xdg-open and a failing one are failures.
TEST(DocumentLauncher, HandsThePathOverAsOneArgumentAndReportsFailures)
{
    const std::filesystem::path root =
        std::filesystem::path(testing::TempDir()) / ("launcher-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "bin");
    const std::filesystem::path document = root / "Guide \"$(touch pwned)\"; ' *.pdf";
    std::ofstream(document) << "%PDF";
    const std::filesystem::path seen = root / "seen";
    const std::filesystem::path opener = root / "bin" / "xdg-open";
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (root / "bin").c_str(), 1);
    const auto install = [&](const std::string& body)
    {
        std::ofstream(opener) << "#!/bin/sh\n" << body;
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    };

    install("printf '%s|%s' \"$#\" \"$1\" > '" + seen.string() + "'\n");
    EXPECT_TRUE(OpenDocument(document.string()));
    std::string text;
    std::getline(std::ifstream(seen), text);
    EXPECT_EQ(text, "1|" + document.string());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "pwned"));

    EXPECT_FALSE(OpenDocument((root / "missing.pdf").string()));
    install("exit 3\n");
    EXPECT_FALSE(OpenDocument(document.string()));
    std::filesystem::remove(opener);
    EXPECT_FALSE(OpenDocument(document.string()));

    setenv("PATH", savedPath.c_str(), 1);
    std::filesystem::remove_all(root);
}
