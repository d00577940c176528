// The list box, the checked list box and the combo box, built from a test skin and string tables
// through the factory and driven through a root window whose operating-system window is a fake.
#include "QZFramework/ControlBase/IndexedDataParam.h"
#include "QZFramework/ControlBase/IndexedDataWithValueParam.h"
#include "QZFramework/ControlBase/ItemConditionsParam.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/CheckedListBox.h"
#include "QZFramework/Controls/CheckedListBoxItem.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Controls/ListBoxItem.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/Scrollbar.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <string_view>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

// Records what it hears as "<identifier without NID_> <item index>" (index -1 without one).
class Listener : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        std::int32_t index = -1;
        if (const auto item =
                RCPtr<LItemConditionsParam>::DynamicCastFrom(notification->GetPayload()))
        {
            index = item->GetItemIndex();
        }
        else if (const auto indexed =
                     RCPtr<LIndexedDataParam>::DynamicCastFrom(notification->GetPayload()))
        {
            index = indexed->GetIndex();
        }
        heard.push_back(Narrow(WideString(notification->GetID())).substr(4) + " " +
                        std::to_string(index));
    }
    std::vector<std::string> Take() { return std::exchange(heard, {}); }

    std::vector<std::string> heard;
};

// "list": 100 x 45 with rows of 10 (so five row controls, four in full) and a vertical bar;
// "checked": rows with a check box; "combo": a field with its list dropping below it, "low" the
// same near the window's bottom edge, its list hidden in the skin; "other": a button that takes
// the focus.
constexpr std::string_view kSkin = R"(<Korvane_Skin_Definitions><Skin Name="Lists">
  <Colorizer Name="Ink" Color1="FF101010"/>
  <Look Name="Plain"><DockedPart Dock="Fill" Colorizer="Ink"/></Look>
  <LookList Name="One"><LookRef Look="Plain"/></LookList>
  <LookList Name="Four"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/></LookList>
  <LookList Name="Seven"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
  </LookList>
  <SubControl Class="Framework.Panel" Name="main" XSizeAbs="300" YSizeAbs="200">
    <SubControl Class="Framework.ListBox" Name="list" XSizeAbs="100" YSizeAbs="45" LookList="One"
                TabStop="1">
      <SubControl Class="Framework.ListBoxItem" Name="item" XSizeAbs="90" YSizeAbs="10"
                  LookList="Four">
        <CreateParamList><CreateParam ID="DEFER_CREATE"> True </CreateParam></CreateParamList>
      </SubControl>
      <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="90" XSizeAbs="10"
                  YSizeAbs="45" XIsDocked="true" YIsDocked="true" LookList="One" TabStop="-1">
        <SubControl Class="Framework.Button" Name="thumb" XSizeAbs="10" YSizeAbs="10"
                    LookList="Four" TabStop="-1"/>
      </SubControl>
    </SubControl>
    <SubControl Class="Framework.CheckedListBox" Name="checked" YPositionAbs="100" XSizeAbs="100"
                YSizeAbs="40" LookList="One" TabStop="4">
      <SubControl Class="Framework.CheckedListBoxItem" Name="item" XSizeAbs="100" YSizeAbs="10"
                  LookList="Four">
        <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
        <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="10" YSizeAbs="10"
                    LookList="Four" TabStop="1"/>
      </SubControl>
    </SubControl>
    <SubControl Class="Framework.ComboBox" Name="combo" XPositionAbs="150" XSizeAbs="100"
                YSizeAbs="20" LookList="Seven" TabStop="2">
      <SubControl Class="Framework.ListBox" Name="listBox" YPositionAbs="20" XSizeAbs="100"
                  YSizeAbs="50" LookList="One" TabStop="1">
        <SubControl Class="Framework.ListBoxItem" Name="item" XSizeAbs="100" YSizeAbs="10"
                    LookList="Four">
          <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
        </SubControl>
      </SubControl>
    </SubControl>
    <SubControl Class="Framework.ComboBox" Name="low" XPositionAbs="150" YPositionAbs="175"
                XSizeAbs="100" YSizeAbs="20" LookList="Seven" TabStop="5">
      <SubControl Class="Framework.ListBox" Name="listBox" YPositionAbs="20" XSizeAbs="100"
                  YSizeAbs="50" LookList="One" TabStop="1" IsVisible="False">
        <SubControl Class="Framework.ListBoxItem" Name="item" XSizeAbs="100" YSizeAbs="10"
                    LookList="Four">
          <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
        </SubControl>
      </SubControl>
    </SubControl>
    <SubControl Class="Framework.Button" Name="other" XPositionAbs="150" YPositionAbs="150"
                XSizeAbs="40" YSizeAbs="20" LookList="Four" TabStop="3"/>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

