// A linear slider whose thumb travels on the straight line between two marker children.
//
// The skin places "thumbStart" (value 0.0) and "thumbEnd" (value 1.0) at the ends of the travel,
// in any direction; the slider clones "thumbStart" into the draggable child "thumb" and hides the
// markers. Its value is the thumb's share of the way from start to end; the value range (0 to 127,
// linear, from initialisation) maps it to the user value that keys and the wheel step by one unit.
// A press on the track steps a page (0.1) toward the pointer at once when held 0.3 s and then
// every 0.1 s; the click on release adds one more step, never past the pointer. A value set from
// outside while the thumb is dragged waits for the drag to end.
//
// Looks: 0 normal, 1 focused (the focus is on the slider or inside it), 2 disabled.
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"

#include <cstdint>

namespace QZ
{

class LSlider : public LPanel
{
public:
    static constexpr double kRepeatDelaySeconds = 0.3;
    static constexpr double kRepeatIntervalSeconds = 0.1;

    LSlider(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LSlider() override;

    // The slider's own handler, then the panel's.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Creates the thumb from "thumbStart" and sets the range 0 to 127. E_FAIL when the panel
    // fails.
    QZRESULT Initialize() override;
    // Hides the markers and places the thumb. 0.
    QZRESULT PostInitialize() override;
    // A "thumb" coming back after a re-skin takes the new "thumbStart"'s descriptor.
    QZRESULT AddChild(const RCPtr<LControl>& child,
                      const ConstRCPtr<LControlDescriptor>& descriptor) override;
    // While the thumb is dragged the position is only kept for the drag's end.
    double SetValue(double position) override;
    // Arrow keys step by one unit; other keys go to the panel.
    QZRESULT ProcessKey(const RCPtr<LKeyParam>& key) override;
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    void OnLayoutChangeEnd() override;

    [[nodiscard]] const RCPtr<LControl>& GetThumb() const { return mThumb; }
    [[nodiscard]] bool IsDragging() const { return mDragging; }
    [[nodiscard]] bool IsRepeating() const { return mRepeatActive; }

protected:
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;
    QZRESULT OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel) override;
    void OnLeftClick(const RCPtr<LMouseButtonParam>& click) override;
    void OnIdleStep() override;

private:
    QZRESULT OnThumbDragConditionChange(const RCPtr<LNotificationDistributor>& sender,
                                        const RCPtr<LNotification>& notification);
    QZRESULT OnThumbMouseMove(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification);
    // The thumbStart descriptor under the name "thumb", undocked and placed by its absolute
    // positions; null without "thumbStart".
    [[nodiscard]] RCPtr<LControlDescriptor> MakeThumbDescriptor() const;
    // The point of the track nearest to the pointer less the grab offset, within the markers.
    [[nodiscard]] PointT<std::int32_t> ProjectOntoTrack(const PointT<std::int32_t>& pointer) const;
    void MoveThumbTo(const PointT<std::int32_t>& point);
    void UpdateThumbPosition();
    void UpdateValueFromThumb();
    void StepTowardPoint(const PointT<std::int32_t>& point);
    // The distance between the markers; 0 when they coincide or one is missing.
    [[nodiscard]] double GetTrackLength() const;
    void UpdateLook(std::uint32_t previous, std::uint32_t current);

    RCPtr<LNotificationHandler<LSlider>> mHandler;
    RCPtr<LControl> mThumb;
    RCPtr<LControl> mThumbStart;
    RCPtr<LControl> mThumbEnd;
    bool mDragging = false;
    PointT<std::int32_t> mGrabOffset;
    double mPageStep = 0.1;
    bool mRepeatActive = false;
    double mRepeatLastTime = 0.0;
    double mRepeatRemaining = 0.0;
    double mPendingValue = -1.0;
    bool mKeyAdjusting = false;
    PointT<std::int32_t> mAnchorOffset;
    bool mPlacingThumb = false;
};

} // namespace QZ
