#include "Platform/Midi/tests/JackServer.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace Platform::Testing
{

bool JackServer::IsInstalled()
{
    return ChildProcess::IsOnPath("jackd") && ChildProcess::IsOnPath("jack_wait");
}

bool JackServer::Start(std::string& error)
{
    static std::atomic<int> sCount{0};
    mName = "qz-test-" + std::to_string(getpid()) + "-" + std::to_string(sCount++);
    if (!mServer.Start({"jackd", "-n", mName, "-d", "dummy", "-r", "48000", "-p", "64"}))
    {
        error = "JackServer::Start: jackd could not be started";
        return false;
    }
    setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    ChildProcess waiter;
    if (!waiter.Start({"jack_wait", "-w", "-t", "10", "-s", mName}) ||
        waiter.Wait(std::chrono::seconds(15)) != 0)
    {
        waiter.Stop();
        mServer.Stop();
        error = "JackServer::Start: server " + mName + " did not answer within ten seconds";
        return false;
    }
    return true;
}

} // namespace Platform::Testing
