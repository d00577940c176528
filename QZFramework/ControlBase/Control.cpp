#include "QZFramework/ControlBase/Control.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/Look.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/VisualPart.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/AutoClip.h"
#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Renderer/Stencil.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>
#include <limits>
#include <numeric>
#include <ostream>
#include <string_view>

namespace QZ
{
namespace
{

constexpr double kScrollRangeLimit = 4503599627370496.0; // 2^52
constexpr double kSizeEpsilon = 2.220446049250313e-15;
constexpr double kExtentEpsilon = 2.220446049250313e-16; // DBL_EPSILON
const WideString kSelfName(u"Self");

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

bool Shown(const LControl& control)
{
    return !control.GetLayout() || control.GetLayout()->shown;
}

bool HasArea(const LControl& control)
{
    return control.GetSize().x > 0.0 && control.GetSize().y > 0.0;
}

std::int32_t LayoutOrder(const LControl& control)
{
    return control.GetLayout() ? control.GetLayout()->layoutOrder : 0;
}

// Half away from zero, as the layout meets whole pixels.
double Snap(double value)
{
    return std::isfinite(value) ? std::round(value) : 0.0;
}

std::u16string_view NameView(const WideString& name)
{
    return {name.GetString(), static_cast<std::size_t>(name.GetLength())};
}

std::atomic<std::uint64_t> gGeometryEpoch{1};

// Sorts the order of count children afresh, or puts the children from on into place.
template <class Before>
void SortOrder(std::vector<std::uint32_t>& order, std::uint32_t from, std::uint32_t count,
               bool afresh, const Before& before)
{
    if (afresh)
    {
        order.resize(count);
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), before);
        return;
    }
    for (std::uint32_t index = from; index < count; ++index)
    {
        order.insert(std::upper_bound(order.begin(), order.end(), index, before), index);
    }
}

// The control's box; not contained when an edge lies beyond the 32-bit range or is no number.
LControl::ChildBox BoxOf(const LControl& child)
{
    constexpr double kLimit = 2147483000.0;
    const PointT<double> at = child.GetPosition();
    const PointT<double> size = child.GetSize();
    const double edges[] = {std::floor(at.x) - 1.0, std::floor(at.y) - 1.0,
                            std::ceil(at.x + size.x) + 1.0, std::ceil(at.y + size.y) + 1.0};
    LControl::ChildBox box;
    box.clipped = !IsUnclipped(child);
    box.docked = static_cast<std::uint8_t>(DockedAxes(child));
    box.contained = child.GetUnclippedDescendantCount() == 0 &&
                    std::all_of(std::begin(edges), std::end(edges),
                                [](double edge) { return edge > -kLimit && edge < kLimit; });
    if (box.contained)
    {
        box.left = static_cast<std::int32_t>(edges[0]);
        box.top = static_cast<std::int32_t>(edges[1]);
        box.right = static_cast<std::int32_t>(edges[2]);
        box.bottom = static_cast<std::int32_t>(edges[3]);
    }
    return box;
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
        SortPaintAndTab();
        return mStorage[mPaintOrder[index]];
    case kTabOrder:
        SortPaintAndTab();
        return mStorage[mTabOrder[index]];
    default:
        QZ_THROW_RUNTIME("QZ::LControl::ChildControlList::GetAt");
    }
}

bool LControl::ChildControlList::LayoutBefore(std::uint32_t a, std::uint32_t b) const
{
    const std::int32_t first = LayoutOrder(*mStorage[a]);
    const std::int32_t second = LayoutOrder(*mStorage[b]);
    return first != second ? first < second : a < b;
}

bool LControl::ChildControlList::PaintBefore(std::uint32_t a, std::uint32_t b) const
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
}

bool LControl::ChildControlList::TabBefore(std::uint32_t a, std::uint32_t b) const
{
    const std::int32_t first = TabStop(*mStorage[a]);
    const std::int32_t second = TabStop(*mStorage[b]);
    return first != second ? first < second : a < b;
}

bool LControl::ChildControlList::Update(SortState& state) const
{
    const std::uint32_t count = static_cast<std::uint32_t>(mStorage.size());
    // Many children added at once sort faster together than one by one.
    const bool afresh = state.resortDue || count - state.count > state.count / 8 + 1;
    state = {count, false};
    return afresh;
}

void LControl::ChildControlList::SortLayoutNow() const
{
    const std::uint32_t from = mLayoutSort.count;
    SortOrder(mLayoutOrder, from, static_cast<std::uint32_t>(mStorage.size()),
              Update(mLayoutSort),
              [this](std::uint32_t a, std::uint32_t b) { return LayoutBefore(a, b); });
}

void LControl::ChildControlList::SortPaintAndTabNow() const
{
    const std::uint32_t from = mPaintSort.count;
    const bool afresh = Update(mPaintSort);
    const auto count = static_cast<std::uint32_t>(mStorage.size());
    SortOrder(mPaintOrder, from, count, afresh,
              [this](std::uint32_t a, std::uint32_t b) { return PaintBefore(a, b); });
    SortOrder(mTabOrder, from, count, afresh,
              [this](std::uint32_t a, std::uint32_t b) { return TabBefore(a, b); });
}

std::int64_t LControl::ChildControlList::FindStored(const LControl& child) const
{
    for (std::size_t position = mStorage.size(); position-- > 0;)
    {
        if (mStorage[position].Get() == &child)
        {
            return static_cast<std::int64_t>(position);
        }
    }
    return -1;
}

const std::vector<LControl::ChildBox>& LControl::ChildControlList::GetPaintBoxes() const
{
    RefreshBoxes();
    return mBoxes;
}

void LControl::ChildControlList::RefreshBoxes() const
{
    SortPaintAndTab();
    const std::uint64_t epoch = gGeometryEpoch.load(std::memory_order_relaxed);
    if (mBoxEpoch != epoch || mBoxes.size() != mStorage.size())
    {
        mBoxes.resize(mStorage.size());
        for (std::size_t i = 0; i < mBoxes.size(); ++i)
        {
            mBoxes[i] = BoxOf(*mStorage[mPaintOrder[i]]);
        }
        for (std::uint32_t docked = 0; docked < 3; ++docked)
        {
            std::uint32_t& end = mClippedEnds[docked];
            end = docked == 0 ? 0 : mClippedEnds[docked - 1];
            while (end < mBoxes.size() && mBoxes[end].clipped && mBoxes[end].docked <= docked)
            {
                ++end;
            }
        }
        mGrid.Build(mBoxes);
        mBoxEpoch = epoch;
    }
}

const LChildBoxGrid& LControl::ChildControlList::GetPaintGrid() const
{
    RefreshBoxes();
    return mGrid;
}

std::uint32_t LControl::ChildControlList::GetClippedEnd(std::uint32_t docked) const
{
    RefreshBoxes();
    return mClippedEnds[std::min(docked, 2u)];
}

void LControl::ChildControlList::TouchChild(const LControl& child)
{
    const std::int64_t position = FindStored(child);
    if (position < 0 ||
        position < static_cast<std::int64_t>(std::max(mLayoutSort.count, mPaintSort.count)))
    {
        Touch();
    }
}

std::vector<RCPtr<LControl>> LControl::ChildControlList::GetLaterInLayout(const LControl& child) const
{
    const std::int64_t position = FindStored(child);
    if (position < 0)
    {
        return {};
    }
    SortLayout();
    const auto stored = static_cast<std::uint32_t>(position);
    auto self = std::lower_bound(mLayoutOrder.begin(), mLayoutOrder.end(), stored,
                                 [this](std::uint32_t a, std::uint32_t b)
                                 { return LayoutBefore(a, b); });
    if (self == mLayoutOrder.end() || *self != stored)
    {
        self = std::find(mLayoutOrder.begin(), mLayoutOrder.end(), stored);
    }
    std::vector<RCPtr<LControl>> later;
    for (auto index = self + 1; index < mLayoutOrder.end(); ++index)
    {
        later.push_back(mStorage[*index]);
    }
    return later;
}

QZRESULT LControl::ChildControlList::Add(const RCPtr<LControl>& child)
{
    return child ? AddPointer(child.Get()) : E_INVALIDARG;
}

