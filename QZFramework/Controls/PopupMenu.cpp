#include "QZFramework/Controls/PopupMenu.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/Look.h"
#include "QZFramework/ControlBase/MenuItemDescriptor.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/ComboMenu.h"
#include "QZFramework/Controls/KeyNames.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/MenuActivationParam.h"
#include "QZFramework/Controls/MenuListBoxItem.h"
#include "QZFramework/Notification/ConditionsParam.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace QZ
{
namespace
{

constexpr QZRESULT kNotImplemented = static_cast<QZRESULT>(0x80004001u);
constexpr std::uint32_t kVkEscape = 0x1B;
constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkRight = 0x27;
// Room between an item's text and its hot-key text.
constexpr std::int32_t kTextGap = 20;
constexpr std::uint32_t kFocusBits = LControl::kHasFocus | LControl::kContainsFocus;
// Check-box looks: unchecked, checked, checked on a hovered row.
constexpr std::uint32_t kCheckLookOff = 0;
constexpr std::uint32_t kCheckLookOn = 7;
constexpr std::uint32_t kCheckLookOnHover = 8;
const WideString kSubmenuName(u"submenu");

std::uint32_t Now()
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetTimeMilliseconds() : 0;
}

// The text's width in the control's font, measured by the window the control is in.
double MeasureWidth(const WideString& text, const LControl* control)
{
    RCPtr<LRootWindow> window;
    if (control == nullptr || text.IsEmpty() || !control->GetRootWindowRef(window) ||
        !window->GetMeasurementRenderer())
    {
        return 0.0;
    }
    return window->GetMeasurementRenderer()
        ->MeasureText(text, ConstRCPtr<LFont>(control->GetFont()))
        .width;
}

// Moves the control so that its top-left corner lies at the point (root coordinates), whatever
// its position rules refer to: the rules are linear in their absolute part.
void MoveToRootPoint(LControl& control, const PointT<double>& target, bool dock)
{
    const RCPtr<LLayoutDescriptor>& layout = control.GetLayout();
    if (!layout)
    {
        return;
    }
    LLayoutDescriptor::PositionSpec position[2];
    LLayoutDescriptor::SizeSpec size[2];
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        layout->GetAxisSpec(axis, position[axis], size[axis]);
        position[axis].relative = 0.0f;
        position[axis].absolute = 0.0;
        position[axis].docked = position[axis].docked || dock;
        control.SetAxisLayout(axis, position[axis], size[axis]);
    }
    const PointT<double> origin = control.GetPositionInRoot();
    position[0].absolute = target.x - origin.x;
    position[1].absolute = target.y - origin.y;
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        control.SetAxisLayout(axis, position[axis], size[axis]);
    }
}

} // namespace

LPopupMenu::LPopupMenu(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LCheckedListBox(parent, name, mostDerived)
{
}

LPopupMenu::~LPopupMenu() = default;

void LPopupMenu::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LCheckedListBox::ReceiveNotification(sender, notification);
}

QZRESULT LPopupMenu::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                 const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LCheckedListBox::Unsubscribe(distributor, identifier);
}

QZRESULT LPopupMenu::ReleaseInternalReferences()
{
    mSubmenu = nullptr;
    mSubmenuItem = nullptr;
    mGivenMenu = nullptr;
    mMenu = nullptr;
    mTarget = nullptr;
    mUpdater = nullptr;
    return LCheckedListBox::ReleaseInternalReferences();
}

// ---- status text ----

void LPopupMenu::OnItemControlCreated(const RCPtr<LListBoxItem>& row)
{
    LCheckedListBox::OnItemControlCreated(row);
    if (!mHandler)
    {
        mHandler = new LNotificationHandler<LPopupMenu>(this);
    }
    mHandler->AddHandler(&LPopupMenu::OnItemHoverChange, RCPtr<LNotificationDistributor>(row),
                         NID_HOVER_CONDITION_CHANGE, 0);
}

QZRESULT LPopupMenu::OnItemHoverChange(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification)
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    const auto conditions = RCPtr<LConditionsParam>::DynamicCastFrom(notification->GetPayload());
    if (application == nullptr || !conditions)
    {
        return S_FALSE;
    }
    if ((conditions->GetConditions() & kHover) == 0)
    {
        static_cast<void>(application->ResetStatusText(false));
        return S_FALSE;
    }
    const std::vector<RCPtr<LListBoxItem>>& rows = GetRowControls();
    const auto row =
        std::find_if(rows.begin(), rows.end(),
                     [&](const RCPtr<LListBoxItem>& each) {
                         return static_cast<LNotificationDistributor*>(each.Get()) == sender.Get();
                     });
    const RCPtr<LMenuItemDescriptor> item =
        row == rows.end()
            ? RCPtr<LMenuItemDescriptor>()
            : GetMenuItem(GetFirstRowShown() + static_cast<std::int32_t>(row - rows.begin()));
    if (item && !item->GetStatusText().IsEmpty())
    {
        static_cast<void>(application->SetStatusText(item->GetStatusText(), false));
    }
    return S_FALSE;
}

