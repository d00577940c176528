// A title of a menu bar: a press drops its popup menu (the skin child "popupMenu") down below
// it. Titles standing side by side behave as one bar: while one title's menu is open, the
// pointer entering another title opens that one's menu instead.
//
// The popup's automatic closing is off; the title closes it when an item is chosen, and the
// drop-down base closes it on a second press, Escape, or the focus leaving both the title and
// its popups. Looks: 0 normal, 1 pointer over, 2 open, 3 disabled, and 4, when the skin gives it,
// laid over them while the title has the keyboard focus. User-interface thread only.
#pragma once

#include "QZFramework/Controls/DropDownControl.h"

#include <cstdint>

namespace QZ
{

class LPopupMenu;

class LComboMenu : public LDropDownControl
{
public:
    enum Look : std::uint32_t
    {
        kLookNormal = 0,
        kLookHover = 1,
        kLookOpen = 2,
        kLookDisabled = 3,
        kLookFocus = 4
    };

    LComboMenu(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LComboMenu() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    QZRESULT ReleaseInternalReferences() override;
    // E_FAIL when the base fails or the skin gives no popup menu.
    QZRESULT Initialize() override;
    // Keeps the popup's horizontal offset as the skin gives it.
    QZRESULT PostInitialize() override;
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;

    [[nodiscard]] bool IsDroppedDown() const override;
    // Opening keeps the popup inside the root control horizontally, focuses it and hands it the
    // press that opened it. 0.
    QZRESULT ShowDropDown(bool show) override;
    [[nodiscard]] const RCPtr<LPopupMenu>& GetPopupMenu() const { return mPopup; }

private:
    QZRESULT OnItemActivated(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    QZRESULT OnPopupVisibilityChanged(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification);
    void SelectClosedLook();
    void SelectStateLook();

    RCPtr<LNotificationHandler<LComboMenu>> mHandler;
    RCPtr<LPopupMenu> mPopup;
    double mPopupOffsetX = 0.0;
    PointT<double> mPressOffset;
};

} // namespace QZ
