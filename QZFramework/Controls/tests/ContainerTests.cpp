// The containers in a dialog built from an in-memory skin, run in a root window over a fake
// window: tab traversal across nested panels, the key road through local, window and application
// hot keys, scroll bars (fakes) following the content and the wheel, tab selection, and the
// dialog's standard buttons and closing.
#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ControlBase/MenuItemDescriptor.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/ScrollBarInterface.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/Dialog.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

std::vector<std::string>& Heard()
{
    static std::vector<std::string> log;
    return log;
}

constexpr std::uint32_t VirtualKey(std::uint32_t key, std::uint32_t flags = 0)
{
    return KeyCode::kKeyDown | (key << 16) | flags;
}

constexpr std::uint32_t kTab = VirtualKey(9);
constexpr std::uint32_t kDelete = VirtualKey(46);
constexpr std::uint32_t kCopy = VirtualKey('C', KeyCode::kCtrl);
constexpr std::uint32_t kPaste = VirtualKey('V', KeyCode::kCtrl);
constexpr std::uint32_t kF5 = VirtualKey(116);

// A field that logs the commands and the keys its hook sees.
class Field : public LControl
{
public:
    using LControl::LControl;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        const std::u16string_view id(notification->GetID());
        if (id.starts_with(u"NID_CMD") || id == NID_EDIT_COPY_REQ)
        {
            Heard().push_back(Narrow(GetName()) + ":" + Narrow(WideString(notification->GetID())));
        }
        LControl::ReceiveNotification(sender, notification);
    }
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override
    {
        Heard().push_back(Narrow(GetName()) + ":hook " +
                          std::to_string(key->GetKey() >> 16 & 0xFF));
        return S_FALSE;
    }
    QZRESULT UpdateMenuItemState(const RCPtr<LMenuDescriptor>&, std::int32_t,
                                 const WideString& command, MenuItemState& state) override
    {
        state.enabled = command == u"NID_CMD_ON";
        return S_OK;
    }
    bool CanReleaseFocus() override { return !holdsFocus; }
    bool holdsFocus = false;
};

class FakeScrollBar : public LControl, public IScrollBar
{
public:
    using LControl::LControl;
    void SetSmallStep(double step) override { small = step; }
    double GetSmallStep() const override { return small; }
    void SetLargeStep(double step) override { large = step; }
    double GetLargeStep() const override { return large; }
    void SetPageShare(double share) override { page = share; }
    double GetPageShare() const override { return page; }
    // Whether the scroll view listened to the bar while its value changed.
    void OnValueChanged() override
    {
        const auto pool = FindClientPool(GetNotificationID(NID_VALUE_CHANGE));
        viewListened = false;
        for (const RCPtr<LNotificationReceiver>& receiver :
             pool ? pool->GetReceivers() : std::vector<RCPtr<LNotificationReceiver>>())
        {
            viewListened |=
                receiver.Get() == static_cast<LNotificationReceiver*>(GetParent().Get());
        }
    }
    double small = 0.0;
    double large = 0.0;
    double page = 0.0;
    bool viewListened = false;
};

class TestTabs : public LTabControl
{
public:
    using LTabControl::LTabControl;
    void OnTabSelected() override { Heard().push_back("selected " + Narrow(GetSelectedName())); }
};

// A view that always reports at least a given size, as a subclass sets it.
class MinimumView : public LScrollView
{
public:
    using LScrollView::LScrollView;
    using LScrollView::SetMinimumViewSize;
};

// Hears a notification, a click with the name of the control that sent it, and may cancel
// what asks to be cancelled.
class Listener : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        const auto* control = dynamic_cast<const LControl*>(sender.Get());
        const bool clicked = std::u16string_view(notification->GetID()) == NID_LEFT_CLICK;
        Heard().push_back("heard " + Narrow(WideString(notification->GetID())) +
                          (clicked && control != nullptr ? " " + Narrow(control->GetName()) : ""));
        if (const auto args = RCPtr<LCancelArgs>::DynamicCastFrom(notification->GetPayload()))
        {
            args->cancel = cancel;
        }
    }
    bool cancel = false;
};

// The application with its hot keys bound to the "application" centre's queue and a modal run
// that plays the user's part and then idles the window once.
class ShellApplication : public LApplicationBase, public IApplicationShell
{
public:
    ShellApplication()
    {
        RCPtr<LNotificationReceiver> queue;
        GetApplicationNotificationCenter()->GetPostingReceiver(queue);
        LGlobalHotKeyManager::Create(hotKeys, queue);
    }
    RCPtr<LGlobalHotKeyManager> GetGlobalHotKeyManager() const override { return hotKeys; }
    std::int32_t RunModal(const RCPtr<LControl>& control, std::uint32_t flags) override
    {
        RCPtr<LRootWindow> window;
        control->GetRootWindowRef(window);
        Heard().push_back("modal " + std::to_string(flags));
        user();
        window->Idle(false);
        return window->GetModalResult();
    }
    RCPtr<LGlobalHotKeyManager> hotKeys;
    std::function<void()> user = [] {};
};

