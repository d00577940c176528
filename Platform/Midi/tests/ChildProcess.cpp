#include "Platform/Midi/tests/ChildProcess.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace Platform::Testing
{

ChildProcess::~ChildProcess()
{
    Stop();
}

bool ChildProcess::Start(const std::vector<std::string>& arguments, const std::string& outputFile)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
    {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const char* output = outputFile.empty() ? "/dev/null" : outputFile.c_str();
    const pid_t parent = getpid();
    // The child writes to this pipe only when it could not run the program; a successful exec
    // closes it.
    int status[2];
    if (pipe2(status, O_CLOEXEC) != 0)
    {
        return false;
    }
    // Only async-signal-safe calls between fork and exec: the test has threads of its own.
    const pid_t pid = fork();
    if (pid == 0)
    {
        const char failed = 1;
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) == 0 && getppid() == parent)
        {
            const int out = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int null = open("/dev/null", O_WRONLY);
            if (out >= 0 && null >= 0 && dup2(out, STDOUT_FILENO) >= 0 &&
                dup2(null, STDERR_FILENO) >= 0)
            {
                execvp(argv[0], argv.data());
            }
        }
        (void)write(status[1], &failed, 1);
        _exit(127);
    }
    close(status[1]);
    char failed = 0;
    const bool started = pid > 0 && read(status[0], &failed, 1) == 0;
    close(status[0]);
    mPid = pid;
    if (!started)
    {
        Stop();
    }
    return started;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    if (mPid <= 0)
    {
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;)
    {
        if (waitpid(mPid, &status, WNOHANG) == mPid)
        {
            mPid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int ChildProcess::Stop(std::chrono::milliseconds patience)
{
    if (mPid <= 0)
    {
        return -1;
    }
    kill(mPid, SIGTERM);
    const int code = Wait(patience);
    if (mPid > 0)
    {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
        mPid = -1;
    }
    return code;
}

void ChildProcess::Kill()
{
    if (mPid > 0)
    {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
        mPid = -1;
    }
}

bool ChildProcess::IsOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
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

} // namespace Platform::Testing
