#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace QZ::FileSystemTest
{

UnprivilegedFileAccess::UnprivilegedFileAccess()
{
    if (::geteuid() == 0)
    {
        mOldUser = ::setfsuid(kUnprivilegedUser);
        mActive = true;
    }
}

UnprivilegedFileAccess::~UnprivilegedFileAccess()
{
    if (mActive)
    {
        ::setfsuid(static_cast<uid_t>(mOldUser));
    }
}

void GiveToUnprivilegedUser(const std::filesystem::path& path)
{
    if (::geteuid() == 0 && ::lchown(path.c_str(), kUnprivilegedUser, kUnprivilegedUser) != 0)
    {
        throw std::runtime_error("GiveToUnprivilegedUser: cannot give away " + path.string());
    }
}

void MakeFifo(const std::filesystem::path& path)
{
    if (::mkfifo(path.c_str(), 0644) != 0)
    {
        throw std::runtime_error("MakeFifo: cannot make " + path.string());
    }
}

void MakeSocketFile(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = path.string();
    if (name.size() >= sizeof(address.sun_path))
    {
        throw std::runtime_error("MakeSocketFile: path too long: " + name);
    }
    name.copy(address.sun_path, name.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool bound =
        socket >= 0 &&
        ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
        ::listen(socket, 1) == 0;
    if (socket >= 0)
    {
        ::close(socket);
    }
    if (!bound)
    {
        throw std::runtime_error("MakeSocketFile: cannot make " + name);
    }
}

bool ReturnsPromptly(const std::filesystem::path& fifo, const std::function<void()>& call)
{
    std::future<void> done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
    {
        done.get();
        return true;
    }
    // A reader waiting in open wakes once a writer has come, even one that is gone again.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0)
    {
        ::close(writer);
    }
    done.wait();
    return false;
}

} // namespace QZ::FileSystemTest
