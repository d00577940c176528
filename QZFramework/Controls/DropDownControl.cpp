#include "QZFramework/Controls/DropDownControl.h"

#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/NotificationIDs.h"

namespace QZ
{
namespace
{

constexpr std::uint32_t kVkEscape = 0x1B;
constexpr std::uint32_t kVkSpace = 0x20;
constexpr std::uint32_t kVkDown = 0x28;
constexpr std::uint32_t kVkF4 = 0x73;
constexpr std::uint32_t kFocusBits = LControl::kHasFocus | LControl::kContainsFocus;

} // namespace

LDropDownControl::LDropDownControl(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LDropDownControl::~LDropDownControl() = default;

void LDropDownControl::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                           const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mDropDownHandler && notification &&
        mDropDownHandler->Handles(sender, notification->GetID()))
    {
        mDropDownHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LDropDownControl::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                       const char16_t* identifier)
{
    if (mDropDownHandler)
    {
        mDropDownHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

QZRESULT LDropDownControl::ReleaseInternalReferences()
{
    mDropDown = nullptr;
    return LControl::ReleaseInternalReferences();
}

QZRESULT LDropDownControl::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mDropDownHandler = new LNotificationHandler<LDropDownControl>(this);
    return mDropDownHandler->AddHandler(&LDropDownControl::OnMouseDownNotification,
                                        RCPtr<LNotificationDistributor>(this), NID_MOUSE_DOWN, 0);
}

QZRESULT LDropDownControl::OpenDropDown()
{
    const RCPtr<LControl> self(this);
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_DROPDOWN_OPENING);
    Distribute(notification);
    return ShowDropDown(true);
}

bool LDropDownControl::HoldsFocus() const
{
    return (GetConditionFlags() & kFocusBits) != 0 ||
           (mDropDown && (mDropDown->HasFocus() || mDropDown->ContainsFocus()));
}

// A press on the open control closes it; the conditions change that follows must not open it
// again.
QZRESULT LDropDownControl::OnMouseDownNotification(const RCPtr<LNotificationDistributor>&,
                                                   const RCPtr<LNotification>& notification)
{
    const auto press = RCPtr<LMouseButtonParam>::DynamicCastFrom(notification->GetPayload());
    if (press && press->GetButton() == 1 && IsDroppedDown())
    {
        const RCPtr<LControl> self(this);
        mIgnoreOnePress = true;
        ShowDropDown(false);
    }
    return S_FALSE;
}

void LDropDownControl::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    LControl::OnConditionsChanged(conditions);
    if (!conditions)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    const std::uint32_t now = conditions->GetConditions();
    const std::uint32_t previous = conditions->GetPreviousConditions();
    if (((now & ~previous) & kLeftPressed) != 0)
    {
        if (mIgnoreOnePress)
        {
            mIgnoreOnePress = false;
        }
        else if (!IsDroppedDown())
        {
            OpenDropDown();
        }
    }
    else if (((previous & ~now) & kFocusBits) != 0 && IsDroppedDown() && !HoldsFocus())
    {
        ShowDropDown(false);
    }
}

bool LDropDownControl::IsEscape(const RCPtr<LKeyParam>& key)
{
    return key && (key->GetKey() & KeyCode::kKeyDown) != 0 &&
           ((key->GetKey() >> 16) & 0xFF) == kVkEscape;
}

bool LDropDownControl::IsOpeningKey(const RCPtr<LKeyParam>& key)
{
    if (!key || !key->GetKeyCode().IsKeyDown())
    {
        return false;
    }
    const std::uint32_t virtualKey = key->GetKeyCode().GetVirtualKey();
    const std::uint32_t modifiers = key->GetKey() & KeyCode::kModifierKeys;
    return (modifiers == 0 && (virtualKey == kVkSpace || virtualKey == kVkF4)) ||
           (modifiers == KeyCode::kAlt && virtualKey == kVkDown);
}

QZRESULT LDropDownControl::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    if (IsEscape(key) && IsDroppedDown())
    {
        const RCPtr<LControl> self(this);
        ShowDropDown(false);
        return S_OK;
    }
    if (IsOpeningKey(key) && !IsDroppedDown())
    {
        const RCPtr<LControl> self(this);
        OpenDropDown();
        return S_OK;
    }
    return LControl::OnKeyEvent(key);
}

QZRESULT LDropDownControl::ProcessKey(const RCPtr<LKeyParam>& key)
{
    if (IsEscape(key) && IsDroppedDown())
    {
        // A focused drop-down hands the focus back to its parent as it hides.
        const RCPtr<LControl> self(this);
        ShowDropDown(false);
        return S_OK;
    }
    return LControl::ProcessKey(key);
}

} // namespace QZ
