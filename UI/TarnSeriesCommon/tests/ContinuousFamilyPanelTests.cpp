#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/Controls/Button.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/EncoderEditPanel.h"
#include "UI/TarnSeriesCommon/EncoderGroupPanel.h"
#include "UI/TarnSeriesCommon/EncoderPanel.h"
#include "UI/TarnSeriesCommon/FaderEditPanel.h"
#include "UI/TarnSeriesCommon/FaderGroupPanel.h"
#include "UI/TarnSeriesCommon/FaderPanel.h"
#include "UI/TarnSeriesCommon/PedalGroupPanel.h"
#include "UI/TarnSeriesCommon/SustainPedalEditPanel.h"
#include "UI/TarnSeriesCommon/SustainPedalPanel.h"
#include "UI/TarnSeriesCommon/VolumePedalEditPanel.h"
#include "UI/TarnSeriesCommon/VolumePedalPanel.h"
#include "UI/TarnSeriesCommon/WheelEditPanel.h"
#include "UI/TarnSeriesCommon/WheelGroupPanel.h"
#include "UI/TarnSeriesCommon/WheelPanel.h"
#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::int32_t kFirstWheelID = 5;
constexpr std::int32_t kFirstPedalID = 7;
constexpr std::int32_t kFirstFaderID = 61;
constexpr std::int32_t kFirstEncoderID = 97;
constexpr std::int32_t kParameterCount = 131;

// The push-button editor as the sustain pedal's edit panel sees it: keeps the block it is given
// and stands for a user's change with Edit.
class FakeButtonEditor : public LButtonControlEditPanel
{
public:
    using LButtonControlEditPanel::LButtonControlEditPanel;
    void SetValues(ButtonAssignmentBlock& block) override { held = block; }
    [[nodiscard]] ButtonAssignmentBlock GetValues() const override { return held; }
    void Edit(const std::vector<int>& bytes)
    {
        held = BytesOf(bytes);
        RCPtr<LNotification> changed;
        LNotification::Create(changed, NID_PARAMETERS_CHANGED);
        Distribute(changed);
    }

    ButtonAssignmentBlock held;
};

class FakeButtonView : public LButtonControlViewPanel
{
public:
    using LButtonControlViewPanel::LButtonControlViewPanel;
    void ShowValues(const ButtonAssignmentBlock& block) override { shown = block; }

    ButtonAssignmentBlock shown;
};

class ContinuousFamilies : public FamilyPanelFixture
{
protected:
    void SetUp() override
    {
        FamilyPanelFixture::SetUp();
        Register<LEncoderGroupPanel>(u"RededoVuvuva.MainControl.EncoderView");
        Register<LEncoderPanel>(u"RededoVuvuva.MainControl.EncoderView.Encoder");
        Register<LEncoderEditPanel>(u"RededoVuvuva.MainPage.KnobEditPanel");
        Register<LFaderGroupPanel>(u"RededoVuvuva.MainControl.FaderView");
        Register<LFaderPanel>(u"RededoVuvuva.MainControl.FaderView.Fader");
        Register<LFaderEditPanel>(u"RededoVuvuva.MainPage.FaderEditPanel");
        Register<LWheelGroupPanel>(u"RededoVuvuva.MainControl.WheelView");
        Register<LWheelPanel>(u"RededoVuvuva.MainControl.WheelView.Wheel");
        Register<LWheelEditPanel>(u"RededoVuvuva.TabControl.PageHolder.WheelsPage.Wheel");
        Register<LPedalGroupPanel>(u"RededoVuvuva.MainControl.Pedals");
        Register<LVolumePedalPanel>(u"RededoVuvuva.MainControl.Pedals.VolumePedal");
        Register<LSustainPedalPanel>(u"RededoVuvuva.MainControl.Pedals.SustainPedal");
        Register<LVolumePedalEditPanel>(u"RededoVuvuva.MainPage.VolumeEditPanel");
        Register<LSustainPedalEditPanel>(u"RededoVuvuva.MainPage.SustainEditPanel");
        Register<FakeButtonEditor>(u"RededoVuvuva.MainControl.EditPanel.ButtonTypePanel");
        Register<FakeButtonView>(u"RededoVuvuva.MainControl.PushButtonType.ViewPanel");
    }

