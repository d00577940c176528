// The skin's description of one control (a "SubControl" element): its class and name, its layout
// record, its create parameters, its appearance (look list and font settings) and the
// descriptions of its sub-controls in skin order. Descriptors are shared by every control built
// from them and are not changed once the skin is read; CloneWithName makes a variant.
#pragma once

#include "QZFramework/ControlBase/LayoutDescriptor.h"
#include "QZFramework/ControlBase/LookListDescriptor.h"
#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LControlDescriptor : public virtual LRefCountedObject
{
public:
    struct Appearance
    {
        // Null when the control has no looks.
        RCPtr<LLookListDescriptor> lookList;
        // Empty, a size of 0 and a style of -1 take the base font's.
        WideString fontName;
        float fontSize = 0.0f;
        std::int32_t fontStyle = -1;
        bool fontInheritsFromParent = false;
        bool fontSizeIsRelative = false;
    };

    LControlDescriptor() : layout(new LLayoutDescriptor()) {}

    // A copy of the descriptor under another name with the given layout record (the create
    // parameters, appearance and sub-controls are shared with the original).
    static RCPtr<LControlDescriptor>& CloneWithName(RCPtr<LControlDescriptor>& out,
                                                    const ConstRCPtr<LControlDescriptor>& source,
                                                    const WideString& name,
                                                    const RCPtr<LLayoutDescriptor>& layout);

    // The look descriptor at a state index; null for a gap or an index past the list.
    [[nodiscard]] RCPtr<LLookDescriptor> GetLook(std::size_t index) const;
    // The create parameter's text into value; false, leaving value as it was, when absent.
    bool GetCreateParam(const char16_t* id, WideString& value) const;

    WideString className;
    WideString name;
    RCPtr<LLayoutDescriptor> layout;
    // Null when the skin gives no create parameters.
    RCPtr<LStringTable> createParams;
    Appearance appearance;
    std::vector<RCPtr<LControlDescriptor>> subControls;
    double absoluteWidth = 16.0;
    double absoluteHeight = 40.0;
};

} // namespace QZ