// Item keys in every shape: numbers order them, whatever their width; keys that are not a
// number after "ITEM." are no items.
constexpr std::string_view kStrings = R"(<Korvane_StringTable_Definitions>
  <StringTable ID="Framework.Panel|list">
    <String ID="ITEM.10"><Text LCID="9">ten</Text></String>
    <String ID="ITEM.2"><Text LCID="9">two</Text></String>
    <String ID="ITEM.02"><Text LCID="9">zero-two</Text></String>
    <String ID="ITEM.9"><Text LCID="9">nine</Text></String>
    <String ID="ITEM."><Text LCID="9">none</Text></String>
    <String ID="ITEM.1x"><Text LCID="9">nothing</Text></String>
    <String ID="ITEM.1234567890"><Text LCID="9">too long</Text></String>
    <String ID="LABEL"><Text LCID="9">not an item</Text></String>
  </StringTable>
  <StringTable ID="Framework.ComboBox|listBox">
    <String ID="ITEM.00"><Text LCID="9">replaced</Text></String>
  </StringTable>
  <StringTable ID="Framework.Panel|combo">
    <String ID="ITEM.00"><Text LCID="9">Red</Text></String>
    <String ID="ITEM.01"><Text LCID="9">Green</Text></String>
    <String ID="ITEM.02"><Text LCID="9">Blue</Text></String>
    <String ID="ITEM.03"><Text LCID="9">Off</Text></String>
  </StringTable>
</Korvane_StringTable_Definitions>)";

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkEscape = 0x1B;
constexpr std::uint32_t kVkPageDown = 0x22;
constexpr std::uint32_t kVkEnd = 0x23;
constexpr std::uint32_t kVkHome = 0x24;
constexpr std::uint32_t kVkUp = 0x26;
constexpr std::uint32_t kVkDown = 0x28;
constexpr std::uint32_t kVkSpace = 0x20;
constexpr std::uint32_t kVkF4 = 0x73;

class ListControls : public RootWindowFixture
{
protected:
    void SetUp() override
    {
        Register<LPanel>(u"Framework.Panel");
        Register<LButton>(u"Framework.Button");
        Register<LScrollbar>(u"Framework.ScrollBar");
        Register<LListBox>(u"Framework.ListBox");
        Register<LListBoxItem>(u"Framework.ListBoxItem");
        Register<LCheckedListBox>(u"Framework.CheckedListBox");
        Register<LCheckedListBoxItem>(u"Framework.CheckedListBoxItem");
        Register<LComboBox>(u"Framework.ComboBox");
        LoadSkin(kSkin);
        LoadStrings(kStrings);
        ASSERT_NO_FATAL_FAILURE(OpenRoot(u"main"));
    }

    void TearDown() override
    {
        RootWindowFixture::TearDown();
        GetApplicationNotificationCenter()->ProcessQueue(false);
    }

    void Listen(LControl* control, std::initializer_list<const char16_t*> identifiers)
    {
        for (const char16_t* identifier : identifiers)
        {
            mListener->Subscribe(RCPtr<LNotificationDistributor>(control), identifier, 0);
        }
    }

    void Click(long x, long y)
    {
        mWindow->OnPointerMove({x, y}, 0, 0);
        mWindow->OnPointerButton(true, 1, {x, y}, 1, 0, false);
        mWindow->OnPointerButton(false, 1, {x, y}, 0, 0, false);
    }
    void KeyDown(std::uint32_t vk) { mWindow->DeliverKey({KeyCode::kKeyDown | (vk << 16), 0, 0}); }

