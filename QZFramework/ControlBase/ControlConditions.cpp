// LControl: the condition bits, their announcements, focus and capture.
#include "QZFramework/ControlBase/Control.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <utility>

namespace QZ
{
namespace
{

// The notification of each condition, in the order they are sent when their bits change.
struct ConditionNotification
{
    std::uint32_t bits;
    const char16_t* identifier;
};
constexpr ConditionNotification kConditionNotifications[] = {
    {0x1, NID_HAS_FOCUS_CONDITION_CHANGE},
    {0x2, NID_CONTAINS_FOCUS_CONDITION_CHANGE},
    {0x1000, NID_HOVER_CONDITION_CHANGE},
    {0x8, NID_CAPTURE_CONDITION_CHANGE},
    {0x10 | 0x80, NID_LEFT_DRAG_CONDITION_CHANGE},
    {0x20 | 0x100, NID_MIDDLE_DRAG_CONDITION_CHANGE},
    {0x40 | 0x200, NID_RIGHT_DRAG_CONDITION_CHANGE},
    {0x400, NID_ENABLED_CONDITION_CHANGE},
    {0x800, NID_VISIBLITY_CONDITION_CHANGE},
};

std::uint32_t GetApplicationMilliseconds()
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetTimeMilliseconds() : 0;
}

// 0, 1 or 2 for the buttons 1, 2 and 4; 3 for any other value.
std::uint32_t ButtonSlot(std::uint32_t button)
{
    return button == 1 ? 0 : button == 2 ? 1 : button == 4 ? 2 : 3;
}

} // namespace

void LControl::Send(const char16_t* identifier, const RCPtr<LRefCountedObject>& payload)
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, identifier, payload);
    Distribute(notification);
}

// ---- condition bits ----

std::uint32_t LControl::GetConditionFlags() const
{
    std::uint32_t bits = 0;
    for (std::uint32_t flag = kFlagHasFocus; flag < kFlagHighlighted; ++flag)
    {
        bits |= mFlags[flag] ? 1u << flag : 0u;
    }
    if (mFlags[kFlagHover] || mFlags[kFlagHighlighted])
    {
        bits |= kHover;
    }
    if (IsEnabled(true))
    {
        bits |= kEnabled;
    }
    if (IsShowing(true))
    {
        bits |= kVisible;
    }
    return bits;
}

void LControl::UpdateConditions()
{
    const std::uint32_t current = GetConditionFlags();
    const std::uint32_t previous = mConditionsParam->GetConditions();
    if (current == previous)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    *mConditionsParam = LConditionsParam(current, previous, mDragOffset.x, mDragOffset.y);
    const std::uint32_t changed = current ^ previous;
    ApplyCursorOnConditions(previous, current);
    if (mDragMode != 0 && (changed & previous & kLeftDrag) != 0)
    {
        EndDrag();
    }
    OnConditionsChanged(mConditionsParam);
    const RCPtr<LRefCountedObject> payload(mConditionsParam);
    Send(NID_CONDITION_CHANGE, payload);
    for (const ConditionNotification& entry : kConditionNotifications)
    {
        if ((changed & entry.bits) != 0)
        {
            Send(entry.identifier, payload);
        }
    }
    if (mDragMode != 0 && (changed & current & kLeftDrag) != 0)
    {
        BeginDrag();
    }
    const bool hidden = (changed & kVisible) != 0 && !IsShowing(true);
    const bool captureEnded = (changed & previous & kCapture) != 0;
    if ((mFlags[kFlagHover] && hidden && !mFlags[kFlagCapture]) ||
        (captureEnded && !mFlags[kFlagHover]))
    {
        RCPtr<LRootWindow> window;
        if (GetRootWindowRef(window))
        {
            window->UpdateHover();
        }
    }
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        if (i < mChildren.GetCount())
        {
            const RCPtr<LControl> child = mChildren.GetAt(i, kStorageOrder);
            child->UpdateConditions();
        }
    }
}

void LControl::ApplyCursorOnConditions(std::uint32_t previous, std::uint32_t current)
{
    RCPtr<LRootWindow> window;
    if (mCursorKind == 0 || !GetRootWindowRef(window))
    {
        return;
    }
    const std::uint32_t changed = previous ^ current;
    const bool hoverOn = (changed & current & kPointerOver) != 0;
    const bool hoverOff = (changed & previous & kPointerOver) != 0;
    const bool captureOff = (changed & previous & kCapture) != 0;
    if (hoverOn && !mFlags[kFlagCapture])
    {
        mSavedCursor = window->SetCursor(mCursorKind);
    }
    else if ((hoverOff && !mFlags[kFlagCapture]) || (captureOff && !mFlags[kFlagHover]))
    {
        window->SetCursor(mSavedCursor);
    }
}

void LControl::SetHighlighted(bool highlighted)
{
    if (mFlags[kFlagHighlighted] != highlighted)
    {
        mFlags[kFlagHighlighted] = highlighted;
        UpdateConditions();
    }
}

