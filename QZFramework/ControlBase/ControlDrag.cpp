// LControl: drag begin and end, drag tracking (move, resize, drag and drop, pan), value positions
// and a few queries on the control's client area.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/Look.h"
#include "QZFramework/ControlBase/RootWindow.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

enum DragMode : std::int32_t
{
    kDragDrop = 1,
    kDragMove = 2,
    kDragMoveScrolling = 3,
    kDragResize = 4,
    kDragResizeScrolling = 5,
    kDragPan = 6
};

constexpr std::int32_t kMoveX = 0x1;
constexpr std::int32_t kMoveY = 0x2;
constexpr std::int32_t kRightEdge = 0x4;
constexpr std::int32_t kLeftEdge = 0x8;
constexpr std::int32_t kTopEdge = 0x10;
constexpr std::int32_t kBottomEdge = 0x20;
constexpr std::int32_t kXBits = kMoveX | kRightEdge | kLeftEdge;
constexpr std::int32_t kYBits = kMoveY | kTopEdge | kBottomEdge;
constexpr double kEdgeMargin = 30.0;
constexpr double kEdgeRateFactor = 15.0;
// Pan moves further apart than this give the speed of the last move alone.
constexpr double kPanAverageWindow = 0.2;

double Axis(const PointT<double>& point, std::uint32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

double& Axis(PointT<double>& point, std::uint32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

// Keeps a control passed over by hit tests for as long as it lives, also when the test throws.
class PassOverScope
{
public:
    explicit PassOverScope(const RCPtr<LControl>& control) : mControl(control)
    {
        mControl->SetHitTestPassOver(true, false);
    }
    ~PassOverScope() { mControl->SetHitTestPassOver(false, false); }
    PassOverScope(const PassOverScope&) = delete;
    PassOverScope& operator=(const PassOverScope&) = delete;

private:
    RCPtr<LControl> mControl;
};

} // namespace

// What one tracked move works out before it is applied.
struct LControl::DragStep
{
    PointT<double> point;
    PointT<double> absolute;
    PointT<double> delta;
    // The pointer in the drop target's coordinates.
    PointT<double> targetPoint;
    // Distances into the edge margins and the edges (per axis: towards the start, the end).
    PointT<double> scrollDistance;
    bool towardsStart[2] = {};
    bool towardsEnd[2] = {};
    RCPtr<LControl> scroller;
};

// ---- drag begin and end ----

void LControl::RecordDragStart()
{
    mDragStartSize = mSize;
    mDragStartParentScroll = mParent ? mParent->mScrollOffset : PointT<double>();
    if (mLayout)
    {
        mDragStartLayout[0] = mLayout->position[0].absolute;
        mDragStartLayout[1] = mLayout->position[1].absolute;
        mDragStartLayout[2] = mLayout->size[0].absolute;
        mDragStartLayout[3] = mLayout->size[1].absolute;
    }
}

QZRESULT LControl::BeginDrag()
{
    if (!mFlags[kFlagLeftDrag])
    {
        return S_OK;
    }
    if (mDragMode == kDragDrop && mLayout)
    {
        mDropTarget = RCPtr<LControl>();
        mWasFloating = !mLayout->clipToParent;
        SetClipToParent(false);
        const PointT<double> scroll = mParent ? mParent->mScrollOffset : PointT<double>();
        for (std::uint32_t axis = 0; axis < 2; ++axis)
        {
            mDockedAtStart[axis] = mLayout->position[axis].docked;
            if (!mDockedAtStart[axis])
            {
                // Docked where it stands, so the parent's scrolling does not carry it away.
                LLayoutDescriptor::PositionSpec position = mLayout->position[axis];
                position.docked = true;
                position.absolute = Axis(mPosition, axis) - Axis(scroll, axis);
                SetAxisLayout(axis, position, mLayout->size[axis]);
            }
        }
    }
    RecordDragStart();
    return S_OK;
}

QZRESULT LControl::EndDrag()
{
    const RCPtr<LControl> self(this);
    if (mDragMode != kDragDrop || !mLayout)
    {
        StopAutoScrollBoth();
        return S_OK;
    }
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window))
    {
        window->SetCursor(kNoCursor);
    }
    if (!mWasFloating)
    {
        SetClipToParent(true);
    }
    const PointT<double> scroll = mParent ? mParent->mScrollOffset : PointT<double>();
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (!mDockedAtStart[axis])
        {
            LLayoutDescriptor::PositionSpec position = mLayout->position[axis];
            position.docked = false;
            position.absolute += Axis(scroll, axis);
            SetAxisLayout(axis, position, mLayout->size[axis]);
        }
    }
    StopAutoScrollBoth();
    if (const RCPtr<LControl> target = mDropTarget)
    {
        mDropTarget = RCPtr<LControl>();
        target->OnDrop(self);
        target->OnDropped(self);
    }
    return S_OK;
}