    static std::vector<std::string> Texts(const LListBox& list)
    {
        std::vector<std::string> texts;
        WideString text;
        for (std::int32_t i = 0; i < list.GetItemCount(); ++i)
        {
            texts.push_back(Narrow(list.GetItemText(text, i)));
        }
        return texts;
    }
    static std::set<std::int32_t> Selected(const LListBox& list)
    {
        std::set<std::int32_t> selected;
        for (std::int32_t i = -1; i <= list.GetItemCount(); ++i)
        {
            if (list.IsItemSelected(i))
            {
                selected.insert(i);
            }
        }
        return selected;
    }
    // The texts the rows show, "-" for a hidden row.
    static std::vector<std::string> RowTexts(const LListBox& list)
    {
        std::vector<std::string> texts;
        for (const RCPtr<LListBoxItem>& row : list.GetRowControls())
        {
            texts.push_back(row->IsShowing(false) ? Narrow(row->GetText()) : "-");
        }
        return texts;
    }
    static void SetTexts(LListBox& list, std::int32_t count)
    {
        list.SetItemCount(0);
        std::vector<WideString> texts;
        for (std::int32_t i = 0; i < count; ++i)
        {
            texts.push_back(WideString::FromFormat(u"i%d", i));
        }
        list.AddTextItems(texts);
    }

    RCPtr<Listener> mListener{new Listener()};
};

TEST_F(ListControls, ItemsCountsAndSelectionRangesAtTheirEdges)
{
    LListBox* list = Find<LListBox>(u"list");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"zero-two", "two", "nine", "ten"}));
    WideString text(u"stale");
    EXPECT_TRUE(list->GetItemText(text, 4).IsEmpty());
    EXPECT_TRUE(list->GetItemText(text, -1).IsEmpty());

    // Counts: cleared items at the end, nothing below zero; insertion up to the count.
    EXPECT_EQ(list->SetItemCount(-1), E_INVALIDARG);
    EXPECT_EQ(list->SetItemCount(6), S_OK);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"zero-two", "two", "nine", "ten", "", ""}));
    EXPECT_FALSE(list->GetItemAt(5).tag);
    EXPECT_EQ(list->InsertItemAt(7), E_INVALIDARG);
    EXPECT_EQ(list->InsertItemAt(-1), E_INVALIDARG);
    EXPECT_EQ(list->RemoveItemAt(6), E_INVALIDARG);
    EXPECT_EQ(list->InsertItemAt(6), S_OK);
    EXPECT_EQ(list->RemoveItemAt(0), S_OK);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"two", "nine", "ten", "", "", ""}));

    struct Case
    {
        std::int32_t first;
        std::int32_t last;
        bool exclusive;
        QZRESULT result;
        std::set<std::int32_t> selected;
        std::int32_t current;
    };
    const Case cases[] = {
        {0, -1, true, S_OK, {0}, 0},
        {4, 2, true, S_OK, {2, 3, 4}, 4},
        {5, 99, true, S_OK, {5}, 5},
        {0, -1, false, S_OK, {0, 5}, 0},
        // A first index outside the items changes nothing.
        {6, -1, true, E_INVALIDARG, {0, 5}, 0},
        {-1, 3, true, E_INVALIDARG, {0, 5}, 0},
        {3, 3, true, S_OK, {3}, 3},
    };
    for (const Case& step : cases)
    {
        EXPECT_EQ(list->SelectRange(step.first, step.last, step.exclusive), step.result)
            << step.first << ".." << step.last;
        EXPECT_EQ(Selected(*list), step.selected) << step.first << ".." << step.last;
        EXPECT_EQ(list->GetCurrentIndex(), step.current) << step.first << ".." << step.last;
    }
    // The current item follows its record through insertions, removals and swaps, and goes with
    // its removal.
    list->InsertItemAt(0);
    EXPECT_EQ(list->GetCurrentIndex(), 4);
    EXPECT_EQ(list->SwapItems(4, 1), S_OK);
    EXPECT_EQ(list->SwapItems(1, 7), E_INVALIDARG);
    EXPECT_EQ(list->GetCurrentIndex(), 1);
    EXPECT_EQ(Selected(*list), std::set<std::int32_t>{1});
    list->RemoveItemAt(0);
    EXPECT_EQ(list->GetCurrentIndex(), 0);
    list->RemoveItemAt(0);
    EXPECT_EQ(list->GetCurrentIndex(), -1);
    list->SelectRange(2);
    list->ClearSelection();
    EXPECT_EQ(list->GetCurrentIndex(), -1);
    EXPECT_TRUE(Selected(*list).empty());
    EXPECT_EQ(list->SetItemCount(0), S_OK);
    EXPECT_EQ(list->SelectRange(0), E_INVALIDARG);
    EXPECT_EQ(list->ChooseCurrentItem(), S_FALSE);
}

