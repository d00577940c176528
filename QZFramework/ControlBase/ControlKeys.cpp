// LControl: create params, key routing, tab order, context menus built from string tables, menu
// hot keys and queued destruction.
#include "QZFramework/ControlBase/Control.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/ControlBase/MenuItemDescriptor.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/SiblingKeyParam.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <limits>
#include <map>
#include <string>

namespace QZ
{
namespace
{

constexpr std::uint32_t kTabKeyDown = KeyCode::kKeyDown | (9u << 16);
constexpr std::uint32_t kVirtualKeyMask = 0x00FF0000;
constexpr std::uint32_t kCharacterFlag = 0x80000000;
const char16_t* const kContextMenuPrefix = u"CONTEXT_MENU";

bool IsTabKey(std::uint32_t key)
{
    return (key & kCharacterFlag) == 0 && (key & KeyCode::kKeyDown) != 0 &&
           (key & kVirtualKeyMask) == (kTabKeyDown & kVirtualKeyMask);
}

bool IsTrueText(const WideString& text)
{
    return XmlValues::IsTrue(text.ToNarrowString().GetString());
}

// Leading blanks skipped, the longest decimal prefix converted, whatever the locale; 0.0 when
// there is none or it is not finite.
double ToDouble(const WideString& text)
{
    double value = 0.0;
    return XmlValues::ReadNumber(text.ToNarrowString().GetString(),
                                 std::numeric_limits<double>::max(), value)
               ? value
               : 0.0;
}

RCPtr<LGlobalHotKeyManager> GetWindowHotKeys(const LControl& control)
{
    RCPtr<LRootWindow> window;
    control.GetRootWindowRef(window);
    return window ? window->GetHotKeyManager() : RCPtr<LGlobalHotKeyManager>();
}

RCPtr<LGlobalHotKeyManager> GetApplicationHotKeys()
{
    IApplicationShell* shell = GetApplicationShell();
    return shell != nullptr ? shell->GetGlobalHotKeyManager() : RCPtr<LGlobalHotKeyManager>();
}

void PostToApplication(const char16_t* command)
{
    const RCPtr<LNotificationCenter> centre = GetApplicationNotificationCenter();
    RCPtr<LNotificationReceiver> receiver;
    if (centre)
    {
        centre->GetPostingReceiver(receiver);
    }
    LControl::SendNotificationTo(receiver, command);
}

// The entries after the prefix, which is cut from their keys.
LStringEntries WithoutPrefix(const LStringTable& table, const std::u16string& prefix)
{
    LStringEntries entries;
    table.GetEntriesWithPrefix(prefix.c_str(), entries);
    for (LStringEntry& entry : entries)
    {
        entry.key = entry.key.Mid(static_cast<std::int32_t>(prefix.size()));
    }
    return entries;
}

} // namespace

IApplicationShell* GetApplicationShell()
{
    return dynamic_cast<IApplicationShell*>(LApplicationBase::GetApplication());
}

// ---- create params ----

QZRESULT LControl::ApplyCreateParams()
{
    const RCPtr<LStringTable> params = mDescriptor ? mDescriptor->createParams : nullptr;
    const bool noTabStop = mLayout && mLayout->tabStop < 0;
    if (!params)
    {
        SetNotFocusable(noTabStop);
        return S_OK;
    }
    WideString text;
    if (params->Lookup(u"INITIAL_VALUE", text))
    {
        SetValue(ToDouble(text));
    }
    text.Clear();
    SetNotFocusable(params->Lookup(u"NOT_FOCUSABLE", text) ? IsTrueText(text) : noTabStop);
    text.Clear();
    if (params->Lookup(u"USE_PARENT_TOOLTIP", text))
    {
        mUseParentToolTip = IsTrueText(text);
    }
    text.Clear();
    if (params->Lookup(u"WANTS_TAB", text))
    {
        mWantsTab = IsTrueText(text);
    }
    return S_OK;
}

void LControl::GetLocalHotKeys(const WideString& command, std::vector<KeyCode>& keys) const
{
    mLocalHotKeys.CopyKeys(command, keys);
}

bool LControl::HasLocalHotKey(const WideString& command) const
{
    return mLocalHotKeys.HasCommand(command);
}

// ---- key routing ----

QZRESULT LControl::NotifyKey(const RCPtr<LKeyParam>& key)
{
    if (!key || !IsShowing(true) || !IsEnabled(false) || (mParent && !mParent->IsEnabled(true)))
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    // The control's own local hot keys see the key first.
    const RCPtr<LSiblingKeyParam> sibling = LSiblingKeyParam::Create(key->GetKeyCode(), self);
    SendNotificationTo(RCPtr<LNotificationReceiver>(this), NID_SIBLING_KEY,
                       RCPtr<LRefCountedObject>(sibling));
    if (sibling->GetPosition() == 0 || OnKeyEvent(key) != S_FALSE)
    {
        return S_OK;
    }
    key->GetControls().push_back(self);
    if (!IsTabKey(key->GetKey()))
    {
        if (mParent)
        {
            return mParent->ProcessKey(key);
        }
        ForwardKeyToHotKeys(key);
        return S_OK;
    }
    if (mWantsTab)
    {
        return S_FALSE;
    }
    if (mParent)
    {
        mParent->TraverseFocus(key);
    }
    else if (RCPtr<LRootWindow> window; GetRootWindowRef(window))
    {
        window->OnTabTraversalEnd((key->GetKey() & KeyCode::kShift) == 0);
    }
    return S_OK;
}

QZRESULT LControl::OnSiblingKey(const RCPtr<LNotificationDistributor>&,
                                const RCPtr<LNotification>& notification)
{
    const RCPtr<LSiblingKeyParam> request =
        notification ? RCPtr<LSiblingKeyParam>::DynamicCastFrom(notification->GetPayload())
                     : RCPtr<LSiblingKeyParam>();
    if (!request || !IsShowing(true) || !IsEnabled(false) || (mParent && !mParent->IsEnabled(true)))
    {
        return S_FALSE;
    }
    const WideString command = mLocalHotKeys.FindCommand(request->GetKey());
    if (!command.IsEmpty())
    {
        request->SetPosition(0);
        SendNotificationTo(RCPtr<LNotificationReceiver>(this), command.GetString(),
                           RCPtr<LRefCountedObject>(request));
    }
    return S_FALSE;
}

QZRESULT LControl::ProcessKey(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return E_INVALIDARG;
    }
    if (SendSiblingKey(key) != S_FALSE)
    {
        return S_OK;
    }
    return ForwardKeyToHotKeys(key);
}

