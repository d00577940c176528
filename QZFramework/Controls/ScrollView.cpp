#include "QZFramework/Controls/ScrollView.h"

#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/ScrollBarInterface.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Notification/AutoNotificationDisabler.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

constexpr double kExtentEpsilon = 2.220446049250313e-15;
constexpr double kUnlimited = 4503599627370496.0; // 2^52
// A bar's value in step mode is a sum of fractions: one a hair below a whole step is that step.
constexpr double kStepTolerance = 1e-9;
constexpr std::uint32_t kDragCondition = 0x80000000;
const WideString kBarNames[2] = {WideString(u"hBar"), WideString(u"vBar")};
const WideString kCornerName(u"corner");

double Axis(const PointT<double>& point, std::uint32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

double& Axis(PointT<double>& point, std::uint32_t axis)
{
    return axis == 0 ? point.x : point.y;
}

double ViewSize(const RectT<double>& rect, std::uint32_t axis)
{
    return axis == 0 ? rect.width : rect.height;
}

IScrollBar* AsBar(const RCPtr<LControl>& control)
{
    return dynamic_cast<IScrollBar*>(control.Get());
}

bool IsDocked(const LControl& control, std::uint32_t axis)
{
    return control.GetLayout() && control.GetLayout()->position[axis].docked;
}

bool IsShownFlag(const LControl& control)
{
    return !control.GetLayout() || control.GetLayout()->shown;
}

bool IsTrueParam(const LControlDescriptor& descriptor, const char16_t* id)
{
    WideString text;
    return descriptor.GetCreateParam(id, text) &&
           XmlValues::IsTrue(text.ToNarrowString().GetString());
}

} // namespace

LScrollView::LScrollView(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LScrollView::~LScrollView() = default;

void LScrollView::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT LScrollView::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                  const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

// ---- creation ----

QZRESULT LScrollView::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LScrollView>(this);
    BindBars();
    UpdateScrollBars();
    return S_OK;
}

void LScrollView::BindBars()
{
    mCorner = FindChildByName(kCornerName);
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        RCPtr<LControl> bar = FindChildByName(kBarNames[axis]);
        mBars[axis] = AsBar(bar) != nullptr ? bar : RCPtr<LControl>();
    }
    mBarRoom = mCorner && mCorner->GetDescriptor()
                   ? PointT<double>(mCorner->GetDescriptor()->absoluteWidth,
                                    mCorner->GetDescriptor()->absoluteHeight)
                   : PointT<double>();
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (mBars[axis] && !IsCreated() && mHandler)
        {
            mHandler->AddHandler(&LScrollView::OnBarMoved,
                                 RCPtr<LNotificationDistributor>(mBars[axis]), NID_VALUE_CHANGE, 0);
        }
    }
    // The vertical bar's width is the room across x, the horizontal bar's height across y.
    if (mBarRoom.x == 0.0 && mBars[1])
    {
        mBarRoom.x = mBars[1]->GetSize().x;
    }
    if (mBarRoom.y == 0.0 && mBars[0])
    {
        mBarRoom.y = mBars[0]->GetSize().y;
    }
}

QZRESULT LScrollView::ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    if (!IsCreated())
    {
        return LControl::ApplyDescriptor(descriptor);
    }
    const std::uint32_t mode = mAutoExtent;
    mAutoExtent = 0;
    const QZRESULT result = LControl::ApplyDescriptor(descriptor);
    BindBars();
    mAutoExtent = mode;
    UpdateAutoClientExtent();
    UpdateScrollBars();
    OnLayoutChangeEnd();
    return result;
}

QZRESULT LScrollView::ApplyCreateParams()
{
    LControl::ApplyCreateParams();
    if (const ConstRCPtr<LControlDescriptor>& descriptor = GetDescriptor())
    {
        mAutoExtent |= IsTrueParam(*descriptor, u"AUTO_CLIENT_EXTENT_X") ? kAutoExtentX : 0u;
        mAutoExtent |= IsTrueParam(*descriptor, u"AUTO_CLIENT_EXTENT_Y") ? kAutoExtentY : 0u;
    }
    mMargin[0] = 0;
    mMargin[1] = 0;
    UpdateAutoClientExtent();
    return S_OK;
}

// ---- layout hooks ----

void LScrollView::OnLayoutChangeBegin()
{
    mSizeChangePending = true;
    LControl::OnLayoutChangeBegin();
}

void LScrollView::OnLayoutChangeEnd()
{
    LControl::OnLayoutChangeEnd();
    mSizeChangePending = false;
    UpdateAutoClientExtent();
    UpdateScrollBars();
}

