#include "QZFramework/Utilities/Storage/QZFile.h"

#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ
{
namespace
{

int OpenFlags(std::uint32_t mode)
{
    int flags = O_CLOEXEC;
    flags |= (mode & File::ModeWrite) != 0 ? O_RDWR : O_RDONLY;
    if ((mode & File::ModeCreate) != 0)
    {
        flags |= O_CREAT;
        if ((mode & File::ModeExclusive) != 0)
        {
            flags |= O_EXCL;
        }
    }
    return flags;
}

} // namespace

File::File(const WideString& path, const WideString& name, std::uint32_t mode) : mMode(mode)
{
    Open(path, name, mode);
}

File& File::operator=(const File& other)
{
    if (this != &other)
    {
        Close();
        mDescriptor = other.mDescriptor;
        mName = other.mName;
        mPath = other.mPath;
        mMode = other.mMode;
    }
    return *this;
}

File::~File()
{
    Close();
    mDescriptor = nullptr;
}

std::int32_t File::Open(const WideString& path, const WideString& name, std::uint32_t mode)
{
    if (IsOpen())
    {
        return 1;
    }
    mName = name;
    if (!name.IsEmpty())
    {
        mPath = path + WideString(PathSeparator) + name;
    }
    else
    {
        if (path.IsEmpty())
        {
            QZ_THROW_RUNTIME("QZ::File::Open", "invalid pathname");
        }
        mPath = path;
    }
    mMode = mode;
    NarrowString diskPath;
    if (!WideStringToFileName(mPath, diskPath))
    {
        QZ_THROW_RUNTIME("QZ::File::Open", "pathname not representable on disk");
    }
    int descriptor = -1;
    switch (FileSystemRules::OpenRegularFile(diskPath.GetString(), OpenFlags(mode), descriptor))
    {
    case FileSystemRules::OpenOutcome::Opened:
        mDescriptor = new LHolder<int>(descriptor);
        return 0;
    case FileSystemRules::OpenOutcome::NotRegular:
        QZ_THROW_RUNTIME("QZ::File::Open", "not a regular file");
    case FileSystemRules::OpenOutcome::Missing:
    case FileSystemRules::OpenOutcome::Failed:
        break;
    }
    QZ_THROW_RUNTIME("QZ::File::Open", "open");
}

std::int32_t File::Close()
{
    if (!IsOpen() || mDescriptor->GetRefCount() != 1)
    {
        return 0;
    }
    ::close(mDescriptor->GetValue());
    NarrowString diskPath;
    if ((mMode & ModeDeleteOnClose) != 0 && WideStringToFileName(mPath, diskPath))
    {
        ::unlink(diskPath.GetString());
    }
    mDescriptor = nullptr;
    return 0;
}

std::uint32_t File::Read(void* buffer, std::uint32_t count, std::uint32_t offset)
{
    SeekForAccess(offset, "QZ::File::Read");
    std::uint32_t done = 0;
    while (done < count)
    {
        const ssize_t got =
            ::read(GetDescriptor(), static_cast<char*>(buffer) + done, count - done);
        if (got < 0 && errno == EINTR)
        {
            continue;
        }
        if (got < 0)
        {
            QZ_THROW_RUNTIME("QZ::File::Read", "read");
        }
        if (got == 0)
        {
            break;
        }
        done += static_cast<std::uint32_t>(got);
    }
    return done;
}

std::uint32_t File::Write(const void* buffer, std::uint32_t count, std::uint32_t offset)
{
    if ((mMode & ModeWrite) == 0)
    {
        QZ_THROW_RUNTIME("QZ::File::Write", "file is read only");
    }
    SeekForAccess(offset, "QZ::File::Write");
    std::uint32_t done = 0;
    while (done < count)
    {
        const ssize_t put =
            ::write(GetDescriptor(), static_cast<const char*>(buffer) + done, count - done);
        if (put < 0 && errno == EINTR)
        {
            continue;
        }
        if (put <= 0)
        {
            QZ_THROW_RUNTIME("QZ::File::Write", "write");
        }
        done += static_cast<std::uint32_t>(put);
    }
    return done;
}

std::int32_t File::Seek(std::int32_t offset, std::int32_t origin)
{
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2)
    {
        return -1;
    }
    const off_t position = ::lseek(GetDescriptor(), offset, kWhence[origin]);
    return position < 0 || position > INT32_MAX ? -1 : static_cast<std::int32_t>(position);
}

std::uint32_t File::GetLength() const
{
    struct stat status;
    if (::fstat(GetDescriptor(), &status) != 0)
    {
        QZ_THROW_RUNTIME("QZ::File::GetLength", "fstat");
    }
    return static_cast<std::uint32_t>(status.st_size);
}

int File::GetDescriptor() const
{
    return IsOpen() ? mDescriptor->GetValue() : -1;
}

void File::SeekForAccess(std::uint32_t offset, const char* method)
{
    if (offset == CurrentPosition)
    {
        return;
    }
    if (::lseek(GetDescriptor(), static_cast<off_t>(offset), SEEK_SET) !=
        static_cast<off_t>(offset))
    {
        QZ_THROW_RUNTIME(method, "lseek");
    }
}

} // namespace QZ
