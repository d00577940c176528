// Moving, resizing, dragging and dropping and panning controls with the pointer, with edge
// scrolling and flicks run on idle steps of a fake clock.
#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

std::vector<std::string>& DragLog()
{
    static std::vector<std::string> log;
    return log;
}

constexpr LCursor kDropMove = 1;
constexpr LCursor kNoDrop = 2;

// Tells the drop cursors apart (the desktop's pointers may draw both as the arrow).
class DragApplication : public ClockApplication
{
public:
    [[nodiscard]] CursorHandle GetCursor(const char16_t* name) const override
    {
        const std::u16string_view text(name);
        return text == UI_CURSOR_DROP_MOVE ? kDropMove : text == UI_CURSOR_NO_DROP ? kNoDrop : 99;
    }
};

// Opaque, so hit tests find it; takes the drag mode it is given when a drag starts.
class DragProbe : public LControl
{
public:
    DragProbe(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LControl(parent, name, mostDerived)
    {
    }

    bool IsTransparentAt(const PointT<long>&) const override { return false; }
    bool AcceptsDrop(const RCPtr<LControl>&) const override { return acceptsDrops; }
    std::uint32_t GetDropAutoScrollEdges(const RCPtr<LControl>&) override { return edges; }
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override
    {
        if ((conditions->GetConditions() & ~conditions->GetPreviousConditions() & kLeftDrag) != 0)
        {
            SetDragMode(mode, option);
        }
    }
    void OnDragEnter(const RCPtr<LControl>&) override { Log("enter"); }
    void OnDragLeave(const RCPtr<LControl>&) override { Log("leave"); }
    void OnDrop(const RCPtr<LControl>&) override
    {
        Log(IsAutoScrolling(0) ? "drop while scrolling" : "drop");
    }
    void OnDropped(const RCPtr<LControl>&) override { Log("dropped"); }
    void SetFlick(double velocity) { mFlickVelocity = {velocity, 0.0}; }

    std::int32_t mode = 0;
    std::int32_t option = 0;
    bool acceptsDrops = false;
    std::uint32_t edges = 0;

private:
    void Log(const char* what) { DragLog().push_back(Narrow(GetName()) + ":" + what); }
};

// main (200 x 100) holds holder (100 x 60 at 0, 0) with box (20 x 20 at 20, 10), and the drop
// areas left (100 x 40 at 0, 60) and right (100 x 40 at 100, 60).
constexpr std::string_view kSkin = R"(<Korvane_Skin_Definitions><Skin Name="Drag">
  <SubControl Class="Test.Drag" Name="main" XSizeAbs="200" YSizeAbs="100">
    <SubControl Class="Test.Drag" Name="holder" XSizeAbs="100" YSizeAbs="60">
      <SubControl Class="Test.Drag" Name="box" XPositionAbs="20" YPositionAbs="10"
                  XSizeAbs="20" YSizeAbs="20"/>
    </SubControl>
    <SubControl Class="Test.Drag" Name="left" YPositionAbs="60" XSizeAbs="100" YSizeAbs="40"/>
    <SubControl Class="Test.Drag" Name="right" XPositionAbs="100" YPositionAbs="60"
                XSizeAbs="100" YSizeAbs="40"/>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

class ControlDrag : public RootWindowFixture
{
protected:
    void SetUp() override
    {
        UseApplication<DragApplication>();
        Register<DragProbe>(u"Test.Drag");
        LoadSkin(kSkin);
        mServices.width = 200;
        mServices.height = 100;
        Rebuild();
    }

    void Rebuild()
    {
        OpenRoot(u"main");
        mServices.cursors.clear();
        DragLog().clear();
    }

    DragProbe& Find(const char* name)
    {
        return dynamic_cast<DragProbe&>(
            *FindDescendant(mWindow->GetRootControl(), WideString(name)));
    }

