#include "QZFramework/ControlBase/RootWindow.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"
#include "QZFramework/Renderer/Renderer.h"

#include <algorithm>

namespace QZ
{

LRootWindow::LRootWindow(IWindowOSServices* services) : mServices(services) {}

LRootWindow::~LRootWindow() = default;

RCPtr<LControl>& LRootWindow::HitTest(RCPtr<LControl>& out, std::int32_t, std::int32_t,
                                      PointT<long>& point, std::int32_t)
{
    out = RCPtr<LControl>();
    point = PointT<long>();
    return out;
}

QZRESULT LRootWindow::ReleaseInternalReferences()
{
    mFocused = RCPtr<LControl>();
    mPreviousFocused = RCPtr<LControl>();
    mCapture = RCPtr<LControl>();
    mWheelFallback = RCPtr<LControl>();
    DetachRootControl();
    return LRefCountedObject::ReleaseInternalReferences();
}

// ---- tree ----

QZRESULT LRootWindow::CreateRootControl(const WideString& name)
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    if (!factory)
    {
        return E_FAIL;
    }
    const RCPtr<LControlDescriptor>& descriptor = factory->FindSkinSubControl(name);
    if (!descriptor)
    {
        return E_FAIL;
    }
    RCPtr<LControl> control;
    factory->CreateControl(control, descriptor, RCPtr<LControl>());
    if (!control)
    {
        return E_FAIL;
    }
    return SetRootControl(control);
}

QZRESULT LRootWindow::SetRootControl(const RCPtr<LControl>& control)
{
    if (control == mRootControl)
    {
        return S_FALSE;
    }
    DetachRootControl();
    mRootControl = control;
    if (mRootControl)
    {
        mRootControl->SetRootWindow(RCPtr<LRootWindow>(this));
        mRootControl->UpdateLayout();
    }
    const PointT<long> size = GetClientSize();
    Invalidate({0, 0, size.x, size.y});
    return S_OK;
}

void LRootWindow::DetachRootControl()
{
    const RCPtr<LControl> control = mRootControl;
    mRootControl = RCPtr<LControl>();
    if (control)
    {
        control->SetRootWindow(RCPtr<LRootWindow>());
    }
}

bool LRootWindow::Contains(const LControl& control) const
{
    const LControl* top = &control;
    while (top->GetParent())
    {
        top = top->GetParent().Get();
    }
    return mRootControl && top == mRootControl.Get();
}

// ---- geometry ----

PointT<long> LRootWindow::GetClientSize() const
{
    return {mClientRect.width, mClientRect.height};
}

PointT<long> LRootWindow::GetClientOrigin() const
{
    return {mClientRect.x, mClientRect.y};
}

RectT<std::int32_t> LRootWindow::GetClientScreenRect()
{
    if (mServices != nullptr)
    {
        RectT<std::int32_t> rect;
        mServices->GetClientRect(rect.x, rect.y, rect.width, rect.height);
        PointT<std::int32_t> origin;
        mServices->ClientToScreen(origin, {0, 0});
        mClientRect = {origin.x, origin.y, rect.width, rect.height};
    }
    return mClientRect;
}

void LRootWindow::SetClientScreenRect(const RectT<std::int32_t>& rect)
{
    const bool resized = rect.width != mClientRect.width || rect.height != mClientRect.height;
    mClientRect = rect;
    if (resized && mRootControl)
    {
        mRootControl->OnResize();
        Invalidate({0, 0, rect.width, rect.height});
    }
}

QZRESULT LRootWindow::SetWindowRect(const RectT<std::int32_t>& rect)
{
    if (rect == mClientRect)
    {
        return S_FALSE;
    }
    if (mServices != nullptr)
    {
        mServices->SetClientScreenRect(rect);
    }
    SetClientScreenRect(rect);
    return S_OK;
}

void LRootWindow::SetWindowTitle(const WideString& title)
{
    mTitle = title;
    if (mServices != nullptr)
    {
        mServices->SetWindowTitle(title);
    }
}

// ---- pointer, keyboard modifiers and cursor ----