TEST_F(ListControls, RowsShowTheItemsFromTheFirstRowAndKeysMoveTheCurrentItem)
{
    LListBox* list = Find<LListBox>(u"list");
    Listen(list, {NID_ITEM_ACTIVATED});
    ASSERT_EQ(list->GetRowControls().size(), 5u);
    EXPECT_EQ(list->GetRowHeight(), 10);
    EXPECT_EQ(Narrow(list->GetRowControls()[4]->GetName()), "row4");
    EXPECT_TRUE(list->GetRowControls()[0]->IsNotFocusable());
    // Rows past the items are hidden.
    EXPECT_EQ(RowTexts(*list), (std::vector<std::string>{"zero-two", "two", "nine", "ten", "-"}));
    const LControl& bar = *list->GetVerticalBar();
    EXPECT_FALSE(bar.IsShowing(false));

    SetTexts(*list, 12);
    ASSERT_TRUE(bar.IsShowing(false));
    ASSERT_EQ(list->SetFocus(true), S_OK);
    using Step = std::tuple<std::uint32_t, std::int32_t, std::int32_t, double>;
    // Four rows fit in full: the list scrolls the least to show the current item whole, and the
    // bar follows by rows (eight rows to scroll).
    const Step steps[] = {
        {kVkDown, 0, 0, 0.0},         {kVkUp, 0, 0, 0.0},     {kVkEnd, 11, 8, 1.0},
        {kVkDown, 11, 8, 1.0},        {kVkHome, 0, 0, 0.0},   {kVkPageDown, 3, 0, 0.0},
        {kVkPageDown, 6, 3, 3 / 8.0}, {kVkUp, 5, 3, 3 / 8.0}, {kVkUp, 4, 3, 3 / 8.0},
        {kVkUp, 3, 3, 3 / 8.0},       {kVkUp, 2, 2, 2 / 8.0}};
    for (const auto& [vk, current, firstRow, barValue] : steps)
    {
        KeyDown(vk);
        EXPECT_EQ(list->GetCurrentIndex(), current) << vk;
        EXPECT_EQ(list->GetFirstRowShown(), firstRow) << vk;
        EXPECT_DOUBLE_EQ(bar.GetValue(), barValue) << vk;
        EXPECT_EQ(Selected(*list), std::set<std::int32_t>{current}) << vk;
    }
    EXPECT_EQ(RowTexts(*list), (std::vector<std::string>{"i2", "i3", "i4", "i5", "i6"}));
    EXPECT_TRUE(list->GetRowControls()[0]->IsSelected());
    // A separator row shows no text, also when the rows are refreshed.
    list->GetRowControls()[1]->SetSeparatorMode(true);
    list->RefreshRowsFrom(0);
    EXPECT_EQ(RowTexts(*list), (std::vector<std::string>{"i2", "", "i4", "i5", "i6"}));
    list->GetRowControls()[1]->SetSeparatorMode(false);
    EXPECT_EQ(list->GetItemRect(5), (RectT<double>(0.0, 30.0, 90.0, 10.0)));
    EXPECT_EQ(list->GetItemRect(1), RectT<double>());
    KeyDown(kVkReturn);
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"ITEM_ACTIVATED 2"});

    // The bar moves the rows by whole rows; fewer items leave the surplus rows hidden.
    list->GetVerticalBar()->SetValue(0.5);
    EXPECT_EQ(list->GetFirstRowShown(), 4);
    EXPECT_EQ(RowTexts(*list), (std::vector<std::string>{"i4", "i5", "i6", "i7", "i8"}));
    list->SetItemCount(2);
    EXPECT_EQ(list->GetFirstRowShown(), 0);
    EXPECT_EQ(RowTexts(*list), (std::vector<std::string>{"i0", "i1", "-", "-", "-"}));
    EXPECT_FALSE(bar.IsShowing(false));

    // The wheel moves by whole rows and reaches the last one, however its steps add up.
    SetTexts(*list, 11);
    for (std::int32_t step = 1; step <= 8; ++step)
    {
        mWindow->DispatchWheel(LMouseWheelParam::Create(20, 20, 0, 0));
        EXPECT_EQ(list->GetFirstRowShown(), std::min(step, 7)) << step;
    }

    // The list is made as wide as its client area must be.
    list->SetContentWidth(140.0);
    EXPECT_EQ(list->GetSize().x, 140.0);
}

