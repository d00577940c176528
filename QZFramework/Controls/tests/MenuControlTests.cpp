// Popup menus, menu-bar titles, the main menu bar and the checked combo box, built from a test
// skin and string tables through the factory and driven through a root window whose
// operating-system window is a fake, on a clock the tests set.
#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/ControlBase/IndexedDataWithValueParam.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Controls/CheckedComboBox.h"
#include "QZFramework/Controls/CheckedListBox.h"
#include "QZFramework/Controls/ComboMenu.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/MenuListBoxItem.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/PopupMenu.h"
#include "QZFramework/Controls/tests/MenuTestSupport.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <string_view>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

// The clock the tests set, and application hot keys read from the table "Global".
class MenuApplication : public ClockApplication, public IApplicationShell
{
public:
    [[nodiscard]] RCPtr<LGlobalHotKeyManager> GetGlobalHotKeyManager() const override
    {
        return keys;
    }
    std::int32_t RunModal(const RCPtr<LControl>&, std::uint32_t) override { return 0; }

    RCPtr<LGlobalHotKeyManager> keys;
};

// What the rows show: the text with the hot-key text after a "/", "--" for a separator, "-"
// for a hidden row; "!" marks a disabled row and "*" a checked one.
std::vector<std::string> Rows(const LPopupMenu& popup)
{
    std::vector<std::string> rows;
    for (std::size_t r = 0; r < popup.GetRowControls().size(); ++r)
    {
        const auto& row = dynamic_cast<const LMenuListBoxItem&>(*popup.GetRowControls()[r]);
        if (!row.IsShowing(true))
        {
            rows.push_back("-");
            continue;
        }
        std::string text = row.IsSeparatorMode() ? "--" : Narrow(row.GetText());
        text += row.GetHotKeyLabel()->GetText().IsEmpty()
                    ? ""
                    : "/" + Narrow(row.GetHotKeyLabel()->GetText());
        text += row.IsEnabled(false) || row.IsSeparatorMode() ? "" : "!";
        text += row.GetCheckBox()->GetValue() == 1.0 ? "*" : "";
        rows.push_back(text);
    }
    return rows;
}
// Every row shows its text whole, ending a gap (20) before its hot-key label, whose background
// would hide the rest, and the label holds its hot key whole inside the popup.
void ExpectTextsClearOfHotKeys(const LPopupMenu& popup)
{
    for (const RCPtr<LListBoxItem>& item : popup.GetRowControls())
    {
        const auto& row = dynamic_cast<const LMenuListBoxItem&>(*item);
        const LControl& label = *row.GetHotKeyLabel();
        if (!row.IsShowing(true) || row.IsSeparatorMode())
        {
            continue;
        }
        EXPECT_LE(10.0 + 10.0 * row.GetText().GetLength() + 20.0, label.GetPosition().x)
            << Narrow(row.GetText());
        EXPECT_GE(label.GetSize().x, 10.0 * label.GetText().GetLength()) << Narrow(label.GetText());
        EXPECT_LE(row.GetPosition().x + label.GetPosition().x + label.GetSize().x,
                  popup.GetSize().x);
    }
}

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkEscape = 0x1B;
constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkUp = 0x26;
constexpr std::uint32_t kVkRight = 0x27;
constexpr std::uint32_t kVkDown = 0x28;

class MenuControls : public RootWindowFixture
{
protected:
    void SetUp() override
    {
        mClock = &UseApplication<MenuApplication>();
        RegisterMenuClasses(*mFactory);
        LoadSkin(MenuSkin());
        LoadStrings(kMenuStrings);
        LGlobalHotKeyManager::Create(mClock->keys, RCPtr<LNotificationReceiver>(mListener));
        mClock->keys->GetHotKeyMap().LoadFromStringTable(
            mFactory->FindStringTable(WideString(u"Global")), u"GHK");
        mServices.width = 200;
        mServices.height = 100;
        ASSERT_NO_FATAL_FAILURE(
            OpenRoot(u"main", RCPtr<LMeasurementRenderer>(new FixedWidthMeasurement(10))));
        mBar = Find<LMainMenu>(u"mainMenu");
        mOwner = Find<Owner>(u"owner");
        ASSERT_NE(mBar, nullptr);
        ASSERT_EQ(mBar->GetTitles().size(), 2u);
        ASSERT_EQ(mOwner->SetFocus(true), S_OK);
    }

