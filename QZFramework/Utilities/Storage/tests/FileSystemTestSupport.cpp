#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ::FileSystemTest
{

ScratchFolder::ScratchFolder(const char* prefix)
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
    {
        throw std::runtime_error("ScratchFolder: mkdtemp failed");
    }
    mPath = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(mPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(mPath, ignored);
}

std::vector<std::string> ScratchFolder::Entries() const
{
    std::vector<std::string> names;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(mPath))
    {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

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