void LScrollView::OnChildRectChanged(const RCPtr<LControl>& child)
{
    if (!mUpdating && !mSettingOffset && !mSizeChangePending && child && !IsScrollPart(child.Get()))
    {
        const bool dockedBoth = IsDocked(*child, 0) && IsDocked(*child, 1);
        // A changed extent brings the bars in step through OnClientExtentChanged already.
        if (dockedBoth || UpdateAutoClientExtent() > 0)
        {
            UpdateScrollBars();
        }
    }
    LControl::OnChildRectChanged(child);
}

void LScrollView::OnChildRemoved(std::uint32_t position)
{
    LControl::OnChildRemoved(position);
    RefreshClientExtent();
}

void LScrollView::RefreshClientExtent()
{
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window))
    {
        UpdateAutoClientExtent();
    }
}

PointT<double> LScrollView::GetMaximumSize() const
{
    PointT<double> maximum = LControl::GetMaximumSize();
    const RCPtr<LLayoutDescriptor>& layout = GetLayout();
    if (!layout)
    {
        return maximum;
    }
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (!layout->maximum[axis].present)
        {
            continue;
        }
        double extent = 0.0;
        for (std::uint32_t i = GetChildren().GetCount(); i-- > 0;)
        {
            const LControl& child = *GetChildren().GetAt(i, kStorageOrder);
            if (!IsDocked(child, axis))
            {
                extent = std::max(extent, std::round(Axis(child.GetPosition(), axis) +
                                                     Axis(child.GetSize(), axis)));
            }
        }
        Axis(maximum, axis) = extent;
    }
    return maximum;
}

// ---- extent ----

QZRESULT LScrollView::SetClientExtent(double x, double y)
{
    if (std::fabs(x - mClientExtent.x) < kExtentEpsilon &&
        std::fabs(y - mClientExtent.y) < kExtentEpsilon)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    mClientExtent = {x, y};
    OnClientExtentChanged();
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_CLIENT_EXTENT_CHANGE);
    Distribute(notification);
    return S_OK;
}

QZRESULT LScrollView::SetAutoClientExtent(std::uint32_t mode, std::int32_t marginX,
                                          std::int32_t marginY)
{
    mAutoExtent = mode;
    mMargin[0] = marginX;
    mMargin[1] = marginY;
    UpdateAutoClientExtent();
    return S_OK;
}

bool LScrollView::IsScrollPart(const LControl* child) const
{
    return child == mBars[0].Get() || child == mBars[1].Get() || child == mCorner.Get();
}

QZRESULT LScrollView::UpdateAutoClientExtent()
{
    if (mAutoExtent == 0)
    {
        return S_FALSE;
    }
    // The far edges of the content; the bars, the corner and docked children are not content.
    PointT<double> edge;
    for (std::uint32_t i = 0; i < GetChildren().GetCount(); ++i)
    {
        const LControl& child = *GetChildren().GetAt(i, kStorageOrder);
        if (IsScrollPart(&child) || IsDocked(child, 0) || IsDocked(child, 1))
        {
            continue;
        }
        for (std::uint32_t axis = 0; axis < 2; ++axis)
        {
            Axis(edge, axis) =
                std::max(Axis(edge, axis),
                         std::round(Axis(child.GetPosition(), axis) + Axis(child.GetSize(), axis)));
        }
    }
    const PointT<double> extent(std::clamp(edge.x + mMargin[0], -kUnlimited, kUnlimited),
                                std::clamp(edge.y + mMargin[1], -kUnlimited, kUnlimited));
    switch (mAutoExtent)
    {
    case kAutoExtentX:
        return SetClientExtent(extent.x, mClientExtent.y);
    case kAutoExtentY:
        return SetClientExtent(mClientExtent.x, extent.y);
    case kAutoExtentX | kAutoExtentY:
        return SetClientExtent(extent.x, extent.y);
    default:
        return S_OK;
    }
}

// ---- bars ----

RectT<double> LScrollView::GetClientRect() const
{
    RectT<double> client = GetLookClientRect(0);
    if (mBars[1] && IsShownFlag(*mBars[1]))
    {
        client.width = std::max(0.0, client.width - mBarRoom.x);
    }
    if (mBars[0] && IsShownFlag(*mBars[0]))
    {
        client.height = std::max(0.0, client.height - mBarRoom.y);
    }
    return client;
}

