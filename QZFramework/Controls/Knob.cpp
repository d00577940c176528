#include "QZFramework/Controls/Knob.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Look.h"
#include "QZFramework/ControlBase/VisualPart.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Controls/ValueAdjustment.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"
#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>

namespace QZ
{
namespace
{

constexpr double kQuarterTurnRadians = 1.5707963267948966;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr std::uint32_t kVkControl = 0x11;

bool IsCtrlHeld()
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    bool held = false;
    bool toggled = false;
    return application != nullptr && application->GetKeyState(kVkControl, held, toggled) == S_OK &&
           held;
}

// Pixel lengths round half away from zero.
std::int32_t RoundToInt(double value)
{
    return static_cast<std::int32_t>(std::round(value));
}

} // namespace

LKnob::LKnob(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LKnob::~LKnob() = default;

double LKnob::NormalizeAngle(double degrees)
{
    if (!std::isfinite(degrees))
    {
        return 0.0;
    }
    const double angle = std::fmod(degrees, 360.0);
    return angle < 0.0 ? std::min(angle + 360.0, std::nextafter(360.0, 0.0)) : angle;
}

// ---- creation ----

void LKnob::ReadCreateParams()
{
    const ConstRCPtr<LControlDescriptor>& descriptor = GetDescriptor();
    if (!descriptor || !descriptor->createParams)
    {
        return;
    }
    struct Param
    {
        const char16_t* id;
        double* real;
    };
    double range = mLinearFullRange;
    const Param params[] = {{u"LINEAR_GESTURE_FULL_RANGE", &range},
                            {u"RADIAL_GESTURE_START_ANGLE", &mStartAngle},
                            {u"RADIAL_GESTURE_END_ANGLE", &mEndAngle},
                            {u"FINE_ADJUST_MULTIPLIER", &mFineMultiplier}};
    for (const Param& param : params)
    {
        WideString text;
        if (!descriptor->GetCreateParam(param.id, text))
        {
            continue;
        }
        // A value beyond any finite number would hang or poison the gesture arithmetic.
        if (!XmlValues::ReadNumber(text.ToNarrowString().GetString(),
                                   std::numeric_limits<double>::max(), *param.real))
        {
            DebugStreams::Narrow() << "LKnob \"" << GetName().ToNarrowString().GetString()
                                   << "\": " << WideString(param.id).ToNarrowString().GetString()
                                   << " is not a finite number; it is ignored" << std::endl;
        }
    }
    range = std::trunc(range);
    mLinearFullRange = static_cast<std::int32_t>(
        std::clamp(range, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                   static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

QZRESULT LKnob::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    ReadCreateParams();
    mRadialGesture = mStartAngle != 0.0 || mEndAngle != 0.0;
    mStartAngle = NormalizeAngle(mStartAngle);
    mEndAngle = NormalizeAngle(mEndAngle);
    if (mFineMultiplier == 0.0)
    {
        mFineMultiplier = kDefaultFineMultiplier;
    }
    // A press turns the knob at once (the radial gesture jumps to the pointer's angle).
    SetDragThreshold(0);
    SetValueRange(0.0, 127.0, 0);
    return result;
}

QZRESULT LKnob::PostInitialize()
{
    mFrameCount = 0;
    while (mFrameCount < GetLookCount() && GetLook(mFrameCount))
    {
        ++mFrameCount;
    }
    mFocusLook = -1;
    mDisabledLook = -1;
    if (GetLook(mFrameCount + 1))
    {
        mFocusLook = static_cast<std::int32_t>(mFrameCount + 1);
        if (HasFocus())
        {
            SetOverlay(mFocusLook, true);
        }
    }
    if (GetLook(mFrameCount + 2))
    {
        mDisabledLook = static_cast<std::int32_t>(mFrameCount + 2);
        if (!IsEnabled(true))
        {
            SetOverlay(mDisabledLook, true);
        }
    }
    if (!mRadialGesture && mLinearFullRange == 0 && mFrameCount > 0)
    {
        mLinearFullRange = static_cast<std::int32_t>(mFrameCount) *
                           RoundToInt(128.0 / static_cast<double>(mFrameCount));
    }
    std::uint32_t shown = 0;
    while (shown < GetLookCount() && !(GetLook(shown) && GetLookWeight(shown) > 0.0f))
    {
        ++shown;
    }
    const RectT<double> client = GetLookClientRect(shown < GetLookCount() ? shown : 0);
    mCentre = {static_cast<std::int32_t>(client.x + client.width * 0.5),
               static_cast<std::int32_t>(client.y + client.height * 0.5)};
    OnValueChanged();
    return S_OK;
}

void LKnob::SetOverlay(std::int32_t overlayLook, bool on)
{
    RCPtr<LBitmap> bitmap;
    if (on)
    {
        const RCPtr<LLook>& look = GetLook(static_cast<std::uint32_t>(overlayLook));
        const RCPtr<LVisualPart> part = look ? look->GetMainVisualPart() : RCPtr<LVisualPart>();
        if (part)
        {
            bitmap = part->GetBitmap();
        }
    }
    for (std::uint32_t frame = mFrameCount; frame-- > 0;)
    {
        SetLookBitmap(frame, bitmap, 0);
    }
}

// ---- value ----

double LKnob::SetValue(double position)
{
    if (IsDragging())
    {
        mPendingValue = position;
        return GetValue();
    }
    return LControl::SetValue(position);
}

void LKnob::OnValueChanged()
{
    // Fewer than two frames show one fixed picture.
    if (mFrameCount > 1)
    {
        SetLookWeight(static_cast<std::uint32_t>(RoundToInt((mFrameCount - 1) * GetValue())), 1.0f,
                      true);
    }
    else if (mFrameCount == 1)
    {
        SetLookWeight(0, 1.0f, true);
    }
    LControl::OnValueChanged();
}

// ---- gestures ----

void LKnob::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const std::uint32_t current = conditions->GetConditions();
    const std::uint32_t previous = conditions->GetPreviousConditions();
    const std::uint32_t changed = current ^ previous;
    const RCPtr<LControl> self(this);
    if ((changed & current & kLeftDrag) != 0)
    {
        const PointT<double> at = GetPosition();
        mLastPoint =
            PointT<double>{conditions->GetFirstValue() - at.x, conditions->GetSecondValue() - at.y}
                .ToLong();
        mPreviousPoint = mLastPoint;
        if (mRadialGesture)
        {
            ApplyRadialGesture(mLastPoint);
        }
        mPendingValue = -1.0;
        ValueAdjustment::SendCapture(*this, true);
    }
    else if ((changed & previous & kLeftDrag) != 0)
    {
        if (mPendingValue >= 0.0 && mPendingValue <= 1.0)
        {
            LControl::SetValue(mPendingValue);
        }
        mPendingValue = -1.0;
        ValueAdjustment::SendCapture(*this, false);
    }
    else if ((changed & previous & kHasFocus) != 0)
    {
        ValueAdjustment::EndKeyAdjustment(*this, mKeyAdjusting);
    }
    if ((changed & kHasFocus) != 0 && mFocusLook > 0)
    {
        SetOverlay(mFocusLook, (current & kHasFocus) != 0);
    }
    if ((changed & kEnabled) != 0 && mDisabledLook > 0)
    {
        SetOverlay(mDisabledLook, (current & kEnabled) == 0);
    }
    LControl::OnConditionsChanged(conditions);
}

void LKnob::OnMouseMove(const RCPtr<LPointWithModifiersParam>& move)
{
    LControl::OnMouseMove(move);
    if (!move || !IsDragging())
    {
        return;
    }
    const RCPtr<LControl> self(this);
    if (mRadialGesture)
    {
        ApplyRadialGesture({move->GetX(), move->GetY()});
    }
    else
    {
        ApplyLinearGesture({move->GetX(), move->GetY()});
    }
}

void LKnob::ApplyLinearGesture(const PointT<std::int32_t>& point)
{
    const bool fine = IsCtrlHeld();
    double dx = point.x - mLastPoint.x;
    double dy = point.y - mLastPoint.y;
    const double trend = (point.x - mPreviousPoint.x) - (point.y - mPreviousPoint.y);
    // The component that would move the value against the trend of the last two events is
    // dropped when it dominates.
    if (dx > 0 && dy > 0)
    {
        if (trend > 0 && dy > dx)
        {
            dy = 0;
        }
        else if (trend < 0 && dx > dy)
        {
            dx = 0;
        }
    }
    else if (dx < 0 && dy < 0)
    {
        if (trend > 0 && dy > dx)
        {
            dx = 0;
        }
        else if (trend < 0 && dx > dy)
        {
            dy = 0;
        }
    }
    // A range of one pixel or less has no steps: the knob stays where it is.
    if (mLinearFullRange > 1)
    {
        const double range = mLinearFullRange;
        const double delta = (dx - dy) / (range - 1.0) * (fine ? mFineMultiplier : 1.0);
        const double steps = fine ? range / mFineMultiplier - 1.0 : range - 1.0;
        double value = std::clamp(GetValue() + delta, 0.0, 1.0);
        if (steps >= 1.0)
        {
            value = static_cast<double>(std::llround(steps * value)) / steps;
        }
        LControl::SetValue(value);
    }
    mPreviousPoint = mLastPoint;
    mLastPoint = point;
}

void LKnob::ApplyRadialGesture(const PointT<std::int32_t>& point)
{
    const double dx = point.x - mCentre.x;
    const double dy = point.y - mCentre.y;
    if (dx == 0.0 && dy == 0.0)
    {
        return;
    }
    // 0 at 12 o'clock, growing clockwise (screen y grows downward).
    double angle = NormalizeAngle((std::atan2(dy, dx) + kQuarterTurnRadians) * kDegreesPerRadian);
    const double start = mStartAngle;
    const double end = mEndAngle <= start ? mEndAngle + 360.0 : mEndAngle;
    if (angle <= start)
    {
        angle += 360.0;
    }
    double value = 0.0;
    if (angle < start || angle > end)
    {
        // In the gap: the nearer end, split at the gap's middle.
        value = angle > end + (start + 360.0 - end) * 0.5 ? 0.0 : 1.0;
    }
    else
    {
        value = (angle - start) / (end - start);
        if (value < 0.0 || value > 1.0)
        {
            return;
        }
    }
    LControl::SetValue(value);
}

// ---- keys and wheel ----

QZRESULT LKnob::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    const RCPtr<LControl> self(this);
    return ValueAdjustment::HandleArrowKey(*this, mKeyAdjusting, key) ? S_OK : S_FALSE;
}

QZRESULT LKnob::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    ValueAdjustment::StepByWheel(*this, wheel->GetDirection());
    return S_OK;
}

QZRESULT LKnob::OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    ValueAdjustment::StepByWheel(*this, wheel->GetDirection());
    return S_OK;
}

} // namespace QZ
