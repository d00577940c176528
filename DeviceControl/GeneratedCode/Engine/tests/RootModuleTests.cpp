// The root module bound to a parameter cache and to the device-communication interface over the
// simulated library: what it keeps, what it reports and what it sends.
#include "DeviceControl/GeneratedCode/Engine/Inc/RootModule.h"
#include "Engine/RededoVuvuvaCommon/tests/SimulatedLibrary.h"
#include "Platform/DeviceControlClient/SimulationControl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace EngineTestSupport;
using QZ::ParamDescriptor;
using QZ::Variant;

namespace
{

class RootModule : public SimulatedLibraryTest
{
protected:
    ~RootModule() override
    {
        mRoot = nullptr;
        mInterface = nullptr;
    }

    // A root placed at firstParamID; online when connected (over the simulated library).
    void Bind(bool offline, std::int32_t firstParamID, bool connected)
    {
        if (connected)
        {
            ASSERT_EQ(mInterface->Initialize(), QZ::S_OK);
        }
        mRoot = LRootModule::Create(offline);
        ASSERT_EQ(mRoot->Initialize(&RootModule::Record, this, mCache, mInterface, firstParamID),
                  0);
        if (connected)
        {
            ASSERT_EQ(mRoot->ConnectDevice(Variant()), 0);
            ASSERT_TRUE(WaitForReports(1)) << "the status the connection asks for";
            std::lock_guard lock(mMutex);
            mReports.clear();
        }
    }

    // Reports arrive on the calling thread or on the interface's delivery thread.
    static int Record(void* context, QZ::Array<QZ::ParamValue>* changes)
    {
        EXPECT_EQ(changes->GetCount(), 1);
        auto* self = static_cast<RootModule*>(context);
        std::lock_guard lock(self->mMutex);
        self->mReports.push_back(changes->GetAt(0));
        self->mReported.notify_all();
        return 0;
    }

    bool WaitForReports(std::size_t count)
    {
        std::unique_lock lock(mMutex);
        return mReported.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return mReports.size() >= count; });
    }

    std::vector<QZ::ParamValue> Reports()
    {
        std::lock_guard lock(mMutex);
        return mReports;
    }

    void Receive(std::initializer_list<std::pair<std::int32_t, Variant>> values)
    {
        mRoot->ReceiveParamValues(QZ::ParamValues(MakeValues(values)));
    }

    QZ::RCPtr<QZ::LParamCache> mCache{new QZ::LParamCache(131)};
    QZ::RCPtr<LDeviceCommunicationInterface> mInterface{new LDeviceCommunicationInterface()};
    QZ::RCPtr<LRootModule> mRoot;
    std::mutex mMutex;
    std::condition_variable mReported;
    std::vector<QZ::ParamValue> mReports;
};

} // namespace

TEST_F(RootModule, OfflineFetchGivesTheDefaultPresetName)
{
    Bind(true, 0, false);
    Variant name;
    EXPECT_EQ(mRoot->FetchParamValue(ParamDescriptor(0), name), 0);
    EXPECT_TRUE(name == MakeText("PRESET"));
    EXPECT_TRUE(mReports.empty()) << "defaults are stored without reports";
}

TEST_F(RootModule, DeviceRoutesEveryPresetIdentifierToItsOwnLeaf)
{
    Bind(true, 1000, false);
    for (std::int32_t paramID = 1000; paramID < 1131; ++paramID)
    {
        const QZ::RCPtr<LParameterizedModule> module = mRoot->GetModule(paramID);
        ASSERT_TRUE(module) << paramID;
        EXPECT_EQ(module->GetFirstParamID(), paramID);
        EXPECT_EQ(module->GetParamCount(), 1u);
    }
    EXPECT_FALSE(mRoot->GetModule(999));
    EXPECT_FALSE(mRoot->GetModule(1131));
    EXPECT_EQ(mRoot->GetDevice()->GetFirstParamID(), 1000);
    EXPECT_EQ(mRoot->GetDevice()->GetPads()->GetPad(15)->GetFirstParamID(), 1024);
}

TEST_F(RootModule, ReceivedChangeIsReportedOnceWithItsAbsoluteIdentifier)
{
    Bind(true, 1000, false);
    const Variant same = mRoot->ReadParamValue(ParamDescriptor(1005));
    Receive({{1005, same}});
    EXPECT_TRUE(mReports.empty());
    const Variant wheel = MakePresetValue(5, 9);
    Receive({{1005, wheel}});
    Receive({{1005, wheel}});
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].mDescriptor.mParamID, 1005);
    EXPECT_TRUE(mReports[0].mValue == wheel);
    EXPECT_TRUE(mRoot->ReadParamValue(ParamDescriptor(1005)) == wheel);
}

TEST_F(RootModule, ItemsOutsideTheTreeAreReportedUnchangedAndNotKept)
{
    Bind(true, 1000, false);
    Variant ready;
    const std::uint8_t yes = 1;
    ready.Set(Variant::TagUInt8, &yes, 1);
    Receive({{1131, MakeText("far")}, {-2, ready}, {-8, MakeText("status")}});
    ASSERT_EQ(mReports.size(), 3u);
    EXPECT_EQ(mReports[0].mDescriptor.mParamID, 1131);
    EXPECT_EQ(mReports[1].mDescriptor.mParamID, -2);
    EXPECT_EQ(mReports[2].mDescriptor.mParamID, -8);
    EXPECT_EQ(mRoot->ReadParamValue(ParamDescriptor(1131)).GetType(), Variant::TagEmpty);
}

