#include "QZFramework/Notification/NotificationClient.h"

#include "QZFramework/Notification/NotificationID.h"

#include <algorithm>

namespace QZ
{

void LNotificationClient::ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                                              const RCPtr<LNotification>&)
{
}

const char16_t* LNotificationClient::Subscribe(const RCPtr<LNotificationDistributor>& distributor,
                                               const char16_t* identifier, std::uint32_t flags)
{
    if (!distributor || identifier == nullptr || identifier[0] == 0)
    {
        return nullptr;
    }
    const RCPtr<LNotificationReceiver> self(this);
    Mutex::ScopedLock lock(mLock);
    const QZRESULT result = distributor->AddClient(self, identifier, flags);
    if (result == S_OK)
    {
        ++mRegistrationCount;
        AdjustCyclicRefCount(1);
    }
    if (Succeeded(result) && std::find(mDistributors.begin(), mDistributors.end(),
                                       distributor.Get()) == mDistributors.end())
    {
        mDistributors.push_back(distributor.Get());
    }
    return GetNotificationID(identifier);
}

QZRESULT LNotificationClient::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                          const char16_t* identifier)
{
    // Held so that dropping the registration's reference cannot pass for the last outside one.
    const RCPtr<LNotificationReceiver> self(this);
    Mutex::ScopedLock lock(mLock);
    if (mRegistrationCount == 0)
    {
        return S_FALSE;
    }
    if (!distributor || identifier == nullptr)
    {
        return E_INVALIDARG;
    }
    const QZRESULT result = distributor->RemoveClient(self, identifier);
    if (result == S_OK)
    {
        AdjustCyclicRefCount(-1);
        --mRegistrationCount;
        if (!distributor->IsClientRegistered(self))
        {
            mDistributors.erase(
                std::find(mDistributors.begin(), mDistributors.end(), distributor.Get()));
        }
    }
    return result;
}

std::int32_t LNotificationClient::UnsubscribeAll()
{
    const RCPtr<LNotificationReceiver> self(this);
    Mutex::ScopedLock lock(mLock);
    if (mRegistrationCount < 1)
    {
        return 0;
    }
    AdjustCyclicRefCount(-mRegistrationCount);
    std::int32_t removed = 0;
    while (!mDistributors.empty())
    {
        LNotificationDistributor* distributor = mDistributors.back();
        mDistributors.pop_back();
        removed += distributor->RemoveClientFromAll(self);
    }
    mRegistrationCount = 0;
    return removed;
}

QZRESULT LNotificationClient::ReleaseInternalReferences()
{
    UnsubscribeAll();
    return (GetInternalRefCount() == 0 && GetRefCount() == 1) ? S_OK : E_FAIL;
}

std::int32_t LNotificationClient::GetRegistrationCount() const
{
    Mutex::ScopedLock lock(mLock);
    return mRegistrationCount;
}

std::size_t LNotificationClient::GetDistributorCount() const
{
    Mutex::ScopedLock lock(mLock);
    return mDistributors.size();
}

} // namespace QZ