// The control's own scrolling, and that of the parent or drop target that scrolls for this drag:
// once the drag ends nothing may move the control any more.
void LControl::StopAutoScrollBoth()
{
    for (const RCPtr<LControl>& scroller : {mParent, mDropTarget})
    {
        for (std::uint32_t axis = 0; scroller && axis < 2; ++axis)
        {
            if (scroller->mAutoScroll[axis].target.Get() == this)
            {
                scroller->StopAutoScroll(axis);
            }
        }
    }
    // A flick that the release has just started runs on.
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (!mAutoScroll[axis].flick)
        {
            StopAutoScroll(axis);
        }
    }
}

void LControl::SaveDragStart()
{
    mDragOffset.x += mDragDelta.x;
    mDragOffset.y += mDragDelta.y;
    mDragDelta = {};
    RecordDragStart();
}

// ---- tracking ----

QZRESULT LControl::TrackDrag(const RCPtr<LPointParam>& point)
{
    if (!point)
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    DragStep step;
    step.point = {static_cast<double>(point->GetX()), static_cast<double>(point->GetY())};
    const PointT<double> origin = GetAbsolutePosition();
    step.absolute = {origin.x + step.point.x, origin.y + step.point.y};
    step.delta = {mPosition.x + step.point.x - mDragOffset.x,
                  mPosition.y + step.point.y - mDragOffset.y};
    step.scroller = mParent;
    if (mDragMode == kDragPan)
    {
        PanContent(step);
    }
    else if (mDragMode != kDragDrop && mParent)
    {
        ClampDrag(step);
        ApplyDragDelta(step);
    }
    else if (mDragMode == kDragDrop)
    {
        ApplyDragDelta(step);
        TrackDropTarget(step);
    }
    if (step.scroller)
    {
        ScrollAtEdges(step);
    }
    OnDragTracked(point);
    return S_OK;
}

// Keeps the pressed point inside the parent's visible area (and a resized size at 1 pixel or
// more) and finds the edge margins the pointer is in.
void LControl::ClampDrag(DragStep& step)
{
    const RectT<double> client = mParent->GetClientRect();
    const RectT<double> area{mParent->mScrollOffset.x + client.x,
                             mParent->mScrollOffset.y + client.y, client.width, client.height};
    RectT<double> bounds = area;
    AdjustDragBounds(bounds);
    const bool resizing = mDragMode == kDragResize || mDragMode == kDragResizeScrolling;
    const bool scrolling = mDragMode == kDragMoveScrolling || mDragMode == kDragResizeScrolling;
    PointT<double> pointer = step.point;
    mParent->MapPointFrom(*this, pointer);
    const std::int32_t farEdge[2] = {kRightEdge, kBottomEdge};
    const std::int32_t nearEdge[2] = {kLeftEdge, kTopEdge};
    const std::int32_t axisBits[2] = {kXBits, kYBits};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const double offset = Axis(mDragOffset, axis);
        const double start = (axis == 0 ? area.x : area.y) - offset;
        const double end = start + (axis == 0 ? area.width : area.height);
        const double boundStart = (axis == 0 ? bounds.x : bounds.y) - offset;
        const double boundEnd = boundStart + (axis == 0 ? bounds.width : bounds.height);
        if (scrolling)
        {
            const double delta = Axis(step.delta, axis);
            const double areaMiddle =
                (axis == 0 ? area.x + area.width * 0.5 : area.y + area.height * 0.5);
            if (Axis(pointer, axis) + Axis(mParent->mScrollOffset, axis) <= areaMiddle)
            {
                const double margin =
                    std::clamp(kEdgeMargin - std::trunc(boundStart - start), 0.0, kEdgeMargin);
                if (delta <= start + margin)
                {
                    Axis(step.scrollDistance, axis) = start + margin - delta;
                    step.towardsStart[axis] = (mDragOption & axisBits[axis]) != 0;
                }
            }
            else
            {
                const double margin =
                    std::clamp(kEdgeMargin - std::trunc(end - boundEnd), 0.0, kEdgeMargin);
                if (delta >= end - margin)
                {
                    Axis(step.scrollDistance, axis) = delta - (end - margin);
                    step.towardsEnd[axis] = (mDragOption & axisBits[axis]) != 0;
                }
            }
        }
        double delta =
            std::clamp(Axis(step.delta, axis), boundStart, std::max(boundStart, boundEnd));
        if (resizing)
        {
            // A size below 1 pixel would make the control vanish from under the pointer.
            const double size = Axis(mDragStartSize, axis);
            if ((mDragOption & farEdge[axis]) != 0)
            {
                delta = std::max(delta, 1.0 - size);
            }
            else if ((mDragOption & nearEdge[axis]) != 0)
            {
                delta = std::min(delta, size - 1.0);
            }
        }
        if (delta != Axis(step.delta, axis))
        {
            step.towardsStart[axis] = false;
            step.towardsEnd[axis] = false;
        }
        Axis(step.delta, axis) = delta;
    }
}

