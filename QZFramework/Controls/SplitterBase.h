// A splitter: a thin bar between laid-out siblings that the user drags to give one of them more
// room. A horizontal splitter (orientation 0) moves up and down, a vertical one (1) left and
// right.
//
// The splitter resizes nothing by itself; the skin's layout rules do the work. The sibling that
// the bar's position rule names (its anchor) grows or shrinks by exactly the distance the bar
// moves, and siblings whose rules refer to the bar follow through the normal layout. While a
// drag is under way the bar's own rule is detached from the anchor (it stands where it is in the
// parent's client area) and is given back when the drag ends, so that the bar stays where it was
// dropped.
//
// The range the bar may move in is fixed when the drag begins: the anchor keeps within its
// minimum and maximum size, and every later sibling that the bar places or sizes within its own.
// No size ever drops below 0. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"

#include <cstdint>

namespace QZ
{

class LSplitterBase : public LControl
{
public:
    // No upper limit of a drag range.
    static constexpr double kNoLimit = 4503599627370496.0;

    // orientation: 0 horizontal bar (moves along y), 1 vertical bar (moves along x).
    LSplitterBase(const RCPtr<LControl>& parent, const WideString& name, std::int32_t orientation,
                  bool mostDerived);

    // The north-south sizing cursor for a horizontal bar, the west-east one for a vertical bar.
    QZRESULT Initialize() override;
    // A left drag moves the bar along its axis only; the look follows focus, pointer and drag.
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    // Fixes the drag range and detaches the bar from its anchor.
    QZRESULT BeginDrag() override;
    // Moves the bar with the pointer within the range and resizes the anchor by as much.
    QZRESULT TrackDrag(const RCPtr<LPointParam>& point) override;
    // Attaches the bar to its anchor again.
    QZRESULT EndDrag() override;
    // Keeps the bar inside its range when the parent's size changes, by resizing the anchor.
    QZRESULT OnResize() override;

    // The rectangle (root-window coordinates) the bar may move in: on the bar's axis the drag
    // range, the other axis as given.
    void GetDragBounds(RectT<double>& bounds) const;

    [[nodiscard]] std::int32_t GetOrientation() const { return mOrientation; }
    // 1 (y) for a horizontal bar, 0 (x) for a vertical one.
    [[nodiscard]] std::uint32_t GetAxis() const { return mOrientation == 0 ? 1u : 0u; }
    [[nodiscard]] double GetDragMinimum() const { return mDragMinimum; }
    [[nodiscard]] double GetDragMaximum() const { return mDragMaximum; }
    [[nodiscard]] const RCPtr<LControl>& GetAnchor() const { return mAnchor; }

protected:
    // Gives the anchor the size it had when the drag began plus the bar's displacement.
    virtual void OnDragStep(double displacement);

private:
    struct Range
    {
        double minimum = 0.0;
        double maximum = kNoLimit;
        RCPtr<LControl> anchor;
        double anchorSize = 0.0;
    };
    // The range of the bar's coordinate in the parent. For a drag (detach) the bar's rule is
    // rewritten and every dependant counts with its size; after a resize only the dependants that
    // their limits hold away from the size their rules give, with that size.
    Range ComputeRange(bool detach);
    void LimitByDependants(Range& range, double position, bool resizing) const;
    // The size the sibling's rules give on the bar's axis, before its limits.
    [[nodiscard]] double GetRuledSize(const LControl& sibling) const;
    void UpdateLook();
    [[nodiscard]] double Along(const PointT<double>& point) const;

    const std::int32_t mOrientation;
    double mDragMinimum = 0.0;
    double mDragMaximum = kNoLimit;
    double mSavedAbsolute = 0.0;
    float mSavedRelative = 0.0f;
    RCPtr<LControl> mAnchor;
    double mAnchorSize = 0.0;
    // The bar's coordinate in the parent and its rule's absolute part when the drag began.
    double mStartPosition = 0.0;
    double mStartAbsolute = 0.0;
};

} // namespace QZ