bool LControl::IsEnabled(bool withAncestors) const
{
    for (const LControl* control = this; control != nullptr;
         control = withAncestors ? control->mParent.Get() : nullptr)
    {
        if (control->mLayout && !control->mLayout->enabled)
        {
            return false;
        }
    }
    return true;
}

bool LControl::IsShowing(bool withAncestors) const
{
    for (const LControl* control = this; control != nullptr;
         control = withAncestors ? control->mParent.Get() : nullptr)
    {
        const bool shown = !control->mLayout || control->mLayout->shown;
        if (!shown || !(control->mSize.x > 0.0) || !(control->mSize.y > 0.0))
        {
            return false;
        }
    }
    return true;
}

// Showing, enabled with its ancestors: the control can be pressed and focused.
bool LControl::IsReachable() const
{
    return IsShowing(true) && IsEnabled(true);
}

void LControl::SetEnabled(bool enabled)
{
    if (!mLayout || mLayout->enabled == enabled)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    mLayout->enabled = enabled;
    if (!enabled && (HasFocus() || ContainsFocus()) && mParent)
    {
        const RCPtr<LControl> parent = mParent;
        parent->SetFocus(true);
    }
    if ((IsFocusable() || HasFocusableDescendant()) && mParent && mParent->HasFocus())
    {
        SetFocus(true);
    }
    UpdateConditions();
    InvalidateAll();
    InvalidateSeparatelyPainted();
}

bool LControl::SetShown(bool shown)
{
    if (mLayout && mLayout->shown != shown)
    {
        const RCPtr<LControl> self(this);
        if (!shown)
        {
            InvalidateAll();
            InvalidateSeparatelyPainted();
        }
        mLayout->shown = shown;
        if (shown)
        {
            if ((IsFocusable() || HasFocusableDescendant()) && mParent && mParent->HasFocus())
            {
                SetFocus(true);
            }
            InvalidateAll();
            InvalidateSeparatelyPainted();
        }
        if (!shown && (HasFocus() || ContainsFocus()) && mParent)
        {
            const RCPtr<LControl> parent = mParent;
            parent->SetFocus(true);
        }
        UpdateConditions();
    }
    return IsShowing(true);
}

// ---- focusability ----

bool LControl::IsNotFocusableInChain(bool withAncestors) const
{
    for (const LControl* control = this; control != nullptr; control = control->mParent.Get())
    {
        if (control->mNotFocusable)
        {
            return true;
        }
        if (!withAncestors || control->mFocusStop)
        {
            break;
        }
    }
    return false;
}

// The control itself may take the focus: it is focusable and no ancestor up to a stop forbids it.
bool LControl::CanTakeFocusDirectly() const
{
    return !mNotFocusable && !(mParent && !mFocusStop && mParent->IsNotFocusableInChain(true));
}

bool LControl::HasFocusableDescendant() const
{
    if (!IsReachable() || mNotFocusable)
    {
        return false;
    }
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildren.GetAt(i, kStorageOrder);
        if (child->IsFocusable() || child->HasFocusableDescendant())
        {
            return true;
        }
    }
    return false;
}

bool LControl::IsFocusable() const
{
    return IsReachable() && !HasFocusableDescendant() && CanTakeFocusDirectly();
}

const RCPtr<LControl>& LControl::GetFocusedChild() const
{
    static const RCPtr<LControl> none;
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& child = mChildren.GetAt(i, kStorageOrder);
        if (child->HasFocus() || child->ContainsFocus())
        {
            return child;
        }
    }
    return none;
}

const RCPtr<LControl>& LControl::FindFocusableInTabOrder(bool forward) const
{
    static const RCPtr<LControl> none;
    const std::uint32_t count = mChildren.GetCount();
    for (std::uint32_t step = 0; step < count; ++step)
    {
        const RCPtr<LControl>& child =
            mChildren.GetAt(forward ? step : count - 1 - step, kTabOrder);
        if (child->IsFocusable() || child->HasFocusableDescendant())
        {
            return child;
        }
    }
    return none;
}

const RCPtr<LControl>& LControl::GetFirstFocusable() const
{
    return FindFocusableInTabOrder(true);
}

const RCPtr<LControl>& LControl::GetLastFocusable() const
{
    return FindFocusableInTabOrder(false);
}

// ---- moving the focus ----