// ---- creation ----

bool LPopupMenu::HasRowTemplate() const
{
    const ConstRCPtr<LControlDescriptor>& descriptor = GetDescriptor();
    if (!descriptor)
    {
        return false;
    }
    return std::any_of(descriptor->subControls.begin(), descriptor->subControls.end(),
                       [](const RCPtr<LControlDescriptor>& sub)
                       { return sub && sub->name == u"item" && IsCreationDeferred(sub); });
}

QZRESULT LPopupMenu::Initialize()
{
    if (Failed(LCheckedListBox::Initialize()) || !HasRowTemplate())
    {
        return E_FAIL;
    }
    ApplySizeLimits();
    // A popup takes the keyboard whatever its owner allows.
    SetFocusInheritanceStop(true);
    SetNotFocusable(false);
    SetHoverSelect(true);
    SetCheckBoxesIgnoreMouse(true);
    const RCPtr<LStringTable> table = GetStringTable();
    if (!table)
    {
        return S_FALSE;
    }
    LStringEntries entries;
    table->GetAllEntries(entries);
    RCPtr<LMenuDescriptor> menu;
    LMenuDescriptor::BuildFromStringEntries(menu, entries);
    return SetMenu(menu);
}

QZRESULT LPopupMenu::PostInitialize()
{
    SetClipToParent(false);
    SetShown(false);
    ApplySizeLimits();
    return LCheckedListBox::PostInitialize();
}

QZRESULT LPopupMenu::ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    const QZRESULT result = LCheckedListBox::ApplyDescriptor(descriptor);
    if (Succeeded(result) && mMenu)
    {
        ClearSelection();
        Rebuild();
    }
    return result;
}

bool LPopupMenu::SetShown(bool shown)
{
    const bool hadRows = !GetRowControls().empty();
    const bool result = LCheckedListBox::SetShown(shown);
    if (shown && !hadRows && !GetRowControls().empty())
    {
        Rebuild();
    }
    return result;
}

// Limits the skin leaves open: no narrower than the skin's width, no lower than one row.
void LPopupMenu::ApplySizeLimits()
{
    for (std::uint32_t axis = 0; axis < 2 && GetLayout(); ++axis)
    {
        LLayoutDescriptor::LimitSpec minimum;
        LLayoutDescriptor::LimitSpec maximum;
        GetLayout()->GetAxisLimits(axis, minimum, maximum);
        if (minimum.absolute != 0.0 && maximum.absolute != 0.0)
        {
            continue;
        }
        if (axis == 0 && minimum.absolute == 0.0)
        {
            minimum.absolute = GetSize().x;
        }
        if (axis == 1)
        {
            minimum.absolute = GetRowHeight();
            minimum.relative = 0.0f;
        }
        SetAxisSizeLimits(axis, minimum, maximum);
    }
    mTextLeft = -1;
}

// ---- menu, target and hot-key texts ----

QZRESULT LPopupMenu::SetMenu(const RCPtr<LMenuDescriptor>& menu)
{
    if (!menu)
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    CloseSubmenu();
    mGivenMenu = menu->Clone();
    mMenu = mGivenMenu->Clone();
    ResolveHotKeyTexts(mMenu);
    return Rebuild();
}

QZRESULT LPopupMenu::SetNotifyTarget(const RCPtr<LNotificationReceiver>& target)
{
    if (!target)
    {
        return E_INVALIDARG;
    }
    if (mTarget)
    {
        return E_FAIL;
    }
    mTarget = target;
    if (mMenu)
    {
        // Texts looked up for the former target give way to the new target's bindings.
        if (mGivenMenu)
        {
            CloseSubmenu();
            mMenu = mGivenMenu->Clone();
        }
        ResolveHotKeyTexts(mMenu);
        Rebuild();
    }
    return S_OK;
}

LPopupMenu* LPopupMenu::GetParentPopup() const
{
    return dynamic_cast<LPopupMenu*>(GetParent().Get());
}

