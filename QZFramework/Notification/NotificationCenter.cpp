#include "QZFramework/Notification/NotificationCenter.h"

namespace QZ
{

LNotificationCenter::LNotificationCenter(const StringT<char16_t, char>& name) : mName(name)
{
    (void)SetOwnDistributor(this);
}

QZRESULT LNotificationCenter::ReleaseInternalReferences()
{
    UnsubscribeAllClients();
    Disconnect();
    return (GetInternalRefCount() == 0 && GetRefCount() == 1) ? S_OK : E_FAIL;
}

} // namespace QZ
