// The main window's placement as the user settings keep it: the text "x,y,width,height" of its
// client area in screen coordinates, under the key "WP". The text is read back only when it is
// sound: four whole numbers, a size of at least kMinimumSide on each axis, and enough of the area
// on the usable part of the display that the user can reach the window (a placement saved on a
// display that is gone, or edited by hand, is ignored).
#pragma once

#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class WindowPlacement
{
public:
    static constexpr const char16_t* kKey = u"WP";
    static constexpr std::int32_t kMinimumSide = 50;
    // How much of the window must lie on the usable area on each axis.
    static constexpr std::int32_t kMinimumVisible = 50;

    [[nodiscard]] static WideString Format(const RectT<std::int32_t>& client);
    // True with the placement in client when the text is sound for the usable area.
    [[nodiscard]] static bool Parse(const WideString& text, const RectT<std::int32_t>& usable,
                                    RectT<std::int32_t>& client);
};

} // namespace QZ
