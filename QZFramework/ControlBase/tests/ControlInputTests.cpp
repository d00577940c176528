// Pointer, focus and condition handling of controls, driven through a root window whose
// operating-system window is a fake, with the application clock under the test's control.
#include "QZFramework/ControlBase/PopupMenuInterface.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/SiblingKeyParam.h"
#include "QZFramework/ControlBase/ToolTipInterface.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

std::vector<std::string>& InputLog()
{
    static std::vector<std::string> log;
    return log;
}

void Log(const LControl& control, const std::string& what)
{
    InputLog().push_back(Narrow(control.GetName()) + ":" + what);
}

// Opaque everywhere, so hit tests find it; it stands in for the tooltip and popup menu too.
class Probe : public LControl, public IToolTip, public IPopupMenu
{
public:
    Probe(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LControl(parent, name, mostDerived)
    {
    }

    bool IsTransparentAt(const PointT<long>&) const override { return false; }
    bool CanReleaseFocus() override { return !refusesRelease; }
    QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>&) override { return Wheel(); }
    QZRESULT OnHorizontalWheel(const RCPtr<LMouseWheelParam>&) override { return Wheel(); }
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        if (std::u16string_view(notification->GetID()) == NID_SIBLING_KEY)
        {
            Log(*this, "sibling");
            RCPtr<LSiblingKeyParam>::DynamicCastFrom(notification->GetPayload())
                ->SetPosition(takesKeys ? 0 : 1);
        }
        LControl::ReceiveNotification(sender, notification);
    }
    void OnIdleStep() override { Log(*this, "idle"); }
    void OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press) override
    {
        if (press->GetFlag())
        {
            Log(*this, "double");
        }
    }
    void Show() override
    {
        std::string shown = "show ";
        shown += Narrow(GetText());
        Log(*this, shown);
    }
    void Hide() override { Log(*this, "hide"); }
    void SetMenuDescriptor(const RCPtr<LMenuDescriptor>&) override
    {
        Log(*this, IsShowing(false) ? "menu while shown" : "menu");
    }
    void ShowAtMouse() override { Log(*this, "show at mouse"); }
    void SetFlick(double x, double y) { mFlickVelocity = {x, y}; }

    bool takesWheel = false;
    bool refusesRelease = false;
    bool takesKeys = false;
    int wheelOffers = 0;

private:
    QZRESULT Wheel()
    {
        // A walk that offers the step again and again is stopped here, so that it fails.
        if (++wheelOffers > 50)
        {
            return S_OK;
        }
        if (takesWheel)
        {
            Log(*this, "wheel");
        }
        return takesWheel ? S_OK : S_FALSE;
    }
};

// Logs every notification a control sends as "name:what", shortened: "NID_" and
// "_CONDITION_CHANGE" dropped, moves with their point.
class Recorder : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        std::string what = Narrow(WideString(notification->GetID())).substr(4);
        if (const auto suffix = what.find("_CONDITION_CHANGE"); suffix != std::string::npos)
        {
            what.erase(suffix);
        }
        if (const auto move =
                RCPtr<LPointWithModifiersParam>::DynamicCastFrom(notification->GetPayload());
            move && what == "MOUSE_MOVE")
        {
            what += Pair(std::to_string(move->GetX()), std::to_string(move->GetY()));
        }
        if (const auto value = RCPtr<LValueParam>::DynamicCastFrom(notification->GetPayload()))
        {
            what +=
                Pair(std::to_string(value->GetPosition()), std::to_string(value->GetScaledValue()));
        }
        Log(*dynamic_cast<LControl*>(sender.Get()), what);
    }

private:
    static std::string Pair(const std::string& first, const std::string& second)
    {
        std::ostringstream text;
        text << '(' << first << ',' << second << ')';
        return text.str();
    }
};

constexpr const char16_t* kRecorded[] = {NID_CONDITION_CHANGE,
                                         NID_HAS_FOCUS_CONDITION_CHANGE,
                                         NID_CONTAINS_FOCUS_CONDITION_CHANGE,
                                         NID_HOVER_CONDITION_CHANGE,
                                         NID_CAPTURE_CONDITION_CHANGE,
                                         NID_LEFT_DRAG_CONDITION_CHANGE,
                                         NID_RIGHT_DRAG_CONDITION_CHANGE,
                                         NID_ENABLED_CONDITION_CHANGE,
                                         NID_VISIBLITY_CONDITION_CHANGE,
                                         NID_MOUSE_DOWN,
                                         NID_MOUSE_MOVE,
                                         NID_MOUSE_UP,
                                         NID_LEFT_CLICK,
                                         NID_RIGHT_CLICK,
                                         NID_VALUE_CHANGE};

