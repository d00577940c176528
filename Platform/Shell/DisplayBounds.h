// The part of the primary display that windows may use: the desktop's work area, without the
// panels and docks that the desktop keeps for itself.
#pragma once

#include <cstdint>

namespace QZ::Shell
{

struct DisplayArea
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// False, with the area zero, when there is no display to ask.
[[nodiscard]] bool GetUsableDisplayBounds(DisplayArea& area);

} // namespace QZ::Shell
