#include "QZFramework/Controls/Slider.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ValueAdjustment.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

double Distance(const PointT<double>& a, const PointT<double>& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

PointT<double> ToDouble(const PointT<std::int32_t>& point)
{
    return {static_cast<double>(point.x), static_cast<double>(point.y)};
}

std::int32_t RoundHalfAway(float value)
{
    return static_cast<std::int32_t>(std::round(value));
}

double GetApplicationSeconds()
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetTimeSeconds() : 0.0;
}

bool IsFocusWithin(std::uint32_t conditions)
{
    return (conditions & (LControl::kHasFocus | LControl::kContainsFocus)) != 0;
}

} // namespace

LSlider::LSlider(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LSlider::~LSlider() = default;

void LSlider::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LSlider::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                              const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

// ---- creation ----

RCPtr<LControlDescriptor> LSlider::MakeThumbDescriptor() const
{
    if (!mThumbStart || !mThumbStart->GetDescriptor() || !mThumbStart->GetLayout())
    {
        return RCPtr<LControlDescriptor>();
    }
    const RCPtr<LLayoutDescriptor> layout = mThumbStart->GetLayout()->Clone();
    for (LLayoutDescriptor::PositionSpec& position : layout->position)
    {
        position.docked = false;
        position.anchor = 0.0f;
        position.relative = 0.0f;
    }
    layout->tabStop = 0;
    layout->shown = true;
    RCPtr<LControlDescriptor> descriptor;
    LControlDescriptor::CloneWithName(descriptor, mThumbStart->GetDescriptor(),
                                      WideString(u"thumb"), layout);
    return descriptor;
}

QZRESULT LSlider::Initialize()
{
    if (Failed(LPanel::Initialize()))
    {
        return E_FAIL;
    }
    mHandler = new LNotificationHandler<LSlider>(this);
    mThumbEnd = FindChildByName(WideString(u"thumbEnd"));
    mThumbStart = FindChildByName(WideString(u"thumbStart"));
    const RCPtr<LControlFactory> factory =
        LApplicationBase::GetApplication() != nullptr
            ? LApplicationBase::GetApplication()->GetControlFactory()
            : RCPtr<LControlFactory>();
    const RCPtr<LControlDescriptor> descriptor = MakeThumbDescriptor();
    if (descriptor && factory)
    {
        factory->CreateControl(mThumb, ConstRCPtr<LControlDescriptor>(descriptor),
                               RCPtr<LControl>(this));
    }
    if (mThumb)
    {
        mThumb->SetShown(true);
        const RCPtr<LNotificationDistributor> thumb(mThumb);
        mHandler->AddHandler(&LSlider::OnThumbMouseMove, thumb, NID_MOUSE_MOVE, 0);
        mHandler->AddHandler(&LSlider::OnThumbDragConditionChange, thumb,
                             NID_LEFT_DRAG_CONDITION_CHANGE, 0);
        if (const RCPtr<LButton> button = RCPtr<LButton>::DynamicCastFrom(mThumb))
        {
            button->SetDragHandle(true);
        }
    }
    // A press on the track is a drag at once, so that holding it repeats without moving.
    SetDragThreshold(0);
    OnLayoutChangeEnd();
    SetValueRange(0.0, 127.0, 0);
    SetOrderValue(0);
    return S_OK;
}

QZRESULT LSlider::PostInitialize()
{
    for (const RCPtr<LControl>& marker : {mThumbEnd, mThumbStart})
    {
        if (marker)
        {
            marker->SetShown(false);
        }
    }
    if (mThumbStart)
    {
        const PointT<double> size = mThumbStart->GetSize();
        PointT<double> anchor{size.x * 0.5, size.y * 0.5};
        if (const RCPtr<LLayoutDescriptor>& layout = mThumbStart->GetLayout())
        {
            if (layout->position[0].anchor != 0.0f)
            {
                anchor.x = layout->position[0].anchor * size.x;
            }
            if (layout->position[1].anchor != 0.0f)
            {
                anchor.y = layout->position[1].anchor * size.y;
            }
        }
        mAnchorOffset = anchor.ToLong();
    }
    OnLayoutChangeEnd();
    return S_OK;
}

QZRESULT LSlider::AddChild(const RCPtr<LControl>& child,
                           const ConstRCPtr<LControlDescriptor>& descriptor)
{
    const bool fromSkin =
        descriptor && GetDescriptor() &&
        std::any_of(GetDescriptor()->subControls.begin(), GetDescriptor()->subControls.end(),
                    [&descriptor](const RCPtr<LControlDescriptor>& entry)
                    { return entry.Get() == descriptor.Get(); });
    if (!child || child->GetName() != u"thumb" || fromSkin)
    {
        return LPanel::AddChild(child, descriptor);
    }
    const RCPtr<LControlDescriptor> thumb = MakeThumbDescriptor();
    const QZRESULT result =
        LPanel::AddChild(child, thumb ? ConstRCPtr<LControlDescriptor>(thumb) : descriptor);
    child->SetShown(true);
    return result;
}

// ---- value and geometry ----

double LSlider::SetValue(double position)
{
    if (mDragging)
    {
        mPendingValue = position;
        return GetValue();
    }
    const RCPtr<LControl> self(this);
    const double value = LPanel::SetValue(position);
    UpdateThumbPosition();
    return value;
}

void LSlider::OnLayoutChangeEnd()
{
    LPanel::OnLayoutChangeEnd();
    if (!mThumb)
    {
        mThumb = FindChildByName(WideString(u"thumb"));
    }
    UpdateThumbPosition();
}

double LSlider::GetTrackLength() const
{
    return mThumbStart && mThumbEnd ? Distance(mThumbStart->GetPosition(), mThumbEnd->GetPosition())
                                    : 0.0;
}

void LSlider::MoveThumbTo(const PointT<std::int32_t>& point)
{
    if (!mThumb || !mThumb->GetLayout() || mPlacingThumb)
    {
        return;
    }
    mPlacingThumb = true;
    const std::int32_t coordinates[2] = {point.x, point.y};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        LLayoutDescriptor::PositionSpec position;
        LLayoutDescriptor::SizeSpec size;
        mThumb->GetLayout()->GetAxisSpec(axis, position, size);
        position.absolute = coordinates[axis];
        mThumb->SetAxisLayout(axis, position, size);
    }
    mPlacingThumb = false;
}

