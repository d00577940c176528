// A scroll bar: its value is the position (0..1) of what it scrolls, mapped by its value range
// (0 to extent minus view, set by the scroll view) into pixels.
//
// The skin gives its parts by name: "thumb", a button the user drags, whose length shows the page
// share (never below the thumb's minimum size); and the optional arrow buttons "buttonUp" (at the
// start) and "buttonDown" (at the end), which step by the small step while held. A press on the
// track pages towards the press by the large step. The bar runs vertically when it is taller than
// wide. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ScrollBarInterface.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>

namespace QZ
{

class LButton;

class LScrollbar : public LControl, public IScrollBar
{
public:
    LScrollbar(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LScrollbar() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Finds the thumb and the arrow buttons and listens to them.
    QZRESULT Initialize() override;
    void OnLayoutChangeEnd() override;

    void SetSmallStep(double step) override { mSmallStep = step; }
    [[nodiscard]] double GetSmallStep() const override { return mSmallStep; }
    void SetLargeStep(double step) override { mLargeStep = step; }
    [[nodiscard]] double GetLargeStep() const override { return mLargeStep; }
    // Clamped into (0, 1]; resizes the thumb.
    void SetPageShare(double share) override;
    [[nodiscard]] double GetPageShare() const override { return mPageShare; }

    // 0 horizontal, 1 vertical.
    [[nodiscard]] std::uint32_t GetAxis() const { return GetSize().y > GetSize().x ? 1u : 0u; }
    // The track's start and end on the axis, in the bar's coordinates: the client area less the
    // arrow buttons.
    void GetTrack(double& start, double& end) const;
    [[nodiscard]] const RCPtr<LButton>& GetThumb() const { return mThumb; }

protected:
    void OnValueChanged() override;
    void OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press) override;

private:
    QZRESULT OnArrow(const RCPtr<LNotificationDistributor>& sender,
                     const RCPtr<LNotification>& notification);
    QZRESULT OnThumbDown(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);
    QZRESULT OnThumbMove(const RCPtr<LNotificationDistributor>& sender,
                         const RCPtr<LNotification>& notification);
    void LayoutThumb();
    [[nodiscard]] double GetThumbLength(double track) const;

    RCPtr<LNotificationHandler<LScrollbar>> mHandler;
    RCPtr<LButton> mThumb;
    RCPtr<LButton> mArrows[2];
    double mSmallStep = 0.1;
    double mLargeStep = 1.0;
    double mPageShare = 1.0;
    // Where on the thumb (along the axis) the drag holds it.
    double mGrip = 0.0;
    bool mLayingOut = false;
};

} // namespace QZ