// Takes a plain pointer so that a control can attach itself while it is being constructed,
// before anything holds it: the list's reference is then the first one.
QZRESULT LControl::ChildControlList::AddPointer(LControl* child)
{
    if (!mNames.insert(NameView(child->mName)).second)
    {
        return E_FAIL;
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
    NoteGeometryChange();
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
    mNames.erase(NameView(child->mName));
    mStorage.erase(mStorage.begin() + static_cast<std::ptrdiff_t>(position));
    Touch();
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

QZRESULT LControl::ChildControlList::RenameChild(const RCPtr<LControl>& child,
                                                 const WideString& name)
{
    const auto member = std::find(mStorage.begin(), mStorage.end(), child);
    if (!child || member == mStorage.end())
    {
        return E_INVALIDARG;
    }
    if (child->mName == name)
    {
        return S_FALSE;
    }
    if (mNames.count(NameView(name)) != 0)
    {
        return E_FAIL;
    }
    const WideString old = child->mName;
    mNames.erase(NameView(child->mName));
    child->mName = name;
    mNames.insert(NameView(child->mName));
    for (auto later = member + 1; later != mStorage.end(); ++later)
    {
        LLayoutDescriptor* layout = (*later)->mLayout.Get();
        for (std::uint32_t axis = 0; layout != nullptr && axis < 2; ++axis)
        {
            for (WideString* reference : {&layout->position[axis].name, &layout->size[axis].name})
            {
                if (*reference == old)
                {
                    *reference = name;
                }
            }
        }
    }
    return S_OK;
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
    SetIdleRequests(0);
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
    if (const RCPtr<LMenuItemUpdater> updater = mMenuItemUpdater)
    {
        mMenuItemUpdater = nullptr;
        AdjustCyclicRefCount(-1);
        updater->Detach();
    }
    mChildren.RemoveAll();
    // A drag's links between the dragged control and its drop target or scrolling parent.
    mDropTarget = RCPtr<LControl>();
    mAutoScroll[0].target = RCPtr<LControl>();
    mAutoScroll[1].target = RCPtr<LControl>();
    UnsubscribeAllClients();
    return LNotificationClient::ReleaseInternalReferences();
}

// ---- input ----

QZRESULT LControl::OnResize()
{
    UpdateLayout();
    return S_OK;
}

// ---- the base bodies of the virtual operations ----

QZRESULT LControl::SetValueRange(double minimum, double maximum, std::int32_t scaleType)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum))
    {
        return E_INVALIDARG;
    }
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
    if (clip)
    {
        InvalidateAll();
    }
    mLayout->clipToParent = clip;
    NoteGeometryChange();
    if (mParent)
    {
        mParent->mChildren.TouchChild(*this);
        if (clip)
        {
            mParent->DecrementSubtreeCounter();
        }
        else
        {
            mParent->IncrementSubtreeCounter();
        }
    }
    if (!clip)
    {
        InvalidateAll();
    }
    return clip;
}

QZRESULT LControl::PerformEdit(const WideString&, IClipboardText&)
{
    QZ_THROW_LOGIC("QZ::LControl::PerformEdit", "LControl::PerformEdit must be overridden");
}

RCPtr<LControl>& LControl::FindEditTarget(RCPtr<LControl>& out)
{
    if (IsEditTarget())
    {
        out = RCPtr<LControl>(this);
        return out;
    }
    if (mParent)
    {
        return mParent->FindEditTarget(out);
    }
    out = RCPtr<LControl>();
    return out;
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
    const bool reapply = mCreated;
    const bool wasShown = mLayout ? mLayout->shown : true;
    const bool wasEnabled = mLayout ? mLayout->enabled : true;
    mApplyingDescriptor = true;
    if (reapply)
    {
        // The control leaves the separately painted counts until the new layout record says
        // whether it belongs there.
        SetClipToParent(true);
    }
    const ConstRCPtr<LControlDescriptor> previous = mDescriptor;
    mDescriptor = descriptor;
    mLayout = descriptor->layout->Clone();
    NoteGeometryChange();
    if (mParent)
    {
        mParent->mChildren.TouchChild(*this);
    }
    if (!mParent && mRootWindow)
    {
        mLayout->shown = true;
        if (reapply)
        {
            KeepWindowPlace();
        }
    }
    if (reapply)
    {
        mLayout->enabled = wasEnabled;
        if (mLayout->shown != wasShown)
        {
            // The transition runs as a change of the shown flag: focus, invalidation, conditions.
            const bool shown = mLayout->shown;
            mLayout->shown = wasShown;
            SetShown(shown);
        }
        WideString notFocusable;
        SetNotFocusable(descriptor->GetCreateParam(u"NOT_FOCUSABLE", notFocusable)
                            ? XmlValues::IsTrue(notFocusable.ToNarrowString().GetString())
                            : mLayout->tabStop < 0);
    }
    BuildLooks(*descriptor);
    mFontInherits = descriptor->appearance.fontInheritsFromParent;
    mFontSizeRelative = descriptor->appearance.fontSizeIsRelative;
    SetFontSpec(descriptor->appearance.fontName, descriptor->appearance.fontSize,
                descriptor->appearance.fontStyle, mFontSizeRelative);
    if (!reapply)
    {
        WideString label;
        if ((mStringTable && mStringTable->Lookup(u"LABEL", label)) ||
            descriptor->GetCreateParam(u"LABEL", label))
        {
            SetText(label, false);
        }
    }
    else
    {
        // The stored text is made to differ so that the unchanged text reaches the new looks.
        const WideString text = mText;
        mText = text.IsEmpty() ? WideString(u" ") : WideString();
        SetText(text, false);
    }
    if (IsUnclipped(*this) && mParent)
    {
        mParent->IncrementSubtreeCounter();
    }
    std::vector<RCPtr<LControl>> former(mChildren.mStorage);
    mChildren.RemoveAll();
    mPosition = {};
    mSize = {};
    NoteGeometryChange();
    mApplyingDescriptor = false;
    UpdateLayout();
    if (!reapply)
    {
        SetLookWeight(0, 1.0f, true);
        // The first conditions are taken without announcing them.
        *mConditionsParam = LConditionsParam(GetConditionFlags(), mConditionsParam->GetConditions(),
                                             mDragOffset.x, mDragOffset.y);
        return S_OK;
    }
    ReattachChildren(std::move(former), previous, descriptor);
    PostInitialize();
    mChildren.Touch();
    UpdateConditions();
    if (!mParent && mRootWindow)
    {
        FillWindowClient();
    }
    return S_OK;
}

void LControl::KeepWindowPlace()
{
    const RectT<std::int32_t> client = mRootWindow->GetClientScreenRect();
    RectT<double> requested(client.x, client.y, mSize.x, mSize.y);
    if (OnWindowRectRequest(requested) == S_FALSE)
    {
        mRootWindow->SetWindowRect(requested.ToLong());
    }
    const double origin[2] = {static_cast<double>(client.x), static_cast<double>(client.y)};
    const double extent[2] = {mSize.x, mSize.y};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        mLayout->position[axis].relative = 0.0f;
        mLayout->position[axis].absolute = origin[axis];
        mLayout->size[axis].relative = 0.0f;
        mLayout->size[axis].absolute = extent[axis];
    }
}

void LControl::FillWindowClient()
{
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        LLayoutDescriptor::PositionSpec& position = mLayout->position[axis];
        position.anchor = 0.0f;
        position.kind = LLayoutDescriptor::kClient;
        position.relative = 0.0f;
        position.absolute = 0.0;
        LLayoutDescriptor::SizeSpec& size = mLayout->size[axis];
        size.kind = LLayoutDescriptor::kClient;
        size.relative = 1.0f;
        size.absolute = 0.0;
    }
    UpdateLayout();
    InvalidateAll();
}

void LControl::BuildLooks(const LControlDescriptor& descriptor)
{
    mLooks.clear();
    const RCPtr<LLookListDescriptor>& list = descriptor.appearance.lookList;
    const bool wrap = mLayout->textOverflow[0] == LLayoutDescriptor::kWrap;
    const std::size_t count = list ? list->looks.size() : 0;
    for (std::size_t index = 0; index < count; ++index)
    {
        RCPtr<LLook> look;
        LLook::Create(look, list->looks[index], wrap);
        if (look)
        {
            look->SetRect({0.0, 0.0, mSize.x, mSize.y});
            look->SetText(mText);
            look->SetFont(mFont);
        }
        mLooks.push_back(look);
    }
    mLookWeights.resize(std::max(mLooks.size(), std::size_t{1}), 0.0f);
}

