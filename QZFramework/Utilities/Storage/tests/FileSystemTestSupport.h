// Shared by the tests of everything that reads or replaces files: scratch folders, unprivileged
// file access and the special files a desktop file system holds.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace QZ::FileSystemTest
{

// The overflow user of Debian, which owns nothing here.
inline constexpr unsigned kUnprivilegedUser = 65534;

// A fresh folder under the temporary folder, its name led by the prefix, removed with everything
// in it (made writable again first, for the tests that take its write permission away).
class ScratchFolder
{
public:
    explicit ScratchFolder(const char* prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return mPath; }
    [[nodiscard]] std::filesystem::path operator/(const std::filesystem::path& name) const
    {
        return mPath / name;
    }
    // The names of the entries of the folder, sorted.
    [[nodiscard]] std::vector<std::string> Entries() const;

private:
    std::filesystem::path mPath;
};

// The whole file; empty when it cannot be read.
[[nodiscard]] std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

// While alive, this thread's file permission checks are those of an unprivileged user, so that
// a read-only folder or file refuses writes also when the tests run as root.
class UnprivilegedFileAccess
{
public:
    UnprivilegedFileAccess();
    ~UnprivilegedFileAccess();
    UnprivilegedFileAccess(const UnprivilegedFileAccess&) = delete;
    UnprivilegedFileAccess& operator=(const UnprivilegedFileAccess&) = delete;

private:
    int mOldUser = 0;
    bool mActive = false;
};

// Gives the file (not following a link) to the unprivileged user.
void GiveToUnprivilegedUser(const std::filesystem::path& path);

void MakeFifo(const std::filesystem::path& path);

// Runs call on another thread and tells whether it returned within a few seconds. A call still
// blocked opening the FIFO for reading is released by opening its other end, so that a test of
// something that wrongly waits fails instead of hanging.
[[nodiscard]] bool ReturnsPromptly(const std::filesystem::path& fifo,
                                   const std::function<void()>& call);

} // namespace QZ::FileSystemTest
