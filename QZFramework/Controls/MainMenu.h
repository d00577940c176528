// The main menu bar: one title (an LComboMenu) per menu of its string table, left to right.
//
// The menus come from the table's "CONTEXT_MENU<n>.<position>.<command>" entries, the titles'
// texts from its "MENU_LABEL.<nn>" entries. Each title is a copy of the skin child
// "templateMenu" (a combo menu with its "popupMenu"), named "menu0", "menu1", ..., each placed
// after the one before; the template itself stays hidden. Once the bar is in a window, chosen
// commands go to the window's command receiver, which delivers them at the next idle pass, and
// the menus show the window's and the application's hot keys.
//
// The bar remembers the control that had the focus when a title opened; choosing a command gives
// the focus back to it, and edit commands apply to it. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <vector>

namespace QZ
{

class LComboMenu;
class LMenuItemUpdater;

class LMainMenu : public LControl
{
public:
    LMainMenu(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LMainMenu() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    QZRESULT ReleaseInternalReferences() override;
    // Builds the menus and their titles; E_FAIL without a combo-menu template.
    QZRESULT Initialize() override;
    // Binds the menus to the window's command receiver.
    void RegisterHandlers() override;
    // A press on a title leaves the focus where it is, so it can go back there.
    QZRESULT FocusFromChild(const RCPtr<LControl>& child) override;
    // The edit target of the control the focus returns to.
    RCPtr<LControl>& FindEditTarget(RCPtr<LControl>& out) override;

    // Every menu asks the updater's control about its items before it shows.
    void SetMenuItemUpdater(const RCPtr<LMenuItemUpdater>& updater);
    // Gives the focus back to the control that had it when a title opened, when that control is
    // still in a window.
    void ReturnFocus();
    [[nodiscard]] const std::vector<RCPtr<LComboMenu>>& GetTitles() const { return mTitles; }
    [[nodiscard]] const RCPtr<LControl>& GetFocusReturnControl() const { return mFocusReturn; }

private:
    QZRESULT OnTitleOpening(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    [[nodiscard]] bool Contains(const LControl* control) const;

    RCPtr<LNotificationHandler<LMainMenu>> mHandler;
    std::vector<RCPtr<LComboMenu>> mTitles;
    RCPtr<LMenuItemUpdater> mUpdater;
    RCPtr<LControl> mFocusReturn;
};

} // namespace QZ