// main (200 x 100) holds panel at (10, 10) with a (its own 0, 0), b (50, 0), c (0, 30) and
// d (50, 30), 40 x 20 each, in tab order b, a, c, d; and float, drawn above them at (40, 5),
// 40 x 40, not clipped to main. All but d and float take the focus.
constexpr std::string_view kSkin = R"(<Korvane_Skin_Definitions><Skin Name="Input">
  <SubControl Class="Test.Probe" Name="main" XSizeAbs="200" YSizeAbs="100">
    <SubControl Class="Test.Probe" Name="panel" XPositionAbs="10" YPositionAbs="10"
                XSizeAbs="100" YSizeAbs="60">
      <SubControl Class="Test.Probe" Name="a" XSizeAbs="40" YSizeAbs="20" TabStop="2"/>
      <SubControl Class="Test.Probe" Name="b" XPositionAbs="50" XSizeAbs="40" YSizeAbs="20"
                  TabStop="1"/>
      <SubControl Class="Test.Probe" Name="c" YPositionAbs="30" XSizeAbs="40" YSizeAbs="20"
                  TabStop="3"/>
      <SubControl Class="Test.Probe" Name="d" XPositionAbs="50" YPositionAbs="30" XSizeAbs="40"
                  YSizeAbs="20" TabStop="4"/>
    </SubControl>
    <SubControl Class="Test.Probe" Name="float" ClipToParent="False" Z_Order="5"
                XPositionAbs="40" YPositionAbs="5" XSizeAbs="40" YSizeAbs="40"/>
  </SubControl>
  <SubControl Class="Test.Probe" Name="toolTip" TabStop="-1"/>
  <SubControl Class="Test.Probe" Name="contextMenu" TabStop="-1"/>
</Skin></Korvane_Skin_Definitions>)";

// A list whose rows do not clip to it: row 1 holds a label, row 2 a cell holding a label, each
// 20 x 10 at the row's corner.
constexpr std::string_view kListSkin = R"(<Korvane_Skin_Definitions><Skin Name="List">
  <SubControl Class="Test.Probe" Name="main" XSizeAbs="200" YSizeAbs="100">
    <SubControl Class="Test.Probe" Name="list" XSizeAbs="200" YSizeAbs="100">
      <SubControl Class="Test.Probe" Name="row1" ClipToParent="False" XPositionAbs="10"
                  YPositionAbs="10" XSizeAbs="100" YSizeAbs="30">
        <SubControl Class="Test.Probe" Name="label1" XSizeAbs="20" YSizeAbs="10"/>
      </SubControl>
      <SubControl Class="Test.Probe" Name="row2" ClipToParent="False" XPositionAbs="10"
                  YPositionAbs="50" XSizeAbs="100" YSizeAbs="30">
        <SubControl Class="Test.Probe" Name="cell" XSizeAbs="40" YSizeAbs="20">
          <SubControl Class="Test.Probe" Name="label2" XSizeAbs="20" YSizeAbs="10"/>
        </SubControl>
      </SubControl>
    </SubControl>
  </SubControl>
  <SubControl Class="Test.Probe" Name="toolTip" TabStop="-1"/>
  <SubControl Class="Test.Probe" Name="contextMenu" TabStop="-1"/>
</Skin></Korvane_Skin_Definitions>)";

class ControlInput : public RootWindowFixture
{
protected:
    void SetUp() override { Open(kSkin); }

    void Open(std::string_view skin)
    {
        Register<Probe>(u"Test.Probe");
        LoadSkin(skin);
        mServices.width = 200;
        mServices.height = 100;
        ASSERT_NO_FATAL_FAILURE(OpenRoot(u"main"));
        // Only controls with a tab stop take the focus, as the skin's create parameters would
        // have it.
        for (const char* name : {"d", "float"})
        {
            if (Probe* probe = Find(name))
            {
                probe->SetNotFocusable(true);
            }
        }
        Listen(mWindow->GetRootControl());
        InputLog().clear();
    }