TEST_F(RootModule, UnreadableItemIsReportedAsIdentifierMinusOne)
{
    Bind(true, 0, false);
    mRoot->ReceiveParamValues(QZ::ParamValues(MakeList({MakeList({MakeBytes({1})})})));
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].mDescriptor.mParamID, -1);
    EXPECT_EQ(mReports[0].mValue.GetType(), Variant::TagEmpty);
}

TEST_F(RootModule, EmptyValueIsNeitherKeptNorReported)
{
    Bind(true, 0, false);
    Receive({{3, Variant()}});
    EXPECT_TRUE(mReports.empty());
    EXPECT_EQ(mRoot->CommitParamValue(ParamDescriptor(3), Variant()), 0);
    EXPECT_EQ(mRoot->ReadParamValue(ParamDescriptor(3)).GetType(), Variant::TagBytes);
    EXPECT_EQ(mRoot->CommitParamValue(ParamDescriptor(131), MakeText("x")), -1);
    EXPECT_EQ(mRoot->CommitParamValue(ParamDescriptor(-1), MakeText("x")), -1);
}

TEST_F(RootModule, OfflineSendKeepsAndReportsButSendsNothing)
{
    Bind(true, 0, false);
    const Variant zone = MakePresetValue(2, 1);
    EXPECT_EQ(mRoot->SendParamValue(ParamDescriptor(2), zone), 0);
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_TRUE(mRoot->ReadParamValue(ParamDescriptor(2)) == zone);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_SetParamValue"), 0u);
}

TEST_F(RootModule, OnlineSendKeepsThroughTheLeafAndReturnsTheSendResult)
{
    Bind(false, 0, true);
    ASSERT_FALSE(mRoot->IsOffline());
    const Variant zone = MakePresetValue(2, 1);
    EXPECT_EQ(mRoot->SendParamValue(ParamDescriptor(2), zone), 0);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_SetParamValue"), 1u);
    ASSERT_EQ(mReports.size(), 1u);
    ASSERT_EQ(OXLISim_SetFailure("OXLI_SetParamValue", -3), 0);
    const Variant other = MakePresetValue(2, 50);
    EXPECT_EQ(mRoot->SendParamValue(ParamDescriptor(2), other), -3);
    EXPECT_TRUE(mRoot->ReadParamValue(ParamDescriptor(2)) == other);
    Variant fetched;
    EXPECT_EQ(mRoot->FetchParamValue(ParamDescriptor(2), fetched), 0);
    EXPECT_TRUE(fetched == other);
}

TEST_F(RootModule, FailedConnectionLeavesTheModelOfflineWithoutRequests)
{
    Bind(false, 0, false);
    ASSERT_EQ(mInterface->Initialize(), QZ::S_OK);
    ASSERT_EQ(OXLISim_SetFailure("OXLI_ConnectDevice", -5), 0);
    EXPECT_EQ(mRoot->ConnectDevice(Variant()), -5);
    EXPECT_TRUE(mRoot->IsOffline());
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_RequestParamRanges"), 0u);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_RequestParamValues"), 0u);
}

TEST_F(RootModule, ConnectionAsksForThePresetRangeAndTheStatus)
{
    Bind(true, 0, false);
    ASSERT_EQ(mInterface->Initialize(), QZ::S_OK);
    EXPECT_EQ(mRoot->ConnectDevice(Variant()), 0);
    EXPECT_FALSE(mRoot->IsOffline());
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_DisconnectDevice"), 1u);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_RequestParamRanges"), 1u);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_RequestParamValues"), 1u);
    ASSERT_TRUE(WaitForReports(1));
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].mDescriptor.mParamID, -8);
    EXPECT_EQ(mReports[0].mValue.GetType(), Variant::TagInt64);
}

TEST_F(RootModule, StatusValueComesBackOnTheSendingThread)
{
    Bind(false, 0, true);
    Variant status;
    const std::int64_t value = 12;
    status.Set(Variant::TagInt64, &value, 8);
    EXPECT_EQ(mRoot->SendParamValue(ParamDescriptor(-4), status), 0);
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_EQ(mReports[0].mDescriptor.mParamID, -4);
    EXPECT_EQ(mReports[0].mValue.GetListItemCount(), 2u);
}

TEST_F(RootModule, OnlineFetchAsksTheInterfaceForNegativeIdentifiersOnly)
{
    Bind(false, 0, true);
    Variant value;
    EXPECT_EQ(mRoot->FetchParamValue(ParamDescriptor(-10), value), 0);
    EXPECT_STREQ(value.GetString(), "Tarn 61 Vidida Editor");
    value = MakeText("stale");
    EXPECT_EQ(mRoot->FetchParamValue(ParamDescriptor(131), value), QZ::E_FAIL);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);
}

TEST_F(RootModule, ValuesPushedByTheDeviceReachTheModel)
{
    Bind(false, 0, true);
    const Variant fader = MakePresetValue(70, 4);
    PushValues(MakeValues({{70, fader}}));
    ASSERT_TRUE(WaitForReports(1));
    mInterface->EnableReceiver(false);
    ASSERT_EQ(mReports.size(), 1u);
    EXPECT_TRUE(mRoot->ReadParamValue(ParamDescriptor(70)) == fader);
}
