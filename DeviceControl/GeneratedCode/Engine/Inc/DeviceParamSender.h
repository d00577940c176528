// What a leaf needs from the root of its tree when the user writes a composite parameter: the
// root sends the value to the device. The root module implements it through its
// device-communication interface's SetParamValue; a tree whose root does not implement it sends
// nothing.
#pragma once

#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

class IDeviceParamSender
{
public:
    virtual ~IDeviceParamSender() = default;
    // Returns the send result, which the leaves do not use.
    virtual std::int32_t SendParamValueToDevice(const QZ::ParamDescriptor& descriptor,
                                                const QZ::Variant& value) = 0;
};