    // Builds the drawing, places the groups and hands on the engine's start-up values.
    void Start()
    {
        BuildMain();
        const RCPtr<LControl> device(mDevice.Get());
        mEncoders = At<LEncoderGroupPanel>(device, u"encoders");
        mFaders = At<LFaderGroupPanel>(device, u"faders");
        mWheels = At<LWheelGroupPanel>(device, u"wheels");
        mPedals = At<LPedalGroupPanel>(device, u"pedals");
        ASSERT_TRUE(mEncoders && mFaders && mWheels && mPedals);
        Place(RCPtr<LParameterizedModule>(mWheels.Get()), kFirstWheelID);
        Place(RCPtr<LParameterizedModule>(mPedals.Get()), kFirstPedalID);
        Place(RCPtr<LParameterizedModule>(mFaders.Get()), kFirstFaderID);
        Place(RCPtr<LParameterizedModule>(mEncoders.Get()), kFirstEncoderID);
        DeliverPostedStates(kParameterCount);
    }

    // The message of the exception that building the drawing throws without the skin child at
    // the path (below "mainControl/viewDevice").
    std::string BuildErrorWithout(const std::u16string& path)
    {
        EXPECT_EQ(mFactory->LoadSkins(WideString(u"::APP_SKINS")), S_OK);
        const std::u16string full = u"mainControl/viewDevice/" + path;
        const std::size_t slash = full.rfind(u'/');
        const RCPtr<LControlDescriptor> parent = FindDescriptor(full.substr(0, slash));
        EXPECT_TRUE(parent);
        if (!parent)
        {
            return "";
        }
        auto& children = parent->subControls;
        const std::u16string name = full.substr(slash + 1);
        children.erase(std::remove_if(children.begin(), children.end(),
                                      [&](const RCPtr<LControlDescriptor>& child)
                                      { return name == child->name.GetString(); }),
                       children.end());
        try
        {
            static_cast<void>(BuildRoot(u"mainControl"));
        }
        catch (const std::exception& error)
        {
            return error.what();
        }
        return "built";
    }

    RCPtr<LEncoderGroupPanel> mEncoders;
    RCPtr<LFaderGroupPanel> mFaders;
    RCPtr<LWheelGroupPanel> mWheels;
    RCPtr<LPedalGroupPanel> mPedals;
};

// Encoder 11 (bank 2, encoder 3): a click lights its tile alone, shows and labels the encoder edit
// panel and binds it to 107; the engine's value then fills the editor and the tile, an edit
// sends one whole 6-byte value, and hiding the edit panel clears the highlight.
TEST_F(ContinuousFamilies, EncoderClickBindsShowsAndSends)
{
    Start();
    const std::vector<RCPtr<LControl>> tiles = TilesOf(mEncoders);
    ASSERT_EQ(tiles.size(), 32u);
    for (std::size_t i = 0; i < tiles.size(); ++i)
    {
        EXPECT_EQ(Text(tiles[i], u"encoderNameLabel"), "E" + std::to_string(i % 8 + 1)) << i;
    }
    const RCPtr<LEncoderEditPanel> edit = mEncoders->GetEditPanel();
    const auto editor = At<FakeAssignmentEditor>(RCPtr<LControl>(edit.Get()), u"moveableTypePanel");
    const auto tileView = At<FakeAssignmentView>(tiles[10], u"viewPanel");
    ASSERT_TRUE(edit && editor && tileView);
    EXPECT_EQ(IntsOf(tileView->shown), IntsOf(EngineValue(107)));
    EXPECT_EQ(ModuleOf(107), AsModule(mEncoders->GetElementPanels()[10]));

    // Bound to no encoder yet, the edit panel has no parameter to send for.
    editor->Edit({1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(mMain->sent.empty());

    Click(At<LControl>(tiles[10], u"button"));
    ASSERT_FALSE(mDevice->shown.empty());
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kEncoderControlType, 10));
    std::vector<double> lit(32, 0.0);
    lit[10] = 1.0;
    EXPECT_EQ(Highlights(tiles), lit);
    EXPECT_TRUE(edit->IsShowing(false));
    EXPECT_EQ(edit->GetFirstParamID(), 107);
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"knobName"), "ENCODER 3");
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"bankName"), "BANK 2");
    EXPECT_EQ(ModuleOf(107), AsModule(edit));
    EXPECT_EQ(ModuleOf(106), AsModule(mEncoders->GetElementPanels()[9]));

    EXPECT_EQ(IntsOf(editor->GetParamValues()), IntsOf(EngineValue(107)));
    tileView->shown = Array<signed char>();
    mMain->Deliver(ParamValue(ParamDescriptor(107), ValueOf({4, 0, 7, 0, 0, 127})));
    EXPECT_EQ(IntsOf(editor->GetParamValues()), (std::vector<int>{4, 0, 7, 0, 0, 127}));
    EXPECT_EQ(IntsOf(tileView->shown), (std::vector<int>{4, 0, 7, 0, 0, 127}));
    EXPECT_TRUE(mMain->sent.empty());

    editor->Edit({3, 0, 74, 1, 10, 100});
    editor->Edit({3, 0, 74, 1, 10});
    editor->Edit({3, 0, 74, 1, 10, 100, 0});
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, 107);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue), (std::vector<int>{3, 0, 74, 1, 10, 100}));

    // Values of another size or identifier are refused by every panel of the family.
    for (const std::vector<int>& bytes : {std::vector<int>{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6, 7}})
    {
        const Variant value = ValueOf(bytes);
        EXPECT_EQ(edit->SetParamValueLocal(ParamDescriptor(107), value, true), E_FAIL);
        EXPECT_EQ(mEncoders->GetElementPanels()[10]->SetParamValueLocal(ParamDescriptor(107), value,
                                                                        true),
                  E_FAIL);
    }
    EXPECT_EQ(edit->SetParamValueLocal(ParamDescriptor(106), ValueOf({0, 0, 0, 0, 0, 0}), true),
              E_FAIL);

    // While the group is placed again its walk reaches the tiles, never the edit panel; once it
    // is over the edit panel answers for its element again.
    mEncoders->SetFirstParamID(mMain.Get(), kFirstEncoderID + 100, 0);
    EXPECT_EQ(mEncoders->GetElementPanels()[10]->GetFirstParamID(), 207);
    EXPECT_EQ(edit->GetFirstParamID(), 107);
    EXPECT_EQ(ModuleOf(207), AsModule(mEncoders->GetElementPanels()[10]));
    mEncoders->SetFirstParamID(mMain.Get(), kFirstEncoderID, 0);
    EXPECT_EQ(ModuleOf(107), AsModule(edit));

    // Labels are formatted from their string table at every binding.
    EXPECT_EQ(Text(tiles[10], u"encoderNameLabel"), "E3");
    Click(At<LControl>(tiles[0], u"button"));
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"knobName"), "ENCODER 1");
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"bankName"), "BANK 1");

    EXPECT_EQ(Highlights(tiles)[0], 1.0);
    edit->SetShown(false);
    EXPECT_EQ(Highlights(tiles), std::vector<double>(32, 0.0));
}