    Probe* Find(const char* name)
    {
        return dynamic_cast<Probe*>(
            FindDescendant(mWindow->GetRootControl(), WideString(name)).Get());
    }

    void Listen(const RCPtr<LControl>& control)
    {
        for (const char16_t* identifier : kRecorded)
        {
            mRecorder->Subscribe(RCPtr<LNotificationDistributor>(control), identifier, 0);
        }
        for (std::uint32_t i = 0; i < control->GetChildren().GetCount(); ++i)
        {
            Listen(control->GetChildren().GetAt(i, LControl::kStorageOrder));
        }
    }

    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> log;
        log.swap(InputLog());
        return log;
    }

    RCPtr<Recorder> mRecorder{new Recorder()};
};

using Log_ = std::vector<std::string>;

TEST_F(ControlInput, PointerSequenceGivesNotificationsInOrder)
{
    Move(15, 15);
    EXPECT_EQ(TakeLog(), (Log_{"a:CONDITION_CHANGE", "a:HOVER", "a:MOUSE_MOVE(5,5)"}));
    Press(15, 15, 1);
    EXPECT_EQ(TakeLog(),
              (Log_{"main:CONDITION_CHANGE", "main:CONTAINS_FOCUS", "panel:CONDITION_CHANGE",
                    "panel:CONTAINS_FOCUS", "a:CONDITION_CHANGE", "a:HAS_FOCUS", "a:MOUSE_DOWN",
                    "a:CONDITION_CHANGE", "a:CAPTURE", "a:LEFT_DRAG"}));
    EXPECT_EQ(mWindow->GetCapture().Get(), Find("a"));
    EXPECT_EQ(mWindow->GetFocusedControl().Get(), Find("a"));
    Release(15, 15, 1);
    EXPECT_EQ(TakeLog(), (Log_{"a:MOUSE_UP", "a:CONDITION_CHANGE", "a:CAPTURE", "a:LEFT_DRAG",
                               "a:LEFT_CLICK"}));
    EXPECT_FALSE(mWindow->GetCapture());

    // A press on a disabled control is not taken; the window moves nothing.
    Find("b")->SetEnabled(false);
    TakeLog();
    Move(95, 15);
    Press(95, 15, 1);
    Release(95, 15, 1);
    EXPECT_EQ(TakeLog(), (Log_{"a:CONDITION_CHANGE", "a:HOVER", "b:CONDITION_CHANGE", "b:HOVER",
                               "b:MOUSE_MOVE(35,5)"}));

    // Hiding the hovered control hands the hover to what lies under the pointer; losing the
    // keyboard ends a press.
    Move(15, 15);
    Find("a")->SetShown(false);
    EXPECT_EQ(mWindow->GetHoveredControl().Get(), Find("panel"));
    EXPECT_TRUE(Find("panel")->IsHovered());
    EXPECT_FALSE(Find("a")->IsHovered());
    Press(15, 15, 1);
    EXPECT_EQ(mWindow->GetCapture().Get(), Find("panel"));
    mWindow->OnDeactivated();
    EXPECT_FALSE(mWindow->GetCapture());
    EXPECT_FALSE(Find("panel")->HasCapture());
}

