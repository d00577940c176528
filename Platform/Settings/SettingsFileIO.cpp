#include "Platform/Settings/SettingsFileIO.h"

#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IniSettings
{
namespace
{

// Names tried for a damaged file before giving up.
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
    int descriptor = -1;
    switch (QZ::FileSystemRules::OpenRegularFile(path.c_str(), O_RDONLY, descriptor))
    {
    case QZ::FileSystemRules::OpenOutcome::Opened:
        break;
    case QZ::FileSystemRules::OpenOutcome::Missing:
        return ReadOutcome::Missing;
    case QZ::FileSystemRules::OpenOutcome::NotRegular:
    case QZ::FileSystemRules::OpenOutcome::Failed:
        return ReadOutcome::Failed;
    }
    ScopedDescriptor file(descriptor);
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
                                         const std::function<void()>& beforeRename,
                                         std::string* reason)
{
    const auto fail = [&](std::string why)
    {
        if (reason != nullptr)
        {
            *reason = std::move(why);
        }
        return false;
    };
    std::string target;
    if (!QZ::FileSystemRules::FindFileToReplace(path, target))
    {
        return fail(QZ::FileSystemRules::DescribeRefusal(path, errno));
    }
    std::string temporary;
    ScopedDescriptor file(QZ::FileSystemRules::CreateTemporaryBeside(target, temporary));
    if (file.Get() < 0)
    {
        return fail(QZ::FileSystemRules::DescribeRefusal(target, errno));
    }
    if (!WriteAll(file.Get(), text) || ::fsync(file.Get()) != 0)
    {
        const std::string why = std::string("cannot write it: ") + std::strerror(errno);
        if (!temporary.empty())
        {
            ::unlink(temporary.c_str());
        }
        return fail(why);
    }
    if (beforeRename)
    {
        beforeRename();
    }
    // An unnamed temporary file is given its place before it is closed, which would drop it.
    if (!QZ::FileSystemRules::PutInPlace(file.Get(), temporary, target))
    {
        return fail(std::string("cannot put the new file in place: ") + std::strerror(errno));
    }
    static_cast<void>(file.Close());
    QZ::FileSystemRules::SyncFolderOf(target);
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
