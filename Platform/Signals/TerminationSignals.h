// SIGTERM, SIGINT and SIGHUP end the program within two seconds, whatever its threads wait on.
// A signal that was ignored when the program started (nohup, a background job) stays ignored.
//
// The handlers only note the signal and wake a thread that watches for it. That thread asks for
// the program's orderly end (the end request, run on a thread of its own so that nothing it waits
// for holds up the rest) and, when the process is still there kGrace after the signal, ends it at
// once with _exit, cleaning nothing up. A user-interface thread that is free meanwhile ends the
// program the normal way, storing its settings and closing its ports; one that hangs (in a
// window-system call, in another toolkit's loop, in a long transfer) cannot keep it alive. A
// second signal ends the process at once.
//
// A process forked from this one starts with the default dispositions of the handled signals and
// without the watcher's pipes: a child that does not run another program (a toolkit's helper)
// would otherwise swallow the signals meant for it and wake this process's watcher instead.
//
// Exit status: the orderly end is the program's own normal end, with its own status, as the
// desktop's request to end is one of the ways a user ends it. A forced end reports 128 plus the
// number of the signal, as a shell reports a process that a signal killed: 143 after SIGTERM, 130
// after SIGINT, 129 after SIGHUP (a second signal's own number when that one ended it).
#pragma once

#include <chrono>
#include <cstdint>

namespace QZ
{

class TerminationSignals
{
public:
    static constexpr std::int32_t kExitStatusBase = 128;
    // How long the orderly end may take; the rest of the two seconds is the process's own end.
    static constexpr std::chrono::milliseconds kGrace{1500};

    // Any thread but a signal handler's: asks the program to end the normal way.
    using EndRequest = void (*)();

    // Installs the handlers for the rest of the process's life; the first call's end request is
    // the one made. False (logged) when the watching thread or the fork handler cannot be had:
    // the signals then keep their default, which ends the process at once.
    static bool Install(EndRequest requestEnd);
    // Whether a signal has come.
    [[nodiscard]] static bool IsReceived();
    // The program's orderly end is done (nothing of the program is left to hang): a signal that
    // came no longer forces the end, so that what the process does on its way out (a leak
    // check, say) is not cut short.
    static void Disarm();
};

} // namespace QZ
