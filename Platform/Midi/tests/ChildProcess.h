// A program started by a test, stopped by its process id: by the test on every normal road, and
// by the system when the test dies (a crash included), because the child asks for SIGTERM on the
// death of the thread that started it. Start it from the test's main thread.
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

    // True when arguments[0] (looked up on the PATH) could be started. Its standard output goes
    // to outputFile (created or emptied) when one is given; everything else it prints is
    // discarded.
    bool Start(const std::vector<std::string>& arguments, const std::string& outputFile = {});
    // Waits for the program to end by itself, at most timeout; its exit code, or -1 when it did
    // not end (it is then still running) or did not exit normally.
    int Wait(std::chrono::milliseconds timeout);
    // SIGTERM, then SIGKILL once patience has run out; the exit code as Wait gives it.
    int Stop(std::chrono::milliseconds patience = std::chrono::seconds(5));
    // SIGKILL at once, as a program that crashes or loses its device would end; waits for it.
    void Kill();
    [[nodiscard]] bool IsRunning() const { return mPid > 0; }

    // True when program is an executable file in a folder of the PATH.
    static bool IsOnPath(const std::string& program);

private:
    pid_t mPid = -1;
};

} // namespace Platform::Testing