RCPtr<LNotificationReceiver> LPopupMenu::GetTarget() const
{
    if (mTarget)
    {
        return mTarget;
    }
    RCPtr<LControl> owner = GetParent();
    while (owner && dynamic_cast<LPopupMenu*>(owner.Get()) != nullptr)
    {
        owner = owner->GetParent();
    }
    return RCPtr<LNotificationReceiver>(owner);
}

QZRESULT LPopupMenu::ResolveHotKeyTexts(const RCPtr<LMenuDescriptor>& menu)
{
    const RCPtr<LNotificationReceiver> target = GetTarget();
    RCPtr<LRootWindow> window;
    GetRootWindowRef(window);
    if (!menu || !target || (mTarget && !window))
    {
        return E_FAIL;
    }
    // Where bindings are looked up: the owner's own keys when commands go to the owner, the
    // window's when they go to the window (or to the owner), and always the application's.
    const LControl* owner = mTarget ? nullptr : dynamic_cast<const LControl*>(target.Get());
    std::vector<RCPtr<LGlobalHotKeyManager>> managers;
    const RCPtr<LGlobalHotKeyManager> windowKeys =
        window ? window->GetHotKeyManager() : RCPtr<LGlobalHotKeyManager>();
    if (windowKeys && (!mTarget || windowKeys->GetTarget() == mTarget))
    {
        managers.push_back(windowKeys);
    }
    if (const IApplicationShell* shell = GetApplicationShell())
    {
        if (const RCPtr<LGlobalHotKeyManager> global = shell->GetGlobalHotKeyManager())
        {
            managers.push_back(global);
        }
    }
    const auto fill = [&](const auto& self, const LMenuDescriptor& level) -> void
    {
        for (std::int32_t i = 0; i < level.GetItemCount(); ++i)
        {
            const RCPtr<LMenuItemDescriptor> item = level.GetItemAt(i);
            if (item->HasSubmenu())
            {
                self(self, *item);
                continue;
            }
            if (!item->GetHotKeyText().IsEmpty() || item->GetCommand().IsEmpty())
            {
                continue;
            }
            std::vector<KeyCode> keys;
            if (owner != nullptr)
            {
                owner->GetLocalHotKeys(item->GetCommand(), keys);
            }
            for (std::size_t m = 0; keys.empty() && m < managers.size(); ++m)
            {
                managers[m]->GetHotKeyMap().CopyKeys(item->GetCommand(), keys);
            }
            if (!keys.empty())
            {
                item->SetHotKeyText(KeyNames::FormatKeyCode(keys.front().key));
            }
        }
    };
    fill(fill, *menu);
    return S_OK;
}

// ---- rows ----

RCPtr<LMenuItemDescriptor> LPopupMenu::GetMenuItem(std::int32_t index) const
{
    return mMenu && index < GetItemCount() ? mMenu->GetItemAt(index) : RCPtr<LMenuItemDescriptor>();
}

bool LPopupMenu::HasSubmenu(std::int32_t index) const
{
    const RCPtr<LMenuItemDescriptor> item = GetMenuItem(index);
    return item && item->HasSubmenu();
}

QZRESULT LPopupMenu::Rebuild()
{
    if (!mMenu)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    const std::int32_t count = mMenu->GetItemCount();
    SetItemCount(count);
    if (GetRowControls().empty())
    {
        // Rows are made as the list grows tall enough to show them.
        FitHeight();
    }
    if (count == 0 || GetRowControls().empty())
    {
        return S_FALSE;
    }
    MeasureRow(*GetRowControls().back());
    mSeparatorCount = 0;
    mWidestItem = 0;
    mHotKeyWidening = 0;
    for (std::int32_t i = 0; i < count; ++i)
    {
        mHotKeyWidening = std::max(mHotKeyWidening, GetHotKeyOverrun(i));
    }
    for (std::int32_t i = 0; i < count; ++i)
    {
        const RCPtr<LMenuItemDescriptor> item = mMenu->GetItemAt(i);
        SetItem(i, RCPtr<LRefCountedObject>(item), 0.0, item->HasSubmenu(), item->IsSeparator());
        SetItemChecked(i, item->IsChecked());
        mSeparatorCount += item->IsSeparator() ? 1 : 0;
        mWidestItem = std::max(mWidestItem, GetItemWidth(i));
    }
    SetContentWidth(GetScrollBarExtent().x + mWidestItem);
    FitHeight();
    RefreshRowsFrom(0);
    return S_OK;
}