RectT<double> LScrollView::GetVisibleContentRect() const
{
    RectT<double> rect = LControl::GetVisibleContentRect();
    RectT<double> children;
    GetChildrenBounds(children);
    const double minimum[2] = {mMinimumView.x, mMinimumView.y};
    const double farEdge[2] = {children.x + children.width, children.y + children.height};
    double* start[2] = {&rect.x, &rect.y};
    double* length[2] = {&rect.width, &rect.height};
    for (std::size_t axis = 0; axis < 2; ++axis)
    {
        const double widening = minimum[axis] - *length[axis];
        if (widening > 0.0)
        {
            *length[axis] = minimum[axis];
            *start[axis] = std::max(
                0.0, std::min(*start[axis] - widening / 2.0, farEdge[axis] - *length[axis]));
        }
    }
    return rect;
}

PointT<double> LScrollView::GetScrollBarExtent() const
{
    if (mCorner)
    {
        return mCorner->GetSize();
    }
    return {mBars[1] ? mBars[1]->GetSize().x : 0.0, mBars[0] ? mBars[0]->GetSize().y : 0.0};
}

QZRESULT LScrollView::UpdateScrollBars()
{
    if (mUpdating)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    mUpdating = true;
    const bool canShow[2] = {mBars[0] && mBarRoom.y > 0.0, mBars[1] && mBarRoom.x > 0.0};
    const bool wasShowing[2] = {mBars[0] && mBars[0]->IsShowing(false),
                                mBars[1] && mBars[1]->IsShowing(false)};
    const RectT<double> before = GetClientRect();
    // The whole view, as if no bar were shown.
    const RectT<double> full = GetLookClientRect(0);
    UpdateAutoClientExtent();
    bool needV = mClientExtent.y > full.height;
    const bool needH = mClientExtent.x > full.width - (needV ? mBarRoom.x : 0.0);
    if (needH && !needV)
    {
        needV = mClientExtent.y > full.height - mBarRoom.y;
    }
    const bool need[2] = {needH && canShow[0], needV && canShow[1]};
    for (std::uint32_t axis = 2; axis-- > 0;)
    {
        if (mBars[axis])
        {
            mBars[axis]->SetShown(need[axis]);
        }
    }
    if (mCorner)
    {
        mCorner->SetShown(need[0] && need[1]);
    }
    SyncScrollBars();
    for (std::uint32_t axis = 2; axis-- > 0;)
    {
        if (mBars[axis] && mBars[axis]->IsShowing(false) != wasShowing[axis])
        {
            OnScrollBarVisibilityChanged(axis);
        }
    }
    if (GetClientRect() != before)
    {
        OnClientRectChanged();
    }
    UpdateAutoClientExtent();
    mUpdating = false;
    return S_OK;
}

void LScrollView::SyncScrollBars()
{
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (mBars[axis] && mBars[axis]->GetParent())
        {
            SyncBar(axis);
        }
    }
}

void LScrollView::SyncBar(std::uint32_t axis)
{
    LControl& bar = *mBars[axis];
    IScrollBar& steps = *AsBar(mBars[axis]);
    const double view = ViewSize(GetClientRect(), axis);
    const double extent = Axis(mClientExtent, axis);
    if (!IsStepMode(axis))
    {
        double page = 1.0;
        double large = 1.0;
        if (view < extent)
        {
            page = view / extent;
            large = std::clamp(view / (extent - view), 0.0, 1.0);
        }
        const double range = std::max(0.0, extent - view);
        bar.SetValueRange(0.0, range, 0);
        steps.SetPageShare(page);
        steps.SetLargeStep(large);
        steps.SetSmallStep(large / 10.0);
        const double offset = std::max(0.0, std::round(range * bar.GetValue()));
        PointT<double> current = GetScrollOffset();
        if (offset != Axis(current, axis))
        {
            Axis(current, axis) = offset;
            SetScrollOffset(current);
        }
        return;
    }
    const double step = mStepSize[axis];
    const double rows = std::trunc(extent / step);
    const double visible = std::trunc(view / step);
    const double small = visible < rows ? 1.0 / (rows - visible) : 1.0;
    steps.SetSmallStep(small);
    steps.SetLargeStep(std::min(visible * small, 1.0));
    steps.SetPageShare(visible < rows ? visible / rows : 1.0);
    const double range = std::max(0.0, rows - visible);
    const double position = std::min(bar.PositionToValue(bar.GetValue()), range);
    bar.SetValueRange(0.0, range, 0);
    bar.SetValue(range > 0.0 ? position / range : 0.0);
}

