#include "QZFramework/Notification/NotificationDistributor.h"

#include "QZFramework/Notification/NotificationID.h"

#include <utility>

namespace QZ
{

using ClientPool = LNotificationDistributor::LNotificationClientPool;
using ClientInfo = LNotificationDistributor::LNotificationRegisteredClientInfo;

std::uint32_t ClientPool::GetFlagUnion() const
{
    Mutex::ScopedLock lock(mLock);
    return mFlagUnion;
}

std::int32_t ClientPool::GetRegistrationCount() const
{
    Mutex::ScopedLock lock(mLock);
    return static_cast<std::int32_t>(mRegistrations->size());
}

std::vector<RCPtr<LNotificationReceiver>> ClientPool::GetReceivers() const
{
    Mutex::ScopedLock lock(mLock);
    std::vector<RCPtr<LNotificationReceiver>> receivers;
    for (const RCPtr<ClientInfo>& info : *mRegistrations)
    {
        if (!info->mRemoved)
        {
            receivers.push_back(info->mReceiver);
        }
    }
    return receivers;
}

RCPtr<LNotificationReceiver> ClientPool::TakeReceiverFor(ClientInfo& info,
                                                         const LNotification* notification)
{
    if (info.mRemoved)
    {
        return nullptr;
    }
    if ((info.mFlags & kQueuedOnly) != 0)
    {
        if (info.mBound.Get() != notification)
        {
            return nullptr;
        }
        // The deliverer holds the notification, so this is never its last reference.
        info.mBound = nullptr;
    }
    return info.mReceiver;
}

std::int32_t ClientPool::FindIndex(const LNotificationReceiver* receiver) const
{
    const Registrations& registrations = *mRegistrations;
    for (std::size_t i = registrations.size(); i-- > 0;)
    {
        if (registrations[i]->mReceiver.Get() == receiver)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

void ClientPool::Publish(Registrations registrations)
{
    mRegistrations = std::make_shared<const Registrations>(std::move(registrations));
}

std::int32_t ClientPool::NotifyClientAt(const RCPtr<LNotificationDistributor>& sender,
                                        std::int32_t index,
                                        const RCPtr<LNotification>& notification)
{
    RCPtr<LNotificationReceiver> receiver;
    {
        Mutex::ScopedLock lock(mLock);
        const Registrations& registrations = *mRegistrations;
        if (!notification || index < 0 || index >= static_cast<std::int32_t>(registrations.size()))
        {
            return index;
        }
        mDeliveryIndex = index;
        receiver =
            TakeReceiverFor(*registrations[static_cast<std::size_t>(index)], notification.Get());
    }
    if (receiver)
    {
        receiver->ReceiveNotification(sender, notification);
    }
    Mutex::ScopedLock lock(mLock);
    return mDeliveryIndex;
}

LNotificationDistributor::~LNotificationDistributor() = default;

std::vector<RCPtr<ClientPool>> LNotificationDistributor::GetPools() const
{
    Mutex::ScopedLock lock(mLock);
    return mPools;
}

ClientPool* LNotificationDistributor::FindPoolLocked(const char16_t* identifier) const
{
    for (const RCPtr<ClientPool>& pool : mPools)
    {
        if (pool->mIdentifier == identifier)
        {
            return pool.Get();
        }
    }
    return nullptr;
}

RCPtr<ClientPool> LNotificationDistributor::FindClientPool(const char16_t* identifier) const
{
    Mutex::ScopedLock lock(mLock);
    return RCPtr<ClientPool>(FindPoolLocked(identifier));
}

QZRESULT LNotificationDistributor::Distribute(const RCPtr<LNotification>& notification)
{
    // Keeps this distributor alive should a receiver remove its last registration.
    return DistributeAs(RCPtr<LNotificationDistributor>(this), notification);
}

QZRESULT LNotificationDistributor::DistributeAs(const RCPtr<LNotificationDistributor>& sender,
                                                const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return E_INVALIDARG;
    }
    // Pools live as long as their distributor, which the sender keeps alive.
    ClientPool* pool = nullptr;
    {
        Mutex::ScopedLock lock(mLock);
        pool = FindPoolLocked(notification->GetID());
    }
    if (pool == nullptr)
    {
        return S_FALSE;
    }
    std::shared_ptr<const ClientPool::Registrations> snapshot;
    RCPtr<LNotificationReceiver> receiver;
    {
        // The last registration, delivered to first, is taken with the snapshot: most
        // identifiers have one receiver, and one hold of the lock serves it.
        Mutex::ScopedLock lock(pool->mLock);
        snapshot = pool->mRegistrations;
        if (snapshot->empty())
        {
            return S_FALSE;
        }
        receiver = pool->TakeReceiverFor(*snapshot->back(), notification.Get());
    }
    for (std::size_t i = snapshot->size(); i-- > 0;)
    {
        if (i + 1 < snapshot->size())
        {
            Mutex::ScopedLock lock(pool->mLock);
            receiver = pool->TakeReceiverFor(*(*snapshot)[i], notification.Get());
        }
        if (receiver)
        {
            receiver->ReceiveNotification(sender, notification);
        }
    }
    return S_OK;
}

QZRESULT LNotificationDistributor::AddClient(const RCPtr<LNotificationReceiver>& receiver,
                                             const char16_t* identifier, std::uint32_t flags)
{
    if (!receiver)
    {
        return E_INVALIDARG;
    }
    const char16_t* interned = GetNotificationID(identifier);
    if (interned == nullptr)
    {
        return S_FALSE;
    }
    RCPtr<ClientPool> pool;
    {
        Mutex::ScopedLock lock(mLock);
        pool = FindPoolLocked(interned);
        if (!pool)
        {
            pool = new ClientPool(interned);
            mPools.push_back(pool);
        }
    }
    Mutex::ScopedLock lock(pool->mLock);
    const std::int32_t index = pool->FindIndex(receiver.Get());
    if (index >= 0)
    {
        ClientInfo& info = *(*pool->mRegistrations)[static_cast<std::size_t>(index)];
        if (info.mFlags != flags)
        {
            NoteFlags(flags);
            info.mFlags = flags;
            pool->mFlagUnion = 0;
            for (const RCPtr<ClientInfo>& registration : *pool->mRegistrations)
            {
                pool->mFlagUnion |= registration->mFlags;
            }
        }
        return S_FALSE;
    }
    AddRef();
    AdjustCyclicRefCount(1);
    mRegistrationCount.fetch_add(1);
    NoteFlags(flags);
    ClientPool::Registrations registrations = *pool->mRegistrations;
    registrations.emplace_back(new ClientInfo(receiver, flags));
    pool->Publish(std::move(registrations));
    pool->mFlagUnion |= flags;
    return S_OK;
}

bool LNotificationDistributor::RemoveFromPool(ClientPool& pool,
                                              const LNotificationReceiver* receiver,
                                              RemovedRegistration& removed)
{
    Mutex::ScopedLock lock(pool.mLock);
    const std::int32_t index = pool.FindIndex(receiver);
    if (index < 0)
    {
        return false;
    }
    ClientPool::Registrations registrations = *pool.mRegistrations;
    ClientInfo& info = *registrations[static_cast<std::size_t>(index)];
    info.mRemoved = true;
    removed.receiver = std::move(info.mReceiver);
    removed.bound = std::move(info.mBound);
    registrations.erase(registrations.begin() + index);
    pool.Publish(std::move(registrations));
    // Keeps a NotifyClientAt walk in step: the entries above the removed one move down.
    if (index < pool.mDeliveryIndex)
    {
        --pool.mDeliveryIndex;
    }
    return true;
}

void LNotificationDistributor::ReleaseRegistrations(LNotificationDistributor* distributor,
                                                    std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        distributor->AdjustCyclicRefCount(-1);
        distributor->Release();
    }
}

QZRESULT LNotificationDistributor::RemoveClient(const RCPtr<LNotificationReceiver>& receiver,
                                                const char16_t* identifier)
{
    if (!receiver || identifier == nullptr || identifier[0] == 0)
    {
        return E_INVALIDARG;
    }
    const RCPtr<ClientPool> pool = FindClientPool(GetNotificationID(identifier));
    if (!pool)
    {
        return S_FALSE;
    }
    {
        RemovedRegistration removed;
        if (!RemoveFromPool(*pool, receiver.Get(), removed))
        {
            return S_FALSE;
        }
    }
    mRegistrationCount.fetch_sub(1);
    ReleaseRegistrations(this, 1);
    return S_OK;
}

std::int32_t
LNotificationDistributor::RemoveClientFromAll(const RCPtr<LNotificationReceiver>& receiver)
{
    if (!receiver)
    {
        return E_INVALIDARG;
    }
    const std::vector<RCPtr<ClientPool>> pools = GetPools();
    std::int32_t count = 0;
    {
        std::vector<RemovedRegistration> removed;
        for (std::size_t i = pools.size(); i-- > 0;)
        {
            RemovedRegistration registration;
            if (RemoveFromPool(*pools[i], receiver.Get(), registration))
            {
                removed.push_back(std::move(registration));
                ++count;
            }
        }
    }
    mRegistrationCount.fetch_sub(count);
    ReleaseRegistrations(this, count);
    return count;
}

bool LNotificationDistributor::IsClientRegistered(
    const RCPtr<LNotificationReceiver>& receiver) const
{
    for (const RCPtr<ClientPool>& pool : GetPools())
    {
        Mutex::ScopedLock lock(pool->mLock);
        if (pool->FindIndex(receiver.Get()) >= 0)
        {
            return true;
        }
    }
    return false;
}

QZRESULT LNotificationDistributor::GetClientFlags(const RCPtr<LNotificationReceiver>& receiver,
                                                  const char16_t* identifier,
                                                  std::uint32_t& flags) const
{
    const RCPtr<ClientPool> pool = FindClientPool(GetNotificationID(identifier));
    if (!pool)
    {
        return E_FAIL;
    }
    Mutex::ScopedLock lock(pool->mLock);
    const std::int32_t index = pool->FindIndex(receiver.Get());
    if (index < 0)
    {
        return E_FAIL;
    }
    flags = (*pool->mRegistrations)[static_cast<std::size_t>(index)]->mFlags;
    return S_OK;
}

QZRESULT LNotificationDistributor::UnsubscribeAllClients()
{
    const RCPtr<LNotificationDistributor> self(this);
    std::vector<std::pair<RCPtr<LNotificationReceiver>, const char16_t*>> registered;
    const std::vector<RCPtr<ClientPool>> pools = GetPools();
    for (std::size_t i = pools.size(); i-- > 0;)
    {
        Mutex::ScopedLock lock(pools[i]->mLock);
        const ClientPool::Registrations& registrations = *pools[i]->mRegistrations;
        for (std::size_t j = registrations.size(); j-- > 0;)
        {
            registered.emplace_back(registrations[j]->mReceiver, pools[i]->mIdentifier);
        }
    }
    for (const auto& [receiver, identifier] : registered)
    {
        receiver->Unsubscribe(self, identifier);
    }
    return S_OK;
}

void LNotificationDistributor::NoteFlags(std::uint32_t flags)
{
    if ((flags & kQueuedOnly) != 0)
    {
        mHasQueuedOnly.store(true, std::memory_order_release);
    }
}

void LNotificationDistributor::BindPostedNotification(const RCPtr<LNotification>& notification)
{
    if (!mHasQueuedOnly.load(std::memory_order_acquire))
    {
        return;
    }
    const RCPtr<ClientPool> pool = FindClientPool(notification->GetID());
    if (!pool)
    {
        return;
    }
    // Notifications bound before are released after the lock.
    std::vector<RCPtr<LNotification>> replaced;
    Mutex::ScopedLock lock(pool->mLock);
    if ((pool->mFlagUnion & kQueuedOnly) == 0)
    {
        return;
    }
    const ClientPool::Registrations& registrations = *pool->mRegistrations;
    for (std::size_t i = registrations.size(); i-- > 0;)
    {
        ClientInfo& info = *registrations[i];
        if ((info.mFlags & kQueuedOnly) != 0)
        {
            replaced.push_back(std::exchange(info.mBound, notification));
        }
    }
}

} // namespace QZ
