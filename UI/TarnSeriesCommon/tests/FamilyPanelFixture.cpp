#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <chrono>
#include <map>
#include <thread>

namespace QZ
{
namespace
{

// The edit panel the device view shows for a control type (and, for the pedals, subtype).
const std::map<std::pair<std::int32_t, std::int32_t>, const char16_t*>& EditPanelNames()
{
    static const std::map<std::pair<std::int32_t, std::int32_t>, const char16_t*> names{
        {{kFaderControlType, 0}, u"faderEditPanel"},
        {{kEncoderControlType, 0}, u"knobEditPanel"},
        {{kPadControlType, 0}, u"padEditPanel"},
        {{kXYPadControlType, 0}, u"xyPadEditPanel"},
        {{kWheelControlType, 0}, u"wheelEditPanel"},
        {{kKeybedZoneControlType, 0}, u"zoneEditPanel"},
        {{kPushButtonControlType, 0}, u"buttonEditPanel"},
        {{kPedalControlType, 0}, u"volumePedalEditPanel"},
        {{kPedalControlType, 1}, u"sustainEditPage"}};
    return names;
}

} // namespace

StandInMainControl::StandInMainControl(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived)
    : LPanel(parent, name, mostDerived), IRootModule(false)
{
}

RCPtr<LDeviceCommunicationInterface> StandInMainControl::GetDeviceCommunicationInterface()
{
    return nullptr;
}

RCPtr<LParameterizedModule> StandInMainControl::GetModule(std::int32_t paramID)
{
    for (const RCPtr<LParameterizedModule>& group : groups)
    {
        if (RCPtr<LParameterizedModule> module = group->GetModule(paramID))
        {
            return module;
        }
    }
    return nullptr;
}

std::int32_t StandInMainControl::SendParamValue(const ParamDescriptor& descriptor,
                                                const Variant& value)
{
    sent.emplace_back(descriptor, value);
    return GetRootModuleEngine()->SetParamValue(descriptor, value);
}

void StandInMainControl::Deliver(const ParamValue& state)
{
    if (const RCPtr<LParameterizedModule> module = GetModule(state.mDescriptor.mParamID))
    {
        module->SetParamValueLocal(state.mDescriptor, state.mValue, true);
    }
}

void StandInDeviceView::ShowEditPanel(std::int32_t controlType, std::int32_t subtype)
{
    shown.emplace_back(controlType, subtype);
    const std::int32_t key = controlType == kPedalControlType ? subtype : 0;
    for (const auto& [type, name] : EditPanelNames())
    {
        if (const RCPtr<LControl> panel = FindChildByName(WideString(name)))
        {
            panel->SetShown(type == std::make_pair(controlType, key));
        }
    }
}

std::int32_t FakeAssignmentEditor::SetParamValues(const Array<signed char>& values)
{
    ++fills;
    mValues = values;
    return S_OK;
}

void FakeAssignmentEditor::Edit(const std::vector<int>& bytes)
{
    mValues = BytesOf(bytes);
    RCPtr<LNotification> changed;
    LNotification::Create(changed, NID_PARAMETERS_CHANGED);
    Distribute(changed);
}

std::vector<int> IntsOf(const Variant& value)
{
    std::uint32_t size = 0;
    const auto* data = static_cast<const signed char*>(value.GetData(size));
    return std::vector<int>(data, data + size);
}

void FamilyPanelFixture::SetUp()
{
    LNotification::EnablePooling(true);
    ASSERT_NE(
        mStates->Subscribe(GetApplicationNotificationCenter(), NID_PARAM_MODULE_STATE_CHANGE, 0),
        nullptr);
    mApplication.CreateRootModuleEngine();
    ASSERT_TRUE(GetRootModuleEngine());
    Register<StandInMainControl>(u"RededoVuvuva.MainControl");
    Register<StandInDeviceView>(u"RededoVuvuva.MainControl.DeviceView");
    Register<FakeAssignmentEditor>(u"RededoVuvuva.MainControl.EditPanel.MoveableTypePanel");
    Register<FakeAssignmentView>(u"RededoVuvuva.MainControl.MoveableType.ViewPanel");
}

void FamilyPanelFixture::TearDown()
{
    if (mMain)
    {
        mMain->groups.clear();
    }
    mMain = nullptr;
    mDevice = nullptr;
    mHost = nullptr;
    mApplication.ReleaseRootModuleEngine();
    static_cast<void>(mStates->UnsubscribeAll());
    LNotification::EnablePooling(false);
}

void FamilyPanelFixture::BuildMain()
{
    mMain = RCPtr<StandInMainControl>::DynamicCastFrom(BuildRoot(u"mainControl"));
    ASSERT_TRUE(mMain);
    mDevice = At<StandInDeviceView>(RCPtr<LControl>(mMain.Get()), u"viewDevice");
    ASSERT_TRUE(mDevice);
    // As the root window does once it holds the control.
    mMain->SetRect(RectT<double>(0.0, 0.0, 1200.0, 750.0));
    mMain->UpdateConditions();
}

void FamilyPanelFixture::Place(const RCPtr<LParameterizedModule>& group, std::int32_t firstParamID)
{
    ASSERT_TRUE(group);
    mMain->groups.push_back(group);
    group->SetFirstParamID(mMain.Get(), firstParamID, 0);
}

std::vector<ParamValue> FamilyPanelFixture::DeliverPostedStates(std::size_t expected)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<ParamValue> states;
    while (states.size() < expected && std::chrono::steady_clock::now() < deadline)
    {
        static_cast<void>(GetApplicationNotificationCenter()->ProcessQueue(false));
        states = EngineTestSupport::StatesOf(mStates->GetDelivered(NID_PARAM_MODULE_STATE_CHANGE));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(states.size(), expected);
    mStates->Clear();
    for (const ParamValue& state : states)
    {
        mMain->Deliver(state);
    }
    return states;
}

void FamilyPanelFixture::Click(const RCPtr<LControl>& control, std::uint32_t modifiers)
{
    ASSERT_TRUE(control);
    RCPtr<LNotification> click;
    LNotification::Create(
        click, NID_LEFT_CLICK,
        RCPtr<LRefCountedObject>(LMouseButtonParam::Create(0, 0, modifiers, 0, false, 0).Get()));
    control->Distribute(click);
}

RCPtr<LControl> FamilyPanelFixture::DeviceChild(const std::u16string& path) const
{
    return Descend(RCPtr<LControl>(mDevice.Get()), path);
}

std::vector<double> FamilyPanelFixture::Highlights(const std::vector<RCPtr<LControl>>& tiles)
{
    std::vector<double> values;
    for (const RCPtr<LControl>& tile : tiles)
    {
        values.push_back(At<LButton>(tile, u"button")->GetValue());
    }
    return values;
}

Variant FamilyPanelFixture::EngineValue(std::int32_t paramID) const
{
    Variant value;
    static_cast<void>(GetRootModuleEngine()->GetParamValue(ParamDescriptor(paramID), value));
    return value;
}

} // namespace QZ
