// Maps (distributor, identifier) pairs to member functions of its owner T, an LNotificationClient.
// The owner holds the handler through an RCPtr; the handler holds the owner by a plain pointer,
// so it never keeps its owner alive. The owner wires it into its receiver operations:
//   ReceiveNotification -> HandleNotification,
//   Unsubscribe -> RemoveHandler, then LNotificationClient::Unsubscribe.
// The map has its own lock; a member function is called with no lock held.
#pragma once

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/Receivable.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/Mutex.h"

#include <cstdint>
#include <map>

namespace QZ
{

template <class T> class LNotificationHandler : public virtual LRefCountedObject
{
public:
    using Method = QZRESULT (T::*)(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);

    explicit LNotificationHandler(T* target) : mTarget(target) {}

    // Subscribes the owner at the distributor and maps the pair to the method; a pair mapped
    // already keeps its first method (the flags are still replaced). 0, E_INVALIDARG for a null
    // distributor, E_FAIL when the subscription fails.
    QZRESULT AddHandler(Method method, const RCPtr<LNotificationDistributor>& distributor,
                        const char16_t* identifier, std::uint32_t flags)
    {
        if (!distributor)
        {
            return E_INVALIDARG;
        }
        const char16_t* interned = mTarget->Subscribe(distributor, identifier, flags);
        if (interned == nullptr)
        {
            return E_FAIL;
        }
        Mutex::ScopedLock lock(mLock);
        mHandlers.emplace(Receivable(distributor.Get(), interned), method);
        return S_OK;
    }

    // Maps the identifier to the method for notifications from any distributor and for those
    // sent without one, without subscribing anywhere; a pair from a distributor mapped with
    // AddHandler goes first. 0, E_INVALIDARG for an empty identifier.
    QZRESULT AddHandlerAnyDistributor(Method method, const char16_t* identifier)
    {
        if (identifier == nullptr || identifier[0] == 0)
        {
            return E_INVALIDARG;
        }
        Mutex::ScopedLock lock(mLock);
        mHandlers.emplace(Receivable(nullptr, GetNotificationID(identifier)), method);
        return S_OK;
    }

    // True when a notification of the identifier from the sender reaches a method.
    [[nodiscard]] bool Handles(const RCPtr<LNotificationDistributor>& sender,
                               const char16_t* identifier) const
    {
        const char16_t* interned = GetNotificationID(identifier);
        Mutex::ScopedLock lock(mLock);
        return mHandlers.count(Receivable(sender.Get(), interned)) > 0 ||
               mHandlers.count(Receivable(nullptr, interned)) > 0;
    }

    // E_FAIL when the pair is not mapped; otherwise the method and the result of the
    // distributor's GetClientFlags.
    QZRESULT GetHandler(const RCPtr<LNotificationDistributor>& distributor,
                        const char16_t* identifier, Method& method, std::uint32_t& flags) const
    {
        {
            Mutex::ScopedLock lock(mLock);
            const auto found =
                mHandlers.find(Receivable(distributor.Get(), GetNotificationID(identifier)));
            if (found == mHandlers.end())
            {
                return E_FAIL;
            }
            method = found->second;
        }
        return distributor->GetClientFlags(RCPtr<LNotificationReceiver>(mTarget), identifier,
                                           flags);
    }

    // True when a mapping was erased.
    bool RemoveHandler(const RCPtr<LNotificationDistributor>& distributor,
                       const char16_t* identifier)
    {
        Mutex::ScopedLock lock(mLock);
        return mHandlers.erase(Receivable(distributor.Get(), GetNotificationID(identifier))) > 0;
    }

    // The mapped method's result (the sender's mapping first, then the one for any distributor),
    // or 0 when neither is mapped.
    QZRESULT HandleNotification(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification)
    {
        if (!notification)
        {
            return S_OK;
        }
        Method method = nullptr;
        {
            Mutex::ScopedLock lock(mLock);
            auto found = mHandlers.find(Receivable(sender.Get(), notification->GetID()));
            if (found == mHandlers.end())
            {
                found = mHandlers.find(Receivable(nullptr, notification->GetID()));
            }
            if (found == mHandlers.end())
            {
                return S_OK;
            }
            method = found->second;
        }
        return (mTarget->*method)(sender, notification);
    }

    [[nodiscard]] std::size_t GetHandlerCount() const
    {
        Mutex::ScopedLock lock(mLock);
        return mHandlers.size();
    }

private:
    T* const mTarget;
    mutable Mutex mLock;
    std::map<Receivable, Method> mHandlers;
};

} // namespace QZ