TEST_F(ControlInput, PressBecomesDragAtTheThresholdAndReleaseClicksOnlyOverTheControl)
{
    struct Case
    {
        std::int32_t threshold;
        std::int32_t dragMode;
        long releaseX;
        Log_ log;
    };
    // The release ends the press or drag again (a second "LEFT_DRAG").
    const Case cases[] = {
        // One pixel starts the drag; its first move carries the press point.
        {1,
         0,
         16,
         {"a:MOUSE_MOVE(5,5)", "a:LEFT_DRAG", "a:MOUSE_MOVE(6,5)", "a:LEFT_DRAG", "a:LEFT_CLICK"}},
        {3, 0, 16, {"a:MOUSE_MOVE(6,5)", "a:LEFT_DRAG", "a:LEFT_CLICK"}},
        // Every press is a drag at once; a drag with a drag mode ends in no click.
        {0, 1, 16, {"a:MOUSE_MOVE(6,5)", "a:LEFT_DRAG"}},
        // Released off the control: no hover, no click.
        {3,
         0,
         150,
         {"a:MOUSE_MOVE(6,5)", "a:MOUSE_MOVE(5,5)", "a:LEFT_DRAG", "a:MOUSE_MOVE(140,5)",
          "a:LEFT_DRAG"}},
    };
    for (const Case& c : cases)
    {
        Probe& a = *Find("a");
        a.SetDragThreshold(c.threshold);
        Move(15, 15);
        Press(15, 15, 1);
        a.SetDragMode(c.dragMode, 0);
        TakeLog();
        Move(16, 15);
        if (c.releaseX != 16)
        {
            Move(c.releaseX, 15);
        }
        Release(c.releaseX, 15, 1);
        Log_ log;
        for (const std::string& entry : TakeLog())
        {
            if (entry.find("MOVE") != std::string::npos ||
                entry.find("CLICK") != std::string::npos || entry == "a:LEFT_DRAG")
            {
                log.push_back(entry);
            }
        }
        EXPECT_EQ(log, c.log) << "threshold " << c.threshold << ", release at " << c.releaseX;
        EXPECT_FALSE(a.HasCapture());
    }
}

TEST_F(ControlInput, DoubleClickAndHeldButtonsKeepTheCapture)
{
    Move(15, 15);
    Press(15, 15, 1);
    Release(15, 15, 1);
    TakeLog();
    Press(15, 15, 1, true);
    Release(15, 15, 1);
    const Log_ second = TakeLog();
    EXPECT_EQ(second.front(), "a:double");
    EXPECT_EQ(second.back(), "a:LEFT_CLICK");

    // A second button pressed during the press neither presses nor clicks; the capture stays
    // until no button is held, and the left click is dispatched all the same.
    Press(15, 15, 1);
    Press(15, 15, 4);
    TakeLog();
    Release(15, 15, 1);
    EXPECT_EQ(mWindow->GetCapture().Get(), Find("a"));
    EXPECT_EQ(TakeLog(), (Log_{"a:MOUSE_UP", "a:LEFT_CLICK"}));
    Release(15, 15, 4);
    EXPECT_FALSE(mWindow->GetCapture());
    EXPECT_EQ(TakeLog(), (Log_{"a:MOUSE_UP", "a:CONDITION_CHANGE", "a:CAPTURE", "a:LEFT_DRAG"}));
}

TEST_F(ControlInput, WheelStepsClimbToTheFirstControlThatTakesThem)
{
    struct Case
    {
        std::vector<const char*> takers;
        long x;
        long y;
        QZRESULT result;
        Log_ log;
    };
    const Case cases[] = {
        {{"panel", "main"}, 15, 15, S_OK, {"panel:wheel"}},
        {{}, 15, 15, S_FALSE, {}},
        // Float does not clip to its parent: the step goes to what lies under it.
        {{"b", "panel"}, 70, 20, S_OK, {"b:wheel"}},
        {{"main"}, 70, 20, S_OK, {"main:wheel"}},
        // Nobody under the point takes it: the fallback control does.
        {{"a"}, 150, 80, S_OK, {"a:wheel"}},
    };
    mWindow->SetWheelFallback(RCPtr<LControl>(Find("a")));
    for (const Case& c : cases)
    {
        for (const char* name : {"main", "panel", "a", "b", "float"})
        {
            Find(name)->takesWheel = false;
        }
        for (const char* name : c.takers)
        {
            Find(name)->takesWheel = true;
        }
        TakeLog();
        for (const std::uint32_t direction : {0u, 3u})
        {
            EXPECT_EQ(
                mWindow->DispatchWheel(LMouseWheelParam::Create(
                    static_cast<std::int32_t>(c.x), static_cast<std::int32_t>(c.y), 0, direction)),
                c.result);
            EXPECT_EQ(TakeLog(), c.log) << c.x << "," << c.y;
        }
        EXPECT_FALSE(Find("float")->IsHitTestPassOver());
    }
    EXPECT_EQ(Find("a")->OnMouseWheel(RCPtr<LMouseWheelParam>()), -1);
}

