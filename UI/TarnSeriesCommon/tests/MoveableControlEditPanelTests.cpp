#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/RededoVuvuvaCommon/NumberBoxTextSelector.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/MoveableControlEditPanel.h"
#include "UI/TarnSeriesCommon/MoveableControlViewPanel.h"
#include "UI/TarnSeriesCommon/tests/ByteLists.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <functional>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<int>;

const std::u16string kKnobEditor = u"mainControl/viewDevice/knobEditPanel/moveableTypePanel";
const std::vector<std::u16string> kEditorPlaces{
    kKnobEditor, u"mainControl/viewDevice/faderEditPanel/moveableTypePanel",
    u"mainControl/viewDevice/wheelEditPanel/moveableTypePanel",
    u"mainControl/viewDevice/volumePedalEditPanel/moveableTypePanel",
    u"mainControl/viewDevice/xyPadEditPanel/viewTabControl/pageHolder/midiPage"};
const std::u16string kView = u"mainControl/viewDevice/encoders/encoderBank1/encoder1/viewPanel";

class MoveableEditor : public ShippedSkinFixture
{
protected:
    MoveableEditor()
    {
        Register<LMoveableControlEditPanel>(
            u"RededoVuvuva.MainControl.EditPanel.MoveableTypePanel");
        Register<LNumberBoxTextSelector>(u"RededoVuvuva.Control.CCSelector");
        Register<LMoveableControlViewPanel>(u"RededoVuvuva.MainControl.MoveableType.ViewPanel");
        Register<LMIDIChannelViewPanel>(u"RededoVuvuva.MainControl.MIDIChannelView");
    }
    void TearDown() override { mReports->UnsubscribeAll(); }

    // Owners know the editor by its face only.
    IAssignmentEditor& Open(const std::u16string& path)
    {
        mEditor = Build(path);
        mTabs = At<LTabControl>(mEditor, u"tabControl");
        mReports->Subscribe(RCPtr<LNotificationDistributor>(mEditor), NID_PARAMETERS_CHANGED, 0);
        auto* editor = dynamic_cast<IAssignmentEditor*>(mEditor.Get());
        EXPECT_TRUE(editor && mTabs);
        return *editor;
    }
    template <class T> RCPtr<T> On(const char16_t* page, const std::u16string& path) const
    {
        return At<T>(mTabs->GetPage(WideString(page)), path);
    }
    // The item text a list shows, "-" for none.
    std::string Shown(const char16_t* page, const std::u16string& list) const
    {
        const RCPtr<LComboBox> box = On<LComboBox>(page, list + u"/comboBox");
        WideString text;
        return box->GetSelectedIndex() < 0
                   ? "-"
                   : Narrow(box->GetItemText(text, box->GetSelectedIndex()));
    }
    int Number(const char16_t* page, const std::u16string& path) const
    {
        const RCPtr<LNumericUpDown> upDown = On<LNumericUpDown>(page, path + u"/numericUpDown");
        return static_cast<int>(upDown->PositionToValue(upDown->GetValue()));
    }
    void SetNumber(const char16_t* page, const std::u16string& path, double number) const
    {
        const RCPtr<LNumericUpDown> upDown = On<LNumericUpDown>(page, path + u"/numericUpDown");
        upDown->SetValue(upDown->ValueToPosition(number));
    }

    RCPtr<LControl> mEditor;
    RCPtr<LTabControl> mTabs;
    RCPtr<CountingClient> mReports{new CountingClient()};
};

