// Matches typed keys against a hot-key map and sends the command of a bound key, as a
// notification named by the command and without data, to one receiver: the application binds
// its manager to the posting receiver of the "application" centre's queue, so a hot key's
// command is delivered at the next idle pass. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/HotKeyMap.h"
#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/Notification/NotificationReceiver.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LGlobalHotKeyManager : public virtual LRefCountedObject
{
public:
    // A manager with an empty map that sends to the target; E_INVALIDARG, out empty, without one.
    static QZRESULT Create(RCPtr<LGlobalHotKeyManager>& out,
                           const RCPtr<LNotificationReceiver>& target);
    ~LGlobalHotKeyManager() override;

    // 0 when the key is bound and its command was sent to the target; 1 when it is not bound.
    QZRESULT ProcessKey(const KeyCode& key);

    [[nodiscard]] HotKeyMap& GetHotKeyMap() { return mMap; }
    [[nodiscard]] const HotKeyMap& GetHotKeyMap() const { return mMap; }
    [[nodiscard]] const RCPtr<LNotificationReceiver>& GetTarget() const { return mTarget; }

private:
    explicit LGlobalHotKeyManager(const RCPtr<LNotificationReceiver>& target) : mTarget(target) {}

    HotKeyMap mMap;
    RCPtr<LNotificationReceiver> mTarget;
};

} // namespace QZ
