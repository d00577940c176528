#include "QZFramework/System/Thread.h"

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/System/EventHandle.h"
#include "QZFramework/System/FaultLog.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace QZ
{

// Shared by the Thread object and the thread itself, so either may go first.
struct Thread::Record
{
    std::mutex mutex;
    std::condition_variable condition;
    bool started = false;
    bool resumed = false;
    bool cancelled = false;
    bool finished = false;
    pid_t id = 0;
    std::int32_t priority = kThreadPriorityNormal;
    bool boost = true;
};

namespace
{

bool NiceValueOf(std::int32_t priority, int& nice)
{
    switch (priority)
    {
    case kThreadPriorityIdle:
        nice = 19;
        return true;
    case kThreadPriorityLowest:
        nice = 10;
        return true;
    case kThreadPriorityBelowNormal:
        nice = 5;
        return true;
    case kThreadPriorityNormal:
        nice = 0;
        return true;
    case kThreadPriorityAboveNormal:
        nice = -5;
        return true;
    case kThreadPriorityHighest:
        nice = -10;
        return true;
    case kThreadPriorityTimeCritical:
        nice = -20;
        return true;
    default:
        return false;
    }
}

} // namespace

Thread::Thread(ThreadRoutine routine, void* context) : mRecord(std::make_shared<Record>())
{
    std::shared_ptr<Record> record = mRecord;
    const auto body = [record, routine, context]
    {
        std::unique_lock<std::mutex> lock(record->mutex);
        record->id = static_cast<pid_t>(::syscall(SYS_gettid));
        record->started = true;
        record->condition.notify_all();
        record->condition.wait(lock, [&] { return record->resumed || record->cancelled; });
        const bool run = !record->cancelled;
        lock.unlock();
        if (run)
        {
            routine(context);
        }
        lock.lock();
        record->finished = true;
        record->condition.notify_all();
    };
    try
    {
        mThread = std::thread(body);
    }
    catch (const std::system_error& error)
    {
        QZ_THROW_RUNTIME("QZ::Thread::Thread", "thread creation failed", error.what());
    }
    std::unique_lock<std::mutex> lock(mRecord->mutex);
    mRecord->condition.wait(lock, [&] { return mRecord->started; });
}

Thread::~Thread()
{
    {
        std::lock_guard<std::mutex> lock(mRecord->mutex);
        if (!mRecord->resumed)
        {
            mRecord->cancelled = true;
            mRecord->condition.notify_all();
        }
    }
    if (IsCurrentThread())
    {
        mThread.detach();
        return;
    }
    if (!Wait(kLongWaitMs))
    {
        LogFault("QZ::Thread::~Thread",
                 "thread still running after 60000 ms; waiting for it to end");
    }
    mThread.join();
}

bool Thread::Resume()
{
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    if (mRecord->resumed)
    {
        return false;
    }
    mRecord->resumed = true;
    mRecord->condition.notify_all();
    return true;
}

bool Thread::HasFinished() const
{
    return Wait(0);
}

bool Thread::Wait(std::uint32_t timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mRecord->mutex);
    const auto finished = [this] { return mRecord->finished; };
    if (timeoutMs == kInfinite)
    {
        mRecord->condition.wait(lock, finished);
        return true;
    }
    return mRecord->condition.wait_for(lock, std::chrono::milliseconds(timeoutMs), finished);
}

bool Thread::SetPriority(std::int32_t priority)
{
    int nice = 0;
    if (!NiceValueOf(priority, nice))
    {
        return false;
    }
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    mRecord->priority = priority;
    // The id names a live thread only until the thread has marked itself finished.
    if (!mRecord->finished)
    {
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(mRecord->id), nice);
    }
    return true;
}

std::int32_t Thread::GetPriority() const
{
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    return mRecord->priority;
}

bool Thread::SetPriorityBoost(bool enable)
{
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    mRecord->boost = enable;
    return true;
}

bool Thread::IsPriorityBoostEnabled() const
{
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    return mRecord->boost;
}

bool Thread::IsCurrentThread() const
{
    return mThread.get_id() == std::this_thread::get_id();
}

std::int32_t Thread::GetId() const
{
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    return mRecord->id;
}

} // namespace QZ
