#include "QZFramework/ControlBase/Skin.h"

#include <string_view>

namespace QZ
{

const RCPtr<LControlDescriptor>& LSkin::FindSubControl(const char16_t* wanted) const
{
    static const RCPtr<LControlDescriptor> none;
    const std::u16string_view key = wanted != nullptr ? wanted : u"";
    for (auto entry = subControls.rbegin(); entry != subControls.rend(); ++entry)
    {
        if (std::u16string_view((*entry)->name.GetString()) == key)
        {
            return *entry;
        }
    }
    return none;
}

} // namespace QZ
