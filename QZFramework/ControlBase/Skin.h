// One skin of a skin file: its font overrides, the colorizers, parts, looks and look lists it
// names, and its top-level sub-controls ("mainControl", "toolTip", the dialogs ...) in file order.
// Names resolve inside the skin; a definition must come before its first use.
#pragma once

#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/LookListDescriptor.h"
#include "QZFramework/ControlBase/VisualPartDescriptor.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/Colorizer.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace QZ
{

class LSkin : public virtual LRefCountedObject
{
public:
    template <class T> using NameMap = std::map<std::u16string, RCPtr<T>, std::less<>>;

    // The top-level sub-control of that name, searching from the last; a null pointer when the
    // skin has none. The reference stays valid while the skin lives.
    [[nodiscard]] const RCPtr<LControlDescriptor>& FindSubControl(const char16_t* name) const;

    WideString name;
    // Empty, a size below 1 and a style of -1 override nothing.
    WideString fontName;
    float fontSize = 0.0f;
    std::int32_t fontStyle = -1;
    NameMap<LColorizer> colorizers;
    NameMap<LVisualPartDescriptor> parts;
    NameMap<LLookDescriptor> looks;
    NameMap<LLookListDescriptor> lookLists;
    std::vector<RCPtr<LControlDescriptor>> subControls;
};

} // namespace QZ
