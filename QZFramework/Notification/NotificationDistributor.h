// Delivers a notification at once, on the caller's thread, to every receiver registered with it
// for the notification's identifier: the latest registration first.
//
// Registrations hold references in both directions, counted as internal references: each holds
// its receiver, and one reference to the distributor, so a plain distributor lives while clients
// are registered with it.
//
// Distributors are used from several threads (a MIDI worker distributes while the user-interface
// thread subscribes and unsubscribes). Each identifier's registrations have their own lock, and a
// delivery walks a snapshot of them with no lock held while a receiver runs. A registration that
// is removed before its turn comes is not called; one added during a delivery is called by the
// next one; every other receiver is called exactly once. So a receiver may register, unregister,
// distribute or post from within its call, also for itself.
//
// Flag bit 0 (kQueuedOnly) makes a registration queued only: it receives only notifications posted
// to a queue that delivers through this distributor, while it was registered, and of several
// posted before one delivery pass only the last one.
#pragma once

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationReceiver.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/Mutex.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace QZ
{

class LNotificationDistributor : public virtual LRefCountedObject
{
public:
    static constexpr std::uint32_t kQueuedOnly = 1;

    class LNotificationClientPool;

    // One (receiver, flags) registration and the notification bound to it for queued delivery.
    class LNotificationRegisteredClientInfo : public LRefCountedObject
    {
    public:
        LNotificationRegisteredClientInfo(const RCPtr<LNotificationReceiver>& receiver,
                                          std::uint32_t flags)
            : mReceiver(receiver), mFlags(flags)
        {
        }

    private:
        friend class LNotificationDistributor;
        friend class LNotificationClientPool;

        // Guarded by the pool's lock.
        RCPtr<LNotificationReceiver> mReceiver;
        RCPtr<LNotification> mBound;
        std::uint32_t mFlags;
        bool mRemoved = false;
    };

    // The registrations for one identifier, in order of registration.
    class LNotificationClientPool : public LRefCountedObject
    {
    public:
        explicit LNotificationClientPool(const char16_t* identifier) : mIdentifier(identifier) {}

        [[nodiscard]] const char16_t* GetIdentifier() const { return mIdentifier; }
        // The OR of the flags of the registrations (not narrowed when one is removed).
        [[nodiscard]] std::uint32_t GetFlagUnion() const;
        [[nodiscard]] std::int32_t GetRegistrationCount() const;
        // The receivers of the registrations now in place, in order of registration.
        [[nodiscard]] std::vector<RCPtr<LNotificationReceiver>> GetReceivers() const;
        // Delivers to the one registration at index (under the rules of a delivery) and returns
        // the delivery index afterwards: lowered by one for each registration below it removed
        // during the call. An index out of range delivers nothing and comes back unchanged.
        std::int32_t NotifyClientAt(const RCPtr<LNotificationDistributor>& sender,
                                    std::int32_t index, const RCPtr<LNotification>& notification);

    private:
        friend class LNotificationDistributor;
        using Registrations = std::vector<RCPtr<LNotificationRegisteredClientInfo>>;

        // The receiver to call for this notification, or null when the registration is gone or
        // waits for another notification; clears a binding that the notification consumes.
        RCPtr<LNotificationReceiver> TakeReceiverFor(LNotificationRegisteredClientInfo& info,
                                                     const LNotification* notification);
        [[nodiscard]] std::int32_t FindIndex(const LNotificationReceiver* receiver) const;
        void Publish(Registrations registrations);

        const char16_t* const mIdentifier;
        mutable Mutex mLock;
        std::uint32_t mFlagUnion = 0;
        // Replaced, never changed in place, so that a delivery can keep walking its snapshot.
        std::shared_ptr<const Registrations> mRegistrations = std::make_shared<Registrations>();
        std::int32_t mDeliveryIndex = -1;
    };

    LNotificationDistributor() = default;
    ~LNotificationDistributor() override;

    // 0 when delivered, 1 when nobody is registered for the identifier, E_INVALIDARG for a null
    // notification.
    QZRESULT Distribute(const RCPtr<LNotification>& notification);
    // Distribute for a caller that holds this distributor already: sender must point to it.
    QZRESULT DistributeAs(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);
    // 0 for a new registration; 1 when the receiver was registered already (its flags are
    // replaced) or the identifier is null or empty; E_INVALIDARG for a null receiver.
    QZRESULT AddClient(const RCPtr<LNotificationReceiver>& receiver, const char16_t* identifier,
                       std::uint32_t flags);
    // 0 when removed, 1 when there was no such registration, E_INVALIDARG for a null receiver or
    // an empty identifier.
    QZRESULT RemoveClient(const RCPtr<LNotificationReceiver>& receiver, const char16_t* identifier);
    // The number of registrations removed, or E_INVALIDARG for a null receiver.
    std::int32_t RemoveClientFromAll(const RCPtr<LNotificationReceiver>& receiver);
    [[nodiscard]] bool IsClientRegistered(const RCPtr<LNotificationReceiver>& receiver) const;
    // 0 and the flags, or E_FAIL when there is no such registration.
    QZRESULT GetClientFlags(const RCPtr<LNotificationReceiver>& receiver,
                            const char16_t* identifier, std::uint32_t& flags) const;
    [[nodiscard]] RCPtr<LNotificationClientPool> FindClientPool(const char16_t* identifier) const;
    // Asks every registered receiver to unsubscribe itself (last pool and last registration
    // first). Returns 0.
    QZRESULT UnsubscribeAllClients();
    [[nodiscard]] std::int32_t GetRegistrationCount() const { return mRegistrationCount.load(); }

    // Binds a notification being posted to every queued-only registration for its identifier,
    // replacing the notification bound before.
    void BindPostedNotification(const RCPtr<LNotification>& notification);

private:
    // What a removed registration held, released by the caller after it has left every lock.
    struct RemovedRegistration
    {
        RCPtr<LNotificationReceiver> receiver;
        RCPtr<LNotification> bound;
    };

    [[nodiscard]] std::vector<RCPtr<LNotificationClientPool>> GetPools() const;
    // The pool for the interned identifier, or null; the caller holds mLock.
    [[nodiscard]] LNotificationClientPool* FindPoolLocked(const char16_t* identifier) const;
    bool RemoveFromPool(LNotificationClientPool& pool, const LNotificationReceiver* receiver,
                        RemovedRegistration& removed);
    // Takes back the references of removed registrations; the distributor may be gone afterwards.
    static void ReleaseRegistrations(LNotificationDistributor* distributor, std::int32_t count);
    // Remembers that a queued-only registration was made, so posts bind only from then on.
    void NoteFlags(std::uint32_t flags);

    mutable Mutex mLock;
    // One pool per identifier, in the order of their first registrations; pools are never removed.
    std::vector<RCPtr<LNotificationClientPool>> mPools;
    std::atomic<std::int32_t> mRegistrationCount{0};
    // Set once any registration was queued-only; never cleared.
    std::atomic<bool> mHasQueuedOnly{false};
};

} // namespace QZ
