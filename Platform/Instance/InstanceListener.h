// The first instance's side of the hand-over (see SingleInstance.h): a listening Unix-domain
// socket served by one thread, which queues each received command line with its connection.
//
// Connections are served side by side, each with a deadline for its whole message, so a
// peer that connects and stays silent (or trickles) holds up nobody else; past a number of open
// connections the oldest is dropped. A received text is answered only by the user-interface
// thread, when it takes the text (or acknowledges it while another toolkit holds the thread), so
// that a second start never hears from an instance whose user-interface thread hangs. It is
// answered only while its sender still waits and its deadline has not passed; otherwise it is
// dropped unanswered, so that a text is acted on exactly when its sender was told so. What waits
// for the user-interface thread is capped in count and bytes: a hand-over beyond that is dropped
// unanswered, so a flood costs bounded memory and the user-interface thread bounded work.
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
    // As long as a second start waits for its answer, counted from before it connects: no sender
    // is dropped while it still waits, and a text not answered by then has nobody waiting for
    // it. A silent connection holds up nobody meanwhile.
    static constexpr std::chrono::milliseconds kConnectionDeadline{2000};

    InstanceListener() = default;
    // Stops the thread, closes the unanswered connections and removes the socket file.
    ~InstanceListener();
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;

    // Replaces any file at path by the listening socket and starts serving; false when the
    // socket cannot be made (the reason is logged). wake is called from the listener's thread
    // after a command line was queued.
    bool Start(const std::string& path, std::function<void()> wake);
    // User-interface thread: answers the received texts whose senders still wait and drops the
    // others; the answered texts stay queued for TakeCommandLines.
    void AcknowledgeCommandLines();
    // User-interface thread: acknowledges as above, then takes the queued texts, oldest first.
    [[nodiscard]] std::vector<std::string> TakeCommandLines();

private:
    struct Connection
    {
        int descriptor;
        InstanceSocket::Clock::time_point deadline;
        std::string message;
    };
    struct Received
    {
        std::string commandLine;
        // Open until the text is answered or dropped.
        int descriptor;
        InstanceSocket::Clock::time_point deadline;
    };

    void Serve();
    void Accept();
    // Reads what is there; false when the connection is done (queued or dropped).
    bool Read(Connection& connection);
    void Finish(Connection& connection);
    void Queue(Received received);
    // With mLock held.
    void AcknowledgeLocked();

    std::string mPath;
    int mSocket = -1;
    int mStop = -1;
    std::function<void()> mWake;
    std::thread mThread;
    std::deque<Connection> mConnections;
    std::mutex mLock;
    std::vector<Received> mReceived;
    std::size_t mReceivedBytes = 0;
    bool mReportedDrop = false;
};

} // namespace QZ
