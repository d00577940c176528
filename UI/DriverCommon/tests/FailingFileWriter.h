// An AtomicFileWriter whose system calls fail on request, standing in for a full disk or a
// failing device, and which can hand the bytes over in small pieces.
#pragma once

#include "UI/DriverCommon/AtomicFileWriter.h"

#include <cerrno>
#include <cstddef>

namespace QZ::PresetTest
{

class FailingFileWriter : public AtomicFileWriter
{
public:
    // The 1-based number of the write call that fails with ENOSPC (0: none).
    int mFailingWrite = 0;
    // The sync fails with EIO.
    bool mFailSync = false;
    // The most bytes one write call takes (0: all).
    std::size_t mPieceSize = 0;
    int mWriteCalls = 0;

protected:
    ssize_t WriteSome(int descriptor, const void* data, std::size_t count) override
    {
        if (++mWriteCalls == mFailingWrite)
        {
            errno = ENOSPC;
            return -1;
        }
        if (mPieceSize != 0 && count > mPieceSize)
        {
            count = mPieceSize;
        }
        return AtomicFileWriter::WriteSome(descriptor, data, count);
    }

    int SyncFile(int descriptor) override
    {
        if (mFailSync)
        {
            errno = EIO;
            return -1;
        }
        return AtomicFileWriter::SyncFile(descriptor);
    }
};

} // namespace QZ::PresetTest