// Every kind of value, in every place the skin holds the editor, shows on its page without a
// report and reads back; what no list item stands for stays unselected and reads back as filled.
TEST_F(MoveableEditor, EveryValueShowsSilentlyAndReadsBack)
{
    struct Case
    {
        Bytes value;
        const char* page;
        std::string lists; // the page's channel, then its type list
        Bytes read;
    };
    const std::vector<Case> cases{
        {{0, 0, 7, 0, 0, 127}, "ccAbsolutePage", "Global", {0, 0, 7, 0, 0, 127}},
        {{5, 0, 10, 1, 2, 99}, "ccRelativePage", "Channel 5|Up (Type 2)", {5, 0, 10, 1, 2, 0}},
        {{1, 1, 6, 0, 12, 3}, "nrpnRpnPage", "Channel 1|NRPN Coarse", {1, 1, 6, 0, 12, 3}},
        {{16, 1, 4, 0, 127, 127}, "nrpnRpnPage", "Channel 16|RPN Coarse", {16, 1, 4, 0, 127, 127}},
        {{0, 1, 16, 0, 0, 127}, "otherPage", "Global|Pitch Bend", {0, 1, 16, 0, 0, 127}},
        {{17, 1, 8, 0, 5, 100}, "otherPage", "Zone 1|Master Volume (Sysex)", {17, 1, 8, 0, 5, 100}},
        {{20, 1, 3, 0, 1, 2}, "otherPage", "Zone 4|Channel Pressure", {20, 1, 3, 0, 1, 2}},
        {{3, 0, -5, 0, -1, -56}, "ccAbsolutePage", "Channel 3", {3, 0, 0, 0, 0, 0}},
        {{21, 1, 17, 0, 4, 5}, "otherPage", "-|-", {21, 1, 17, 0, 4, 5}},
        {{-1, 0, 7, 1, 9, 0}, "ccRelativePage", "-|-", {-1, 0, 7, 1, 9, 0}},
        {{2, 1, -3, 0, 1, 1}, "otherPage", "Channel 2|-", {2, 1, -3, 0, 1, 1}},
    };
    for (const std::u16string& place : kEditorPlaces)
    {
        SCOPED_TRACE(Narrow(WideString(place.c_str())));
        IAssignmentEditor& editor = Open(place);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(::testing::PrintToString(c.value));
            ASSERT_EQ(editor.SetParamValues(BytesOf(c.value)), S_OK);
            const WideString page = mTabs->GetSelectedName();
            EXPECT_EQ(Narrow(page), c.page);
            std::string lists = Shown(page.GetString(), u"midiChannel");
            for (const char16_t* type : {u"relativeType", u"NrpnRpnSelector", u"otherType"})
            {
                if (On<LControl>(page.GetString(), type))
                {
                    lists += "|" + Shown(page.GetString(), type);
                }
            }
            EXPECT_EQ(lists, c.lists);
            EXPECT_EQ(IntsOf(editor.GetParamValues()), c.read);
            // The channel shows on every page; a controller number on both CC pages.
            EXPECT_EQ(Shown(u"otherPage", u"midiChannel"),
                      Shown(u"ccAbsolutePage", u"midiChannel"));
            if (c.value[1] == 0)
            {
                EXPECT_EQ(Number(u"ccRelativePage", u"cc/ccSelector"), c.read[2]);
            }
        }
        EXPECT_EQ(mReports->count, 0);
        for (const auto& [page, path] : {std::pair{u"ccRelativePage", u"cc/ccSelector"},
                                         std::pair{u"otherPage", u"minMaxSelectors/max"}})
        {
            EXPECT_EQ(On<LNumericUpDown>(page, std::u16string(path) + u"/numericUpDown")
                          ->GetTextBox()
                          ->GetMaxLength(),
                      3);
        }
        EXPECT_EQ(editor.SetParamValues(BytesOf({0, 0, 7, 0, 0})), E_INVALIDARG);
        EXPECT_EQ(editor.SetParamValues(BytesOf({0, 0, 7, 0, 0, 1, 2})), E_INVALIDARG);
        EXPECT_EQ(IntsOf(editor.GetParamValues()), cases.back().read);
        mReports->UnsubscribeAll();
    }
}

// Each user change reports once, a tab selection included; a page the user opens selects the
// first item of its empty lists, and a page with a list still empty reports nothing.
TEST_F(MoveableEditor, UserChangesReportOncePerChange)
{
    IAssignmentEditor& editor = Open(kKnobEditor);
    mTabs->SelectTab(WideString(u"otherPage"));
    SetNumber(u"ccAbsolutePage", u"minMaxSelectors/min", 3);
    EXPECT_EQ(mReports->count, 0); // nothing before the first value

    editor.SetParamValues(BytesOf({4, 0, 74, 0, 10, 100}));
    const RCPtr<LControl> parent = mEditor->GetParent();
    std::uint32_t flags = 0;
    EXPECT_EQ(parent->GetClientFlags(RCPtr<LNotificationReceiver>(mEditor), NID_SIBLING_KEY, flags),
              S_OK); // filling keeps the panel's own subscriptions
    EXPECT_EQ(On<LControl>(u"ccAbsolutePage", u"cc/ccSelector/label")->GetText(),
              WideString(u"Cutoff Frequency"));

    struct Step
    {
        const char* action;
        std::function<void()> act;
        Bytes read;
    };
    const std::vector<Step> steps{
        {"maximum",
         [&] { SetNumber(u"ccAbsolutePage", u"minMaxSelectors/max", 90); },
         {4, 0, 74, 0, 10, 90}},
        {"RPN tab", [&] { mTabs->SelectTab(WideString(u"nrpnRpnPage")); }, {4, 1, 4, 0, 0, 0}},
        {"MSB",
         [&] { SetNumber(u"nrpnRpnPage", u"msbLSBSelectors/msb", 200); },
         {4, 1, 4, 0, 0, 127}},
        {"relative tab",
         [&] { mTabs->SelectTab(WideString(u"ccRelativePage")); },
         {4, 0, 74, 1, 0, 0}},
        {"same tab again",
         [&] { mTabs->SelectTab(WideString(u"ccRelativePage")); },
         {4, 0, 74, 1, 0, 0}},
        {"relative type",
         [&] { On<LComboBox>(u"ccRelativePage", u"relativeType/comboBox")->SetSelectedIndex(3); },
         {4, 0, 74, 1, 3, 0}},
        {"other tab", [&] { mTabs->SelectTab(WideString(u"otherPage")); }, {4, 1, 0, 0, 0, 0}},
        {"other type",
         [&] { On<LComboBox>(u"otherPage", u"otherType/comboBox")->SetSelectedIndex(12); },
         {4, 1, 16, 0, 0, 0}},
        {"channel",
         [&] { On<LComboBox>(u"otherPage", u"midiChannel/comboBox")->SetSelectedIndex(19); },
         {19, 1, 16, 0, 0, 0}},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.action);
        const std::int32_t before = mReports->count;
        step.act();
        EXPECT_EQ(mReports->count, before + 1);
        EXPECT_EQ(IntsOf(editor.GetParamValues()), step.read);
    }

    // A channel no item stands for: silent until the user picks one.
    editor.SetParamValues(BytesOf({30, 0, 1, 0, 0, 127}));
    const std::int32_t before = mReports->count;
    SetNumber(u"ccAbsolutePage", u"minMaxSelectors/min", 5);
    EXPECT_EQ(mReports->count, before);
    EXPECT_EQ(IntsOf(editor.GetParamValues()), (Bytes{30, 0, 1, 0, 5, 127}));
    On<LComboBox>(u"ccAbsolutePage", u"midiChannel/comboBox")->SetSelectedIndex(2);
    EXPECT_EQ(mReports->count, before + 1);
    EXPECT_EQ(IntsOf(editor.GetParamValues()), (Bytes{2, 0, 1, 0, 5, 127}));
}

