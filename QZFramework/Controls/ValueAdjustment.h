// What the slider and the knob share: one user unit per arrow key or wheel notch, the
// notifications that bracket a key adjustment, and the capture notification around a drag.
//
// A step moves the user value (the position mapped through the control's value range) by whole
// units, so a logarithmic range steps evenly in its own scale. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/KeyParam.h"

#include <cstdint>

namespace QZ::ValueAdjustment
{

// Moves the control's value by units of its range; the position the control stores.
double StepByUnits(LControl& control, double units);

// Right or up pressed without modifiers steps +1, left or down -1 ("NID_VALUE_CHANGE_KEY_DOWN"
// first when no adjustment runs); the release of an arrow key ends the adjustment
// ("NID_VALUE_CHANGE_KEY_UP"). True when the key was one of these.
bool HandleArrowKey(LControl& control, bool& adjusting, const RCPtr<LKeyParam>& key);

// The focus left during an adjustment: "NID_VALUE_CHANGE_KEY_UP" without payload.
void EndKeyAdjustment(LControl& control, bool& adjusting);

// One notch: +1 away from the user (1) or right (3), -1 toward the user (0) or left (2).
void StepByWheel(LControl& control, std::uint32_t direction);

// "NID_VALUE_CHANGE_CAPTURE" with true when a drag begins, false when it ends.
void SendCapture(LControl& control, bool begins);

} // namespace QZ::ValueAdjustment
