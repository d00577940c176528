#include "QZFramework/Controls/SplitterBase.h"

#include "QZFramework/Application/AppCursors.h"
#include "QZFramework/Application/ApplicationBase.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

constexpr std::int32_t kAxisMove = 3;
constexpr std::uint32_t kLookDisabled = 6;
constexpr std::uint32_t kLookFocusOffset = 3;
// Sizes closer than this count as equal.
constexpr double kSizeTolerance = 2.220446049250313e-15;

double AxisOf(const PointT<double>& point, std::uint32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

} // namespace

LSplitterBase::LSplitterBase(const RCPtr<LControl>& parent, const WideString& name,
                             std::int32_t orientation, bool mostDerived)
    : LControl(parent, name, mostDerived), mOrientation(orientation)
{
}

double LSplitterBase::Along(const PointT<double>& point) const
{
    return AxisOf(point, GetAxis());
}

QZRESULT LSplitterBase::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Succeeded(result))
    {
        SetCursor(LoadAppCursor(mOrientation == 0 ? UI_CURSOR_SIZE_NS : UI_CURSOR_SIZE_WE));
    }
    return result;
}

void LSplitterBase::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const std::uint32_t current = conditions->GetConditions();
    const std::uint32_t changed = current ^ conditions->GetPreviousConditions();
    if ((changed & current & kLeftDrag) != 0)
    {
        SetDragMode(kAxisMove, mOrientation == 0 ? 2 : 1);
    }
    else if ((changed & kLeftDrag) != 0)
    {
        mAnchor = nullptr;
    }
    UpdateLook();
}

void LSplitterBase::UpdateLook()
{
    if (!IsEnabled(true))
    {
        SetLookWeight(kLookDisabled, 1.0f, true);
        return;
    }
    const std::uint32_t conditions = GetConditionFlags();
    const bool over = (conditions & kPointerOver) != 0;
    const bool dragging = HasCapture() && (conditions & kLeftDrag) != 0;
    std::uint32_t look = 0;
    if (dragging)
    {
        look = over ? 2 : 1;
    }
    else if (over && !HasCapture())
    {
        look = 1;
    }
    SetLookWeight(look + (HasFocus() ? kLookFocusOffset : 0), 1.0f, true);
}

LSplitterBase::Range LSplitterBase::ComputeRange(bool detach)
{
    Range range;
    const RCPtr<LControl>& parent = GetParent();
    if (!parent || !GetLayout())
    {
        return range;
    }
    const std::uint32_t axis = GetAxis();
    const double position = Along(GetPosition());
    LLayoutDescriptor::PositionSpec place;
    LLayoutDescriptor::SizeSpec size;
    GetLayout()->GetAxisSpec(axis, place, size);
    if (place.kind == LLayoutDescriptor::kSibling && !place.name.IsEmpty() &&
        place.name != GetName())
    {
        range.anchor = parent->FindChildByName(place.name);
    }
    if (const RCPtr<LControl>& anchor = range.anchor)
    {
        if (detach)
        {
            mSavedRelative = place.relative;
            mSavedAbsolute = place.absolute;
            place.kind = LLayoutDescriptor::kClient;
            place.relative = 0.0f;
            place.absolute = position;
            SetAxisLayout(axis, place, size);
        }
        LLayoutDescriptor::PositionSpec anchorPlace;
        LLayoutDescriptor::SizeSpec anchorSize;
        anchor->GetLayout()->GetAxisSpec(axis, anchorPlace, anchorSize);
        range.anchorSize = anchorSize.absolute;
        // Measured on the anchor's real size: the rule's absolute part is only a share of it when
        // the rule has a relative part too, and the real size must stay within the limits.
        const double current = Along(anchor->GetSize());
        const double least = Along(anchor->GetMinSize());
        const double most = Along(anchor->GetMaxSize());
        range.minimum = std::max(range.minimum, position - (current - least));
        if (most > 0.0)
        {
            range.maximum = std::min(range.maximum, position + (most - current));
        }
    }
    LimitByDependants(range, position, !detach);
    return range;
}

double LSplitterBase::GetRuledSize(const LControl& sibling) const
{
    // Resolved as the sibling: its rules name this bar, which is no sibling of the bar itself.
    const RectT<double> rect = sibling.GetRuledRect();
    return GetAxis() == 0 ? rect.width : rect.height;
}

