#include "QZFramework/Controls/ToolTip.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/ControlHelpers.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace QZ
{
namespace
{

// The tooltip stays this far inside the window's right edge.
constexpr double kWindowMargin = 8.0;
constexpr double kBelowPointer = 20.0;

std::uint32_t Now()
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetTimeMilliseconds() : 0;
}

} // namespace

std::uint32_t LToolTip::sLastHideTime = 0;
std::uint32_t LToolTip::sClosingCount = 0;

LToolTip::LToolTip(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

QZRESULT LToolTip::ApplyCreateParams()
{
    SetNotFocusable(true);
    return S_OK;
}

QZRESULT LToolTip::PostInitialize()
{
    SetShown(false);
    return S_OK;
}

void LToolTip::Show()
{
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window) && GetLayout())
    {
        LLayoutDescriptor::LimitSpec minimum;
        LLayoutDescriptor::LimitSpec maximum;
        GetLayout()->GetAxisLimits(0, minimum, maximum);
        maximum.present = true;
        maximum.name = WideString();
        maximum.absolute = static_cast<double>(window->GetClientSize().x) - kWindowMargin;
        SetAxisSizeLimits(0, minimum, maximum);
    }
    // Shown again while armed: one idle request still covers it.
    if (mState == kHidden)
    {
        RequestIdle();
    }
    const std::uint32_t now = Now();
    if (now - sLastHideTime < kFollowOnMs)
    {
        Appear(now);
    }
    else
    {
        mState = kPending;
        mStateTime = now;
    }
}

void LToolTip::Appear(std::uint32_t now)
{
    mState = kShown;
    mStateTime = now;
    Place();
    SetShown(true);
}

void LToolTip::OnIdleStep()
{
    const std::uint32_t now = Now();
    if (mState == kPending && now - mStateTime > kShowDelayMs)
    {
        Appear(now);
    }
    else if (mState == kShown && now - mStateTime > kShowTimeMs)
    {
        Hide();
    }
}

void LToolTip::Hide()
{
    const RCPtr<LControl> self(this);
    if (mState != kHidden)
    {
        mState = kHidden;
        ReleaseIdle();
    }
    if (IsShowing(false))
    {
        sLastHideTime = Now();
    }
    if (const RCPtr<LControl> parent = GetParent())
    {
        // The closing tooltip gives up its name at once: a tooltip asked for before the parent's
        // next idle step is a fresh one, not this one that is about to be destroyed.
        const std::string name = "toolTip (closing " + std::to_string(++sClosingCount) + ")";
        parent->GetChildren().RenameChild(
            self, WideString(std::u16string(name.begin(), name.end()).c_str()));
        parent->QueueChildDestroy(self);
    }
}

void LToolTip::Place()
{
    RCPtr<LRootWindow> window;
    const RCPtr<LControl>& parent = GetParent();
    if (!GetRootWindowRef(window) || !parent || !GetLayout())
    {
        return;
    }
    PointT<long> pointer;
    window->GetMousePosition(pointer);
    const PointT<long> client = window->GetClientSize();
    const PointT<double> origin = parent->GetAbsolutePosition();
    const double wanted[2] = {static_cast<double>(pointer.x),
                              static_cast<double>(pointer.y) + kBelowPointer};
    const double clientSize[2] = {static_cast<double>(client.x), static_cast<double>(client.y)};
    const double size[2] = {std::round(GetSize().x), std::round(GetSize().y)};
    const double parentOrigin[2] = {origin.x, origin.y};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        double place = wanted[axis];
        if (place + size[axis] > clientSize[axis])
        {
            place = clientSize[axis] - size[axis];
        }
        place = std::max(place, 0.0);
        LLayoutDescriptor::PositionSpec position;
        LLayoutDescriptor::SizeSpec extent;
        GetLayout()->GetAxisSpec(axis, position, extent);
        position.kind = LLayoutDescriptor::kParent;
        position.absolute = place - parentOrigin[axis];
        SetAxisLayout(axis, position, extent);
    }
}

} // namespace QZ
