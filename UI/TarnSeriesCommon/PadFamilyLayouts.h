// The layouts of the pad families of the device drawing: the 16 pads and the two axes of the XY
// pad.
#pragma once

#include "UI/TarnSeriesCommon/FamilyLayout.h"

namespace QZ
{

// A pad's value is 14 bytes: the push-button assignment's channel byte, the pad's four colour
// numbers, then the assignment's bytes 1 to 9. Editor and tile take the 10-byte assignment block
// (toEditor, toView); the edit panel puts the value back together itself.
inline constexpr std::uint32_t kPadValueSize = 14;
inline constexpr std::uint32_t kPadColourBytes = 4;
[[nodiscard]] const FamilyLayout& GetPadLayout();

// An axis's value is 15 bytes: the 6-byte continuous-control assignment, then the 9-byte note
// mode. The tile shows the assignment (toView); the edit panel splits and joins the two halves.
inline constexpr std::uint32_t kAxisAssignmentSize = 6;
inline constexpr std::uint32_t kAxisNoteModeSize = 9;
[[nodiscard]] const FamilyLayout& GetXYPadAxisLayout();

} // namespace QZ
