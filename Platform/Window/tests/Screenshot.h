// What the X server shows; kept apart because Xlib's macros clash with GoogleTest's names.
#pragma once

#include "Platform/Window/WindowTypes.h"

#include <cstdint>
#include <vector>

namespace Platform::Testing
{

// The screen's pixels (0xRRGGBB) in the area, row by row, read from the X server of DISPLAY;
// empty when it cannot be reached.
std::vector<std::uint32_t> Screenshot(const WindowRect& area);

} // namespace Platform::Testing
