#include "QZFramework/Controls/Scrollbar.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

double Along(const PointT<double>& point, std::uint32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

RCPtr<LButton> FindButton(const LControl& bar, const char16_t* name)
{
    return RCPtr<LButton>::DynamicCastFrom(bar.FindChildByName(WideString(name)));
}

bool IsShownPart(const RCPtr<LButton>& part)
{
    return part && part->IsShowing(false);
}

} // namespace

LScrollbar::LScrollbar(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LScrollbar::~LScrollbar() = default;

void LScrollbar::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LScrollbar::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                 const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

QZRESULT LScrollbar::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LScrollbar>(this);
    mThumb = FindButton(*this, u"thumb");
    mArrows[0] = FindButton(*this, u"buttonUp");
    mArrows[1] = FindButton(*this, u"buttonDown");
    if (mThumb)
    {
        mThumb->SetDragHandle(true);
        const RCPtr<LNotificationDistributor> thumb(mThumb);
        mHandler->AddHandler(&LScrollbar::OnThumbDown, thumb, NID_MOUSE_DOWN, 0);
        mHandler->AddHandler(&LScrollbar::OnThumbMove, thumb, NID_MOUSE_MOVE, 0);
    }
    for (const RCPtr<LButton>& arrow : mArrows)
    {
        if (arrow)
        {
            arrow->SetAutoRepeat(true);
            mHandler->AddHandler(&LScrollbar::OnArrow, RCPtr<LNotificationDistributor>(arrow),
                                 NID_BUTTON_AUTOREPEAT, 0);
        }
    }
    // Other parts (a channel drawn along the track) are decoration: a press on them is a press
    // on the track.
    for (std::uint32_t i = 0; i < GetChildren().GetCount(); ++i)
    {
        const RCPtr<LControl>& child = GetChildren().GetAt(i, kStorageOrder);
        if (child != mThumb && child != mArrows[0] && child != mArrows[1])
        {
            child->SetHitTestPassOver(true, false);
        }
    }
    LayoutThumb();
    return S_OK;
}

void LScrollbar::OnLayoutChangeEnd()
{
    LControl::OnLayoutChangeEnd();
    LayoutThumb();
}

void LScrollbar::SetPageShare(double share)
{
    const double clamped = std::isfinite(share) ? std::clamp(share, 0.0, 1.0) : 1.0;
    mPageShare = clamped > 0.0 ? clamped : 1.0;
    LayoutThumb();
}

void LScrollbar::OnValueChanged()
{
    LayoutThumb();
    LControl::OnValueChanged();
}

// ---- geometry ----

void LScrollbar::GetTrack(double& start, double& end) const
{
    const std::uint32_t axis = GetAxis();
    const RectT<double> client = GetLookClientRect(0);
    start = 0.0;
    end = axis == 0 ? client.width : client.height;
    if (IsShownPart(mArrows[0]))
    {
        start = std::max(start, Along(mArrows[0]->GetPosition(), axis) +
                                    Along(mArrows[0]->GetSize(), axis));
    }
    if (IsShownPart(mArrows[1]))
    {
        end = std::min(end, Along(mArrows[1]->GetPosition(), axis));
    }
    end = std::max(start, end);
}

double LScrollbar::GetThumbLength(double track) const
{
    const std::uint32_t axis = GetAxis();
    // Without a minimum from the skin the thumb stays at least as long as it is thick.
    double minimum = Along(mThumb->GetMinSize(), axis);
    if (minimum <= 0.0)
    {
        minimum = Along(mThumb->GetSize(), 1 - axis);
    }
    return std::min(track, std::max(std::round(mPageShare * track), minimum));
}

void LScrollbar::LayoutThumb()
{
    if (!mThumb || !mThumb->GetLayout() || mLayingOut)
    {
        return;
    }
    mLayingOut = true;
    const std::uint32_t axis = GetAxis();
    double start = 0.0;
    double end = 0.0;
    GetTrack(start, end);
    const double length = GetThumbLength(end - start);
    const double at = std::round(start + GetValue() * (end - start - length));
    // Placed through its layout rules, so that a later layout pass keeps it there.
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    mThumb->GetLayout()->GetAxisSpec(axis, position, size);
    position = {0.0f, LLayoutDescriptor::kClient, WideString(), 0.0f, at, position.docked};
    size = {LLayoutDescriptor::kSibling, WideString(), 0.0f, length};
    mThumb->SetAxisLayout(axis, position, size);
    mLayingOut = false;
}

// ---- input ----

void LScrollbar::OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press)
{
    LControl::OnLeftButtonDown(press);
    if (!mThumb || !press)
    {
        return;
    }
    const std::uint32_t axis = GetAxis();
    // The press is in the bar's coordinates, the thumb in its client area's.
    const RectT<double> client = GetLookClientRect(0);
    const double point = axis == 0 ? press->GetX() - client.x : press->GetY() - client.y;
    const double thumbStart = Along(mThumb->GetPosition(), axis);
    if (point < thumbStart)
    {
        SetValue(GetValue() - mLargeStep);
    }
    else if (point >= thumbStart + Along(mThumb->GetSize(), axis))
    {
        SetValue(GetValue() + mLargeStep);
    }
}

QZRESULT LScrollbar::OnArrow(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>&)
{
    const double direction =
        sender.Get() == static_cast<LNotificationDistributor*>(mArrows[0].Get()) ? -1.0 : 1.0;
    SetValue(GetValue() + direction * mSmallStep);
    return S_OK;
}

QZRESULT LScrollbar::OnThumbDown(const RCPtr<LNotificationDistributor>&,
                                 const RCPtr<LNotification>& notification)
{
    const RCPtr<LMouseButtonParam> press =
        RCPtr<LMouseButtonParam>::DynamicCastFrom(notification->GetPayload());
    if (press && press->GetButton() == 1)
    {
        mGrip = GetAxis() == 0 ? press->GetX() : press->GetY();
    }
    return S_OK;
}

QZRESULT LScrollbar::OnThumbMove(const RCPtr<LNotificationDistributor>&,
                                 const RCPtr<LNotification>& notification)
{
    const RCPtr<LPointWithModifiersParam> move =
        RCPtr<LPointWithModifiersParam>::DynamicCastFrom(notification->GetPayload());
    const std::uint32_t conditions = mThumb->GetConditionFlags();
    if (!move || (conditions & kCapture) == 0 || (conditions & (kLeftPressed | kLeftDrag)) == 0)
    {
        return S_OK;
    }
    const std::uint32_t axis = GetAxis();
    double start = 0.0;
    double end = 0.0;
    GetTrack(start, end);
    const double room = end - start - Along(mThumb->GetSize(), axis);
    if (room <= 0.0)
    {
        return S_OK;
    }
    const double pointer =
        Along(mThumb->GetPosition(), axis) + (axis == 0 ? move->GetX() : move->GetY());
    SetValue((pointer - mGrip - start) / room);
    return S_OK;
}

} // namespace QZ
