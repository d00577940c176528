#include "QZFramework/ControlBase/ControlDescriptor.h"

namespace QZ
{

RCPtr<LControlDescriptor>&
LControlDescriptor::CloneWithName(RCPtr<LControlDescriptor>& out,
                                  const ConstRCPtr<LControlDescriptor>& source,
                                  const WideString& name, const RCPtr<LLayoutDescriptor>& layout)
{
    // The source may be the out pointer itself.
    const ConstRCPtr<LControlDescriptor> original = source;
    out = nullptr;
    if (!original)
    {
        return out;
    }
    out = new LControlDescriptor(*original);
    out->name = name;
    out->layout = layout ? layout : original->layout->Clone();
    return out;
}

RCPtr<LLookDescriptor> LControlDescriptor::GetLook(std::size_t index) const
{
    const RCPtr<LLookListDescriptor>& list = appearance.lookList;
    return list && index < list->looks.size() ? list->looks[index] : RCPtr<LLookDescriptor>();
}

bool LControlDescriptor::GetCreateParam(const char16_t* id, WideString& value) const
{
    return createParams && createParams->Lookup(id, value);
}

} // namespace QZ
