#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/ButtonEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonGroupPanel.h"
#include "UI/TarnSeriesCommon/ButtonPanel.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"
#include "UI/TarnSeriesCommon/tests/TileLooks.h"

#include <optional>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::int32_t kFirstButtonID = 25;

class ButtonPanels : public FamilyPanelFixture
{
protected:
    void SetUp() override
    {
        FamilyPanelFixture::SetUp();
        Register<LButtonGroupPanel>(u"RededoVuvuva.MainControl.ButtonView");
        Register<LButtonPanel>(u"RededoVuvuva.MainControl.ButtonView.Button");
        Register<LButtonEditPanel>(u"RededoVuvuva.MainPage.ButtonEditPanel");
        Register<LButtonControlEditPanel>(u"RededoVuvuva.MainControl.EditPanel.ButtonTypePanel");
        Register<LButtonControlViewPanel>(u"RededoVuvuva.MainControl.PushButtonType.ViewPanel");
        Register<LMIDIChannelViewPanel>(u"RededoVuvuva.MainControl.MIDIChannelView");
        // No device view hosts the edit panel here: the button group shows it itself.
        Register<LPanel>(u"RededoVuvuva.MainControl.DeviceView");
        mMain = RCPtr<StandInMainControl>::DynamicCastFrom(BuildRoot(u"mainControl"));
        ASSERT_TRUE(mMain);
        // As the root window does once it holds the control.
        mMain->SetRect(RectT<double>(0.0, 0.0, 1200.0, 750.0));
        mMain->UpdateConditions();
        const RCPtr<LControl> device = Descend(RCPtr<LControl>(mMain.Get()), u"viewDevice");
        mButtons = At<LButtonGroupPanel>(device, u"buttons");
        mEdit = At<LButtonEditPanel>(device, u"buttonEditPanel");
        ASSERT_TRUE(mButtons && mEdit);
        // The device view places its button container so.
        Place(RCPtr<LParameterizedModule>(mButtons.Get()), kFirstButtonID);
        // The engine reports every value once at start-up.
        DeliverPostedStates(131);
    }
    void TearDown() override
    {
        mButtons = nullptr;
        mEdit = nullptr;
        FamilyPanelFixture::TearDown();
    }

    void Click(std::size_t index, std::uint32_t modifiers = 0)
    {
        FamilyPanelFixture::Click(RCPtr<LControl>(Clickable(index).Get()), modifiers);
    }
    RCPtr<LButton> Clickable(std::size_t index) const
    {
        return At<LButton>(Tile(index), u"button");
    }
    RCPtr<LControl> Tile(std::size_t index) const
    {
        return RCPtr<LControl>(mButtons->GetButtonPanels()[index].Get());
    }
    // The value the main control sent as the i-th.
    const Variant& Sent(std::size_t i) const { return mMain->sent[i].mValue; }

    RCPtr<LButtonGroupPanel> mButtons;
    RCPtr<LButtonEditPanel> mEdit;
};

// The 36 drawn buttons take the identifiers 25 to 60 in bank order; clicking one binds the edit
// panel to it, which then answers for that identifier alone.
TEST_F(ButtonPanels, ClickBindsTheEditPanelToTheButton)
{
    const std::vector<RCPtr<LButtonPanel>>& panels = mButtons->GetButtonPanels();
    ASSERT_EQ(panels.size(), 36u);
    EXPECT_EQ(Narrow(panels[13]->GetName()), "button5");
    EXPECT_EQ(Narrow(panels[13]->LControl::GetParent()->GetName()), "buttonBank2");
    EXPECT_EQ(Text(Tile(13), u"buttonNumberLabel"), "B5");
    EXPECT_EQ(ModuleOf(kFirstButtonID + 13), AsModule(panels[13]));
    EXPECT_EQ(ModuleOf(kFirstButtonID - 1), nullptr);
    EXPECT_EQ(ModuleOf(kFirstButtonID + 36), nullptr);

    Click(13);
    Click(13);
    EXPECT_EQ(mButtons->GetSelectedIndex(), 13);
    EXPECT_EQ(mEdit->GetFirstParamID(), kFirstButtonID + 13);
    EXPECT_TRUE(mEdit->IsShowing(false));
    std::int32_t lit = 0;
    for (std::size_t i = 0; i < panels.size(); ++i)
    {
        lit += Clickable(i)->GetValue() == 1.0 ? 1 : 0;
    }
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(ModuleOf(kFirstButtonID + 13), AsModule(mEdit));
    EXPECT_EQ(ModuleOf(kFirstButtonID + 12), AsModule(panels[12]));
    EXPECT_EQ(Text(RCPtr<LControl>(mEdit.Get()), u"buttonName"), "BUTTON 5");
    EXPECT_EQ(Text(RCPtr<LControl>(mEdit.Get()), u"bankName"), "BANK 2");

    // Placing the container again places the drawn buttons, never the edit panel.
    mButtons->SetFirstParamID(mMain.Get(), kFirstButtonID, 0);
    EXPECT_EQ(panels[13]->LParameterizedModule::GetParent(), AsModule(mButtons));
    EXPECT_EQ(mEdit->GetFirstParamID(), kFirstButtonID + 13);

    mEdit->SetShown(false);
    EXPECT_EQ(Clickable(13)->GetValue(), 0.0);
}

