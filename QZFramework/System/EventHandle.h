// The synchronisation object behind Event, TrafficLight, LEvent and EventPool: a flag that is
// signalled or not, waited on with a time-out in milliseconds. An auto-reset event releases one
// waiter per signal and resets itself; a manual-reset event releases every waiter until it is
// reset. Waits report the raw results below, whose values the callers compare against.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace QZ
{

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr std::uint32_t kWaitSignaled = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;

class EventHandle
{
public:
    explicit EventHandle(bool autoReset) : mAutoReset(autoReset) {}
    EventHandle(const EventHandle&) = delete;
    EventHandle& operator=(const EventHandle&) = delete;

    void Set();
    void Reset();
    // kWaitSignaled or kWaitTimeout; kInfinite waits for ever. Consumes the signal of an
    // auto-reset event.
    [[nodiscard]] std::uint32_t Wait(std::uint32_t timeoutMs);
    // The lowest index among the signalled handles (consuming that one signal), or -1 when none
    // was signalled within the time-out.
    [[nodiscard]] static std::int32_t WaitForAny(EventHandle* const* handles, std::size_t count,
                                                 std::uint32_t timeoutMs);

    // Threads currently inside a wait on this handle.
    [[nodiscard]] std::int32_t GetWaiterCount() const { return mWaiters.load(); }

private:
    // Wakes a thread that waits on several handles at once.
    struct MultiWaiter
    {
        std::mutex mutex;
        std::condition_variable condition;
        std::uint64_t generation = 0;
    };

    bool TryConsume();
    void Watch(MultiWaiter* waiter);
    void Unwatch(MultiWaiter* waiter);

    const bool mAutoReset;
    std::mutex mMutex;
    std::condition_variable mCondition;
    bool mSignaled = false;
    std::vector<MultiWaiter*> mWatchers;
    std::atomic<std::int32_t> mWaiters{0};
};

} // namespace QZ
