#include "QZFramework/System/EventHandle.h"

#include <algorithm>
#include <chrono>

namespace QZ
{
namespace
{

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineAfter(std::uint32_t timeoutMs)
{
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Raises a waiter count for the lifetime of one wait.
class WaiterCount
{
public:
    explicit WaiterCount(std::atomic<std::int32_t>& count) : mCount(count) { mCount.fetch_add(1); }
    WaiterCount(const WaiterCount&) = delete;
    WaiterCount& operator=(const WaiterCount&) = delete;
    ~WaiterCount() { mCount.fetch_sub(1); }

private:
    std::atomic<std::int32_t>& mCount;
};

} // namespace

void EventHandle::Set()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mSignaled = true;
    mCondition.notify_all();
    for (MultiWaiter* watcher : mWatchers)
    {
        std::lock_guard<std::mutex> watcherLock(watcher->mutex);
        ++watcher->generation;
        watcher->condition.notify_all();
    }
}

void EventHandle::Reset()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mSignaled = false;
}

bool EventHandle::TryConsume()
{
    if (!mSignaled)
    {
        return false;
    }
    if (mAutoReset)
    {
        mSignaled = false;
    }
    return true;
}

std::uint32_t EventHandle::Wait(std::uint32_t timeoutMs)
{
    WaiterCount counted(mWaiters);
    std::unique_lock<std::mutex> lock(mMutex);
    const auto signaled = [this] { return mSignaled; };
    if (timeoutMs == kInfinite)
    {
        mCondition.wait(lock, signaled);
    }
    else if (!mCondition.wait_until(lock, DeadlineAfter(timeoutMs), signaled))
    {
        return kWaitTimeout;
    }
    TryConsume();
    return kWaitSignaled;
}

void EventHandle::Watch(MultiWaiter* waiter)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mWatchers.push_back(waiter);
}

void EventHandle::Unwatch(MultiWaiter* waiter)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mWatchers.erase(std::find(mWatchers.begin(), mWatchers.end(), waiter));
}

std::int32_t EventHandle::WaitForAny(EventHandle* const* handles, std::size_t count,
                                     std::uint32_t timeoutMs)
{
    MultiWaiter waiter;
    for (std::size_t i = 0; i < count; ++i)
    {
        handles[i]->Watch(&waiter);
    }
    const Clock::time_point deadline = DeadlineAfter(timeoutMs);
    std::int32_t found = -1;
    for (;;)
    {
        std::uint64_t seen = 0;
        {
            std::lock_guard<std::mutex> lock(waiter.mutex);
            seen = waiter.generation;
        }
        for (std::size_t i = 0; i < count && found < 0; ++i)
        {
            std::lock_guard<std::mutex> lock(handles[i]->mMutex);
            if (handles[i]->TryConsume())
            {
                found = static_cast<std::int32_t>(i);
            }
        }
        if (found >= 0)
        {
            break;
        }
        // A Set between the scan and this wait has raised the generation, so it is not missed.
        std::unique_lock<std::mutex> lock(waiter.mutex);
        const auto changed = [&] { return waiter.generation != seen; };
        if (timeoutMs == kInfinite)
        {
            waiter.condition.wait(lock, changed);
        }
        else if (!waiter.condition.wait_until(lock, deadline, changed))
        {
            break;
        }
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        handles[i]->Unwatch(&waiter);
    }
    return found;
}

} // namespace QZ
