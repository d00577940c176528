// Names one parameter: its identifier and, for one entry inside a composite parameter, a sub-key.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace QZ
{

struct ParamDescriptor
{
    ParamDescriptor() = default;
    explicit ParamDescriptor(std::int32_t paramID, const Variant& subKey = Variant())
        : mParamID(paramID), mSubKey(subKey)
    {
    }

    // Preset parameters are the root's first identifier plus 0 to 130; negative identifiers are
    // composite parameters (-256 to -129) or virtual parameters of the device communication.
    std::int32_t mParamID = -1;
    // Empty for a whole parameter.
    Variant mSubKey;
};

// Same identifier and sub-keys equal by Variant equality.
[[nodiscard]] bool operator==(const ParamDescriptor& a, const ParamDescriptor& b);

// The text of a descriptor held in an LPair: its identifier as an unsigned decimal number.
[[nodiscard]] StringT<char16_t, char> ParamDescriptorToString(const ParamDescriptor& descriptor);

} // namespace QZ
