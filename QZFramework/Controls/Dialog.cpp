#include "QZFramework/Controls/Dialog.h"

#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <iterator>

namespace QZ
{
namespace
{

struct StandardButton
{
    const char16_t* name;
    std::int32_t result;
    // The button takes the focus before the dialog ends.
    bool focusFirst;
};

constexpr StandardButton kStandardButtons[] = {{u"buttonOK", LDialog::kResultOK, true},
                                               {u"buttonClose", LDialog::kResultOK, true},
                                               {u"buttonCancel", LDialog::kResultCancel, false},
                                               {u"buttonAbort", LDialog::kResultAbort, false},
                                               {u"buttonRetry", LDialog::kResultRetry, false},
                                               {u"buttonIgnore", LDialog::kResultIgnore, false},
                                               {u"buttonYes", LDialog::kResultYes, false},
                                               {u"buttonNo", LDialog::kResultNo, false}};

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkEscape = 0x1B;

} // namespace

LDialog::LDialog(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LScrollView(parent, name, mostDerived)
{
}

LDialog::~LDialog() = default;

QZRESULT LDialog::Initialize()
{
    const QZRESULT result = LScrollView::Initialize();
    mDialogHandler = new LNotificationHandler<LDialog>(this);
    for (std::size_t i = std::size(kStandardButtons); i-- > 0;)
    {
        const RCPtr<LControl> button = FindChildByName(WideString(kStandardButtons[i].name));
        if (button && Failed(mDialogHandler->AddHandler(&LDialog::OnButtonClick,
                                                        RCPtr<LNotificationDistributor>(button),
                                                        NID_LEFT_CLICK, 0)))
        {
            break;
        }
    }
    return result;
}

void LDialog::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mDialogHandler && notification &&
        mDialogHandler->Handles(sender, notification->GetID()))
    {
        mDialogHandler->HandleNotification(sender, notification);
        return;
    }
    LScrollView::ReceiveNotification(sender, notification);
}

QZRESULT LDialog::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                              const char16_t* identifier)
{
    if (mDialogHandler)
    {
        mDialogHandler->RemoveHandler(distributor, identifier);
    }
    return LScrollView::Unsubscribe(distributor, identifier);
}

QZRESULT LDialog::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    return HandleDialogKey(key) ? S_OK : LScrollView::OnKeyEvent(key);
}

QZRESULT LDialog::ProcessKey(const RCPtr<LKeyParam>& key)
{
    return HandleDialogKey(key) ? S_OK : LScrollView::ProcessKey(key);
}

bool LDialog::HandleDialogKey(const RCPtr<LKeyParam>& key)
{
    if (!key || !key->GetKeyCode().IsKeyDown() || (key->GetKey() & KeyCode::kModifierKeys) != 0)
    {
        return false;
    }
    const std::uint32_t virtualKey = key->GetKeyCode().GetVirtualKey();
    const RCPtr<LControl> self(this);
    if (virtualKey == kVkEscape)
    {
        EndDialog(kResultCancel);
        return true;
    }
    if (virtualKey != kVkReturn)
    {
        return false;
    }
    const RCPtr<LButton> button = GetDefaultButton();
    if (!button)
    {
        return false;
    }
    button->Press();
    return true;
}

RCPtr<LButton> LDialog::GetDefaultButton() const
{
    WideString name(u"buttonOK");
    if (const ConstRCPtr<LControlDescriptor> descriptor = GetDescriptor())
    {
        WideString named;
        if (descriptor->GetCreateParam(u"DEFAULT_BUTTON", named))
        {
            name = named;
        }
    }
    RCPtr<LButton> button = RCPtr<LButton>::DynamicCastFrom(FindChildByName(name));
    return button && button->IsShowing(true) && button->IsEnabled(true) ? button
                                                                         : RCPtr<LButton>();
}

std::int32_t LDialog::DoModal()
{
    IApplicationShell* shell = GetApplicationShell();
    return shell != nullptr ? shell->RunModal(RCPtr<LControl>(this), 1) : E_FAIL;
}

QZRESULT LDialog::OnButtonClick(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>&)
{
    auto* button = dynamic_cast<LControl*>(sender.Get());
    if (button == nullptr)
    {
        return S_FALSE;
    }
    for (const StandardButton& standard : kStandardButtons)
    {
        if (button->GetName() == standard.name)
        {
            if (!standard.focusFirst || Succeeded(button->SetFocus(true)))
            {
                EndDialog(standard.result);
            }
            break;
        }
    }
    return S_FALSE;
}

void LDialog::EndDialog(std::int32_t result)
{
    const RCPtr<LControl> self(this);
    mResult = result;
    if (SendClosing()->cancel)
    {
        return;
    }
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window))
    {
        window->EndModal(result);
    }
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_DIALOG_CLOSED);
    Distribute(notification);
    OnDialogClosed();
}

RCPtr<LCancelArgs> LDialog::SendClosing()
{
    const RCPtr<LCancelArgs> arguments = LCancelArgs::Create();
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_DIALOG_CLOSING, RCPtr<LRefCountedObject>(arguments));
    Distribute(notification);
    return arguments;
}

} // namespace QZ
