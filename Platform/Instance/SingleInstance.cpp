#include "Platform/Instance/SingleInstance.h"

#include "Platform/Instance/InstanceListener.h"
#include "Platform/Instance/InstanceSocket.h"
#include "Platform/Shell/PrivateFolder.h"
#include "Platform/Shell/SpecialFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ
{
namespace
{

using InstanceSocket::Clock;

constexpr auto kRetryPause = std::chrono::milliseconds(50);

// Which socket file is at the path: its inode and change time, zero when there is none.
struct SocketIdentity
{
    ino_t inode = 0;
    timespec changed{};

    explicit SocketIdentity(const std::string& path)
    {
        struct stat status;
        if (::stat(path.c_str(), &status) == 0)
        {
            inode = status.st_ino;
            changed = status.st_ctim;
        }
    }
    bool operator==(const SocketIdentity& other) const
    {
        return inode == other.inode && changed.tv_sec == other.changed.tv_sec &&
               changed.tv_nsec == other.changed.tv_nsec;
    }
};

// Writes the whole text by the deadline.
bool SendAll(int connection, std::string_view bytes, Clock::time_point deadline)
{
    while (!bytes.empty())
    {
        if (!InstanceSocket::WaitUntil(connection, POLLOUT, deadline))
        {
            return false;
        }
        const ssize_t sent = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno != EINTR && errno != EAGAIN)
        {
            return false;
        }
        bytes.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
    }
    return true;
}

// One attempt: connect, send the text with its terminating zero, wait for the acknowledgement.
bool TryHandOver(const sockaddr_un& address, std::string_view commandLine,
                 Clock::time_point deadline)
{
    int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    bool delivered = false;
    if (connection >= 0 &&
        ::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
        SendAll(connection, std::string(commandLine) + '\0', deadline) &&
        ::shutdown(connection, SHUT_WR) == 0 &&
        InstanceSocket::WaitUntil(connection, POLLIN, deadline))
    {
        char answer = 0;
        delivered = ::recv(connection, &answer, 1, 0) == 1 && answer == 1;
    }
    InstanceSocket::Close(connection);
    return delivered;
}

} // namespace

SingleInstance::SingleInstance(std::string folder, std::string name)
    : mFolder(std::move(folder)), mName(std::move(name))
{
}

SingleInstance::~SingleInstance()
{
    mListener.reset();
    InstanceSocket::Close(mLockFile);
}

std::string SingleInstance::GetRuntimeFolder()
{
    // Only a folder that nobody else can enter: another user's lock and socket there would take
    // this user's command lines and end the program.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
    {
        if (Shell::IsPrivateFolder(runtime))
        {
            return runtime;
        }
        std::cerr << "SingleInstance: XDG_RUNTIME_DIR " << runtime
                  << " is not a private folder of this user; not used" << std::endl;
    }
    const std::string folder = Shell::GetFallbackFolder();
    if (Shell::MakePrivateFolder(folder))
    {
        return folder;
    }
    std::cerr << "SingleInstance: " << folder << " is not a private folder of this user; not used"
              << std::endl;
    return std::string();
}

InstanceRole SingleInstance::Claim()
{
    const int error = TakeLock();
    if (error == EWOULDBLOCK)
    {
        return InstanceRole::Second;
    }
    if (error != 0)
    {
        std::cerr << "SingleInstance::Claim: cannot lock " << mFolder << "/" << mName
                  << ".lock: " << std::strerror(error)
                  << "; running without the single-instance lock" << std::endl;
    }
    return InstanceRole::First;
}

int SingleInstance::TakeLock()
{
    const std::string path = mFolder + "/" + mName + ".lock";
    mLockFile = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    int result = -1;
    while (mLockFile >= 0 && (result = ::flock(mLockFile, LOCK_EX | LOCK_NB)) != 0 &&
           errno == EINTR)
    {
    }
    if (result == 0)
    {
        return 0;
    }
    const int error = errno;
    InstanceSocket::Close(mLockFile);
    return error;
}

bool SingleInstance::Listen(std::function<void()> wake)
{
    mListener = std::make_unique<InstanceListener>();
    if (!mListener->Start(GetSocketPath(), std::move(wake)))
    {
        mListener.reset();
        return false;
    }
    return true;
}

HandOverResult SingleInstance::HandOver(std::string_view commandLine,
                                        std::chrono::milliseconds timeout)
{
    if (commandLine.size() > kMaxCommandLineBytes)
    {
        return HandOverResult::TooLong;
    }
    sockaddr_un address;
    if (!InstanceSocket::MakeAddress(GetSocketPath(), address))
    {
        return HandOverResult::NoAnswer;
    }
    // The first instance may be between taking its lock and listening: try again until the
    // deadline.
    auto deadline = Clock::now() + timeout;
    SocketIdentity socket(GetSocketPath());
    while (Clock::now() < deadline)
    {
        if (TryHandOver(address, commandLine, deadline))
        {
            return HandOverResult::Delivered;
        }
        // A failed attempt may have met a first instance that has ended: its lock is free then,
        // and flock gives it to one waiting start only.
        if (TakeLock() == 0)
        {
            return HandOverResult::TookOver;
        }
        // Another waiting start that took the lock over makes the socket anew: as a new first
        // instance it gets the whole wait to start and answer.
        if (const SocketIdentity now(GetSocketPath()); !(now == socket))
        {
            socket = now;
            deadline = Clock::now() + timeout;
        }
        std::this_thread::sleep_for(
            std::min<Clock::duration>(kRetryPause, deadline - Clock::now()));
    }
    return HandOverResult::NoAnswer;
}

void SingleInstance::AcknowledgeCommandLines()
{
    if (mListener)
    {
        mListener->AcknowledgeCommandLines();
    }
}

std::vector<std::string> SingleInstance::TakeCommandLines()
{
    return mListener ? mListener->TakeCommandLines() : std::vector<std::string>();
}

std::string SingleInstance::GetSocketPath() const
{
    return mFolder + "/" + mName + ".socket";
}

} // namespace QZ
