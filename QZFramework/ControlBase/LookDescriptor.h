// A look: the drawing of a control in one of its states, made of docked parts (main part and
// frame), an optional label placement and the insets of its client area. The client insets are
// the frame thicknesses unless the skin gives them (hasClientInsets). The skin's "Look" element.
#pragma once

#include "QZFramework/ControlBase/DockedPartDescriptor.h"
#include "QZFramework/ControlBase/TextPropertiesDescriptor.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <vector>

namespace QZ
{

class LLookDescriptor : public virtual LRefCountedObject
{
public:
    WideString name;
    bool hasClientInsets = false;
    double clientLeft = 0.0;
    double clientTop = 0.0;
    double clientRight = 0.0;
    double clientBottom = 0.0;
    std::vector<RCPtr<LDockedPartDescriptor>> parts;
    // Null when the look draws no label.
    RCPtr<LTextPropertiesDescriptor> text;
};

} // namespace QZ