TEST_F(ListControls, PointerChoosesHoverSelectsAndReportsItemConditions)
{
    LListBox* list = Find<LListBox>(u"list");
    Listen(list, {NID_ITEM_ACTIVATED, NID_ITEM_HOVER_CONDITION_CHANGE,
                  NID_ITEM_LEFT_DRAG_CONDITION_CHANGE});
    // A click chooses the item under it; the list takes the focus its rows refuse.
    Click(20, 15);
    EXPECT_EQ(list->GetCurrentIndex(), 1);
    EXPECT_TRUE(list->HasFocus());
    EXPECT_EQ(mListener->Take(),
              (std::vector<std::string>{"ITEM_HOVER_CONDITION_CHANGE 1",
                                        "ITEM_LEFT_DRAG_CONDITION_CHANGE 1",
                                        "ITEM_LEFT_DRAG_CONDITION_CHANGE 1", "ITEM_ACTIVATED 1"}));
    // With hover selection the pointer alone makes the item current, without choosing it.
    list->SetHoverSelect(true);
    mWindow->OnPointerMove({20, 25}, 0, 0);
    EXPECT_EQ(list->GetCurrentIndex(), 2);
    EXPECT_EQ(mListener->Take(), (std::vector<std::string>{"ITEM_HOVER_CONDITION_CHANGE 1",
                                                           "ITEM_HOVER_CONDITION_CHANGE 2"}));
    list->SetHoverSelect(false);
    // A drag from one row over another makes the item under the pointer current.
    mWindow->OnPointerMove({20, 5}, 0, 0);
    mWindow->OnPointerButton(true, 1, {20, 5}, 1, 0, false);
    mWindow->OnPointerMove({20, 35}, 1, 0);
    EXPECT_EQ(list->GetCurrentIndex(), 3);
    mWindow->OnPointerButton(false, 1, {20, 35}, 0, 0, false);
    const std::vector<std::string> heard = mListener->Take();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "ITEM_LEFT_DRAG_CONDITION_CHANGE 0"), 3)
        << ::testing::PrintToString(heard);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "ITEM_ACTIVATED 0"), 0);
}

TEST_F(ListControls, CheckedListKeepsChecksIconsAndTheirCountInStepWithTheItems)
{
    auto* list = Find<LCheckedListBox>(u"checked");
    ASSERT_NE(list, nullptr);
    Listen(list, {NID_ITEM_CHECK_CHANGE, NID_ITEM_ACTIVATED});
    SetTexts(*list, 4);
    EXPECT_EQ(list->SetItemChecked(1, true), S_OK);
    EXPECT_EQ(list->SetItemChecked(3, true), S_OK);
    EXPECT_EQ(list->SetItemChecked(3, true), S_FALSE);
    EXPECT_EQ(list->SetItemChecked(4, true), E_INVALIDARG);
    EXPECT_EQ(list->GetCheckedCount(), 2);
    EXPECT_EQ(mListener->Take(),
              (std::vector<std::string>{"ITEM_CHECK_CHANGE 1", "ITEM_CHECK_CHANGE 3"}));
    // Checks move with their items.
    list->RemoveItemAt(1);
    list->InsertItemAt(0);
    list->SwapItems(0, 3);
    const std::vector<bool> expected = {true, false, false, false};
    for (std::int32_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(list->IsItemChecked(i), expected[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(list->GetCheckedCount(), 1);
    EXPECT_FALSE(list->IsItemChecked(4));
    // The rows' check boxes mirror the checks; a click on one toggles its item only.
    const auto& row0 = static_cast<const LCheckedListBoxItem&>(*list->GetRowControls()[0]);
    EXPECT_EQ(row0.GetCheckBox()->GetValue(), 1.0);
    Click(5, 115);
    EXPECT_TRUE(list->IsItemChecked(1));
    EXPECT_EQ(list->GetCheckedCount(), 2);
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"ITEM_CHECK_CHANGE 1"});
    // Check boxes that ignore the mouse let the click choose the row.
    list->SetCheckBoxesIgnoreMouse(true);
    Click(5, 115);
    EXPECT_TRUE(list->IsItemChecked(1));
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"ITEM_ACTIVATED 1"});

    // Icons: none until one is set, then one slot per item, kept in step.
    EXPECT_TRUE(list->GetItemIcons().empty());
    EXPECT_EQ(list->SetItemIcon(4, RCPtr<LBitmap>()), E_INVALIDARG);
    EXPECT_EQ(list->SetItemIcon(2, RCPtr<LBitmap>()), S_OK);
    list->InsertItemAt(4);
    EXPECT_EQ(list->GetItemIcons().size(), 5u);
    EXPECT_FALSE(list->GetItemIcon(5));
    // A shorter list counts again.
    EXPECT_EQ(list->SetItemCount(1), S_OK);
    EXPECT_EQ(list->GetCheckedCount(), 1);
    EXPECT_EQ(list->GetItemIcons().size(), 1u);
}

