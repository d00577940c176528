// The device-communication interface over the simulated library: the library's calls, the
// searches, and the delivery of pushed value lists on the interface's own thread.
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationInterface.h"
#include "Engine/RededoVuvuvaCommon/tests/RecordingReceiver.h"
#include "Engine/RededoVuvuvaCommon/tests/SimulatedLibrary.h"
#include "Platform/DeviceControlClient/SimulationControl.h"
#include "QZFramework/Utilities/Storage/ParamListItem.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace EngineTestSupport;
using QZ::ParamDescriptor;
using QZ::Variant;

namespace
{

class DeviceCommunicationOverLibrary : public SimulatedLibraryTest
{
protected:
    DeviceCommunicationOverLibrary()
    {
        EXPECT_EQ(mInterface->Initialize(), QZ::S_OK);
        mInterface->SetReceiver(&mReceiver);
        mInterface->EnableReceiver(true);
    }
    ~DeviceCommunicationOverLibrary() override
    {
        mReceiver.Release();
        mInterface = nullptr;
    }

    // A list that sets the preset name to "N" and the index's four digits.
    static Variant Numbered(int index)
    {
        const std::uint8_t digits[6] = {'N',
                                        static_cast<std::uint8_t>('0' + index / 1000 % 10),
                                        static_cast<std::uint8_t>('0' + index / 100 % 10),
                                        static_cast<std::uint8_t>('0' + index / 10 % 10),
                                        static_cast<std::uint8_t>('0' + index % 10),
                                        '.'};
        Variant name;
        name.SetBytes(digits, 6);
        return MakeValues({{0, name}});
    }

    void ExpectNumberedLists(int count)
    {
        const std::vector<QZ::ParamValues> lists = mReceiver.GetLists();
        ASSERT_EQ(lists.size(), static_cast<std::size_t>(count));
        for (int index = 0; index < count; ++index)
        {
            EXPECT_TRUE(lists[index] == Numbered(index)) << index;
        }
    }

    QZ::RCPtr<LDeviceCommunicationInterface> mInterface{new LDeviceCommunicationInterface()};
    RecordingReceiver mReceiver;
    LDeviceCommunicationInterface::DeviceClassArray mAllClasses;
};

} // namespace

TEST_F(DeviceCommunicationOverLibrary, VirtualParametersAreAskedOfTheLibrary)
{
    ASSERT_TRUE(mInterface->IsLibraryLoaded());
    ASSERT_EQ(mInterface->ConnectDevice(Variant()), 0);
    Variant value;
    ASSERT_EQ(mInterface->GetParamValue(ParamDescriptor(-9), value), 0);
    EXPECT_STREQ(value.GetString(), "Korvane");
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_GetParamValue"), 1u);
    ASSERT_EQ(mInterface->SetStatus(MakeBytes({4})), 0);
    ASSERT_EQ(mInterface->GetStatus(value), 0);
    EXPECT_TRUE(value == MakeBytes({4}));
}

TEST_F(DeviceCommunicationOverLibrary, UnwritableIdentifiersAreRefusedEvenWithAClient)
{
    ASSERT_EQ(mInterface->ConnectDevice(Variant()), 0);
    for (const std::int32_t paramID : {-12, -13, -14})
    {
        EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(paramID), MakeBytes({1})), QZ::E_FAIL);
    }
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_SetParamValue"), 0u);
    EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(3), MakeBytes({1})), 0);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_SetParamValue"), 1u);
}

TEST_F(DeviceCommunicationOverLibrary, SearchWithoutTimeOutMakesOneSearch)
{
    SetRemoteDevices(MakeList({MakeBytes({1})}));
    LDeviceCommunicationInterface::DeviceList devices;
    static_cast<void>(devices.SetCount(1));
    devices.GetAt(0) = MakeBytes({1});
    EXPECT_EQ(mInterface->WaitForRemoteDeviceListChange(mAllClasses, devices, 0),
              LDeviceCommunicationInterface::kListUnchanged);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_FindRemoteDevices"), 1u);
}