    void TearDown() override
    {
        RootWindowFixture::TearDown();
        GetApplicationNotificationCenter()->ProcessQueue(false);
    }

    void Click(long x, long y)
    {
        Move(x, y);
        mWindow->OnPointerButton(true, 1, {x, y}, 1, 0, false);
        mWindow->OnPointerButton(false, 1, {x, y}, 0, 0, false);
    }
    void KeyDown(std::uint32_t vk) { mWindow->DeliverKey({KeyCode::kKeyDown | (vk << 16), 0, 0}); }
    // Lets the clock run on, then one idle pass.
    void IdleAfter(std::uint32_t milliseconds)
    {
        mClock->now += milliseconds;
        mWindow->Idle(true);
    }
    LComboMenu& Title(std::size_t n) { return *mBar->GetTitles()[n]; }
    LPopupMenu& Popup(std::size_t n) { return *Title(n).GetPopupMenu(); }
    static std::uint32_t LookOf(const LControl& control)
    {
        return static_cast<std::uint32_t>(control.GetFirstVisibleLookIndex());
    }

    MenuApplication* mClock = nullptr;
    RCPtr<WindowListener> mListener{new WindowListener()};
    LMainMenu* mBar = nullptr;
    Owner* mOwner = nullptr;
};

TEST_F(MenuControls, BarShowsTitlesAndItemsInOrderWithHotKeysAndOwnersStates)
{
    EXPECT_EQ(Narrow(Title(0).GetName()), "menu0");
    EXPECT_EQ(Narrow(Title(0).GetText()), "File");
    EXPECT_EQ(Narrow(Title(1).GetText()), "Help");
    EXPECT_EQ(Title(1).GetPosition().x, 30.0);
    EXPECT_FALSE(mBar->FindChildByName(WideString(u"templateMenu"))->IsShowing(false));
    EXPECT_FALSE(Popup(0).IsShowing(false));
    EXPECT_EQ(Popup(0).GetNotifyTarget(), mWindow->GetHotKeyManager()->GetTarget());
    EXPECT_EQ(Popup(0).SetNotifyTarget(RCPtr<LNotificationReceiver>(mListener)), E_FAIL);
    EXPECT_EQ(Popup(0).GetNotifyTarget(), mWindow->GetHotKeyManager()->GetTarget());

    // The window's binding wins over the application's; the application's fills the rest.
    // Texts and hot keys stand in columns: the check box (10), the widest text ("Recent", 60), a
    // gap (20) and the hot-key column (20) widened by what "Ctrl+O" (60) lacks in its label (45).
    Click(10, 5);
    ASSERT_TRUE(Popup(0).IsShowing(false));
    EXPECT_EQ(Rows(Popup(0)),
              (std::vector<std::string>{"Open/Ctrl+O", "--", "Recent", "Save", "Quit"}));
    EXPECT_EQ(Popup(0).GetSize(), (PointT<double>(155.0, 50.0)));
    ExpectTextsClearOfHotKeys(Popup(0));
    EXPECT_EQ(Popup(0).GetSeparatorCount(), 1);
    KeyDown(kVkEscape);
    ASSERT_FALSE(Popup(0).IsShowing(false));

    // The owner's answers come before the menu shows: a longer text widens the popup.
    mBar->SetMenuItemUpdater(mOwner->GetMenuItemUpdater());
    Click(10, 5);
    EXPECT_EQ(Rows(Popup(0)),
              (std::vector<std::string>{"Open/Ctrl+O", "--", "Recent", "Save!", "Quit*"}));
    // With a menu open, pointing at another title opens that one's menu.
    Move(40, 5);
    EXPECT_EQ(Rows(Popup(1)), std::vector<std::string>{"About this program/F1"});
    EXPECT_EQ(Popup(1).GetSize().x, 10.0 + 180.0 + 20.0 + 20.0 + 5.0);
    ExpectTextsClearOfHotKeys(Popup(1));
    // The popup is kept inside the root control: shifted left by the room it lacks.
    EXPECT_EQ(Popup(1).GetPositionInRoot().x, 200.0 - 235.0 < 0 ? 0.0 : 200.0 - 235.0);
}

