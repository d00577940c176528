#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/NoteModeEditPanel.h"
#include "UI/TarnSeriesCommon/PadGroupPanel.h"
#include "UI/TarnSeriesCommon/XYPadDirectionGroupPanel.h"
#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"
#include "UI/TarnSeriesCommon/tests/TileLooks.h"

#include <string>
#include <utility>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::int32_t kFirstPadID = 9;
constexpr std::int32_t kFirstAxisID = 129;
constexpr std::int32_t kParameterCount = 131;
constexpr std::uint32_t kShift = 0x8;

class PadFamilies : public FamilyPanelFixture
{
protected:
    void SetUp() override
    {
        FamilyPanelFixture::SetUp();
        Register<LPadGroupPanel>(u"RededoVuvuva.MainControl.PadView");
        Register<LPadPanel>(u"RededoVuvuva.MainControl.PadView.Pad");
        Register<LPadEditPanel>(u"RededoVuvuva.MainPage.PadEditPanel");
        Register<LButtonControlEditPanel>(u"RededoVuvuva.MainControl.EditPanel.ButtonTypePanel");
        Register<LButtonControlViewPanel>(u"RededoVuvuva.MainControl.PushButtonType.ViewPanel");
        Register<LMIDIChannelViewPanel>(u"RededoVuvuva.MainControl.MIDIChannelView");
        Register<LXYPadDirectionGroupPanel>(u"RededoVuvuva.MainControl.XYPadView");
        Register<LXYPadDirectionPanel>(u"RededoVuvuva.MainControl.XYPadView.Axis");
        Register<LXYPadEditPanel>(u"RededoVuvuva.MainPage.XYPadEditPanel");
        Register<LNoteModeEditPanel>(u"RededoVuvuva.MainControl.EditPanel.XYPadNotes");
        Register<LMidiNoteSelector>(u"RededoVuvuva.Control.NoteSelector");
        BuildMain();
        mPads = At<LPadGroupPanel>(RCPtr<LControl>(mDevice.Get()), u"pads");
        mAxes = At<LXYPadDirectionGroupPanel>(RCPtr<LControl>(mDevice.Get()), u"xyPad");
        ASSERT_TRUE(mPads && mAxes);
        Place(RCPtr<LParameterizedModule>(mPads.Get()), kFirstPadID);
        Place(RCPtr<LParameterizedModule>(mAxes.Get()), kFirstAxisID);
        DeliverPostedStates(kParameterCount);
    }

    RCPtr<LControl> PadTile(std::size_t index) const
    {
        return RCPtr<LControl>(mPads->GetElementPanels()[index].Get());
    }
    RCPtr<LControl> AxisTile(std::size_t index) const
    {
        return RCPtr<LControl>(mAxes->GetElementPanels()[index].Get());
    }
    RCPtr<LComboBox> ColourList(int n) const
    {
        return At<LComboBox>(RCPtr<LControl>(mPads->GetEditPanel().Get()),
                             u"viewTabControl/pageHolder/colorPage/color" +
                                 std::u16string(1, static_cast<char16_t>(u'0' + n)) + u"/comboBox");
    }

    RCPtr<LPadGroupPanel> mPads;
    RCPtr<LXYPadDirectionGroupPanel> mAxes;
};

