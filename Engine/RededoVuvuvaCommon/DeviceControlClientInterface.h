// The program's side of the device-control client library (Platform/DeviceControlClient): loads
// libDeviceControlClient.so at run time and offers one wrapper per entry point, packing the
// program's values into records and unpacking what the library hands out.
//
// The library is optional. When it cannot be loaded, or lacks any of its 14 entry points (it is
// then unloaded and treated as absent, never called in part), every wrapper returns
// kLibraryAbsent (IsDeviceConnected false) and the program runs without device control. Values
// that cannot be packed into a record give OXLI_RESULT_BAD_ARGUMENT without a call.
//
// The adapter has no lock: the library may be called from any thread, and the device-communication
// interface serialises what must be serialised.
#pragma once

#include "Platform/DeviceControlClient/DeviceControlClient.h"
#include "Platform/DynamicLibrary/DynamicLibrary.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/ParamDescriptors.h"
#include "QZFramework/Utilities/Storage/ParamRanges.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace QZ
{

class DeviceControlClientInterface
{
public:
    static constexpr std::int32_t kLibraryAbsent = -1;
    static constexpr const char* kLibraryFileName = "libDeviceControlClient.so";

    // path null: kLibraryFileName in the program's folder; otherwise the library at path.
    explicit DeviceControlClientInterface(const char16_t* path = nullptr);
    DeviceControlClientInterface(const DeviceControlClientInterface&) = delete;
    DeviceControlClientInterface& operator=(const DeviceControlClientInterface&) = delete;
    // When the library is loaded: OXLI_ReleaseAll, then unload.
    ~DeviceControlClientInterface();

    // The library's path beside the program at programPath: its folder, the slash kept, then
    // kLibraryFileName. Nothing for a path without a folder.
    [[nodiscard]] static std::optional<std::string>
    GetLibraryPathBeside(std::string_view programPath);
    // The program's own file (/proc/self/exe), however long; nothing when it cannot be read.
    [[nodiscard]] static std::optional<std::string> GetProgramPath();

    [[nodiscard]] bool IsLoaded() const { return mLibrary.IsOpen(); }
    // Why the library is absent: the loader's text, or the missing entry point.
    [[nodiscard]] const std::string& GetLoadError() const { return mLoadError; }

    [[nodiscard]] std::int32_t FindDevices(std::uint32_t vendorID, std::uint32_t productID,
                                           std::uint32_t flags);
    // result becomes the device list the library hands out (empty when it fails).
    [[nodiscard]] std::int32_t FindRemoteDevices(const OXLI_Guid* classes, std::uint32_t classCount,
                                                 Variant& result, std::uint32_t kind);
    // The library calls callback(context, 0, list) with each pushed ParamValues list, on a thread
    // of its own, until DisconnectDevice has returned.
    [[nodiscard]] std::int32_t ConnectDevice(const Variant& device, OXLI_ReceiveCallback callback,
                                             void* context);
    [[nodiscard]] std::int32_t RequestParamRanges(const Variant& device, const ParamRanges& ranges);
    [[nodiscard]] std::int32_t RequestParamValues(const Variant& device,
                                                  const ParamDescriptors& descriptors);
    // A one-item ParamDescriptors list of descriptor, then as RequestParamValues.
    [[nodiscard]] std::int32_t RequestParamValue(const Variant& device,
                                                 const ParamDescriptor& descriptor);
    [[nodiscard]] std::int32_t GetParamRanges(const Variant& device, std::uint32_t flags,
                                              Variant& ranges);
    [[nodiscard]] std::int32_t GetParamValues(const Variant& device,
                                              const ParamDescriptors& descriptors, Variant& values);
    [[nodiscard]] std::int32_t GetParamValue(const Variant& device,
                                             const ParamDescriptor& descriptor, Variant& value);
    [[nodiscard]] std::int32_t
    SetParamValue(const Variant& device, const ParamDescriptor& descriptor, const Variant& value);
    [[nodiscard]] std::int32_t SetParamValues(const Variant& device, const Variant& values);
    // True only when the library answers 0.
    [[nodiscard]] bool IsDeviceConnected(const Variant& device);
    [[nodiscard]] std::int32_t DisconnectDevice(const Variant& device);
    // info is zeroed first; see IsDevicePresent.
    [[nodiscard]] std::int32_t GetDeviceInfo(const Variant& device, OXLI_DeviceInfo& info);

    // The presence byte of a device information record.
    [[nodiscard]] static bool IsDevicePresent(const OXLI_DeviceInfo& info)
    {
        return info.bytes[OXLI_DEVICE_INFO_PRESENT_OFFSET] != 0;
    }

private:
    struct EntryPoints
    {
        decltype(&OXLI_FindDevices) mFindDevices = nullptr;
        decltype(&OXLI_FindRemoteDevices) mFindRemoteDevices = nullptr;
        decltype(&OXLI_ConnectDevice) mConnectDevice = nullptr;
        decltype(&OXLI_RequestParamRanges) mRequestParamRanges = nullptr;
        decltype(&OXLI_RequestParamValues) mRequestParamValues = nullptr;
        decltype(&OXLI_GetParamRanges) mGetParamRanges = nullptr;
        decltype(&OXLI_GetParamValues) mGetParamValues = nullptr;
        decltype(&OXLI_GetParamValue) mGetParamValue = nullptr;
        decltype(&OXLI_SetParamValue) mSetParamValue = nullptr;
        decltype(&OXLI_SetParamValues) mSetParamValues = nullptr;
        decltype(&OXLI_DisconnectDevice) mDisconnectDevice = nullptr;
        decltype(&OXLI_IsDeviceConnected) mIsDeviceConnected = nullptr;
        decltype(&OXLI_GetDeviceInfo) mGetDeviceInfo = nullptr;
        decltype(&OXLI_ReleaseAll) mReleaseAll = nullptr;
    };

    void Load(const std::string& path);
    // Resolves all 14 entry points in their order; false at the first one missing.
    bool ResolveEntryPoints();

    Platform::DynamicLibrary mLibrary;
    EntryPoints mEntryPoints;
    std::string mLoadError;
};

} // namespace QZ
