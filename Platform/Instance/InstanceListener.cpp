#include "Platform/Instance/InstanceListener.h"

#include "Platform/Instance/InstanceSocket.h"
#include "Platform/Instance/SingleInstance.h"

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
constexpr int kBacklog = 8;
constexpr auto kPauseWhenOutOfDescriptors = std::chrono::milliseconds(100);

void ReportFailure(const std::string& path, const char* step)
{
    std::cerr << "InstanceListener::Start: " << step << " " << path << ": " << std::strerror(errno)
              << std::endl;
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
}

bool InstanceListener::Start(const std::string& path, std::function<void()> wake)
{
    sockaddr_un address;
    if (!InstanceSocket::MakeAddress(path, address))
    {
        std::cerr << "InstanceListener::Start: the socket path is too long: " << path << std::endl;
        return false;
    }
    mSocket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
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

std::vector<std::string> InstanceListener::TakeCommandLines()
{
    std::lock_guard<std::mutex> lock(mLock);
    return std::exchange(mReceived, {});
}

void InstanceListener::Serve()
{
    for (;;)
    {
        pollfd entries[2] = {{mSocket, POLLIN, 0}, {mStop, POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return;
        }
        if (entries[1].revents != 0)
        {
            return;
        }
        const int connection = ::accept4(mSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
        {
            ServeConnection(connection);
            ::close(connection);
        }
        else if (errno == EMFILE || errno == ENFILE)
        {
            // Out of descriptors: the waiting connection stays readable, so pause instead of
            // spinning until descriptors are free again.
            std::this_thread::sleep_for(kPauseWhenOutOfDescriptors);
        }
    }
}

// Reads one command line (its bytes up to the terminating zero, then the end of the stream),
// queues it and acknowledges. A text that is too long, unterminated or slower than the hand-over
// time-out is dropped unacknowledged.
void InstanceListener::ServeConnection(int connection)
{
    const auto deadline = InstanceSocket::Clock::now() + SingleInstance::kHandOverTimeout;
    std::string message;
    char buffer[4096];
    for (;;)
    {
        if (!InstanceSocket::WaitUntil(connection, POLLIN, deadline))
        {
            return;
        }
        const ssize_t count = ::recv(connection, buffer, sizeof(buffer), 0);
        if (count < 0 && errno == EINTR)
        {
            continue;
        }
        if (count <= 0)
        {
            break;
        }
        message.append(buffer, static_cast<std::size_t>(count));
        if (message.size() > SingleInstance::kMaxCommandLineBytes + 1)
        {
            return;
        }
    }
    if (message.empty() || message.back() != '\0')
    {
        return;
    }
    message.resize(std::strlen(message.c_str()));
    {
        std::lock_guard<std::mutex> lock(mLock);
        mReceived.push_back(std::move(message));
    }
    if (mWake)
    {
        mWake();
    }
    static_cast<void>(::send(connection, &kAcknowledge, 1, MSG_NOSIGNAL));
}

} // namespace QZ