// Pad 5: a click lights it alone, binds the pad edit panel to parameter 13 before the device view
// shows it, and the engine's value fills the editor silently; choosing "Red" in colour 3 sends the
// whole 14-byte value once with byte 3 = 10. A colour no list entry shows is kept as it was.
TEST_F(PadFamilies, PadClickBindsAndAColourChoiceSendsTheWholeValue)
{
    ASSERT_EQ(mPads->GetElementPanels().size(), 16u);
    EXPECT_EQ(Text(PadTile(0), u"padNumberLabel"), "P1");
    EXPECT_EQ(Text(PadTile(15), u"padNumberLabel"), "P16");
    const RCPtr<LControl> edit(mPads->GetEditPanel().Get());
    Click(At<LControl>(PadTile(4), u"button"));
    std::vector<double> lit(16, 0.0);
    lit[4] = 1.0;
    EXPECT_EQ(Highlights(TilesOf(mPads)), lit);
    ASSERT_FALSE(mDevice->shown.empty());
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kPadControlType, 4));
    EXPECT_TRUE(edit->IsShowing(false));
    EXPECT_EQ(mPads->GetEditPanel()->GetFirstParamID(), kFirstPadID + 4);
    EXPECT_EQ(Text(edit, u"padName"), "PAD 5");
    for (int n = 1; n <= 4; ++n)
    {
        EXPECT_EQ(Text(edit, u"viewTabControl/pageHolder/colorPage/color" +
                                 std::u16string(1, static_cast<char16_t>(u'0' + n)) +
                                 u"/colorNameLabel"),
                  "COLOR " + std::to_string(n));
    }

    std::vector<int> value = IntsOf(EngineValue(kFirstPadID + 4));
    ASSERT_EQ(value.size(), 14u);
    for (int n = 1; n <= 4; ++n)
    {
        EXPECT_EQ(ColourList(n)->GetSelectedIndex(), value[static_cast<std::size_t>(n)]);
    }
    EXPECT_TRUE(mMain->sent.empty());

    ColourList(3)->SetSelectedIndex(10);
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, kFirstPadID + 4);
    value[3] = 10;
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue), value);

    value[2] = 14;
    mMain->Deliver(ParamValue(ParamDescriptor(kFirstPadID + 4), ValueOf(value)));
    EXPECT_EQ(ColourList(2)->GetSelectedIndex(), -1);
    ColourList(1)->SetSelectedIndex(12);
    ASSERT_EQ(mMain->sent.size(), 2u);
    value[1] = 12;
    EXPECT_EQ(IntsOf(mMain->sent[1].mValue), value);

    mPads->GetEditPanel()->SetShown(false);
    EXPECT_EQ(Highlights(TilesOf(mPads)), std::vector<double>(16, 0.0));
}

// A pad tile shows the assignment and the colours of the value it is handed; Shift-clicks step
// its indicator through colours 1 to 4 (the first keeps colour 1). Values of another size are
// refused and change nothing.
TEST_F(PadFamilies, PadTileShowsItsColoursAndShiftClicksStepThroughThem)
{
    const RCPtr<LPadPanel> tile = mPads->GetElementPanels()[2];
    const RCPtr<LControl> indicator = Descend(PadTile(2), u"color");
    ASSERT_TRUE(indicator);
    const std::vector<int> value{5, 4, 3, 7, 5, 1, 19, 60, 0, 0, 0, 0, 0, 127};
    // The engine holds what the tile is handed, as it does in the editor.
    ASSERT_GE(
        GetRootModuleEngine()->SetParamValue(ParamDescriptor(kFirstPadID + 2), ValueOf(value)), 0);
    EXPECT_EQ(tile->SetParamValueLocal(ParamDescriptor(kFirstPadID + 2), ValueOf(value), true), 0);
    EXPECT_EQ(Text(PadTile(2), u"viewPanel/infoLabel"), "NT:\n60");
    EXPECT_EQ(Text(PadTile(2), u"viewPanel/midiChannel/label"), "CH:5");
    for (const auto& [modifiers, look] : std::vector<std::pair<std::uint32_t, int>>{
             {0, 4}, {kShift, 4}, {kShift, 3}, {kShift, 7}, {kShift, 5}, {kShift, 4}})
    {
        Click(At<LControl>(PadTile(2), u"button"), modifiers);
        EXPECT_EQ(ShownLook(*indicator), look) << "after a click with modifiers " << modifiers;
    }
    for (const std::size_t size : {13u, 15u})
    {
        const std::vector<int> other(size, 1);
        EXPECT_EQ(tile->SetParamValueLocal(ParamDescriptor(kFirstPadID + 2), ValueOf(other), true),
                  E_FAIL);
        EXPECT_EQ(mPads->GetEditPanel()->SetParamValueLocal(ParamDescriptor(kFirstPadID + 2),
                                                            ValueOf(other), true),
                  E_FAIL);
    }
    EXPECT_EQ(ShownLook(*indicator), 4);
    EXPECT_EQ(Text(PadTile(2), u"viewPanel/infoLabel"), "NT:\n60");
}

