// The engine over the simulated library: one attached keyboard holding a preset, pushing values
// from the library's own thread.
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "Engine/RededoVuvuvaCommon/tests/SimulatedLibrary.h"
#include "Platform/DeviceControlClient/SimulationControl.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <gtest/gtest.h>

using namespace EngineTestSupport;
using QZ::ParamDescriptor;
using QZ::Variant;

namespace
{

class EngineOverLibrary : public SimulatedEngineTest
{
protected:
    std::vector<QZ::ParamValue> PostedStatesOf(std::int32_t paramID) const
    {
        std::vector<QZ::ParamValue> found;
        for (const QZ::ParamValue& state :
             StatesOf(GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE)))
        {
            if (state.mDescriptor.mParamID == paramID)
            {
                found.push_back(state);
            }
        }
        return found;
    }

    std::size_t RemoteListChanges() const
    {
        return GetDelivered(QZ::NID_REMOTE_DEVICE_LIST_CHANGE).size();
    }

    // A preset name ("Pnnnnn") that tells the index.
    static Variant NumberedName(int index)
    {
        const std::uint8_t name[6] = {'P',
                                      static_cast<std::uint8_t>('0' + index / 10000 % 10),
                                      static_cast<std::uint8_t>('0' + index / 1000 % 10),
                                      static_cast<std::uint8_t>('0' + index / 100 % 10),
                                      static_cast<std::uint8_t>('0' + index / 10 % 10),
                                      static_cast<std::uint8_t>('0' + index % 10)};
        Variant value;
        value.SetBytes(name, 6);
        return value;
    }
};

} // namespace

TEST_F(EngineOverLibrary, InitialisationConnectsToTheAttachedKeyboard)
{
    StartEngine();
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_ConnectDevice"), 1u);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_RequestParamRanges"), 1u);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_RequestParamValues"), 1u);
    ASSERT_TRUE(ProcessUntil([&] { return !PostedStatesOf(-8).empty(); }));
    EXPECT_EQ(StatesOf(GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE).front().mPayload).size(),
              131u);
    EXPECT_EQ(GetPostedConnectionStates(), std::vector<std::int32_t>{3});
}

TEST_F(EngineOverLibrary, ValuesPushedFromTheLibraryThreadArriveInOrderWithoutLoss)
{
    StartEngine();
    constexpr int kLists = 400;
    for (int index = 0; index < kLists; ++index)
    {
        PushValues(MakeValues({{0, NumberedName(index)}}));
    }
    WaitUntilDelivered();
    ASSERT_TRUE(ProcessUntil([&] { return PostedStatesOf(0).size() >= kLists + 1; }));
    const std::vector<QZ::ParamValue> names = PostedStatesOf(0);
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kLists + 1))
        << "the initial state and each push";
    for (int index = 0; index < kLists; ++index)
    {
        EXPECT_TRUE(names[index + 1].mValue == NumberedName(index)) << index;
    }
    Variant current;
    ASSERT_EQ(Engine()->GetParamValue(ParamDescriptor(0), current), 0);
    EXPECT_TRUE(current == NumberedName(kLists - 1));
}

TEST_F(EngineOverLibrary, ValuesSetThroughTheEngineReachTheDevice)
{
    StartEngine();
    for (std::int32_t number = 0; number < 131; ++number)
    {
        ASSERT_EQ(Engine()->SetParamValue(ParamDescriptor(number), MakePresetValue(number, 9)), 0);
    }
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_SetParamValue"), 131u);
    QZ::Array<QZ::ParamValue> values;
    ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{0, 131}, values, -1), 0);
    for (std::int32_t number = 0; number < 131; ++number)
    {
        EXPECT_TRUE(values.GetAt(number).mValue == MakePresetValue(number, 9)) << number;
    }
}

