#include "QZFramework/Controls/ValueAdjustment.h"

#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Holder.h"

namespace QZ::ValueAdjustment
{
namespace
{

constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkDown = 0x28;
constexpr std::uint32_t kKeyUpMarker = 0x80000000u;

void Send(LControl& control, const char16_t* identifier, const RCPtr<LRefCountedObject>& payload)
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, identifier, payload);
    control.Distribute(notification);
}

std::uint32_t ArrowDown(std::uint32_t vk)
{
    return KeyCode::kKeyDown | (vk << 16);
}

} // namespace

double StepByUnits(LControl& control, double units)
{
    return control.SetValue(
        control.ValueToPosition(control.PositionToValue(control.GetValue()) + units));
}

bool HandleArrowKey(LControl& control, bool& adjusting, const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return false;
    }
    const std::uint32_t value = key->GetKey();
    const std::uint32_t vk = (value >> 16) & 0xFF;
    const bool arrow = vk >= kVkLeft && vk <= kVkDown;
    if (arrow && (value & (KeyCode::kKeyDown | kKeyUpMarker)) == 0)
    {
        adjusting = false;
        Send(control, NID_VALUE_CHANGE_KEY_UP, RCPtr<LRefCountedObject>(key));
        return true;
    }
    double units = 0.0;
    if (value == ArrowDown(0x27) || value == ArrowDown(0x26))
    {
        units = 1.0;
    }
    else if (value == ArrowDown(0x25) || value == ArrowDown(0x28))
    {
        units = -1.0;
    }
    else
    {
        return false;
    }
    const RCPtr<LControl> keep(&control);
    if (!adjusting)
    {
        adjusting = true;
        Send(control, NID_VALUE_CHANGE_KEY_DOWN, RCPtr<LRefCountedObject>(key));
    }
    StepByUnits(control, units);
    return true;
}

void EndKeyAdjustment(LControl& control, bool& adjusting)
{
    if (adjusting)
    {
        adjusting = false;
        Send(control, NID_VALUE_CHANGE_KEY_UP, RCPtr<LRefCountedObject>());
    }
}

void StepByWheel(LControl& control, std::uint32_t direction)
{
    StepByUnits(control, direction == 1 || direction == 3 ? 1.0 : -1.0);
}

void SendCapture(LControl& control, bool begins)
{
    Send(control, NID_VALUE_CHANGE_CAPTURE, RCPtr<LRefCountedObject>(new LHolder<bool>(begins)));
}

} // namespace QZ::ValueAdjustment
