#include "QZFramework/Notification/NotificationQueue.h"

#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/System/FaultLog.h"

#include <exception>
#include <string>
#include <utility>

namespace QZ
{
namespace
{

// Modal loops open on this thread; a pass started at a lower depth waits for one of them.
thread_local std::uint32_t gModalDepth = 0;
constexpr const char* kProcessQueue = "QZ::LNotificationQueue::ProcessQueue";

std::atomic<void (*)()> gPostWake{nullptr};

std::string DescribeFailure(const LNotification& notification, const char* what)
{
    return "receiver of " +
           std::string(GetNotificationIDString(notification.GetID()).ToNarrowString().GetString()) +
           " threw: " + what;
}

} // namespace

Mutex& GetNotificationQueueLock()
{
    // Never destroyed: queues may still be released while static objects are torn down.
    static auto* lock = new Mutex();
    return *lock;
}

void LNotificationQueue::LPostingReceiver::ReceiveNotification(
    const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& notification)
{
    RCPtr<LNotificationQueue> queue;
    {
        Mutex::ScopedLock lock(GetNotificationQueueLock());
        queue = mQueue;
    }
    if (!queue || !notification)
    {
        return;
    }
    RCPtr<LNotification> copy;
    LNotification::Create(copy, notification->GetID(), notification->GetPayload());
    (void)queue->Post(copy);
}

QZRESULT LNotificationQueue::LPostingReceiver::Unsubscribe(const RCPtr<LNotificationDistributor>&,
                                                           const char16_t*)
{
    return E_FAIL;
}

LNotificationQueue::LNotificationQueue() : mStorage(&GetNotificationQueueLock())
{
    mPostingReceiver = new LPostingReceiver(this);
    AdjustCyclicRefCount(1);
    LNotification::Create(mIdleNotification, NID_IDLE);
}

LNotificationQueue::~LNotificationQueue()
{
    DrainUndelivered();
}

RCPtr<LNotificationDistributor> LNotificationQueue::GetDistributor() const
{
    Mutex::ScopedLock lock(GetNotificationQueueLock());
    return mDistributor;
}

QZRESULT LNotificationQueue::Post(const RCPtr<LNotification>& notification)
{
    if (!notification || notification->IsPosted())
    {
        return E_INVALIDARG;
    }
    bool wasEmpty = false;
    QZRESULT result = S_OK;
    {
        // One hold of the lock for the distributor, the binding and the ring: the lock is
        // re-entrant, and the distributor cannot go while it is held.
        Mutex::ScopedLock lock(GetNotificationQueueLock());
        if (!mDistributor)
        {
            return E_FAIL;
        }
        if (!notification->MarkPosted())
        {
            return E_INVALIDARG;
        }
        mDistributor->BindPostedNotification(notification);
        result = mStorage.Enqueue(notification, &wasEmpty);
    }
    void (*wake)() = gPostWake.load(std::memory_order_acquire);
    if (wasEmpty && wake != nullptr)
    {
        wake();
    }
    return result;
}

void LNotificationQueue::SetPostWake(void (*wake)())
{
    gPostWake.store(wake, std::memory_order_release);
}

void LNotificationQueue::Deliver(const RCPtr<LNotificationDistributor>& distributor,
                                 const RCPtr<LNotification>& notification)
{
    try
    {
        distributor->DistributeAs(distributor, notification);
    }
    catch (const std::exception& error)
    {
        LogFault(kProcessQueue, DescribeFailure(*notification, error.what()));
    }
    catch (...)
    {
        LogFault(kProcessQueue, DescribeFailure(*notification, "unknown exception"));
    }
}

LNotificationQueue::ModalScope::ModalScope()
{
    ++gModalDepth;
}

LNotificationQueue::ModalScope::~ModalScope()
{
    --gModalDepth;
}

void LNotificationQueue::DeliverPass(const RCPtr<LNotificationDistributor>& distributor)
{
    const std::uint32_t outerDepth = mPassModalDepth.exchange(gModalDepth);
    std::vector<RCPtr<LNotification>>* const outerBatch = mPassBatch;
    std::vector<RCPtr<LNotification>> nestedBatch;
    std::vector<RCPtr<LNotification>>& batch = outerBatch != nullptr ? nestedBatch : mBatch;
    struct PassGuard
    {
        LNotificationQueue& queue;
        std::vector<RCPtr<LNotification>>* outerBatch;
        std::uint32_t outerDepth;
        // An outer pass finds its notifications delivered by this one.
        ~PassGuard()
        {
            queue.mPassBatch->clear();
            queue.mPassBatch = outerBatch;
            queue.mPassNext = outerBatch != nullptr ? outerBatch->size() : 0;
            queue.mPassModalDepth = outerDepth;
        }
    } guard{*this, outerBatch, outerDepth};
    const std::size_t outerNext = mPassNext;
    mPassBatch = &batch;
    mPassNext = 0;
    batch.clear();
    // A pass of a modal loop takes over what the pass waiting for that loop has not delivered.
    if (outerBatch != nullptr)
    {
        batch.assign(outerBatch->begin() + static_cast<std::ptrdiff_t>(outerNext),
                     outerBatch->end());
    }
    // Taken out in one go; a queue emptied meanwhile (Disconnect) delivers no more of them.
    mStorage.DequeueInto(batch, mStorage.GetCount());
    const std::uint32_t drains = mDrains.load(std::memory_order_acquire);
    while (mPassNext < batch.size())
    {
        const RCPtr<LNotification> notification = batch[mPassNext++];
        if (mDrains.load(std::memory_order_acquire) == drains)
        {
            Deliver(distributor, notification);
        }
        notification->ClearPosted();
    }
}

bool LNotificationQueue::ProcessQueue(bool idle)
{
    const RCPtr<LNotificationDistributor> distributor = GetDistributor();
    if (!distributor)
    {
        return GetCount() > 0;
    }
    bool idleQueue = false;
    if (mProcessing.compare_exchange_strong(idleQueue, true))
    {
        struct ProcessingGuard
        {
            LNotificationQueue& queue;
            ~ProcessingGuard()
            {
                queue.mPassThread = std::thread::id();
                queue.mProcessing = false;
            }
        } guard{*this};
        mPassThread = std::this_thread::get_id();
        DeliverPass(distributor);
    }
    else if (gModalDepth > mPassModalDepth && mPassThread == std::this_thread::get_id())
    {
        // The running pass is waiting for a modal loop of this thread to end.
        DeliverPass(distributor);
    }
    if (idle)
    {
        Deliver(distributor, mIdleNotification);
    }
    return GetCount() > 0;
}

QZRESULT LNotificationQueue::SetDistributor(const RCPtr<LNotificationDistributor>& distributor)
{
    Mutex::ScopedLock lock(GetNotificationQueueLock());
    if (mDistributor || !mPostingReceiver)
    {
        return E_FAIL;
    }
    mDistributor = distributor;
    return S_OK;
}

QZRESULT LNotificationQueue::SetOwnDistributor(LNotificationDistributor* distributor)
{
    Mutex::ScopedLock lock(GetNotificationQueueLock());
    if (mDistributor || !mPostingReceiver || distributor == nullptr)
    {
        return E_FAIL;
    }
    mDistributor = distributor;
    mDistributorIsInternal = true;
    AdjustCyclicRefCount(1);
    return S_OK;
}

void LNotificationQueue::GetPostingReceiver(RCPtr<LNotificationReceiver>& out) const
{
    Mutex::ScopedLock lock(GetNotificationQueueLock());
    out = mPostingReceiver;
}

void LNotificationQueue::DrainUndelivered()
{
    mDrains.fetch_add(1, std::memory_order_acq_rel);
    while (mStorage.GetCount() > 0)
    {
        RCPtr<LNotification> notification;
        mStorage.Dequeue(notification);
        notification->ClearPosted();
    }
}

void LNotificationQueue::Disconnect()
{
    RCPtr<LNotificationDistributor> distributor;
    RCPtr<LPostingReceiver> receiver;
    RCPtr<LNotificationQueue> backReference;
    bool distributorIsInternal = false;
    {
        Mutex::ScopedLock lock(GetNotificationQueueLock());
        distributor = std::move(mDistributor);
        distributorIsInternal = std::exchange(mDistributorIsInternal, false);
        receiver = std::move(mPostingReceiver);
        if (receiver)
        {
            backReference = std::move(receiver->mQueue);
        }
    }
    DrainUndelivered();
    // Each internal count is taken back before its reference goes, so that dropping it cannot
    // pass for the release of the last outside reference.
    if (distributorIsInternal)
    {
        AdjustCyclicRefCount(-1);
    }
    distributor = nullptr;
    receiver = nullptr;
    if (backReference)
    {
        AdjustCyclicRefCount(-1);
    }
}

QZRESULT LNotificationQueue::ReleaseInternalReferences()
{
    Disconnect();
    return (GetInternalRefCount() == 0 && GetRefCount() == 1) ? S_OK : E_FAIL;
}

} // namespace QZ