    // Starts a drag of the box in the mode, pressing at the point.
    void Grab(std::int32_t mode, std::int32_t option, long x, long y)
    {
        Find("box").mode = mode;
        Find("box").option = option;
        Move(x, y);
        Press(x, y);
    }
    void Idle(std::uint32_t milliseconds)
    {
        Clock().now += milliseconds;
        mWindow->Idle(true);
    }
};

RectT<double> Rect(const LControl& control)
{
    return {control.GetPosition().x, control.GetPosition().y, control.GetSize().x,
            control.GetSize().y};
}

TEST_F(ControlDrag, MoveAndResizeKeepThePressInTheParentAndTheSizeAtLeastOnePixel)
{
    struct Case
    {
        const char* what;
        std::int32_t mode;
        std::int32_t option;
        long pressX, pressY, toX, toY;
        RectT<double> expected;
    };
    const Case cases[] = {
        {"move along x only", 2, 0x1, 25, 15, 55, 40, {50, 10, 20, 20}},
        {"move stops where the press leaves the parent", 2, 0x3, 25, 15, 150, 90, {95, 55, 20, 20}},
        {"edge-scrolled move held by the same bounds", 3, 0x3, 25, 15, 0, 0, {-5, -5, 20, 20}},
        {"right edge dragged past the left edge", 4, 0x4, 35, 15, 0, 15, {20, 10, 1, 20}},
        {"left edge dragged past the right edge", 4, 0x8, 25, 15, 90, 15, {39, 10, 1, 20}},
        {"left edge moves, right edge stays", 4, 0x8, 25, 15, 5, 15, {0, 10, 40, 20}},
        {"bottom edge dragged past the top", 5, 0x20, 25, 25, 25, 0, {20, 10, 20, 1}},
        {"top edge dragged past the bottom", 4, 0x10, 25, 15, 25, 59, {20, 29, 20, 1}},
        {"both edges of one axis: the right one wins", 4, 0xc, 35, 15, 45, 15, {20, 10, 30, 20}},
    };
    for (const Case& c : cases)
    {
        Rebuild();
        Grab(c.mode, c.option, c.pressX, c.pressY);
        Move(c.toX, c.toY);
        EXPECT_EQ(Rect(Find("box")), c.expected) << c.what;
        Release(c.toX, c.toY);
        EXPECT_EQ(Rect(Find("box")), c.expected) << c.what << " (released)";
    }
}

TEST_F(ControlDrag, EdgeScrollingRunsAtDistanceRatesOnIdleSteps)
{
    struct Case
    {
        const char* what;
        long toX;
        std::uint32_t stepMs;
        int steps;
        double scrolled;
    };
    // Press 5 pixels into the box at x 25: the right margin starts where the pointer is at 70.
    const Case cases[] = {
        {"outside the margin", 60, 100, 3, 0.0},
        {"15 pixels into the margin: 240 px/s", 85, 100, 3, 72.0},
        {"29 pixels in: 450 px/s", 99, 100, 2, 90.0},
        {"at the margin: 15 px/s still moves at the 33 ms idle rate", 70, 33, 20, 10.0},
    };
    for (const Case& c : cases)
    {
        Rebuild();
        DragProbe& holder = Find("holder");
        Grab(3, 0x1, 25, 15);
        Move(c.toX, 15);
        EXPECT_EQ(holder.IsAutoScrolling(0), c.scrolled != 0.0) << c.what;
        EXPECT_FALSE(holder.IsAutoScrolling(1)) << c.what;
        for (int i = 0; i < c.steps; ++i)
        {
            Idle(c.stepMs);
        }
        EXPECT_EQ(holder.GetScrollOffset().x, c.scrolled) << c.what;
        // The dragged control followed the content: still under the pointer at the same spot.
        EXPECT_EQ(Find("box").GetAbsolutePosition().x, c.toX - 5.0) << c.what;
        // Back out of the margin, the scrolling stops; so does it when the drag ends.
        Move(60, 15);
        EXPECT_FALSE(holder.IsAutoScrolling(0)) << c.what;
        Move(c.toX, 15);
        Release(c.toX, 15);
        EXPECT_FALSE(holder.IsAutoScrolling(0)) << c.what;
        EXPECT_EQ(holder.GetIdleRequestCount(), 0) << c.what;
        const PointT<double> box = Find("box").GetPosition();
        Idle(100);
        EXPECT_EQ(Find("box").GetPosition(), box) << c.what;
    }
}

TEST_F(ControlDrag, PanMeasuresSpeedAndAFlickCoastsThenSlowsDown)
{
    DragProbe& box = Find("box");
    Grab(6, 1, 25, 15);
    Move(26, 15);
    struct Step
    {
        std::uint32_t afterMs;
        long dx;
        double velocity;
    };
    // Moves 0.2 s or more apart give their own speed; closer ones the mean with the last one.
    const Step steps[] = {
        {100, 20, 200.0}, {100, 40, 300.0}, {200, 20, 100.0}, {50, 0, 50.0}, {100, -600, -2975.0}};
    long x = 26;
    double offset = 0.0;
    for (const Step& step : steps)
    {
        Clock().now += step.afterMs;
        x += step.dx;
        // The content stops at the start of its range.
        offset = std::max(0.0, offset + static_cast<double>(step.dx));
        Move(x, 15);
        EXPECT_EQ(box.GetFlickVelocity().x, step.velocity) << step.afterMs << " " << step.dx;
        // The move that started the drag came at the time of the press: it measured nothing.
        EXPECT_EQ(box.GetScrollOffset().x, offset);
    }
    const double start = box.GetScrollOffset().x;

    // 2000 px/s for a second, then 1000 px/s less every second until it stops.
    box.SetFlick(2000.0);
    Release(x, 15);
    ASSERT_TRUE(box.IsAutoScrolling(0));
    for (int i = 1; i <= 30; ++i)
    {
        Idle(100);
        const double coasted = 200.0 * std::min(i, 10);
        const int slowing = std::max(0, i - 10);
        const double slowed = slowing * 200.0 - 10.0 * slowing * (slowing - 1) / 2.0;
        EXPECT_EQ(box.GetScrollOffset().x, start + coasted + slowed) << i;
        EXPECT_EQ(box.IsAutoScrolling(0), i < 30) << i;
    }
    EXPECT_EQ(box.GetIdleRequestCount(), 0);

    // A speed that is not a number starts no scrolling.
    for (const double velocity :
         {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
    {
        Press(30, 15);
        Move(35, 15);
        box.SetFlick(velocity);
        Release(35, 15);
        EXPECT_FALSE(box.IsAutoScrolling(0)) << velocity;
    }
}

TEST_F(ControlDrag, DropTargetsHearEnterLeaveAndDropWithTheirCursors)
{
    DragProbe& left = Find("left");
    left.acceptsDrops = true;
    left.edges = 0x4;
    Grab(1, 0x3, 25, 15);
    struct Step
    {
        long x, y;
        std::vector<std::string> log;
        std::vector<LCursor> cursors;
        bool leftScrolls;
    };
    const Step steps[] = {
        {50, 80, {"left:enter"}, {kDropMove}, false},
        {55, 80, {}, {}, false},
        // Within 30 pixels of the target's right edge: the target scrolls.
        {85, 80, {}, {}, true},
        {150, 80, {"left:leave"}, {kNoDrop}, false},
        {160, 80, {}, {}, false},
        {90, 80, {"left:enter"}, {kDropMove}, true},
    };
    for (const Step& step : steps)
    {
        Move(step.x, step.y);
        EXPECT_EQ(DragLog(), step.log) << step.x;
        EXPECT_EQ(mServices.cursors, step.cursors) << step.x;
        EXPECT_EQ(left.IsAutoScrolling(0), step.leftScrolls) << step.x;
        DragLog().clear();
        mServices.cursors.clear();
    }
    DragProbe& box = Find("box");
    EXPECT_EQ(box.GetDropTarget().Get(), &left);
    EXPECT_EQ(box.GetLayout()->clipToParent, false);
    Release(90, 80);
    EXPECT_EQ(DragLog(), (std::vector<std::string>{"left:drop", "left:dropped"}));
    EXPECT_EQ(mServices.cursors, std::vector<LCursor>{kNoCursor});
    EXPECT_FALSE(left.IsAutoScrolling(0));
    EXPECT_FALSE(box.GetDropTarget());
    // The box is back in its parent's flow where it was let go.
    EXPECT_TRUE(box.GetLayout()->clipToParent);
    EXPECT_FALSE(box.GetLayout()->position[0].docked);
    EXPECT_EQ(Rect(box), (RectT<double>{85, 75, 20, 20}));
}

TEST_F(ControlDrag, ValuePositionsMapBackIntoTheRange)
{
    struct Case
    {
        double minimum, maximum;
        std::int32_t scale;
        double value, position;
    };
    const Case cases[] = {
        {0.0, 10.0, 0, 2.5, 0.25},
        {0.0, 10.0, 0, 12.0, 1.0},
        {10.0, 0.0, 0, -3.0, 1.0},
        {5.0, 5.0, 0, 5.0, 0.0},
        {20.0, 20000.0, 1, 20.0, 0.0},
        {20.0, 20000.0, 1, 1.0, 0.0},
        {0.0, 10.0, 0, std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    DragProbe& box = Find("box");
    for (const Case& c : cases)
    {
        ASSERT_EQ(box.SetValueRange(c.minimum, c.maximum, c.scale), S_OK);
        EXPECT_DOUBLE_EQ(box.ValueToPosition(c.value), c.position) << c.value;
    }
    ASSERT_EQ(box.SetValueRange(20.0, 20000.0, 1), S_OK);
    EXPECT_NEAR(box.PositionToValue(0.5), 632.456, 1e-3);
    EXPECT_DOUBLE_EQ(box.ValueToPosition(box.PositionToValue(0.5)), 0.5);
}

TEST_F(ControlDrag, QueriesOnTextPlacesAndQueuedChildren)
{
    DragProbe& holder = Find("holder");
    DragProbe& box = Find("box");
    EXPECT_FALSE(box.GetCurrentLook());
    EXPECT_FALSE(box.IsTextClipped());
    box.SetText(WideString(u"label"), false);
    EXPECT_TRUE(box.IsTextClipped());

    holder.SetScrollOffset({5.0, 0.0});
    EXPECT_EQ(box.GetOffsetFromRoot(), (PointT<double>{-15.0, -10.0}));
    EXPECT_EQ(holder.GetVisibleContentRect(), (RectT<double>{5.0, 0.0, 100.0, 60.0}));

    const RCPtr<LControl> boxRef(&box);
    EXPECT_EQ(mWindow->GetRootControl()->QueueChildDestroy(boxRef), E_INVALIDARG);
    EXPECT_EQ(holder.QueueChildDestroy(boxRef), S_OK);
    EXPECT_FALSE(box.IsShowing(false));
    EXPECT_EQ(holder.GetChildren().GetCount(), 1u);
    Idle(10);
    EXPECT_EQ(holder.GetChildren().GetCount(), 0u);

    struct Key
    {
        std::uint32_t key;
        bool down;
    };
    const Key keys[] = {{0x20250000, true},
                        {0x00250000, false},
                        {0x20000041, false},
                        {0xA0250000, false},
                        {0x21250000, true}};
    for (const Key& k : keys)
    {
        EXPECT_EQ((KeyCode{k.key, 0, 0}.IsKeyDown()), k.down) << std::hex << k.key;
    }
}

} // namespace
} // namespace QZ::ToolkitTest
