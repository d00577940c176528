// A thread created suspended: it starts running its routine only when resumed, so that its owner
// can set its priority first.
//
// The destructor never leaves the thread running on freed memory: it waits for the thread to end
// (logging a wait longer than kLongWaitMs and then waiting on), so an owner stops its thread's
// loop before destroying it. Destroyed on its own thread, for instance when the routine drops the
// last reference to its owner, it lets the thread run to its end; the routine must then hold
// counted references to everything it still uses. A thread never resumed ends without running
// the routine.
//
// Priorities are the Windows thread priorities (-15 idle, -2 to 2, 15 time-critical), mapped to
// per-thread nice values; they are best effort: a refusal by the system (an unprivileged process
// raising its priority) is not reported as a failure.
#pragma once

#include <cstdint>
#include <memory>
#include <thread>

namespace QZ
{

using ThreadRoutine = std::uint32_t (*)(void* context);

inline constexpr std::int32_t kThreadPriorityIdle = -15;
inline constexpr std::int32_t kThreadPriorityLowest = -2;
inline constexpr std::int32_t kThreadPriorityBelowNormal = -1;
inline constexpr std::int32_t kThreadPriorityNormal = 0;
inline constexpr std::int32_t kThreadPriorityAboveNormal = 1;
inline constexpr std::int32_t kThreadPriorityHighest = 2;
inline constexpr std::int32_t kThreadPriorityTimeCritical = 15;

class Thread
{
public:
    static constexpr std::uint32_t kLongWaitMs = 60000;

    // Throws the framework's runtime error when the system cannot create the thread.
    Thread(ThreadRoutine routine, void* context);
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    virtual ~Thread();

    // False when the thread was already resumed.
    bool Resume();
    [[nodiscard]] bool HasFinished() const;
    // True when the thread ended within the time-out (kInfinite waits for ever).
    [[nodiscard]] bool Wait(std::uint32_t timeoutMs) const;
    // False only for a value that is not a thread priority.
    bool SetPriority(std::int32_t priority);
    [[nodiscard]] std::int32_t GetPriority() const;
    // Linux has no dynamic priority boost; the setting is kept and reported.
    bool SetPriorityBoost(bool enable);
    [[nodiscard]] bool IsPriorityBoostEnabled() const;
    [[nodiscard]] bool IsCurrentThread() const;
    [[nodiscard]] std::int32_t GetId() const;

private:
    struct Record;

    std::shared_ptr<Record> mRecord;
    std::thread mThread;
};

} // namespace QZ