// A change in the same batch of input as the click that selects another element (an up arrow
// stepping the shown value) edits the new element's value: binding fills the editor at once.
TEST_F(ContinuousFamilies, EditRightAfterSelectingStepsTheSelectedElementsValue)
{
    Start();
    const struct
    {
        std::vector<RCPtr<LControl>> tiles;
        RCPtr<LControl> edit;
        std::int32_t firstID;
        std::size_t minimumByte; // of the stored value; the editor's is byte 4
    } families[] = {
        {TilesOf(mEncoders), RCPtr<LControl>(mEncoders->GetEditPanel().Get()), kFirstEncoderID, 4},
        {TilesOf(mFaders), RCPtr<LControl>(mFaders->GetEditPanel().Get()), kFirstFaderID, 4},
        {TilesOf(mWheels), RCPtr<LControl>(mWheels->GetEditPanel().Get()), kFirstWheelID, 3},
    };
    for (const auto& family : families)
    {
        SCOPED_TRACE(family.firstID);
        const auto editor = At<FakeAssignmentEditor>(family.edit, u"moveableTypePanel");
        ASSERT_TRUE(editor);
        ASSERT_NE(IntsOf(EngineValue(family.firstID)), IntsOf(EngineValue(family.firstID + 1)));
        std::vector<int> expected = IntsOf(EngineValue(family.firstID + 1));
        ++expected[family.minimumByte];
        mMain->sent.clear();
        Click(At<LControl>(family.tiles[0], u"button"));
        Click(At<LControl>(family.tiles[1], u"button"));
        std::vector<int> stepped = IntsOf(editor->GetParamValues());
        ASSERT_EQ(stepped.size(), 6u);
        ++stepped[4];
        editor->Edit(stepped);
        ASSERT_EQ(mMain->sent.size(), 1u);
        EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, family.firstID + 1);
        EXPECT_EQ(IntsOf(mMain->sent[0].mValue), expected);
    }
}