TEST_F(MenuControls, PointerOpensSubmenusAfterTheDelayAndTheCommandArrivesOnceAtIdle)
{
    mListener->Subscribe(RCPtr<LNotificationDistributor>(mWindow), u"NID_RECENT_B", 0);
    mListener->Subscribe(RCPtr<LNotificationDistributor>(mWindow), u"NID_OPEN", 0);
    Click(10, 5);
    LPopupMenu& popup = Popup(0);
    ASSERT_TRUE(popup.IsShowing(false));
    EXPECT_EQ(LookOf(Title(0)), LComboMenu::kLookOpen);
    // Rows lie at y 10, 20, ...: "Recent" at 30..40.
    Move(20, 35);
    EXPECT_EQ(popup.GetCurrentIndex(), 2);
    IdleAfter(LPopupMenu::kSubmenuDelayMs);
    EXPECT_FALSE(popup.GetOpenSubmenu());
    IdleAfter(1);
    ASSERT_TRUE(popup.GetOpenSubmenu());
    LPopupMenu& submenu = *popup.GetOpenSubmenu();
    EXPECT_TRUE(submenu.IsShowing(false));
    // Beside the row: the popup is 155 wide at x 0.
    EXPECT_EQ(submenu.GetPositionInRoot(), (PointT<double>(155.0, 30.0)));
    EXPECT_EQ(Rows(submenu), (std::vector<std::string>{"A", "B"}));

    // A plain item closes the open submenu only after the delay; the item that owns the
    // submenu stops that again.
    Move(20, 15);
    IdleAfter(200);
    Move(20, 35);
    IdleAfter(200);
    EXPECT_EQ(popup.GetOpenSubmenu().Get(), &submenu);
    Move(20, 15);
    IdleAfter(251);
    EXPECT_FALSE(popup.GetOpenSubmenu());
    Move(20, 35);
    IdleAfter(251);
    ASSERT_TRUE(popup.GetOpenSubmenu());

    // Hovering the submenu keeps its owner current; the chosen command reaches the window's
    // queue and is delivered at the next idle pass, once.
    Move(170, 45);
    EXPECT_EQ(popup.GetCurrentIndex(), 2);
    EXPECT_EQ(popup.GetOpenSubmenu()->GetCurrentIndex(), 1);
    Click(170, 45);
    EXPECT_TRUE(mListener->Take().empty());
    EXPECT_FALSE(popup.IsShowing(false));
    EXPECT_EQ(LookOf(Title(0)), LComboMenu::kLookNormal);
    EXPECT_TRUE(mOwner->HasFocus());
    mWindow->Idle(true);
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"NID_RECENT_B 1 B"});
    mWindow->Idle(true);
    EXPECT_TRUE(mListener->Take().empty());

    // With one menu open, the pointer on another title moves the open menu there.
    Click(10, 5);
    ASSERT_TRUE(Popup(0).IsShowing(false));
    Move(40, 5);
    EXPECT_FALSE(Popup(0).IsShowing(false));
    EXPECT_TRUE(Popup(1).IsShowing(false));
    EXPECT_EQ(LookOf(Title(0)), LComboMenu::kLookNormal);
    EXPECT_EQ(LookOf(Title(1)), LComboMenu::kLookOpen);
    // A press outside closes it.
    Click(170, 90);
    EXPECT_FALSE(Popup(1).IsShowing(false));
    Move(10, 5);
    EXPECT_EQ(LookOf(Title(0)), LComboMenu::kLookHover);
}

