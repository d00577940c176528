// A combo box whose drop-down list is a checked list box: its items carry check marks and, in a
// list with icons, icons. The skin child "checkBox" mirrors the selected item's check and icon;
// the closed combo shows whether any item is checked (looks 7 to 13 repeat looks 0 to 6 of the
// combo box for "some item checked"). The list's "NID_ITEM_CHECK_CHANGE" goes on to the combo
// box's own listeners. User-interface thread only.
#pragma once

#include "QZFramework/Controls/ComboBox.h"

#include <cstdint>

namespace QZ
{

class LCheckedListBox;

class LCheckedComboBox : public LComboBox
{
public:
    // Added to a combo-box look index while at least one item is checked.
    static constexpr std::uint32_t kCheckedLookOffset = 7;

    LCheckedComboBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LCheckedComboBox() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    QZRESULT ReleaseInternalReferences() override;
    // E_FAIL when the combo box fails or its "listBox" is not a checked list box.
    QZRESULT Initialize() override;
    // Shows the selected item's icon in the check box.
    QZRESULT PostInitialize() override;

    QZRESULT SetItemCount(std::int32_t count) override;
    // Mirrors the item's check and icon in the check box first (an index outside the items
    // clears the icon and leaves the check as it was).
    std::int32_t SetSelectedIndex(std::int32_t index) override;
    void UpdateLook() override;

    [[nodiscard]] const RCPtr<LCheckedListBox>& GetCheckedList() const { return mCheckedList; }
    [[nodiscard]] bool HasIcons() const { return mHasIcons; }

private:
    void SetHasIcons(bool hasIcons);
    void ShowIcon(const RCPtr<LBitmap>& icon);
    QZRESULT OnItemCheckChange(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LCheckedComboBox>> mHandler;
    RCPtr<LCheckedListBox> mCheckedList;
    RCPtr<LControl> mCheckBox;
    bool mHasIcons = false;
};

} // namespace QZ
