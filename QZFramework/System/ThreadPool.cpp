#include "QZFramework/System/ThreadPool.h"

#include "QZFramework/System/FaultLog.h"
#include "QZFramework/System/Thread.h"

#include <algorithm>
#include <utility>

namespace QZ
{

void* LThreadPool::LWorkerParams::operator new(std::size_t size)
{
    return GetAllocator().Allocate(size);
}

void LThreadPool::LWorkerParams::operator delete(void* address) noexcept
{
    GetAllocator().Free(address);
}

ReuseAllocator<LThreadPool::LWorkerParams, 1>& LThreadPool::LWorkerParams::GetAllocator()
{
    // Never destroyed: work items may still be released while static objects are torn down.
    static auto* allocator = new ReuseAllocator<LWorkerParams, 1>(true);
    return *allocator;
}

LThreadPool::LThreadPool(std::int32_t threadCount, std::int32_t dispatcherPriority)
    : mThreadCount(std::max(threadCount, 0)), mWorkerDoneEvents(std::max(threadCount, 0) + 1),
      mQueueThreader(std::make_unique<RetriggerableThreader>(u"LThreadPool::mQueueThreader")),
      mQueueDoneEvent(new LEvent()), mDispatcherPriority(dispatcherPriority)
{
    for (std::int32_t i = 0; i < threadCount; ++i)
    {
        mWorkers.push_back(std::make_unique<RetriggerableThreader>(StringT<char16_t, char>()));
    }
    mQueueDoneEvent->Set();
    if (threadCount < 1)
    {
        return;
    }
    mDispatcherRunning = true;
    // A fresh threader is neither busy nor stopping, so it takes the dispatcher.
    (void)mQueueThreader->TriggerWithDoneEvent(RCPtr<LThreadWorker>(this), nullptr, mQueueDoneEvent,
                                               mDispatcherPriority);
    // Counted only now: the temporary pointer above has been released.
    AdjustCyclicRefCount(1);
}

LThreadPool::~LThreadPool()
{
    Shutdown();
}

void LThreadPool::QueueWork(const RCPtr<LThreadWorker>& worker,
                            const RCPtr<LRefCountedObject>& params, std::int32_t priority)
{
    if (TryFreeWorker(worker, params, priority) >= 0 || mThreadCount.load() <= 0)
    {
        return;
    }
    RCPtr<LWorkerParams> item(new LWorkerParams(worker, params, priority));
    {
        Mutex::ScopedLock lock(mLock);
        if (mThreadCount.load() <= 0)
        {
            return;
        }
        const auto place = std::find_if(mQueue.begin(), mQueue.end(),
                                        [priority](const RCPtr<LWorkerParams>& queued)
                                        { return queued->mPriority >= priority; });
        mQueue.insert(place, std::move(item));
    }
    (*mWorkerDoneEvents.GetAt(mWorkerDoneEvents.GetCount() - 1))->Set();
}

std::int32_t LThreadPool::TryFreeWorker(const RCPtr<LThreadWorker>& worker,
                                        const RCPtr<LRefCountedObject>& params,
                                        std::int32_t priority)
{
    if (mThreadCount.load() < 1)
    {
        return -1;
    }
    Mutex::ScopedLock lock(mLock);
    for (std::size_t i = 0; i < mWorkers.size(); ++i)
    {
        // With a single worker, new work never overtakes queued work.
        if (!mQueue.empty() && mThreadCount.load() == 1)
        {
            return -1;
        }
        if (!mWorkers[i]->IsBusy() && StartOnWorker(i, worker, params, priority))
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

bool LThreadPool::StartOnWorker(std::size_t index, const RCPtr<LThreadWorker>& worker,
                                const RCPtr<LRefCountedObject>& params, std::int32_t priority)
{
    mWorkers[index]->SetName(worker ? worker->ToString() : StringT<char16_t, char>());
    return mWorkers[index]->TriggerWithDoneEvent(
               worker, params, *mWorkerDoneEvents.GetAt(static_cast<std::int32_t>(index)),
               priority) == S_OK;
}

QZRESULT LThreadPool::DoWork(const RCPtr<LRefCountedObject>&)
{
    while (mThreadCount.load() > 0)
    {
        (void)mWorkerDoneEvents.WaitForAny(kInfinite);
        if (mThreadCount.load() > 0)
        {
            DispatchQueued();
        }
    }
    return S_OK;
}

void LThreadPool::DispatchQueued()
{
    for (;;)
    {
        // Released after the lock, should it be the last reference to the work.
        RCPtr<LWorkerParams> item;
        Mutex::ScopedLock lock(mLock);
        if (mQueue.empty() || mThreadCount.load() <= 0)
        {
            return;
        }
        const auto free = std::find_if(mWorkers.begin(), mWorkers.end(),
                                       [](const std::unique_ptr<RetriggerableThreader>& worker)
                                       { return !worker->IsBusy(); });
        if (free == mWorkers.end())
        {
            return;
        }
        // The last item has the highest priority and, among equals, was queued first.
        item = std::move(mQueue.back());
        mQueue.pop_back();
        StartOnWorker(static_cast<std::size_t>(free - mWorkers.begin()), item->mWorker,
                      item->mParams, item->mPriority);
    }
}

void LThreadPool::StopDispatcher()
{
    mThreadCount = 0;
    if (!mDispatcherRunning.exchange(false))
    {
        return;
    }
    // Taken back before the dispatcher drops its reference, so that drop cannot look like the
    // release of the last outside reference.
    AdjustCyclicRefCount(-1);
    (*mWorkerDoneEvents.GetAt(mWorkerDoneEvents.GetCount() - 1))->Set();
    if (mQueueThreader->IsCurrentThread())
    {
        return;
    }
    while (mQueueDoneEvent->Wait(Thread::kLongWaitMs) == kWaitTimeout)
    {
        LogFault("QZ::LThreadPool::StopDispatcher", "dispatcher still running after 60000 ms");
    }
}

void LThreadPool::Shutdown()
{
    mThreadCount = 0;
    std::vector<RCPtr<LWorkerParams>> dropped;
    std::vector<std::unique_ptr<RetriggerableThreader>> workers;
    {
        Mutex::ScopedLock lock(mLock);
        dropped.swap(mQueue);
    }
    dropped.clear();
    StopDispatcher();
    {
        Mutex::ScopedLock lock(mLock);
        workers.swap(mWorkers);
    }
    while (!workers.empty())
    {
        workers.pop_back();
    }
}

QZRESULT LThreadPool::ReleaseInternalReferences()
{
    StopDispatcher();
    return (GetInternalRefCount() == 0 && GetRefCount() == 1) ? S_OK : E_FAIL;
}

std::size_t LThreadPool::GetQueuedCount() const
{
    Mutex::ScopedLock lock(mLock);
    return mQueue.size();
}

} // namespace QZ