void LSlider::UpdateThumbPosition()
{
    if (mDragging || !mThumb || !mThumbStart || !mThumbEnd)
    {
        return;
    }
    const double t = GetValue();
    const PointT<std::int32_t> start = mThumbStart->GetPosition().ToLong();
    const PointT<std::int32_t> end = mThumbEnd->GetPosition().ToLong();
    const PointT<std::int32_t> at = PointT<double>{start.x + std::round((end.x - start.x) * t),
                                                   start.y + std::round((end.y - start.y) * t)}
                                        .ToLong();
    const PointT<std::int32_t> thumb = mThumb->GetPosition().ToLong();
    if (at.x != thumb.x || at.y != thumb.y)
    {
        MoveThumbTo(at);
    }
}

void LSlider::UpdateValueFromThumb()
{
    const double length = GetTrackLength();
    // Coinciding markers give no direction to measure along: the value stays.
    if (length > 0.0 && mThumb)
    {
        const RCPtr<LControl> self(this);
        LPanel::SetValue(
            Distance(mThumbStart->GetPosition(), ToDouble(mThumb->GetPosition().ToLong())) /
            length);
    }
    UpdateThumbPosition();
}

PointT<std::int32_t> LSlider::ProjectOntoTrack(const PointT<std::int32_t>& pointer) const
{
    const PointT<std::int32_t> q{pointer.x - mGrabOffset.x, pointer.y - mGrabOffset.y};
    const PointT<double> startAt = mThumbStart->GetPosition();
    const PointT<double> endAt = mThumbEnd->GetPosition();
    const PointT<std::int32_t> start = startAt.ToLong();
    const PointT<std::int32_t> end = endAt.ToLong();
    PointT<std::int32_t> result;
    if (startAt.x == endAt.x)
    {
        result = {static_cast<std::int32_t>(mThumb->GetPosition().x), q.y};
    }
    else if (startAt.y == endAt.y)
    {
        result = {q.x, static_cast<std::int32_t>(mThumb->GetPosition().y)};
    }
    else
    {
        // The foot of the perpendicular from q onto the line through the markers.
        const float m = static_cast<float>(end.y - start.y) / static_cast<float>(end.x - start.x);
        const float n = -1.0f / m;
        const float b = static_cast<float>(start.y) - static_cast<float>(start.x) * m;
        const float xi = (static_cast<float>(q.y) - static_cast<float>(q.x) * n - b) / (m - n);
        result.x = RoundHalfAway(xi);
        result.y = RoundHalfAway(static_cast<float>(result.x) * m + b);
    }
    result.x = std::clamp(result.x, std::min(start.x, end.x), std::max(start.x, end.x));
    result.y = std::clamp(result.y, std::min(start.y, end.y), std::max(start.y, end.y));
    return result;
}

