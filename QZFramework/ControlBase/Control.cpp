#include "QZFramework/ControlBase/Control.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string_view>

namespace QZ
{
namespace
{

constexpr double kScrollRangeLimit = 4503599627370496.0; // 2^52

RCPtr<LControlFactory> GetApplicationFactory()
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
}

bool SameName(const WideString& a, const WideString& b)
{
    return a.GetBuffer() == b.GetBuffer() || a == b;
}

bool IsUnclipped(const LControl& control)
{
    return control.GetLayout() && !control.GetLayout()->clipToParent;
}

std::uint32_t DockedAxes(const LControl& control)
{
    const RCPtr<LLayoutDescriptor>& layout = control.GetLayout();
    return layout ? (layout->position[0].docked ? 1u : 0u) + (layout->position[1].docked ? 1u : 0u)
                  : 0u;
}

std::int32_t ZOrder(const LControl& control)
{
    return control.GetLayout() ? control.GetLayout()->zOrder : 0;
}

std::int32_t TabStop(const LControl& control)
{
    return control.GetLayout() ? control.GetLayout()->tabStop : 0;
}

// Half away from zero, as the layout meets whole pixels.
double Snap(double value)
{
    return std::isfinite(value) ? std::round(value) : 0.0;
}

} // namespace

// ---- the child list ----

LControl::ChildControlList::~ChildControlList() = default;

const RCPtr<LControl>& LControl::ChildControlList::GetAt(std::uint32_t index, std::uint32_t order)
{
    return std::as_const(*this).GetAt(index, order);
}

const RCPtr<LControl>& LControl::ChildControlList::GetAt(std::uint32_t index,
                                                         std::uint32_t order) const
{
    if (index >= mStorage.size())
    {
        QZ_THROW_RUNTIME("QZ::LControl::ChildControlList::GetAt");
    }
    switch (order)
    {
    case kStorageOrder:
        return mStorage[index];
    case kPaintOrder:
        SortIfStale();
        return mStorage[mPaintOrder[index]];
    case kTabOrder:
        SortIfStale();
        return mStorage[mTabOrder[index]];
    default:
        QZ_THROW_RUNTIME("QZ::LControl::ChildControlList::GetAt");
    }
}

void LControl::ChildControlList::SortIfStale() const
{
    if (mSortedVersion == mVersion)
    {
        return;
    }
    const std::uint32_t count = static_cast<std::uint32_t>(mStorage.size());
    mPaintOrder.resize(count);
    mTabOrder.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        mPaintOrder[i] = i;
        mTabOrder[i] = i;
    }
    std::sort(mPaintOrder.begin(), mPaintOrder.end(),
              [this](std::uint32_t a, std::uint32_t b)
              {
                  const LControl& first = *mStorage[a];
                  const LControl& second = *mStorage[b];
                  const bool clipsFirst = !IsUnclipped(first);
                  if (clipsFirst != !IsUnclipped(second))
                  {
                      return clipsFirst;
                  }
                  if (DockedAxes(first) != DockedAxes(second))
                  {
                      return DockedAxes(first) < DockedAxes(second);
                  }
                  if (ZOrder(first) != ZOrder(second))
                  {
                      return ZOrder(first) < ZOrder(second);
                  }
                  return a < b;
              });
    std::sort(mTabOrder.begin(), mTabOrder.end(),
              [this](std::uint32_t a, std::uint32_t b)
              {
                  const std::int32_t first = TabStop(*mStorage[a]);
                  const std::int32_t second = TabStop(*mStorage[b]);
                  return first != second ? first < second : a < b;
              });
    mSortedVersion = mVersion;
}

QZRESULT LControl::ChildControlList::Add(const RCPtr<LControl>& child)
{
    return child ? AddPointer(child.Get()) : E_INVALIDARG;
}

// Takes a plain pointer so that a control can attach itself while it is being constructed,
// before anything holds it: the list's reference is then the first one.
QZRESULT LControl::ChildControlList::AddPointer(LControl* child)
{
    for (auto entry = mStorage.rbegin(); entry != mStorage.rend(); ++entry)
    {
        if (SameName((*entry)->mName, child->mName))
        {
            return E_FAIL;
        }
    }
    const std::uint32_t units = child->mUnclipped + (IsUnclipped(*child) ? 1u : 0u);
    for (std::uint32_t i = 0; i < units; ++i)
    {
        mOwner->IncrementSubtreeCounter();
    }
    child->mParent = RCPtr<LControl>(mOwner);
    mOwner->AdjustCyclicRefCount(1);
    mStorage.emplace_back(child);
    ++mVersion;
    return S_OK;
}

