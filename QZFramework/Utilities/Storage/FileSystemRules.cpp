#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ
{
namespace
{

// Name attempts before giving up on finding a free temporary name.
constexpr int kMaxNameAttempts = 100;
constexpr std::string_view kTemporaryInfix = ".saving-";

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

// Tries names "<target>.saving-<pid>-<n>" until one is free; makes it with make (a name to a
// result, false with errno EEXIST when the name is taken).
template <typename Make>
bool UseFreeTemporaryName(const std::string& target, std::string& temporary, Make make)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt)
    {
        temporary = target;
        temporary.append(kTemporaryInfix).append(std::to_string(::getpid()));
        temporary.append("-").append(std::to_string(counter.fetch_add(1)));
        if (make(temporary))
        {
            return true;
        }
        if (errno != EEXIST)
        {
            break;
        }
    }
    temporary.clear();
    return false;
}

int CreateNamedBeside(const std::string& target, std::string& temporary)
{
    int descriptor = -1;
    const auto make = [&](const std::string& name)
    {
        descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        return descriptor >= 0;
    };
    if (!UseFreeTemporaryName(target, temporary, make))
    {
        return -1;
    }
    if (!KeepMode(target, descriptor))
    {
        const int error = errno;
        ::close(descriptor);
        ::unlink(temporary.c_str());
        temporary.clear();
        errno = error;
        return -1;
    }
    return descriptor;
}

// Gives the unnamed file a temporary name beside target.
bool LinkUnnamed(int descriptor, const std::string& target, std::string& temporary)
{
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return UseFreeTemporaryName(target, temporary,
                                [&](const std::string& name) {
                                    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(),
                                                    AT_SYMLINK_FOLLOW) == 0;
                                });
}

// The process id of a temporary file's name "<base>.saving-<pid>-<n>", or 0 when the name is not
// one of base's.
pid_t TemporaryOwner(std::string_view name, std::string_view base)
{
    if (!name.starts_with(base) || !name.substr(base.size()).starts_with(kTemporaryInfix))
    {
        return 0;
    }
    name.remove_prefix(base.size() + kTemporaryInfix.size());
    const std::size_t dash = name.find('-');
    const auto isNumber = [](std::string_view digits)
    {
        return !digits.empty() && digits.size() < 10 &&
               digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dash == std::string_view::npos || !isNumber(name.substr(0, dash)) ||
        !isNumber(name.substr(dash + 1)))
    {
        return 0;
    }
    return static_cast<pid_t>(std::stol(std::string(name.substr(0, dash))));
}

// Removes target's temporary files whose process is gone: a save killed between naming its file
// and renaming it. Files of live processes (this one's other threads too) are theirs.
void SweepStaleTemporaries(const std::string& target)
{
    DIR* folder = ::opendir(FolderOf(target).c_str());
    if (folder == nullptr)
    {
        return;
    }
    const std::size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    while (const dirent* entry = ::readdir(folder))
    {
        const pid_t owner = TemporaryOwner(entry->d_name, base);
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
        {
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
    }
    ::closedir(folder);
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
    temporary.clear();
    const int unnamed =
        ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_NOCTTY | O_CLOEXEC, 0666);
    if (unnamed < 0)
    {
        // A file system without unnamed files says so with one of these.
        return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL
                   ? CreateNamedBeside(target, temporary)
                   : -1;
    }
    if (!KeepMode(target, unnamed))
    {
        const int error = errno;
        ::close(unnamed);
        errno = error;
        return -1;
    }
    return unnamed;
}

bool FileSystemRules::PutInPlace(int descriptor, std::string& temporary, const std::string& target)
{
    if (temporary.empty() && !LinkUnnamed(descriptor, target, temporary))
    {
        return false;
    }
    const bool renamed = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!renamed)
    {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
    }
    temporary.clear();
    if (renamed)
    {
        SweepStaleTemporaries(target);
    }
    return renamed;
}

std::string FileSystemRules::DescribeRefusal(const std::string& path, int errorNumber)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode) &&
        ::stat(path.c_str(), &status) != 0)
    {
        return errno == ELOOP ? "a loop of symbolic links is in its place"
                              : "a symbolic link that leads nowhere is in its place";
    }
    if (::stat(path.c_str(), &status) == 0)
    {
        if (S_ISDIR(status.st_mode))
        {
            return "a folder is in its place";
        }
        if (!S_ISREG(status.st_mode))
        {
            return "a FIFO, socket or device is in its place, and those are never written";
        }
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        {
            return std::string("the file may not be written (") + std::strerror(errno) + ")";
        }
    }
    if (::faccessat(AT_FDCWD, FolderOf(path).c_str(), W_OK, AT_EACCESS) != 0)
    {
        return std::string("its folder may not be written (") + std::strerror(errno) + ")";
    }
    return std::strerror(errorNumber);
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