void LControl::ApplyDragDelta(const DragStep& step)
{
    mDragDelta = step.delta;
    if (!mLayout)
    {
        return;
    }
    const bool resizing = mDragMode == kDragResize || mDragMode == kDragResizeScrolling;
    const PointT<double> scroll = mParent ? mParent->mScrollOffset : PointT<double>();
    const std::int32_t moveBit[2] = {kMoveX, kMoveY};
    const std::int32_t farEdge[2] = {kRightEdge, kBottomEdge};
    const std::int32_t nearEdge[2] = {kLeftEdge, kTopEdge};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const double delta = Axis(step.delta, axis);
        LLayoutDescriptor::PositionSpec position = mLayout->position[axis];
        LLayoutDescriptor::SizeSpec size = mLayout->size[axis];
        const double scrolled =
            position.docked ? Axis(scroll, axis) - Axis(mDragStartParentScroll, axis) : 0.0;
        const double startPosition = mDragStartLayout[axis] + delta - scrolled;
        if (!resizing && (mDragOption & moveBit[axis]) != 0)
        {
            position.absolute = startPosition;
        }
        else if (resizing && (mDragOption & farEdge[axis]) != 0)
        {
            size.absolute = mDragStartLayout[2 + axis] + delta;
        }
        else if (resizing && (mDragOption & nearEdge[axis]) != 0)
        {
            position.absolute = startPosition;
            size.absolute = mDragStartLayout[2 + axis] - delta;
        }
        else
        {
            continue;
        }
        SetAxisLayout(axis, position, size);
    }
}

// Scrolls the control's own content by the pointer's movement and measures the pointer's speed
// for the flick the release may start.
void LControl::PanContent(DragStep& step)
{
    // The content's own range, the one a flick from this pan keeps to as well.
    RectT<double> range;
    GetChildScrollRange(range, RCPtr<LControl>(this));
    const double seconds = static_cast<std::uint32_t>(mMoveTime - mLastMoveTime) / 1000.0;
    if (seconds > 0.0)
    {
        PointT<double> offset = mScrollOffset;
        bool scrolled = false;
        for (std::uint32_t axis = 0; axis < 2; ++axis)
        {
            const double moved = Axis(step.delta, axis) - Axis(mDragDelta, axis);
            const double speed = moved / seconds;
            double& velocity = Axis(mFlickVelocity, axis);
            velocity = velocity == 0.0 || seconds >= kPanAverageWindow
                           ? speed
                           : 0.5 * speed + 0.5 * velocity;
            if (!std::isfinite(velocity))
            {
                velocity = 0.0;
            }
            const bool enabled =
                mDragOption == 3 || mDragOption == static_cast<std::int32_t>(axis + 1);
            if (enabled && moved != 0.0)
            {
                const double low = axis == 0 ? range.x : range.y;
                const double high = low + (axis == 0 ? range.width : range.height);
                Axis(offset, axis) =
                    std::clamp(Axis(offset, axis) + moved, low, std::max(low, high));
                scrolled = true;
            }
        }
        if (scrolled)
        {
            SetScrollOffset(offset);
        }
    }
    mDragDelta = step.delta;
}

