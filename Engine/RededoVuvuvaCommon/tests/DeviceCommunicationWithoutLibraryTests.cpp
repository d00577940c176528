// The device-communication interface with no client, and with a client whose library is absent.
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationInterface.h"
#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "Engine/RededoVuvuvaCommon/tests/RecordingReceiver.h"

#include <gtest/gtest.h>

using namespace EngineTestSupport;
using QZ::ParamDescriptor;
using QZ::Variant;

namespace
{

constexpr std::int32_t kNoClient = LDeviceCommunicationInterface::kNoClient;

struct DeviceCommunication : public ::testing::Test
{
    QZ::RCPtr<LDeviceCommunicationInterface> mInterface{new LDeviceCommunicationInterface()};
    RecordingReceiver mReceiver;
    LDeviceCommunicationInterface::DeviceClassArray mAllClasses;

    void TearDown() override { mInterface->SetReceiver(nullptr); }
};

} // namespace

TEST_F(DeviceCommunication, WithoutAClientTheVirtualParametersAreAnsweredHere)
{
    Variant value;
    ASSERT_EQ(mInterface->GetParamValue(ParamDescriptor(-9), value), 0);
    EXPECT_STREQ(value.GetString(), "Korvane");
    ASSERT_EQ(mInterface->GetParamValue(ParamDescriptor(-10), value), 0);
    EXPECT_STREQ(value.GetString(), "Tarn 61 Vidida Editor");
    ASSERT_EQ(mInterface->GetParamValue(ParamDescriptor(-2), value), 0);
    EXPECT_EQ(value.GetType(), Variant::TagUInt8);
    EXPECT_TRUE(value.ToBool());
    EXPECT_EQ(mInterface->GetParamValue(ParamDescriptor(-8), value), kNoClient);
    EXPECT_EQ(mInterface->GetParamValue(ParamDescriptor(4), value), QZ::E_FAIL);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);
}

TEST_F(DeviceCommunication, WithoutAClientDeviceCallsFail)
{
    LDeviceCommunicationInterface::DeviceList devices;
    EXPECT_EQ(mInterface->WaitForRemoteDeviceListChange(mAllClasses, devices, 0), kNoClient);
    EXPECT_EQ(mInterface->FindRemoteDevices(mAllClasses, devices), kNoClient);
    EXPECT_EQ(mInterface->ConnectDevice(Variant()), kNoClient);
    EXPECT_EQ(mInterface->CheckConnection(), kNoClient);
    EXPECT_EQ(mInterface->DisconnectDevice(), kNoClient);
    EXPECT_EQ(mInterface->RequestParamValue(ParamDescriptor(-8)), kNoClient);
    Variant status;
    EXPECT_EQ(mInterface->GetStatus(status), kNoClient);
    EXPECT_TRUE(mInterface->IsConnected());
    EXPECT_TRUE(mInterface->IsReady());
    ASSERT_EQ(mInterface->GetLocalDeviceList(mAllClasses, devices), 0);
    ASSERT_EQ(devices.GetCount(), 1);
    EXPECT_EQ(devices.GetAt(0).GetType(), Variant::TagEmpty);
    std::int32_t index = 7;
    EXPECT_EQ(mInterface->GetDeviceIndex(index), 0);
    EXPECT_EQ(index, 0);
}

TEST_F(DeviceCommunication, WritesNeedAReceiver)
{
    EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(-4), Variant()), QZ::E_FAIL);
    EXPECT_FALSE(mInterface->DeliverStatusValue(5));
    mInterface->SetReceiver(&mReceiver);
    EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(-13), Variant()), QZ::E_FAIL);
    EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(-8), Variant()), kNoClient);
    EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(3), Variant()), QZ::E_FAIL);
    EXPECT_TRUE(mReceiver.GetLists().empty());
}

TEST_F(DeviceCommunication, StatusValueGoesStraightToTheReceiverOnTheCallingThread)
{
    mInterface->SetReceiver(&mReceiver);
    Variant status;
    const std::int64_t nine = -9000000000;
    status.Set(Variant::TagInt64, &nine, 8);
    EXPECT_EQ(mInterface->SetParamValue(ParamDescriptor(-4), status), 0);
    const std::vector<QZ::ParamValues> lists = mReceiver.GetLists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(mReceiver.GetThreads()[0], std::this_thread::get_id());
    ASSERT_EQ(lists[0].GetListItemCount(), 1u);
    Variant value;
    std::int32_t paramID = 0;
    Variant subKey;
    ASSERT_EQ(lists[0].GetItem(0, value, paramID, subKey), 0);
    EXPECT_EQ(paramID, -4);
    EXPECT_EQ(subKey.GetType(), Variant::TagEmpty);
    ASSERT_EQ(value.GetListItemCount(), 2u);
    Variant number;
    Variant ready;
    ASSERT_EQ(value.GetListItem(0, number), 0);
    ASSERT_EQ(value.GetListItem(1, ready), 0);
    EXPECT_EQ(number.GetType(), Variant::TagInt64);
    EXPECT_EQ(number.ToInt64(), nine);
    EXPECT_EQ(ready.GetType(), Variant::TagUInt8);
    EXPECT_TRUE(ready.ToBool());
}

TEST_F(DeviceCommunication, AbsentLibraryMakesAClientThatAnswersEveryCallWithMinusOne)
{
    EXPECT_EQ(mInterface->Initialize(), QZ::S_OK);
    EXPECT_EQ(mInterface->Initialize(), QZ::S_FALSE);
    EXPECT_FALSE(mInterface->IsLibraryLoaded());
    LDeviceCommunicationInterface::DeviceList devices;
    EXPECT_EQ(mInterface->WaitForRemoteDeviceListChange(mAllClasses, devices, 0), QZ::E_FAIL);
    EXPECT_EQ(mInterface->FindRemoteDevices(mAllClasses, devices), -1);
    EXPECT_EQ(mInterface->ConnectDevice(Variant()), -1);
    EXPECT_EQ(mInterface->CheckConnection(), 0);
    Variant value;
    EXPECT_EQ(mInterface->GetParamValue(ParamDescriptor(-9), value), -1);
    OXLI_DeviceInfo info;
    EXPECT_EQ(mInterface->GetDeviceInfo(Variant(), info), -1);
    EXPECT_EQ(mInterface->DisconnectDevice(), -1);
}
