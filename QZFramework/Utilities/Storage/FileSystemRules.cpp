#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ
{
namespace
{

// Name attempts before giving up on finding a free temporary name.
constexpr int kMaxNameAttempts = 100;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
    {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opening without waiting leaves the descriptor non-blocking; reads of a regular file never wait
// anyway, but the descriptor is handed on as an ordinary one.
bool MakeBlocking(int descriptor)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    return flags >= 0 && ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Gives the new file the permission bits of the file it will replace; a replacement that cannot
// keep them (a private file would become readable by others) is not made.
bool KeepMode(const std::string& target, int descriptor)
{
    struct stat old;
    if (::stat(target.c_str(), &old) != 0)
    {
        return errno == ENOENT;
    }
    return ::fchmod(descriptor, old.st_mode & 07777) == 0;
}

} // namespace

FileSystemRules::OpenOutcome FileSystemRules::OpenRegularFile(const char* path, int flags,
                                                              int& descriptor, mode_t mode)
{
    descriptor = -1;
    // Looked at first so that a device or FIFO is not even opened: opening some devices acts on
    // them. The check after the open is the one that counts, since the path may change between.
    struct stat status;
    if (::stat(path, &status) == 0 && !S_ISREG(status.st_mode))
    {
        return OpenOutcome::NotRegular;
    }
    const int opened = ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (opened < 0)
    {
        return errno == ENOENT && (flags & O_CREAT) == 0 ? OpenOutcome::Missing
                                                         : OpenOutcome::Failed;
    }
    if (::fstat(opened, &status) != 0 || !MakeBlocking(opened))
    {
        ::close(opened);
        return OpenOutcome::Failed;
    }
    if (!S_ISREG(status.st_mode))
    {
        ::close(opened);
        return OpenOutcome::NotRegular;
    }
    descriptor = opened;
    return OpenOutcome::Opened;
}

bool FileSystemRules::FindFileToReplace(const std::string& path, std::string& target)
{
    target.clear();
    if (path.empty() || path.back() == '/')
    {
        return false;
    }
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0)
    {
        // Nothing there yet: the new file is made where path says (a missing folder fails then).
        const bool missing = errno == ENOENT;
        if (missing)
        {
            target = path;
        }
        return missing;
    }
    std::string found = path;
    if (S_ISLNK(status.st_mode))
    {
        const std::unique_ptr<char, decltype(&std::free)> resolved(
            ::realpath(path.c_str(), nullptr), &std::free);
        if (!resolved)
        {
            return false;
        }
        found = resolved.get();
    }
    // The effective check: the one the kernel makes for this process's own writes, which a
    // rename in a writable folder would bypass.
    if (::stat(found.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        ::faccessat(AT_FDCWD, found.c_str(), W_OK, AT_EACCESS) != 0)
    {
        return false;
    }
    target = std::move(found);
    return true;
}

int FileSystemRules::CreateTemporaryBeside(const std::string& target, std::string& temporary)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt)
    {
        temporary = target;
        temporary.append(".saving-").append(std::to_string(::getpid()));
        temporary.append("-").append(std::to_string(counter.fetch_add(1)));
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (descriptor >= 0 && KeepMode(target, descriptor))
        {
            return descriptor;
        }
        if (descriptor >= 0)
        {
            ::close(descriptor);
            ::unlink(temporary.c_str());
            break;
        }
        if (errno != EEXIST)
        {
            break;
        }
    }
    temporary.clear();
    return -1;
}

void FileSystemRules::SyncFolderOf(const std::string& path)
{
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0)
    {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace QZ
