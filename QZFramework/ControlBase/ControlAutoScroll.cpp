// LControl: the idle step, which advances automatic scrolling, slows a flick down and destroys
// the controls queued for destruction.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/RootWindow.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

// A flick keeps its speed this long after the release before it slows down.
constexpr std::uint32_t kFlickCoastMs = 1000;
constexpr double kFlickDeceleration = 1000.0;

} // namespace

QZRESULT LControl::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (mAutoScroll[axis].running)
        {
            StepAutoScroll(axis);
        }
    }
    if (!mPendingDestroy.empty())
    {
        DestroyQueuedControls(sender, notification);
    }
    OnIdleStep();
    return S_OK;
}

void LControl::StepAutoScroll(std::uint32_t axis)
{
    AutoScrollAxis& state = mAutoScroll[axis];
    LApplicationBase* application = LApplicationBase::GetApplication();
    const double now = application != nullptr ? application->GetTimeSeconds() : state.startTime;
    const double elapsed = now - state.startTime;
    state.startTime = now;
    // The part below a whole pixel is carried to the next step, so a slow scroll still moves.
    const double distance = state.rate * elapsed + mAutoScrollCarry[axis];
    const double step = std::round(distance);
    mAutoScrollCarry[axis] = distance - step;
    if (step != 0.0)
    {
        PointT<double> offset = mScrollOffset;
        double& along = axis == 0 ? offset.x : offset.y;
        const double wanted = along + step;
        along = std::clamp(wanted, state.minimum, std::max(state.minimum, state.maximum));
        if (along != wanted)
        {
            mAutoScrollCarry[axis] = 0.0;
        }
        SetScrollOffset(offset);
        RCPtr<LRootWindow> window;
        if (const RCPtr<LControl> target = state.target; target && GetRootWindowRef(window))
        {
            PointT<long> pointer;
            window->GetMousePosition(pointer);
            const PointT<std::int32_t> origin = target->GetAbsolutePosition().ToLong();
            target->TrackDrag(LPointWithModifiersParam::Create(
                static_cast<std::int32_t>(pointer.x - origin.x),
                static_cast<std::int32_t>(pointer.y - origin.y), window->GetModifierState()));
        }
    }
    const std::uint32_t nowMs = application != nullptr ? application->GetTimeMilliseconds() : 0;
    if (!state.running || !state.flick || nowMs - mReleaseTime <= kFlickCoastMs)
    {
        return;
    }
    const double decrement = std::round(kFlickDeceleration * elapsed);
    if (std::abs(state.rate) <= decrement)
    {
        StopAutoScroll(axis);
        return;
    }
    state.rate += state.rate > 0.0 ? -decrement : decrement;
}

} // namespace QZ
