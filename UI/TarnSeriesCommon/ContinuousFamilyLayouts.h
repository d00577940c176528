// The layouts of the continuous-control families of the device drawing: the 32 encoders, the 36
// faders, the two wheels and the two pedals.
#pragma once

#include "UI/TarnSeriesCommon/FamilyLayout.h"

namespace QZ
{

[[nodiscard]] const FamilyLayout& GetEncoderLayout();
[[nodiscard]] const FamilyLayout& GetFaderLayout();
// The wheels keep the editor's bytes but its relative flag (always absolute for a wheel).
[[nodiscard]] const FamilyLayout& GetWheelLayout();
[[nodiscard]] const FamilyLayout& GetVolumePedalLayout();
// The sustain pedal keeps six of the button editor's ten bytes: the channel, the kind, the message
// type, two operands and the last one.
[[nodiscard]] const FamilyLayout& GetSustainPedalLayout();

} // namespace QZ