constexpr std::string_view kSkin = R"(<Korvane_Skin_Definitions><Skin Name="Containers">
  <SubControl Class="Test.Dialog" Name="dialog" XSizeAbs="300" YSizeAbs="200">
    <SubControl Class="Test.Panel" Name="left" XPositionAbs="10" YPositionAbs="10" XSizeAbs="100"
                YSizeAbs="80" TabStop="1">
      <SubControl Class="Test.Field" Name="name" XSizeAbs="50" YSizeAbs="20" TabStop="1">
        <CreateParamList><CreateParam ID="LHK.NID_CMD_NAME_COPY">Ctrl+VKEY_C</CreateParam>
          <CreateParam ID="INITIAL_VALUE">0.5</CreateParam></CreateParamList></SubControl>
      <SubControl Class="Test.Field" Name="level" YPositionAbs="20" XSizeAbs="50" YSizeAbs="20"
                  TabStop="2">
        <CreateParamList><CreateParam ID="LHK.NID_CMD_LEVEL_CLEAR">VKEY_DELETE</CreateParam>
        </CreateParamList></SubControl>
      <SubControl Class="Test.Panel" Name="inner" YPositionAbs="40" XSizeAbs="100" YSizeAbs="40"
                  TabStop="3">
        <SubControl Class="Test.Field" Name="x" XSizeAbs="40" YSizeAbs="20" TabStop="1"/>
        <SubControl Class="Test.Field" Name="y" XPositionAbs="50" XSizeAbs="40" YSizeAbs="20"
                    TabStop="2"/>
      </SubControl>
    </SubControl>
    <SubControl Class="Test.Panel" Name="right" XPositionAbs="120" YPositionAbs="10"
                XSizeAbs="100" YSizeAbs="80" TabStop="2">
      <SubControl Class="Test.Field" Name="p" XSizeAbs="40" YSizeAbs="20" TabStop="2"/>
      <SubControl Class="Test.Field" Name="q" YPositionAbs="20" XSizeAbs="40" YSizeAbs="20"
                  TabStop="1"/>
      <SubControl Class="Test.Field" Name="hidden" YPositionAbs="40" XSizeAbs="40" YSizeAbs="20"
                  TabStop="3" IsVisible="false"/>
      <SubControl Class="Test.Field" Name="label" YPositionAbs="60" XSizeAbs="40" YSizeAbs="20"
                  TabStop="4">
        <CreateParamList><CreateParam ID="NOT_FOCUSABLE"> TRUE </CreateParam></CreateParamList>
      </SubControl>
      <SubControl Class="Test.Field" Name="editor" XPositionAbs="50" XSizeAbs="40" YSizeAbs="20"
                  TabStop="5">
        <CreateParamList><CreateParam ID="WANTS_TAB">True</CreateParam></CreateParamList>
      </SubControl>
    </SubControl>
    <SubControl Class="Test.Field" Name="buttonOK" YPositionAbs="100" XSizeAbs="40" YSizeAbs="20"
                TabStop="3"/>
    <SubControl Class="Test.Field" Name="buttonNo" XPositionAbs="50" YPositionAbs="100"
                XSizeAbs="40" YSizeAbs="20" TabStop="4"/>
  </SubControl>
  <SubControl Class="Test.View" Name="view" XSizeAbs="200" YSizeAbs="100">
    <CreateParamList><CreateParam ID="AUTO_CLIENT_EXTENT_Y"> TRUE </CreateParam></CreateParamList>
    <SubControl Class="Test.Field" Name="content" XSizeAbs="150" YSizeAbs="60" TabStop="-1"/>
    <SubControl Class="Test.Bar" Name="vBar" XPositionAbs="190" XSizeAbs="10" YSizeAbs="90"
                XIsDocked="true" YIsDocked="true" TabStop="-1"/>
    <SubControl Class="Test.Bar" Name="hBar" YPositionAbs="90" XSizeAbs="190" YSizeAbs="10"
                XIsDocked="true" YIsDocked="true" TabStop="-1"/>
    <SubControl Class="Test.Field" Name="corner" XPositionAbs="190" YPositionAbs="90"
                XSizeAbs="10" YSizeAbs="10" XIsDocked="true" YIsDocked="true" TabStop="-1"/>
  </SubControl>
  <SubControl Class="Test.Tabs" Name="tabs" XSizeAbs="200" YSizeAbs="100">
    <SubControl Class="Test.Panel" Name="buttonHolder" XSizeAbs="200" YSizeAbs="20">
      <SubControl Class="Test.Field" Name="one" XSizeAbs="50" YSizeAbs="20" TabStop="2"/>
      <SubControl Class="Test.Field" Name="two" XPositionAbs="50" XSizeAbs="50" YSizeAbs="20"
                  TabStop="1"/>
    </SubControl>
    <SubControl Class="Test.Panel" Name="pageHolder" YPositionAbs="20" XSizeAbs="200"
                YSizeAbs="80">
      <SubControl Class="Test.Field" Name="one" XSizeAbs="200" YSizeAbs="80"/>
      <SubControl Class="Test.Field" Name="two" XSizeAbs="200" YSizeAbs="80"/>
    </SubControl>
  </SubControl>
  <SubControl Class="Test.Tabs" Name="noButtons" XSizeAbs="200" YSizeAbs="100"/>
  <SubControl Class="Test.Dialog" Name="keyDialog" XSizeAbs="200" YSizeAbs="100">
    <CreateParamList><CreateParam ID="DEFAULT_BUTTON">send</CreateParam></CreateParamList>
    <SubControl Class="Test.Button" Name="send" XSizeAbs="60" YSizeAbs="20" TabStop="1"/>
    <SubControl Class="Test.Button" Name="buttonOK" XPositionAbs="70" XSizeAbs="60" YSizeAbs="20"
                TabStop="2"/>
    <SubControl Class="Test.Field" Name="field" YPositionAbs="30" XSizeAbs="60" YSizeAbs="20"
                TabStop="3"/>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

