#include "Platform/Settings/SettingsFileIO.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IniSettings
{
namespace
{

constexpr int kMaxNameAttempts = 1000;

// Closes a descriptor when it goes out of scope.
class ScopedDescriptor
{
public:
    explicit ScopedDescriptor(int descriptor) : mDescriptor(descriptor) {}
    ~ScopedDescriptor()
    {
        if (mDescriptor >= 0)
        {
            ::close(mDescriptor);
        }
    }
    ScopedDescriptor(const ScopedDescriptor&) = delete;
    ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;

    int Get() const { return mDescriptor; }
    // Closes now, reporting whether the close (which may flush) succeeded.
    bool Close() { return ::close(std::exchange(mDescriptor, -1)) == 0; }

private:
    int mDescriptor;
};

bool WriteAll(int descriptor, std::string_view text)
{
    while (!text.empty())
    {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR)
        {
            continue;
        }
        if (written <= 0)
        {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
    {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& path)
{
    ScopedDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
    {
        ::fsync(folder.Get());
    }
}

// A new, empty temporary file beside path; -1 when none could be made.
int CreateTemporary(const std::string& path, std::string& temporary)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt)
    {
        temporary = path;
        temporary.append(".saving-").append(std::to_string(::getpid()));
        temporary.append("-").append(std::to_string(counter.fetch_add(1)));
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
        {
            return descriptor;
        }
    }
    return -1;
}

bool Exists(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

} // namespace

SettingsFileIO::ReadOutcome SettingsFileIO::ReadWholeFile(const std::string& path,
                                                          std::size_t limit, std::string& text)
{
    text.clear();
    ScopedDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
    {
        return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
    }
    struct stat status;
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
    {
        return ReadOutcome::Failed;
    }
    char chunk[65536];
    while (text.size() <= limit)
    {
        const ssize_t count = ::read(file.Get(), chunk, sizeof(chunk));
        if (count < 0 && errno == EINTR)
        {
            continue;
        }
        if (count < 0)
        {
            return ReadOutcome::Failed;
        }
        if (count == 0)
        {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(count));
    }
    if (text.size() > limit + 1)
    {
        text.resize(limit + 1);
    }
    return ReadOutcome::Read;
}

bool SettingsFileIO::WriteFileAtomically(const std::string& path, std::string_view text,
                                         const std::function<void()>& beforeRename)
{
    std::string temporary;
    ScopedDescriptor file(CreateTemporary(path, temporary));
    if (file.Get() < 0)
    {
        return false;
    }
    struct stat old;
    if (::stat(path.c_str(), &old) == 0)
    {
        ::fchmod(file.Get(), old.st_mode & 07777);
    }
    const bool written = WriteAll(file.Get(), text) && ::fsync(file.Get()) == 0;
    if (!file.Close() || !written)
    {
        ::unlink(temporary.c_str());
        return false;
    }
    if (beforeRename)
    {
        beforeRename();
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0)
    {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(path);
    return true;
}

std::optional<std::string> SettingsFileIO::SetFileAside(const std::string& path)
{
    for (int n = 1; n <= kMaxNameAttempts; ++n)
    {
        std::string candidate = path;
        candidate.append(".damaged");
        if (n > 1)
        {
            candidate.append("-").append(std::to_string(n));
        }
        if (Exists(candidate))
        {
            continue;
        }
        if (::rename(path.c_str(), candidate.c_str()) != 0)
        {
            return std::nullopt;
        }
        return candidate;
    }
    return std::nullopt;
}

} // namespace IniSettings