// Over a label inside a row that does not clip to its list, each control is offered a step at
// most once and the walk ends, also when the hit test past a row lands inside it again.
TEST_F(ControlInput, WheelWalkPastRowsOffersEachControlOnce)
{
    TearDown();
    Open(kListSkin);
    const char* const names[] = {"main", "list", "row1", "label1", "row2", "cell", "label2"};
    for (const auto& [x, y, taker] : {std::tuple{15L, 15L, ""}, std::tuple{15L, 55L, ""},
                                      std::tuple{15L, 55L, "list"}})
    {
        SCOPED_TRACE(std::to_string(y) + taker);
        for (const char* name : names)
        {
            Find(name)->wheelOffers = 0;
            Find(name)->takesWheel = std::string_view(name) == taker;
        }
        TakeLog();
        const QZRESULT result = mWindow->DispatchWheel(LMouseWheelParam::Create(x, y, 0, 0));
        EXPECT_EQ(result, *taker != 0 ? S_OK : S_FALSE);
        for (const char* name : names)
        {
            EXPECT_LE(Find(name)->wheelOffers, 1) << name;
        }
        EXPECT_EQ(Find("list")->wheelOffers, 1);
        EXPECT_EQ(TakeLog(), *taker != 0 ? Log_{"list:wheel"} : Log_{});
    }
}

TEST_F(ControlInput, FocusLeavesHiddenOrDisabledControlsAndAlwaysEnds)
{
    struct Case
    {
        std::vector<const char*> notFocusable;
        const char* change;
        const char* focused;
    };
    const Case cases[] = {
        {{}, "hide a", "b"},
        {{"b", "c"}, "disable a", "panel"},
        {{"b", "c", "panel"}, "hide a", "main"},
        // Nothing else can take the focus: the request ends where it began.
        {{"b", "c", "panel", "main"}, "disable a", "a"},
        {{"b", "c", "panel", "main"}, "hide panel", "a"},
    };
    for (const Case& c : cases)
    {
        TearDown();
        SetUp();
        // a takes the focus on its own, whatever its ancestors say.
        Find("a")->SetFocusInheritanceStop(true);
        for (const char* name : c.notFocusable)
        {
            Find(name)->SetNotFocusable(true);
        }
        ASSERT_EQ(Find("a")->SetFocus(true), S_OK);
        const std::string change = c.change;
        Probe& target = *Find(change.substr(change.find(' ') + 1).c_str());
        change[0] == 'h' ? (void)target.SetShown(false) : target.SetEnabled(false);
        EXPECT_EQ(Narrow(mWindow->GetFocusedControl()->GetName()), c.focused) << change;
        const Probe& focused = *Find(c.focused);
        EXPECT_TRUE(focused.HasFocus()) << change;
        EXPECT_EQ(Find("main")->ContainsFocus(), focused.GetParent() != nullptr) << change;
    }
    TearDown();
    SetUp();
    // A container hands the focus to its last or first child in tab order; a holder that will
    // not let go keeps it.
    Probe& a = *Find("a");
    Probe& b = *Find("b");
    Find("c")->SetNotFocusable(true);
    EXPECT_EQ(Find("panel")->SetFocus(false), S_OK);
    EXPECT_TRUE(a.HasFocus());
    a.refusesRelease = true;
    EXPECT_EQ(b.SetFocus(true), E_FAIL);
    EXPECT_TRUE(a.HasFocus());
    a.refusesRelease = false;
    Find("main")->KillFocus();
    EXPECT_FALSE(a.HasFocus() || Find("panel")->ContainsFocus());
    EXPECT_EQ(Find("panel")->SetFocus(true), S_OK);
    EXPECT_TRUE(b.HasFocus());
    EXPECT_EQ(mWindow->GetPreviousFocusedControl().Get(), &a);
}