void LSlider::StepTowardPoint(const PointT<std::int32_t>& point)
{
    const double length = GetTrackLength();
    if (length <= 0.0 || !mThumb)
    {
        return;
    }
    const PointT<double> q = ToDouble({point.x - mAnchorOffset.x, point.y - mAnchorOffset.y});
    const PointT<double> start = ToDouble(mThumbStart->GetPosition().ToLong());
    const PointT<double> thumb = ToDouble(mThumb->GetPosition().ToLong());
    const double toPoint = Distance(mThumbStart->GetPosition(), q) / length;
    const double value = Distance(start, thumb) <= Distance(start, q)
                             ? std::min(GetValue() + mPageStep, toPoint)
                             : std::max(GetValue() - mPageStep, toPoint);
    SetValue(value);
}

// ---- thumb drag ----

QZRESULT LSlider::OnThumbDragConditionChange(const RCPtr<LNotificationDistributor>&,
                                             const RCPtr<LNotification>& notification)
{
    const RCPtr<LConditionsParam> conditions =
        RCPtr<LConditionsParam>::DynamicCastFrom(notification->GetPayload());
    if (!conditions || !mThumb)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    const bool now = (conditions->GetConditions() & kLeftDrag) != 0;
    const bool before = (conditions->GetPreviousConditions() & kLeftDrag) != 0;
    if (now && !before)
    {
        mDragging = true;
        const PointT<double> thumb = mThumb->GetPosition();
        mGrabOffset = PointT<double>{conditions->GetFirstValue() - thumb.x,
                                     conditions->GetSecondValue() - thumb.y}
                          .ToLong();
        mPendingValue = -1.0;
        ValueAdjustment::SendCapture(*this, true);
    }
    else if (before && !now)
    {
        mDragging = false;
        if (mPendingValue >= 0.0 && mPendingValue <= 1.0)
        {
            LPanel::SetValue(mPendingValue);
            UpdateThumbPosition();
        }
        mPendingValue = -1.0;
        ValueAdjustment::SendCapture(*this, false);
    }
    return S_FALSE;
}

QZRESULT LSlider::OnThumbMouseMove(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification)
{
    const RCPtr<LPointWithModifiersParam> move =
        RCPtr<LPointWithModifiersParam>::DynamicCastFrom(notification->GetPayload());
    if (!move || !mDragging || !mThumb || !mThumbStart || !mThumbEnd ||
        sender.Get() != static_cast<LNotificationDistributor*>(mThumb.Get()))
    {
        return S_OK;
    }
    // The move comes in the thumb's coordinates; the track is measured in the slider's.
    const PointT<std::int32_t> origin = mThumb->GetPosition().ToLong();
    const PointT<std::int32_t> projected =
        ProjectOntoTrack({move->GetX() + origin.x, move->GetY() + origin.y});
    if (projected.x != origin.x || projected.y != origin.y)
    {
        const RCPtr<LControl> self(this);
        MoveThumbTo(projected);
        UpdateValueFromThumb();
    }
    return S_OK;
}

