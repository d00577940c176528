// The engine on a normal installation: no device-control library beside the program.
#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"

using namespace EngineTestSupport;
using QZ::ParamDescriptor;
using QZ::ParamDescriptors;
using QZ::Variant;

namespace
{

class EngineWithoutLibrary : public EngineHarness
{
protected:
    void SetUp() override
    {
        StartEngine();
        ProcessQueue();
    }

    std::vector<QZ::ParamValue> PostedStates() const
    {
        return StatesOf(GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE));
    }

    void PostChangeRequest(const QZ::RCPtr<QZ::LRefCountedObject>& payload)
    {
        QZ::RCPtr<QZ::LNotification> request;
        QZ::LNotification::Create(request, QZ::NID_PARAM_MODULE_CHANGE_REQ, payload);
        ASSERT_EQ(QZ::GetApplicationNotificationCenter()->Post(request), QZ::S_OK);
    }
};

} // namespace

TEST_F(EngineWithoutLibrary, InitialisationPostsEveryValueOnceAndTheConnectedState)
{
    const std::vector<Delivered> stateChanges = GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE);
    ASSERT_EQ(stateChanges.size(), 1u);
    const std::vector<QZ::ParamValue> states = StatesOf(stateChanges[0].mPayload);
    ASSERT_EQ(states.size(), 131u);
    for (std::int32_t number = 0; number < 131; ++number)
    {
        EXPECT_EQ(states[number].mDescriptor.mParamID, number);
        EXPECT_EQ(states[number].mDescriptor.mSubKey.GetType(), Variant::TagEmpty);
        EXPECT_EQ(states[number].mValue.GetType(), Variant::TagBytes);
    }
    EXPECT_TRUE(states[0].mValue == MakeText("PRESET"));
    EXPECT_EQ(GetPostedConnectionStates(), std::vector<std::int32_t>{3});
    EXPECT_EQ(Engine()->GetDeviceConnectionState(), LRootModuleEngine::Connected);
    EXPECT_EQ(Engine()->GetFirstParamID(), 0);
}

TEST_F(EngineWithoutLibrary, EveryValueRoundTripsAndIsPostedOnce)
{
    for (std::int32_t number = 0; number < 131; ++number)
    {
        ASSERT_EQ(Engine()->SetParamValue(ParamDescriptor(number), MakePresetValue(number, 40)), 0);
    }
    QZ::Array<QZ::ParamValue> values;
    ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{0, 131}, values, -1), 0);
    ASSERT_EQ(values.GetCount(), 131);
    for (std::int32_t number = 0; number < 131; ++number)
    {
        EXPECT_EQ(values.GetAt(number).mDescriptor.mParamID, number);
        EXPECT_TRUE(values.GetAt(number).mValue == MakePresetValue(number, 40)) << number;
        Variant fetched;
        EXPECT_EQ(Engine()->GetParamValue(ParamDescriptor(number), fetched), 0);
        EXPECT_TRUE(fetched == MakePresetValue(number, 40)) << number;
    }
    ProcessQueue();
    const std::vector<QZ::ParamValue> posted = PostedStates();
    ASSERT_EQ(posted.size(), 131u + 131u);
    for (std::int32_t number = 0; number < 131; ++number)
    {
        EXPECT_EQ(posted[131 + number].mDescriptor.mParamID, number);
    }
}

TEST_F(EngineWithoutLibrary, EqualAndEmptyValuesChangeNothing)
{
    EXPECT_EQ(Engine()->SetParamValue(ParamDescriptor(0), MakeText("PRESET")), 0);
    EXPECT_EQ(Engine()->SetParamValue(ParamDescriptor(0), Variant()), 0);
    ProcessQueue();
    EXPECT_EQ(GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE).size(), 1u);
    Variant name;
    EXPECT_EQ(Engine()->GetParamValue(ParamDescriptor(0), name), 0);
    EXPECT_TRUE(name == MakeText("PRESET"));
}

TEST_F(EngineWithoutLibrary, ParametersOutsideThePresetAreNotKept)
{
    EXPECT_EQ(Engine()->SetParamValue(ParamDescriptor(131), MakeText("X")), -1);
    Variant value = MakeText("stale");
    EXPECT_EQ(Engine()->GetParamValue(ParamDescriptor(131), value), 0);
    EXPECT_EQ(value.GetType(), Variant::TagEmpty);
    EXPECT_EQ(Engine()->GetDeviceConnectionState(), LRootModuleEngine::Connected);
}

TEST_F(EngineWithoutLibrary, ChangeReportsPostPairsForUpToTwoAndOneListFromThree)
{
    ProcessQueue();
    const std::size_t before = GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE).size();
    ASSERT_EQ(Engine()->PostParamStates(ParamDescriptors(QZ::ParamRange{5, 2})), 0);
    ProcessQueue();
    std::vector<Delivered> posted = GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE);
    ASSERT_EQ(posted.size(), before + 2);
    for (std::size_t k = 0; k < 2; ++k)
    {
        const auto* pair = dynamic_cast<const LRootModuleEngine::ParamStatePayload*>(
            posted[before + k].mPayload.Get());
        ASSERT_NE(pair, nullptr);
        EXPECT_EQ(pair->GetFirst().mParamID, static_cast<std::int32_t>(5 + k));
        const QZ::StringT<char16_t, char> text(k == 0 ? u"5" : u"6");
        EXPECT_TRUE(pair->ToString() == text.GetString());
    }
    ASSERT_EQ(Engine()->PostParamStates(ParamDescriptors(QZ::ParamRange{9, 3})), 0);
    ASSERT_EQ(Engine()->PostParamStates(ParamDescriptors(QZ::ParamRange{9, 0})), 0);
    ProcessQueue();
    posted = GetDelivered(QZ::NID_PARAM_MODULE_STATE_CHANGE);
    ASSERT_EQ(posted.size(), before + 3);
    const std::vector<QZ::ParamValue> states = StatesOf(posted.back().mPayload);
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(states[2].mDescriptor.mParamID, 11);
}