void LRootWindow::SetPointerState(const PointT<long>& position, std::uint32_t buttons,
                                  std::uint32_t modifiers)
{
    mPointer = position;
    mButtons = buttons;
    mModifiers = modifiers;
}

void LRootWindow::GetMousePosition(PointT<long>& position) const
{
    position = mServices != nullptr ? mPointer : PointT<long>();
}

LCursor LRootWindow::SetCursor(LCursor cursor)
{
    const LCursor previous = mServices != nullptr ? mServices->SetCursor(cursor) : mCursor;
    mCursor = cursor;
    return previous;
}

// ---- focus and capture ----

void LRootWindow::SetFocusedControl(const RCPtr<LControl>& control)
{
    mFocused = control;
}

void LRootWindow::ClearFocus()
{
    if (mFocused)
    {
        mPreviousFocused = mFocused;
    }
    mFocused = RCPtr<LControl>();
}

void LRootWindow::ResetFocus()
{
    ClearFocus();
    mFocused = mRootControl;
}

void LRootWindow::RestoreFocus()
{
    if (mPreviousFocused && Contains(*mPreviousFocused))
    {
        mFocused = mPreviousFocused;
    }
}

void LRootWindow::SetCapture(const RCPtr<LControl>& control)
{
    mCapture = control;
}

QZRESULT LRootWindow::ReleaseCapture()
{
    mCapture = RCPtr<LControl>();
    return S_OK;
}

QZRESULT LRootWindow::OnTabTraversalEnd(bool)
{
    return S_FALSE;
}

// ---- wheel ----

QZRESULT LRootWindow::DispatchWheel(std::uint32_t direction, const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel)
    {
        return E_INVALIDARG;
    }
    const auto offer = [direction, &wheel](LControl& control)
    {
        return direction < 2 ? control.NotifyMouseWheelVertical(wheel)
                             : control.NotifyMouseWheelHorizontal(wheel);
    };
    RCPtr<LControl> target = mCapture;
    if (!target)
    {
        PointT<long> point;
        HitTest(target, wheel->GetX(), wheel->GetY(), point, 1);
    }
    QZRESULT result = target ? offer(*target) : S_FALSE;
    if (result == S_FALSE && mWheelFallback)
    {
        result = offer(*mWheelFallback);
    }
    return result;
}

// ---- painting and invalidation ----

QZRESULT LRootWindow::Paint(const RCPtr<LRenderer>&, const RegionT&)
{
    return S_FALSE;
}

void LRootWindow::Invalidate(const RectT<long>& rect)
{
    const RectT<long> area(0, 0, mClientRect.width, mClientRect.height);
    RectT<long> clipped;
    if (!RectT<long>::Intersect(clipped, rect, area))
    {
        return;
    }
    mDirty.AddRect(RegionRect::FromRect(RectT<std::int32_t>(
        static_cast<std::int32_t>(clipped.x), static_cast<std::int32_t>(clipped.y),
        static_cast<std::int32_t>(clipped.width), static_cast<std::int32_t>(clipped.height))));
    if (mServices != nullptr)
    {
        mServices->InvalidateRect(clipped);
    }
}

QZRESULT LRootWindow::InvalidateAllAndRedraw()
{
    Invalidate({0, 0, mClientRect.width, mClientRect.height});
    return mServices != nullptr ? mServices->RedrawNow() : S_OK;
}

void LRootWindow::TakeDirtyRegion(RegionT& dirty)
{
    dirty = std::move(mDirty);
    mDirty.Clear();
}

// ---- modal runs and idle ----

void LRootWindow::EndModal(std::int32_t result)
{
    if (mServices != nullptr)
    {
        mModalResult = result;
        mEndModalPending = true;
    }
}

bool LRootWindow::Idle(bool)
{
    if (mEndModalPending)
    {
        mEndModalPending = false;
        mServices->EndModalLoop(mModalResult);
    }
    return false;
}

void LRootWindow::SetMeasurementRenderer(const RCPtr<LMeasurementRenderer>& renderer)
{
    mMeasurementRenderer = renderer;
}

} // namespace QZ