constexpr std::string_view kStrings = R"(<Korvane_StringTable_Definitions>
  <StringTable ID="|TestApp">
    <String ID="GHK.NID_EDIT_COPY_REQ"><Text LCID="9">Ctrl+VKEY_C</Text></String>
    <String ID="GHK.NID_EDIT_DELETE_REQ"><Text LCID="9">VKEY_DELETE</Text></String>
    <String ID="GHK.NID_EDIT_PASTE_REQ"><Text LCID="9">Ctrl+VKEY_V</Text></String>
    <String ID="GHK.NID_CMD_REFRESH"><Text LCID="9">VKEY_F5</Text></String>
  </StringTable>
  <StringTable ID="Test.Dialog|buttonOK">
    <String ID="CONTEXT_MENU0.00.NID_CMD_ON"><Text LCID="9">On | Turns it on</Text></String>
    <String ID="CONTEXT_MENU0.01.-"><Text LCID="9">-</Text></String>
    <String ID="CONTEXT_MENU0.02.NID_MORE"><Text LCID="9">More</Text></String>
    <String ID="CONTEXT_MENU0.02.00.NID_CMD_REFRESH"><Text LCID="9">Refresh</Text></String>
    <String ID="CONTEXT_MENU1.01.NID_CMD_OFF"><Text LCID="9">Off|</Text></String>
  </StringTable>
  <StringTable ID="Test.Dialog|buttonNo">
    <String ID="CONTEXT_MENU.00.NID_CMD_ONLY"><Text LCID="9">Only</Text></String>
    <String ID="CONTEXT_MENU1.00.NID_CMD_IGNORED"><Text LCID="9">Ignored</Text></String>
  </StringTable>
</Korvane_StringTable_Definitions>)";

class Containers : public ToolkitFixture
{
protected:
    void SetUp() override
    {
        mShell = &UseApplication<ShellApplication>();
        Register<LDialog>(u"Test.Dialog");
        Register<LButton>(u"Test.Button");
        Register<LPanel>(u"Test.Panel");
        Register<MinimumView>(u"Test.View");
        Register<TestTabs>(u"Test.Tabs");
        Register<Field>(u"Test.Field");
        Register<FakeScrollBar>(u"Test.Bar");
        LoadSkin(kSkin);
        LoadStrings(kStrings);
        Heard().clear();
    }

    void TearDown() override
    {
        mWindow = RCPtr<LRootWindow>();
        GetApplicationNotificationCenter()->ProcessQueue(false);
    }

    // The skin's top-level control of that name as the window's root.
    template <class T> T& Open(const char* name)
    {
        mWindow = RCPtr<LRootWindow>(new LRootWindow(&mServices));
        mWindow->GetClientScreenRect();
        EXPECT_EQ(mWindow->CreateRootControl(WideString(name)), S_OK);
        return *dynamic_cast<T*>(mWindow->GetRootControl().Get());
    }

    LControl& Find(const char* name)
    {
        std::vector<RCPtr<LControl>> found;
        mWindow->GetRootControl()->FindDescendantsByName(WideString(name), found);
        return *found.at(0);
    }

    std::string Focused() const
    {
        const RCPtr<LControl>& focused = mWindow->GetFocusedControl();
        return focused ? Narrow(focused->GetName()) : "none";
    }

    static void Click(LControl& button)
    {
        RCPtr<LNotification> click;
        LNotification::Create(click, NID_LEFT_CLICK);
        button.Distribute(click);
    }

    FakeWindowServices mServices;
    ShellApplication* mShell = nullptr;
    RCPtr<LRootWindow> mWindow;
};

