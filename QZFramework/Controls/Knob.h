// A rotary control drawn as a strip of frames, one look per knob position.
//
// Looks 0 to F-1 are the frames (F counts the leading looks the skin gives), look F is left empty
// as a separator, F+1 (optional) is the focus overlay and F+2 (optional) the disabled overlay,
// whose pictures are laid onto every frame while the state lasts. The value is a position 0.0
// to 1.0 that the range (0 to 127, linear, from initialisation) maps to user units.
//
// Gestures: with "RADIAL_GESTURE_START_ANGLE" or "RADIAL_GESTURE_END_ANGLE" (degrees clockwise
// from 12 o'clock) the value follows the pointer's angle around the centre within that arc;
// otherwise a drag right or up raises the value by one step per pixel over
// "LINEAR_GESTURE_FULL_RANGE" pixels (default about 128), and with Ctrl held by
// "FINE_ADJUST_MULTIPLIER" (default 0.25) of that. Arrow keys and wheel notches step one unit.
// A value set from outside during a drag waits for the drag's end. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"

#include <cstdint>

namespace QZ
{

class LKnob : public LControl
{
public:
    static constexpr double kDefaultFineMultiplier = 0.25;

    LKnob(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LKnob() override;

    // Reads the gesture parameters and sets the range 0 to 127; the base's failure unchanged.
    QZRESULT Initialize() override;
    // Counts the frames, finds the overlays, the default linear range and the centre. 0.
    QZRESULT PostInitialize() override;
    // While the knob is dragged the position is only kept for the drag's end.
    double SetValue(double position) override;
    // Arrow keys step by one unit; 1 for every other key.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;

    // Degrees into [0, 360); a value that is not finite gives 0.
    [[nodiscard]] static double NormalizeAngle(double degrees);

    [[nodiscard]] bool IsRadial() const { return mRadialGesture; }
    [[nodiscard]] std::int32_t GetLinearFullRange() const { return mLinearFullRange; }
    [[nodiscard]] double GetStartAngle() const { return mStartAngle; }
    [[nodiscard]] double GetEndAngle() const { return mEndAngle; }
    [[nodiscard]] std::uint32_t GetFrameCount() const { return mFrameCount; }
    [[nodiscard]] PointT<std::int32_t> GetCentre() const { return mCentre; }

protected:
    void OnValueChanged() override;
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    void OnMouseMove(const RCPtr<LPointWithModifiersParam>& move) override;
    QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;
    QZRESULT OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel) override;

private:
    void ReadCreateParams();
    void ApplyRadialGesture(const PointT<std::int32_t>& point);
    void ApplyLinearGesture(const PointT<std::int32_t>& point);
    // Lays the overlay look's picture onto every frame, or takes it off again.
    void SetOverlay(std::int32_t overlayLook, bool on);
    [[nodiscard]] bool IsDragging() const { return (GetConditionFlags() & kLeftDrag) != 0; }

    bool mRadialGesture = false;
    std::int32_t mLinearFullRange = 0;
    double mStartAngle = 0.0;
    double mEndAngle = 0.0;
    double mFineMultiplier = 0.0;
    std::uint32_t mFrameCount = 0;
    PointT<std::int32_t> mLastPoint;
    PointT<std::int32_t> mPreviousPoint;
    PointT<std::int32_t> mCentre;
    double mPendingValue = -1.0;
    std::int32_t mFocusLook = -1;
    std::int32_t mDisabledLook = -1;
    bool mKeyAdjusting = false;
};

} // namespace QZ
