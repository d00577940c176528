#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace QZ::ToolkitTest
{
namespace
{

class RootWindowTest : public ToolkitFixture
{
protected:
    // A control filling its parent's (or window's) client area.
    RCPtr<LControl> MakeControl(const RCPtr<LControl>& parent, const char16_t* name)
    {
        RCPtr<LControlDescriptor> descriptor(new LControlDescriptor());
        descriptor->name = WideString(name);
        for (LLayoutDescriptor::SizeSpec& size : descriptor->layout->size)
        {
            size = {LLayoutDescriptor::kClient, WideString(), 1.0f, 0.0};
        }
        RCPtr<LControl> control(new LoggingControl(parent, WideString(name), true));
        control->ApplyDescriptor(descriptor);
        return control;
    }
};

TEST_F(RootWindowTest, ReleasingTheWindowFreesItsTree)
{
    RCPtr<LRootWindow> window(new LRootWindow());
    RCPtr<LControl> root = MakeControl(nullptr, u"root");
    RCPtr<LControl> child = MakeControl(root, u"child");
    window->SetRootControl(root);
    window->SetFocusedControl(child);
    RCPtr<LRootWindow> found;
    EXPECT_EQ(child->GetRootWindowRef(found).Get(), window.Get());
    found = RCPtr<LRootWindow>();
    root = RCPtr<LControl>();
    child = RCPtr<LControl>();
    PhaseLog().clear();
    window = RCPtr<LRootWindow>();
    std::vector<std::string> log = PhaseLog();
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"child:destroy", "root:destroy"}));
}

TEST_F(RootWindowTest, HeadlessWindowKeepsFocusDirtyRegionAndPointer)
{
    RCPtr<LRootWindow> window(new LRootWindow());
    window->SetClientScreenRect({100, 50, 200, 100});
    RCPtr<LControl> root = MakeControl(nullptr, u"root");
    RCPtr<LControl> child = MakeControl(root, u"child");
    window->SetRootControl(root);

    RegionT dirty;
    window->TakeDirtyRegion(dirty);
    window->Invalidate({-10, 90, 30, 30});
    window->Invalidate({300, 0, 10, 10});
    Array<RectT<std::int32_t>> rects;
    window->GetDirtyRegion().ToRectArray(rects);
    ASSERT_EQ(rects.GetCount(), 1);
    EXPECT_EQ(*rects.GetItemPtr(0), (RectT<std::int32_t>{0, 90, 20, 10}));

    root->SetNotFocusable(false);
    child->SetNotFocusable(false);
    EXPECT_EQ(child->SetFocus(true), S_OK);
    child->KillFocus();
    EXPECT_FALSE(window->GetFocusedControl());
    window->RestoreFocus();
    EXPECT_EQ(window->GetFocusedControl(), child);
    child->SetParent(nullptr);
    window->ResetFocus();
    EXPECT_EQ(window->GetFocusedControl(), root);
    EXPECT_EQ(window->ReleaseCapture(), S_OK);

    window->SetPointerState({5, 6}, 1, LRootWindow::kModifierShift);
    PointT<long> pointer{9, 9};
    window->GetMousePosition(pointer);
    EXPECT_EQ(pointer, (PointT<long>{0, 0}));
    EXPECT_EQ(window->GetMouseButtons(), 1u);
    window->EndModal(7);
    EXPECT_EQ(window->GetModalResult(), 0);
    EXPECT_EQ(window->SetWindowRect({100, 50, 200, 100}), S_FALSE);
    window->SetRootControl(nullptr);
}

} // namespace
} // namespace QZ::ToolkitTest
