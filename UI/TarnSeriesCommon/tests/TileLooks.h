// The look a tile's colour indicator shows alone, as the panel tests read it.
#pragma once

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

// The index of the one look at full weight while every other is off; -1 otherwise.
inline int ShownLook(const LControl& indicator)
{
    int shown = -1;
    for (std::uint32_t i = 0; i < indicator.GetLookCount(); ++i)
    {
        const float weight = indicator.GetLookWeight(i);
        if (weight == 1.0f)
        {
            shown = shown == -1 ? static_cast<int>(i) : -2;
        }
        else if (weight != 0.0f)
        {
            return -1;
        }
    }
    return shown < 0 ? -1 : shown;
}

} // namespace QZ