void LControl::ChildControlList::DetachAt(std::size_t position)
{
    const RCPtr<LControl> child = mStorage[position];
    const std::uint32_t units = child->mUnclipped + (IsUnclipped(*child) ? 1u : 0u);
    for (std::uint32_t i = 0; i < units; ++i)
    {
        mOwner->DecrementSubtreeCounter();
    }
    mOwner->AdjustCyclicRefCount(-1);
    child->mParent = nullptr;
    mStorage.erase(mStorage.begin() + static_cast<std::ptrdiff_t>(position));
    ++mVersion;
    mOwner->OnChildRemoved(static_cast<std::uint32_t>(position));
}

std::int32_t LControl::ChildControlList::Remove(const RCPtr<LControl>& child)
{
    for (std::size_t position = mStorage.size(); position-- > 0;)
    {
        if (mStorage[position] == child)
        {
            DetachAt(position);
            return static_cast<std::int32_t>(position);
        }
    }
    return -1;
}

bool LControl::ChildControlList::RemoveAll()
{
    const bool wasEmpty = mStorage.empty();
    while (!mStorage.empty())
    {
        DetachAt(mStorage.size() - 1);
    }
    return wasEmpty;
}

// ---- construction and notifications ----

LControl::LControl(const RCPtr<LControl>& parent, const WideString& name, bool)
    : mName(name), mConditionsParam(LConditionsParam::Create(0, 0, 0.0, 0.0)), mChildren(this)
{
    if (parent)
    {
        AttachTo(parent.Get());
    }
    if (const RCPtr<LControlFactory> factory = GetApplicationFactory())
    {
        factory->GetStringTableFor(mStringTable, parent.Get(), mName);
    }
}

LControl::~LControl()
{
    SetRootWindow(RCPtr<LRootWindow>());
}

void LControl::AttachTo(LControl* parent)
{
    if (Failed(parent->mChildren.AddPointer(this)))
    {
        DebugStreams::Narrow() << "LControl: \"" << mName.ToNarrowString().GetString()
                               << "\" is not attached: its parent \""
                               << parent->mName.ToNarrowString().GetString()
                               << "\" has a child of that name" << std::endl;
    }
}

void LControl::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification)
{
    if (mCreated && mNotificationHandler)
    {
        mNotificationHandler->HandleNotification(sender, notification);
    }
}

QZRESULT LControl::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                               const char16_t* identifier)
{
    if (mNotificationHandler)
    {
        mNotificationHandler->RemoveHandler(distributor, identifier);
    }
    return LNotificationClient::Unsubscribe(distributor, identifier);
}

QZRESULT LControl::ReleaseInternalReferences()
{
    mChildren.RemoveAll();
    UnsubscribeAllClients();
    return LNotificationClient::ReleaseInternalReferences();
}

// ---- input not taken by the base ----

QZRESULT LControl::OnMouseEnter()
{
    return S_FALSE;
}

QZRESULT LControl::NotifyMouseMove(const RCPtr<LPointWithModifiersParam>&)
{
    return S_FALSE;
}

QZRESULT LControl::NotifyMouseDown(const RCPtr<LMouseButtonParam>&)
{
    return S_FALSE;
}

QZRESULT LControl::NotifyMouseUp(const RCPtr<LMouseButtonParam>&)
{
    return S_FALSE;
}

QZRESULT LControl::OnMouseLeave()
{
    return S_FALSE;
}

QZRESULT LControl::OnMouseButtonDown(std::uint32_t, std::int32_t, std::int32_t)
{
    return S_FALSE;
}

QZRESULT LControl::ReleaseCapture()
{
    return S_OK;
}

QZRESULT LControl::NotifyKey(const RCPtr<LKeyParam>&)
{
    return S_FALSE;
}

QZRESULT LControl::NotifyMouseWheelVertical(const RCPtr<LMouseWheelParam>&)
{
    return S_FALSE;
}

QZRESULT LControl::NotifyMouseWheelHorizontal(const RCPtr<LMouseWheelParam>&)
{
    return S_FALSE;
}

QZRESULT LControl::OnResize()
{
    UpdateLayout();
    return S_OK;
}

QZRESULT LControl::KillFocus()
{
    return S_OK;
}

// ---- the base bodies of the virtual operations ----

QZRESULT LControl::SetValueRange(double minimum, double maximum, std::int32_t scaleType)
{
    const bool linear = scaleType == 0;
    const bool logarithmic = scaleType == 1 && minimum > 0.0 && maximum > 0.0;
    if (!linear && !logarithmic)
    {
        return E_INVALIDARG;
    }
    mValueMinimum = minimum;
    mValueMaximum = maximum;
    mScaleType = scaleType;
    return S_OK;
}

