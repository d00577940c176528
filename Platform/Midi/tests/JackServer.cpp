#include "Platform/Midi/tests/JackServer.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace Platform::Testing
{
namespace
{

// True once the server answers, at most ten seconds. jack_wait asks from a process of its own, so
// the test's process opens no JACK client of its own for it.
bool WaitForServer(const std::string& server)
{
    ChildProcess wait;
    const std::string client = "qz-wait-" + std::to_string(getpid());
    return wait.Start({"jack_wait", "-s", server, "-n", client, "-w", "-t", "10"}) &&
           wait.Wait(std::chrono::seconds(12)) == 0;
}

} // namespace

bool JackServer::IsInstalled()
{
    return ChildProcess::IsOnPath("jackd") && ChildProcess::IsOnPath("jack_wait");
}

bool JackServer::Start(std::string& error)
{
    static std::atomic<int> sCount{0};
    mName = "qz-test-" + std::to_string(getpid()) + "-" + std::to_string(sCount++);
    // Synchronous mode makes each period wait for every client, and the generous time-out keeps
    // the server from giving up on one: on a loaded machine without real-time scheduling
    // (sanitizer builds, parallel tests) a late client would otherwise miss a period's events.
    if (!mServer.Start({"jackd", "-S", "-n", mName, "-t", "10000", "-d", "dummy", "-r", "48000",
                        "-p", "64"}))
    {
        error = "JackServer::Start: jackd could not be started";
        return false;
    }
    setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    if (!WaitForServer(mName))
    {
        mServer.Stop();
        error = "JackServer::Start: server " + mName + " did not answer within ten seconds";
        return false;
    }
    return true;
}

bool JackServer::Stop()
{
    // The patience only bounds a server that hangs; one that ends normally takes a second.
    return !mServer.IsRunning() || mServer.Stop(std::chrono::seconds(30)) == 0;
}

} // namespace Platform::Testing
