// The adapter's loader and its "library absent" road. This program has no device-control
// library beside it, as on a normal installation.
#include "Engine/RededoVuvuvaCommon/DeviceControlClientInterface.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <string>

using QZ::DeviceControlClientInterface;
using QZ::ParamDescriptor;
using QZ::ParamDescriptors;
using QZ::ParamRanges;
using QZ::Variant;

namespace
{

constexpr std::int32_t kAbsent = DeviceControlClientInterface::kLibraryAbsent;

QZ::StringT<char16_t, char> Utf16(const std::string& text)
{
    return QZ::StringT<char16_t, char>(text.c_str());
}

// Every wrapper's answer when the library is not there.
void ExpectEveryCallAbsent(DeviceControlClientInterface& client)
{
    const Variant device;
    Variant out;
    OXLI_DeviceInfo info;
    EXPECT_EQ(client.FindDevices(1, 2, 3), kAbsent);
    EXPECT_EQ(client.FindRemoteDevices(nullptr, 0, out, OXLI_SEARCH_FULL), kAbsent);
    EXPECT_EQ(client.ConnectDevice(device, nullptr, nullptr), kAbsent);
    EXPECT_EQ(client.RequestParamRanges(device, ParamRanges()), kAbsent);
    EXPECT_EQ(client.RequestParamValues(device, ParamDescriptors()), kAbsent);
    EXPECT_EQ(client.RequestParamValue(device, ParamDescriptor(-8)), kAbsent);
    EXPECT_EQ(client.GetParamRanges(device, 0, out), kAbsent);
    EXPECT_EQ(client.GetParamValues(device, ParamDescriptors(), out), kAbsent);
    EXPECT_EQ(client.GetParamValue(device, ParamDescriptor(-9), out), kAbsent);
    EXPECT_EQ(out.GetType(), Variant::TagEmpty);
    EXPECT_EQ(client.SetParamValue(device, ParamDescriptor(0), out), kAbsent);
    EXPECT_EQ(client.SetParamValues(device, out), kAbsent);
    EXPECT_FALSE(client.IsDeviceConnected(device));
    EXPECT_EQ(client.DisconnectDevice(device), kAbsent);
    EXPECT_EQ(client.GetDeviceInfo(device, info), kAbsent);
    EXPECT_FALSE(DeviceControlClientInterface::IsDevicePresent(info));
}

} // namespace

TEST(DeviceControlLoader, LibraryIsLookedForBesideTheProgram)
{
    EXPECT_EQ(DeviceControlClientInterface::GetLibraryPathBeside("/opt/Apps/Editor/editor"),
              "/opt/Apps/Editor/libDeviceControlClient.so");
    EXPECT_EQ(DeviceControlClientInterface::GetLibraryPathBeside("/editor"),
              "/libDeviceControlClient.so");
    EXPECT_EQ(DeviceControlClientInterface::GetLibraryPathBeside("editor"), std::nullopt);
}

TEST(DeviceControlLoader, LongProgramPathIsKeptWhole)
{
    const std::string folder = "/" + std::string(300, 'a') + "/" + std::string(4000, 'b') + "/";
    EXPECT_EQ(DeviceControlClientInterface::GetLibraryPathBeside(folder + "editor"),
              folder + "libDeviceControlClient.so");
}

TEST(DeviceControlLoader, ProgramPathIsTheRunningProgram)
{
    const auto path = DeviceControlClientInterface::GetProgramPath();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, std::filesystem::read_symlink("/proc/self/exe").string());
}

TEST(DeviceControlLoader, WithoutALibraryEveryCallAnswersAbsent)
{
    DeviceControlClientInterface client;
    EXPECT_FALSE(client.IsLoaded());
    EXPECT_NE(client.GetLoadError().find("libDeviceControlClient.so"), std::string::npos)
        << client.GetLoadError();
    ExpectEveryCallAbsent(client);
}

TEST(DeviceControlLoader, LibraryMissingAnEntryPointIsRefusedWhole)
{
    const std::string path = PARTIAL_CLIENT_LIBRARY;
    {
        DeviceControlClientInterface client(Utf16(path).GetString());
        EXPECT_FALSE(client.IsLoaded());
        EXPECT_NE(client.GetLoadError().find("OXLI_ReleaseAll"), std::string::npos)
            << client.GetLoadError();
        ExpectEveryCallAbsent(client);
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    auto calls = reinterpret_cast<int32_t (*)()>(dlsym(handle, "PartialLibrary_GetCallCount"));
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(calls(), 0);
    dlclose(handle);
}

TEST(DeviceControlLoader, InstalledBuildFindsNoDevicesAndAcceptsRequests)
{
    DeviceControlClientInterface client(Utf16(INSTALLED_CLIENT_LIBRARY).GetString());
    ASSERT_TRUE(client.IsLoaded()) << client.GetLoadError();
    const Variant keyboard;
    Variant devices;
    EXPECT_EQ(client.FindRemoteDevices(nullptr, 0, devices, OXLI_SEARCH_FULL), 0);
    EXPECT_EQ(devices.GetType(), Variant::TagList);
    EXPECT_EQ(devices.GetListItemCount(), 0u);
    EXPECT_EQ(client.ConnectDevice(
                  keyboard, [](void*, int32_t, const OXLI_Record*) { return 0; }, nullptr),
              0);
    EXPECT_EQ(client.RequestParamValue(keyboard, ParamDescriptor(-8)), 0);
    EXPECT_FALSE(client.IsDeviceConnected(keyboard));
    OXLI_DeviceInfo info;
    EXPECT_EQ(client.GetDeviceInfo(keyboard, info), 0);
    EXPECT_FALSE(DeviceControlClientInterface::IsDevicePresent(info));
    Variant value;
    EXPECT_EQ(client.GetParamValue(keyboard, ParamDescriptor(-9), value),
              OXLI_RESULT_NO_SUCH_PARAMETER);
    EXPECT_EQ(client.DisconnectDevice(keyboard), 0);
}