TEST_F(MenuControls, KeysNavigateSkipDisabledItemsAndChoose)
{
    mBar->SetMenuItemUpdater(mOwner->GetMenuItemUpdater());
    mListener->Subscribe(RCPtr<LNotificationDistributor>(mWindow), u"NID_QUIT", 0);
    mListener->Subscribe(RCPtr<LNotificationDistributor>(mWindow), u"NID_RECENT_A", 0);
    Click(10, 5);
    Move(195, 95);
    LPopupMenu& popup = Popup(0);
    using Step = std::tuple<std::uint32_t, std::int32_t, bool, std::int32_t>;
    // The separator and the disabled "Save" are stepped over; the keyboard alone never opens a
    // submenu by time, Right opens it at once, Left and Escape close just the submenu.
    const Step steps[] = {
        {kVkDown, 0, false, -1}, {kVkDown, 2, false, -1}, {kVkDown, 4, false, -1},
        {kVkUp, 2, false, -1},   {kVkRight, 2, true, 0},  {kVkDown, 2, true, 1},
        {kVkLeft, 2, false, -1}, {kVkRight, 2, true, 0},  {kVkEscape, 2, false, -1},
    };
    for (const auto& [vk, current, submenuOpen, submenuCurrent] : steps)
    {
        KeyDown(vk);
        IdleAfter(1000);
        EXPECT_EQ(popup.GetCurrentIndex(), current) << vk;
        ASSERT_EQ(static_cast<bool>(popup.GetOpenSubmenu()), submenuOpen) << vk;
        if (submenuOpen)
        {
            EXPECT_EQ(popup.GetOpenSubmenu()->GetCurrentIndex(), submenuCurrent) << vk;
        }
    }
    // A disabled item cannot be chosen even when made current.
    popup.SelectRange(3);
    KeyDown(kVkReturn);
    IdleAfter(1);
    EXPECT_TRUE(popup.IsShowing(false));
    KeyDown(kVkDown);
    KeyDown(kVkReturn);
    EXPECT_FALSE(popup.IsShowing(false));
    IdleAfter(1);
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"NID_QUIT 4 Quit"});
    // Escape at the top closes the title's menu.
    Click(10, 5);
    KeyDown(kVkDown);
    KeyDown(kVkDown);
    KeyDown(kVkRight);
    ASSERT_TRUE(popup.GetOpenSubmenu());
    KeyDown(kVkEscape);
    EXPECT_FALSE(popup.GetOpenSubmenu());
    EXPECT_TRUE(popup.IsShowing(false));
    KeyDown(kVkEscape);
    EXPECT_FALSE(popup.IsShowing(false));
}

TEST_F(MenuControls, ContextMenuSendsToItsOwnerAndClosesItsChain)
{
    std::vector<RCPtr<LMenuDescriptor>> menus;
    mBar->BuildContextMenu(menus);
    const RCPtr<LMenuDescriptor> menu = menus.at(0);
    // The pointer near the bottom-right corner of a window 250 wide: the popup (155 x 50) is
    // kept inside the window.
    mServices.width = 250;
    mWindow->GetClientScreenRect();
    Move(190, 90);
    mOwner->ShowContextMenu(menu);
    auto* popup =
        dynamic_cast<LPopupMenu*>(mOwner->FindChildByName(WideString(u"contextMenu")).Get());
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->HasFocus());
    EXPECT_EQ(popup->GetPositionInRoot(), (PointT<double>(95.0, 50.0)));
    // Commands to the owner come from the owner's keys, the window's and then the
    // application's.
    EXPECT_EQ(Rows(*popup)[0], "Open/Ctrl+O");

    // The submenu finds no room on the right: it opens to the left of its popup.
    EXPECT_EQ(popup->OpenSubmenu(0), E_INVALIDARG);
    ASSERT_EQ(popup->OpenSubmenu(2), S_OK);
    EXPECT_EQ(popup->GetOpenSubmenu()->GetPositionInRoot(), (PointT<double>(35.0, 70.0)));
    // Choosing hides and closes the whole chain and sends the command at once.
    Click(50, 85);
    EXPECT_EQ(mOwner->heard, std::vector<std::string>{"NID_RECENT_B 1 B"});
    EXPECT_FALSE(popup->IsShowing(false));
    EXPECT_TRUE(popup->IsClosing());
    mWindow->Idle(true);
    EXPECT_FALSE(mOwner->FindChildByName(WideString(u"contextMenu")));

    // The focus leaving a context menu closes it.
    Move(10, 40);
    mOwner->ShowContextMenu(menu);
    popup = dynamic_cast<LPopupMenu*>(mOwner->FindChildByName(WideString(u"contextMenu")).Get());
    ASSERT_NE(popup, nullptr);
    Find<LControl>(u"checkedCombo")->SetFocus(true);
    EXPECT_TRUE(popup->IsClosing());
    EXPECT_FALSE(popup->IsShowing(false));
}

