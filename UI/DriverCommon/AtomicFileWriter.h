// Replaces a file's whole content so that the old content survives any failure.
//
// Begin finds the file to replace (through symbolic links, see FileSystemRules) and creates a new
// temporary file beside it (same folder, so the final rename stays on one file system), unnamed
// where the file system allows; Write appends to it, checking every write; Commit syncs it to the
// disk, puts it in place of the file (FileSystemRules::PutInPlace), closes it and syncs the
// folder. Until Commit succeeds the file is never touched, and a writer that fails, is abandoned
// or is destroyed before Commit removes its temporary file; a process killed while writing leaves
// none. A replaced file keeps its permission bits.
//
// Paths are UTF-16 in the program and file names on disk (see WideStringToFileName). A writer is
// used by one thread at a time and writes one file at a time; it may be reused after Commit or
// Abandon.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/types.h>

namespace QZ
{

class AtomicFileWriter
{
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    virtual ~AtomicFileWriter();

    // Creates the temporary file for a new content of path (abandoning a write under way).
    // E_FAIL when path is no file name, is a dangling link or a loop of links, leads to something
    // other than a regular file or to a file this process may not write, or when the temporary
    // file cannot be created, for example in a missing or read-only folder.
    [[nodiscard]] QZRESULT Begin(const WideString& path);
    // Appends count bytes. E_FAIL, abandoning the write, when not begun or when the file system
    // refuses any of them (a full disk, an I/O error).
    [[nodiscard]] QZRESULT Write(const void* data, std::uint32_t count);
    // Makes the written bytes the target's content. E_FAIL, abandoning the write and leaving the
    // target as it was, when not begun or when the sync, the close or the rename fails.
    [[nodiscard]] QZRESULT Commit();
    // Drops the write under way and removes its temporary file; nothing when none is under way.
    void Abandon();

    [[nodiscard]] bool IsWriting() const { return mDescriptor >= 0; }
    // The path on disk of the temporary file while writing, else empty (also for an unnamed one).
    [[nodiscard]] const std::string& GetTemporaryPath() const { return mTemporary; }

protected:
    // The system calls that can fail for reasons outside the program, overridable so that tests
    // can make them fail; each behaves as the call it is named after (-1 and errno on failure).
    virtual ssize_t WriteSome(int descriptor, const void* data, std::size_t count);
    virtual int SyncFile(int descriptor);

private:
    std::string mTarget;
    std::string mTemporary;
    int mDescriptor = -1;
};

} // namespace QZ