// A skin without a child a family's panels need fails to build, naming the child.
TEST_F(ContinuousFamilies, MissingChildrenFailTheBuild)
{
    struct Case
    {
        std::u16string path;
        const char* message;
    };
    const std::vector<Case> cases{
        {u"knobEditPanel", "Runtime Error : Null Pointer : knobEditPanel knob found : "
                           "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank3", "Null Pointer : can not find child encoderBank3 : "
                                   "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank2/encoder5", "Failed Result : QZRESULT = 80004005 : "
                                            "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank4/encoder8/button", "Failed Result : QZRESULT = 80070057 : "
                                                   "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank1/encoder2/viewPanel", "Null Pointer : cannot find child "
                                                      "viewPanel : LEncoderPanel::Initialize"},
        {u"encoders/encoderBank1/encoder2/encoderNameLabel",
         "Null Pointer : Cannot find child: encoderNameLabel : LEncoderPanel::Initialize"},
        {u"knobEditPanel/moveableTypePanel", "Null Pointer : Cannot find child: "
                                             "moveableTypePanel : LEncoderEditPanel::Initialize"},
        {u"knobEditPanel/bankName",
         "Null Pointer : Couldn't find child bankName : LEncoderEditPanel::Initialize"},
        {u"faderEditPanel", "Null Pointer : faderEditPanel knob found : "
                            "LFaderGroupPanel::Initialize"},
        {u"faders/faderBank4", "Null Pointer : can not find child faderBank4 : "
                               "LFaderGroupPanel::Initialize"},
        {u"faders/faderBank4/fader9", "Failed Result : QZRESULT = 80004005 : "
                                      "LFaderGroupPanel::Initialize"},
        {u"faderEditPanel/faderName", "Null Pointer : Cannot find child: faderName : "
                                      "LFaderEditPanel::Initialize"},
        {u"wheelEditPanel", "Failed Result : QZRESULT = 80070057 : LWheelGroupPanel::Initialize"},
        {u"wheels/modWheel", "Failed Result : QZRESULT = 80004005 : LWheelGroupPanel::Initialize"},
        {u"wheelEditPanel/wheelName", "Null Pointer : couldn't find child wheelName : "
                                      "LWheelEditPanel::Initialize"},
        {u"volumePedalEditPanel", "Null Pointer : volumeEditPanel not found : "
                                  "LPedalGroupPanel::Initialize"},
        {u"sustainEditPage", "Null Pointer : sustainEditPanel not found : "
                             "LPedalGroupPanel::Initialize"},
        {u"pedals/sustainPedal", "Null Pointer : sustainPedal not found : "
                                 "LPedalGroupPanel::Initialize"},
        {u"pedals/volumePedal/button", "Failed Result : QZRESULT = 80070057 : "
                                       "LPedalGroupPanel::Initialize"},
        {u"pedals/sustainPedal/viewPanel", "Null Pointer : child: viewPanel not found : "
                                           "LSustainPedalPanel::Initialize"},
        {u"sustainEditPage/buttonTypePanel", "Null Pointer : Cannot find child: buttonTypePanel : "
                                             "LSustainPedalEditPanel::Initialize"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message);
        const std::string error = BuildErrorWithout(c.path);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// Fader 20 (bank 3, fader 2) as encoder 11: the edit panel is shown, labelled and bound to 80,
// the engine's value fills the editor and the tile, only whole 6-byte edits are sent, and the
// highlight follows the edit panel's visibility from the start, not only after a first click.
TEST_F(ContinuousFamilies, FaderClickBindsShowsAndSends)
{
    Start();
    const std::vector<RCPtr<LControl>> tiles = TilesOf(mFaders);
    ASSERT_EQ(tiles.size(), 36u);
    for (std::size_t i = 0; i < tiles.size(); ++i)
    {
        EXPECT_EQ(Text(tiles[i], u"faderNumberLabel"), "F" + std::to_string(i % 9 + 1)) << i;
    }
    const RCPtr<LFaderEditPanel> edit = mFaders->GetEditPanel();
    const RCPtr<LControl> editControl(edit.Get());
    At<LButton>(tiles[3], u"button")->SetValue(1.0);
    edit->SetShown(true);
    edit->SetShown(false);
    EXPECT_EQ(Highlights(tiles), std::vector<double>(36, 0.0));

    Click(At<LControl>(tiles[19], u"button"));
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kFaderControlType, 19));
    std::vector<double> lit(36, 0.0);
    lit[19] = 1.0;
    EXPECT_EQ(Highlights(tiles), lit);
    EXPECT_EQ(edit->GetFirstParamID(), 80);
    EXPECT_EQ(Text(editControl, u"faderName"), "FADER 2");
    EXPECT_EQ(Text(editControl, u"bankName"), "BANK 3");
    EXPECT_EQ(ModuleOf(80), AsModule(edit));

    const auto editor = At<FakeAssignmentEditor>(editControl, u"moveableTypePanel");
    EXPECT_EQ(IntsOf(editor->GetParamValues()), IntsOf(EngineValue(80)));
    EXPECT_EQ(IntsOf(At<FakeAssignmentView>(tiles[19], u"viewPanel")->shown),
              IntsOf(EngineValue(80)));
    editor->Edit({2, 0, 7, 0, 0, 127, 0});
    editor->Edit({2, 0, 7, 0, 0});
    editor->Edit({2, 0, 7, 0, 0, 127});
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, 80);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue), (std::vector<int>{2, 0, 7, 0, 0, 127}));

    Click(At<LControl>(RCPtr<LControl>(mEncoders->GetElementPanels()[0].Get()), u"button"));
    EXPECT_FALSE(edit->IsShowing(false));
    EXPECT_EQ(Highlights(tiles), std::vector<double>(36, 0.0));
}

