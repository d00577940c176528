// The looks of a control, one per state index; an entry may be empty (the state has no drawing of
// its own), so indices stay aligned with the states. The skin's "LookList" element.
#pragma once

#include "QZFramework/ControlBase/LookDescriptor.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <vector>

namespace QZ
{

class LLookListDescriptor : public virtual LRefCountedObject
{
public:
    WideString name;
    std::vector<RCPtr<LLookDescriptor>> looks;
};

} // namespace QZ