void LSplitterBase::LimitByDependants(Range& range, double position, bool resizing) const
{
    const std::uint32_t axis = GetAxis();
    const LControl::ChildControlList& siblings = GetParent()->GetChildren();
    for (std::uint32_t i = 0; i < siblings.GetCount(); ++i)
    {
        const RCPtr<LControl>& sibling = siblings.GetAt(i, kStorageOrder);
        if (!sibling->GetLayout() || sibling->GetLayout()->layoutOrder <= GetLayout()->layoutOrder)
        {
            continue;
        }
        LLayoutDescriptor::PositionSpec place;
        LLayoutDescriptor::SizeSpec size;
        sibling->GetLayout()->GetAxisSpec(axis, place, size);
        const bool sizedByBar =
            size.kind == LLayoutDescriptor::kSpanToSibling && size.name == GetName();
        const bool placedAfterBar = place.kind == LLayoutDescriptor::kSibling &&
                                    place.name == GetName() &&
                                    size.kind != LLayoutDescriptor::kSibling;
        if (!sizedByBar && !placedAfterBar)
        {
            continue;
        }
        double current = Along(sibling->GetSize());
        const double least = Along(sibling->GetMinSize());
        const double most = Along(sibling->GetMaxSize());
        if (resizing)
        {
            // After a resize only a sibling that its limits hold away from the size its rules
            // give needs room, and that size is what it lacks.
            current = GetRuledSize(*sibling);
            const double limited =
                most > 0.0 ? std::min(std::max(current, least), most) : std::max(current, least);
            if (std::abs(limited - current) < kSizeTolerance)
            {
                continue;
            }
        }
        // A rule measured from the far side shrinks the sibling as the bar moves on.
        const bool shrinksAhead =
            (sizedByBar && size.relative != 0.0f) || (placedAfterBar && place.relative != 0.0f);
        if (shrinksAhead)
        {
            range.maximum = std::min(range.maximum, position + (current - least));
            if (most > 0.0)
            {
                range.minimum = std::max(range.minimum, position - (most - current));
            }
        }
        else
        {
            range.minimum = std::max(range.minimum, position - (current - least));
            if (most > 0.0)
            {
                range.maximum = std::min(range.maximum, position + (most - current));
            }
        }
    }
}

QZRESULT LSplitterBase::BeginDrag()
{
    const double position = Along(GetPosition());
    const Range range = ComputeRange(true);
    mAnchor = range.anchor;
    mAnchorSize = range.anchorSize;
    mStartPosition = position;
    LLayoutDescriptor::PositionSpec place;
    LLayoutDescriptor::SizeSpec size;
    if (GetLayout())
    {
        GetLayout()->GetAxisSpec(GetAxis(), place, size);
    }
    mStartAbsolute = place.absolute;
    // Limits that contradict each other leave the bar where it is.
    const bool contradictory = range.minimum > range.maximum;
    const double shift = Along(GetAbsolutePosition()) - position;
    mDragMinimum = (contradictory ? position : range.minimum) + shift;
    mDragMaximum = (contradictory ? position : range.maximum) + shift;
    return LControl::BeginDrag();
}

QZRESULT LSplitterBase::TrackDrag(const RCPtr<LPointParam>& point)
{
    if (!point || !GetLayout())
    {
        return S_OK;
    }
    const std::uint32_t axis = GetAxis();
    const double position = Along(GetPosition());
    const double grip = Along(GetDragOffset()) - mStartPosition;
    const double pointer = position + (axis == 0 ? point->GetX() : point->GetY());
    RectT<double> bounds;
    GetDragBounds(bounds);
    const double shift = Along(GetAbsolutePosition()) - position;
    const double low = (axis == 0 ? bounds.x : bounds.y) - shift;
    const double high = low + (axis == 0 ? bounds.width : bounds.height);
    const double wanted = std::clamp(pointer - grip, low, std::max(low, high));
    const double displacement = wanted - mStartPosition;
    LLayoutDescriptor::PositionSpec place;
    LLayoutDescriptor::SizeSpec size;
    GetLayout()->GetAxisSpec(axis, place, size);
    place.absolute = mStartAbsolute + displacement;
    SetAxisLayout(axis, place, size);
    OnDragStep(displacement);
    return S_OK;
}

void LSplitterBase::OnDragStep(double displacement)
{
    if (!mAnchor || !mAnchor->GetLayout())
    {
        return;
    }
    LLayoutDescriptor::PositionSpec place;
    LLayoutDescriptor::SizeSpec size;
    mAnchor->GetLayout()->GetAxisSpec(GetAxis(), place, size);
    size.absolute = mAnchorSize + displacement;
    mAnchor->SetAxisLayout(GetAxis(), place, size);
}

QZRESULT LSplitterBase::EndDrag()
{
    if (mAnchor && GetLayout())
    {
        LLayoutDescriptor::PositionSpec place;
        LLayoutDescriptor::SizeSpec size;
        GetLayout()->GetAxisSpec(GetAxis(), place, size);
        place.kind = LLayoutDescriptor::kSibling;
        place.name = mAnchor->GetName();
        place.relative = mSavedRelative;
        place.absolute = mSavedAbsolute;
        SetAxisLayout(GetAxis(), place, size);
    }
    return LControl::EndDrag();
}

void LSplitterBase::GetDragBounds(RectT<double>& bounds) const
{
    if (GetAxis() == 0)
    {
        bounds.x = mDragMinimum;
        bounds.width = mDragMaximum - mDragMinimum;
    }
    else
    {
        bounds.y = mDragMinimum;
        bounds.height = mDragMaximum - mDragMinimum;
    }
}

QZRESULT LSplitterBase::OnResize()
{
    LControl::OnResize();
    Range range = ComputeRange(false);
    if (range.minimum > range.maximum)
    {
        std::swap(range.minimum, range.maximum);
    }
    const double position = Along(GetPosition());
    const double bound = std::clamp(position, range.minimum, range.maximum);
    if (range.anchor && range.anchor->GetLayout() && bound != position)
    {
        LLayoutDescriptor::PositionSpec place;
        LLayoutDescriptor::SizeSpec size;
        range.anchor->GetLayout()->GetAxisSpec(GetAxis(), place, size);
        size.absolute += bound - position;
        range.anchor->SetAxisLayout(GetAxis(), place, size);
    }
    return S_OK;
}

} // namespace QZ