TEST_F(ListControls, ComboBoxFilledFromItsItemsSendsSelectionChangeOnlyOnChange)
{
    auto* combo = Find<LComboBox>(u"combo");
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->GetListBox());
    Listen(combo, {NID_SELECTION_CHANGE});
    EXPECT_EQ(Texts(*combo->GetListBox()),
              (std::vector<std::string>{"Red", "Green", "Blue", "Off"}));
    EXPECT_EQ(combo->GetSelectedIndex(), -1);
    std::uint8_t stored = 0x2A;
    EXPECT_FALSE(combo->GetSelectedByte(stored));
    EXPECT_EQ(stored, 0x2A);

    using Step = std::tuple<std::int32_t, std::int32_t, std::size_t, const char*>;
    const Step steps[] = {
        {2, 2, 1, "Blue"},
        {2, 2, 0, "Blue"},
        {-1, -1, 0, ""},
        {0, 0, 1, "Red"},
        // An index past the items leaves nothing selected, silently.
        {4, -1, 0, ""},
        {3, 3, 1, "Off"},
        {0xFF, -1, 0, ""},
        {3, 3, 1, "Off"},
    };
    for (const auto& [index, selected, notifications, text] : steps)
    {
        EXPECT_EQ(combo->SetSelectedIndex(index), selected) << index;
        EXPECT_EQ(combo->GetSelectedIndex(), selected) << index;
        EXPECT_EQ(mListener->Take().size(), notifications) << index;
        EXPECT_EQ(Narrow(combo->GetText()), text) << index;
    }
    EXPECT_TRUE(combo->GetSelectedByte(stored));
    EXPECT_EQ(stored, 3);

    // A cut below the selection clears it without a word; an insertion keeps the item selected.
    EXPECT_EQ(combo->SetItemCount(3), S_OK);
    EXPECT_EQ(combo->GetSelectedIndex(), -1);
    EXPECT_FALSE(combo->GetSelectedByte(stored));
    EXPECT_EQ(stored, 3);
    combo->SetSelectedIndex(1);
    EXPECT_EQ(combo->AddItem(WideString(u"Other")), S_OK);
    EXPECT_EQ(combo->InsertItem(0, RCPtr<LRefCountedObject>()), S_OK);
    EXPECT_EQ(combo->GetSelectedIndex(), 2);
    WideString text;
    EXPECT_EQ(Narrow(combo->GetItemText(text, 4)), "Other");
    EXPECT_EQ(Narrow(combo->GetItemText(text, 0)), "");
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"SELECTION_CHANGE 1"});
}