QZRESULT LControl::ForwardKeyToHotKeys(const RCPtr<LKeyParam>& key)
{
    const KeyCode code = key->GetKeyCode();
    const RCPtr<LGlobalHotKeyManager> window = GetWindowHotKeys(*this);
    if (window && window->ProcessKey(code) != S_FALSE)
    {
        return S_OK;
    }
    const RCPtr<LGlobalHotKeyManager> application = GetApplicationHotKeys();
    return application ? application->ProcessKey(code) : S_FALSE;
}

// ---- tab order ----

const RCPtr<LControl>& LControl::GetNextTabStop(const RCPtr<LControl>& current,
                                                bool backwards) const
{
    static const RCPtr<LControl> none;
    if (!current || current->mParent.Get() != this)
    {
        return none;
    }
    const std::int32_t count = static_cast<std::int32_t>(mChildren.GetCount());
    const std::int32_t k = GetTabIndex(current.Get());
    if (k < 0)
    {
        return none;
    }
    const std::int32_t step = backwards ? count - 1 : 1;
    if (count == 1)
    {
        return current->IsTabStop() ? current : none;
    }
    for (std::int32_t i = (k + step) % count; i != k; i = (i + step) % count)
    {
        const RCPtr<LControl>& child = mChildren.GetAt(static_cast<std::uint32_t>(i), kTabOrder);
        if (child->IsTabStop())
        {
            return child;
        }
    }
    return none;
}

bool LControl::HasWrapped(const RCPtr<LControl>& candidate, const RCPtr<LControl>& last,
                          bool backwards) const
{
    const std::int32_t to = GetTabIndex(candidate.Get());
    const std::int32_t from = GetTabIndex(last.Get());
    return backwards ? to >= from : to <= from;
}

void LControl::HandOnTraversal(const RCPtr<LKeyParam>& request, bool forward)
{
    if (mParent)
    {
        mParent->TraverseFocus(request);
    }
    else if (RCPtr<LRootWindow> window; GetRootWindowRef(window))
    {
        window->OnTabTraversalEnd(forward);
    }
}

LControl::TabWalk LControl::WalkTabStops(const RCPtr<LKeyParam>& request, bool wrapTest)
{
    const bool backwards = (request->GetKey() & KeyCode::kShift) != 0;
    const std::vector<RCPtr<LControl>>& passed = request->GetControls();
    RCPtr<LControl> last = passed.empty() ? RCPtr<LControl>() : passed.back();
    RCPtr<LControl> candidate = GetNextTabStop(last, backwards);
    // Every step moves on by one tab position, so the count of children bounds the walk.
    for (std::uint32_t steps = 0; candidate && candidate != last && steps <= mChildren.GetCount();
         ++steps)
    {
        if (wrapTest && HasWrapped(candidate, last, backwards))
        {
            return TabWalk::kWrapped;
        }
        if (candidate->IsFocusable() || candidate->HasFocusableDescendant())
        {
            candidate->SetFocus(!backwards);
            return TabWalk::kFocused;
        }
        if (!candidate->IsTabStop())
        {
            last = candidate;
        }
        candidate = GetNextTabStop(candidate, backwards);
    }
    return TabWalk::kExhausted;
}

