// Anything that a distributor can deliver notifications to.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LNotification;
class LNotificationDistributor;

class LNotificationReceiver : public virtual LRefCountedObject
{
public:
    // Handles one notification, on the thread that delivers it and with no lock of the
    // notification system held. Delivery does not look at any result.
    virtual void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification) = 0;
    // Removes this receiver's registration for the identifier at the distributor.
    virtual QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                 const char16_t* identifier) = 0;
};

} // namespace QZ
