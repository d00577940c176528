// A test's child program (its JACK server above all) must not outlive the test, even when the
// test crashes: eight servers left behind make every later server start fail.
#include "Platform/Midi/tests/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace Platform::Testing
{
namespace
{

// True while pid runs (a zombie nobody reaped yet counts as gone).
bool IsAlive(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    for (int i = 0; i < 3 && stat >> field; ++i)
    {
    }
    return stat && field != "Z" && field != "X";
}

// The process id the child program wrote first to its output, waiting for it at most two seconds.
pid_t ReadPid(const std::string& path)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline)
    {
        std::ifstream file(path);
        pid_t pid = 0;
        if (file >> pid && pid > 0)
        {
            return pid;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

bool WaitUntilGone(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (IsAlive(pid) && std::chrono::steady_clock::now() < deadline)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !IsAlive(pid);
}

const std::vector<std::string> kSleeper = {"sh", "-c", "echo $$; exec sleep 30"};

TEST(ChildProcess, IsStoppedWhenItsTestEndsOrCrashes)
{
    const std::string output = ::testing::TempDir() + "child-" + std::to_string(getpid());
    {
        ChildProcess child;
        ASSERT_TRUE(child.Start(kSleeper, output));
        const pid_t pid = ReadPid(output);
        ASSERT_GT(pid, 0);
        EXPECT_TRUE(IsAlive(pid));
        EXPECT_EQ(child.Stop(), -1);
        EXPECT_FALSE(IsAlive(pid));
    }

    // A test process that starts a child and then crashes, leaving no destructor to run.
    const pid_t test = fork();
    if (test == 0)
    {
        ChildProcess child;
        if (!child.Start(kSleeper, output) || ReadPid(output) <= 0)
        {
            _exit(1);
        }
        std::abort();
    }
    ASSERT_GT(test, 0);
    int status = 0;
    ASSERT_EQ(waitpid(test, &status, 0), test);
    EXPECT_TRUE(WIFSIGNALED(status));
    const pid_t orphan = ReadPid(output);
    ASSERT_GT(orphan, 0);
    EXPECT_TRUE(WaitUntilGone(orphan));
    std::remove(output.c_str());

    EXPECT_FALSE(ChildProcess().Start({"qz-no-such-program"}));
}

} // namespace
} // namespace Platform::Testing
