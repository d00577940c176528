#include "QZFramework/ControlBase/ControlDescriptor.h"

namespace QZ
{

RCPtr<LControlDescriptor>&
LControlDescriptor::CloneWithName(RCPtr<LControlDescriptor>& out,
                                  const ConstRCPtr<LControlDescriptor>& source,
                                  const WideString& name, const RCPtr<LLayoutDescriptor>& layout)
{
    out = nullptr;
    if (!source)
    {
        return out;
    }
    out = new LControlDescriptor(*source);
    out->name = name;
    out->layout = layout ? layout : source->layout->Clone();
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
