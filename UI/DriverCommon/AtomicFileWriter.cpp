#include "UI/DriverCommon/AtomicFileWriter.h"

#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <cerrno>
#include <utility>

#include <unistd.h>

namespace QZ
{

AtomicFileWriter::~AtomicFileWriter()
{
    Abandon();
}

QZRESULT AtomicFileWriter::Begin(const WideString& path)
{
    Abandon();
    NarrowString diskPath;
    if (!WideStringToFileName(path, diskPath) ||
        !FileSystemRules::FindFileToReplace(diskPath.GetString(), mTarget))
    {
        return E_FAIL;
    }
    mDescriptor = FileSystemRules::CreateTemporaryBeside(mTarget, mTemporary);
    return mDescriptor >= 0 ? S_OK : E_FAIL;
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
    // An unnamed temporary file is given its place before it is closed, which would drop it.
    const bool placed =
        SyncFile(mDescriptor) == 0 && FileSystemRules::PutInPlace(mDescriptor, mTemporary, mTarget);
    const bool closed = ::close(std::exchange(mDescriptor, -1)) == 0;
    if (!placed || !closed)
    {
        Abandon();
        return E_FAIL;
    }
    FileSystemRules::SyncFolderOf(mTarget);
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

} // namespace QZ
