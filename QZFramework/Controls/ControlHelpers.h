// Small rules that several controls of this folder share.
#pragma once

#include "QZFramework/ControlBase/Control.h"

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

// Hides the control at once and has its parent destroy it at the parent's next idle step (a
// control may not destroy itself inside its own handler). Nothing happens to a control without a
// parent.
inline void HideAndQueueDestroy(LControl& control)
{
    const RCPtr<LControl> self(&control);
    if (const RCPtr<LControl> parent = control.GetParent())
    {
        control.SetShown(false);
        parent->QueueDestroy(self);
    }
}

} // namespace QZ