TEST_F(DeviceCommunicationOverLibrary, SearchWaitsForAListThatChangesOnTheThirdSearch)
{
    SetRemoteDevices(MakeList({MakeBytes({2}), MakeBytes({3})}), 2);
    LDeviceCommunicationInterface::DeviceList devices;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mInterface->WaitForRemoteDeviceListChange(mAllClasses, devices, 1500), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_FindRemoteDevices"), 3u);
    ASSERT_EQ(devices.GetCount(), 2);
    EXPECT_TRUE(devices.GetAt(1) == MakeBytes({3}));
}

TEST_F(DeviceCommunicationOverLibrary, FailedSearchIsAGeneralFailure)
{
    ASSERT_EQ(OXLISim_SetFailure("OXLI_FindRemoteDevices", -5), 0);
    LDeviceCommunicationInterface::DeviceList devices;
    EXPECT_EQ(mInterface->WaitForRemoteDeviceListChange(mAllClasses, devices, 1500), QZ::E_FAIL);
    EXPECT_EQ(mInterface->FindRemoteDevices(mAllClasses, devices), -5);
}

TEST_F(DeviceCommunicationOverLibrary, FullSearchReportsFoundDevices)
{
    SetRemoteDevices(MakeList({MakeBytes({8})}));
    LDeviceCommunicationInterface::DeviceList devices;
    EXPECT_EQ(mInterface->FindRemoteDevices(mAllClasses, devices), 1);
    ASSERT_EQ(devices.GetCount(), 1);
    OXLI_DeviceInfo info;
    ASSERT_EQ(mInterface->GetDeviceInfo(devices.GetAt(0), info), 0);
    EXPECT_TRUE(QZ::DeviceControlClientInterface::IsDevicePresent(info));
}

TEST_F(DeviceCommunicationOverLibrary, ListsQueuedWhileDeliveryIsHeldAreAllDeliveredOldestFirst)
{
    ASSERT_EQ(mInterface->ConnectDevice(Variant()), 0);
    mReceiver.Hold();
    PushValues(Numbered(0));
    ASSERT_TRUE(mReceiver.WaitForLists(1));
    for (int index = 1; index <= 300; ++index)
    {
        PushValues(Numbered(index));
    }
    WaitUntilDelivered();
    mReceiver.Release();
    ASSERT_TRUE(mReceiver.WaitForLists(301));
    ExpectNumberedLists(301);
    for (const std::thread::id thread : mReceiver.GetThreads())
    {
        EXPECT_NE(thread, std::this_thread::get_id());
    }
}

TEST_F(DeviceCommunicationOverLibrary, NothingIsDeliveredOnceReceivingIsOff)
{
    ASSERT_EQ(mInterface->ConnectDevice(Variant()), 0);
    for (int index = 0; index < 200; ++index)
    {
        PushValues(Numbered(index));
    }
    mInterface->EnableReceiver(false);
    const std::size_t delivered = mReceiver.GetLists().size();
    for (int index = 200; index < 220; ++index)
    {
        PushValues(Numbered(index));
    }
    WaitUntilDelivered();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(mReceiver.GetLists().size(), delivered);

    mInterface->EnableReceiver(true);
    PushValues(Numbered(7));
    ASSERT_TRUE(mReceiver.WaitForLists(delivered + 1));
    EXPECT_TRUE(mReceiver.GetLists().back() == Numbered(7));
}

TEST_F(DeviceCommunicationOverLibrary, ReleasingTheInterfaceWhileListsArriveEndsCleanly)
{
    ASSERT_EQ(mInterface->ConnectDevice(Variant()), 0);
    for (int index = 0; index < 100; ++index)
    {
        PushValues(Numbered(index));
    }
    mInterface->SetReceiver(nullptr);
    mInterface = nullptr;
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_DisconnectDevice"), 1u);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_ReleaseAll"), 1u);
}