TEST_F(ControlInput, ConditionsAnnounceOnlyChangesAndRippleToTheChildren)
{
    Probe& a = *Find("a");
    a.UpdateConditions();
    a.OnMouseEnter();
    a.SetHighlighted(true);
    EXPECT_EQ(TakeLog(), (Log_{"a:CONDITION_CHANGE", "a:HOVER"}));
    Find("panel")->SetEnabled(false);
    EXPECT_EQ(TakeLog(), (Log_{"panel:CONDITION_CHANGE", "panel:ENABLED", "d:CONDITION_CHANGE",
                               "d:ENABLED", "c:CONDITION_CHANGE", "c:ENABLED", "b:CONDITION_CHANGE",
                               "b:ENABLED", "a:CONDITION_CHANGE", "a:ENABLED"}));
    EXPECT_EQ(a.GetConditionFlags(),
              LControl::kPointerOver | LControl::kVisible | LControl::kHover);

    // The cursor follows the hover, and comes back only once the capture ends too.
    Find("panel")->SetEnabled(true);
    Probe& b = *Find("b");
    b.SetCursor(kCursorHand);
    Move(95, 15);
    Press(95, 15, 1);
    Move(150, 80);
    EXPECT_EQ(mServices.cursors, (std::vector<LCursor>{kCursorHand}));
    Release(150, 80, 1);
    EXPECT_EQ(mServices.cursors, (std::vector<LCursor>{kCursorHand, kNoCursor}));
}

TEST_F(ControlInput, ValuesClampMapAndAnnounceOnlyChanges)
{
    struct Mapping
    {
        double position;
        double minimum;
        double maximum;
        std::int32_t scale;
        double value;
    };
    const double huge = std::numeric_limits<double>::max();
    const Mapping mappings[] = {
        {0.5, 0.0, 100.0, 0, 50.0},  {0.5, 20.0, 20000.0, 1, 632.45553203367592},
        {0.25, 100.0, 0.0, 0, 75.0}, {0.3, 5.0, 5.0, 1, 5.0},
        {0.5, 0.0, 100.0, 1, 50.0}, // logarithmic with a bound at 0 maps linearly
        {1.0, -huge, huge, 0, huge}, {0.5, std::numeric_limits<double>::infinity(), 1.0, 0, 0.0},
    };
    for (const Mapping& m : mappings)
    {
        EXPECT_DOUBLE_EQ(LControl::MapPositionToValue(m.position, m.minimum, m.maximum, m.scale),
                         m.value)
            << m.minimum << ".." << m.maximum;
    }
    Probe& a = *Find("a");
    EXPECT_EQ(a.SetValueRange(0.0, std::numeric_limits<double>::infinity(), 0), E_INVALIDARG);
    ASSERT_EQ(a.SetValueRange(20.0, 20000.0, 1), S_OK);
    EXPECT_EQ(a.SetValue(-0.5), 0.0);
    EXPECT_EQ(a.SetValue(7.0), 1.0);
    EXPECT_EQ(a.SetValue(1.0), 1.0);
    EXPECT_EQ(a.SetValue(std::nan("")), 1.0);
    EXPECT_EQ(a.SetValue(0.5), 0.5);
    EXPECT_EQ(TakeLog(), (Log_{"a:VALUE_CHANGE(1.000000,20000.000000)",
                               "a:VALUE_CHANGE(0.500000,632.455532)"}));
}

TEST_F(ControlInput, SiblingKeysTravelBackwardsInTabOrderThenOutside)
{
    const RCPtr<LControl> panel(Find("panel"));
    const RCPtr<LKeyParam> key = LKeyParam::Create(KeyCode::FromChar(u'x', 0), true);
    EXPECT_EQ(panel->SendSiblingKey(key), S_FALSE);
    for (const char* name : {"d", "c", "b", "a", "float"})
    {
        Find(name)->Subscribe(RCPtr<LNotificationDistributor>(panel), NID_SIBLING_KEY, 0);
    }
    key->GetControls().push_back(RCPtr<LControl>(Find("c")));
    TakeLog();
    EXPECT_EQ(panel->SendSiblingKey(key), S_FALSE);
    EXPECT_EQ(TakeLog(), (Log_{"a:sibling", "b:sibling", "d:sibling", "float:sibling"}));
    Find("b")->takesKeys = true;
    EXPECT_EQ(panel->SendSiblingKey(key), S_OK);
    EXPECT_EQ(TakeLog(), (Log_{"a:sibling", "b:sibling"}));
}