PointT<double> LControl::GetMaximumSize() const
{
    PointT<double> maximum;
    if (mLayout)
    {
        maximum.x = mLayout->maximum[0].present ? 0.0 : mLayout->maximum[0].absolute;
        maximum.y = mLayout->maximum[1].present ? 0.0 : mLayout->maximum[1].absolute;
    }
    return maximum;
}

bool LControl::SetClipToParent(bool clip)
{
    if (!mLayout || mLayout->clipToParent == clip)
    {
        return mLayout ? mLayout->clipToParent : clip;
    }
    mLayout->clipToParent = clip;
    if (mParent)
    {
        mParent->mChildren.Touch();
        if (clip)
        {
            mParent->DecrementSubtreeCounter();
        }
        else
        {
            mParent->IncrementSubtreeCounter();
        }
    }
    return clip;
}

QZRESULT LControl::PerformEdit()
{
    QZ_THROW_LOGIC("QZ::LControl::PerformEdit", "LControl::PerformEdit must be overridden");
}

QZRESULT LControl::SetDragMode(std::int32_t mode, std::int32_t option)
{
    mDragMode = mode;
    mDragOption = option;
    return S_OK;
}

void LControl::GetChildScrollRange(RectT<double>& range, const RCPtr<LControl>&) const
{
    range = {0.0, 0.0, kScrollRangeLimit, kScrollRangeLimit};
}

QZRESULT LControl::OnParentScrolled(const PointT<double>&, const PointT<double>&)
{
    if (mLayout && (mLayout->position[0].docked || mLayout->position[1].docked))
    {
        UpdateLayout();
    }
    return S_OK;
}

QZRESULT LControl::OnChildLayoutChanged(const RCPtr<LControl>& child)
{
    if (!mApplyingDescriptor)
    {
        UpdateLayout();
    }
    OnChildRectChanged(child);
    return S_OK;
}

// ---- creation phases ----

QZRESULT LControl::ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    if (!descriptor)
    {
        return E_INVALIDARG;
    }
    mApplyingDescriptor = true;
    if (mCreated)
    {
        // A re-apply: the control leaves the separately painted counts until the new layout
        // record says whether it belongs there.
        SetClipToParent(true);
    }
    mDescriptor = descriptor;
    mLayout = descriptor->layout->Clone();
    if (!mCreated)
    {
        WideString label;
        if ((mStringTable && mStringTable->Lookup(u"LABEL", label)) ||
            descriptor->GetCreateParam(u"LABEL", label))
        {
            mText = label;
        }
    }
    if (IsUnclipped(*this) && mParent)
    {
        mParent->IncrementSubtreeCounter();
    }
    mApplyingDescriptor = false;
    UpdateLayout();
    return S_OK;
}

QZRESULT LControl::CreateChildren(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    mChildren.RemoveAll();
    const RCPtr<LControlFactory> factory = GetApplicationFactory();
    if (descriptor && factory)
    {
        const RCPtr<LControl> self(this);
        for (const RCPtr<LControlDescriptor>& sub : descriptor->subControls)
        {
            if (!IsCreationDeferred(sub))
            {
                RCPtr<LControl> child;
                factory->CreateControl(child, sub, self);
            }
        }
    }
    UpdateLayout();
    return S_OK;
}

QZRESULT LControl::Initialize()
{
    mNotificationCenter = GetApplicationNotificationCenter();
    mNotificationHandler = new LNotificationHandler<LControl>(this);
    if (mDescriptor)
    {
        mDescriptor->GetCreateParam(u"TOOLTIP", mToolTipText);
    }
    return S_OK;
}

QZRESULT LControl::AddChild(const RCPtr<LControl>& child,
                            const ConstRCPtr<LControlDescriptor>& descriptor)
{
    if (!child || !descriptor)
    {
        return E_FAIL;
    }
    const QZRESULT result = child->SetParent(RCPtr<LControl>(this));
    child->ApplyDescriptor(descriptor);
    return result;
}

bool LControl::IsCreationDeferred(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    WideString value;
    return descriptor && descriptor->GetCreateParam(u"DEFER_CREATE", value) &&
           XmlValues::IsTrue(value.ToNarrowString().GetString());
}

// ---- tree and layout ----

QZRESULT LControl::SetParent(const RCPtr<LControl>& parent)
{
    if (mParent == parent)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    if (mParent)
    {
        mParent->mChildren.Remove(self);
    }
    if (parent)
    {
        AttachTo(parent.Get());
    }
    return S_OK;
}

void LControl::IncrementSubtreeCounter()
{
    for (LControl* control = this; control != nullptr; control = control->mParent.Get())
    {
        ++control->mUnclipped;
    }
}

void LControl::DecrementSubtreeCounter()
{
    for (LControl* control = this; control != nullptr; control = control->mParent.Get())
    {
        if (control->mUnclipped > 0)
        {
            --control->mUnclipped;
        }
    }
}

