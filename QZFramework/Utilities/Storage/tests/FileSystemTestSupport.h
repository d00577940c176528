// Shared by the tests of everything that reads or replaces files: unprivileged file access and
// the special files a desktop file system holds.
#pragma once

#include <filesystem>
#include <functional>

namespace QZ::FileSystemTest
{

// The overflow user of Debian, which owns nothing here.
inline constexpr unsigned kUnprivilegedUser = 65534;

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
