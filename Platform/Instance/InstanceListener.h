// The first instance's side of the hand-over (see SingleInstance.h): a listening Unix-domain
// socket served by one thread, which queues each received command line.
//
// Connections are served side by side, each with a deadline for its whole message, so a
// peer that connects and stays silent (or trickles) holds up nobody else; past a number of open
// connections the oldest is dropped. What waits for the user-interface thread is capped in count
// and bytes: a hand-over beyond that is acknowledged but dropped, so a flood costs bounded memory
// and the user-interface thread bounded work.
#pragma once

#include "Platform/Instance/InstanceSocket.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QZ
{

class InstanceListener
{
public:
    static constexpr std::size_t kMaxQueuedCommandLines = 8;
    static constexpr std::size_t kMaxQueuedBytes = 4 << 20;
    static constexpr std::size_t kMaxOpenConnections = 32;
    // As long as a second start waits for its answer, so no sender is dropped while it still
    // waits; a silent connection holds up nobody meanwhile.
    static constexpr std::chrono::milliseconds kConnectionDeadline{2000};

    InstanceListener() = default;
    // Stops the thread and removes the socket file.
    ~InstanceListener();
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;

    // Replaces any file at path by the listening socket and starts serving; false when the
    // socket cannot be made (the reason is logged). wake is called from the listener's thread
    // after a command line was queued.
    bool Start(const std::string& path, std::function<void()> wake);
    [[nodiscard]] std::vector<std::string> TakeCommandLines();

private:
    struct Connection
    {
        int descriptor;
        InstanceSocket::Clock::time_point deadline;
        std::string message;
    };

    void Serve();
    void Accept();
    // Reads what is there; false when the connection is done (answered or dropped).
    bool Read(Connection& connection);
    void Finish(Connection& connection);
    void Queue(std::string commandLine);

    std::string mPath;
    int mSocket = -1;
    int mStop = -1;
    std::function<void()> mWake;
    std::thread mThread;
    std::deque<Connection> mConnections;
    std::mutex mLock;
    std::vector<std::string> mReceived;
    std::size_t mReceivedBytes = 0;
    bool mReportedDrop = false;
};

} // namespace QZ