QZRESULT LControl::UpdateLayout()
{
    if (!mLayout)
    {
        return E_FAIL;
    }
    if (!mParent)
    {
        // A top control is laid out against its window; there is none to lay it out in.
        return E_FAIL;
    }
    RectT<double> references[2];
    ResolveLayoutReferences(*mLayout, mParent.Get(), references);
    RectT<double> rect;
    ResolveLayoutSize(*mLayout, references, rect);
    ResolveLayoutMinMax(*mLayout, rect);
    return SetRect({Snap(rect.x), Snap(rect.y), Snap(rect.width), Snap(rect.height)});
}

void LControl::ResolveLayoutReferences(const LLayoutDescriptor&, const LControl* parent,
                                       RectT<double> references[2]) const
{
    const RectT<double> client(0.0, 0.0, parent->mSize.x, parent->mSize.y);
    references[0] = client;
    references[1] = client;
}

void LControl::ResolveLayoutSize(const LLayoutDescriptor& layout, const RectT<double> references[2],
                                 RectT<double>& rect) const
{
    rect.x = references[0].x + layout.position[0].absolute;
    rect.y = references[1].y + layout.position[1].absolute;
    rect.width = layout.size[0].absolute;
    rect.height = layout.size[1].absolute;
}

void LControl::ResolveLayoutMinMax(const LLayoutDescriptor& layout, RectT<double>& rect) const
{
    double* extents[2] = {&rect.width, &rect.height};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        double& extent = *extents[axis];
        const LLayoutDescriptor::LimitSpec& minimum = layout.minimum[axis];
        const LLayoutDescriptor::LimitSpec& maximum = layout.maximum[axis];
        if (!minimum.present)
        {
            extent = std::max(extent, minimum.absolute);
        }
        if (!maximum.present && maximum.absolute > 0.0)
        {
            extent = std::min(extent, maximum.absolute);
        }
        extent = std::max(extent, 0.0);
    }
}

QZRESULT LControl::SetRect(const RectT<double>& rect)
{
    const PointT<double> position(rect.x, rect.y);
    const PointT<double> size(rect.width, rect.height);
    if (position == mPosition && size == mSize)
    {
        return S_FALSE;
    }
    mPosition = position;
    mSize = size;
    return S_OK;
}

RCPtr<LControl> LControl::FindChildByName(const WideString& name) const
{
    for (std::uint32_t index = mChildren.GetCount(); index-- > 0;)
    {
        const RCPtr<LControl>& child = mChildren.GetAt(index, kStorageOrder);
        if (child->mName == name)
        {
            return child;
        }
    }
    return RCPtr<LControl>();
}

RectT<double>& LControl::GetChildrenBounds(RectT<double>& bounds) const
{
    const auto whole = [](double value) { return std::trunc(value + 0.5); };
    bool found = false;
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    for (const RCPtr<LControl>& child : mChildren.mStorage)
    {
        if (DockedAxes(*child) != 0)
        {
            continue;
        }
        const double childLeft = whole(child->mPosition.x);
        const double childTop = whole(child->mPosition.y);
        const double childRight = childLeft + whole(child->mSize.x);
        const double childBottom = childTop + whole(child->mSize.y);
        left = found ? std::min(left, childLeft) : childLeft;
        top = found ? std::min(top, childTop) : childTop;
        right = found ? std::max(right, childRight) : childRight;
        bottom = found ? std::max(bottom, childBottom) : childBottom;
        found = true;
    }
    bounds = {left, top, right - left, bottom - top};
    return bounds;
}

RCPtr<LControl>& LControl::GetRootControl(RCPtr<LControl>& root)
{
    LControl* top = this;
    while (top->mParent)
    {
        top = top->mParent.Get();
    }
    root = RCPtr<LControl>(top);
    return root;
}

WideString& LControl::GetString(WideString& text, const char16_t* key) const
{
    const RCPtr<LStringTable> table = GetStringTable();
    if (!table || !table->Lookup(key, text))
    {
        text.Clear();
    }
    return text;
}

// ---- root window ----

void LControl::SetRootWindow(const RCPtr<LRootWindow>& window)
{
    if (mRootWindow == window)
    {
        return;
    }
    if (window)
    {
        window->AdjustCyclicRefCount(1);
    }
    const RCPtr<LRootWindow> previous = mRootWindow;
    mRootWindow = window;
    if (previous)
    {
        previous->AdjustCyclicRefCount(-1);
    }
}

RCPtr<LRootWindow>& LControl::GetRootWindowRef(RCPtr<LRootWindow>& window) const
{
    const LControl* top = this;
    while (top->mParent)
    {
        top = top->mParent.Get();
    }
    window = top->mRootWindow;
    return window;
}

} // namespace QZ
