// The skinned pop-up menu: context menus, the drop-downs of the main menu bar and their
// submenus. A checked list box whose items are the entries of its own copy of a menu; each row
// (an LMenuListBoxItem) shows the check mark, the text and the hot-key text of its item, a
// separator row the row's separator look.
//
// Submenus: pointing at an item that has one opens a child popup ("submenu", made from this
// popup's own descriptor) beside the row at the first idle step more than 250 ms later; Right
// opens it at once, Left closes it again. Moving onto a plain item while a submenu is open closes
// the submenu 250 ms later. The delay runs on the application clock, and the popup asks for idle
// steps only while it runs.
//
// Choosing an item without a submenu distributes "NID_ITEM_ACTIVATED" from the popup (and from
// the root popup of its chain) and hands a notification named by the item's command, with an
// LMenuActivationParam, to the target: the receiver set with SetNotifyTarget (the main menu bar
// sets its window's command receiver, which delivers at the next idle pass), or else the first
// ancestor that is not a popup. With auto close on (context menus), choosing, Escape and a focus
// that leaves the chain close the whole chain; a combo menu switches it off and closes its popup
// itself. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/MenuItemDescriptor.h"
#include "QZFramework/ControlBase/MenuItemUpdater.h"
#include "QZFramework/ControlBase/PopupMenuInterface.h"
#include "QZFramework/Controls/CheckedListBox.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/Notification/NotificationReceiver.h"

#include <cstdint>

namespace QZ
{

class LMenuListBoxItem;

class LPopupMenu : public LCheckedListBox, public IPopupMenu
{
public:
    // Pointing must rest this long (strictly more) before a submenu opens or closes.
    static constexpr std::uint32_t kSubmenuDelayMs = 250;

    LPopupMenu(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LPopupMenu() override;

    QZRESULT ReleaseInternalReferences() override;
    // The popup's own handlers (the rows' hover) first, then the list's.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // E_FAIL when the list fails or the skin gives no row template; else the menu of the
    // popup's own string table is set (1 without a table).
    QZRESULT Initialize() override;
    // Unclipped, hidden, size limits applied again.
    QZRESULT PostInitialize() override;
    QZRESULT ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor) override;
    // A popup hidden from the start has no rows to measure its items by until it first shows:
    // it is rebuilt then.
    bool SetShown(bool shown) override;
    // A focus request while the popup holds the focus closes it (auto close on).
    QZRESULT SetFocus(bool forward) override;
    // A press on a row never sends a focus request up to the popup's owner.
    QZRESULT FocusFromChild(const RCPtr<LControl>& child) override;
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    void OnIdleStep() override;
    // Items of a menu keep their order.
    QZRESULT SwapItems(std::int32_t first, std::int32_t second) override;

    // ---- IPopupMenu ----
    void SetMenuDescriptor(const RCPtr<LMenuDescriptor>& menu) override { SetMenu(menu); }
    void ShowAtMouse() override;