void LPopupMenu::MeasureRow(LListBoxItem& row)
{
    if (mTextLeft < 0)
    {
        const auto* menuRow = dynamic_cast<const LMenuListBoxItem*>(&row);
        const auto* checked = dynamic_cast<const LCheckedListBoxItem*>(&row);
        const RCPtr<LLook>& look = row.GetLook(LListBoxItem::kLookNormal);
        const RectT<double> text = look ? look->GetTextRect() : RectT<double>();
        const bool drawsText = text.width > 0.0;
        const RCPtr<LControl> box = checked != nullptr ? checked->GetCheckBox() : nullptr;
        mTextLeft = static_cast<std::int32_t>(drawsText ? text.x
                                              : box     ? box->GetPosition().x + box->GetSize().x
                                                        : 0.0);
        mRightRoom = drawsText ? static_cast<std::int32_t>(row.GetSize().x - text.GetRight()) : 0;
        mHotKeyTextRoom = 0;
        const RCPtr<LControl> label = menuRow != nullptr ? menuRow->GetHotKeyLabel() : nullptr;
        if (label && label->GetLayout())
        {
            // Measured as the skin lays the label out, before any widening.
            mHotKeyWidening = 0;
            WidenHotKeyLabel(*label);
            row.UpdateLayout();
            mRightRoom = static_cast<std::int32_t>(row.GetSize().x - label->GetPosition().x);
            const RCPtr<LLook>& labelLook = label->GetLook(0);
            const double labelText = labelLook ? labelLook->GetTextRect().width : 0.0;
            mHotKeyTextRoom =
                static_cast<std::int32_t>(labelText > 0.0 ? labelText : label->GetSize().x);
        }
    }
    mSeparatorHeight = row.GetSeparatorHeight();
}

// A label keeps its right edge where the skin puts it and grows to the left.
void LPopupMenu::WidenHotKeyLabel(LControl& label) const
{
    const ConstRCPtr<LControlDescriptor>& skin = label.GetDescriptor();
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    if (!skin || !skin->layout || Failed(skin->layout->GetAxisSpec(0, position, size)))
    {
        return;
    }
    position.absolute -= mHotKeyWidening;
    size.absolute += mHotKeyWidening;
    LLayoutDescriptor::PositionSpec currentPosition;
    LLayoutDescriptor::SizeSpec currentSize;
    if (label.GetLayout() &&
        Succeeded(label.GetLayout()->GetAxisSpec(0, currentPosition, currentSize)) &&
        !(currentPosition == position && currentSize == size))
    {
        label.SetAxisLayout(0, position, size);
    }
}

// The popup is as tall as its items; the skin's size limits bound it.
void LPopupMenu::FitHeight()
{
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    if (!GetLayout() || Failed(GetLayout()->GetAxisSpec(1, position, size)))
    {
        return;
    }
    const double frame = GetSize().y - GetLookClientRect(0).height;
    const LLayoutDescriptor::SizeSpec wanted{LLayoutDescriptor::kSibling, WideString(), 0.0f,
                                             GetContentHeight() + frame};
    if (!(size == wanted))
    {
        SetAxisLayout(1, position, wanted);
    }
}

std::int32_t LPopupMenu::GetItemWidth(std::int32_t index)
{
    const RCPtr<LMenuItemDescriptor> item = GetMenuItem(index);
    if (!item || GetRowControls().empty())
    {
        return 0;
    }
    const double text = MeasureWidth(item->GetText(), GetRowControls().back().Get());
    // The text ends a gap before the hot-key column, whose labels are widened for the widest hot
    // key: a text running under them would be hidden.
    return std::max(0, mTextLeft) + static_cast<std::int32_t>(std::ceil(text)) + kTextGap +
           mRightRoom + std::max(mHotKeyWidening, GetHotKeyOverrun(index));
}

std::int32_t LPopupMenu::GetHotKeyOverrun(std::int32_t index)
{
    const RCPtr<LMenuItemDescriptor> item = GetMenuItem(index);
    const auto* menuRow =
        GetRowControls().empty()
            ? nullptr
            : dynamic_cast<const LMenuListBoxItem*>(GetRowControls().back().Get());
    if (!item || menuRow == nullptr || !menuRow->GetHotKeyLabel())
    {
        return 0;
    }
    const double hotKey = MeasureWidth(item->GetHotKeyText(), menuRow->GetHotKeyLabel().Get());
    return std::max(0, static_cast<std::int32_t>(std::ceil(hotKey)) - mHotKeyTextRoom);
}

std::int32_t LPopupMenu::GetContentHeight() const
{
    const std::int32_t separatorHeight = mSeparatorHeight > 0 ? mSeparatorHeight : GetRowHeight();
    return (GetItemCount() - mSeparatorCount) * GetRowHeight() + mSeparatorCount * separatorHeight;
}