// The engine's value of the clicked button fills the editor and the tile without a send in the
// same step as the binding, so a change in the same batch of input as the click edits that
// button's value, not the one shown before; one user change sends the whole value once.
TEST_F(ButtonPanels, EngineValueShowsSilentlyAndAnEditSendsOnce)
{
    Click(12);
    Click(13);
    const RCPtr<LControl> edit(mEdit.Get());
    EXPECT_EQ(Text(edit, u"viewTabControl/pageHolder/midiPage/tabControl/pageHolder/notePage/note/"
                         u"noteSelector/numericUpDown/textBox"),
              "13");
    const RCPtr<LComboBox> colour2 =
        At<LComboBox>(edit, u"viewTabControl/pageHolder/colorPage/color2/comboBox");
    ASSERT_TRUE(colour2);
    EXPECT_EQ(colour2->GetSelectedIndex(), 3);
    EXPECT_EQ(Text(Tile(13), u"viewPanel/infoLabel"), "NT:\n13");
    EXPECT_EQ(Text(Tile(13), u"viewPanel/midiChannel/label"), "CH:G");
    EXPECT_TRUE(mMain->sent.empty());

    colour2->SetSelectedIndex(1);
    ASSERT_EQ(mMain->sent.size(), 1u);
    const std::optional<ButtonValueBytes> sent = ReadButtonValue(Sent(0));
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(*sent, (ButtonValueBytes{0, 4, 1, 7, 5, 1, 0x13, 13, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0}));

    mMain->Deliver(
        ParamValue(ParamDescriptor(kFirstButtonID + 13),
                   MakeButtonValue({3, 4, 1, 7, 5, 0, 7, 0, 0, 0, 0, 0, 0, 100, 0, 0x57, 0})));
    EXPECT_EQ(Text(Tile(13), u"viewPanel/infoLabel"), "CC:\n7");
    EXPECT_EQ(Text(Tile(13), u"viewPanel/midiChannel/label"), "CH:3");
    EXPECT_EQ(Text(edit, u"viewTabControl/pageHolder/asciiPage/key/comboBox"), "Off");
    EXPECT_EQ(mMain->sent.size(), 1u);
}