TEST_F(ControlInput, ToolTipsAndContextMenusComeFromTheSkinOnce)
{
    Probe& b = *Find("b");
    b.SetContextMenu(RCPtr<LMenuDescriptor>(new LMenuDescriptor()));
    Move(95, 15);
    Press(95, 15, 4);
    Release(95, 15, 4);
    const Log_ log = TakeLog();
    EXPECT_EQ(Log_(log.end() - 3, log.end()),
              (Log_{"b:RIGHT_CLICK", "contextMenu:menu", "contextMenu:show at mouse"}));

    Probe& a = *Find("a");
    a.UpdateToolTip(true);
    EXPECT_EQ(TakeLog(), Log_{});
    for (const char* text : {"hint", "next hint"})
    {
        a.SetToolTipText(WideString(text));
        a.UpdateToolTip(true);
    }
    a.UpdateToolTip(false);
    EXPECT_EQ(TakeLog(), (Log_{"toolTip:show hint", "toolTip:show next hint", "toolTip:hide"}));
    EXPECT_EQ(a.GetChildren().GetCount(), 1u);
}

TEST_F(ControlInput, IdleRequestsAreCountedAndNeverGoBelowZero)
{
    const RCPtr<Probe> held(Find("a"));
    Probe& a = *held;
    const auto idle = [this]
    {
        mWindow->Idle(true);
        return TakeLog();
    };
    a.RequestIdle();
    a.RequestIdle();
    EXPECT_EQ(idle(), Log_{"a:idle"});
    a.ReleaseIdle();
    EXPECT_EQ(idle(), Log_{"a:idle"});
    a.ReleaseIdle();
    a.ReleaseIdle();
    EXPECT_EQ(a.GetIdleRequestCount(), 0);
    EXPECT_EQ(idle(), Log_{});
    a.RequestIdle();
    EXPECT_EQ(idle(), Log_{"a:idle"});
    mWindow->Idle(false);
    EXPECT_EQ(TakeLog(), Log_{});

    // Destroyed: out of the tree, with its requests given back.
    a.Destroy();
    EXPECT_EQ(TakeLog(), (Log_{"a:CONDITION_CHANGE", "a:VISIBLITY"}));
    EXPECT_EQ(a.GetIdleRequestCount(), 0);
    EXPECT_EQ(Find("a"), Find("main"));
    EXPECT_EQ(idle(), Log_{});

    // A control that cannot subscribe (it was never initialised) keeps no count.
    const RCPtr<LControl> bare(new Probe(RCPtr<LControl>(Find("main")), WideString(u"bare"), true));
    bare->RequestIdle();
    EXPECT_EQ(bare->GetIdleRequestCount(), 0);

    // A request made before the control has a window waits for one.
    RCPtr<LControl> loose;
    mFactory->CreateControl(loose, mFactory->FindSkinSubControl(WideString(u"toolTip")), nullptr);
    loose->RequestIdle();
    FakeWindow services;
    RCPtr<LRootWindow> other(new LRootWindow(&services));
    other->SetRootControl(loose);
    other->Idle(true);
    EXPECT_EQ(TakeLog(), Log_{"toolTip:idle"});
}

TEST_F(ControlInput, FlicksScrollOnlyWhenFastAndReleasedSoon)
{
    struct Case
    {
        double velocity;
        std::uint32_t afterMove;
        bool scrolls;
    };
    const Case cases[] = {
        {1000.0, 99, true}, {-1500.0, 0, true}, {999.9, 0, false}, {2000.0, 100, false}};
    Probe& a = *Find("a");
    a.SetDragThreshold(0);
    for (const Case& c : cases)
    {
        Move(15, 15);
        Press(15, 15, 1);
        a.SetDragMode(6, 3);
        a.SetFlick(c.velocity, c.velocity);
        Move(16, 15);
        Clock().now += c.afterMove;
        Release(16, 15, 1);
        for (std::uint32_t axis = 0; axis < 2; ++axis)
        {
            EXPECT_EQ(a.IsAutoScrolling(axis), c.scrolls) << c.velocity << " " << c.afterMove;
        }
        EXPECT_EQ(a.GetIdleRequestCount(), c.scrolls ? 2 : 0);
        // The next press stops it again.
        Press(15, 15, 1);
        Release(15, 15, 1);
        EXPECT_FALSE(a.IsAutoScrolling(0) || a.IsAutoScrolling(1));
    }
    EXPECT_EQ(a.StartAutoScroll(0, 10.0, 100.0, 0.0, RCPtr<LControl>()), S_OK);
    EXPECT_EQ(a.StopAutoScroll(0), S_OK);
    EXPECT_EQ(a.StopAutoScroll(0), S_FALSE);
}

} // namespace
} // namespace QZ::ToolkitTest
