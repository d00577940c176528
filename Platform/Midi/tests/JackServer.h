// A private JACK server for tests over real MIDI ports: jackd with the dummy driver (no sound
// hardware needed) under a name of its own, so that parallel test programs never share one.
// Starting it points this process's JACK clients at it and forbids them to start a server.
// Destroy every JACK client before the server: stopping ends jackd by its process id, and a test
// that dies takes its server with it (see ChildProcess). Servers
// started at the same time by two test programs can trip over each other while they set up, so
// the tests that start one share the CTest resource lock "jackd".
#pragma once

#include "Platform/Midi/tests/ChildProcess.h"

#include <string>

namespace Platform::Testing
{

class JackServer
{
public:
    // True when jackd and jack_wait are on the PATH.
    static bool IsInstalled();

    // Starts the server and waits until it answers, at most ten seconds. On failure error says
    // why and nothing is left running.
    bool Start(std::string& error);
    // Ends the server; false when it had to be killed. A server left with a client that was
    // killed outright does not end by itself, and one that is killed keeps its place in the
    // user's registry of servers, which holds eight: once it is full no test server starts.
    [[nodiscard]] bool Stop();

    const std::string& GetName() const { return mName; }

private:
    std::string mName;
    ChildProcess mServer;
};

} // namespace Platform::Testing