// The wheels keep 5 bytes: the editor and the drawing see them as the 6-byte assignment with an
// absolute flag, and an edit drops that flag again; the edit panel answers only for the wheel it
// is bound to.
TEST_F(ContinuousFamilies, WheelValuesMapFiveToSixBytes)
{
    Start();
    const std::vector<RCPtr<LControl>> wheels = TilesOf(mWheels);
    ASSERT_EQ(wheels.size(), 2u);
    const RCPtr<LWheelEditPanel> edit = mWheels->GetEditPanel();
    const RCPtr<LControl> editControl(edit.Get());
    const auto editor = At<FakeAssignmentEditor>(editControl, u"moveableTypePanel");
    const auto pitchView = At<FakeAssignmentView>(wheels[0], u"viewPanel");
    EXPECT_EQ(Text(editControl, u"wheelName"), "");

    Click(At<LControl>(wheels[1], u"button"));
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kWheelControlType, 1));
    EXPECT_EQ(Highlights(wheels), (std::vector<double>{0.0, 1.0}));
    EXPECT_EQ(Text(editControl, u"wheelName"), "M. WHEEL");
    EXPECT_EQ(edit->GetFirstParamID(), 6);
    EXPECT_EQ(edit->GetIndex(), 1u);
    EXPECT_EQ(mWheels->GetWheel(1).Get(), static_cast<IWheel*>(edit.Get()));
    EXPECT_EQ(mWheels->GetWheel(0).Get(),
              static_cast<IWheel*>(mWheels->GetElementPanels()[0].Get()));

    const Variant five = ValueOf({1, 2, 3, 4, 5});
    const std::int32_t fills = editor->fills;
    mMain->Deliver(ParamValue(ParamDescriptor(5), five));
    EXPECT_EQ(IntsOf(pitchView->shown), (std::vector<int>{1, 2, 3, 0, 4, 5}));
    EXPECT_EQ(editor->fills, fills);

    Click(At<LControl>(wheels[0], u"button"));
    EXPECT_EQ(Text(editControl, u"wheelName"), "P. WHEEL");
    pitchView->shown = Array<signed char>();
    mMain->Deliver(ParamValue(ParamDescriptor(5), five));
    EXPECT_EQ(IntsOf(editor->GetParamValues()), (std::vector<int>{1, 2, 3, 0, 4, 5}));
    EXPECT_EQ(IntsOf(pitchView->shown), (std::vector<int>{1, 2, 3, 0, 4, 5}));
    const Variant six = ValueOf({1, 2, 3, 0, 4, 5});
    EXPECT_EQ(edit->SetParamValueLocal(ParamDescriptor(5), six, true), E_FAIL);
    EXPECT_EQ(mWheels->GetElementPanels()[0]->SetParamValueLocal(ParamDescriptor(5), six, true),
              E_FAIL);

    editor->Edit({1, 2, 3, 9, 4, 5});
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, 5);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue), (std::vector<int>{1, 2, 3, 4, 5}));

    edit->SetFirstParamID(mWheels.Get(), 5, 2);
    EXPECT_EQ(Text(editControl, u"wheelName"), "P. WHEEL");
}

