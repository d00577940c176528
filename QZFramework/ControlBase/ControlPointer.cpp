// LControl: pointer input, click detection, the wheel chain and automatic-scroll starts.
#include "QZFramework/ControlBase/Control.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace QZ
{
namespace
{

// A flick starts an automatic scroll only when released this soon after the last move.
constexpr std::uint32_t kFlickWindowMs = 100;
constexpr double kFlickMinimumRate = 1000.0;
constexpr std::int32_t kPanDragMode = 6;

bool IsButton(std::int32_t button)
{
    return button == 1 || button == 2 || button == 4;
}

std::uint32_t SlotOf(std::int32_t button)
{
    return button == 1 ? 0 : button == 2 ? 1 : 2;
}

bool ClipsToParent(const LControl& control)
{
    return !control.GetLayout() || control.GetLayout()->clipToParent;
}

} // namespace

// ---- press, move and release ----

QZRESULT LControl::NotifyMouseDown(const RCPtr<LMouseButtonParam>& press)
{
    if (!press || !IsButton(press->GetButton()))
    {
        return E_INVALIDARG;
    }
    if (!HasCapture() && !IsReachable())
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    if (!HasCapture())
    {
        if (CanTakeFocusDirectly())
        {
            SetFocus(true);
        }
        else if (mParent)
        {
            const RCPtr<LControl> parent = mParent;
            parent->FocusFromChild(self);
        }
    }
    switch (press->GetButton())
    {
    case 1:
        mLastLeftPress = press;
        OnLeftButtonDown(press);
        break;
    case 2:
        OnMiddleButtonDown(press);
        break;
    default:
        OnRightButtonDown(press);
        break;
    }
    Send(NID_MOUSE_DOWN, RCPtr<LRefCountedObject>(press));
    if (!HasCapture())
    {
        OnMouseButtonDown(static_cast<std::uint32_t>(press->GetButton()), press->GetX(),
                          press->GetY());
    }
    return S_OK;
}

QZRESULT LControl::FocusFromChild(const RCPtr<LControl>&)
{
    const RCPtr<LControl> self(this);
    if (CanTakeFocusDirectly())
    {
        SetFocus(true);
    }
    else if (mParent)
    {
        const RCPtr<LControl> parent = mParent;
        parent->FocusFromChild(self);
    }
    return S_OK;
}

QZRESULT LControl::NotifyMouseMove(const RCPtr<LPointWithModifiersParam>& move)
{
    if (!move)
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    mMoveTime = GetClockMilliseconds();
    const auto pressed = std::find(&mFlags[kFlagLeftPressed], &mFlags[kFlagLeftPressed + 3], true);
    if (pressed != &mFlags[kFlagLeftPressed + 3])
    {
        const PointT<std::int32_t> press =
            PointT<double>(mDragOffset.x - mPosition.x, mDragOffset.y - mPosition.y).ToLong();
        const std::int64_t distance =
            std::max(std::llabs(static_cast<std::int64_t>(move->GetX()) - press.x),
                     std::llabs(static_cast<std::int64_t>(move->GetY()) - press.y));
        if (distance >= mDragThreshold)
        {
            NotifyMouseMove(
                LPointWithModifiersParam::Create(press.x, press.y, move->GetModifiers()));
            MovePressToDrag(static_cast<std::uint32_t>(pressed - &mFlags[kFlagLeftPressed]));
        }
    }
    OnMouseMove(move);
    Send(NID_MOUSE_MOVE, RCPtr<LRefCountedObject>(move));
    if (mFlags[kFlagLeftDrag] && mDragMode != 0)
    {
        TrackDrag(move);
    }
    mLastMoveTime = mMoveTime;
    return S_OK;
}

QZRESULT LControl::NotifyMouseUp(const RCPtr<LMouseButtonParam>& release)
{
    if (!release || !IsButton(release->GetButton()))
    {
        return E_INVALIDARG;
    }
    if (!IsReachable() && !HasCapture())
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    const std::uint32_t slot = SlotOf(release->GetButton());
    switch (slot)
    {
    case 0:
        OnLeftButtonUp(release);
        break;
    case 1:
        OnMiddleButtonUp(release);
        break;
    default:
        OnRightButtonUp(release);
        break;
    }
    const bool click =
        (mFlags[kFlagLeftPressed + slot] || (mFlags[kFlagLeftDrag + slot] && mDragMode == 0)) &&
        IsHovered();
    if (slot == 0 && mFlags[kFlagLeftDrag] && mDragMode == kPanDragMode)
    {
        StartFlick();
    }
    Send(NID_MOUSE_UP, RCPtr<LRefCountedObject>(release));
    if (HasCapture() && release->GetValue() == 0)
    {
        ReleaseCapture();
    }
    if (click && IsEnabled(true))
    {
        DispatchClick(release);
    }
    return S_OK;
}

void LControl::StartFlick()
{
    mReleaseTime = GetClockMilliseconds();
    if (mReleaseTime - mLastMoveTime >= kFlickWindowMs)
    {
        return;
    }
    RectT<double> range;
    GetChildScrollRange(range, RCPtr<LControl>(this));
    // A speed that is not finite is no speed.
    const double rates[2] = {std::isfinite(mFlickVelocity.x) ? mFlickVelocity.x : 0.0,
                             std::isfinite(mFlickVelocity.y) ? mFlickVelocity.y : 0.0};
    const double maximums[2] = {range.GetRight(), range.GetBottom()};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const bool onAxis = mDragOption == static_cast<std::int32_t>(axis + 1) || mDragOption == 3;
        if (onAxis && std::abs(rates[axis]) >= kFlickMinimumRate)
        {
            StartAutoScroll(axis, rates[axis], maximums[axis], 0.0, RCPtr<LControl>());
            mAutoScroll[axis].flick = true;
        }
    }
}

