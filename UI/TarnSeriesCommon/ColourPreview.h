// The colour indicator of a drawn push button or pad: the control keeps four colours (its light's
// colour in four states) and the indicator shows one of them at a time; each Shift-click on the
// tile steps to the next, 1, 2, 3, 4, 1 ... The first Shift-click keeps colour 1.
//
// The indicator shows the value the tile was last handed, the same one its summary shows; it
// shows nothing before the first value. A colour number that the indicator's looks do not hold
// leaves the indicator as it was. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/Notification.h"

#include <array>
#include <cstdint>
#include <optional>

namespace QZ
{

class ColourPreview
{
public:
    using Colours = std::array<std::uint8_t, 4>;

    void SetIndicator(const RCPtr<LControl>& indicator) { mIndicator = indicator; }
    void Release() { mIndicator = nullptr; }

    // Shows the colour of the current step among the new four.
    void SetColours(const Colours& colours);
    // Steps on for a click with Shift held; other clicks change nothing.
    void OnClick(const RCPtr<LNotification>& click);

private:
    void Update();

    RCPtr<LControl> mIndicator;
    std::optional<Colours> mColours;
    // -1 before the first step, then 0 to 3; both -1 and 0 show colour 1.
    std::int32_t mStep = -1;
};

} // namespace QZ
