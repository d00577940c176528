// One running instance per user session. The first process to start takes an exclusive lock
// on "<name>.lock" and listens on the Unix-domain socket "<name>.socket", both in the user's
// runtime folder; a later process finds the lock taken, hands its command line to the first
// over the socket and ends.
//
// The lock is flock(2): the kernel drops it when its holder dies, however it dies, so a crashed
// first instance never stops the next start; the socket file it leaves behind is replaced by the
// next first instance, which holds the lock while it does so.
//
// Hand-over: the second connects, writes the UTF-8 command line with its terminating zero, shuts
// its side down and waits for one acknowledging byte. The first reads on a thread of its own,
// queues the text and calls the wake function (from that thread); the acknowledgement comes only
// when its user-interface thread takes the text (TakeCommandLines, or AcknowledgeCommandLines
// while another toolkit's loop holds that thread). A text that is dropped, or not taken while
// its sender still waits, is never answered, and the second start reports that the first does
// not answer. A first instance that ends during the wait (killed, or at the end of a slow exit)
// frees its lock: the waiting start takes it, only one of several, and runs as the first.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace QZ
{

class InstanceListener;

enum class InstanceRole
{
    // This process holds the lock (or no lock could be made at all, so it runs on its own).
    First,
    // Another process of the session holds the lock.
    Second,
};

enum class HandOverResult
{
    // The first instance's user-interface thread took the command line.
    Delivered,
    // The first instance ended during the wait and this process took the lock: it is the first
    // now.
    TookOver,
    // It could not be reached, or it did not take the text in time (it hangs, or too many texts
    // wait for it).
    NoAnswer,
    // The text is longer than kMaxCommandLineBytes; nothing was sent.
    TooLong,
};

class SingleInstance
{
public:
    // The longest command line a first instance takes; longer texts are refused.
    static constexpr std::size_t kMaxCommandLineBytes = 1 << 20;
    static constexpr std::chrono::milliseconds kHandOverTimeout{2000};

    // folder holds the lock and the socket; name is the instance's name (a file name).
    SingleInstance(std::string folder, std::string name);
    // Stops listening and releases the lock.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The user's runtime folder ($XDG_RUNTIME_DIR when it is an absolute, private folder of this
    // user: see Shell::IsPrivateFolder), else the private fallback folder of this user made in
    // the temporary folder; empty when neither can be had.
    [[nodiscard]] static std::string GetRuntimeFolder();

    // Takes the lock when it is free.
    [[nodiscard]] InstanceRole Claim();
    // First instance: serves hand-overs from now on. False (logged) when the socket cannot be
    // made; the instance then runs without taking hand-overs.
    bool Listen(std::function<void()> wake);
    // Second instance: hands the text over, retrying until timeout when the first does not
    // answer yet; takes the lock as soon as it is free.
    [[nodiscard]] HandOverResult HandOver(std::string_view commandLine,
                                          std::chrono::milliseconds timeout = kHandOverTimeout);
    // First instance, user-interface thread: answers the received command lines whose senders
    // still wait, keeping them for TakeCommandLines.
    void AcknowledgeCommandLines();
    // First instance, user-interface thread: the command lines received since the last call,
    // oldest first, each answered; a text whose sender no longer waits is left out.
    [[nodiscard]] std::vector<std::string> TakeCommandLines();

    [[nodiscard]] std::string GetSocketPath() const;

private:
    // 0 once this process holds the lock, else the error (EWOULDBLOCK: another process holds it).
    [[nodiscard]] int TakeLock();

    std::string mFolder;
    std::string mName;
    int mLockFile = -1;
    std::unique_ptr<InstanceListener> mListener;
};

} // namespace QZ