// Finds the control that would take the drop under the pointer, tells the former and the new one,
// shows whether a drop is possible and finds the drop target's scrolling edges.
void LControl::TrackDropTarget(DragStep& step)
{
    const RCPtr<LControl> self(this);
    RCPtr<LRootWindow> window;
    if (!GetRootWindowRef(window))
    {
        return;
    }
    RCPtr<LControl> found;
    PointT<long> hit;
    {
        const PassOverScope passOver(self);
        const PointT<std::int32_t> at = step.absolute.ToLong();
        window->HitTest(found, at.x, at.y, hit, 0);
    }
    RCPtr<LControl> target;
    step.targetPoint = {static_cast<double>(hit.x), static_cast<double>(hit.y)};
    if (found)
    {
        found->FindDropTarget(target, self, step.absolute);
        if (target && target != found)
        {
            target->MapPointFrom(*found, step.targetPoint);
        }
    }
    if (target == mDropTarget)
    {
        if (target)
        {
            target->OnDragOver(self, step.absolute);
        }
    }
    else
    {
        if (const RCPtr<LControl> former = mDropTarget)
        {
            former->StopAutoScroll(0);
            former->StopAutoScroll(1);
            former->OnDragLeave(self);
        }
        mDropTarget = target;
        window->SetCursor(LoadAppCursor(target ? UI_CURSOR_DROP_MOVE : UI_CURSOR_NO_DROP));
        if (target)
        {
            target->OnDragEnter(self);
            target->OnDragOver(self, step.absolute);
        }
    }
    if (!mDropTarget)
    {
        return;
    }
    step.scroller = mDropTarget;
    const std::uint32_t edges = mDropTarget->GetDropAutoScrollEdges(self);
    if (edges == 0)
    {
        return;
    }
    RectT<double> client{0.0, 0.0, mDropTarget->mSize.x, mDropTarget->mSize.y};
    if (const RCPtr<LLook>& look = mDropTarget->GetCurrentLook())
    {
        const RectT<std::int32_t> part = look->GetClientRect();
        client = {static_cast<double>(part.x), static_cast<double>(part.y),
                  static_cast<double>(part.width), static_cast<double>(part.height)};
    }
    const PointT<double> scroll = mDropTarget->mScrollOffset;
    const double extent[2] = {client.width, client.height};
    const double origin[2] = {client.x, client.y};
    const std::uint32_t farEdge[2] = {kRightEdge, kBottomEdge};
    const std::uint32_t nearEdge[2] = {kLeftEdge, kTopEdge};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const double at = Axis(step.targetPoint, axis) + Axis(scroll, axis) - origin[axis];
        const double end = Axis(scroll, axis) + extent[axis] - kEdgeMargin;
        const double start = Axis(scroll, axis) + kEdgeMargin;
        if (at >= end)
        {
            Axis(step.scrollDistance, axis) = at - end;
            step.towardsEnd[axis] = (edges & farEdge[axis]) != 0;
        }
        else if (at <= start)
        {
            Axis(step.scrollDistance, axis) = start - at;
            step.towardsStart[axis] = (edges & nearEdge[axis]) != 0;
        }
    }
}

// Runs the scrolling control's automatic scroll on the axes whose edge the pointer is near, at a
// speed that grows with the distance into the margin.
void LControl::ScrollAtEdges(const DragStep& step)
{
    const RCPtr<LControl> self(this);
    const RCPtr<LControl> scroller = step.scroller;
    RectT<double> range;
    scroller->GetChildScrollRange(range, self);
    const double low[2] = {range.x, range.y};
    const double high[2] = {range.x + range.width, range.y + range.height};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (!step.towardsStart[axis] && !step.towardsEnd[axis])
        {
            scroller->StopAutoScroll(axis);
            continue;
        }
        const double speed = (Axis(step.scrollDistance, axis) + 1.0) * kEdgeRateFactor;
        scroller->StartAutoScroll(axis, step.towardsEnd[axis] ? speed : -speed, high[axis],
                                  low[axis], self);
    }
}

// ---- value positions and queries ----

std::int32_t LControl::GetFirstVisibleLookIndex() const
{
    for (std::uint32_t index = 0; index < mLooks.size(); ++index)
    {
        if (TakesPart(index))
        {
            return static_cast<std::int32_t>(index);
        }
    }
    return -1;
}

const RCPtr<LLook>& LControl::GetCurrentLook() const
{
    const std::int32_t visible = GetFirstVisibleLookIndex();
    if (visible >= 0)
    {
        return mLooks[static_cast<std::uint32_t>(visible)];
    }
    const auto present = std::find_if(mLooks.begin(), mLooks.end(),
                                      [](const RCPtr<LLook>& look) { return bool(look); });
    return present != mLooks.end() ? *present : GetLook(0);
}

bool LControl::IsTextClipped() const
{
    const RCPtr<LLook>& look = GetCurrentLook();
    return look ? look->IsTextClipped() : !mText.IsEmpty();
}

QZRESULT LControl::QueueChildDestroy(const RCPtr<LControl>& child)
{
    if (!child || child->mParent.Get() != this)
    {
        return E_INVALIDARG;
    }
    child->SetShown(false);
    return QueueDestroy(child);
}

RectT<double> LControl::GetClientRect() const
{
    const RectT<double> client = GetLookClientRect(0);
    return {0.0, 0.0, client.width, client.height};
}

PointT<double> LControl::GetOffsetFromRoot() const
{
    const PointT<double> position = GetPositionInRoot();
    return {-position.x, -position.y};
}

RectT<double> LControl::GetVisibleContentRect() const
{
    const PointT<std::int32_t> offset = mScrollOffset.ToLong();
    const RectT<double> client = GetLookClientRect(0);
    return {static_cast<double>(offset.x), static_cast<double>(offset.y), client.width,
            client.height};
}

} // namespace QZ
