#include "QZFramework/System/Clipboard.h"

#include "Platform/Window/WindowSystem.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <string>

namespace QZ
{

// Passes the edit commands on to the clipboard; it holds the clipboard by address, since the
// clipboard withdraws it before it goes.
class LClipboard::CommandClient : public LNotificationClient
{
public:
    explicit CommandClient(LClipboard& clipboard) : mClipboard(clipboard) {}

    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        if (notification)
        {
            static_cast<void>(mClipboard.PerformEdit(WideString(notification->GetID())));
        }
    }

private:
    LClipboard& mClipboard;
};

QZRESULT LClipboard::Create(RCPtr<LClipboard>& out, Platform::WindowSystem& system)
{
    out = RCPtr<LClipboard>(new LClipboard(system));
    return S_OK;
}

LClipboard::LClipboard(Platform::WindowSystem& system) : mSystem(system) {}

LClipboard::~LClipboard()
{
    Shutdown();
}

QZRESULT LClipboard::Initialize()
{
    Shutdown();
    mClient = RCPtr<CommandClient>(new CommandClient(*this));
    const RCPtr<LNotificationDistributor> center(GetApplicationNotificationCenter());
    for (const char16_t* command :
         {NID_EDIT_CUT_REQ, NID_EDIT_COPY_REQ, NID_EDIT_PASTE_REQ, NID_EDIT_DELETE_REQ})
    {
        if (mClient->Subscribe(center, command, 0) == nullptr)
        {
            Shutdown();
            QZ_THROW_FAILED_RESULT(E_FAIL, "QZ::LClipboard::Initialize");
        }
    }
    return S_OK;
}

void LClipboard::Shutdown()
{
    if (mClient)
    {
        mClient->UnsubscribeAll();
        mClient = nullptr;
    }
}

QZRESULT LClipboard::SetText(const WideString& text)
{
    const std::u16string_view units(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    return mSystem.SetClipboardText(units) ? S_OK : E_FAIL;
}

QZRESULT LClipboard::GetText(WideString& text)
{
    std::u16string units;
    const bool read = mSystem.GetClipboardText(units);
    text = read ? WideString(units.c_str()) : WideString();
    return read ? S_OK : E_FAIL;
}

QZRESULT LClipboard::PerformEdit(const WideString& command)
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LRootWindow> window =
        application != nullptr ? application->GetActiveRootWindow() : RCPtr<LRootWindow>();
    const RCPtr<LControl> focused = window ? window->GetFocusedControl() : RCPtr<LControl>();
    RCPtr<LControl> target;
    if (!focused || !focused->FindEditTarget(target))
    {
        return S_FALSE;
    }
    return target->PerformEdit(command, *this);
}

} // namespace QZ