TEST_F(MenuControls, ArgumentsAndSkinFaultsAreRefused)
{
    LPopupMenu& popup = Popup(0);
    EXPECT_EQ(popup.SetMenu(RCPtr<LMenuDescriptor>()), E_INVALIDARG);
    EXPECT_EQ(popup.SetNotifyTarget(RCPtr<LNotificationReceiver>()), E_INVALIDARG);
    EXPECT_EQ(popup.SwapItems(0, 1), static_cast<QZRESULT>(0x80004001u));
    EXPECT_EQ(popup.GetItemWidth(99), 0);
    EXPECT_FALSE(popup.IsItemSelectable(1));
    EXPECT_FALSE(popup.IsItemSelectable(-1));
    // Rows without a check box and a hot-key label still show their texts; only the gap
    // between the texts is room beside them.
    RCPtr<LControl> bare;
    mFactory->CreateControl(bare, mFactory->FindSkinSubControl(WideString(u"bareMenu")),
                            RCPtr<LControl>(mOwner));
    auto* barePopup = dynamic_cast<LPopupMenu*>(bare.Get());
    ASSERT_NE(barePopup, nullptr);
    EXPECT_EQ(barePopup->SetMenu(popup.GetMenuDescriptor()), S_OK);
    EXPECT_EQ(Narrow(barePopup->GetRowControls()[0]->GetText()), "Open");
    EXPECT_EQ(barePopup->GetItemWidth(0), 20 + 40);
    // A popup without rows and a checked combo box over a plain list are not made.
    RCPtr<LControl> made;
    mFactory->CreateControl(made, mFactory->FindSkinSubControl(WideString(u"rowless")),
                            mWindow->GetRootControl());
    EXPECT_FALSE(made);
    mFactory->CreateControl(made, mFactory->FindSkinSubControl(WideString(u"plainCombo")),
                            mWindow->GetRootControl());
    EXPECT_FALSE(made);
}

TEST_F(MenuControls, CheckedComboBoxMirrorsChecksAndForwardsThem)
{
    auto* combo = Find<LCheckedComboBox>(u"checkedCombo");
    ASSERT_NE(combo, nullptr);
    LCheckedListBox& list = *combo->GetCheckedList();
    const RCPtr<LControl> checkBox = combo->FindChildByName(WideString(u"checkBox"));
    EXPECT_TRUE(checkBox->UsesParentToolTip());
    std::vector<double> heard;
    struct Client : LNotificationClient
    {
        explicit Client(std::vector<double>& out) : values(out) {}
        void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                                 const RCPtr<LNotification>& notification) override
        {
            values.push_back(
                RCPtr<LIndexedDataWithValueParam>::DynamicCastFrom(notification->GetPayload())
                    ->GetValue());
        }
        std::vector<double>& values;
    };
    const RCPtr<Client> client(new Client(heard));
    client->Subscribe(RCPtr<LNotificationDistributor>(combo), NID_ITEM_CHECK_CHANGE, 0);

    EXPECT_EQ(LookOf(*combo), LComboBox::kLookNormal);
    list.SetItemChecked(1, true);
    EXPECT_EQ(LookOf(*combo), LComboBox::kLookNormal + LCheckedComboBox::kCheckedLookOffset);
    combo->SetSelectedIndex(1);
    EXPECT_EQ(checkBox->GetValue(), 1.0);
    combo->SetSelectedIndex(0);
    EXPECT_EQ(checkBox->GetValue(), 0.0);
    // An index outside the items leaves the check box's value alone.
    list.SetItemChecked(0, true);
    combo->SetSelectedIndex(0);
    combo->SetSelectedIndex(5);
    EXPECT_EQ(checkBox->GetValue(), 1.0);
    list.SetItemChecked(0, false);
    list.SetItemChecked(1, false);
    EXPECT_EQ(LookOf(*combo), LComboBox::kLookNormal);
    EXPECT_EQ(heard, (std::vector<double>{1.0, 1.0, 0.0, 0.0}));
    combo->SetEnabled(false);
    list.SetItemChecked(0, true);
    EXPECT_EQ(LookOf(*combo), LComboBox::kLookDisabled + LCheckedComboBox::kCheckedLookOffset);
}

