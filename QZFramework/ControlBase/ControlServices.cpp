// LControl: values, sibling keys, tooltips, context menus, idle requests, the pointer cursor and
// tear-down.
#include "QZFramework/ControlBase/Control.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/PopupMenuInterface.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/SiblingKeyParam.h"
#include "QZFramework/ControlBase/ToolTipInterface.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"
#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <ostream>

namespace QZ
{
namespace
{

const WideString kToolTipName(u"toolTip");
const WideString kContextMenuName(u"contextMenu");

} // namespace

// ---- values ----

double LControl::SetValue(double position)
{
    if (std::isnan(position))
    {
        return mValue;
    }
    const double clamped = std::clamp(position, 0.0, 1.0);
    if (clamped == mValue)
    {
        return mValue;
    }
    const RCPtr<LControl> self(this);
    mValue = clamped;
    OnValueChanged();
    Send(NID_VALUE_CHANGE,
         RCPtr<LRefCountedObject>(LValueParam::Create(mValue, PositionToValue(mValue))));
    return mValue;
}

double LControl::PositionToValue(double position) const
{
    return MapPositionToValue(position, mValueMinimum, mValueMaximum, mScaleType);
}

double LControl::ValueToPosition(double value) const
{
    const double low = std::min(mValueMinimum, mValueMaximum);
    const double high = std::max(mValueMinimum, mValueMaximum);
    if (std::isnan(value) || !std::isfinite(low) || !std::isfinite(high) || low == high)
    {
        return 0.0;
    }
    const double limited = std::clamp(value, low, high);
    const double position =
        mScaleType == 1 && low > 0.0
            ? std::log(limited / mValueMinimum) / std::log(mValueMaximum / mValueMinimum)
            : (limited - mValueMinimum) / (mValueMaximum - mValueMinimum);
    return std::clamp(position, 0.0, 1.0);
}

double LControl::MapPositionToValue(double position, double minimum, double maximum,
                                    std::int32_t scaleType)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || std::isnan(position))
    {
        return std::isfinite(minimum) ? minimum : 0.0;
    }
    if (scaleType == 1)
    {
        if (minimum > 0.0 && maximum > 0.0)
        {
            return minimum * std::pow(maximum / minimum, position);
        }
        DebugStreams::Narrow() << "LControl: a logarithmic value range " << minimum << " to "
                               << maximum << " has a bound at or below 0; it maps linearly"
                               << std::endl;
    }
    const double value = minimum + (maximum - minimum) * position;
    // The span of bounds far apart can overflow; the blend of the two cannot.
    return std::isfinite(value) ? value : minimum * (1.0 - position) + maximum * position;
}

// ---- sibling keys ----

std::int32_t LControl::GetTabIndex(const LControl* child) const
{
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        if (mChildren.GetAt(i, kTabOrder).Get() == child)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

QZRESULT LControl::SendSiblingKey(const RCPtr<LKeyParam>& key)
{
    const RCPtr<LNotificationClientPool> pool = FindClientPool(GetNotificationID(NID_SIBLING_KEY));
    const std::vector<RCPtr<LNotificationReceiver>> receivers =
        pool ? pool->GetReceivers() : std::vector<RCPtr<LNotificationReceiver>>();
    if (receivers.empty() || !key)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    std::vector<std::uint32_t> order;
    OrderSiblingKeyReceivers(key, receivers, order);
    const RCPtr<LControl> origin =
        key->GetControls().empty() ? RCPtr<LControl>() : key->GetControls().back();
    const RCPtr<LSiblingKeyParam> sibling = LSiblingKeyParam::Create(key->GetKeyCode(), origin);
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_SIBLING_KEY, RCPtr<LRefCountedObject>(sibling));
    for (std::size_t i = order.size(); i-- > 0;)
    {
        if (order[i] >= receivers.size())
        {
            continue;
        }
        const RCPtr<LNotificationReceiver>& receiver = receivers[order[i]];
        if (origin && receiver.Get() == static_cast<LNotificationReceiver*>(origin.Get()))
        {
            continue;
        }
        receiver->ReceiveNotification(RCPtr<LNotificationDistributor>(this), notification);
        if (sibling->GetPosition() == 0)
        {
            return S_OK;
        }
    }
    return S_FALSE;
}

void LControl::OrderSiblingKeyReceivers(const RCPtr<LKeyParam>& key,
                                        const std::vector<RCPtr<LNotificationReceiver>>& receivers,
                                        std::vector<std::uint32_t>& order)
{
    struct Record
    {
        std::uint32_t index;
        std::int32_t key;
        bool focusable;
    };
    order.clear();
    std::vector<Record> records;
    std::int32_t outside = INT_MIN;
    for (std::uint32_t i = 0; i < receivers.size(); ++i)
    {
        const auto* control = dynamic_cast<const LControl*>(receivers[i].Get());
        const std::int32_t position = control != nullptr ? GetTabIndex(control) : -1;
        if (position >= 0)
        {
            records.push_back({i, position, !control->IsNotFocusable()});
        }
        else
        {
            records.push_back({i, outside++, false});
        }
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.key < b.key; });
    std::size_t leading = 0;
    while (leading < records.size() && !records[leading].focusable)
    {
        order.push_back(records[leading++].index);
    }
    const std::vector<RCPtr<LControl>>& passed = key->GetControls();
    const std::int32_t origin = passed.empty() ? -1 : GetTabIndex(passed.back().Get());
    std::size_t start = leading;
    while (start < records.size() && records[start].key <= origin)
    {
        ++start;
    }
    for (std::size_t i = start; i < records.size(); ++i)
    {
        order.push_back(records[i].index);
    }
    for (std::size_t i = leading; i < start; ++i)
    {
        order.push_back(records[i].index);
    }
}

