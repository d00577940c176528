#include "QZFramework/ControlBase/GlobalHotKeyManager.h"

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationDistributor.h"

namespace QZ
{

QZRESULT LGlobalHotKeyManager::Create(RCPtr<LGlobalHotKeyManager>& out,
                                      const RCPtr<LNotificationReceiver>& target)
{
    out = target ? RCPtr<LGlobalHotKeyManager>(new LGlobalHotKeyManager(target)) : nullptr;
    return target ? S_OK : E_INVALIDARG;
}

LGlobalHotKeyManager::~LGlobalHotKeyManager() = default;

QZRESULT LGlobalHotKeyManager::ProcessKey(const KeyCode& key)
{
    const WideString command = mMap.FindCommand(key);
    RCPtr<LNotification> notification;
    if (!LNotification::Create(notification, command.GetString()))
    {
        return S_FALSE;
    }
    mTarget->ReceiveNotification(nullptr, notification);
    return S_OK;
}

} // namespace QZ
