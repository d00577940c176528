#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
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