// The main window's menu bar over the program's own string tables; its popups start hidden, as
// the shipped skin has them.
constexpr std::string_view kMainControlSkin = R"(<Korvane_Skin_Definitions><Skin Name="Main">
  <Colorizer Name="Ink" Color1="FF101010"/>
  <Look Name="Plain"><DockedPart Dock="Fill" Colorizer="Ink"/></Look>
  <LookList Name="One"><LookRef Look="Plain"/></LookList>
  <LookList Name="Four"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/></LookList>
  <LookList Name="Nine"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/></LookList>
  <Look Name="Line"><DockedPart Dock="Fill" Colorizer="Ink"/>
    <DockedPart Dock="Top" Colorizer="Ink" Size="2"/>
    <DockedPart Dock="Bottom" Colorizer="Ink" Size="2"/></Look>
  <LookList Name="Rows"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Line"/></LookList>
  <SubControl Class="RededoVuvuva.MainControl" Name="mainControl" XSizeAbs="200" YSizeAbs="100">
    <SubControl Class="Framework.MainMenu" Name="mainMenu" XSizeAbs="200" YSizeAbs="10">
      <SubControl Class="Framework.ComboMenu" Name="templateMenu" XSizeAbs="30" YSizeAbs="10"
                  LookList="Four" TabStop="-1">
        <SubControl Class="Framework.PopupMenu" Name="popupMenu" YPositionAbs="10"
                    XSizeAbs="60" YSizeAbs="10" IsVisible="False" LookList="One" TabStop="0">)";
constexpr std::string_view kMainControlTail = R"(
        </SubControl>
      </SubControl>
    </SubControl>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

TEST(ShippedMainMenu, ShowsTheTitlesItemsSeparatorsAndHotKeysOfTheProgramsTable)
{
    LApplicationBase application;
    const RCPtr<LControlFactory> factory(
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva")));
    application.SetControlFactory(factory);
    factory->SetBaseFolder(WideString(u"::"));
    ASSERT_EQ(factory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                        WideString(u"::FRAMEWORK_STRINGS"), 0x0009),
              S_OK);
    // Rows whose separator look keeps 2 pixels above and below its line.
    std::string rows(kMenuRows);
    rows.replace(rows.find("LookList=\"Four\""), 15, "LookList=\"Rows\"");
    const std::string skin = std::string(kMainControlSkin) + rows + std::string(kMainControlTail);
    ASSERT_EQ(factory->LoadSkinsFrom(Bytes(skin), "main skin"), S_OK);
    RegisterMenuClasses(*factory);
    factory->RegisterControlClass(WideString(u"RededoVuvuva.MainControl"),
                                  &LControlFactory::Create<LPanel>);
    factory->RegisterControlClass(WideString(u"Test.Control"), &LControlFactory::Create<LControl>);
    FakeWindow services;
    const RCPtr<LRootWindow> window(new LRootWindow(&services));
    window->GetClientScreenRect();
    ASSERT_EQ(window->CreateRootControl(WideString(u"mainControl")), S_OK);
    auto* bar = dynamic_cast<LMainMenu*>(
        window->GetRootControl()->FindChildByName(WideString(u"mainMenu")).Get());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetTitles().size(), 2u);
    EXPECT_EQ(Narrow(bar->GetTitles()[0]->GetText()), "File");
    EXPECT_EQ(Narrow(bar->GetTitles()[1]->GetText()), "Help");
    const std::vector<std::vector<std::string>> expected = {
        {"Send Vidida/Ctrl+Shift+S", "Retrieve Vidida/Ctrl+Shift+R", "--", "Load Vidida/Ctrl+O",
         "Save Vidida/Ctrl+S", "--", "Global Settings", "--", "Exit"},
        {"Open User Guide", "About Tarn 61 Vidida Editor"}};
    for (std::size_t n = 0; n < expected.size(); ++n)
    {
        LPopupMenu& popup = *bar->GetTitles()[n]->GetPopupMenu();
        popup.SetShown(true);
        EXPECT_EQ(Rows(popup), expected[n]) << n;
        popup.SetShown(false);
    }
    // A separator is a line with its margins, 5 pixels, and the rows after it follow at once.
    LPopupMenu& file = *bar->GetTitles()[0]->GetPopupMenu();
    std::vector<double> tops;
    for (const RCPtr<LListBoxItem>& row : file.GetRowControls())
    {
        tops.push_back(row->GetPosition().y);
    }
    EXPECT_EQ(tops, (std::vector<double>{0, 10, 20, 25, 35, 45, 50, 60, 65}));
    EXPECT_EQ(file.GetContentHeight(), 75);
    EXPECT_EQ(file.GetRowControls()[2]->GetSize().y, 5.0);
    window->SetRootControl(RCPtr<LControl>());
}

} // namespace
} // namespace QZ::ToolkitTest
