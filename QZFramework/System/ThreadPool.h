// A fixed number of worker threads plus a dispatcher thread. Work goes to a free worker at once;
// when none is free it is queued by priority and the dispatcher hands it to the next worker that
// finishes. The priority of a work item is both its place in the queue (higher first; equal
// priorities in the order queued) and the thread priority of the worker that runs it.
//
// QueueWork never waits for another thread: it takes the pool's lock only for short, bounded
// steps, enqueues and signals the dispatcher, so it may be called from driver callbacks.
//
// The dispatcher is the pool's own DoWork, running for the pool's whole life on the queue threader
// and woken by any worker's done event or by newly queued work. The queue threader's reference to
// the pool is counted as an internal reference: when the last reference from outside goes, the
// pool stops its dispatcher, which releases that reference, and the pool is destroyed. The
// destructor drops queued work, then waits for the dispatcher and every worker (last first).
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/EventPool.h"
#include "QZFramework/System/LEvent.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/System/RetriggerableThreader.h"
#include "QZFramework/System/ThreadWorker.h"
#include "QZFramework/Utilities/Storage/ReuseAllocator.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace QZ
{

class LThreadPool final : public LThreadWorker
{
public:
    // One queued piece of work; its memory comes from one process-wide recycling pool.
    class LWorkerParams : public LRefCountedObject
    {
    public:
        LWorkerParams(const RCPtr<LThreadWorker>& worker, const RCPtr<LRefCountedObject>& params,
                      std::int32_t priority)
            : mWorker(worker), mParams(params), mPriority(priority)
        {
        }

        static void* operator new(std::size_t size);
        static void operator delete(void* address) noexcept;
        static ReuseAllocator<LWorkerParams, 1>& GetAllocator();

        RCPtr<LThreadWorker> mWorker;
        RCPtr<LRefCountedObject> mParams;
        std::int32_t mPriority;
    };

    // threadCount workers (at least one) and a dispatcher at dispatcherPriority.
    LThreadPool(std::int32_t threadCount, std::int32_t dispatcherPriority);
    ~LThreadPool() override;

    // Runs the work on a free worker or queues it; work given to a shut-down pool is dropped.
    void QueueWork(const RCPtr<LThreadWorker>& worker, const RCPtr<LRefCountedObject>& params,
                   std::int32_t priority);
    // The dispatcher loop; run only by the queue threader. Returns 0.
    QZRESULT DoWork(const RCPtr<LRefCountedObject>& params) override;
    // Accepts no more work, drops queued work and stops the dispatcher and the workers, waiting
    // for each. Called by the destructor; safe to call more than once.
    void Shutdown();
    QZRESULT ReleaseInternalReferences() override;

    [[nodiscard]] std::int32_t GetThreadCount() const { return mThreadCount.load(); }
    [[nodiscard]] std::size_t GetQueuedCount() const;

private:
    std::int32_t TryFreeWorker(const RCPtr<LThreadWorker>& worker,
                               const RCPtr<LRefCountedObject>& params, std::int32_t priority);
    bool StartOnWorker(std::size_t index, const RCPtr<LThreadWorker>& worker,
                       const RCPtr<LRefCountedObject>& params, std::int32_t priority);
    void DispatchQueued();
    void StopDispatcher();

    std::atomic<std::int32_t> mThreadCount;
    std::vector<std::unique_ptr<RetriggerableThreader>> mWorkers;
    // Event i is worker i's done event; the last one wakes the dispatcher for new work.
    EventPool mWorkerDoneEvents;
    std::unique_ptr<RetriggerableThreader> mQueueThreader;
    RCPtr<LEvent> mQueueDoneEvent;
    // Sorted by ascending priority; among equal priorities the newest has the lowest index.
    std::vector<RCPtr<LWorkerParams>> mQueue;
    mutable Mutex mLock;
    std::int32_t mDispatcherPriority;
    std::atomic<bool> mDispatcherRunning{false};
};

} // namespace QZ