// A skin that lacks a child the editor needs fails its creation with a text naming the child.
TEST_F(MoveableEditor, MissingChildFailsInitialize)
{
    struct Case
    {
        std::u16string parent;
        std::u16string removed;
        std::string text;
    };
    const std::vector<Case> cases{
        {u"", u"tabControl",
         "Runtime Error : Null Pointer : Can not find TabControl Control: tabControl : "
         "LMoveableControlEditPanel::Initialize : "},
        {u"/tabControl/pageHolder/otherPage", u"otherType",
         "Runtime Error : Null Pointer : Can not find ComboBox Control: otherType : "
         "LMoveableControlEditPanel::Initialize : "},
        {u"/tabControl/pageHolder/nrpnRpnPage/msbLSBSelectors", u"lsb",
         "Runtime Error : Null Pointer : Can not find NumericUpDown Control: lsb : "},
        {u"/tabControl/pageHolder", u"ccRelativePage",
         "Runtime Error : Null Pointer : Can not find Page Control: ccRelativePage : "},
        {u"/tabControl/pageHolder/ccAbsolutePage/cc/ccSelector", u"numericUpDown",
         "Runtime Error : Null Pointer : Cannot find child: numericUpDown : "
         "LNumberBoxTextSelector::Initialize"},
    };
    for (const Case& c : cases)
    {
        const std::string text = BuildWithout(kKnobEditor, kKnobEditor + c.parent, c.removed);
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
    }
}

// The summary of every kind of value and the channel badge, as the drawn control shows them.
TEST_F(MoveableEditor, ViewShowsKindAndChannel)
{
    const auto view = RCPtr<LMoveableControlViewPanel>::DynamicCastFrom(Build(kView));
    ASSERT_TRUE(view);
    const auto shown = [&view]()
    { return Text(view, u"infoLabel") + " " + Text(view, u"midiChannel/label"); };
    const std::vector<std::pair<Bytes, std::string>> cases{
        {{0, 0, 74, 0, 0, 127}, "CC:\n74 CH:G"},
        {{3, 1, 4, 0, 5, 1}, "RPN:\n133 CH:3"},
        {{16, 1, 7, 0, 127, 127}, "NRPN:\n16383 CH:16"},
        {{1, 1, 5, 0, -1, -127}, "RPN:\n255 CH:1"},
        {{18, 1, 16, 0, 0, 127}, "PITCH\nBEND CH:Z2"},
        {{20, 1, 3, 0, 0, 0}, "CH. AFT. CH:Z4"},
        {{0, 1, 0, 0, 0, 0}, "OTHER CH:G"},
        {{0, 1, -2, 0, 0, 0}, "OTHER CH:G"},
        {{21, 1, 12, 0, 0, 0}, "SYSEX CH:?"},
        {{-3, 1, 30, 0, 0, 0}, "SYSEX CH:?"},
        {{0, 1, 3, 0, 0}, "SYSEX CH:?"},
        {{0, 1, 3, 0, 0, 0, 0}, "SYSEX CH:?"},
    };
    for (const auto& [value, text] : cases)
    {
        view->SetParamValues(BytesOf(value));
        EXPECT_EQ(shown(), text) << ::testing::PrintToString(value);
    }

    const std::string text = BuildWithout(kView, kView + u"/midiChannel", u"label");
    EXPECT_EQ(text.rfind("Runtime Error : Null Pointer : Can not find Label Control: label : "
                         "LMIDIChannelViewPanel::Initialize : ",
                         0),
              0u)
        << text;
}

} // namespace
} // namespace QZ
