// A file with exceptions, and the framework's path helpers.
//
// A File opens its file in its constructor and reads and writes at explicit offsets. Copies of a
// File share one open descriptor; Close on a copy whose descriptor is still shared does nothing,
// so the file is closed (and, with ModeDeleteOnClose, deleted) by the last copy that closes or is
// destroyed. Open, Read, Write and GetLength throw Exception<std::runtime_error> with the texts
// "Runtime Error : <what> : QZ::File::<method> : <source> : Line <n>"; Seek and the static helpers
// report by result and never throw.
//
// Paths are UTF-16 in the program and file names on disk (see WideStringToFileName): Open refuses
// a path that is no file name, and the static helpers treat it as a path where nothing is and
// nothing can be made. The separator is "/". Only regular files are opened (links followed), and
// opening never waits. A File object is used by one thread at a time.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/Holder.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

template <class CharT, class OtherT> class StringArrayT;

class File
{
public:
    // Mode flags.
    static constexpr std::uint32_t ModeRead = 0x10000;
    // Opens for reading and writing; without it Write fails.
    static constexpr std::uint32_t ModeWrite = 0x20000;
    // With ModeCreate: fail when the file already exists.
    static constexpr std::uint32_t ModeExclusive = 0x40000;
    static constexpr std::uint32_t ModeCreate = 0x80000;
    static constexpr std::uint32_t ModeDeleteOnClose = 0x100000;

    // The offset that reads or writes at the current position.
    static constexpr std::uint32_t CurrentPosition = 0xFFFFFFFF;
    static constexpr char16_t PathSeparator = u'/';
    // FindFiles' result for a folder that does not exist.
    static constexpr QZRESULT E_NOTIMPL = static_cast<QZRESULT>(0x80004001u);

    // Opens path + "/" + name, or path alone when name is empty; throws what Open throws.
    File(const WideString& path, const WideString& name, std::uint32_t mode);
    File(const File& other) = default;
    // Closes this copy first, then shares the other's descriptor.
    File& operator=(const File& other);
    virtual ~File();

    // 1 when already open, 0 when opened; throws when the path is empty, is no file name, names
    // something other than a regular file ("not a regular file") or cannot be opened.
    virtual std::int32_t Open(const WideString& path, const WideString& name, std::uint32_t mode);
    // Closes (and deletes a delete-on-close file) unless another copy still shares the
    // descriptor. Always 0.
    virtual std::int32_t Close();
    // Reads up to count bytes at offset (CurrentPosition: where the last access ended); fewer at
    // the end of the file.
    virtual std::uint32_t Read(void* buffer, std::uint32_t count, std::uint32_t offset);
    // Writes count bytes at offset; throws "file is read only" without ModeWrite.
    virtual std::uint32_t Write(const void* buffer, std::uint32_t count, std::uint32_t offset);
    // origin 0 start, 1 current, 2 end; the new position, or -1.
    virtual std::int32_t Seek(std::int32_t offset, std::int32_t origin);

    [[nodiscard]] std::uint32_t GetLength() const;
    [[nodiscard]] bool IsOpen() const { return !mDescriptor.IsNull(); }
    const WideString& GetName() const { return mName; }
    const WideString& GetPath() const { return mPath; }
    std::uint32_t GetMode() const { return mMode; }

    // A copy with each of \ / : * ? " < > | & ; , ^ ( ) replaced by "_".
    [[nodiscard]] static WideString MakeLegalFileName(const WideString& name);
    // The path without its last element ("/a/b" gives "/a", "/a" gives "/", "a" gives "").
    [[nodiscard]] static WideString GetDirectory(const WideString& path);
    // The absolute form of an existing path with links and "." or ".." resolved; the path
    // unchanged when it does not exist.
    [[nodiscard]] static WideString GetLongPath(const WideString& path);
    // 1 when the folder exists, 0 when it was created, E_FAIL when that failed or a file is there.
    [[nodiscard]] static QZRESULT EnsureDirectory(const WideString& path);
    // True when the path exists and is not a folder.
    [[nodiscard]] static bool FileExists(const WideString& path);
    // Empties the list, then appends folder + "/" + name for each entry of the folder that is not
    // a folder and matches the pattern ("*" and "?" wildcards, case ignored; "*.*" matches every
    // name), in the order the system lists them. The number of entries, E_NOTIMPL when the folder
    // does not exist, E_FAIL when listing failed.
    static QZRESULT FindFiles(const WideString& folder, const WideString& pattern,
                              StringArrayT<char16_t, char>& files);
    // Creates every folder along the path (each part before a "/", from the second character
    // on). lastIsFile false: the whole path is a folder too, and the result is whether it exists
    // now; true: whether the folder holding the last element exists.
    static bool CreateDirectories(const WideString& path, bool lastIsFile);

private:
    int GetDescriptor() const;
    void SeekForAccess(std::uint32_t offset, const char* method);

    RCPtr<LHolder<int>> mDescriptor;
    WideString mName;
    WideString mPath;
    std::uint32_t mMode = 0;
};

} // namespace QZ
