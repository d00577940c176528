// The look a tile's colour indicator shows alone, as the panel tests read it.
#pragma once

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

// The index of the look at full weight when every other look is off; -1 otherwise.
inline int ShownLook(const LControl& indicator)
{
    int shown = -1;
    for (std::uint32_t i = 0; i < indicator.GetLookCount(); ++i)
    {
        const float weight = indicator.GetLookWeight(i);
        if (weight != 0.0f && (weight != 1.0f || shown != -1))
        {
            return -1;
        }
        shown = weight == 1.0f ? static_cast<int>(i) : shown;
    }
    return shown;
}

} // namespace QZ
