// The layouts of the continuous-control families of the device drawing: the 32 encoders, the 36
// faders, the two wheels and the two pedals.
#pragma once

#include "UI/TarnSeriesCommon/FamilyLayout.h"

namespace QZ
{

[[nodiscard]] const FamilyLayout& GetEncoderLayout();

} // namespace QZ
