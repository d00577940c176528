#include "QZFramework/Controls/Button.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Controls/ControlHelpers.h"
#include "QZFramework/Notification/NotificationIDs.h"

namespace QZ
{
namespace
{

std::uint32_t Now()
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetTimeMilliseconds() : 0;
}

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkSpace = 0x20;

} // namespace

LButton::LButton(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LButton::~LButton() = default;

void LButton::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LButton::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                              const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

QZRESULT LButton::ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    const QZRESULT result = LControl::ApplyDescriptor(descriptor);
    UpdateLook();
    return result;
}

QZRESULT LButton::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LButton>(this);
    mHandler->AddHandlerAnyDistributor(&LButton::OnSimulateClick, NID_SIMULATE_CLICK);
    UpdateLook();
    return S_OK;
}

QZRESULT LButton::ApplyCreateParams()
{
    const QZRESULT result = LControl::ApplyCreateParams();
    WideString text;
    mAutoValueSet = GetDescriptor() && GetDescriptor()->GetCreateParam(u"AUTO_VALUE_SET", text) &&
                    XmlValues::IsTrue(text.ToNarrowString().GetString());
    return result;
}

QZRESULT LButton::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    const std::uint32_t virtualKey = key ? key->GetKeyCode().GetVirtualKey() : 0;
    if (!key || !key->GetKeyCode().IsKeyDown() || (key->GetKey() & KeyCode::kModifierKeys) != 0 ||
        (virtualKey != kVkSpace && virtualKey != kVkReturn))
    {
        return LControl::OnKeyEvent(key);
    }
    Press();
    return S_OK;
}

void LButton::Press()
{
    const RCPtr<LControl> self(this);
    const PointT<double> size = GetSize();
    NotifyLeftClick(LMouseButtonParam::Create(static_cast<std::int32_t>(size.x / 2),
                                              static_cast<std::int32_t>(size.y / 2), 0, 1, false,
                                              0));
}

// ---- auto-repeat ----

void LButton::SetAutoRepeat(bool on)
{
    StopRepeat();
    mAutoRepeat = on;
}

bool LButton::IsHeld() const
{
    const std::uint32_t conditions = GetConditionFlags();
    return (conditions & kCapture) != 0 && (conditions & (kLeftPressed | kLeftDrag)) != 0;
}

void LButton::OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press)
{
    mPress = press;
}

void LButton::StartRepeat()
{
    mRepeating = true;
    mNextRepeat = Now() + kRepeatDelayMs;
    RequestIdle();
    SendRepeat();
}

void LButton::StopRepeat()
{
    if (mRepeating)
    {
        mRepeating = false;
        ReleaseIdle();
    }
}

void LButton::SendRepeat()
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_BUTTON_AUTOREPEAT, RCPtr<LRefCountedObject>(mPress));
    Distribute(notification);
}

void LButton::OnIdleStep()
{
    // Wrap-safe: the clock is a 32-bit millisecond count.
    const std::uint32_t now = Now();
    if (!mRepeating || static_cast<std::int32_t>(now - mNextRepeat) < 0)
    {
        return;
    }
    // A late idle step sends one repeat, not the ones it missed.
    mNextRepeat = now + kRepeatIntervalMs;
    const RCPtr<LControl> self(this);
    SendRepeat();
}

QZRESULT LButton::OnSimulateClick(const RCPtr<LNotificationDistributor>&,
                                  const RCPtr<LNotification>&)
{
    const RCPtr<LControl> self(this);
    SendRepeat();
    return S_OK;
}

// ---- state ----

void LButton::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const RCPtr<LControl> self(this);
    const bool held = IsHeld();
    if (held && mAutoRepeat && !mRepeating)
    {
        StartRepeat();
    }
    else if (!held)
    {
        StopRepeat();
    }
    UpdateLook();
    LControl::OnConditionsChanged(conditions);
}

void LButton::OnLeftClick(const RCPtr<LMouseButtonParam>& click)
{
    if (mAutoValueSet)
    {
        SetValue(IsLit() ? 0.0 : 1.0);
    }
    LControl::OnLeftClick(click);
}

void LButton::OnValueChanged()
{
    UpdateLook();
    LControl::OnValueChanged();
}

void LButton::SetDragHandle(bool on)
{
    mDragHandle = on;
    UpdateLook();
}

std::uint32_t LButton::GetStateLook() const
{
    const std::uint32_t conditions = GetConditionFlags();
    std::uint32_t look = kLookNormal;
    if (!IsEnabled(true))
    {
        look = kLookDisabled;
    }
    else if (IsHeld())
    {
        look = (conditions & kPointerOver) != 0 || mDragHandle ? kLookPressed : kLookHover;
    }
    else if ((conditions & kHover) != 0)
    {
        look = kLookHover;
    }
    return IsLit() ? look + kLitLookOffset : look;
}

void LButton::UpdateLook()
{
    if (mLookUpdateSuppressed || GetLookCount() == 0)
    {
        return;
    }
    std::uint32_t look = GetStateLook();
    if (!GetLook(look) && look >= kLitLookOffset)
    {
        look -= kLitLookOffset;
    }
    ShowStateLook(*this, GetLook(look) ? look : kLookNormal, kLookFocus);
}

} // namespace QZ