std::int32_t LPopupMenu::GetItemHeight(std::int32_t index) const
{
    const RCPtr<LMenuItemDescriptor> item = index >= 0 ? GetMenuItem(index) : nullptr;
    return item && item->IsSeparator() && mSeparatorHeight > 0 ? mSeparatorHeight : GetRowHeight();
}

bool LPopupMenu::IsItemSelectable(std::int32_t index) const
{
    const RCPtr<LMenuItemDescriptor> item = index >= 0 ? GetMenuItem(index) : nullptr;
    return item && item->IsEnabled() && !item->IsSeparator();
}

QZRESULT LPopupMenu::SwapItems(std::int32_t, std::int32_t)
{
    return kNotImplemented;
}

QZRESULT LPopupMenu::UpdateItemControl(std::int32_t row)
{
    const std::vector<RCPtr<LListBoxItem>>& rows = GetRowControls();
    if (row < 0 || row >= static_cast<std::int32_t>(rows.size()))
    {
        return S_FALSE;
    }
    const RCPtr<LListBoxItem> control = rows[static_cast<std::size_t>(row)];
    const auto* menuRow = dynamic_cast<const LMenuListBoxItem*>(control.Get());
    const RCPtr<LControl> label = menuRow != nullptr ? menuRow->GetHotKeyLabel() : nullptr;
    const RCPtr<LMenuItemDescriptor> item = GetMenuItem(GetFirstRowShown() + row);
    if (item)
    {
        control->SetSeparatorMode(item->IsSeparator());
    }
    LCheckedListBox::UpdateItemControl(row);
    if (label)
    {
        WidenHotKeyLabel(*label);
        label->SetText(item ? item->GetHotKeyText() : WideString(), false);
    }
    if (item)
    {
        if (!item->IsSeparator())
        {
            control->SetText(item->GetText(), false);
        }
        control->SetEnabled(item->IsEnabled());
        control->UpdateLook();
        const auto* checked = dynamic_cast<const LCheckedListBoxItem*>(control.Get());
        if (checked != nullptr && checked->GetCheckBox())
        {
            const std::uint32_t look = !item->IsChecked()     ? kCheckLookOff
                                       : control->IsHovered() ? kCheckLookOnHover
                                                              : kCheckLookOn;
            if (checked->GetCheckBox()->GetLook(look))
            {
                checked->GetCheckBox()->SetLookWeight(look, 1.0f, true);
            }
        }
    }
    else
    {
        control->SetEnabled(false);
        control->SelectLook(LListBoxItem::kLookNormal, true);
    }
    // The hot-key text's background follows the row's state.
    const RCPtr<LLook>& rowLook = control->GetCurrentLook();
    const std::int32_t labelLook = label ? label->GetFirstVisibleLookIndex() : -1;
    if (rowLook && labelLook >= 0)
    {
        label->SetLookVisualPart(static_cast<std::uint32_t>(labelLook),
                                 rowLook->GetMainVisualPart());
    }
    return S_OK;
}

// ---- item states ----

void LPopupMenu::UpdateItemStates()
{
    RCPtr<LMenuItemUpdater> updater = mUpdater;
    if (!updater)
    {
        if (auto* owner = dynamic_cast<LControl*>(GetTarget().Get()))
        {
            updater = owner->GetMenuItemUpdater();
        }
    }
    if (!updater || !mMenu)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    ClearSelection();
    for (std::int32_t i = mMenu->GetItemCount(); i-- > 0;)
    {
        const RCPtr<LMenuItemDescriptor> item = mMenu->GetItemAt(i);
        if (!item || item->HasSubmenu() || item->IsSeparator())
        {
            continue;
        }
        MenuItemState state;
        mMenu->GetItemInfo(i, state);
        updater->UpdateMenuItemState(mMenu, i, item->GetCommand(), state);
        ApplyItemInfo(i, state);
    }
}

void LPopupMenu::ApplyItemInfo(std::int32_t index, const MenuItemState& state)
{
    const RCPtr<LMenuItemDescriptor> item = GetMenuItem(index);
    if (!item || (state.enabled == item->IsEnabled() && state.checked == item->IsChecked() &&
                  state.text == item->GetText()))
    {
        return;
    }
    item->SetEnabled(state.enabled);
    item->SetChecked(state.checked);
    SetItemChecked(index, state.checked);
    if (state.text != item->GetText())
    {
        // A new text may need a wider popup.
        item->SetText(state.text);
        Rebuild();
    }
    UpdateItemControl(index - GetFirstRowShown());
}

