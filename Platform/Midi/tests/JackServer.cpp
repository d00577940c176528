#include "Platform/Midi/tests/JackServer.h"

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace Platform::Testing
{
namespace
{

void IgnoreJackMessage(const char*) {}

// True once a client of a name no other process uses can join the server, at most ten seconds.
bool WaitForServer(const std::string& server)
{
    jack_set_error_function(IgnoreJackMessage);
    jack_set_info_function(IgnoreJackMessage);
    const std::string client = "qz-wait-" + std::to_string(getpid());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline)
    {
        jack_status_t status{};
        jack_client_t* probe = jack_client_open(
            client.c_str(), static_cast<jack_options_t>(JackNoStartServer | JackServerName),
            &status, server.c_str());
        if (probe != nullptr)
        {
            jack_client_close(probe);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace

bool JackServer::IsInstalled()
{
    return ChildProcess::IsOnPath("jackd");
}

bool JackServer::Start(std::string& error)
{
    static std::atomic<int> sCount{0};
    mName = "qz-test-" + std::to_string(getpid()) + "-" + std::to_string(sCount++);
    // A generous client time-out keeps a loaded machine (sanitizer builds, parallel tests) from
    // making the server give up on its clients.
    if (!mServer.Start(
            {"jackd", "-n", mName, "-t", "10000", "-d", "dummy", "-r", "48000", "-p", "64"}))
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

} // namespace Platform::Testing
