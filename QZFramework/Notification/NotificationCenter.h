// A distributor and a queue in one object, registered under a name with the centre manager. It
// delivers its queued notifications through itself; that reference to itself is counted as an
// internal reference, as is the posting receiver's. When the manager drops it (at shutdown), every
// registered receiver is asked to unsubscribe, the queue is disconnected and the centre dies.
#pragma once

#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationQueue.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class LNotificationCenter : public LNotificationDistributor, public LNotificationQueue
{
public:
    explicit LNotificationCenter(const StringT<char16_t, char>& name);

    [[nodiscard]] const StringT<char16_t, char>& GetName() const { return mName; }
    QZRESULT ReleaseInternalReferences() override;

private:
    const StringT<char16_t, char> mName;
};

} // namespace QZ
