// The process-wide register of notification centres by name, made on first use. The application
// drains every centre's queue once per idle pass through ProcessQueues, and releases the manager
// at shutdown (ReleaseInstance), which releases every centre. Centres may be looked up from any
// thread (a worker posting to the "application" centre).
#pragma once

#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <vector>

namespace QZ
{

class LNotificationCenterManager : public LRefCountedObject
{
public:
    // The manager, created on the first call (and again after ReleaseInstance).
    [[nodiscard]] static RCPtr<LNotificationCenterManager> GetInstance();
    // Drops the process-wide reference to the manager.
    static void ReleaseInstance();

    // The centre with that name (same text, case-sensitive), created and appended when there is
    // none; null for an empty name.
    RCPtr<LNotificationCenter> GetCenter(const StringT<char16_t, char>& name);
    // One delivery pass over every centre's queue, the last created first. True when any queue
    // still holds notifications afterwards.
    bool ProcessQueues(bool idle);
    // Whether a centre's queue holds notifications; false while there is no manager (none is
    // made).
    [[nodiscard]] static bool HasQueuedNotifications();

private:
    mutable Mutex mLock;
    std::vector<RCPtr<LNotificationCenter>> mCenters;
};

// The centre named "application", through which workers reach the user-interface thread.
[[nodiscard]] RCPtr<LNotificationCenter> GetApplicationNotificationCenter();

} // namespace QZ