// The colour indicator shows the value the tile was handed, and each Shift-click steps through
// its four colours; other clicks and refused values change nothing.
TEST_F(ButtonPanels, ColourIndicatorStepsThroughTheColoursHandedIn)
{
    const RCPtr<LControl> indicator = Descend(Tile(9), u"color");
    ASSERT_TRUE(indicator);
    EXPECT_EQ(Text(Tile(9), u"buttonNumberLabel"), "B1");
    EXPECT_EQ(Text(Tile(35), u"buttonNumberLabel"), "B9");
    EXPECT_EQ(ShownLook(*indicator), 4); // the engine's default value: magenta first
    const ParamDescriptor tile(kFirstButtonID + 9);
    const Variant handed =
        MakeButtonValue({0, 1, 5, 3, 7, 1, 0x13, 9, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0});
    // The engine holds what the tile is handed, as it does in the editor.
    ASSERT_GE(GetRootModuleEngine()->SetParamValue(tile, handed), 0);
    EXPECT_EQ(mButtons->GetButtonPanels()[9]->SetParamValueLocal(tile, handed, false), 0);
    constexpr std::uint32_t kShift = 0x8;
    constexpr std::uint32_t kCtrl = 0x1;
    for (const auto& [modifiers, look] : std::vector<std::pair<std::uint32_t, int>>{
             {0, 1}, {kShift, 1}, {kShift, 5}, {kCtrl, 5}, {kShift, 3}, {kShift, 7}, {kShift, 1}})
    {
        Click(9, modifiers);
        EXPECT_EQ(ShownLook(*indicator), look) << "after a click with modifiers " << modifiers;
    }
    const ButtonValueBytes noSuchColour{0, 9, 5, 3, 7, 1, 0x13, 9, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0};
    mMain->Deliver(ParamValue(tile, MakeButtonValue(noSuchColour)));
    EXPECT_EQ(ShownLook(*indicator), 1);
    Variant shortValue;
    shortValue.SetBytes(noSuchColour.data(), 16);
    EXPECT_EQ(mButtons->GetButtonPanels()[9]->SetParamValueLocal(tile, shortValue, false), E_FAIL);
    EXPECT_EQ(ShownLook(*indicator), 1);
    EXPECT_TRUE(mMain->sent.empty());
}

// The tile's summary reads the kind and number of every assignment; the channel line the channel.
TEST_F(ButtonPanels, TileSummaryOfEveryKind)
{
    const auto view = At<LButtonControlViewPanel>(Tile(0), u"viewPanel");
    ASSERT_TRUE(view);
    struct Case
    {
        std::vector<int> block;
        const char* info;
        const char* channel;
    };
    const std::vector<Case> cases{
        {{0, 0, 21, 0, 0, 0, 0, 0, 0, 0}, "CC:\n21", "CH:G"},
        {{5, 1, 17, 5, 0, 0, 0, 0, 0, 0}, "PG:\n5", "CH:5"},
        {{16, 1, 20, 60, 0, 0, 0, 0, 0, 0}, "NT:\n60", "CH:16"},
        {{18, 1, 18, 9, 0, 0, 0, 0, 0, 0}, "CC:\n9", "CH:Z2"},
        {{0, 1, 26, 11, 0, 1, 0, 1, 0, 0}, "CC:\n11", "CH:G"},
        {{0, 1, 28, 0, 0, 1, 0, 1, 0, 0}, "PG\nINC/DEC", "CH:G"},
        {{0, 1, 29, 0, 0, 0, 0, 0, 0, 0}, "PG\nCYCLE", "CH:G"},
        {{0, 1, 5, 0, 2, 0, 0, 0, 0, 1}, "RPN:\n130", "CH:G"},
        {{0, 1, 7, 0, 2, 0, 0, 0, 0, 1}, "NRPN:\n130", "CH:G"},
        {{0, 1, 3, 0, 0, 0, 0, 0, 0, 0}, "CH. AFT.", "CH:G"},
        {{0, 1, 16, 0, 0, 0, 0, 0, 0, 0}, "PITCH\nBEND", "CH:G"},
        {{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}, "OTHER", "CH:G"},
        {{0, 1, 22, 0, 0, 0, 0, 0, 0, 0}, "SYSEX", "CH:G"},
        {{0, 1, 30, 0, 0, 0, 0, 0, 0, 0}, "SYSEX", "CH:G"},
        {{0, 1, 21, 0, 3, 0, 0, 0, 0, 0}, "PLAY", "CH:G"},
        {{0, 1, 21, 0, 13, 0, 0, 0, 0, 0}, "RESET", "CH:G"},
        {{0, 1, 21, 0, 12, 0, 0, 0, 0, 0}, "MMC", "CH:G"},
        {{7, 1, 21, 0, 12, 0, 0, 0, 0}, "MMC", "CH:G"}, // not a block: nothing changes
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.info);
        view->ShowValues(BytesOf(c.block));
        EXPECT_EQ(Text(RCPtr<LControl>(view.Get()), u"infoLabel"), c.info);
        EXPECT_EQ(Text(RCPtr<LControl>(view.Get()), u"midiChannel/label"), c.channel);
    }
}

} // namespace
} // namespace QZ