// ---- tooltips and context menus ----

// The child of that skin name, made from the skin's top-level sub-control when there is none yet:
// a second child of one name could not join the tree and would stay on screen for good.
RCPtr<LControl> LControl::ShowSubControl(const WideString& name)
{
    if (RCPtr<LControl> existing = FindChildByName(name))
    {
        return existing;
    }
    LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    const RCPtr<LControlDescriptor> descriptor =
        factory ? factory->FindSkinSubControl(name) : RCPtr<LControlDescriptor>();
    RCPtr<LControl> created;
    if (descriptor)
    {
        factory->CreateControl(created, descriptor, RCPtr<LControl>(this));
    }
    return created;
}

void LControl::UpdateToolTip(bool show)
{
    if (!show)
    {
        const RCPtr<LControl> shown = FindChildByName(kToolTipName);
        if (auto* tip = dynamic_cast<IToolTip*>(shown.Get()))
        {
            tip->Hide();
        }
        return;
    }
    const WideString text = GetToolTipText();
    if (text.IsEmpty())
    {
        return;
    }
    const RCPtr<LControl> control = ShowSubControl(kToolTipName);
    if (auto* tip = dynamic_cast<IToolTip*>(control.Get()))
    {
        control->SetText(text, true);
        tip->Show();
    }
}

void LControl::ShowContextMenu(const RCPtr<LMenuDescriptor>& menu)
{
    const RCPtr<LControl> control = ShowSubControl(kContextMenuName);
    auto* popup = dynamic_cast<IPopupMenu*>(control.Get());
    if (popup == nullptr)
    {
        return;
    }
    control->SetShown(false);
    popup->SetMenuDescriptor(menu);
    OnContextMenu(control);
    popup->ShowAtMouse();
}

void LControl::SetContextMenu(const RCPtr<LMenuDescriptor>& menu)
{
    mContextMenu = menu;
}

// ---- idle requests ----

namespace
{

std::atomic<std::int32_t> gTimedIdleControls{0};

} // namespace

std::int32_t LControl::GetTimedIdleControlCount()
{
    return gTimedIdleControls.load(std::memory_order_relaxed);
}

void LControl::SetIdleRequests(std::int32_t count)
{
    if (mIdleTimed && (mIdleRequests > 0) != (count > 0))
    {
        gTimedIdleControls += count > 0 ? 1 : -1;
    }
    mIdleRequests = count;
}

void LControl::SetIdleUntimed()
{
    const std::int32_t requests = mIdleRequests;
    SetIdleRequests(0);
    mIdleTimed = false;
    SetIdleRequests(requests);
}

QZRESULT LControl::RequestIdle()
{
    SetIdleRequests(mIdleRequests + 1);
    if (mIdleRequests == 1)
    {
        RCPtr<LRootWindow> window;
        if (GetRootWindowRef(window) &&
            (!mNotificationHandler ||
             Failed(mNotificationHandler->AddHandler(
                 &LControl::OnIdle, RCPtr<LNotificationDistributor>(window), NID_IDLE, 0))))
        {
            SetIdleRequests(0);
        }
    }
    return S_OK;
}

QZRESULT LControl::ReleaseIdle()
{
    if (mIdleRequests < 1)
    {
        return S_OK;
    }
    SetIdleRequests(mIdleRequests - 1);
    if (mIdleRequests > 0)
    {
        return S_OK;
    }
    RCPtr<LRootWindow> window;
    if (!GetRootWindowRef(window))
    {
        return S_OK;
    }
    const RCPtr<LNotificationDistributor> distributor(window);
    if (!mNotificationHandler || !mNotificationHandler->RemoveHandler(distributor, NID_IDLE))
    {
        return E_FAIL;
    }
    return LNotificationClient::Unsubscribe(distributor, NID_IDLE);
}

void LControl::RegisterHandlers()
{
    RCPtr<LRootWindow> window;
    if (mIdleRequests > 0 && GetRootWindowRef(window) &&
        (!mNotificationHandler ||
         Failed(mNotificationHandler->AddHandler(
             &LControl::OnIdle, RCPtr<LNotificationDistributor>(window), NID_IDLE, 0))))
    {
        SetIdleRequests(0);
    }
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        mChildren.GetAt(i, kStorageOrder)->RegisterHandlers();
    }
}

// ---- cursor, notifications and tear-down ----

void LControl::SetCursor(std::int32_t kind)
{
    if (kind == mCursorKind)
    {
        return;
    }
    const bool hadCursor = mCursorKind != 0;
    mCursorKind = kind;
    RCPtr<LRootWindow> window;
    if (IsHovered() && GetRootWindowRef(window))
    {
        const LCursor before = window->SetCursor(kind);
        if (!hadCursor)
        {
            mSavedCursor = before;
        }
    }
}

void LControl::SendNotificationTo(const RCPtr<LNotificationReceiver>& receiver,
                                  const char16_t* identifier,
                                  const RCPtr<LRefCountedObject>& payload)
{
    if (receiver)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, identifier, payload);
        receiver->ReceiveNotification(RCPtr<LNotificationDistributor>(), notification);
    }
}

void LControl::Destroy()
{
    const RCPtr<LControl> self(this);
    SetShown(false);
    SetClipToParent(true);
    if (HasCapture())
    {
        ReleaseCapture();
    }
    while (mIdleRequests > 0)
    {
        ReleaseIdle();
    }
    if (mParent)
    {
        SetParent(RCPtr<LControl>());
    }
    else
    {
        SetRootWindow(RCPtr<LRootWindow>());
    }
}

} // namespace QZ