// ---- submenus ----

void LPopupMenu::StartSubmenuTimer()
{
    mTimerStart = Now();
    if (!mTimerRunning)
    {
        mTimerRunning = true;
        RequestIdle();
    }
}

void LPopupMenu::StopSubmenuTimer()
{
    if (mTimerRunning)
    {
        mTimerRunning = false;
        ReleaseIdle();
    }
}

void LPopupMenu::OnIdleStep()
{
    LCheckedListBox::OnIdleStep();
    if (!mTimerRunning || Now() - mTimerStart <= kSubmenuDelayMs)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    CloseSubmenu();
    if (HasSubmenu(GetCurrentIndex()))
    {
        OpenSubmenu(GetCurrentIndex());
    }
}

void LPopupMenu::OnCurrentItemChanged(std::int32_t previous)
{
    LCheckedListBox::OnCurrentItemChanged(previous);
    const std::int32_t current = GetCurrentIndex();
    if (current < 0)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    if (LPopupMenu* parent = GetParentPopup())
    {
        parent->SelectOpenSubmenuItem();
    }
    if (!HasSubmenu(current))
    {
        if (mSubmenu)
        {
            StartSubmenuTimer();
        }
        return;
    }
    if (mSubmenu && GetMenuItem(current) == mSubmenuItem)
    {
        StopSubmenuTimer();
        return;
    }
    // Only the pointer resting on the row opens a submenu by time, never the keyboard.
    RCPtr<LRootWindow> window;
    const RCPtr<LListBoxItem> row = GetRowForItem(current);
    if (!row || !GetRootWindowRef(window))
    {
        return;
    }
    PointT<long> pointer;
    window->GetMousePosition(pointer);
    const PointT<double> origin = row->GetPositionInRoot();
    const PointT<double> size = row->GetSize();
    if (pointer.x >= origin.x && pointer.y >= origin.y && pointer.x < origin.x + size.x &&
        pointer.y < origin.y + size.y)
    {
        StartSubmenuTimer();
    }
}

void LPopupMenu::SelectOpenSubmenuItem()
{
    if (mSubmenuItem)
    {
        for (std::int32_t i = GetItemCount(); i-- > 0;)
        {
            if (GetMenuItem(i) == mSubmenuItem)
            {
                if (i != GetCurrentIndex())
                {
                    SelectRange(i);
                }
                break;
            }
        }
    }
    StopSubmenuTimer();
}

QZRESULT LPopupMenu::OpenSubmenu(std::int32_t index)
{
    if (!HasSubmenu(index))
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    CloseSubmenu();
    DestroyQueuedControls(RCPtr<LNotificationDistributor>(), RCPtr<LNotification>());
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    if (!factory || !GetDescriptor())
    {
        return E_FAIL;
    }
    RCPtr<LControlDescriptor> descriptor;
    LControlDescriptor::CloneWithName(descriptor, GetDescriptor(), kSubmenuName,
                                      GetDescriptor()->layout->Clone());
    RCPtr<LControl> control;
    factory->CreateControl(control, descriptor, self);
    const RCPtr<LPopupMenu> submenu = RCPtr<LPopupMenu>::DynamicCastFrom(control);
    if (!submenu)
    {
        if (control)
        {
            control->Destroy();
        }
        return E_FAIL;
    }
    mSubmenu = submenu;
    mSubmenuItem = GetMenuItem(index);
    submenu->mTarget = mTarget;
    submenu->mAutoClose = mAutoClose;
    submenu->mUpdater = mUpdater;
    submenu->SetSubmenuFromParentItem(index);
    PlaceSubmenu(index);
    submenu->SetShown(true);
    return S_OK;
}

QZRESULT LPopupMenu::SetSubmenuFromParentItem(std::int32_t index)
{
    const LPopupMenu* parent = GetParentPopup();
    if (parent == nullptr || !parent->HasSubmenu(index))
    {
        return E_INVALIDARG;
    }
    CloseSubmenu();
    // The submenu shares its item with the parent's copy of the menu.
    mMenu = RCPtr<LMenuDescriptor>(parent->GetMenuItem(index));
    ResolveHotKeyTexts(mMenu);
    return Rebuild();
}