    // Takes a copy of the menu, fills in hot-key texts and rebuilds the rows. E_INVALIDARG for
    // a null menu, else the rebuild's result.
    QZRESULT SetMenu(const RCPtr<LMenuDescriptor>& menu);
    [[nodiscard]] const RCPtr<LMenuDescriptor>& GetMenuDescriptor() const { return mMenu; }
    // Where chosen commands go from now on; set once. E_INVALIDARG for null, E_FAIL when one is
    // set already.
    QZRESULT SetNotifyTarget(const RCPtr<LNotificationReceiver>& target);
    [[nodiscard]] const RCPtr<LNotificationReceiver>& GetNotifyTarget() const { return mTarget; }
    void SetMenuItemUpdater(const RCPtr<LMenuItemUpdater>& updater) { mUpdater = updater; }
    void SetAutoClose(bool autoClose) { mAutoClose = autoClose; }
    [[nodiscard]] bool IsAutoClose() const { return mAutoClose; }
    // Closes the whole chain of open menus this popup belongs to.
    void Close();
    [[nodiscard]] bool IsClosing() const { return mClosing; }
    [[nodiscard]] const RCPtr<LPopupMenu>& GetOpenSubmenu() const { return mSubmenu; }
    // Opens the item's submenu beside its row; E_INVALIDARG when the item has none.
    QZRESULT OpenSubmenu(std::int32_t index);
    void CloseSubmenu();
    // The width a row needs for the item; 0 without a menu or for an index outside it.
    [[nodiscard]] virtual std::int32_t GetItemWidth(std::int32_t index);
    [[nodiscard]] std::int32_t GetContentHeight() const override;
    // Separators take the separator height.
    [[nodiscard]] std::int32_t GetItemHeight(std::int32_t index) const override;
    // Enabled and not a separator.
    [[nodiscard]] bool IsItemSelectable(std::int32_t index) const override;
    [[nodiscard]] std::int32_t GetSeparatorCount() const { return mSeparatorCount; }

protected:
    QZRESULT OnKeyDown(std::uint32_t key) override;
    void OnItemChosen(std::int32_t index) override;
    void OnCurrentItemChanged(std::int32_t previous) override;
    QZRESULT UpdateItemControl(std::int32_t row) override;
    void OnDragMove(const PointT<double>& point) override;
    // The list's set-up of the row, then the row's hover shows its item's status text.
    void OnItemControlCreated(const RCPtr<LListBoxItem>& row) override;

private:
    // Handler of a row's "NID_HOVER_CONDITION_CHANGE": a hovered row's item puts its status
    // text (when it has one) on the main window's status bar, a row left gives the bar its own
    // text back. 1.
    QZRESULT OnItemHoverChange(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);
    [[nodiscard]] LPopupMenu* GetParentPopup() const;
    [[nodiscard]] RCPtr<LMenuItemDescriptor> GetMenuItem(std::int32_t index) const;
    [[nodiscard]] bool HasSubmenu(std::int32_t index) const;
    [[nodiscard]] RCPtr<LNotificationReceiver> GetTarget() const;
    QZRESULT SetSubmenuFromParentItem(std::int32_t index);
    QZRESULT ResolveHotKeyTexts(const RCPtr<LMenuDescriptor>& menu);
    QZRESULT Rebuild();
    void MeasureRow(LListBoxItem& row);
    // How far the item's hot-key text overruns the label's text room (0 when it fits).
    [[nodiscard]] std::int32_t GetHotKeyOverrun(std::int32_t index);
    void WidenHotKeyLabel(LControl& label) const;
    void FitHeight();
    void ApplySizeLimits();
    void UpdateItemStates();
    void ApplyItemInfo(std::int32_t index, const MenuItemState& state);
    void ActivateItem(std::int32_t index);
    void SelectOpenSubmenuItem();
    void StartSubmenuTimer();
    void StopSubmenuTimer();
    void PlaceSubmenu(std::int32_t index);
    void OpenSubmenuWithFirstItem(std::int32_t index);
    [[nodiscard]] bool IsInOpenChain(const LPopupMenu* popup) const;
    [[nodiscard]] bool HasRowTemplate() const;

    // The menu as it was given: a new target looks its hot keys up afresh.
    RCPtr<LNotificationHandler<LPopupMenu>> mHandler;
    RCPtr<LMenuDescriptor> mGivenMenu;
    RCPtr<LMenuDescriptor> mMenu;
    RCPtr<LPopupMenu> mSubmenu;
    RCPtr<LMenuItemDescriptor> mSubmenuItem;
    RCPtr<LNotificationReceiver> mTarget;
    RCPtr<LMenuItemUpdater> mUpdater;
    bool mTimerRunning = false;
    std::uint32_t mTimerStart = 0;
    bool mClosingSubmenu = false;
    bool mAutoClose = true;
    bool mClosing = false;
    std::int32_t mSeparatorHeight = 0;
    std::int32_t mSeparatorCount = 0;
    // Measured once from the row template: where the row's text starts (-1 until measured), the
    // room right of it (the hot-key label's column, whose background hides what runs under it,
    // or the row's right text inset) and the width the label leaves for its own text.
    std::int32_t mTextLeft = -1;
    std::int32_t mRightRoom = 0;
    std::int32_t mHotKeyTextRoom = 0;
    // How much wider than in the skin the hot-key labels are, so the widest hot key shows whole.
    std::int32_t mHotKeyWidening = 0;
    std::int32_t mWidestItem = 0;
};

} // namespace QZ
