// A parameter descriptor with its value; a preset parameter's value is a tag-8 byte string.
#pragma once

#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/Variant.h"

namespace QZ
{

struct ParamValue
{
    ParamValue() = default;
    ParamValue(const ParamDescriptor& descriptor, const Variant& value)
        : mDescriptor(descriptor), mValue(value)
    {
    }

    ParamDescriptor mDescriptor;
    Variant mValue;
};

} // namespace QZ