QZRESULT LControl::SetFocus(bool forward)
{
    const RCPtr<LControl> self(this);
    RCPtr<LRootWindow> window;
    GetRootWindowRef(window);
    if (!HasFocus() && window && window->GetFocusedControl() &&
        !window->GetFocusedControl()->CanReleaseFocus())
    {
        return E_FAIL;
    }
    const bool focusable = IsFocusable();
    if (HasFocus() && focusable)
    {
        return S_OK;
    }
    if (HasFocusableDescendant())
    {
        if (ContainsFocus())
        {
            const RCPtr<LControl> focused = GetFocusedChild();
            if (!focused)
            {
                return E_FAIL;
            }
            if (focused->IsFocusable() || focused->HasFocusableDescendant())
            {
                return focused->SetFocus(forward);
            }
        }
        const RCPtr<LControl> next = forward ? GetFirstFocusable() : GetLastFocusable();
        return next ? next->SetFocus(forward) : E_FAIL;
    }
    if (focusable)
    {
        QZRESULT result = S_OK;
        if (ContainsFocus())
        {
            mFlags[kFlagHasFocus] = true;
            mFlags[kFlagContainsFocus] = false;
            const RCPtr<LControl> focused = GetFocusedChild();
            result = focused ? (focused->KillFocus() ? S_OK : E_FAIL) : E_FAIL;
        }
        else
        {
            mFlags[kFlagHasFocus] = true;
            if (mParent)
            {
                const RCPtr<LControl> parent = mParent;
                result = Failed(parent->OnDescendantFocused(self)) ? E_FAIL : S_OK;
            }
        }
        if (window)
        {
            window->SetFocusedControl(self);
        }
        UpdateConditions();
        return result;
    }
    // Nothing here can take the focus: the tree's top takes it back, once. A control that left
    // the focus path meanwhile must not send the request round again (it would never end).
    RCPtr<LControl> top;
    GetRootControl(top);
    if (HasFocus() || top.Get() == this || mRefocusing)
    {
        return E_FAIL;
    }
    if (!top->HasFocus() && !top->ContainsFocus())
    {
        return S_FALSE;
    }
    mRefocusing = true;
    const QZRESULT result = top->SetFocus(true);
    mRefocusing = false;
    return result;
}

QZRESULT LControl::OnDescendantFocused(const RCPtr<LControl>& child)
{
    const RCPtr<LControl> self(this);
    if (ContainsFocus())
    {
        for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
        {
            const RCPtr<LControl> other = mChildren.GetAt(i, kStorageOrder);
            if (other != child && (other->HasFocus() || other->ContainsFocus()))
            {
                return other->KillFocus() ? S_FALSE : S_OK;
            }
        }
        return S_OK;
    }
    mFlags[kFlagContainsFocus] = true;
    if (HasFocus())
    {
        mFlags[kFlagHasFocus] = false;
        UpdateConditions();
        return S_FALSE;
    }
    if (mParent)
    {
        const RCPtr<LControl> parent = mParent;
        parent->OnDescendantFocused(self);
    }
    UpdateConditions();
    return S_FALSE;
}

QZRESULT LControl::KillFocus()
{
    const RCPtr<LControl> self(this);
    if (HasFocus())
    {
        mFlags[kFlagHasFocus] = false;
        UpdateConditions();
        RCPtr<LRootWindow> window;
        if (GetRootWindowRef(window))
        {
            window->ClearFocus();
        }
        return true;
    }
    mFlags[kFlagContainsFocus] = false;
    const RCPtr<LControl> focused = GetFocusedChild();
    const QZRESULT result = focused ? (focused->KillFocus() ? S_OK : E_FAIL) : E_FAIL;
    UpdateConditions();
    return Succeeded(result);
}

// ---- capture and press ----

QZRESULT LControl::ReleaseCapture()
{
    if (!mFlags[kFlagCapture])
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    for (std::uint32_t flag = kFlagCapture; flag < kFlagHighlighted; ++flag)
    {
        mFlags[flag] = false;
    }
    RCPtr<LRootWindow> window;
    const QZRESULT result = GetRootWindowRef(window) ? window->ReleaseCapture() : S_OK;
    UpdateConditions();
    return result;
}

QZRESULT LControl::OnMouseButtonDown(std::uint32_t button, std::int32_t x, std::int32_t y)
{
    if (!IsReachable() || mFlags[kFlagCapture])
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    RCPtr<LRootWindow> window;
    GetRootWindowRef(window);
    const std::uint32_t slot = ButtonSlot(button);
    if (button != 0)
    {
        const std::uint32_t held = window ? window->GetMouseButtons() : 0;
        if (slot > 2 || (held & button) == 0)
        {
            return S_FALSE;
        }
        mDragOffset = {x + mPosition.x, y + mPosition.y};
        mDragDelta = {};
    }
    StopAutoScroll(0);
    StopAutoScroll(1);
    mFlags[kFlagCapture] = true;
    mReleaseTime = GetApplicationMilliseconds();
    if (window)
    {
        window->SetCapture(self);
    }
    if (slot > 2)
    {
        UpdateConditions();
        return S_OK;
    }
    mFlags[kFlagLeftPressed + slot] = true;
    if (slot == 0)
    {
        mDragMode = 0;
        if (mIdleWhilePressed)
        {
            RequestIdle();
        }
    }
    UpdateConditions();
    const bool scrolling = mAutoScroll[0].running || mAutoScroll[1].running;
    if (mDragThreshold != 0 && (!scrolling || slot != 0))
    {
        return S_OK;
    }
    MovePressToDrag(slot);
    if (mFlags[kFlagLeftDrag] && mDragMode != 0)
    {
        TrackDrag(LPointParam::Create(x, y));
    }
    return S_OK;
}

void LControl::MovePressToDrag(std::uint32_t slot)
{
    mFlags[kFlagLeftPressed + slot] = false;
    mFlags[kFlagLeftDrag + slot] = true;
    UpdateConditions();
}

} // namespace QZ