// Beside the row, to the left when the window has no room on the right, moved up when it has
// none below.
void LPopupMenu::PlaceSubmenu(std::int32_t index)
{
    RCPtr<LRootWindow> window;
    const RCPtr<LListBoxItem> row = GetRowForItem(index);
    if (!row || !mSubmenu || !GetRootWindowRef(window))
    {
        return;
    }
    const PointT<long> client = window->GetClientSize();
    const PointT<double> popup = GetPositionInRoot();
    const PointT<double> rowOrigin = row->GetPositionInRoot();
    const PointT<double> size = mSubmenu->GetSize();
    const double right = std::trunc(rowOrigin.x - popup.x + row->GetSize().x);
    double x = right;
    if (size.x + x + popup.x > client.x)
    {
        x = -size.x;
    }
    if (popup.x + x < 0.0)
    {
        x = right;
    }
    double y = std::trunc(rowOrigin.y - popup.y);
    if (size.y + y + popup.y > client.y)
    {
        y = client.y - popup.y - size.y;
    }
    if (popup.y + y < 0.0)
    {
        y = 0.0;
    }
    MoveToRootPoint(*mSubmenu, PointT<double>(popup.x + x, popup.y + y), false);
}

void LPopupMenu::CloseSubmenu()
{
    StopSubmenuTimer();
    if (mSubmenu)
    {
        const RCPtr<LControl> self(this);
        const RCPtr<LPopupMenu> submenu = mSubmenu;
        mSubmenu = nullptr;
        // The focus coming back from the submenu must not close this popup.
        mClosingSubmenu = true;
        submenu->CloseSubmenu();
        QueueChildDestroy(RCPtr<LControl>(submenu));
        mClosingSubmenu = false;
    }
    mSubmenuItem = nullptr;
}

void LPopupMenu::OpenSubmenuWithFirstItem(std::int32_t index)
{
    if (Failed(OpenSubmenu(index)) || !mSubmenu)
    {
        return;
    }
    for (std::int32_t i = 0; i < mSubmenu->GetItemCount(); ++i)
    {
        if (mSubmenu->IsItemSelectable(i))
        {
            mSubmenu->SelectRange(i);
            break;
        }
    }
}

bool LPopupMenu::IsInOpenChain(const LPopupMenu* popup) const
{
    for (const LPopupMenu* open = mSubmenu.Get(); open != nullptr; open = open->mSubmenu.Get())
    {
        if (open == popup)
        {
            return true;
        }
    }
    for (const LPopupMenu* parent = GetParentPopup(); parent != nullptr;
         parent = parent->GetParentPopup())
    {
        if (parent == popup)
        {
            return true;
        }
    }
    return false;
}

// ---- choosing ----

void LPopupMenu::OnItemChosen(std::int32_t index)
{
    if (!IsItemSelectable(index))
    {
        return;
    }
    if (!HasSubmenu(index))
    {
        ActivateItem(index);
    }
    else if (GetMenuItem(index) != mSubmenuItem || !mSubmenu)
    {
        OpenSubmenuWithFirstItem(index);
    }
}

void LPopupMenu::ActivateItem(std::int32_t index)
{
    const RCPtr<LControl> self(this);
    const RCPtr<LMenuItemDescriptor> item = GetMenuItem(index);
    const RCPtr<LMenuDescriptor> menu = mMenu;
    for (RCPtr<LControl> ancestor = GetParent(); ancestor; ancestor = ancestor->GetParent())
    {
        if (auto* bar = dynamic_cast<LMainMenu*>(ancestor.Get()))
        {
            bar->ReturnFocus();
            break;
        }
    }
    if (mAutoClose && !mClosing)
    {
        SetShown(false);
    }
    const RCPtr<LNotificationReceiver> target = GetTarget();
    if (target && item)
    {
        RCPtr<LNotification> activated;
        LNotification::Create(activated, NID_ITEM_ACTIVATED);
        Distribute(activated);
        // The owner of the chain (a combo menu) hears about a choice in any of its submenus.
        LPopupMenu* root = this;
        while (LPopupMenu* parent = root->GetParentPopup())
        {
            root = parent;
        }
        if (root != this)
        {
            root->Distribute(activated);
        }
        RCPtr<LNotification> command;
        LNotification::Create(command, item->GetCommand().GetString(),
                              RCPtr<LRefCountedObject>(LMenuActivationParam::Create(menu, index)));
        target->ReceiveNotification(RCPtr<LNotificationDistributor>(), command);
    }
    if (mAutoClose && !mClosing)
    {
        Close();
    }
}

void LPopupMenu::Close()
{
    if (LPopupMenu* parent = GetParentPopup())
    {
        mClosing = true;
        parent->Close();
        return;
    }
    if (mClosing)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    mClosing = true;
    StopSubmenuTimer();
    CloseSubmenu();
    if (const RCPtr<LControl> parent = GetParent())
    {
        parent->QueueChildDestroy(self);
    }
}

