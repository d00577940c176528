// The editor started at the same moment as the desktop's window manager, as a desktop session
// starts both: whenever within the manager's own start the editor asks for its main window to be
// shown, the window shows.
#include "App/tests/WalkSupport.h"
#include "App/tests/XWindowProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

pid_t Spawn(const char* program)
{
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t child = 0;
    return posix_spawnp(&child, program, nullptr, nullptr, argv, environ) == 0 ? child : 0;
}

// The exit code once the process ends within the time; -1 (and killed) when it does not.
int Finish(pid_t child, int timeoutMs)
{
    int status = 0;
    if (!WalkSupport::WaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; },
                              timeoutMs))
    {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class WindowManagerStart : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mProbe.IsOpen()) << "no X server: run under cmake/RunUnderXvfb.sh";
        mRoot = std::filesystem::temp_directory_path() / ("wmstart-" + std::to_string(::getpid()));
        WalkSupport::MakePrivateHome(mRoot);
    }
    void TearDown() override { std::filesystem::remove_all(mRoot); }

    // Starts the editor and, once its window exists, the window manager after the pause; how
    // long the window took from being made to being shown (or -1 when it never showed), and
    // whether the editor then ended with 0 when closed.
    milliseconds StartBoth(milliseconds pause, bool withManager, bool& endedWell)
    {
        const pid_t editor = Spawn(QZ_EDITOR_PROGRAM);
        unsigned long window = 0;
        EXPECT_TRUE(WalkSupport::WaitFor(
            [&] { return (window = mProbe.FindTopLevelWindow(editor)) != 0; }, 30000));
        const auto made = Clock::now();
        std::this_thread::sleep_until(made + pause);
        const pid_t manager = withManager ? Spawn("openbox") : 0;
        unsigned long shown = 0;
        const bool showed = WalkSupport::WaitFor(
            [&] { return (shown = mProbe.FindWindow(editor)) != 0; }, 10000);
        const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - made);
        mProbe.Close(shown != 0 ? shown : window);
        endedWell = Finish(editor, 20000) == 0;
        if (manager > 0)
        {
            ::kill(manager, SIGTERM);
            ::waitpid(manager, nullptr, 0);
        }
        return showed ? took : milliseconds(-1);
    }

    std::filesystem::path mRoot;
    XWindowProbe mProbe;
};

TEST_F(WindowManagerStart, EveryStartShowsTheMainWindowWheneverTheManagerStarts)
{
    // How long the editor takes from making its window to showing it, with nothing else
    // starting: the window manager is then started that much earlier, less a little more each
    // time, so that the editor asks for its window at every moment of the manager's own start.
    bool endedWell = false;
    const milliseconds alone = StartBoth(milliseconds(0), false, endedWell);
    ASSERT_GE(alone.count(), 0) << "the window never shows without a window manager";
    ASSERT_TRUE(endedWell);
    for (int start = 0; start < 20; ++start)
    {
        const milliseconds before = milliseconds(10 + 2 * start);
        SCOPED_TRACE("the manager started " + std::to_string(before.count()) +
                     " ms before the editor shows its window");
        const milliseconds took =
            StartBoth(std::max(milliseconds(0), alone - before), true, endedWell);
        EXPECT_GE(took.count(), 0) << "the main window never shows";
        EXPECT_TRUE(endedWell) << "the editor does not end with 0";
    }
}

} // namespace