void LControl::ReattachChildren(std::vector<RCPtr<LControl>> former,
                                const ConstRCPtr<LControlDescriptor>& previous,
                                const ConstRCPtr<LControlDescriptor>& descriptor)
{
    mApplyingDescriptor = true;
    const RCPtr<LControl> self(this);
    for (const RCPtr<LControlDescriptor>& entry : descriptor->subControls)
    {
        const auto match = std::find_if(former.begin(), former.end(),
                                        [&entry](const RCPtr<LControl>& child)
                                        { return child->mName == entry->name; });
        if (match != former.end())
        {
            const RCPtr<LControl> child = *match;
            former.erase(match);
            AddChild(child, entry);
        }
    }
    // A child the old skin made leaves with its entry; one the code added keeps its own
    // descriptor, as the new skin knows nothing of it.
    for (const RCPtr<LControl>& child : former)
    {
        const bool fromSkin =
            previous && std::any_of(previous->subControls.begin(), previous->subControls.end(),
                                    [&child](const RCPtr<LControlDescriptor>& entry)
                                    { return entry.Get() == child->mDescriptor.Get(); });
        if (!fromSkin)
        {
            AddChild(child, child->mDescriptor);
        }
    }
    mApplyingDescriptor = false;
    if (mChildren.GetCount() > 0)
    {
        UpdateLayout();
    }
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
    ApplyCreateParams();
    const RCPtr<LStringTable> params = mDescriptor ? mDescriptor->createParams : nullptr;
    if (!params)
    {
        return S_OK;
    }
    params->Lookup(u"TOOLTIP", mToolTipText);
    mLocalHotKeys.LoadFromStringTable(params, u"LHK");
    if (mParent && !mLocalHotKeys.IsEmpty())
    {
        // Keys that siblings did not use reach the local hot keys too.
        mNotificationHandler->AddHandler(
            &LControl::OnSiblingKey, RCPtr<LNotificationDistributor>(mParent), NID_SIBLING_KEY, 0);
        mNotificationHandler->AddHandlerAnyDistributor(&LControl::OnSiblingKey, NID_SIBLING_KEY);
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
        InvalidateAll();
        mParent->mChildren.Remove(self);
    }
    else
    {
        SetRootWindow(RCPtr<LRootWindow>());
    }
    if (parent)
    {
        AttachTo(parent.Get());
    }
    return S_OK;
}

void LControl::NoteGeometryChange()
{
    gGeometryEpoch.fetch_add(1, std::memory_order_relaxed);
}

void LControl::IncrementSubtreeCounter()
{
    NoteGeometryChange();
    for (LControl* control = this; control != nullptr; control = control->mParent.Get())
    {
        ++control->mUnclipped;
    }
}

void LControl::DecrementSubtreeCounter()
{
    NoteGeometryChange();
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
    if (!mParent && !mRootWindow)
    {
        // A top control is laid out against its window; there is none to lay it out in.
        return E_FAIL;
    }
    LayoutReferences references;
    ResolveLayoutReferences(*mLayout, mParent.Get(), references);
    RectT<double> rect;
    ResolveLayoutSize(*mLayout, references, rect);
    ResolveLayoutMinMax(*mLayout, references, rect);
    return SetRect({Snap(rect.x), Snap(rect.y), Snap(rect.width), Snap(rect.height)});
}

RectT<double> LControl::GetRuledRect() const
{
    RectT<double> rect;
    if (mLayout)
    {
        LayoutReferences references;
        ResolveLayoutReferences(*mLayout, mParent.Get(), references);
        ResolveLayoutSize(*mLayout, references, rect);
    }
    return rect;
}

const LControl* LControl::FindLayoutReference(const WideString& name) const
{
    const RCPtr<LControl> sibling = mParent ? mParent->FindChildByName(name) : RCPtr<LControl>();
    if (!sibling || sibling.Get() == this)
    {
        DebugStreams::Narrow() << "LControl: \"" << mName.ToNarrowString().GetString()
                               << "\" refers to no sibling \"" << name.ToNarrowString().GetString()
                               << "\"; it is laid out against its parent's client area"
                               << std::endl;
        return nullptr;
    }
    return sibling.Get();
}

double LControl::GetContentExtent(std::uint32_t axis) const
{
    const RCPtr<LLook>& look = GetLook(0);
    return look && mLayout ? look->GetContentExtent(axis, mLayout->textOverflow[axis]) : 0.0;
}

void LControl::ResolveLayoutReferences(const LLayoutDescriptor& layout, const LControl* parent,
                                       LayoutReferences& references) const
{
    PointT<double> parentSize;
    RectT<double> client;
    PointT<double> scroll;
    if (parent != nullptr)
    {
        parentSize = parent->mSize;
        client = parent->GetLookClientRect(0);
        scroll = parent->mScrollOffset;
    }
    else if (mRootWindow)
    {
        // A root control: the parent is the screen, seen from the client origin.
        const PointT<long> size = mRootWindow->GetClientSize();
        const PointT<long> origin = mRootWindow->GetClientOrigin();
        parentSize = {static_cast<double>(size.x), static_cast<double>(size.y)};
        client = {static_cast<double>(origin.x), static_cast<double>(origin.y), parentSize.x,
                  parentSize.y};
    }
    const double clientOrigin[2] = {client.x, client.y};
    const double clientExtent[2] = {client.width, client.height};
    const double parentExtent[2] = {parentSize.x, parentSize.y};
    const double scrolled[2] = {scroll.x, scroll.y};
    const auto frame = [&](std::uint32_t axis, std::uint32_t kind, const WideString& name,
                           double& origin, double& extent)
    {
        origin = 0.0;
        extent = clientExtent[axis];
        if (kind == LLayoutDescriptor::kParent)
        {
            origin = -clientOrigin[axis];
            extent = parentExtent[axis];
        }
        else if (kind >= LLayoutDescriptor::kSibling)
        {
            if (name.IsEmpty())
            {
                extent = 0.0;
            }
            else if (const LControl* sibling = FindLayoutReference(name))
            {
                origin = axis == 0 ? sibling->mPosition.x : sibling->mPosition.y;
                extent = axis == 0 ? sibling->mSize.x : sibling->mSize.y;
            }
        }
    };
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const LLayoutDescriptor::PositionSpec& position = layout.position[axis];
        const LLayoutDescriptor::SizeSpec& size = layout.size[axis];
        frame(axis, position.kind, position.name, references.positionOrigin[axis],
              references.positionExtent[axis]);
        references.scroll[axis] = position.docked ? scrolled[axis] : 0.0;
        if (size.kind >= LLayoutDescriptor::kSibling && size.name == kSelfName)
        {
            references.sizeExtent[axis] = GetContentExtent(axis);
        }
        else if (size.kind == LLayoutDescriptor::kSpanToSibling)
        {
            double origin = 0.0;
            double extent = 0.0;
            frame(axis, size.kind, size.name, origin, extent);
            references.spanEdge[axis] =
                size.relative == 0.0f ? origin : clientExtent[axis] - (origin + extent);
        }
        else
        {
            double origin = 0.0;
            frame(axis, size.kind, size.name, origin, references.sizeExtent[axis]);
        }
        const auto limitReference = [&](const LLayoutDescriptor::LimitSpec& limit)
        {
            if (!limit.present)
            {
                return GetContentExtent(axis);
            }
            const LControl* sibling =
                limit.name.IsEmpty() ? nullptr : FindLayoutReference(limit.name);
            return sibling == nullptr ? 0.0 : (axis == 0 ? sibling->mSize.x : sibling->mSize.y);
        };
        const bool hasMinimum =
            layout.minimum[axis].relative != 0.0f || layout.minimum[axis].absolute != 0.0;
        const bool hasMaximum =
            layout.maximum[axis].relative != 0.0f || layout.maximum[axis].absolute != 0.0;
        references.minimumReference[axis] = hasMinimum ? limitReference(layout.minimum[axis]) : 0.0;
        references.maximumReference[axis] = hasMaximum ? limitReference(layout.maximum[axis]) : 0.0;
    }
}

