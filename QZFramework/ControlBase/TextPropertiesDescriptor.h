// Where and how a look draws the control's label: each edge of the text rectangle is
// relative × the look's extent + absolute, the alignments are fractions (0 left or top, 0.5
// centred, 1 right or bottom) and the colour is the text's. The skin's "Text" element of a look.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/ColorRGBA.h"

namespace QZ
{

class LTextPropertiesDescriptor : public virtual LRefCountedObject
{
public:
    struct Edge
    {
        double relative = 0.0;
        double absolute = 0.0;
    };

    Edge left;
    Edge top;
    Edge right{1.0, 0.0};
    Edge bottom{1.0, 0.0};
    float horizontalAlignment = 0.0f;
    float verticalAlignment = 0.0f;
    ColorRGBA color{0.0f, 0.0f, 0.0f, 1.0f};
};

} // namespace QZ
