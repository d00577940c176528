#include "Platform/Signals/TerminationSignals.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace QZ
{
namespace
{

using Clock = std::chrono::steady_clock;

std::atomic<std::int32_t> gReceived{0};
std::atomic<bool> gDisarmed{false};
// Written by the handler, read by the watching thread.
int gWake[2] = {-1, -1};
// Written by the watching thread, read by the thread that asks for the orderly end. Both threads
// are made (and let go) at installation, so none is still being made when the process ends.
int gRequest[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The signals given the handler: those not ignored at start. Set once, before any fork.
sigset_t gHandled;
// The forking thread's signal mask, kept from before the fork until after it.
thread_local sigset_t tMaskBeforeFork;

// Straight to the descriptor: a thread that hangs may hold the stream's lock.
void Report(const char* format, long long value)
{
    char text[160];
    const int length = std::snprintf(text, sizeof(text), format, value);
    if (length > 0)
    {
        static_cast<void>(
            ::write(STDERR_FILENO, text, std::min<std::size_t>(length, sizeof(text) - 1)));
    }
}

// Async-signal-safe: an atomic exchange, write and _exit only.
void OnSignal(int number)
{
    const int savedErrno = errno;
    std::int32_t none = 0;
    if (!gReceived.compare_exchange_strong(none, number))
    {
        ::_exit(TerminationSignals::kExitStatusBase + number);
    }
    const char byte = 1;
    static_cast<void>(::write(gWake[1], &byte, 1));
    errno = savedErrno;
}

// Waits for a byte in poll rather than read: a sanitizer that runs signal handlers only at
// blocking calls counts poll among them. False when the descriptor fails.
bool AwaitByte(int descriptor)
{
    pollfd entry{descriptor, POLLIN, 0};
    char byte = 0;
    for (;;)
    {
        const int ready = ::poll(&entry, 1, -1);
        if (ready == 1 && ::read(descriptor, &byte, 1) == 1)
        {
            return true;
        }
        if (ready < 0 && errno != EINTR)
        {
            return false;
        }
    }
}

// On a thread of its own, so that nothing the request waits for holds up the forced end.
void RequestEnd(TerminationSignals::EndRequest requestEnd)
{
    if (AwaitByte(gRequest[0]))
    {
        requestEnd();
    }
}

void Watch()
{
    if (!AwaitByte(gWake[0]))
    {
        return;
    }
    const auto deadline = Clock::now() + TerminationSignals::kGrace;
    Report("TerminationSignals: signal %lld received; the program ends\n", gReceived.load());
    const char byte = 1;
    static_cast<void>(::write(gRequest[1], &byte, 1));
    std::this_thread::sleep_until(deadline);
    if (gDisarmed.load())
    {
        return;
    }
    Report("TerminationSignals: no orderly end within %lld ms; ending at once\n",
           static_cast<long long>(TerminationSignals::kGrace.count()));
    ::_exit(TerminationSignals::kExitStatusBase + gReceived.load());
}

// The handled signals wait while the process forks, so that none reaches the child before it
// has dropped the handler.
void BlockBeforeFork()
{
    ::pthread_sigmask(SIG_BLOCK, &gHandled, &tMaskBeforeFork);
}

void UnblockInParent()
{
    ::pthread_sigmask(SIG_SETMASK, &tMaskBeforeFork, nullptr);
}

// Async-signal-safe: the child of a threaded process may call nothing else.
void ResetInChild()
{
    for (const int number : kSignals)
    {
        if (sigismember(&gHandled, number) == 1)
        {
            ::signal(number, SIG_DFL);
        }
    }
    for (int* descriptor : {&gWake[0], &gWake[1], &gRequest[0], &gRequest[1]})
    {
        ::close(*descriptor);
        *descriptor = -1;
    }
    ::pthread_sigmask(SIG_SETMASK, &tMaskBeforeFork, nullptr);
}

// The signals not ignored at start, as shell programs expect of a program started with nohup or
// in a background job.
void NoteHandledSignals()
{
    sigemptyset(&gHandled);
    for (const int number : kSignals)
    {
        struct sigaction present = {};
        if (::sigaction(number, nullptr, &present) == 0 && present.sa_handler != SIG_IGN)
        {
            sigaddset(&gHandled, number);
        }
    }
}

bool InstallOnce(TerminationSignals::EndRequest requestEnd)
{
    if (::pipe2(gWake, O_CLOEXEC) != 0 || ::fcntl(gWake[1], F_SETFL, O_NONBLOCK) != 0 ||
        ::pipe2(gRequest, O_CLOEXEC) != 0)
    {
        Report("TerminationSignals::Install: cannot make the wake pipes (errno %lld)\n", errno);
        return false;
    }
    try
    {
        std::thread(RequestEnd, requestEnd).detach();
        std::thread(Watch).detach();
    }
    catch (const std::system_error& e)
    {
        // A requester without its watcher never hears of a signal; the pipes stay, unused.
        Report("TerminationSignals::Install: no threads to watch the signals (errno %lld)\n",
               e.code().value());
        return false;
    }
    NoteHandledSignals();
    if (const int failed = ::pthread_atfork(BlockBeforeFork, UnblockInParent, ResetInChild))
    {
        Report("TerminationSignals::Install: no fork handler (errno %lld)\n", failed);
        return false;
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
    {
        if (sigismember(&gHandled, number) == 1)
        {
            ::sigaction(number, &action, nullptr);
        }
    }
    return true;
}

} // namespace

bool TerminationSignals::Install(EndRequest requestEnd)
{
    static const bool installed = InstallOnce(requestEnd);
    return installed;
}

void TerminationSignals::Disarm()
{
    gDisarmed.store(true);
}

bool TerminationSignals::IsReceived()
{
    return gReceived.load() != 0;
}

} // namespace QZ