void LControl::ResolveLayoutSize(const LLayoutDescriptor& layout,
                                 const LayoutReferences& references, RectT<double>& rect) const
{
    double* positions[2] = {&rect.x, &rect.y};
    double* extents[2] = {&rect.width, &rect.height};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const LLayoutDescriptor::PositionSpec& position = layout.position[axis];
        const LLayoutDescriptor::SizeSpec& size = layout.size[axis];
        const double start = references.positionOrigin[axis] +
                             position.relative * references.positionExtent[axis] +
                             position.absolute;
        double extent = 0.0;
        if (size.kind == LLayoutDescriptor::kSpanToSibling)
        {
            extent = size.relative == 0.0f
                         ? references.spanEdge[axis] - start + size.absolute
                         : size.relative * references.spanEdge[axis] + size.absolute;
        }
        else
        {
            extent = size.relative * references.sizeExtent[axis] + size.absolute;
        }
        extent = std::isfinite(extent) ? std::max(extent, 0.0) : 0.0;
        const double placed = start - position.anchor * extent + references.scroll[axis];
        *extents[axis] = extent;
        *positions[axis] = std::isfinite(placed) ? placed : 0.0;
    }
}

void LControl::ResolveLayoutMinMax(const LLayoutDescriptor& layout,
                                   const LayoutReferences& references, RectT<double>& rect)
{
    double* positions[2] = {&rect.x, &rect.y};
    double* extents[2] = {&rect.width, &rect.height};
    double* minimums[2] = {&mMinSize.x, &mMinSize.y};
    double* maximums[2] = {&mMaxSize.x, &mMaxSize.y};
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        const LLayoutDescriptor::LimitSpec& minimum = layout.minimum[axis];
        const LLayoutDescriptor::LimitSpec& maximum = layout.maximum[axis];
        const auto limit = [](const LLayoutDescriptor::LimitSpec& rule, double reference)
        {
            const double value = rule.relative * reference + rule.absolute;
            return std::isfinite(value) ? std::max(value, 0.0) : 0.0;
        };
        const double low = limit(minimum, references.minimumReference[axis]);
        const double high = limit(maximum, references.maximumReference[axis]);
        double extent = std::max(*extents[axis], low);
        if (high > 0.0)
        {
            extent = std::min(extent, high);
        }
        extent = std::max(extent, 0.0);
        // The anchor keeps its point when a limit changes the size.
        *positions[axis] += layout.position[axis].anchor * (*extents[axis] - extent);
        *extents[axis] = extent;
        *minimums[axis] = low;
        *maximums[axis] = high;
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
    OnLayoutChangeBegin();
    const bool resized =
        std::abs(size.x - mSize.x) >= kSizeEpsilon || std::abs(size.y - mSize.y) >= kSizeEpsilon;
    InvalidateAll();
    if (mUnclipped > 0)
    {
        InvalidateSeparatelyPainted();
    }
    mPosition = position;
    mSize = size;
    NoteGeometryChange();
    for (const RCPtr<LLook>& look : mLooks)
    {
        if (look)
        {
            look->SetRect({0.0, 0.0, size.x, size.y});
        }
    }
    if (resized && !mApplyingDescriptor)
    {
        mApplyingDescriptor = true;
        const std::vector<RCPtr<LControl>> sequence = GetLayoutSequence();
        for (const RCPtr<LControl>& child : sequence)
        {
            child->OnResize();
        }
        UpdateLayout();
        mApplyingDescriptor = false;
    }
    if (mParent)
    {
        RelayoutLaterSiblings();
        mParent->OnChildLayoutChanged(RCPtr<LControl>(this));
    }
    else if (mRootWindow)
    {
        const RectT<std::int32_t> client = mRootWindow->GetClientScreenRect();
        mRootWindow->SetWindowRect(
            {client.x, client.y, RoundToInt32(mSize.x), RoundToInt32(mSize.y)});
    }
    InvalidateAll();
    if (mUnclipped > 0)
    {
        InvalidateSeparatelyPainted();
    }
    OnLayoutChangeEnd();
    return S_OK;
}

std::vector<RCPtr<LControl>> LControl::GetLayoutSequence() const
{
    mChildren.SortLayout();
    std::vector<RCPtr<LControl>> sequence;
    sequence.reserve(mChildren.mLayoutOrder.size());
    for (const std::uint32_t index : mChildren.mLayoutOrder)
    {
        sequence.push_back(mChildren.mStorage[index]);
    }
    return sequence;
}

