// A program started by a test, with its output discarded, stopped by its process id.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Platform::Testing
{

class ChildProcess
{
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // True when arguments[0] (looked up on the PATH) could be started.
    bool Start(const std::vector<std::string>& arguments);
    // Waits for the program to end by itself, at most timeout; its exit code, or -1 when it did
    // not end (it is then still running) or did not exit normally.
    int Wait(std::chrono::milliseconds timeout);
    // SIGTERM, then SIGKILL after five seconds; the exit code as Wait gives it.
    int Stop();
    [[nodiscard]] bool IsRunning() const { return mPid > 0; }

    // True when program is an executable file in a folder of the PATH.
    static bool IsOnPath(const std::string& program);

private:
    pid_t mPid = -1;
};

} // namespace Platform::Testing
