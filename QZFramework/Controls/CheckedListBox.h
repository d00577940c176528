// A list box whose items also carry a check (a 32-bit word, non-zero when checked) and, in a list
// with icons, an icon; its rows are LCheckedListBoxItem controls. It keeps the number of checked
// items current and sends "NID_ITEM_CHECK_CHANGE" (tag, index, 1.0 checked or 0.0) whenever an
// item's check changes; a click on a row's check box toggles the item's check.
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LBitmap;

class LCheckedListBox : public LListBox
{
public:
    LCheckedListBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LCheckedListBox() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // E_FAIL when the base fails.
    QZRESULT Initialize() override;

    QZRESULT InsertItemAt(std::int32_t index) override;
    QZRESULT RemoveItemAt(std::int32_t index) override;
    // The base's work, then the checked items counted again.
    QZRESULT SetItemCount(std::int32_t count) override;
    QZRESULT SwapItems(std::int32_t first, std::int32_t second) override;

    [[nodiscard]] bool IsItemChecked(std::int32_t index) const;
    // E_INVALIDARG outside the items; 1 when the check was already so.
    QZRESULT SetItemChecked(std::int32_t index, bool checked);
    // The second flag of the item's record; E_INVALIDARG outside the items.
    QZRESULT SetItemFlag(std::int32_t index, bool flagB);
    [[nodiscard]] std::int32_t GetCheckedCount() const { return mCheckedCount; }
    void RecountCheckedItems();
    // Null outside the items or in a list without icons.
    [[nodiscard]] RCPtr<LBitmap> GetItemIcon(std::int32_t index) const;
    // The first icon set gives every item an icon slot; E_INVALIDARG outside the items.
    QZRESULT SetItemIcon(std::int32_t index, const RCPtr<LBitmap>& icon);
    // Empty for a list without icons, else one per item.
    [[nodiscard]] const std::vector<RCPtr<LBitmap>>& GetItemIcons() const { return mIcons; }
    // The rows' check boxes let the mouse through to the rows.
    void SetCheckBoxesIgnoreMouse(bool ignore);

protected:
    // The base's refresh, then the row's check box.
    QZRESULT UpdateItemControl(std::int32_t row) override;
    // Listens to the row's check box.
    void OnItemControlCreated(const RCPtr<LListBoxItem>& row) override;

private:
    QZRESULT OnCheckBoxClicked(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LCheckedListBox>> mHandler;
    std::vector<std::uint32_t> mChecks;
    std::vector<RCPtr<LBitmap>> mIcons;
    std::int32_t mCheckedCount = 0;
    bool mCheckBoxesIgnoreMouse = false;
};

} // namespace QZ