// Each pedal has its own edit panel; which module answers for a pedal follows whether its edit
// panel is on screen, and so does its highlight. The sustain pedal keeps 6 of the button editor's
// 10 bytes.
TEST_F(ContinuousFamilies, PedalsRouteByEditPanelVisibility)
{
    Start();
    const RCPtr<LControl> volume(mPedals->GetVolumePedalPanel().Get());
    const RCPtr<LControl> sustain(mPedals->GetSustainPedalPanel().Get());
    const std::vector<RCPtr<LControl>> pedals{volume, sustain};
    const auto volumeEdit =
        RCPtr<LVolumePedalEditPanel>::DynamicCastFrom(DeviceChild(u"volumePedalEditPanel"));
    const auto sustainEdit =
        RCPtr<LSustainPedalEditPanel>::DynamicCastFrom(DeviceChild(u"sustainEditPage"));
    ASSERT_TRUE(volumeEdit && sustainEdit);
    const auto buttonEditor =
        At<FakeButtonEditor>(RCPtr<LControl>(sustainEdit.Get()), u"buttonTypePanel");
    const auto buttonView = At<FakeButtonView>(sustain, u"viewPanel");
    ASSERT_TRUE(buttonEditor && buttonView);
    EXPECT_EQ(ModuleOf(7), AsModule(mPedals->GetVolumePedalPanel()));

    Click(At<LControl>(volume, u"button"));
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kPedalControlType, 0));
    EXPECT_EQ(Highlights(pedals), (std::vector<double>{1.0, 0.0}));
    EXPECT_EQ(volumeEdit->GetFirstParamID(), 7);
    EXPECT_EQ(ModuleOf(7), AsModule(volumeEdit));
    EXPECT_EQ(ModuleOf(8), AsModule(mPedals->GetSustainPedalPanel()));
    const Variant volumeValue = ValueOf({1, 0, 11, 0, 0, 127});
    mMain->Deliver(ParamValue(ParamDescriptor(7), volumeValue));
    EXPECT_EQ(
        IntsOf(At<FakeAssignmentEditor>(RCPtr<LControl>(volumeEdit.Get()), u"moveableTypePanel")
                   ->GetParamValues()),
        (std::vector<int>{1, 0, 11, 0, 0, 127}));
    EXPECT_EQ(IntsOf(At<FakeAssignmentView>(volume, u"viewPanel")->shown),
              (std::vector<int>{1, 0, 11, 0, 0, 127}));
    EXPECT_EQ(volumeEdit->SetParamValueLocal(ParamDescriptor(7), ValueOf({1, 0, 11, 0, 0}), true),
              E_FAIL);

    Click(At<LControl>(sustain, u"button"));
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kPedalControlType, 1));
    EXPECT_EQ(Highlights(pedals), (std::vector<double>{0.0, 1.0}));
    EXPECT_EQ(ModuleOf(7), AsModule(mPedals->GetVolumePedalPanel()));
    EXPECT_EQ(ModuleOf(8), AsModule(sustainEdit));
    const Variant sustainValue = ValueOf({1, 2, 3, 4, 5, 6});
    mMain->Deliver(ParamValue(ParamDescriptor(8), sustainValue));
    EXPECT_EQ(IntsOf(buttonEditor->held), (std::vector<int>{1, 2, 3, 4, 5, 1, 0, 1, 0, 6}));
    EXPECT_EQ(IntsOf(buttonView->shown), (std::vector<int>{1, 2, 3, 4, 5, 0, 0, 0, 0, 6}));
    buttonEditor->Edit({1, 2, 3, 4, 5, 7, 7, 7, 7, 6});
    buttonEditor->Edit({1, 2, 3, 4, 5, 7, 7, 7, 7});
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, 8);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    // An edit panel of no width is not on screen: its pedal goes dark and its values go to the
    // drawing alone.
    LLayoutDescriptor::SizeSpec noWidth = sustainEdit->GetLayout()->size[0];
    noWidth.absolute = 0.0;
    ASSERT_EQ(sustainEdit->SetAxisLayout(0, sustainEdit->GetLayout()->position[0], noWidth),
              S_FALSE);
    sustainEdit->UpdateConditions();
    EXPECT_EQ(Highlights(pedals), (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(ModuleOf(8), AsModule(mPedals->GetSustainPedalPanel()));
    buttonEditor->held = Array<signed char>();
    mMain->Deliver(ParamValue(ParamDescriptor(8), ValueOf({0, 1, 19, 60, 0, 0})));
    EXPECT_TRUE(IntsOf(buttonEditor->held).empty());
    EXPECT_EQ(IntsOf(buttonView->shown), (std::vector<int>{0, 1, 19, 60, 0, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace QZ
