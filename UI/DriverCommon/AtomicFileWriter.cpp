#include "UI/DriverCommon/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QZ
{
namespace
{

// Name attempts before Begin gives up on finding a free temporary name.
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

// The rename is only durable once the folder's entry is on the disk too; a folder that cannot be
// synced leaves the new file in place all the same, so the result is not examined.
void SyncFolder(const std::string& path)
{
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0)
    {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace

AtomicFileWriter::~AtomicFileWriter()
{
    Abandon();
}

QZRESULT AtomicFileWriter::Begin(const WideString& path)
{
    Abandon();
    mTarget = path.ToNarrowString().GetString();
    if (mTarget.empty() || mTarget.back() == '/')
    {
        return E_FAIL;
    }
    mDescriptor = CreateTemporary();
    if (mDescriptor < 0)
    {
        mTemporary.clear();
        return E_FAIL;
    }
    struct stat old;
    if (::stat(mTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    {
        ::fchmod(mDescriptor, old.st_mode & 07777);
    }
    return S_OK;
}

QZRESULT AtomicFileWriter::Write(const void* data, std::uint32_t count)
{
    if (!IsWriting())
    {
        return E_FAIL;
    }
    const auto* bytes = static_cast<const char*>(data);
    while (count != 0)
    {
        const ssize_t written = WriteSome(mDescriptor, bytes, count);
        if (written < 0 && errno == EINTR)
        {
            continue;
        }
        if (written <= 0 || static_cast<std::size_t>(written) > count)
        {
            Abandon();
            return E_FAIL;
        }
        bytes += written;
        count -= static_cast<std::uint32_t>(written);
    }
    return S_OK;
}

QZRESULT AtomicFileWriter::Commit()
{
    if (!IsWriting())
    {
        return E_FAIL;
    }
    const bool synced = SyncFile(mDescriptor) == 0;
    const bool closed = ::close(std::exchange(mDescriptor, -1)) == 0;
    if (!synced || !closed || ::rename(mTemporary.c_str(), mTarget.c_str()) != 0)
    {
        Abandon();
        return E_FAIL;
    }
    mTemporary.clear();
    SyncFolder(mTarget);
    return S_OK;
}

void AtomicFileWriter::Abandon()
{
    if (mDescriptor >= 0)
    {
        ::close(std::exchange(mDescriptor, -1));
    }
    if (!mTemporary.empty())
    {
        ::unlink(mTemporary.c_str());
        mTemporary.clear();
    }
}

ssize_t AtomicFileWriter::WriteSome(int descriptor, const void* data, std::size_t count)
{
    return ::write(descriptor, data, count);
}

int AtomicFileWriter::SyncFile(int descriptor)
{
    return ::fsync(descriptor);
}

int AtomicFileWriter::CreateTemporary()
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt)
    {
        mTemporary = mTarget;
        mTemporary.append(".saving-").append(std::to_string(::getpid()));
        mTemporary.append("-").append(std::to_string(counter.fetch_add(1)));
        const int descriptor =
            ::open(mTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
        {
            return descriptor;
        }
    }
    return -1;
}

} // namespace QZ
