// What stands behind the library's 14 entry points. The entry points (DeviceControlClient.cpp)
// check and unpack the records handed in and pack the values handed out; a backend works on
// Variants only. Each build of the library links exactly one backend, which defines
// GetDeviceControlBackend. Results are those of DeviceControlClient.h.
#pragma once

#include "Platform/DeviceControlClient/DeviceControlClient.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace DeviceControl
{

class DeviceControlBackend
{
public:
    virtual ~DeviceControlBackend() = default;

    virtual std::int32_t FindDevices(std::uint32_t vendorID, std::uint32_t productID) = 0;
    // devices becomes the device list.
    virtual std::int32_t FindRemoteDevices(std::uint32_t kind, QZ::Variant& devices) = 0;
    virtual std::int32_t ConnectDevice(const QZ::Variant& device, OXLI_ReceiveCallback callback,
                                       void* context) = 0;
    virtual std::int32_t RequestParamRanges(const QZ::Variant& device,
                                            const QZ::Variant& ranges) = 0;
    virtual std::int32_t RequestParamValues(const QZ::Variant& device,
                                            const QZ::Variant& descriptors) = 0;
    virtual std::int32_t GetParamRanges(const QZ::Variant& device, QZ::Variant& ranges) = 0;
    virtual std::int32_t GetParamValues(const QZ::Variant& device, const QZ::Variant& descriptors,
                                        QZ::Variant& values) = 0;
    virtual std::int32_t GetParamValue(const QZ::Variant& device, std::int32_t paramID,
                                       const QZ::Variant& subKey, QZ::Variant& value) = 0;
    virtual std::int32_t SetParamValue(const QZ::Variant& device, std::int32_t paramID,
                                       const QZ::Variant& subKey, const QZ::Variant& value) = 0;
    virtual std::int32_t SetParamValues(const QZ::Variant& device, const QZ::Variant& values) = 0;
    virtual std::int32_t DisconnectDevice(const QZ::Variant& device) = 0;
    virtual std::int32_t IsDeviceConnected(const QZ::Variant& device) = 0;
    // info arrives zeroed.
    virtual std::int32_t GetDeviceInfo(const QZ::Variant& device, OXLI_DeviceInfo& info) = 0;
    virtual std::int32_t ReleaseAll() = 0;
};

// The build's one backend, created on first use and kept until the library is unloaded.
DeviceControlBackend& GetDeviceControlBackend();

} // namespace DeviceControl
