// A scope guard that suspends one subscription of an owner's handler table: the constructor
// looks the mapping (distributor, identifier) up and removes it together with the owner's
// registration at the distributor; the destructor subscribes it again with the same method and
// flags. Other receivers of the distributor keep hearing the notification meanwhile.
//
// The constructor throws FailedResultException when the mapping is missing or cannot be
// removed; the destructor never throws: a failed re-subscription is logged.
#pragma once

#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/DebugStreams.h"

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

namespace QZ
{

template <class T> class CAutoNotificationDisabler
{
public:
    CAutoNotificationDisabler(T& owner, const RCPtr<LNotificationHandler<T>>& handler,
                              const RCPtr<LNotificationDistributor>& distributor,
                              const char16_t* identifier)
        : mOwner(owner), mHandler(handler), mDistributor(distributor), mIdentifier(identifier)
    {
        const QZRESULT found =
            mHandler ? mHandler->GetHandler(mDistributor, mIdentifier, mMethod, mFlags) : E_FAIL;
        if (Failed(found))
        {
            throw FailedResultException(Message(found, "CAutoNotificationDisabler", __LINE__));
        }
        mHandler->RemoveHandler(mDistributor, mIdentifier);
        const QZRESULT removed = mOwner.LNotificationClient::Unsubscribe(mDistributor, mIdentifier);
        if (Failed(removed))
        {
            mHandler->AddHandler(mMethod, mDistributor, mIdentifier, mFlags);
            throw FailedResultException(Message(removed, "CAutoNotificationDisabler", __LINE__));
        }
    }

    ~CAutoNotificationDisabler()
    {
        const QZRESULT added = mHandler->AddHandler(mMethod, mDistributor, mIdentifier, mFlags);
        if (Failed(added))
        {
            DebugStreams::Narrow()
                << Message(added, "~CAutoNotificationDisabler", __LINE__) << std::endl;
        }
    }

    CAutoNotificationDisabler(const CAutoNotificationDisabler&) = delete;
    CAutoNotificationDisabler& operator=(const CAutoNotificationDisabler&) = delete;

private:
    static std::string Message(QZRESULT result, const char* method, int line)
    {
        char code[16];
        std::snprintf(code, sizeof(code), "%X", static_cast<std::uint32_t>(result));
        return std::string("Failed Result : QZRESULT = ") + code + " : QZ::" + method +
               " : Notification/AutoNotificationDisabler : Line " + std::to_string(line);
    }

    T& mOwner;
    RCPtr<LNotificationHandler<T>> mHandler;
    RCPtr<LNotificationDistributor> mDistributor;
    const char16_t* mIdentifier;
    typename LNotificationHandler<T>::Method mMethod = nullptr;
    std::uint32_t mFlags = 0;
};

} // namespace QZ
