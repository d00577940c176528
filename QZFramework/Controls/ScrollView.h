// A control whose content (its client extent) may be larger than itself: it shows the skin's
// scroll bars ("hBar", "vBar") and corner piece ("corner") when the content does not fit, moves
// its scroll offset when a bar moves or the wheel turns, and keeps the bars in step when the
// extent, the size or the offset changes. The extent is set by the owner or follows the children
// (plus a margin) on the axes the automatic mode names. In step mode an axis scrolls by whole
// steps (rows of a list). The base of panels, dialogs, list boxes and text boxes.
//
// Missing bars or a missing corner count as size 0 and are never shown. User-interface thread
// only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>

namespace QZ
{

class LScrollView : public LControl
{
public:
    // Bits of the automatic client extent.
    static constexpr std::uint32_t kAutoExtentX = 1;
    static constexpr std::uint32_t kAutoExtentY = 2;

    LScrollView(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LScrollView() override;

    // The scroll view's own handlers first, then the control's; only once created.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Finds and binds the bars and the corner, then shows the bars the content needs.
    QZRESULT Initialize() override;
    // A new skin for a created view binds the bars again and keeps the automatic extent.
    QZRESULT ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor) override;
    // Also "AUTO_CLIENT_EXTENT_X" and "AUTO_CLIENT_EXTENT_Y" ("true": the axis follows the
    // children, margin 0).
    QZRESULT ApplyCreateParams() override;
    void OnLayoutChangeBegin() override;
    void OnLayoutChangeEnd() override;
    void OnScrollOffsetChanged(const PointT<double>& previous,
                               const PointT<double>& current) override;
    void OnChildRectChanged(const RCPtr<LControl>& child) override;
    void OnChildRemoved(std::uint32_t position) override;
    // A maximum-size rule that refers to a control sizes the axis by the content: the far edge
    // of the children not docked on it.
    [[nodiscard]] PointT<double> GetMaximumSize() const override;
    void SetScrollOffset(const PointT<double>& offset) override;
    // (0, 0, extent - view) per axis, 2^52 on an axis without extent.
    void GetChildScrollRange(RectT<double>& range, const RCPtr<LControl>& child) const override;
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    // One wheel step moves a shown bar by its small step (Shift: large step); Alt turns the
    // vertical wheel to the horizontal bar. 1 without a usable bar.
    QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;
    QZRESULT OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel) override;

    // 1, changing nothing, when both differ from the extent by less than 2.2e-15; else stores
    // them, runs OnClientExtentChanged, sends "NID_CLIENT_EXTENT_CHANGE" and answers 0.
    QZRESULT SetClientExtent(double x, double y);
    [[nodiscard]] const PointT<double>& GetClientExtent() const { return mClientExtent; }
    // The axes that follow the children (kAutoExtentX, kAutoExtentY) and the margins added. 0.
    QZRESULT SetAutoClientExtent(std::uint32_t mode, std::int32_t marginX, std::int32_t marginY);
    [[nodiscard]] std::uint32_t GetAutoClientExtent() const { return mAutoExtent; }
    // 1 without an automatic axis, else SetClientExtent's answer.
    QZRESULT UpdateAutoClientExtent();
    // Shows the bars the content needs and brings them in step; 1 when already running, else 0.
    QZRESULT UpdateScrollBars();
    // Ranges, steps and page shares of the bars from the extent and the view; the offset follows
    // the bars' values.
    void SyncScrollBars();
    // The room the bars take: the corner's size, else the bars' own (0 for a missing bar).
    [[nodiscard]] PointT<double> GetScrollBarExtent() const;
    // The look's client rectangle less the room of the shown bars.
    [[nodiscard]] RectT<double> GetClientRect() const override;
    // The view widened to the minimum view size on each axis, the widening shared out on both
    // sides of the scroll offset; a widened axis starts at 0 at the earliest and ends at the
    // children's far edge at the latest (at 0 when they are narrower than the view).
    [[nodiscard]] RectT<double> GetVisibleContentRect() const override;
    // Follows the children again when the view belongs to a window.
    void RefreshClientExtent();
    // Step mode on an axis: the offset moves by whole steps of that many pixels; off while the
    // step is not positive.
    void SetStepMode(std::uint32_t axis, bool on, std::int32_t step);
    [[nodiscard]] bool IsStepMode(std::uint32_t axis) const
    {
        return axis < 2 && mStepMode[axis] != 0 && mStepSize[axis] > 0;
    }
    // A drag mode (6, option 1) starts when condition bit 0x80000000 comes on.
    void SetConditionDrag(bool on) { mConditionDrag = on ? 1u : 0u; }
    [[nodiscard]] const RCPtr<LControl>& GetHorizontalBar() const { return mBars[0]; }
    [[nodiscard]] const RCPtr<LControl>& GetVerticalBar() const { return mBars[1]; }

protected:
    // The smallest view GetVisibleContentRect reports, for views that always show that much.
    void SetMinimumViewSize(double width, double height) { mMinimumView = {width, height}; }
    // After a new extent was stored: brings the bars in step.
    virtual void OnClientExtentChanged() { UpdateScrollBars(); }
    // The client rectangle changed because a bar came or went.
    virtual void OnClientRectChanged() {}
    // A bar's showing state changed (axis 0 horizontal, 1 vertical).
    virtual void OnScrollBarVisibilityChanged(std::uint32_t /*axis*/) {}
    [[nodiscard]] const RCPtr<LNotificationHandler<LScrollView>>& GetScrollViewHandler() const
    {
        return mHandler;
    }

private:
    // Handler of "NID_VALUE_CHANGE" from a bar. 1.
    QZRESULT OnBarMoved(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification);
    void BindBars();
    void SyncBar(std::uint32_t axis);
    void PutOffsetOnBar(std::uint32_t axis, double offset);
    [[nodiscard]] bool IsUsable(std::uint32_t axis) const;
    QZRESULT MoveBarByWheel(std::uint32_t axis, const LMouseWheelParam& wheel, bool negate);
    [[nodiscard]] bool IsScrollPart(const LControl* child) const;

    RCPtr<LNotificationHandler<LScrollView>> mHandler;
    bool mUpdating = false;
    bool mSettingOffset = false;
    bool mSizeChangePending = false;
    // Horizontal (0) and vertical (1).
    RCPtr<LControl> mBars[2];
    RCPtr<LControl> mCorner;
    PointT<double> mClientExtent;
    // Vertical bar width (x) and horizontal bar height (y).
    PointT<double> mBarRoom;
    std::uint32_t mStepMode[2] = {0, 0};
    std::int32_t mStepSize[2] = {0, 0};
    std::uint32_t mAutoExtent = 0;
    std::int32_t mMargin[2] = {0, 0};
    std::uint32_t mConditionDrag = 0;
    PointT<double> mMinimumView;
};

} // namespace QZ
