#include "QZFramework/Utilities/Storage/ParamDescriptor.h"

namespace QZ
{

bool operator==(const ParamDescriptor& a, const ParamDescriptor& b)
{
    return a.mParamID == b.mParamID && a.mSubKey == b.mSubKey;
}

StringT<char16_t, char> ParamDescriptorToString(const ParamDescriptor& descriptor)
{
    return StringT<char16_t, char>::FromUInt(static_cast<std::uint32_t>(descriptor.mParamID));
}

} // namespace QZ