void LControl::TraverseFocus(const RCPtr<LKeyParam>& request)
{
    if (!request)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    const bool backwards = (request->GetKey() & KeyCode::kShift) != 0;
    if ((request->GetKey() & KeyCode::kCtrl) != 0)
    {
        // Ctrl+Tab leaves this container: a plain Tab continues after it in the parent.
        const RCPtr<LKeyParam> tab =
            LKeyParam::Create({kTabKeyDown | (backwards ? KeyCode::kShift : 0u), 0, 0}, false);
        tab->GetControls().push_back(self);
        HandOnTraversal(tab, !backwards);
        return;
    }
    // A request from the window wraps around inside the top container only; every container
    // below it is left at either end, so that Tab walks the whole window in one loop.
    const bool wraps = !mParent && request->IsFromSource();
    if (WalkTabStops(request, !wraps) != TabWalk::kFocused && !wraps)
    {
        request->GetControls().push_back(self);
        HandOnTraversal(request, !backwards);
    }
}

// ---- context menus and menu hot keys ----

QZRESULT LControl::BuildContextMenu(std::vector<RCPtr<LMenuDescriptor>>& menus) const
{
    const RCPtr<LStringTable> table = GetStringTable();
    if (!table)
    {
        return S_OK;
    }
    const std::u16string prefix(kContextMenuPrefix);
    LStringEntries single = WithoutPrefix(*table, prefix + u".");
    if (!single.empty())
    {
        RCPtr<LMenuDescriptor> menu;
        LMenuDescriptor::BuildFromStringEntries(menu, single);
        menus.push_back(menu);
        return S_OK;
    }
    LStringEntries all;
    table->GetEntriesWithPrefix(kContextMenuPrefix, all);
    // Group names in key order, each once.
    std::map<std::u16string, bool> groups;
    for (const LStringEntry& entry : all)
    {
        const std::u16string key(entry.key.GetString());
        const std::size_t dot = key.find(u'.');
        if (dot != std::u16string::npos)
        {
            groups.emplace(key.substr(0, dot), true);
        }
    }
    for (const auto& group : groups)
    {
        RCPtr<LMenuDescriptor> menu;
        LMenuDescriptor::BuildFromStringEntries(menu, WithoutPrefix(*table, group.first + u"."));
        menus.push_back(menu);
    }
    return S_OK;
}

QZRESULT LControl::RegisterMenuHotKeys(const RCPtr<LMenuDescriptor>& menu, bool add)
{
    if (!menu || !mNotificationHandler)
    {
        return E_INVALIDARG;
    }
    const RCPtr<LGlobalHotKeyManager> window = GetWindowHotKeys(*this);
    const RCPtr<LGlobalHotKeyManager> application = GetApplicationHotKeys();
    for (std::int32_t i = 0; i < menu->GetItemCount(); ++i)
    {
        const RCPtr<LMenuItemDescriptor> item = menu->GetItemAt(i);
        if (item->HasSubmenu())
        {
            RegisterMenuHotKeys(RCPtr<LMenuDescriptor>(item), add);
            continue;
        }
        const WideString& command = item->GetCommand();
        const bool bound = (window && window->GetHotKeyMap().HasCommand(command)) ||
                           (application && application->GetHotKeyMap().HasCommand(command));
        if (!bound)
        {
            continue;
        }
        if (add)
        {
            mNotificationHandler->AddHandlerAnyDistributor(&LControl::ForwardMenuCommand,
                                                           command.GetString());
        }
        else
        {
            mNotificationHandler->RemoveHandler(RCPtr<LNotificationDistributor>(),
                                                command.GetString());
        }
    }
    return S_OK;
}

QZRESULT LControl::ForwardMenuCommand(const RCPtr<LNotificationDistributor>&,
                                      const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return S_FALSE;
    }
    const char16_t* command = notification->GetID();
    const RCPtr<LGlobalHotKeyManager> window = GetWindowHotKeys(*this);
    if (window && window->GetHotKeyMap().HasCommand(WideString(command)))
    {
        SendNotificationTo(window->GetTarget(), command);
    }
    else
    {
        PostToApplication(command);
    }
    return S_FALSE;
}

const RCPtr<LMenuItemUpdater>& LControl::GetMenuItemUpdater()
{
    if (!mMenuItemUpdater)
    {
        mMenuItemUpdater = new LMenuItemUpdater(RCPtr<LControl>(this));
        AdjustCyclicRefCount(1);
    }
    return mMenuItemUpdater;
}

// ---- queued destruction ----

QZRESULT LControl::QueueDestroy(const RCPtr<LControl>& control)
{
    if (!control)
    {
        return E_INVALIDARG;
    }
    mPendingDestroy.push_back(control);
    if (mPendingDestroy.size() == 1)
    {
        RequestIdle();
    }
    return S_OK;
}

QZRESULT LControl::DestroyQueuedControls(const RCPtr<LNotificationDistributor>&,
                                         const RCPtr<LNotification>&)
{
    const RCPtr<LControl> self(this);
    // A control destroyed here may queue another; that one waits for the next idle step.
    std::vector<RCPtr<LControl>> queued;
    queued.swap(mPendingDestroy);
    for (const RCPtr<LControl>& control : queued)
    {
        control->Destroy();
    }
    if (mPendingDestroy.empty())
    {
        ReleaseIdle();
    }
    return S_OK;
}

} // namespace QZ