TEST_F(ListControls, DropDownOpensOnPressAndClosesOnEscapeFocusLossAndPressAgain)
{
    auto* combo = Find<LComboBox>(u"combo");
    const RCPtr<LListBox> list = combo->GetListBox();
    Listen(combo, {NID_SELECTION_CHANGE, NID_DROPDOWN_OPENING});
    EXPECT_FALSE(combo->IsDroppedDown());

    // Open: the list fits its four rows, takes the focus and marks the selection.
    combo->SetSelectedIndex(1);
    mListener->Take();
    Click(160, 10);
    ASSERT_TRUE(combo->IsDroppedDown());
    EXPECT_EQ(list->GetSize().y, 40.0);
    EXPECT_TRUE(list->HasFocus());
    EXPECT_EQ(list->GetCurrentIndex(), 1);
    EXPECT_EQ(combo->GetLookWeight(LComboBox::kLookOpenHover), 1.0f);
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"DROPDOWN_OPENING -1"});
    // A press on the open field closes it, and that press does not open it again.
    Click(160, 10);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_TRUE(combo->HasFocus());
    // Escape closes it, also when the list used no key before.
    Click(160, 10);
    KeyDown(kVkDown);
    KeyDown(kVkEscape);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->GetSelectedIndex(), 1);
    // The focus going elsewhere closes it.
    Click(160, 10);
    ASSERT_TRUE(combo->IsDroppedDown());
    Click(160, 160);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(mListener->Take(),
              (std::vector<std::string>{"DROPDOWN_OPENING -1", "DROPDOWN_OPENING -1"}));

    // Choosing by pointer or by keys selects the item and closes the list.
    Click(160, 10);
    Click(160, 45);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->GetSelectedIndex(), 2);
    Click(160, 10);
    KeyDown(kVkDown);
    KeyDown(kVkReturn);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->GetSelectedIndex(), 3);
    EXPECT_EQ(mListener->Take(),
              (std::vector<std::string>{"DROPDOWN_OPENING -1", "SELECTION_CHANGE 2",
                                        "DROPDOWN_OPENING -1", "SELECTION_CHANGE 3"}));
    // An open list is fitted again to a new count.
    Click(160, 10);
    combo->SetItemCount(2);
    EXPECT_EQ(list->GetSize().y, 20.0);
    EXPECT_EQ(combo->GetSelectedIndex(), -1);

    // Without room below the field the list opens above it. A combo box without items of its
    // own keeps those of its list. A list hidden in the skin makes its rows when it first opens.
    auto* low = Find<LComboBox>(u"low");
    EXPECT_TRUE(low->GetListBox()->GetRowControls().empty());
    Click(160, 180);
    ASSERT_TRUE(low->IsDroppedDown());
    EXPECT_EQ(low->GetListBox()->GetPosition().y, -10.0);
    EXPECT_EQ(RowTexts(*low->GetListBox()), std::vector<std::string>{"replaced"});
    Click(160, 170);
    EXPECT_EQ(low->GetSelectedIndex(), 0);
    EXPECT_EQ(Narrow(low->GetText()), "replaced");
}

TEST_F(ListControls, FocusedClosedComboBoxOpensByKeysAndStepsItsSelection)
{
    auto* combo = Find<LComboBox>(u"combo");
    Listen(combo, {NID_SELECTION_CHANGE, NID_DROPDOWN_OPENING});
    ASSERT_EQ(combo->SetFocus(true), S_OK);
    // Closed: Down from no selection takes the first item, Up and Down step and stop at the
    // ends, each change told as a click's choice is.
    for (const std::uint32_t key : {kVkDown, kVkDown, kVkUp, kVkUp})
    {
        KeyDown(key);
    }
    for (int i = 0; i < 4; ++i)
    {
        KeyDown(kVkDown);
    }
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(mListener->Take(),
              (std::vector<std::string>{"SELECTION_CHANGE 0", "SELECTION_CHANGE 1",
                                        "SELECTION_CHANGE 0", "SELECTION_CHANGE 1",
                                        "SELECTION_CHANGE 2", "SELECTION_CHANGE 3"}));
    // Space, Alt+Down and F4 open it; Escape closes it again.
    const std::uint32_t openers[] = {kVkSpace << 16, KeyCode::kAlt | (kVkDown << 16), kVkF4 << 16};
    for (const std::uint32_t opener : openers)
    {
        ASSERT_EQ(combo->SetFocus(true), S_OK);
        mWindow->DeliverKey({KeyCode::kKeyDown | opener, 0, 0});
        EXPECT_TRUE(combo->IsDroppedDown()) << std::hex << opener;
        KeyDown(kVkEscape);
        EXPECT_FALSE(combo->IsDroppedDown());
    }
    EXPECT_EQ(mListener->Take(), (std::vector<std::string>(3, "DROPDOWN_OPENING -1")));
    EXPECT_EQ(combo->GetSelectedIndex(), 3);
}

} // namespace
} // namespace QZ::ToolkitTest
