// A level meter: the level (the control value, 0..1) as a bar, an optional peak marker moving
// along it and an optional clip light.
//
// The meter draws nothing itself; it resizes, moves, shows and hides the children the skin gives
// it: the bar "activeOverlay" (a panel, required), the peak marker "peakLo" whose travel ends at
// the place of "peakHi" (both optional; without "peakHi" no peak shows) and the clip light
// "clipButton" (optional; lit when its value is 0.5 or more). The meter runs vertically when it
// is narrower than tall; a vertical bar covers the part above the level (1 - level).
//
// The clip light follows the caller's clip count: it lights when the count changed since the
// last SetLevels and, with latching off, goes out when it did not. With latching on it stays lit
// until the user clicks it, which puts it out and sends "NID_CLIPLIGHT_UNLATCHED".
// User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>

namespace QZ
{

class LPanel;

class LLevelMeter : public LControl
{
public:
    LLevelMeter(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LLevelMeter() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Finds the children; a runtime error when the skin gives no "activeOverlay" panel.
    QZRESULT Initialize() override;
    // Fixes the orientation, records the peak marker's travel and shows the current value.
    QZRESULT PostInitialize() override;

    // Shows the level with peak 0 and the stored clip count.
    void OnValueChanged() override;
    QZRESULT SetLevels(double level, double peak);
    // Levels and peaks outside 0..1 show as their nearest bound. 0.
    QZRESULT SetLevels(double level, double peak, std::int32_t clipCount);
    // Puts the light out and switches latching; E_FAIL, changing nothing, without a clip light.
    QZRESULT SetClipLatching(bool latch);
    [[nodiscard]] bool IsClipLit() const;
    [[nodiscard]] std::int32_t GetClipCount() const { return mClipCount; }
    // Stores the count without touching the light.
    void SetClipCount(std::int32_t count) { mClipCount = count; }
    [[nodiscard]] bool IsVertical() const { return mVertical; }

private:
    QZRESULT OnClipButtonClick(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);
    void ShowBar();
    void ShowPeak(double peak);
    [[nodiscard]] std::uint32_t GetAxis() const { return mVertical ? 1u : 0u; }

    RCPtr<LNotificationHandler<LLevelMeter>> mHandler;
    std::int32_t mClipCount = 0;
    bool mClipLatching = false;
    PointT<double> mPeakLow;
    PointT<double> mPeakHigh;
    RCPtr<LPanel> mPeak;
    RCPtr<LPanel> mBar;
    RCPtr<LControl> mClipLight;
    bool mInUpdate = false;
    bool mVertical = false;
};

} // namespace QZ