TEST_F(EngineOverLibrary, VirtualParametersAnswer)
{
    StartEngine();
    Variant value;
    ASSERT_EQ(Engine()->GetParamValue(ParamDescriptor(-9), value), 0);
    EXPECT_STREQ(value.GetString(), "Korvane");
    ASSERT_EQ(Engine()->GetParamValue(ParamDescriptor(-10), value), 0);
    EXPECT_STREQ(value.GetString(), "Tarn 61 Vidida Editor");
    ASSERT_EQ(Engine()->GetParamValue(ParamDescriptor(-2), value), 0);
    EXPECT_TRUE(value.ToBool());
}

TEST_F(EngineOverLibrary, ScanningFindsRemoteDevicesAndPostsTheirNumber)
{
    StartEngine();
    SetRemoteDevices(MakeList({MakeBytes({0xAB, 0xCD})}));
    EXPECT_EQ(Engine()->EnableDeviceScanning(true), 0);
    EXPECT_EQ(Engine()->EnableDeviceScanning(true), 0);
    ASSERT_TRUE(ProcessUntil([&] { return RemoteListChanges() > 0; }));
    const auto* count = dynamic_cast<const LRootModuleEngine::DeviceCountPayload*>(
        GetDelivered(QZ::NID_REMOTE_DEVICE_LIST_CHANGE)[0].mPayload.Get());
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->GetValue(), 1u);
    QZ::Array<Variant> devices;
    EXPECT_EQ(Engine()->GetRemoteDeviceList(devices), 0);
    ASSERT_EQ(devices.GetCount(), 1);
    EXPECT_TRUE(devices.GetAt(0) == MakeBytes({0xAB, 0xCD}));
    EXPECT_EQ(Engine()->EnableDeviceScanning(false), 0);
    EXPECT_EQ(Engine()->EnableDeviceScanning(false), 0);
}

TEST_F(EngineOverLibrary, FirstSearchFailureKeepsScanningOffForGood)
{
    StartEngine();
    ASSERT_EQ(OXLISim_SetFailure("OXLI_FindRemoteDevices", -9), 0);
    EXPECT_EQ(Engine()->EnableDeviceScanning(true), QZ::E_FAIL);
    ASSERT_EQ(OXLISim_SetFailure("OXLI_FindRemoteDevices", 0), 0);
    EXPECT_EQ(Engine()->EnableDeviceScanning(true), QZ::E_FAIL);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_FindRemoteDevices"), 1u);
    QZ::Array<Variant> devices;
    EXPECT_EQ(Engine()->GetRemoteDeviceList(devices), 0) << "scanning is off: one search";
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_FindRemoteDevices"), 2u);
}

TEST_F(EngineOverLibrary, ConnectingToAPresentRemoteDeviceStartsThePolling)
{
    StartEngine();
    const Variant remote = MakeBytes({0x11});
    SetRemoteDevices(MakeList({remote}));
    const std::uint32_t infoCalls = OXLISim_GetCallCount("OXLI_GetDeviceInfo");
    EXPECT_EQ(Engine()->ConnectToDevice(remote), 0);
    ASSERT_TRUE(
        ProcessUntil([&] { return OXLISim_GetCallCount("OXLI_GetDeviceInfo") >= infoCalls + 2; }))
        << "the connection looks at the device once, the worker on each pass";
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_FindRemoteDevices"), 0u) << "scanning is off";
    EXPECT_EQ(Engine()->ConnectToDevice(MakeBytes({0x22})), OXLI_RESULT_NO_SUCH_DEVICE);
    ProcessQueue();
    EXPECT_EQ(GetPostedConnectionStates(), std::vector<std::int32_t>{3});
}

TEST_F(EngineOverLibrary, ReleasingTheEngineWhileValuesArriveAndTheWorkerRunsIsSafe)
{
    StartEngine();
    SetRemoteDevices(MakeList({MakeBytes({0x33})}));
    ASSERT_EQ(Engine()->EnableDeviceScanning(true), 0);
    for (int index = 0; index < 200; ++index)
    {
        PushValues(MakeValues(
            {{index % 131, MakePresetValue(index % 131, static_cast<std::uint8_t>(index))}}));
    }
    mApplication.ReleaseRootModuleEngine();
    EXPECT_FALSE(GetRootModuleEngine());
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_ReleaseAll"), 1u);
}
