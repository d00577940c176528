// The device drawing around a family's panels, for their tests: the shipped skin's "mainControl"
// under a stand-in main control (the root of the editor's device tree over the real engine), a
// stand-in device view that shows one edit panel per control type, and a small editor and summary
// standing in for the shared continuous-control editor and view. A test registers its family's
// classes, builds the tree with BuildMain and places its groups with Place.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"
#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "QZFramework/Controls/Panel.h"
#include "UI/TarnSeriesCommon/AssignmentEditor.h"
#include "UI/TarnSeriesCommon/AssignmentView.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"
#include "UI/TarnSeriesCommon/FamilyValue.h"
#include "UI/TarnSeriesCommon/tests/ByteLists.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace QZ
{

// The main control as far as the family panels need it: sends the user's values to the engine
// (recording them) and gives the engine's values to the module of the placed groups that answers.
class StandInMainControl : public LPanel, public IRootModule
{
public:
    StandInMainControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    void ReportParamChange(const ParamDescriptor&, const Variant&) override {}
    RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() override;
    RCPtr<IDevice> GetDevice() override { return nullptr; }
    RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override;
    std::int32_t SendParamValue(const ParamDescriptor& descriptor, const Variant& value) override;
    void Deliver(const ParamValue& state);

    std::vector<RCPtr<LParameterizedModule>> groups;
    std::vector<ParamValue> sent;
};

// Shows the edit panel of the control type asked for and hides every other one, as the device
// view does; records each request.
class StandInDeviceView : public LPanel, public IEditPanelHost
{
public:
    using LPanel::LPanel;
    void ShowEditPanel(std::int32_t controlType, std::int32_t subtype) override;

    std::vector<std::pair<std::int32_t, std::int32_t>> shown;
};

// A shared editor that keeps what it is given; Edit stands for a user's change.
class FakeAssignmentEditor : public LPanel, public IAssignmentEditor
{
public:
    using LPanel::LPanel;
    std::int32_t SetParamValues(const Array<signed char>& values) override;
    [[nodiscard]] Array<signed char> GetParamValues() const override { return mValues; }
    void Edit(const std::vector<int>& bytes);

    std::int32_t fills = 0;

private:
    Array<signed char> mValues;
};

// A summary that keeps what it is given.
class FakeAssignmentView : public LPanel, public IAssignmentView
{
public:
    using LPanel::LPanel;
    void SetParamValues(const Array<signed char>& values) override { shown = values; }

    Array<signed char> shown;
};

[[nodiscard]] std::vector<int> IntsOf(const Variant& value);

// The numbers as a family's value.
[[nodiscard]] inline Variant ValueOf(const std::vector<int>& numbers)
{
    return MakeValue(BytesOf(numbers));
}

class FamilyPanelFixture : public ShippedSkinFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds "mainControl" with the classes registered so far.
    void BuildMain();
    // Places a group as the device view does.
    void Place(const RCPtr<LParameterizedModule>& group, std::int32_t firstParamID);
    // Hands on the engine's posted states once at least `expected` arrived; returns them.
    std::vector<ParamValue> DeliverPostedStates(std::size_t expected);
    // A left click on the control, with the modifier bits.
    static void Click(const RCPtr<LControl>& control, std::uint32_t modifiers = 0);
    [[nodiscard]] RCPtr<LControl> DeviceChild(const std::u16string& path) const;
    [[nodiscard]] Variant EngineValue(std::int32_t paramID) const;
    // The module that answers for the identifier now.
    [[nodiscard]] LParameterizedModule* ModuleOf(std::int32_t paramID) const
    {
        return mMain->GetModule(paramID).Get();
    }
    // The tiles of a family's group, in its order.
    template <class Group> static std::vector<RCPtr<LControl>> TilesOf(const Group& group)
    {
        std::vector<RCPtr<LControl>> tiles;
        for (const auto& tile : group->GetElementPanels())
        {
            tiles.push_back(RCPtr<LControl>(tile.Get()));
        }
        return tiles;
    }
    // The value of each tile's button: 1 where the tile is lit.
    static std::vector<double> Highlights(const std::vector<RCPtr<LControl>>& tiles);
    // A panel as the module it is, to compare with what ModuleOf gives.
    template <class Panel> static LParameterizedModule* AsModule(const RCPtr<Panel>& panel)
    {
        return panel.Get();
    }

    RCPtr<EngineTestSupport::NotificationRecorder> mStates{
        new EngineTestSupport::NotificationRecorder()};
    RCPtr<StandInMainControl> mMain;
    RCPtr<StandInDeviceView> mDevice;
};

} // namespace QZ
