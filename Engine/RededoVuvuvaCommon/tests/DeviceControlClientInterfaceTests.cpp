// The adapter over the simulated library, found beside this program as the loader looks for it.
#include "Engine/RededoVuvuvaCommon/DeviceControlClientInterface.h"
#include "Engine/RededoVuvuvaCommon/tests/SimulatedLibrary.h"
#include "Platform/DeviceControlClient/SimulationControl.h"
#include "QZFramework/Utilities/Storage/ParamListItem.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using QZ::DeviceControlClientInterface;
using QZ::ParamDescriptor;
using QZ::ParamDescriptors;
using QZ::ParamRange;
using QZ::ParamRanges;
using QZ::Variant;
using namespace EngineTestSupport;

namespace
{

struct Received
{
    static std::int32_t Receive(void* context, std::int32_t, const OXLI_Record* values)
    {
        auto* self = static_cast<Received*>(context);
        Variant list;
        if (Platform::UnpackRecord(values, list))
        {
            std::lock_guard lock(self->mMutex);
            self->mLists.push_back(list);
        }
        return 0;
    }

    std::mutex mMutex;
    std::vector<Variant> mLists;
};

class DeviceControlAdapter : public SimulatedLibraryTest
{
protected:
    DeviceControlClientInterface mClient;
    const Variant mKeyboard;
    Received mReceived;
};

} // namespace

TEST_F(DeviceControlAdapter, LibraryBesideTheProgramIsLoaded)
{
    EXPECT_TRUE(mClient.IsLoaded()) << mClient.GetLoadError();
    EXPECT_EQ(mClient.FindDevices(0, 0, 0), 1);
}

TEST_F(DeviceControlAdapter, RemoteDeviceListComesBackAsAList)
{
    const Variant remote = MakeList({MakeBytes({0x10, 0x20}), MakeBytes({0x30})});
    SetRemoteDevices(remote);
    Variant devices;
    EXPECT_EQ(mClient.FindRemoteDevices(nullptr, 0, devices, OXLI_SEARCH_FULL), 1);
    EXPECT_TRUE(devices == remote);
}

TEST_F(DeviceControlAdapter, RequestedStatusArrivesThroughTheCallback)
{
    ASSERT_EQ(mClient.ConnectDevice(mKeyboard, &Received::Receive, &mReceived), 0);
    EXPECT_TRUE(mClient.IsDeviceConnected(mKeyboard));
    ASSERT_EQ(mClient.RequestParamValue(mKeyboard, ParamDescriptor(-8)), 0);
    ASSERT_EQ(OXLISim_WaitUntilDelivered(5000), 0);
    ASSERT_EQ(mReceived.mLists.size(), 1u);
    Variant zero;
    const std::int64_t nothing = 0;
    zero.Set(Variant::TagInt64, &nothing, 8);
    EXPECT_TRUE(mReceived.mLists[0] == MakeValues({{-8, zero}}));
}

TEST_F(DeviceControlAdapter, ValuesWrittenAreReadBack)
{
    ASSERT_EQ(mClient.ConnectDevice(mKeyboard, &Received::Receive, &mReceived), 0);
    const Variant name = MakeBytes({'A', 'B', 'C'});
    ASSERT_EQ(mClient.SetParamValue(mKeyboard, ParamDescriptor(0), name), 0);
    Variant value;
    ASSERT_EQ(mClient.GetParamValue(mKeyboard, ParamDescriptor(0), value), 0);
    EXPECT_TRUE(value == name);
    ASSERT_EQ(mClient.SetParamValues(mKeyboard, MakeValues({{1, MakeBytes({1})}})), 0);
    Variant values;
    ASSERT_EQ(mClient.GetParamValues(mKeyboard, ParamDescriptors(ParamRange{0, 3}), values), 0);
    EXPECT_TRUE(values == MakeValues({{0, name}, {1, MakeBytes({1})}}));
    Variant ranges;
    ASSERT_EQ(mClient.GetParamRanges(mKeyboard, 0, ranges), 0);
    EXPECT_TRUE(ranges == MakeList({MakeList({QZ::MakeInt32Variant(0), QZ::MakeInt32Variant(2)})}));
    ParamRanges wanted;
    const ParamRange all{0, 131};
    ASSERT_EQ(wanted.SetRanges(&all, 1), 0);
    EXPECT_EQ(mClient.RequestParamRanges(mKeyboard, wanted), 0);
}

TEST_F(DeviceControlAdapter, MakerNameIsAskedOfTheLibrary)
{
    ASSERT_EQ(mClient.ConnectDevice(mKeyboard, &Received::Receive, &mReceived), 0);
    Variant value;
    ASSERT_EQ(mClient.GetParamValue(mKeyboard, ParamDescriptor(-9), value), 0);
    EXPECT_STREQ(value.GetString(), "Korvane");
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_GetParamValue"), 1u);
}

TEST_F(DeviceControlAdapter, ConnectedQueryIsTrueOnlyForZero)
{
    ASSERT_EQ(mClient.ConnectDevice(mKeyboard, &Received::Receive, &mReceived), 0);
    EXPECT_TRUE(mClient.IsDeviceConnected(mKeyboard));
    ASSERT_EQ(OXLISim_SetFailure("OXLI_IsDeviceConnected", 1), 0);
    EXPECT_FALSE(mClient.IsDeviceConnected(mKeyboard));
}

TEST_F(DeviceControlAdapter, ValueWithoutARecordIsRefusedWithoutACall)
{
    ASSERT_EQ(mClient.ConnectDevice(mKeyboard, &Received::Receive, &mReceived), 0);
    Variant dangling;
    ASSERT_EQ(dangling.SetReference(Variant::TagDataRef, nullptr, 0), Variant::TagDataRef);
    EXPECT_EQ(mClient.SetParamValue(mKeyboard, ParamDescriptor(0), dangling),
              OXLI_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_SetParamValue"), 0u);
}

TEST_F(DeviceControlAdapter, DisconnectEndsTheConnection)
{
    ASSERT_EQ(mClient.ConnectDevice(mKeyboard, &Received::Receive, &mReceived), 0);
    EXPECT_EQ(mClient.DisconnectDevice(mKeyboard), 0);
    EXPECT_FALSE(mClient.IsDeviceConnected(mKeyboard));
    EXPECT_EQ(mClient.DisconnectDevice(mKeyboard), OXLI_RESULT_NOT_CONNECTED);
    OXLI_DeviceInfo info;
    EXPECT_EQ(mClient.GetDeviceInfo(mKeyboard, info), 0);
    EXPECT_TRUE(DeviceControlClientInterface::IsDevicePresent(info));
}