// ---- clicks ----

QZRESULT LControl::DispatchClick(const RCPtr<LMouseButtonParam>& click)
{
    if (!click)
    {
        return E_INVALIDARG;
    }
    switch (click->GetButton())
    {
    case 1:
        return NotifyLeftClick(click);
    case 2:
        return NotifyMiddleClick(click);
    case 4:
        return NotifyRightClick(click);
    default:
        return E_INVALIDARG;
    }
}

QZRESULT LControl::NotifyLeftClick(const RCPtr<LMouseButtonParam>& click)
{
    if (!click)
    {
        return E_INVALIDARG;
    }
    OnLeftClick(click);
    Send(NID_LEFT_CLICK, RCPtr<LRefCountedObject>(click));
    return S_OK;
}

QZRESULT LControl::NotifyMiddleClick(const RCPtr<LMouseButtonParam>& click)
{
    if (!click)
    {
        return E_INVALIDARG;
    }
    OnMiddleClick(click);
    Send(NID_MIDDLE_CLICK, RCPtr<LRefCountedObject>(click));
    return S_OK;
}

QZRESULT LControl::NotifyRightClick(const RCPtr<LMouseButtonParam>& click)
{
    if (!click)
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    OnRightClick(click);
    Send(NID_RIGHT_CLICK, RCPtr<LRefCountedObject>(click));
    if (const RCPtr<LMenuDescriptor> menu = GetContextMenu())
    {
        ShowContextMenu(menu);
    }
    return S_OK;
}

// ---- enter, leave and the wheel ----

namespace
{

// The control under the wheel's point when the passed controls are not hit.
RCPtr<LControl> HitPassingOver(LRootWindow& window, const LMouseWheelParam& wheel,
                               const std::vector<RCPtr<LControl>>& passed)
{
    for (const RCPtr<LControl>& control : passed)
    {
        control->SetHitTestPassOver(true, false);
    }
    RCPtr<LControl> found;
    PointT<long> point;
    window.HitTest(found, wheel.GetX(), wheel.GetY(), point, 1);
    for (const RCPtr<LControl>& control : passed)
    {
        control->SetHitTestPassOver(false, false);
    }
    return found;
}

// The control, or its nearest ancestor that was not offered the step yet.
RCPtr<LControl> FirstNotOffered(RCPtr<LControl> control,
                                const std::vector<RCPtr<LControl>>& offered)
{
    while (control && std::find(offered.begin(), offered.end(), control) != offered.end())
    {
        control = control->GetParent();
    }
    return control;
}

} // namespace

QZRESULT LControl::OnMouseEnter()
{
    mFlags[kFlagHover] = true;
    UpdateConditions();
    return S_OK;
}

QZRESULT LControl::OnMouseLeave()
{
    mFlags[kFlagHover] = false;
    UpdateConditions();
    return S_OK;
}

QZRESULT LControl::NotifyMouseWheelVertical(const RCPtr<LMouseWheelParam>& wheel)
{
    return OnMouseWheel(wheel);
}

QZRESULT LControl::NotifyMouseWheelHorizontal(const RCPtr<LMouseWheelParam>& wheel)
{
    return OnMouseWheel(wheel);
}

QZRESULT LControl::OnMouseWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel)
    {
        return -1;
    }
    RCPtr<LRootWindow> window;
    GetRootWindowRef(window);
    const bool vertical = wheel->GetDirection() < 2;
    // Every control is offered the step once at most: the hit test past a floating control can
    // land inside it again (a child it holds), and the walk then climbs on from there.
    std::vector<RCPtr<LControl>> offered;
    std::vector<RCPtr<LControl>> passed;
    RCPtr<LControl> current(this);
    QZRESULT result = S_FALSE;
    while (current)
    {
        offered.push_back(current);
        result = vertical ? current->OnVerticalWheel(wheel) : current->OnHorizontalWheel(wheel);
        if (result != S_FALSE)
        {
            break;
        }
        const bool floating =
            !ClipsToParent(*current) || (current->mParent && !ClipsToParent(*current->mParent));
        if (floating)
        {
            // A floating control is not inside its parent: the step goes to what lies under it.
            passed.push_back(current);
            current = window ? HitPassingOver(*window, *wheel, passed) : nullptr;
        }
        else
        {
            current = current->mParent;
        }
        current = FirstNotOffered(current, offered);
    }
    return result;
}

// ---- automatic scrolling ----

QZRESULT LControl::StartAutoScroll(std::uint32_t axis, double rate, double maximum, double minimum,
                                   const RCPtr<LControl>& target)
{
    if (axis > 1)
    {
        return E_INVALIDARG;
    }
    AutoScrollAxis& state = mAutoScroll[axis];
    // A speed that is not finite would throw the content to its limit for good.
    state.rate = std::isfinite(rate) ? rate : 0.0;
    state.maximum = maximum;
    state.minimum = minimum;
    state.target = target;
    if (!state.running)
    {
        state.running = true;
        mAutoScrollCarry[axis] = 0.0;
        LApplicationBase* application = LApplicationBase::GetApplication();
        state.startTime = application != nullptr ? application->GetTimeSeconds() : 0.0;
        RequestIdle();
    }
    return S_OK;
}

QZRESULT LControl::StopAutoScroll(std::uint32_t axis)
{
    if (axis > 1)
    {
        return E_INVALIDARG;
    }
    AutoScrollAxis& state = mAutoScroll[axis];
    state.target = RCPtr<LControl>();
    if (!state.running)
    {
        return S_FALSE;
    }
    state.running = false;
    state.flick = false;
    ReleaseIdle();
    return S_OK;
}

} // namespace QZ