// ---- track presses, looks, keys and wheel ----

void LSlider::OnLeftClick(const RCPtr<LMouseButtonParam>& click)
{
    if (click)
    {
        StepTowardPoint({click->GetX(), click->GetY()});
    }
    LPanel::OnLeftClick(click);
}

void LSlider::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const std::uint32_t current = conditions->GetConditions();
    const std::uint32_t previous = conditions->GetPreviousConditions();
    const std::uint32_t changed = current ^ previous;
    if ((changed & current & kLeftDrag) != 0 && IsEnabled(true))
    {
        mRepeatActive = true;
        RequestIdle();
        mRepeatLastTime = GetApplicationSeconds();
        mRepeatRemaining = kRepeatDelaySeconds;
    }
    else if ((changed & previous & kLeftDrag) != 0 && mRepeatActive)
    {
        mRepeatActive = false;
        ReleaseIdle();
    }
    else if ((changed & kLeftDrag) == 0)
    {
        UpdateLook(previous, current);
    }
    LPanel::OnConditionsChanged(conditions);
}

void LSlider::UpdateLook(std::uint32_t previous, std::uint32_t current)
{
    const bool focusWas = IsFocusWithin(previous);
    const bool focusIs = IsFocusWithin(current);
    if (focusWas && !focusIs)
    {
        ValueAdjustment::EndKeyAdjustment(*this, mKeyAdjusting);
        SetLookWeight((current & kEnabled) != 0 ? 0 : 2, 1.0f, true);
    }
    else if (focusIs && !focusWas)
    {
        SetLookWeight(1, 1.0f, true);
    }
    else if (((current ^ previous) & kEnabled) != 0)
    {
        SetLookWeight((current & kEnabled) == 0 ? 2 : focusIs ? 1 : 0, 1.0f, true);
    }
}

void LSlider::OnIdleStep()
{
    LPanel::OnIdleStep();
    if (!mRepeatActive || (GetConditionFlags() & kHover) == 0 || !IsEnabled(true))
    {
        return;
    }
    const double now = GetApplicationSeconds();
    mRepeatRemaining -= now - mRepeatLastTime;
    mRepeatLastTime = now;
    RCPtr<LRootWindow> window;
    if (mRepeatRemaining > 0.0 || !GetRootWindowRef(window))
    {
        return;
    }
    mRepeatRemaining = kRepeatIntervalSeconds;
    PointT<long> pointer;
    window->GetMousePosition(pointer);
    const PointT<double> at = GetAbsolutePosition();
    StepTowardPoint(PointT<double>{pointer.x - at.x, pointer.y - at.y}.ToLong());
}

QZRESULT LSlider::ProcessKey(const RCPtr<LKeyParam>& key)
{
    const RCPtr<LControl> self(this);
    return ValueAdjustment::HandleArrowKey(*this, mKeyAdjusting, key) ? S_OK
                                                                      : LPanel::ProcessKey(key);
}

QZRESULT LSlider::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    const RCPtr<LControl> self(this);
    return ValueAdjustment::HandleArrowKey(*this, mKeyAdjusting, key) ? S_OK
                                                                      : LPanel::OnKeyEvent(key);
}

QZRESULT LSlider::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    ValueAdjustment::StepByWheel(*this, wheel->GetDirection());
    return S_OK;
}

QZRESULT LSlider::OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    ValueAdjustment::StepByWheel(*this, wheel->GetDirection());
    return S_OK;
}

} // namespace QZ