void LControl::RelayoutLaterSiblings()
{
    // A copy: laying a sibling out may change the list.
    const std::vector<RCPtr<LControl>> sequence = mParent->mChildren.GetLaterInLayout(*this);
    for (const RCPtr<LControl>& later : sequence)
    {
        if (later->UpdateLayout() != S_FALSE)
        {
            break;
        }
    }
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

QZRESULT LControl::SetRootWindow(const RCPtr<LRootWindow>& window)
{
    if (window && mParent)
    {
        return E_FAIL;
    }
    if (mRootWindow == window)
    {
        return S_OK;
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
    if (mRootWindow)
    {
        // A control without text keeps the title its window was made with.
        if (!mText.IsEmpty())
        {
            mRootWindow->SetWindowTitle(mText);
        }
        RegisterHandlers();
    }
    return S_OK;
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

// ---- looks ----

const RCPtr<LLook>& LControl::GetLook(std::uint32_t index) const
{
    static const RCPtr<LLook> none;
    return index < mLooks.size() ? mLooks[index] : none;
}

float LControl::GetLookWeight(std::uint32_t index) const
{
    return index < mLookWeights.size() ? mLookWeights[index] : 0.0f;
}

bool LControl::TakesPart(std::uint32_t look) const
{
    return GetLook(look) && GetLookWeight(look) > 0.0f;
}

RectT<double> LControl::GetLookClientRect(std::uint32_t index) const
{
    const RCPtr<LLook>& look = GetLook(index);
    if (!look)
    {
        return {0.0, 0.0, mSize.x, mSize.y};
    }
    const RectT<std::int32_t> client = look->GetClientRect();
    return {static_cast<double>(client.x), static_cast<double>(client.y),
            static_cast<double>(client.width), static_cast<double>(client.height)};
}

QZRESULT LControl::SetLookWeight(std::uint32_t index, float weight, bool exclusive)
{
    if (index >= mLookWeights.size())
    {
        return E_INVALIDARG;
    }
    if (!(weight >= 0.0f && weight <= 1.0f))
    {
        return S_OK;
    }
    bool changed = mLookWeights[index] != weight;
    mLookWeights[index] = weight;
    for (std::size_t other = 0; exclusive && other < mLookWeights.size(); ++other)
    {
        if (other != index && mLookWeights[other] != 0.0f)
        {
            mLookWeights[other] = 0.0f;
            changed = true;
        }
    }
    if (changed)
    {
        InvalidateAll();
    }
    return S_OK;
}

void LControl::SetLookRegion(std::uint32_t index, const RegionT& region)
{
    if (const RCPtr<LLook>& look = GetLook(index))
    {
        look->SetRegion(region);
        InvalidateAll();
    }
}

void LControl::ClearLookRegion(std::uint32_t index)
{
    if (const RCPtr<LLook>& look = GetLook(index))
    {
        look->ClearRegion();
    }
}

void LControl::ClearLookRegions()
{
    for (auto look = mLooks.rbegin(); look != mLooks.rend(); ++look)
    {
        if (*look)
        {
            (*look)->ClearRegion();
        }
    }
}

QZRESULT LControl::SetLookRegionExcluding(std::uint32_t index, std::uint32_t other)
{
    const RCPtr<LLook>& look = GetLook(index);
    const RCPtr<LLook>& excluded = GetLook(other);
    if (!look || !excluded)
    {
        return E_INVALIDARG;
    }
    RegionT region;
    region.AddRect({0, 0, static_cast<std::int32_t>(std::trunc(mSize.x + 0.5)),
                    static_cast<std::int32_t>(std::trunc(mSize.y + 0.5))});
    region.SubtractRegion(excluded->GetRegion());
    region.Coalesce();
    look->SetRegion(region);
    InvalidateAll();
    return S_OK;
}

QZRESULT LControl::SetLookBitmap(std::uint32_t index, const RCPtr<LBitmap>& bitmap,
                                 std::uint32_t resizeType)
{
    const RCPtr<LLook>& look = GetLook(index);
    if (!look)
    {
        return E_FAIL;
    }
    look->SetBitmapPart(bitmap, resizeType);
    if (TakesPart(index))
    {
        InvalidateAll();
    }
    return S_OK;
}

void LControl::SetLookVisualPart(std::uint32_t index, const RCPtr<LVisualPart>& part)
{
    const RCPtr<LLook>& look = GetLook(index);
    if (look && part)
    {
        look->SetMainPart(part);
        InvalidateAll();
    }
}

// ---- painting ----

QZRESULT LControl::Paint(const RCPtr<LRenderer>& renderer, const RegionT& dirty,
                         std::vector<RCPtr<LControl>>& layer, bool separate)
{
    if (separate == !IsUnclipped(*this))
    {
        return E_INVALIDARG;
    }
    RenderState* state = renderer ? renderer->GetCurrentState() : nullptr;
    if (!Shown(*this) || !HasArea(*this) || state == nullptr)
    {
        return S_OK;
    }
    const RectT<double> bounds(mPosition.x, mPosition.y, mSize.x, mSize.y);
    RectT<double> visible = bounds;
    if (!separate)
    {
        RectT<double>::Intersect(visible, visible, state->clip);
    }
    if (visible.width <= kExtentEpsilon || visible.height <= kExtentEpsilon)
    {
        if (mUnclipped > 0)
        {
            CollectSeparatelyPainted(layer, true, false);
        }
        return S_OK;
    }
    const RectT<std::int32_t> whole = bounds.ToLong();
    // Tested at the origin the clip below moves to, before pushing it: most controls of a large
    // tree lie outside a small dirty area, and skipping them must cost next to nothing.
    const PointT<double> origin =
        state->origin + PointT<double>(static_cast<double>(whole.x), static_cast<double>(whole.y));
    if (!dirty.IntersectsOffsetRect({0.0, 0.0, mSize.x, mSize.y}, origin))
    {
        if (mUnclipped > 0)
        {
            CollectSeparatelyPainted(layer, true, false);
        }
        return S_OK;
    }
    const CAutoClip clip(renderer,
                         {static_cast<double>(whole.x), static_cast<double>(whole.y),
                          static_cast<double>(whole.width), static_cast<double>(whole.height)},
                         visible, RCPtr<LStencil>());
    state = renderer->GetCurrentState();
    state->alpha *= mOpacity;
    // Looks draw without moving the origin or the clip, so only the alpha needs restoring.
    const float alpha = state->alpha;
    // What an opaque child paints over in full is not painted at all.
    std::uint32_t from = 0;
    const bool hidden = FindHidingChild(*state, dirty, from);
    for (const bool frames : {false, true})
    {
        for (std::uint32_t i = 0; i < mLooks.size() && !hidden; ++i)
        {
            if (TakesPart(i))
            {
                state->alpha = alpha * mLookWeights[i];
                frames ? mLooks[i]->DrawNonClientParts(*renderer, dirty)
                       : mLooks[i]->DrawClientPart(*renderer, dirty);
            }
        }
    }
    state->alpha = alpha;
    if (!hidden)
    {
        RunHook(renderer, dirty, false);
    }
    for (std::uint32_t i = 0; i < mLookWeights.size(); ++i)
    {
        if (mLookWeights[i] > 0.0f)
        {
            // Children restore every state they push, so only the alpha needs restoring here.
            state->alpha = alpha * mLookWeights[i];
            const RCPtr<LLook>& drawn = GetLook(i);
            if (drawn && !hidden)
            {
                drawn->DrawLabelText(*renderer, dirty,
                                     mLabelFollowsScroll ? mScrollOffset : PointT<double>());
            }
            if (mChildren.GetCount() > 0)
            {
                PaintChildren(renderer, dirty, layer, i, from);
            }
            state->alpha = alpha;
        }
    }
    RunHook(renderer, dirty, true);
    for (std::uint32_t i = mChildren.GetClippedEnd(2); i < mChildren.GetCount(); ++i)
    {
        const RCPtr<LControl>& child = mChildren.GetAt(i, kPaintOrder);
        if (Shown(*child) && HasArea(*child))
        {
            layer.push_back(child);
        }
    }
    return S_OK;
}

bool LControl::FindHidingChild(const RenderState& state, const RegionT& dirty,
                               std::uint32_t& position) const
{
    const auto shown = std::count_if(mLookWeights.begin(), mLookWeights.end(),
                                     [](float weight) { return weight > 0.0f; });
    const auto look = static_cast<std::uint32_t>(
        std::find_if(mLookWeights.begin(), mLookWeights.end(),
                     [](float weight) { return weight > 0.0f; }) -
        mLookWeights.begin());
    const RectT<double>& clip = state.clip;
    // A look's clip region masks the children with a stencil, which lets the look show around.
    if (shown != 1 || mLookWeights[look] < 1.0f || state.alpha < 1.0f || state.stencilSet ||
        (GetLook(look) && !GetLook(look)->GetRegion().IsEmpty()) || mChildren.GetCount() == 0 ||
        clip.IsEmpty() || !dirty.IntersectsOffsetRect(clip, state.origin))
    {
        return false;
    }
    // The children's origin, as PaintChildren moves it (the renderer moves by whole pixels).
    const RectT<double> client = GetLookClientRect(look);
    const RectT<double> scrolledFrame(client.x - mScrollOffset.x, client.y - mScrollOffset.y,
                                      client.width + mScrollOffset.x,
                                      client.height + mScrollOffset.y);
    const RectT<double> area(clip.x - Snap(scrolledFrame.x), clip.y - Snap(scrolledFrame.y),
                             clip.width, clip.height);
    // Children docked on fewer than two axes are clipped to the client rectangle as well.
    RectT<double> inClient;
    const bool clientHolds = RectT<double>::Intersect(inClient, client, scrolledFrame) &&
                             RectT<double>::Intersect(inClient, inClient, clip) && inClient == clip;
    const std::vector<ChildBox>& boxes = mChildren.GetPaintBoxes();
    bool found = false;
    mChildren.GetPaintGrid().ForEachNear(
        area.x, area.y, area.GetRight(), area.GetBottom(),
        clientHolds ? 0u : mChildren.GetClippedEnd(1), mChildren.GetClippedEnd(2),
        [&](std::uint32_t i)
        {
            const ChildBox& box = boxes[i];
            if (box.left <= area.x && box.top <= area.y && box.right >= area.GetRight() &&
                box.bottom >= area.GetBottom() && mChildren.GetAt(i, kPaintOrder)->HidesArea(area))
            {
                position = i;
                found = true;
            }
        });
    return found;
}

bool LControl::HidesArea(const RectT<double>& area) const
{
    if (!Shown(*this) || !HasArea(*this) || mOpacity < 1.0f)
    {
        return false;
    }
    // Painting clips to the rectangle and to its whole-pixel frame, and skips a control whose
    // rectangle laid at that frame's corner misses the dirty area; the looks draw from the corner.
    const RectT<double> bounds(mPosition.x, mPosition.y, mSize.x, mSize.y);
    const RectT<std::int32_t> whole = bounds.ToLong();
    const RectT<double> frame(whole.x, whole.y, whole.width, whole.height);
    const RectT<double> tested(whole.x, whole.y, mSize.x, mSize.y);
    RectT<double> painted;
    if (!RectT<double>::Intersect(painted, bounds, frame) ||
        !RectT<double>::Intersect(painted, painted, tested))
    {
        return false;
    }
    for (std::uint32_t i = 0; i < mLooks.size(); ++i)
    {
        if (TakesPart(i) && mLookWeights[i] >= 1.0f && mLooks[i]->IsOpaque())
        {
            const PointT<std::int32_t> size = mLooks[i]->GetSize();
            RectT<double> covered;
            if (RectT<double>::Intersect(covered, painted,
                                         {frame.x, frame.y, static_cast<double>(size.x),
                                          static_cast<double>(size.y)}) &&
                covered.x <= area.x && covered.y <= area.y &&
                covered.GetRight() >= area.GetRight() && covered.GetBottom() >= area.GetBottom())
            {
                return true;
            }
        }
    }
    return false;
}

void LControl::RunHook(const RCPtr<LRenderer>& renderer, const RegionT& dirty, bool overlay)
{
    const RenderState& state = *renderer->GetCurrentState();
    const RectT<double> current = state.clip;
    const PointT<double> origin = state.origin;
    for (const RegionRect& r : dirty)
    {
        RectT<double> area(r.left - origin.x, r.top - origin.y, r.right - r.left, r.bottom - r.top);
        RectT<double>::Intersect(area, area, current);
        if (area.width <= kExtentEpsilon || area.height <= kExtentEpsilon)
        {
            continue;
        }
        // A rectangle covering the whole current clip would push a state equal to the current
        // one; the hook then draws under the current state.
        const bool whole = area == current && current.x >= 0.0 && current.y >= 0.0 &&
                           current.GetRight() <= mSize.x && current.GetBottom() <= mSize.y;
        if (whole)
        {
            overlay ? DrawOverlay(*renderer) : DrawUnderlay(*renderer);
        }
        else
        {
            const CAutoClip clip(renderer, {0.0, 0.0, mSize.x, mSize.y}, area, RCPtr<LStencil>());
            overlay ? DrawOverlay(*renderer) : DrawUnderlay(*renderer);
        }
    }
}

void LControl::PaintChildren(const RCPtr<LRenderer>& renderer, const RegionT& dirty,
                             std::vector<RCPtr<LControl>>& layer, std::uint32_t look,
                             std::uint32_t from)
{
    const RectT<double> client = GetLookClientRect(look);
    const RCPtr<LLook>& drawn = GetLook(look);
    const RCPtr<LStencil> stencil = drawn ? drawn->GetStencil() : RCPtr<LStencil>();
    const RectT<double> scrolledFrame(client.x - mScrollOffset.x, client.y - mScrollOffset.y,
                                      client.width + mScrollOffset.x,
                                      client.height + mScrollOffset.y);
    for (std::uint32_t docked = 0; docked < 2; ++docked)
    {
        const std::uint32_t first = docked == 0 ? 0 : mChildren.GetClippedEnd(0);
        const std::uint32_t end = mChildren.GetClippedEnd(docked);
        if (first == end)
        {
            continue;
        }
        const RectT<double>& current = renderer->GetCurrentState()->clip;
        const bool skipped = client.width <= kExtentEpsilon || client.height <= kExtentEpsilon ||
                             !(client.x < current.GetRight() && client.GetRight() > current.x &&
                               client.y < current.GetBottom() && client.GetBottom() > current.y);
        if (skipped)
        {
            for (std::uint32_t i = first; i < end; ++i)
            {
                const RCPtr<LControl>& child = mChildren.GetAt(i, kPaintOrder);
                if (child->mUnclipped > 0)
                {
                    child->CollectSeparatelyPainted(layer, true, false);
                }
            }
            continue;
        }
        const CAutoClip clip(renderer, scrolledFrame, client, stencil);
        PaintChildRange(renderer, dirty, layer, first, end, from);
    }
    const std::uint32_t first = mChildren.GetClippedEnd(1);
    const std::uint32_t end = mChildren.GetClippedEnd(2);
    if (first == end)
    {
        return;
    }
    CAutoClip::ClipDescription offset;
    offset.flavor = CAutoClip::kFlavorOffset;
    offset.offset = {client.x - mScrollOffset.x, client.y - mScrollOffset.y};
    const CAutoClip moved(renderer, offset);
    PaintChildRange(renderer, dirty, layer, first, end, from);
}

void LControl::PaintChildRange(const RCPtr<LRenderer>& renderer, const RegionT& dirty,
                               std::vector<RCPtr<LControl>>& layer, std::uint32_t first,
                               std::uint32_t end, std::uint32_t from)
{
    // The dirty area's bounds in the children's coordinates: a child whose box misses them is
    // passed by without a call, and the grid does not even offer most of those.
    RegionRect bounds;
    dirty.GetBounds(bounds);
    const PointT<double> origin = renderer->GetCurrentState()->origin;
    const double left = bounds.left - origin.x;
    const double top = bounds.top - origin.y;
    const double right = bounds.right - origin.x;
    const double bottom = bounds.bottom - origin.y;
    const std::vector<ChildBox>& boxes = mChildren.GetPaintBoxes();
    mChildren.GetPaintGrid().ForEachNear(
        left, top, right, bottom, first, end,
        [&](std::uint32_t i)
        {
            const ChildBox& box = boxes[i];
            if (i < from)
            {
                // Hidden, but what it paints apart is painted above the tree all the same.
                const RCPtr<LControl>& child = mChildren.GetAt(i, kPaintOrder);
                if (child->mUnclipped > 0)
                {
                    child->CollectSeparatelyPainted(layer, true, false);
                }
                return;
            }
            if (box.contained && box.clipped &&
                !(box.left < right && box.right > left && box.top < bottom && box.bottom > top))
            {
                return;
            }
            mChildren.GetAt(i, kPaintOrder)->Paint(renderer, dirty, layer, false);
        });
}

std::uint32_t LControl::CollectSeparatelyPainted(std::vector<RCPtr<LControl>>& layer,
                                                 bool onlyShowing, bool includeSelf)
{
    const std::size_t before = layer.size();
    const bool showing = Shown(*this) && HasArea(*this);
    if (IsUnclipped(*this) && includeSelf && (showing || !onlyShowing))
    {
        layer.push_back(RCPtr<LControl>(this));
    }
    if (onlyShowing && !showing)
    {
        return 0;
    }
    for (std::uint32_t i = 0; i < mChildren.GetCount(); ++i)
    {
        mChildren.GetAt(i, kPaintOrder)->CollectSeparatelyPainted(layer, onlyShowing, true);
    }
    return static_cast<std::uint32_t>(layer.size() - before);
}

// ---- invalidation ----

void LControl::Invalidate(const RectT<double>& rect, bool clip)
{
    // A tree under no window yet, one being built, has nothing to mark: the window repaints whole
    // when the tree is set into it.
    const LControl* top = this;
    while (top->mParent)
    {
        top = top->mParent.Get();
    }
    if (!top->mRootWindow)
    {
        return;
    }
    const PointT<double> offset = GetPositionInRoot();
    InvalidateRootRect({rect.x + offset.x, rect.y + offset.y, rect.width, rect.height}, clip, rect);
}

void LControl::InvalidateAll()
{
    Invalidate({0.0, 0.0, mSize.x, mSize.y}, !IsUnclipped(*this));
}

void LControl::InvalidateRootRect(const RectT<double>& rootRect, bool clip,
                                  const RectT<double>& limit)
{
    if (!Shown(*this) || !HasArea(*this))
    {
        return;
    }
    RectT<double> bounded = limit;
    if (clip && !IsUnclipped(*this))
    {
        RectT<double>::Intersect(bounded, bounded, GetParentBoundsInLocal());
        if (bounded.width <= kExtentEpsilon || bounded.height <= kExtentEpsilon)
        {
            return;
        }
    }
    else
    {
        clip = false;
    }
    if (mParent)
    {
        const PointT<double> offset = GetOffsetInParent();
        bounded.x += offset.x;
        bounded.y += offset.y;
        mParent->InvalidateRootRect(rootRect, clip, bounded);
        return;
    }
    if (mRootWindow)
    {
        RectT<double> area = rootRect;
        if (clip)
        {
            RectT<double>::Intersect(area, area, bounded);
        }
        const RectT<std::int32_t> whole = area.ToLong();
        mRootWindow->Invalidate({whole.x, whole.y, whole.width, whole.height});
    }
}

void LControl::InvalidateSeparatelyPainted()
{
    std::vector<RCPtr<LControl>> layer;
    CollectSeparatelyPainted(layer, true, false);
    for (const RCPtr<LControl>& control : layer)
    {
        control->InvalidateAll();
    }
}

PointT<double> LControl::GetOffsetInParent() const
{
    if (!mParent)
    {
        return {};
    }
    const RectT<double> client = mParent->GetLookClientRect(0);
    return {mPosition.x - mParent->mScrollOffset.x + client.x,
            mPosition.y - mParent->mScrollOffset.y + client.y};
}

RectT<double> LControl::GetParentBoundsInLocal() const
{
    if (mParent)
    {
        const PointT<double> offset = GetOffsetInParent();
        return {-offset.x, -offset.y, mParent->mSize.x, mParent->mSize.y};
    }
    if (mRootWindow)
    {
        const PointT<long> client = mRootWindow->GetClientSize();
        return {-mPosition.x, -mPosition.y, static_cast<double>(client.x),
                static_cast<double>(client.y)};
    }
    return {0.0, 0.0, mSize.x, mSize.y};
}

PointT<double> LControl::GetPositionInRoot() const
{
    PointT<double> position;
    for (const LControl* control = this; control->mParent; control = control->mParent.Get())
    {
        const PointT<double> offset = control->GetOffsetInParent();
        position.x += offset.x;
        position.y += offset.y;
    }
    return position;
}

void LControl::MapPointFrom(const LControl& other, PointT<double>& point) const
{
    const PointT<std::int32_t> from = other.GetAbsolutePosition().ToLong();
    const PointT<std::int32_t> to = GetAbsolutePosition().ToLong();
    point.x += static_cast<double>(from.x) - to.x;
    point.y += static_cast<double>(from.y) - to.y;
}

// ---- hit testing and lookup ----

bool LControl::HitTest(const PointT<long>& point) const
{
    const double x = static_cast<double>(point.x) + std::round(mPosition.x);
    const double y = static_cast<double>(point.y) + std::round(mPosition.y);
    return x >= mPosition.x && y >= mPosition.y && x < mPosition.x + mSize.x &&
           y < mPosition.y + mSize.y;
}

bool LControl::IsTransparentAt(const PointT<long>& point) const
{
    for (std::uint32_t i = 0; i < mLooks.size(); ++i)
    {
        if (TakesPart(i) && (GetColorAtPoint(point, i) >> 24) != 0)
        {
            return false;
        }
    }
    return true;
}

std::uint32_t LControl::GetColorAtPoint(const PointT<long>& point, std::uint32_t look) const
{
    const RCPtr<LLook>& shown = GetLook(look);
    return shown ? shown->GetColorAtPoint(point) : 0x00FFFFFFu;
}

std::int32_t LControl::GetEffectiveZOrder() const
{
    std::int32_t z = std::numeric_limits<std::int32_t>::min();
    for (const LControl* control = this; control != nullptr; control = control->mParent.Get())
    {
        if (IsUnclipped(*control))
        {
            z = std::max(z, ZOrder(*control));
        }
    }
    return z;
}

RCPtr<LControl>& LControl::FindControlAtPoint(RCPtr<LControl>& out, const PointT<long>& point,
                                              bool insideParent, PointT<long>& outPoint,
                                              std::int32_t& bestZ)
{
    out = RCPtr<LControl>();
    outPoint = {0, 0};
    if (!Shown(*this) || !HasArea(*this))
    {
        return out;
    }
    const bool inside = HitTest(point);
    if (!inside && mUnclipped < 1)
    {
        return out;
    }
    constexpr std::int32_t kBottom = std::numeric_limits<std::int32_t>::min();
    RCPtr<LControl> best;
    const PointT<std::int32_t> scroll = mScrollOffset.ToLong();
    for (std::uint32_t look = 0; look < mLookWeights.size(); ++look)
    {
        if (!(mLookWeights[look] > 0.0f))
        {
            continue;
        }
        const RectT<std::int32_t> client = GetLookClientRect(look).ToLong();
        const bool inClient = point.x >= client.x && point.y >= client.y &&
                              point.x < client.GetRight() && point.y < client.GetBottom();
        const PointT<long> content(point.x - client.x + scroll.x, point.y - client.y + scroll.y);
        const std::vector<ChildBox>& boxes = mChildren.GetPaintBoxes();
        mChildren.GetPaintGrid().ForEachAtReversed(
            static_cast<double>(content.x), static_cast<double>(content.y),
            [&](std::uint32_t i)
            {
                // A child whose whole subtree lies in its box has nothing at a point outside it.
                const ChildBox& box = boxes[i];
                if (box.contained && (content.x < box.left || content.x >= box.right ||
                                      content.y < box.top || content.y >= box.bottom))
                {
                    return;
                }
                const RCPtr<LControl>& child = mChildren.GetAt(i, kPaintOrder);
                const bool inArea =
                    insideParent && inside && (DockedAxes(*child) == 2 || inClient);
                const bool searched =
                    (!best && (inArea || child->GetEffectiveZOrder() > kBottom)) ||
                    IsUnclipped(*child) || child->mUnclipped > 0;
                if (!searched)
                {
                    return;
                }
                const PointT<std::int32_t> at = child->mPosition.ToLong();
                RCPtr<LControl> found;
                PointT<long> foundPoint;
                child->FindControlAtPoint(found, {content.x - at.x, content.y - at.y},
                                          insideParent && inside, foundPoint, bestZ);
                if (found &&
                    (!best || found->GetEffectiveZOrder() > best->GetEffectiveZOrder()))
                {
                    best = found;
                    outPoint = foundPoint;
                }
            });
    }
    if (best)
    {
        bestZ = best->GetEffectiveZOrder();
        out = best;
        return out;
    }
    const std::int32_t z = GetEffectiveZOrder();
    bool covered = false;
    if (mParent && DockedAxes(*this) != 2 && !IsUnclipped(*this))
    {
        const PointT<double> offset = GetOffsetInParent();
        const PointT<long> inParent(point.x + std::lround(offset.x),
                                    point.y + std::lround(offset.y));
        const RectT<std::int32_t> parentClient = mParent->GetLookClientRect(0).ToLong();
        covered = !(inParent.x >= parentClient.x && inParent.y >= parentClient.y &&
                    inParent.x < parentClient.GetRight() && inParent.y < parentClient.GetBottom());
    }
    if (!IsTransparentAt(point) && !mPassOver && inside && !covered &&
        ((z == kBottom && insideParent) || z > bestZ))
    {
        outPoint = point;
        bestZ = z;
        out = RCPtr<LControl>(this);
    }
    return out;
}

std::uint32_t LControl::FindDescendantsByName(const WideString& name,
                                              std::vector<RCPtr<LControl>>& out) const
{
    out.clear();
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildren.GetAt(i, kStorageOrder);
        if (SameName(child->mName, name))
        {
            out.push_back(child);
        }
        std::vector<RCPtr<LControl>> below;
        child->FindDescendantsByName(name, below);
        out.insert(out.end(), below.rbegin(), below.rend());
    }
    return static_cast<std::uint32_t>(out.size());
}

std::int32_t LControl::GetChildIndex(const RCPtr<LControl>& child, std::uint32_t order) const
{
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        if (mChildren.GetAt(i, order) == child)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

void LControl::SetHitTestPassOver(bool passOver, bool withDescendants)
{
    mPassOver = passOver;
    for (std::uint32_t i = 0; withDescendants && i < mChildren.GetCount(); ++i)
    {
        mChildren.GetAt(i, kStorageOrder)->SetHitTestPassOver(passOver, true);
    }
}

RCPtr<LControl>& LControl::FindDropTarget(RCPtr<LControl>& out, const RCPtr<LControl>& dragged,
                                          const PointT<double>& point)
{
    RCPtr<LRootWindow> window;
    GetRootWindowRef(window);
    RCPtr<LControl> current(this);
    // A floating control's hit test may lead back to one already passed; that walk would not end.
    std::vector<const LControl*> visited;
    while (current && !current->AcceptsDrop(dragged))
    {
        if (std::find(visited.begin(), visited.end(), current.Get()) != visited.end())
        {
            current = RCPtr<LControl>();
            break;
        }
        visited.push_back(current.Get());
        if (IsUnclipped(*current))
        {
            RCPtr<LControl> found;
            if (window && dragged)
            {
                const PointT<std::int32_t> at = point.ToLong();
                PointT<long> local;
                dragged->SetHitTestPassOver(true, true);
                window->HitTest(found, at.x, at.y, local, 0);
                dragged->SetHitTestPassOver(false, true);
            }
            current = found;
        }
        else
        {
            current = current->mParent;
        }
    }
    out = current;
    return out;
}

// ---- geometry, scroll offset, text and font ----

void LControl::SetScrollOffset(const PointT<double>& offset)
{
    mInScroll = true;
    const PointT<double> rounded(std::round(offset.x), std::round(offset.y));
    if (!std::isfinite(rounded.x) || !std::isfinite(rounded.y) || rounded == mScrollOffset)
    {
        mInScroll = false;
        return;
    }
    InvalidateSeparatelyPainted();
    const PointT<double> previous = mScrollOffset;
    mScrollOffset = rounded;
    for (std::uint32_t i = 0; i < mChildren.GetCount(); ++i)
    {
        mChildren.GetAt(i, kStorageOrder)->OnParentScrolled(previous, rounded);
    }
    InvalidateAll();
    OnScrollOffsetChanged(previous, rounded);
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_SCROLL_OFFSET_CHANGE);
    Distribute(notification);
    mInScroll = false;
}

bool LControl::SetText(const WideString& text, bool relayout)
{
    if (text == mText)
    {
        return false;
    }
    if (!mParent && mRootWindow)
    {
        mRootWindow->SetWindowTitle(text);
    }
    mText = text;
    for (auto look = mLooks.rbegin(); look != mLooks.rend(); ++look)
    {
        if (*look)
        {
            (*look)->SetText(text);
        }
    }
    if (relayout && mLayout)
    {
        for (std::uint32_t axis = 0; axis < 2; ++axis)
        {
            if (mLayout->textOverflow[axis] != LLayoutDescriptor::kClip &&
                mLayout->size[axis].name == kSelfName)
            {
                UpdateLayout();
                break;
            }
        }
    }
    InvalidateAll();
    return true;
}

QZRESULT LControl::SetFont(const RCPtr<LFont>& font)
{
    if (!font)
    {
        return E_INVALIDARG;
    }
    for (auto look = mLooks.rbegin(); look != mLooks.rend(); ++look)
    {
        if (*look)
        {
            (*look)->SetFont(font);
        }
    }
    if (mFont == font)
    {
        return S_FALSE;
    }
    mFont = font;
    mFontNameInherited = false;
    mFontSizeFromBase = false;
    mFontStyleInherited = false;
    OnFontChanged();
    for (std::uint32_t i = 0; i < mChildren.GetCount(); ++i)
    {
        mChildren.GetAt(i, kStorageOrder)->OnBaseFontChanged();
    }
    // A descriptor being applied lays the control out and invalidates it once it is done.
    if (!mApplyingDescriptor)
    {
        UpdateLayout();
        InvalidateAll();
    }
    return S_OK;
}

QZRESULT LControl::SetFontSpec(const WideString& name, float size, std::int32_t style,
                               bool relative)
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LFont> base = mFontInherits && mParent ? mParent->mFont
                              : application != nullptr ? application->GetApplicationFont()
                                                       : RCPtr<LFont>();
    const bool nameInherited = name.IsEmpty();
    const bool sizeFromBase = !(size > 0.0f) || relative;
    const bool styleInherited = style == -1;
    if (!base && (nameInherited || sizeFromBase || styleInherited))
    {
        return E_FAIL;
    }
    const float factor = relative && size > 0.0f ? size : 1.0f;
    const WideString face = nameInherited ? base->GetFaceName() : name;
    const float points = sizeFromBase ? base->GetSize() * factor : size;
    const std::int32_t bits = styleInherited ? base->GetStyle() : style;
    const RCPtr<LFont> font =
        base && face == base->GetFaceName() && points == base->GetSize() && bits == base->GetStyle()
            ? base
            : LFont::FindOrCreate(face, points, bits);
    if (!font)
    {
        return E_FAIL;
    }
    const QZRESULT result = SetFont(font);
    if (Succeeded(result))
    {
        mFontNameInherited = nameInherited;
        mFontSizeFromBase = sizeFromBase;
        mFontStyleInherited = styleInherited;
        mFontSizeRelative = relative;
        mFontFactor = factor;
    }
    return result;
}

QZRESULT LControl::OnBaseFontChanged()
{
    if (!mFontInherits || !(mFontNameInherited || mFontSizeFromBase || mFontStyleInherited) ||
        !mFont)
    {
        return S_OK;
    }
    // A relative size passes its factor, never the size it gave, so sizes do not compound.
    const bool relative = mFontSizeFromBase && mFontSizeRelative;
    const float size = !mFontSizeFromBase ? mFont->GetSize() : relative ? mFontFactor : 0.0f;
    SetFontSpec(mFontNameInherited ? WideString() : mFont->GetFaceName(), size,
                mFontStyleInherited ? -1 : mFont->GetStyle(), relative);
    return S_OK;
}

void LControl::OnLayoutChangeBegin()
{
    mSavedClientRect = GetLookClientRect(0);
    mLayoutChangePending = true;
}

QZRESULT LControl::SetAxisLayout(std::uint32_t axis,
                                 const LLayoutDescriptor::PositionSpec& position,
                                 const LLayoutDescriptor::SizeSpec& size)
{
    if (!mLayout || axis > 1)
    {
        return E_INVALIDARG;
    }
    const bool differs = !(mLayout->position[axis] == position) || !(mLayout->size[axis] == size);
    const bool dockChanged = mLayout->position[axis].docked != position.docked;
    mLayout->SetAxisSpec(axis, position, size);
    if (dockChanged && mParent)
    {
        mParent->mChildren.TouchChild(*this);
    }
    UpdateLayout();
    return differs ? S_FALSE : S_OK;
}

QZRESULT LControl::SetAxisSizeLimits(std::uint32_t axis,
                                     const LLayoutDescriptor::LimitSpec& minimum,
                                     const LLayoutDescriptor::LimitSpec& maximum)
{
    if (!mLayout || axis > 1)
    {
        return E_INVALIDARG;
    }
    const bool differs =
        !(mLayout->minimum[axis] == minimum) || !(mLayout->maximum[axis] == maximum);
    mLayout->SetAxisSizeLimits(axis, minimum, maximum);
    UpdateLayout();
    return differs ? S_FALSE : S_OK;
}

QZRESULT LControl::SetLayoutAxes(const LLayoutDescriptor::PositionSpec& positionX,
                                 const LLayoutDescriptor::SizeSpec& sizeX,
                                 const LLayoutDescriptor::PositionSpec& positionY,
                                 const LLayoutDescriptor::SizeSpec& sizeY)
{
    if (!mLayout)
    {
        return E_INVALIDARG;
    }
    const bool dockChanged = mLayout->position[0].docked != positionX.docked ||
                             mLayout->position[1].docked != positionY.docked;
    mLayout->SetAxisSpec(0, positionX, sizeX);
    mLayout->SetAxisSpec(1, positionY, sizeY);
    if (dockChanged && mParent)
    {
        mParent->mChildren.TouchChild(*this);
    }
    return UpdateLayout();
}

QZRESULT LControl::SetOrderValue(std::int32_t value)
{
    if (value < 0)
    {
        return E_INVALIDARG;
    }
    mOrderValue = value;
    return S_OK;
}

PointT<double> LControl::MeasureDesiredSize()
{
    if (!mLayout)
    {
        return mSize;
    }
    const LLayoutDescriptor::SizeSpec saved[2] = {mLayout->size[0], mLayout->size[1]};
    for (LLayoutDescriptor::SizeSpec& size : mLayout->size)
    {
        size = {LLayoutDescriptor::kSibling, kSelfName, 0.0f, 0.0};
    }
    LayoutReferences references;
    ResolveLayoutReferences(*mLayout, mParent.Get(), references);
    RectT<double> rect;
    ResolveLayoutSize(*mLayout, references, rect);
    ResolveLayoutMinMax(*mLayout, references, rect);
    mLayout->size[0] = saved[0];
    mLayout->size[1] = saved[1];
    return {rect.width, rect.height};
}

void LControl::SetNotFocusable(bool notFocusable)
{
    if (!mLayout)
    {
        mNotFocusable = notFocusable;
        return;
    }
    std::int32_t& tabStop = mLayout->tabStop;
    if (mNotFocusable == notFocusable && (tabStop < 0) == notFocusable)
    {
        return;
    }
    mNotFocusable = notFocusable;
    // Only the tab stop orders the siblings.
    if ((tabStop < 0) != notFocusable)
    {
        tabStop = tabStop == 0 ? -1 : -tabStop;
        if (mParent)
        {
            mParent->mChildren.TouchChild(*this);
        }
    }
    if ((IsFocusable() || HasFocusableDescendant()) && mParent && mParent->HasFocus())
    {
        SetFocus(true);
    }
    else if (notFocusable && HasFocus() && mParent)
    {
        const RCPtr<LControl> parent = mParent;
        parent->SetFocus(true);
    }
}

} // namespace QZ