// The XY pad: a click on an axis binds and labels the edit panel; the engine's 15-byte value
// fills both pages silently and the tile shows its first 6 bytes; changing the note-mode type
// sends the whole value once, the MIDI page's bytes first.
TEST_F(PadFamilies, AxisNoteModeChangeSendsTheWholeAxisValue)
{
    ASSERT_EQ(mAxes->GetElementPanels().size(), 2u);
    const RCPtr<LXYPadEditPanel>& edit = mAxes->GetEditPanel();
    Click(At<LControl>(AxisTile(1), u"button"));
    EXPECT_EQ(Highlights(TilesOf(mAxes)), (std::vector<double>{0.0, 1.0}));
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kXYPadControlType, 1));
    EXPECT_EQ(edit->GetFirstParamID(), kFirstAxisID + 1);
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"axisName"), "Y-AXIS");
    Click(At<LControl>(AxisTile(0), u"button"));
    EXPECT_EQ(edit->GetFirstParamID(), kFirstAxisID);
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"axisName"), "X-AXIS");

    const RCPtr<LControl> pages =
        Descend(RCPtr<LControl>(edit.Get()), u"viewTabControl/pageHolder");
    const auto midi = At<FakeAssignmentEditor>(pages, u"midiPage");
    const auto noteMode = At<LNoteModeEditPanel>(pages, u"noteModePage");
    const auto view = At<FakeAssignmentView>(AxisTile(0), u"viewPanel");
    ASSERT_TRUE(midi && noteMode && view);
    const std::vector<int> value{2, 1, 16, 0, 0, 127, 4, 60, 67, 62, 64, 0, 0, 0, 0};
    mMain->Deliver(ParamValue(ParamDescriptor(kFirstAxisID), ValueOf(value)));
    EXPECT_EQ(IntsOf(midi->GetParamValues()), (std::vector<int>{2, 1, 16, 0, 0, 127}));
    EXPECT_EQ(IntsOf(noteMode->GetParamValues()),
              (std::vector<int>{4, 60, 67, 62, 64, 0, 0, 0, 0}));
    EXPECT_EQ(IntsOf(view->shown), (std::vector<int>{2, 1, 16, 0, 0, 127}));
    EXPECT_TRUE(mMain->sent.empty());

    At<LComboBox>(RCPtr<LControl>(noteMode.Get()), u"noteModeType/comboBox")->SetSelectedIndex(3);
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, kFirstAxisID);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue),
              (std::vector<int>{2, 1, 16, 0, 0, 127, 5, 60, 0, 62, 64, 67, 0, 0, 0}));

    // Y, a range shown after X's eight notes, gets more notes from its own value, not from X's.
    mMain->Deliver(ParamValue(ParamDescriptor(kFirstAxisID),
                              ValueOf({2, 1, 16, 0, 0, 127, 8, 60, 72, 62, 64, 65, 67, 69, 71})));
    Click(At<LControl>(AxisTile(1), u"button"));
    mMain->Deliver(ParamValue(ParamDescriptor(kFirstAxisID + 1),
                              ValueOf({2, 1, 17, 0, 0, 127, 2, 36, 48, 0, 0, 0, 0, 0, 0})));
    mMain->sent.clear();
    At<LComboBox>(RCPtr<LControl>(noteMode.Get()), u"noteModeType/comboBox")->SetSelectedIndex(3);
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue),
              (std::vector<int>{2, 1, 17, 0, 0, 127, 5, 36, 0, 48, 0, 0, 0, 0, 0}));

    for (const std::size_t size : {14u, 16u})
    {
        const Variant other = ValueOf(std::vector<int>(size, 1));
        EXPECT_EQ(edit->SetParamValueLocal(ParamDescriptor(kFirstAxisID), other, true), E_FAIL);
        EXPECT_EQ(mAxes->GetElementPanels()[1]->SetParamValueLocal(
                      ParamDescriptor(kFirstAxisID + 1), other, true),
                  E_FAIL);
    }
}

} // namespace
} // namespace QZ