// ---- keys, focus, pointer and showing ----

QZRESULT LPopupMenu::OnKeyDown(std::uint32_t key)
{
    if ((key & (KeyCode::kCtrl | KeyCode::kAlt | KeyCode::kWin)) != 0)
    {
        return LCheckedListBox::OnKeyDown(key);
    }
    const RCPtr<LControl> self(this);
    LPopupMenu* parent = GetParentPopup();
    switch ((key >> 16) & 0xFF)
    {
    case kVkLeft:
        if (parent == nullptr)
        {
            return S_FALSE;
        }
        parent->CloseSubmenu();
        return S_OK;
    case kVkRight:
        if (!HasSubmenu(GetCurrentIndex()))
        {
            return S_FALSE;
        }
        OpenSubmenuWithFirstItem(GetCurrentIndex());
        return S_OK;
    case kVkEscape:
        if (mAutoClose && !mClosing)
        {
            Close();
            return S_OK;
        }
        // Without auto close, Escape steps back one submenu; at the top it goes on to the owner.
        if (parent == nullptr)
        {
            return S_FALSE;
        }
        parent->CloseSubmenu();
        return S_OK;
    default:
        return LCheckedListBox::OnKeyDown(key);
    }
}

// Only a request while the popup itself has the focus closes it: the focus coming back from a
// row or a submenu (controls hand it to their parent as they are made or hidden) must not.
QZRESULT LPopupMenu::SetFocus(bool forward)
{
    if (HasFocus() && !mClosingSubmenu && mAutoClose && !mClosing)
    {
        Close();
    }
    return LCheckedListBox::SetFocus(forward);
}

QZRESULT LPopupMenu::FocusFromChild(const RCPtr<LControl>&)
{
    return S_OK;
}

void LPopupMenu::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    LCheckedListBox::OnConditionsChanged(conditions);
    if (!conditions)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    const std::uint32_t now = conditions->GetConditions();
    const std::uint32_t previous = conditions->GetPreviousConditions();
    if ((now & ~previous & kVisible) != 0)
    {
        UpdateItemStates();
    }
    if (GetParentPopup() != nullptr)
    {
        return;
    }
    if ((previous & ~now & kVisible) != 0)
    {
        CloseSubmenu();
    }
    if ((previous & kFocusBits) != 0 && (now & kFocusBits) == 0 && IsShowing(false) && mAutoClose &&
        !mClosing)
    {
        Close();
    }
}

void LPopupMenu::OnDragMove(const PointT<double>& point)
{
    LCheckedListBox::OnDragMove(point);
    RCPtr<LRootWindow> window;
    if ((GetConditionFlags() & kLeftDrag) == 0 || !GetRootWindowRef(window))
    {
        return;
    }
    PointT<long> pointer;
    window->GetMousePosition(pointer);
    const PointT<double> origin = GetPositionInRoot();
    const PointT<double> size = GetSize();
    if (pointer.x >= origin.x && pointer.y >= origin.y && pointer.x < origin.x + size.x &&
        pointer.y < origin.y + size.y)
    {
        return;
    }
    // A drag begun in one menu goes on in the menu under the pointer.
    RCPtr<LControl> hit;
    PointT<long> local;
    window->HitTest(hit, pointer.x, pointer.y, local, 1);
    if (!hit)
    {
        return;
    }
    if (dynamic_cast<LComboMenu*>(hit.Get()) != nullptr)
    {
        hit->OnMouseButtonDown(1, 0, 0);
        return;
    }
    for (RCPtr<LControl> control = hit; control; control = control->GetParent())
    {
        if (auto* popup = dynamic_cast<LPopupMenu*>(control.Get()))
        {
            if (IsInOpenChain(popup))
            {
                popup->OnMouseButtonDown(1, 0, 0);
            }
            return;
        }
    }
}

void LPopupMenu::ShowAtMouse()
{
    const RCPtr<LControl> self(this);
    RCPtr<LRootWindow> window;
    if (GetRootWindowRef(window))
    {
        PointT<long> pointer;
        window->GetMousePosition(pointer);
        const PointT<long> client = window->GetClientSize();
        const PointT<double> size = GetSize();
        const auto fit = [](double wanted, double extent, double limit)
        { return std::max(0.0, wanted + extent > limit ? limit - extent : wanted); };
        MoveToRootPoint(
            *this,
            PointT<double>(fit(pointer.x, size.x, client.x), fit(pointer.y, size.y, client.y)),
            true);
    }
    SetShown(true);
    if (!HasFocus())
    {
        SetFocus(true);
    }
}

} // namespace QZ
