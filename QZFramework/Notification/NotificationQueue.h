// Posting defers a notification: it goes into a queue and is delivered later through the queue's
// distributor, on the thread that processes the queue (the user-interface thread, at idle). Any
// thread may post; that is how a worker reaches the user-interface thread.
//
// One delivery pass delivers exactly the notifications that were queued when it started; what
// receivers post meanwhile waits for the next pass, and a pass entered again from a receiver
// delivers nothing, unless the receiver runs a modal loop (a ModalScope): a pass of that loop
// delivers what is queued then, the rest of the outer pass's notifications included, so that a
// dialog opened from a delivery does not stop the queue (an exit request among others). A
// receiver that throws does not wedge the queue: the exception is logged, the pass goes on, and
// later passes deliver normally.
//
// A posted notification is marked from Post until its pass has delivered it (or the queue is
// emptied); while marked it cannot be posted again, to this or any other queue.
//
// The posting receiver lets a caller send notifications into the queue through the receiver
// interface; its reference back to the queue is counted as an internal reference of the queue.
// Disconnect (also run when the last outside reference goes) cuts both ties.
#pragma once

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationReceiver.h"
#include "QZFramework/Notification/RCPtrQueue.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/Mutex.h"

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace QZ
{

// The one lock of every notification queue's ring, distributor and posting receiver.
Mutex& GetNotificationQueueLock();

class LNotificationQueue : public virtual LRefCountedObject
{
public:
    static constexpr std::uint32_t kInitialSlots = 256;

    // Held by a modal loop for its run on the thread that processes the queues.
    class ModalScope
    {
    public:
        ModalScope();
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    };

    // Posts a copy (same identifier and payload) of every notification it receives.
    class LPostingReceiver : public LNotificationReceiver
    {
    public:
        explicit LPostingReceiver(LNotificationQueue* queue) : mQueue(queue) {}

        void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification) override;
        // Always E_FAIL: the receiver is not a client.
        QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                             const char16_t* identifier) override;

    private:
        friend class LNotificationQueue;

        // Guarded by the queue lock; null once detached.
        RCPtr<LNotificationQueue> mQueue;
    };

    LNotificationQueue();
    ~LNotificationQueue() override;

    // 0; E_INVALIDARG for a null notification or one already posted; E_FAIL when the queue has no
    // distributor. Nothing is queued or marked on failure.
    QZRESULT Post(const RCPtr<LNotification>& notification);
    // Any thread may call wake (null for none) after a post finds its queue empty, so that the
    // thread which processes the queues, asleep while there is nothing to do, wakes up.
    static void SetPostWake(void (*wake)());

    // One delivery pass, then "NID_IDLE" when idle is true (also while a pass is running).
    // Returns true when notifications remain queued.
    bool ProcessQueue(bool idle);
    // 0 when set or when distributor is null (nothing changes); E_FAIL when a distributor is set
    // already or the queue is disconnected.
    QZRESULT SetDistributor(const RCPtr<LNotificationDistributor>& distributor);
    void GetPostingReceiver(RCPtr<LNotificationReceiver>& out) const;
    // Empties the queue and cuts it from its distributor and its posting receiver.
    void Disconnect();
    QZRESULT ReleaseInternalReferences() override;

    [[nodiscard]] std::uint32_t GetCount() const { return mStorage.GetCount(); }
    [[nodiscard]] std::uint32_t GetSlotCount() const { return mStorage.GetSlotCount(); }

protected:
    // For a queue that delivers through itself: the reference counts as internal. Takes a plain
    // pointer, so that no temporary pointer is released while the internal count already
    // includes the new reference (which would pass for the release of the last outside one).
    QZRESULT SetOwnDistributor(LNotificationDistributor* distributor);

private:
    [[nodiscard]] RCPtr<LNotificationDistributor> GetDistributor() const;
    static void Deliver(const RCPtr<LNotificationDistributor>& distributor,
                        const RCPtr<LNotification>& notification);
    void DrainUndelivered();

    // Delivers the notifications queued now; a pass nested in it takes over what it has left.
    void DeliverPass(const RCPtr<LNotificationDistributor>& distributor);

    std::atomic<bool> mProcessing{false};
    // Counts the times the queue was emptied without delivery.
    std::atomic<std::uint32_t> mDrains{0};
    // The thread of the running pass, the modal depth it started at, and its notifications with
    // the next one to deliver; the last two only on that thread.
    std::atomic<std::thread::id> mPassThread{};
    std::atomic<std::uint32_t> mPassModalDepth{0};
    std::vector<RCPtr<LNotification>>* mPassBatch = nullptr;
    std::size_t mPassNext = 0;
    RCPtrQueue<LNotification, kInitialSlots> mStorage;
    // The notifications of the pass in hand; used only by the pass.
    std::vector<RCPtr<LNotification>> mBatch;
    // Guarded by the queue lock.
    RCPtr<LNotificationDistributor> mDistributor;
    bool mDistributorIsInternal = false;
    RCPtr<LPostingReceiver> mPostingReceiver;
    RCPtr<LNotification> mIdleNotification;
};

} // namespace QZ
