// Small rules that several controls of this folder share.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace QZ
{

// Half away from zero, held within the 32-bit range (a value that is not a number gives 0).
[[nodiscard]] inline std::int32_t RoundToPixels(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    const double rounded = value < 0.0 ? value - 0.5 : value + 0.5;
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded <= kLow ? kLow : rounded >= kHigh ? kHigh : rounded);
}

// Shows the control with its size rule on the axis made a sibling rule (kind 2) whose absolute
// part is the length, or hides it for a length below one pixel.
inline void ShowLength(LControl& control, std::uint32_t axis, std::int32_t length)
{
    if (length < 1)
    {
        control.SetShown(false);
        return;
    }
    control.SetShown(true);
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    control.GetLayout()->GetAxisSpec(axis, position, size);
    size.kind = LLayoutDescriptor::kSibling;
    size.absolute = length;
    control.SetAxisLayout(axis, position, size);
}

// Shows the state look alone, with the focus look laid over it while the control has the
// keyboard focus (a skin without that look shows no mark). Only weights that change repaint.
inline void ShowStateLook(LControl& control, std::uint32_t state, std::uint32_t focusLook)
{
    const bool marked = control.HasFocus() && control.GetLook(focusLook);
    for (std::uint32_t look = 0; look < control.GetLookCount(); ++look)
    {
        const bool shown = look == state || (marked && look == focusLook);
        control.SetLookWeight(look, shown ? 1.0f : 0.0f, false);
    }
}

// Hands the notification to a control's own handler once the control is created; true when that
// handler took it (else the caller passes it on to its base).
template <class Owner>
bool OfferToOwnHandler(const LControl& control, const RCPtr<LNotificationHandler<Owner>>& handler,
                       const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification)
{
    if (!control.IsCreated() || !handler || !notification ||
        !handler->Handles(sender, notification->GetID()))
    {
        return false;
    }
    handler->HandleNotification(sender, notification);
    return true;
}

} // namespace QZ
