// One part of a look, placed by the side of the look it docks to: Fill is the look's main (client)
// part, the four sides and four corners its frame. Either a visual part, a colorizer fill drawn
// under it, or both. The skin's "DockedPart" element.
#pragma once

#include "QZFramework/ControlBase/VisualPartDescriptor.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/Colorizer.h"

#include <cstdint>

namespace QZ
{

class LDockedPartDescriptor : public virtual LRefCountedObject
{
public:
    enum Dock : std::int32_t
    {
        kFill,
        kLeft,
        kTop,
        kRight,
        kBottom,
        kTopLeft,
        kTopRight,
        kBottomLeft,
        kBottomRight
    };

    Dock dock = kFill;
    // Thickness in pixels of a side or corner part.
    double size = 0.0;
    RCPtr<LVisualPartDescriptor> part;
    RCPtr<LColorizer> colorizer;
};

} // namespace QZ
