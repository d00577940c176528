// The backend of the installed library: Linux has no device-control service, so the library
// finds no devices, accepts connections and requests to the directly attached keyboard (which
// the program reaches over MIDI instead), never pushes values and reports nothing present.
#include "Platform/DeviceControlClient/DeviceControlBackend.h"

namespace DeviceControl
{
namespace
{

class NoServiceBackend final : public DeviceControlBackend
{
public:
    std::int32_t FindDevices(std::uint32_t, std::uint32_t) override { return 0; }
    std::int32_t FindRemoteDevices(std::uint32_t, QZ::Variant& devices) override
    {
        devices.SetList(nullptr, 0);
        return OXLI_RESULT_OK;
    }
    std::int32_t ConnectDevice(const QZ::Variant& device, OXLI_ReceiveCallback, void*) override
    {
        return Known(device);
    }
    std::int32_t RequestParamRanges(const QZ::Variant& device, const QZ::Variant&) override
    {
        return Known(device);
    }
    std::int32_t RequestParamValues(const QZ::Variant& device, const QZ::Variant&) override
    {
        return Known(device);
    }
    std::int32_t GetParamRanges(const QZ::Variant& device, QZ::Variant& ranges) override
    {
        ranges.SetList(nullptr, 0);
        return Known(device);
    }
    std::int32_t GetParamValues(const QZ::Variant& device, const QZ::Variant&,
                                QZ::Variant& values) override
    {
        values.SetList(nullptr, 0);
        return Known(device);
    }
    std::int32_t GetParamValue(const QZ::Variant&, std::int32_t, const QZ::Variant&,
                               QZ::Variant&) override
    {
        return OXLI_RESULT_NO_SUCH_PARAMETER;
    }
    std::int32_t SetParamValue(const QZ::Variant& device, std::int32_t, const QZ::Variant&,
                               const QZ::Variant&) override
    {
        return Known(device);
    }
    std::int32_t SetParamValues(const QZ::Variant& device, const QZ::Variant&) override
    {
        return Known(device);
    }
    std::int32_t DisconnectDevice(const QZ::Variant& device) override { return Known(device); }
    std::int32_t IsDeviceConnected(const QZ::Variant&) override
    {
        return OXLI_RESULT_NOT_CONNECTED;
    }
    std::int32_t GetDeviceInfo(const QZ::Variant& device, OXLI_DeviceInfo&) override
    {
        return Known(device);
    }
    std::int32_t ReleaseAll() override { return OXLI_RESULT_OK; }

private:
    // Only the directly attached keyboard (the empty identifier) is known.
    static std::int32_t Known(const QZ::Variant& device)
    {
        return device.GetType() == QZ::Variant::TagEmpty ? OXLI_RESULT_OK
                                                         : OXLI_RESULT_NO_SUCH_DEVICE;
    }
};

} // namespace

DeviceControlBackend& GetDeviceControlBackend()
{
    static NoServiceBackend backend;
    return backend;
}

} // namespace DeviceControl
