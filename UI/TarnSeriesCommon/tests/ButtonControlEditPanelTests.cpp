#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/tests/ByteLists.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace QZ
{
namespace
{

const std::u16string kEditorPath =
    u"mainControl/viewDevice/buttonEditPanel/viewTabControl/pageHolder/midiPage";

class ButtonTypeEditor : public ShippedSkinFixture
{
protected:
    void SetUp() override
    {
        Register<LButtonControlEditPanel>(u"RededoVuvuva.MainControl.EditPanel.ButtonTypePanel");
        mEditor = RCPtr<LButtonControlEditPanel>::DynamicCastFrom(Build(kEditorPath));
        ASSERT_TRUE(mEditor);
        mTabs = At<LTabControl>(RCPtr<LControl>(mEditor.Get()), u"tabControl");
        mReports->Subscribe(RCPtr<LNotificationDistributor>(mEditor.Get()), NID_PARAMETERS_CHANGED,
                            0);
    }
    void TearDown() override { mReports->UnsubscribeAll(); }

    void Show(const std::vector<int>& bytes)
    {
        ButtonAssignmentBlock block(static_cast<std::int32_t>(bytes.size()));
        std::int32_t i = 0;
        for (const int b : bytes)
        {
            block.GetAt(i++) = static_cast<signed char>(b);
        }
        mEditor->SetValues(block);
    }
    template <class T> RCPtr<T> On(const char16_t* page, const std::u16string& path)
    {
        return At<T>(mTabs->GetPage(WideString(page)), path);
    }
    void SetNumber(const char16_t* page, const std::u16string& path, double number)
    {
        const RCPtr<LNumericUpDown> upDown = On<LNumericUpDown>(page, path + u"/numericUpDown");
        ASSERT_TRUE(upDown);
        upDown->SetValue(upDown->ValueToPosition(number));
    }
    std::string Caption(const std::u16string& path)
    {
        const RCPtr<LControl> label = On<LControl>(u"ccCyclePage", path + u"/controlNameLabel");
        return label ? Narrow(label->GetText()) : "<missing>";
    }

    RCPtr<LButtonControlEditPanel> mEditor;
    RCPtr<LTabControl> mTabs;
    RCPtr<CountingClient> mReports{new CountingClient()};
};

// Every kind of block shows on its own page without a report and reads back unchanged.
TEST_F(ButtonTypeEditor, EveryPageShowsSilentlyAndReadsBack)
{
    struct Case
    {
        std::vector<int> block;
        const char* page;
    };
    const std::vector<Case> cases{
        {{0, 0, 7, 0, 3, 0, 0, 0, 0, 120}, "ccAbsolutePage"},
        {{2, 1, 18, 9, 10, 1, 0, 1, 0, 40}, "ccCyclePage"},
        {{2, 1, 18, 9, 10, 0, 20, 0, 25, 30}, "ccCyclePage"},
        {{3, 1, 25, 11, 5, 1, 0, 1, 0, 99}, "ccIncDecPage"},
        {{16, 1, 17, 42, 1, 0, 0, 0, 0, 2}, "programPage"},
        {{17, 1, 29, 0, 4, 0, 6, 1, 0, 9}, "programCyclePage"},
        {{20, 1, 27, 0, 4, 1, 0, 1, 0, 9}, "programIncDecPage"},
        {{0, 1, 20, 61, 1, 0, 0, 0, 0, 126}, "notePage"},
        {{0, 1, 19, 60, 0, 0, 0, 0, 0, 127}, "notePage"},
        {{0, 1, 21, 0, 13, 0, 0, 0, 0, 0}, "mmcPage"},
        {{1, 1, 6, 64, 2, 0, 0, 0, 0, 1}, "nrpnRpnPage"},
        {{1, 1, 22, 0, 50, 0, 0, 0, 0, 0}, "otherPage"},
    };
    for (const Case& c : cases)
    {
        const std::vector<int>& expected = c.block;
        SCOPED_TRACE(::testing::PrintToString(expected));
        Show(c.block);
        EXPECT_EQ(Narrow(mTabs->GetSelectedName()), c.page);
        EXPECT_EQ(IntsOf(mEditor->GetValues()), expected);
    }
    EXPECT_EQ(mReports->count, 0);
}

// Each user edit reports once; the cycle type shows and captions the values it uses.
TEST_F(ButtonTypeEditor, ThreeValueCycleEditedByTheUser)
{
    Show({5, 1, 18, 9, 1, 1, 0, 1, 0, 2});
    EXPECT_EQ(Caption(u"ccValue1"), "FIRST");
    EXPECT_EQ(Caption(u"ccValue2"), "LAST");
    EXPECT_FALSE(On<LControl>(u"ccCyclePage", u"ccValue3")->IsShowing(false));

    On<LComboBox>(u"ccCyclePage", u"cycleType/comboBox")->SetSelectedIndex(1);
    EXPECT_EQ(mReports->count, 1);
    EXPECT_EQ(Caption(u"ccValue2"), "VALUE 2");
    EXPECT_EQ(Caption(u"ccValue3"), "LAST");
    EXPECT_TRUE(On<LControl>(u"ccCyclePage", u"ccValue3")->IsShowing(false));
    EXPECT_FALSE(On<LControl>(u"ccCyclePage", u"ccValue4")->IsShowing(false));

    SetNumber(u"ccCyclePage", u"ccValue1", 10);
    SetNumber(u"ccCyclePage", u"ccValue2", 20);
    SetNumber(u"ccCyclePage", u"ccValue3", 30);
    SetNumber(u"ccCyclePage", u"ccValue4", 40); // hidden: not part of a 3-value cycle
    EXPECT_EQ(mReports->count, 5);
    EXPECT_EQ(IntsOf(mEditor->GetValues()), (std::vector<int>{5, 1, 18, 9, 10, 0, 20, 1, 0, 30}));
}

// A shown controller number stays on every CC page, and changing the tab reports the new kind.
TEST_F(ButtonTypeEditor, ControllerNumberFollowsToTheOtherCCPages)
{
    Show({4, 0, 33, 0, 1, 0, 0, 0, 0, 2});
    EXPECT_EQ(mTabs->SelectTab(WideString(u"ccIncDecPage")), S_OK);
    EXPECT_EQ(mReports->count, 1);
    const std::vector<int> read = IntsOf(mEditor->GetValues());
    EXPECT_EQ(read[1], 1);
    EXPECT_EQ(read[3], 33);
}

// Bytes the lists cannot show are kept through an edit of another field; the MMC list carries
// an "Other" entry only while such a command is shown.
TEST_F(ButtonTypeEditor, UnshowableBytesSurviveAnEdit)
{
    const RCPtr<LComboBox> mmc = On<LComboBox>(u"mmcPage", u"mmc/comboBox");
    Show({0, 1, 21, 0, 12, 0, 0, 0, 0, 0});
    ASSERT_EQ(mmc->GetItemCount(), 13);
    WideString text;
    EXPECT_EQ(Narrow(mmc->GetItemText(text, mmc->GetSelectedIndex())), "Other");
    On<LComboBox>(u"mmcPage", u"midiChannel/comboBox")->SetSelectedIndex(3);
    EXPECT_EQ(IntsOf(mEditor->GetValues()), (std::vector<int>{3, 1, 21, 0, 12, 0, 0, 0, 0, 0}));
    Show({0, 1, 21, 0, 3, 0, 0, 0, 0, 0});
    EXPECT_EQ(mmc->GetItemCount(), 12);
    EXPECT_EQ(mmc->GetSelectedIndex(), 2);

    Show({30, 1, 19, 60, 0, 0, 0, 0, 0, 127});
    EXPECT_EQ(On<LComboBox>(u"notePage", u"midiChannel/comboBox")->GetSelectedIndex(), -1);
    SetNumber(u"notePage", u"note/noteSelector", 61);
    EXPECT_EQ(IntsOf(mEditor->GetValues()), (std::vector<int>{30, 1, 19, 61, 0, 0, 0, 0, 0, 127}));

    Show({1, 1, 30, 0, 5, 0, 0, 0, 0, 0});
    EXPECT_EQ(On<LComboBox>(u"otherPage", u"type/comboBox")->GetSelectedIndex(), -1);
    SetNumber(u"otherPage", u"value", 6);
    EXPECT_EQ(IntsOf(mEditor->GetValues()), (std::vector<int>{1, 1, 30, 0, 6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mReports->count, 3);

    Show({1, 1, 30, 0, 5, 0, 0, 0, 0}); // not a block: nothing changes
    EXPECT_EQ(IntsOf(mEditor->GetValues()), (std::vector<int>{1, 1, 30, 0, 6, 0, 0, 0, 0, 0}));
}

class ButtonTypeEditorSkin : public ShippedSkinFixture
{
};

// A child the editor needs and the skin lacks fails its creation with a text naming it.
TEST_F(ButtonTypeEditorSkin, MissingChildFailsInitialize)
{
    Register<LButtonControlEditPanel>(u"RededoVuvuva.MainControl.EditPanel.ButtonTypePanel");
    const std::vector<std::pair<std::u16string, std::string>> cases{
        {u"", "Runtime Error : Null Pointer : Couldn't find child tabControl : "
              "LButtonControlEditPanel::Initialize"},
        {u"tabControl/pageHolder/notePage", "Couldn't find latiching"},
        {u"tabControl/pageHolder/ccCyclePage/ccValue3", "couldn't find child ccValue1 child Label"},
        {u"tabControl/pageHolder/otherPage", "can not find child value"}};
    const std::vector<std::u16string> removed{u"tabControl", u"latching", u"controlNameLabel",
                                              u"value"};
    for (std::size_t i = 0; i < cases.size(); ++i)
    {
        const std::u16string parentPath =
            cases[i].first.empty() ? kEditorPath : kEditorPath + u"/" + cases[i].first;
        const std::string text = BuildWithout(kEditorPath, parentPath, removed[i]);
        EXPECT_NE(text.find(cases[i].second), std::string::npos) << text;
    }
}

} // namespace
} // namespace QZ
