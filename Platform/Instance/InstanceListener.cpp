#include "Platform/Instance/InstanceListener.h"

#include "Platform/Instance/InstanceSocket.h"
#include "Platform/Instance/SingleInstance.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <utility>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace QZ
{
namespace
{

constexpr char kAcknowledge = 1;
constexpr int kBacklog = SOMAXCONN;
constexpr auto kPauseWhenOutOfDescriptors = std::chrono::milliseconds(100);

void ReportFailure(const std::string& path, const char* step)
{
    std::cerr << "InstanceListener::Start: " << step << " " << path << ": " << std::strerror(errno)
              << std::endl;
}

// The poll time-out until the deadline: -1 (none) for the farthest time point, else at least 0,
// rounded up so that the deadline has passed when poll returns.
int MillisecondsUntil(InstanceSocket::Clock::time_point deadline)
{
    if (deadline == InstanceSocket::Clock::time_point::max())
    {
        return -1;
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - InstanceSocket::Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

} // namespace

InstanceListener::~InstanceListener()
{
    if (mThread.joinable())
    {
        const std::uint64_t one = 1;
        static_cast<void>(::write(mStop, &one, sizeof(one)));
        mThread.join();
    }
    if (mSocket >= 0)
    {
        ::unlink(mPath.c_str());
    }
    InstanceSocket::Close(mSocket);
    InstanceSocket::Close(mStop);
    for (Received& received : mReceived)
    {
        InstanceSocket::Close(received.descriptor);
    }
}

bool InstanceListener::Start(const std::string& path, std::function<void()> wake)
{
    sockaddr_un address;
    if (!InstanceSocket::MakeAddress(path, address))
    {
        std::cerr << "InstanceListener::Start: the socket path is too long: " << path << std::endl;
        return false;
    }
    mSocket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    mStop = ::eventfd(0, EFD_CLOEXEC);
    if (mSocket < 0 || mStop < 0)
    {
        ReportFailure(path, "cannot make the socket for");
        InstanceSocket::Close(mSocket);
        return false;
    }
    // Only the lock holder gets here, so a file left at the path belongs to a dead instance.
    ::unlink(path.c_str());
    if (::bind(mSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(mSocket, kBacklog) != 0)
    {
        ReportFailure(path, "cannot listen on");
        InstanceSocket::Close(mSocket);
        return false;
    }
    mPath = path;
    mWake = std::move(wake);
    mThread = std::thread([this] { Serve(); });
    return true;
}

void InstanceListener::AcknowledgeCommandLines()
{
    std::lock_guard<std::mutex> lock(mLock);
    AcknowledgeLocked();
}

std::vector<std::string> InstanceListener::TakeCommandLines()
{
    std::lock_guard<std::mutex> lock(mLock);
    AcknowledgeLocked();
    std::vector<std::string> commandLines;
    for (Received& received : mReceived)
    {
        commandLines.push_back(std::move(received.commandLine));
    }
    mReceived.clear();
    mReceivedBytes = 0;
    mReportedDrop = false;
    return commandLines;
}

// A sender that gave up has closed its end, so the answer fails and the text goes: the answer is
// what decides whether a text is acted on.
void InstanceListener::AcknowledgeLocked()
{
    const auto now = InstanceSocket::Clock::now();
    std::erase_if(mReceived,
                  [&](Received& received)
                  {
                      if (received.descriptor < 0)
                      {
                          return false;
                      }
                      const bool answered =
                          now < received.deadline &&
                          ::send(received.descriptor, &kAcknowledge, 1, MSG_NOSIGNAL) == 1;
                      InstanceSocket::Close(received.descriptor);
                      if (!answered)
                      {
                          mReceivedBytes -= received.commandLine.size();
                      }
                      return !answered;
                  });
}

void InstanceListener::Serve()
{
    std::vector<pollfd> entries;
    for (;;)
    {
        entries.assign({{mStop, POLLIN, 0}, {mSocket, POLLIN, 0}});
        auto wait = InstanceSocket::Clock::time_point::max();
        for (const Connection& connection : mConnections)
        {
            entries.push_back({connection.descriptor, POLLIN, 0});
            wait = std::min(wait, connection.deadline);
        }
        if (::poll(entries.data(), entries.size(), MillisecondsUntil(wait)) < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            break;
        }
        if (entries[0].revents != 0)
        {
            break;
        }
        const auto now = InstanceSocket::Clock::now();
        std::size_t entry = 2;
        for (auto connection = mConnections.begin(); connection != mConnections.end(); ++entry)
        {
            const bool open =
                (entries[entry].revents == 0 || Read(*connection)) && now < connection->deadline;
            if (open)
            {
                ++connection;
                continue;
            }
            InstanceSocket::Close(connection->descriptor);
            connection = mConnections.erase(connection);
        }
        if (entries[1].revents != 0)
        {
            Accept();
        }
    }
    for (Connection& connection : mConnections)
    {
        InstanceSocket::Close(connection.descriptor);
    }
    mConnections.clear();
}

void InstanceListener::Accept()
{
    for (;;)
    {
        const int descriptor = ::accept4(mSocket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor < 0)
        {
            if (errno == EMFILE || errno == ENFILE)
            {
                // Out of descriptors: the waiting connection stays readable, so pause instead of
                // spinning until descriptors are free again.
                std::this_thread::sleep_for(kPauseWhenOutOfDescriptors);
            }
            if (errno == EINTR || errno == ECONNABORTED)
            {
                continue;
            }
            return;
        }
        // The oldest has had the longest time to speak: a real hand-over is over in moments.
        if (mConnections.size() >= kMaxOpenConnections)
        {
            InstanceSocket::Close(mConnections.front().descriptor);
            mConnections.pop_front();
        }
        mConnections.push_back(
            {descriptor, InstanceSocket::Clock::now() + kConnectionDeadline, std::string()});
    }
}

// Reads the command line's bytes up to the terminating zero, then the end of the stream. A text
// that is too long or unterminated is dropped unacknowledged.
bool InstanceListener::Read(Connection& connection)
{
    char buffer[65536];
    for (;;)
    {
        const ssize_t count = ::recv(connection.descriptor, buffer, sizeof(buffer), 0);
        if (count < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        if (count == 0)
        {
            Finish(connection);
            return false;
        }
        connection.message.append(buffer, static_cast<std::size_t>(count));
        if (connection.message.size() > SingleInstance::kMaxCommandLineBytes + 1)
        {
            return false;
        }
    }
}

void InstanceListener::Finish(Connection& connection)
{
    std::string& message = connection.message;
    if (message.empty() || message.back() != '\0')
    {
        return;
    }
    message.resize(std::strlen(message.c_str()));
    // The connection stays open, now the queue's, until the user-interface thread answers it.
    Queue({std::move(message), std::exchange(connection.descriptor, -1), connection.deadline});
}

void InstanceListener::Queue(Received received)
{
    bool queued = false;
    bool report = false;
    std::size_t waiting = 0;
    {
        std::lock_guard<std::mutex> lock(mLock);
        waiting = mReceived.size();
        queued = waiting < kMaxQueuedCommandLines &&
                 mReceivedBytes + received.commandLine.size() <= kMaxQueuedBytes;
        if (queued)
        {
            mReceivedBytes += received.commandLine.size();
            mReceived.push_back(std::move(received));
        }
        else
        {
            report = !std::exchange(mReportedDrop, true);
        }
    }
    if (!queued)
    {
        InstanceSocket::Close(received.descriptor);
    }
    if (report)
    {
        std::cerr << "InstanceListener: " << waiting
                  << " command lines from other starts still wait; dropping further ones until "
                     "they are taken"
                  << std::endl;
    }
    // A full queue has been announced already.
    if (queued && mWake)
    {
        mWake();
    }
}

} // namespace QZ
