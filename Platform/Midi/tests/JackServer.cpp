#include "Platform/Midi/tests/JackServer.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace Platform::Testing
{
namespace
{

bool IsOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size())
    {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
        {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Starts program with its output sent to /dev/null; -1 on failure.
pid_t Spawn(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
    {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

// Waits for the process to end, at most timeout; true when it ended (and was reaped).
bool WaitForExit(pid_t pid, std::chrono::milliseconds timeout, int* status)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        if (waitpid(pid, status, WNOHANG) == pid)
        {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

JackServer::~JackServer()
{
    Stop();
}

bool JackServer::IsInstalled()
{
    return IsOnPath("jackd") && IsOnPath("jack_wait");
}

bool JackServer::Start(std::string& error)
{
    static std::atomic<int> sCount{0};
    mName = "qz-test-" + std::to_string(getpid()) + "-" + std::to_string(sCount++);
    mPid = Spawn({"jackd", "-n", mName, "-d", "dummy", "-r", "48000", "-p", "64"});
    if (mPid < 0)
    {
        error = "JackServer::Start: jackd could not be started";
        return false;
    }
    setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    const pid_t waiter = Spawn({"jack_wait", "-w", "-t", "10", "-s", mName});
    int status = 0;
    const bool ended = waiter >= 0 && WaitForExit(waiter, std::chrono::seconds(15), &status);
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    {
        if (waiter >= 0 && !ended)
        {
            kill(waiter, SIGKILL);
            waitpid(waiter, &status, 0);
        }
        Stop();
        error = "JackServer::Start: server " + mName + " did not answer within ten seconds";
        return false;
    }
    return true;
}

void JackServer::Stop()
{
    if (mPid < 0)
    {
        return;
    }
    int status = 0;
    kill(mPid, SIGTERM);
    if (!WaitForExit(mPid, std::chrono::seconds(5), &status))
    {
        kill(mPid, SIGKILL);
        waitpid(mPid, &status, 0);
    }
    mPid = -1;
}

} // namespace Platform::Testing
