// The base of every object that subscribes to distributors (controls, panels, dialogs, managers,
// the application). A client remembers the distributors it is registered with, so that its
// registrations are undone when it goes away: each registration holds the client through an
// internal reference, and when only those are left the client unsubscribes everywhere and dies.
//
// A client's own lock guards its count and distributor list; it is taken before a distributor's
// locks and never while a receiver runs. Never subscribe from a constructor: the object must
// already be held through an RCPtr.
#pragma once

#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationReceiver.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/Mutex.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LNotificationClient : public LNotificationReceiver
{
public:
    // Does nothing; owners wire their handlers in here.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    // 1 when the client holds no registration at all, E_INVALIDARG for a null distributor or
    // identifier, otherwise the result of the distributor's RemoveClient.
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // The interned identifier, or null when the distributor is null or the identifier empty.
    const char16_t* Subscribe(const RCPtr<LNotificationDistributor>& distributor,
                              const char16_t* identifier, std::uint32_t flags);
    // Removes every registration of this client; returns how many there were.
    std::int32_t UnsubscribeAll();
    QZRESULT ReleaseInternalReferences() override;

    [[nodiscard]] std::int32_t GetRegistrationCount() const;
    [[nodiscard]] std::size_t GetDistributorCount() const;

private:
    mutable Mutex mLock;
    std::int32_t mRegistrationCount = 0;
    // Each distributor once; kept alive by this client's registrations there.
    std::vector<LNotificationDistributor*> mDistributors;
};

} // namespace QZ