TEST_F(Containers, TabAndShiftTabWalkNestedPanelsInTabOrder)
{
    Open<LDialog>("dialog");
    // From nowhere Tab enters the first tab stop; the walk descends into panels and leaves them
    // at their ends, skips hidden, disabled and not-focusable controls, and wraps around at the
    // window.
    Find("editor").SetEnabled(false);
    const std::vector<std::string> forward = {"name", "level",    "x",        "y",   "q",
                                              "p",    "buttonOK", "buttonNo", "name"};
    for (const std::string& expected : forward)
    {
        mWindow->DeliverKey({kTab, 0, 0});
        EXPECT_EQ(Focused(), expected);
    }
    const std::vector<std::string> backward = {"buttonNo", "buttonOK", "p",     "q",
                                               "y",        "x",        "level", "name"};
    for (const std::string& expected : backward)
    {
        mWindow->DeliverKey({kTab | KeyCode::kShift, 0, 0});
        EXPECT_EQ(Focused(), expected);
    }
    // Ctrl+Tab leaves the panel: from "x" in "inner" to the control after "inner" in "left",
    // which has none, so on to "right".
    ASSERT_EQ(Find("x").SetFocus(true), S_OK);
    mWindow->DeliverKey({kTab | KeyCode::kCtrl, 0, 0});
    EXPECT_EQ(Focused(), "q");
    // A control that wants Tab keeps the focus; its hook alone sees the key.
    Find("editor").SetEnabled(true);
    ASSERT_EQ(Find("editor").SetFocus(true), S_OK);
    Heard().clear();
    mWindow->DeliverKey({kTab, 0, 0});
    EXPECT_EQ(Focused(), "editor");
    EXPECT_EQ(Heard(), std::vector<std::string>{"editor:hook 9"});
    // A disabled panel is passed over.
    Find("right").SetEnabled(false);
    ASSERT_EQ(Find("y").SetFocus(true), S_OK);
    mWindow->DeliverKey({kTab, 0, 0});
    EXPECT_EQ(Focused(), "buttonOK");
}

