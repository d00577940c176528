// The editor program as whole processes: a normal start, the hand-over from a second start, a
// start after a killed first instance, and a start that fails.
#include "Platform/Instance/SingleInstance.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace QZ;

namespace
{

constexpr const char* kInstanceName = "Korvane_Tarn 61 Vidida EditorPrevent";

struct ProcessResult
{
    int exitCode = -1;
    std::string out;
    std::string errors;
};

class ProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = std::filesystem::temp_directory_path() / ("prog-" + std::to_string(::getpid()));
        for (const char* folder : {"home", "runtime"})
        {
            std::filesystem::create_directories(mRoot / folder);
        }
        std::filesystem::permissions(mRoot / "runtime", std::filesystem::perms::owner_all);
        setenv("HOME", (mRoot / "home").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", Runtime().c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        // Only runs that must reach the window system see the display: a failing start would
        // otherwise wait in its error box.
        static const std::string display =
            std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
        mDisplay = display;
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    void TearDown() override { std::filesystem::remove_all(mRoot); }

    std::string Runtime() const { return (mRoot / "runtime").string(); }

    ProcessResult StartWithDisplay(const char* program) const
    {
        setenv("DISPLAY", mDisplay.c_str(), 1);
        ProcessResult result = Start(program);
        unsetenv("DISPLAY");
        return result;
    }

    ProcessResult Start(const char* program, std::vector<std::string> arguments = {}) const
    {
        const std::string out = (mRoot / "out").string();
        const std::string errors = (mRoot / "errors").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
        {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t child = 0;
        ProcessResult result;
        if (posix_spawn(&child, program, &actions, nullptr, argv.data(), environ) == 0)
        {
            int status = 0;
            ::waitpid(child, &status, 0);
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        result.out = ReadFile(out);
        result.errors = ReadFile(errors);
        return result;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    std::filesystem::path mRoot;
    std::string mDisplay;
};

constexpr const char* kStarted = "the editor window is not built yet";

} // namespace

TEST_F(ProgramTest, ANormalStartRunsWholeAndEndsWithZero)
{
    const ProcessResult result = StartWithDisplay(QZ_EDITOR_PROGRAM);
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.out.find(kStarted), std::string::npos) << result.out;
}

TEST_F(ProgramTest, WithoutADisplayTheStartEndsNamingWhatIsMissing)
{
    const ProcessResult result = Start(QZ_EDITOR_PROGRAM);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("DISPLAY"), std::string::npos) << result.errors;
    EXPECT_NE(result.errors.find("WAYLAND_DISPLAY"), std::string::npos) << result.errors;
    EXPECT_EQ(result.out.find(kStarted), std::string::npos) << result.out;
}

TEST_F(ProgramTest, ASecondStartHandsItsCommandLineOverAndEndsWithZero)
{
    SingleInstance first(Runtime(), kInstanceName);
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(nullptr));
    const ProcessResult result =
        Start(QZ_EDITOR_PROGRAM, {"/home/ü/Grüße 夜.Tarn61RededoVuvuva", "-x"});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.out.find(kStarted), std::string::npos) << result.out;
    EXPECT_EQ(first.TakeCommandLines(),
              std::vector<std::string>{std::string(QZ_EDITOR_PROGRAM) +
                                       " \"/home/ü/Grüße 夜.Tarn61RededoVuvuva\" -x"});
}

TEST_F(ProgramTest, AKilledFirstInstanceDoesNotBlockTheNextStart)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0)
    {
        SingleInstance first(Runtime(), kInstanceName);
        static_cast<void>(first.Claim());
        static_cast<void>(first.Listen(nullptr));
        static_cast<void>(::write(ready[1], "r", 1));
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    const ProcessResult result = StartWithDisplay(QZ_EDITOR_PROGRAM);
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.out.find(kStarted), std::string::npos) << result.out;
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(ProgramTest, AMissingSkinResourceEndsTheStartWithTheErrorTextAndNonZero)
{
    const ProcessResult result = Start(QZ_MISSING_SKIN_PROGRAM);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find(
                  "Error: The application encountered problems during startup and will now close."),
              std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("Failed Result : QZRESULT = 80070716"), std::string::npos)
        << result.errors;
    EXPECT_EQ(result.out.find(kStarted), std::string::npos);
}
