// The small window of help text shown near the pointer over a control.
//
// A control does not keep a tooltip: each time the pointer rests on it, it creates the skin's
// "toolTip" sub-control as its own child, sets the text and calls Show; Hide ends that tooltip and
// has its parent destroy it. One process-wide time stamp, the moment the last visible tooltip
// went, links successive tooltips: a tooltip armed within 50 ms of it shows at once, so moving
// from one control to the next keeps the help text coming without the hover delay.
//
// Times are the application's millisecond clock, compared in unsigned 32-bit arithmetic, always
// strictly greater. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ToolTipInterface.h"

#include <cstdint>

namespace QZ
{

class LToolTip : public LControl, public IToolTip
{
public:
    enum State : std::int32_t
    {
        kHidden = 0,
        kPending = 1,
        kShown = 2
    };
    static constexpr std::uint32_t kShowDelayMs = 500;
    static constexpr std::uint32_t kShowTimeMs = 5000;
    static constexpr std::uint32_t kFollowOnMs = 50;

    LToolTip(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    // Limits the width to the window's client width less 8 pixels and arms the tooltip: shown at
    // once when the last one hid moments ago, else pending until the hover delay has passed.
    void Show() override;
    // Ends the tooltip (a visible one stamps the hide time) and queues it for destruction.
    void Hide() override;

    // The whole rectangle catches the pointer.
    [[nodiscard]] bool IsTransparentAt(const PointT<long>& /*point*/) const override
    {
        return false;
    }
    // Never focusable; reads none of the common create parameters.
    QZRESULT ApplyCreateParams() override;
    // A tooltip is created hidden.
    QZRESULT PostInitialize() override;
    void OnIdleStep() override;

    [[nodiscard]] State GetState() const { return mState; }
    // When the last visible tooltip hid; 0 before any did.
    [[nodiscard]] static std::uint32_t GetLastHideTime() { return sLastHideTime; }

private:
    // Below the pointer, moved back inside the window's client area.
    void Place();
    void Appear(std::uint32_t now);

    static std::uint32_t sLastHideTime;
    static std::uint32_t sClosingCount;
    State mState = kHidden;
    std::uint32_t mStateTime = 0;
};

} // namespace QZ