TEST_F(EngineWithoutLibrary, ChangeRequestReachesTheModelAndIsPostedBack)
{
    const Variant wheel = MakePresetValue(5, 3);
    PostChangeRequest(QZ::RCPtr<QZ::LRefCountedObject>(
        new LRootModuleEngine::ParamStatePayload(ParamDescriptor(5), wheel)));
    ProcessQueue();
    Variant value;
    ASSERT_EQ(Engine()->GetParamValue(ParamDescriptor(5), value), 0);
    EXPECT_TRUE(value == wheel);
    ProcessQueue();
    const std::vector<QZ::ParamValue> posted = PostedStates();
    ASSERT_EQ(posted.size(), 132u);
    EXPECT_EQ(posted.back().mDescriptor.mParamID, 5);
    EXPECT_TRUE(posted.back().mValue == wheel);
}

TEST_F(EngineWithoutLibrary, ChangeRequestWithoutAPairIsDropped)
{
    PostChangeRequest(QZ::RCPtr<QZ::LRefCountedObject>(new QZ::LHolder<int>(5)));
    PostChangeRequest(nullptr);
    ProcessQueue();
    ProcessQueue();
    EXPECT_EQ(PostedStates().size(), 131u);
}

TEST_F(EngineWithoutLibrary, ValueListStartRulesClearOrGrowTheArray)
{
    QZ::Array<QZ::ParamValue> values(5);
    ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{0, 131}, values, -1), 0);
    EXPECT_EQ(values.GetCount(), 131);
    ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{0, 131}, values, 131), 0);
    ASSERT_EQ(values.GetCount(), 262);
    EXPECT_EQ(values.GetAt(131).mDescriptor.mParamID, 0);
    EXPECT_TRUE(values.GetAt(131).mValue == MakeText("PRESET"));
    ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{129, 2}, values, 0), 0);
    EXPECT_EQ(values.GetCount(), 262);
    EXPECT_EQ(values.GetAt(1).mDescriptor.mParamID, 130);
    // A run that would end past the list's index range reads nothing.
    for (const auto& [count, start] : {std::pair{0x80000000u, 0}, {131u, 0x7FFFFFF0}})
    {
        ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{0, count}, values, start), 0);
        EXPECT_EQ(values.GetCount(), 262) << start;
    }

    // Entries past the preset are overwritten with their identifier and an empty value, whatever
    // they held before.
    values.GetAt(3).mDescriptor = ParamDescriptor(7, MakeText("key"));
    ASSERT_EQ(Engine()->GetParamValues(QZ::ParamRange{130, 3}, values, 1), 0);
    for (const auto& [index, paramID] : {std::pair{1, 130}, {2, 131}, {3, 132}})
    {
        const QZ::ParamValue& entry = values.GetAt(index);
        EXPECT_EQ(entry.mDescriptor.mParamID, paramID);
        EXPECT_EQ(entry.mDescriptor.mSubKey.GetType(), Variant::TagEmpty) << paramID;
        EXPECT_EQ(entry.mValue.GetType() == Variant::TagEmpty, paramID != 130) << paramID;
    }
    EXPECT_TRUE(values.GetAt(0).mValue == values.GetAt(131 + 129).mValue);
}

TEST_F(EngineWithoutLibrary, ScanningStaysOffAndTheDeviceListIsEmpty)
{
    EXPECT_EQ(Engine()->EnableDeviceScanning(true), QZ::E_FAIL);
    EXPECT_EQ(Engine()->EnableDeviceScanning(true), QZ::E_FAIL);
    EXPECT_EQ(Engine()->EnableDeviceScanning(false), 0);
    QZ::Array<Variant> devices(2);
    EXPECT_EQ(Engine()->GetRemoteDeviceList(devices), 0);
    EXPECT_TRUE(GetDelivered(QZ::NID_REMOTE_DEVICE_LIST_CHANGE).empty());
}

TEST_F(EngineWithoutLibrary, ConnectingAgainKeepsTheConnectedState)
{
    EXPECT_EQ(Engine()->ConnectToDevice(Variant()), LDeviceCommunicationInterface::kNoClient);
    EXPECT_EQ(Engine()->Disconnect(), LDeviceCommunicationInterface::kNoClient);
    ProcessQueue();
    EXPECT_EQ(GetPostedConnectionStates(), std::vector<std::int32_t>{3});
    EXPECT_EQ(Engine()->SetParamValue(ParamDescriptor(7), MakePresetValue(7, 1)), 0);
}

TEST_F(EngineWithoutLibrary, VirtualParametersGiveTheAbsentLibrarysAnswer)
{
    Variant value;
    EXPECT_EQ(Engine()->GetParamValue(ParamDescriptor(-9), value),
              QZ::DeviceControlClientInterface::kLibraryAbsent);
}

TEST_F(EngineWithoutLibrary, ApplicationHandsOutItsEngineUntilItIsReleased)
{
    const LRootModuleEngine* engine = Engine().Get();
    EXPECT_NE(engine, nullptr);
    EXPECT_EQ(GetRootModuleEngine().Get(), engine);
    mApplication.ReleaseRootModuleEngine();
    EXPECT_FALSE(GetRootModuleEngine());
}