TEST_F(Containers, KeysReachLocalHotKeysBeforeGlobalOnesAndEachCommandGoesOutOnce)
{
    Open<LDialog>("dialog");
    const RCPtr<Listener> window(new Listener());
    window->Subscribe(RCPtr<LNotificationDistributor>(mWindow), u"NID_CMD_REFRESH", 0);
    const RCPtr<Listener> application(new Listener());
    const RCPtr<LNotificationCenter> centre = GetApplicationNotificationCenter();
    for (const char16_t* command : {NID_EDIT_PASTE_REQ, NID_EDIT_DELETE_REQ, u"NID_CMD_REFRESH"})
    {
        application->Subscribe(RCPtr<LNotificationDistributor>(centre), command, 0);
    }
    using Case = std::tuple<const char*, std::uint32_t, std::vector<std::string>>;
    const Case cases[] = {
        // The focused control's own binding shadows the global one; so does a binding of a
        // control in a panel further away, which hears the keys its siblings pass on.
        {"name", kCopy, {"name:NID_CMD_NAME_COPY"}},
        {"q", kCopy, {"q:hook 67", "name:NID_CMD_NAME_COPY"}},
        // A sibling's binding comes before the global one, also from a nested panel and from
        // the next panel (panels hear the keys their siblings pass on).
        {"name", kDelete, {"name:hook 46", "level:NID_CMD_LEVEL_CLEAR"}},
        {"x", kDelete, {"x:hook 46", "level:NID_CMD_LEVEL_CLEAR"}},
        {"q", kDelete, {"q:hook 46", "level:NID_CMD_LEVEL_CLEAR"}},
        // Unbound locally: a window command with a window subscriber goes to the window at its
        // next idle step; one without goes to the application's queue (Ctrl+V to the clipboard).
        {"q", kF5, {"q:hook 116", "heard NID_CMD_REFRESH"}},
        {"y", kPaste, {"y:hook 86", "heard NID_EDIT_PASTE_REQ"}},
    };
    for (const auto& [focus, key, heard] : cases)
    {
        ASSERT_EQ(Find(focus).SetFocus(true), S_OK);
        Heard().clear();
        mWindow->DeliverKey({key, 0, 0});
        mWindow->Idle(false);
        centre->ProcessQueue(false);
        EXPECT_EQ(Heard(), heard) << focus << " " << std::hex << key;
    }
    // A disabled or hidden control drops the key.
    Find("level").SetEnabled(false);
    Find("p").SetShown(false);
    Heard().clear();
    for (const char* name : {"level", "p"})
    {
        EXPECT_EQ(Find(name).NotifyKey(LKeyParam::Create({kPaste, 0, 0}, true)), S_FALSE);
    }
    centre->ProcessQueue(false);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(Containers, CreateParamsQueuedDestructionAndTheMenuItemUpdater)
{
    LDialog& dialog = Open<LDialog>("dialog");
    EXPECT_DOUBLE_EQ(Find("name").GetValue(), 0.5);
    EXPECT_TRUE(Find("label").IsNotFocusable());
    EXPECT_TRUE(Find("editor").WantsTab());
    EXPECT_FALSE(Find("p").WantsTab());
    std::vector<KeyCode> keys;
    Find("level").GetLocalHotKeys(WideString(u"NID_CMD_LEVEL_CLEAR"), keys);
    EXPECT_EQ(keys, (std::vector<KeyCode>{KeyCode{kDelete, 0, 0}}));
    EXPECT_FALSE(Find("level").HasLocalHotKey(WideString(u"NID_CMD_NAME_COPY")));

    // Two controls queued in one idle cycle go in that cycle, and the idle requests end.
    EXPECT_EQ(dialog.QueueDestroy(RCPtr<LControl>(&Find("p"))), S_OK);
    EXPECT_EQ(dialog.QueueDestroy(RCPtr<LControl>(&Find("q"))), S_OK);
    EXPECT_EQ(dialog.GetIdleRequestCount(), 1);
    mWindow->Idle(true);
    EXPECT_EQ(dialog.GetQueuedDestroyCount(), 0u);
    EXPECT_EQ(Find("right").GetChildren().GetCount(), 3u);
    EXPECT_EQ(dialog.GetIdleRequestCount(), 0);

    // The updater asks its control and outlives it without keeping it alive.
    const RCPtr<LMenuItemUpdater> updater = Find("buttonOK").GetMenuItemUpdater();
    MenuItemState state;
    EXPECT_EQ(updater->UpdateMenuItemState(nullptr, 0, WideString(u"NID_CMD_ON"), state), S_OK);
    EXPECT_TRUE(state.enabled);
    mWindow = RCPtr<LRootWindow>();
    EXPECT_FALSE(updater->GetControl());
    EXPECT_EQ(updater->UpdateMenuItemState(nullptr, 0, WideString(u"NID_CMD_ON"), state), S_FALSE);
}

TEST_F(Containers, ContextMenusAreBuiltFromStringEntriesAndTheirHotKeysForwarded)
{
    Open<LDialog>("dialog");
    std::vector<RCPtr<LMenuDescriptor>> menus;
    ASSERT_EQ(Find("buttonOK").BuildContextMenu(menus), S_OK);
    ASSERT_EQ(menus.size(), 2u);
    ASSERT_EQ(menus[0]->GetItemCount(), 3);
    EXPECT_EQ(Narrow(menus[0]->GetItemAt(0)->GetText()), "On");
    EXPECT_EQ(Narrow(menus[0]->GetItemAt(0)->GetStatusText()), "Turns it on");
    EXPECT_TRUE(menus[0]->GetItemAt(1)->IsSeparator());
    ASSERT_EQ(menus[0]->GetItemAt(2)->GetItemCount(), 1);
    EXPECT_EQ(Narrow(menus[0]->GetItemAt(2)->GetItemAt(0)->GetCommand()), "NID_CMD_REFRESH");
    ASSERT_EQ(menus[1]->GetItemCount(), 1);
    EXPECT_EQ(Narrow(menus[1]->GetItemAt(0)->GetCommand()), "NID_CMD_OFF");
    // "CONTEXT_MENU." entries form the one menu; numbered groups are not read then.
    std::vector<RCPtr<LMenuDescriptor>> single;
    ASSERT_EQ(Find("buttonNo").BuildContextMenu(single), S_OK);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(Narrow(single[0]->GetItemAt(0)->GetCommand()), "NID_CMD_ONLY");

    // A bound item's command sent to the control reaches the window's subscribers once; after
    // unregistering it goes nowhere. Unbound items are left alone.
    LControl& owner = Find("buttonOK");
    const RCPtr<Listener> window(new Listener());
    window->Subscribe(RCPtr<LNotificationDistributor>(mWindow), u"NID_CMD_REFRESH", 0);
    EXPECT_EQ(owner.RegisterMenuHotKeys(nullptr, true), E_INVALIDARG);
    for (const bool registered : {true, false})
    {
        EXPECT_EQ(owner.RegisterMenuHotKeys(menus[0], registered), S_OK);
        Heard().clear();
        LControl::SendNotificationTo(RCPtr<LNotificationReceiver>(&owner), u"NID_CMD_REFRESH");
        LControl::SendNotificationTo(RCPtr<LNotificationReceiver>(&owner), u"NID_CMD_ON");
        mWindow->Idle(false);
        std::vector<std::string> expected = {"buttonOK:NID_CMD_REFRESH", "buttonOK:NID_CMD_ON"};
        if (registered)
        {
            expected.push_back("heard NID_CMD_REFRESH");
        }
        EXPECT_EQ(Heard(), expected);
    }
}

TEST_F(Containers, ScrollBarsAppearAtTheThresholdAndFollowOffsetAndWheel)
{
    LScrollView& view = Open<LScrollView>("view");
    auto& vBar = dynamic_cast<FakeScrollBar&>(Find("vBar"));
    auto& hBar = dynamic_cast<FakeScrollBar&>(Find("hBar"));
    // The automatic Y extent follows the content ("TRUE" with blanks), X stays the owner's.
    EXPECT_EQ(view.GetAutoClientExtent(), LScrollView::kAutoExtentY);
    EXPECT_DOUBLE_EQ(view.GetClientExtent().y, 60.0);
    view.SetAutoClientExtent(0, 0, 0);
    using Case = std::tuple<double, double, bool, bool>;
    const Case cases[] = {{200, 100, false, false}, {150, 101, false, true}, {200, 101, true, true},
                          {201, 85, true, false},   {201, 95, true, true},   {0, 0, false, false}};
    for (const auto& [x, y, h, v] : cases)
    {
        view.SetClientExtent(x, y);
        EXPECT_EQ(hBar.IsShowing(false), h) << x << "x" << y;
        EXPECT_EQ(vBar.IsShowing(false), v) << x << "x" << y;
        EXPECT_EQ(Find("corner").IsShowing(false), h && v) << x << "x" << y;
    }
    EXPECT_EQ(view.SetClientExtent(1e-15, 0.0), S_FALSE);

    // The bars take the view's measures; an offset set in code moves the bar without the
    // view hearing it back, while the bar's own listeners still do.
    view.SetClientExtent(100.0, 600.0);
    EXPECT_DOUBLE_EQ(vBar.page, 100.0 / 600.0);
    EXPECT_DOUBLE_EQ(vBar.large, 100.0 / 500.0);
    EXPECT_DOUBLE_EQ(vBar.small, 0.02);
    const RCPtr<Listener> other(new Listener());
    other->Subscribe(RCPtr<LNotificationDistributor>(&vBar), NID_VALUE_CHANGE, 0);
    Heard().clear();
    view.SetScrollOffset({0.0, 125.0});
    EXPECT_DOUBLE_EQ(vBar.GetValue(), 0.25);
    EXPECT_FALSE(vBar.viewListened);
    EXPECT_EQ(Heard(), std::vector<std::string>{"heard NID_VALUE_CHANGE"});
    // A bar moved by the user moves the offset; so does the wheel, by the small step (Shift:
    // large), downwards for direction 0.
    vBar.SetValue(0.5);
    EXPECT_TRUE(vBar.viewListened);
    EXPECT_DOUBLE_EQ(view.GetScrollOffset().y, 250.0);
    EXPECT_EQ(view.OnVerticalWheel(LMouseWheelParam::Create(0, 0, 0, 0)), S_OK);
    EXPECT_DOUBLE_EQ(view.GetScrollOffset().y, 260.0);
    EXPECT_EQ(view.OnVerticalWheel(LMouseWheelParam::Create(0, 0, KeyCode::kModifierShift, 1)),
              S_OK);
    EXPECT_DOUBLE_EQ(view.GetScrollOffset().y, 160.0);
    RectT<double> range;
    view.GetChildScrollRange(range, nullptr);
    EXPECT_EQ(range, (RectT<double>(0.0, 0.0, 0.0, 500.0)));

    // Step mode: 10 rows of 25 pixels, 4 visible: the bar moves by rows.
    view.SetStepMode(1, true, 25);
    view.SetClientExtent(100.0, 250.0);
    EXPECT_DOUBLE_EQ(vBar.GetValueMaximum(), 6.0);
    EXPECT_DOUBLE_EQ(vBar.small, 1.0 / 6.0);
    vBar.SetValue(0.5);
    EXPECT_DOUBLE_EQ(view.GetScrollOffset().y, 75.0);
    // A step that is not positive turns step mode off rather than dividing by it.
    view.SetStepMode(1, true, 0);
    EXPECT_FALSE(view.IsStepMode(1));
    view.SetClientExtent(100.0, 300.0);
    EXPECT_DOUBLE_EQ(vBar.GetValueMaximum(), 200.0);

    // Without a shown bar the wheel is not taken.
    view.SetClientExtent(0.0, 0.0);
    EXPECT_EQ(view.OnVerticalWheel(LMouseWheelParam::Create(0, 0, 0, 0)), S_FALSE);
    EXPECT_EQ(view.OnHorizontalWheel(LMouseWheelParam::Create(0, 0, 0, 2)), S_FALSE);
    view.GetChildScrollRange(range, nullptr);
    EXPECT_EQ(range, (RectT<double>(0.0, 0.0, 4503599627370496.0, 4503599627370496.0)));
}

TEST_F(Containers, VisibleContentRectWidensToTheMinimumViewInsideTheContent)
{
    auto& view = Open<MinimumView>("view");
    const auto resizeContent = [&](double side)
    {
        LControl& content = Find("content");
        for (std::uint32_t axis = 0; axis < 2; ++axis)
        {
            LLayoutDescriptor::PositionSpec position;
            LLayoutDescriptor::SizeSpec size;
            content.GetLayout()->GetAxisSpec(axis, position, size);
            size.absolute = side;
            content.SetAxisLayout(axis, position, size);
        }
    };
    resizeContent(1000.0);
    view.SetClientExtent(1000.0, 1000.0);
    using Case = std::tuple<PointT<double>, PointT<double>, RectT<double>>;
    const Case cases[] = {
        // No minimum, or one below the view: the offset and the client size.
        {{400.4, 300.6}, {0, 0}, {400, 301, 200, 100}},
        {{400, 300}, {150, 50}, {400, 300, 200, 100}},
        // Widened by 100 across: 50 of it left of the offset.
        {{400, 300}, {300, 50}, {350, 300, 300, 100}},
        // Never before the content's start, never past the children's far edge.
        {{20, 10}, {300, 200}, {0, 0, 300, 200}},
        {{800, 900}, {300, 300}, {700, 700, 300, 300}},
    };
    for (const auto& [offset, minimum, visible] : cases)
    {
        view.SetScrollOffset(offset);
        view.SetMinimumViewSize(minimum.x, minimum.y);
        EXPECT_EQ(view.GetVisibleContentRect(), visible) << offset.x << "," << minimum.x;
    }
    // Content narrower than the widened view: it starts at 0.
    view.SetScrollOffset({250, 0});
    resizeContent(300.0);
    view.SetMinimumViewSize(400, 0);
    EXPECT_EQ(view.GetVisibleContentRect().x, 0.0);
}

TEST_F(Containers, TabButtonsSelectPagesAndAnnounceIt)
{
    auto& tabs = Open<TestTabs>("tabs");
    // The first button in tab order starts selected, announced once.
    EXPECT_EQ(Heard(), std::vector<std::string>{"selected two"});
    EXPECT_EQ(Narrow(tabs.GetSelectedName()), "two");
    EXPECT_EQ(tabs.GetTabCount(), 2u);
    EXPECT_FALSE(tabs.GetPageAt(tabs.GetTabCount()));
    const RCPtr<Listener> listener(new Listener());
    listener->Subscribe(RCPtr<LNotificationDistributor>(&tabs), NID_TAB_SELECTED, 0);
    LControl& holder = *tabs.FindChildByName(WideString(u"buttonHolder"));
    LControl& buttonOne = *holder.FindChildByName(WideString(u"one"));
    for (int click = 0; click < 2; ++click)
    {
        Heard().clear();
        Click(buttonOne);
        EXPECT_EQ(Heard(), (std::vector<std::string>{"selected one", "heard NID_TAB_SELECTED"}));
    }
    EXPECT_EQ(tabs.GetSelectedIndex(), 0);
    EXPECT_TRUE(tabs.GetSelectedPage()->IsShowing(false));
    EXPECT_FALSE(tabs.GetPage(WideString(u"two"))->IsShowing(false));
    EXPECT_DOUBLE_EQ(buttonOne.GetValue(), 1.0);
    EXPECT_DOUBLE_EQ(holder.FindChildByName(WideString(u"two"))->GetValue(), 0.0);
    // A button without a page hides every page; a new skin keeps the selected tab.
    EXPECT_EQ(tabs.SelectTab(WideString(u"three")), S_OK);
    EXPECT_EQ(tabs.GetSelectedIndex(), -1);
    EXPECT_FALSE(tabs.GetPageAt(0)->IsShowing(false) || tabs.GetPageAt(1)->IsShowing(false));
    EXPECT_EQ(tabs.SelectTabAt(2), E_FAIL);
    tabs.SelectTab(WideString(u"one"));
    EXPECT_EQ(mFactory->ApplySkinTo(RCPtr<LControl>(&tabs)), S_OK);
    EXPECT_EQ(Narrow(tabs.GetSelectedName()), "one");
    // Without a button holder the tab control cannot be made.
    RCPtr<LControl> broken;
    mFactory->CreateRootControl(broken, WideString(u"noButtons"));
    EXPECT_FALSE(broken);
}

TEST_F(Containers, StandardButtonsEndTheDialogUnlessAListenerCancels)
{
    struct Case
    {
        const char* button;
        std::int32_t result;
    };
    const Case cases[] = {{"buttonOK", 1},    {"buttonClose", 1}, {"buttonCancel", 2},
                          {"buttonAbort", 3}, {"buttonRetry", 4}, {"buttonIgnore", 5},
                          {"buttonYes", 6},   {"buttonNo", 7}};
    for (const Case& c : cases)
    {
        LDialog& dialog = Open<LDialog>("dialog");
        // Each other name in turn becomes the dialog's second button.
        if (std::string(c.button) != "buttonOK")
        {
            dialog.GetChildren().RenameChild(RCPtr<LControl>(&Find("buttonNo")),
                                             WideString(c.button));
            dialog.Unsubscribe(RCPtr<LNotificationDistributor>(&Find(c.button)), NID_LEFT_CLICK);
            dialog.Initialize();
        }
        const RCPtr<Listener> listener(new Listener());
        listener->Subscribe(RCPtr<LNotificationDistributor>(&dialog), NID_DIALOG_CLOSING, 0);
        listener->Subscribe(RCPtr<LNotificationDistributor>(&dialog), NID_DIALOG_CLOSED, 0);
        mShell->user = [&] { Click(Find(c.button)); };
        Heard().clear();
        EXPECT_EQ(dialog.DoModal(), c.result) << c.button;
        EXPECT_EQ(Heard(), (std::vector<std::string>{"modal 1", "heard NID_DIALOG_CLOSING",
                                                     "heard NID_DIALOG_CLOSED"}))
            << c.button;
        EXPECT_EQ(Focused() == c.button, c.result == 1) << c.button;
    }
    // A listener that cancels keeps the dialog open; nothing closes, the result stays stored.
    LDialog& dialog = Open<LDialog>("dialog");
    const RCPtr<Listener> listener(new Listener());
    listener->cancel = true;
    listener->Subscribe(RCPtr<LNotificationDistributor>(&dialog), NID_DIALOG_CLOSING, 0);
    listener->Subscribe(RCPtr<LNotificationDistributor>(&dialog), NID_DIALOG_CLOSED, 0);
    mServices.ended.clear();
    Heard().clear();
    Click(Find("buttonNo"));
    mWindow->Idle(false);
    EXPECT_EQ(Heard(), std::vector<std::string>{"heard NID_DIALOG_CLOSING"});
    EXPECT_TRUE(mServices.ended.empty());
    EXPECT_EQ(dialog.GetResult(), 7);
    // The OK button that cannot take the focus ends nothing.
    listener->cancel = false;
    ASSERT_EQ(Find("name").SetFocus(true), S_OK);
    dynamic_cast<Field&>(Find("name")).holdsFocus = true;
    Click(Find("buttonOK"));
    EXPECT_EQ(dialog.GetResult(), 7);
}

TEST_F(Containers, DialogKeysCancelPressTheDefaultButtonAndTheFocusedOne)
{
    constexpr std::uint32_t kReturn = 0x0D;
    constexpr std::uint32_t kEscape = 0x1B;
    constexpr std::uint32_t kSpace = 0x20;
    struct Case
    {
        const char* focused;
        std::uint32_t key;
        std::uint32_t flags;
        std::vector<std::string> heard;
        std::int32_t result;
    };
    // Enter presses the default button ("send", which does not end the dialog), Space and Enter
    // the focused button (OK ends it), Escape cancels from anywhere; with a modifier held, or
    // Space on what is not a button, nothing happens.
    const Case cases[] = {
        {"", kReturn, 0, {"heard NID_LEFT_CLICK send"}, 0},
        {"field", kReturn, 0, {"heard NID_LEFT_CLICK send"}, 0},
        {"send", kSpace, 0, {"heard NID_LEFT_CLICK send"}, 0},
        {"buttonOK", kReturn, 0, {"heard NID_LEFT_CLICK buttonOK", "heard NID_DIALOG_CLOSING"}, 1},
        {"buttonOK", kSpace, 0, {"heard NID_LEFT_CLICK buttonOK", "heard NID_DIALOG_CLOSING"}, 1},
        {"", kEscape, 0, {"heard NID_DIALOG_CLOSING"}, 2},
        {"field", kEscape, 0, {"heard NID_DIALOG_CLOSING"}, 2},
        {"", kReturn, KeyCode::kCtrl, {}, 0},
        {"field", kSpace, 0, {}, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.focused) + " " + std::to_string(c.key));
        LDialog& dialog = Open<LDialog>("keyDialog");
        const RCPtr<Listener> listener(new Listener());
        listener->Subscribe(RCPtr<LNotificationDistributor>(&dialog), NID_DIALOG_CLOSING, 0);
        for (const char* button : {"send", "buttonOK"})
        {
            listener->Subscribe(RCPtr<LNotificationDistributor>(&Find(button)), NID_LEFT_CLICK, 0);
        }
        if (*c.focused != '\0')
        {
            ASSERT_EQ(Find(c.focused).SetFocus(true), S_OK);
        }
        Heard().clear();
        mWindow->DeliverKey({KeyCode::kKeyDown | (c.key << 16) | c.flags, 0, 0});
        // The field's own key hook sees the key first and leaves it.
        std::erase_if(Heard(), [](const std::string& line) { return line.starts_with("field:"); });
        EXPECT_EQ(Heard(), c.heard);
        EXPECT_EQ(dialog.GetResult(), c.result);
    }
}

} // namespace
} // namespace QZ::ToolkitTest