void LScrollView::SetStepMode(std::uint32_t axis, bool on, std::int32_t step)
{
    if (axis < 2)
    {
        mStepMode[axis] = on ? 1u : 0u;
        mStepSize[axis] = step;
    }
}

QZRESULT LScrollView::OnBarMoved(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>&)
{
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (!mBars[axis] ||
            sender.Get() != static_cast<LNotificationDistributor*>(mBars[axis].Get()))
        {
            continue;
        }
        const double value = mBars[axis]->PositionToValue(mBars[axis]->GetValue());
        PointT<double> offset = GetScrollOffset();
        Axis(offset, axis) = IsStepMode(axis) ? std::floor(value + kStepTolerance) * mStepSize[axis]
                                              : std::round(value);
        SetScrollOffset(offset);
    }
    return S_FALSE;
}

void LScrollView::SetScrollOffset(const PointT<double>& offset)
{
    mSettingOffset = true;
    LControl::SetScrollOffset(offset);
    mSettingOffset = false;
}

void LScrollView::OnScrollOffsetChanged(const PointT<double>& previous,
                                        const PointT<double>& current)
{
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        if (mBars[axis])
        {
            PutOffsetOnBar(axis, Axis(current, axis));
        }
    }
    LControl::OnScrollOffsetChanged(previous, current);
}

// The bar shows the new offset without its change coming back here as a bar move; the bar's
// other listeners still hear it.
void LScrollView::PutOffsetOnBar(std::uint32_t axis, double offset)
{
    const RCPtr<LNotificationDistributor> bar(mBars[axis]);
    typename LNotificationHandler<LScrollView>::Method method = nullptr;
    std::uint32_t flags = 0;
    const bool subscribed =
        mHandler && Succeeded(mHandler->GetHandler(bar, NID_VALUE_CHANGE, method, flags));
    double range = std::max(0.0, Axis(mClientExtent, axis) - ViewSize(GetClientRect(), axis));
    if (IsStepMode(axis))
    {
        // In step mode the bar counts whole steps, not pixels.
        range = mBars[axis]->GetValueMaximum();
        offset /= mStepSize[axis];
    }
    const double position = range > 0.0 ? offset / range : 0.0;
    if (!subscribed)
    {
        mBars[axis]->SetValue(position);
        return;
    }
    const CAutoNotificationDisabler<LScrollView> guard(*this, mHandler, bar, NID_VALUE_CHANGE);
    mBars[axis]->SetValue(position);
}

void LScrollView::GetChildScrollRange(RectT<double>& range, const RCPtr<LControl>&) const
{
    const RectT<double> client = GetClientRect();
    double maximum[2];
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const double extent = Axis(mClientExtent, axis);
        maximum[axis] = extent > 0.0 ? std::max(0.0, extent - ViewSize(client, axis)) : kUnlimited;
    }
    range = {0.0, 0.0, maximum[0], maximum[1]};
}

void LScrollView::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (mConditionDrag != 0 && conditions && (conditions->GetConditions() & kDragCondition) != 0 &&
        (conditions->GetPreviousConditions() & kDragCondition) == 0)
    {
        SetDragMode(6, 1);
    }
    LControl::OnConditionsChanged(conditions);
}

// ---- wheel ----

bool LScrollView::IsUsable(std::uint32_t axis) const
{
    return mBars[axis] && mBars[axis]->IsShowing(false);
}

QZRESULT LScrollView::MoveBarByWheel(std::uint32_t axis, const LMouseWheelParam& wheel, bool negate)
{
    const IScrollBar& steps = *AsBar(mBars[axis]);
    double step = (wheel.GetModifiers() & KeyCode::kModifierShift) != 0 ? steps.GetLargeStep()
                                                                        : steps.GetSmallStep();
    step = negate ? -step : step;
    mBars[axis]->SetValue(mBars[axis]->GetValue() + step);
    return S_OK;
}

QZRESULT LScrollView::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel || (!IsUsable(0) && !IsUsable(1)))
    {
        return S_FALSE;
    }
    const bool alt = (wheel->GetModifiers() & KeyCode::kModifierAlt) != 0;
    const std::uint32_t axis = IsUsable(1) && !(IsUsable(0) && alt) ? 1 : 0;
    return MoveBarByWheel(axis, *wheel, wheel->GetDirection() != 0);
}

QZRESULT LScrollView::OnHorizontalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel || (!IsUsable(0) && !IsUsable(1)))
    {
        return S_FALSE;
    }
    return MoveBarByWheel(IsUsable(0) ? 0 : 1, *wheel, wheel->GetDirection() != 2);
}

} // namespace QZ
