#include "QZFramework/Controls/CheckedComboBox.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/CheckedListBox.h"
#include "QZFramework/Notification/NotificationIDs.h"

namespace QZ
{

LCheckedComboBox::LCheckedComboBox(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LComboBox(parent, name, mostDerived)
{
}

LCheckedComboBox::~LCheckedComboBox() = default;

void LCheckedComboBox::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                           const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LComboBox::ReceiveNotification(sender, notification);
}

QZRESULT LCheckedComboBox::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                       const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LComboBox::Unsubscribe(distributor, identifier);
}

QZRESULT LCheckedComboBox::ReleaseInternalReferences()
{
    mCheckedList = nullptr;
    mCheckBox = nullptr;
    return LComboBox::ReleaseInternalReferences();
}

QZRESULT LCheckedComboBox::Initialize()
{
    mCheckedList = RCPtr<LCheckedListBox>::DynamicCastFrom(FindChildByName(WideString(u"listBox")));
    if (Failed(LComboBox::Initialize()) || !mCheckedList)
    {
        return E_FAIL;
    }
    mCheckBox = FindChildByName(WideString(u"checkBox"));
    if (mCheckBox)
    {
        // The check box covers part of the combo box: pointing at it shows the combo's tip.
        mCheckBox->SetUseParentToolTip(true);
    }
    mCheckedList->SetHoverSelect(true);
    if (!mCheckedList->GetItemIcons().empty())
    {
        SetHasIcons(true);
    }
    mHandler = new LNotificationHandler<LCheckedComboBox>(this);
    mHandler->AddHandler(&LCheckedComboBox::OnItemCheckChange,
                         RCPtr<LNotificationDistributor>(mCheckedList), NID_ITEM_CHECK_CHANGE, 0);
    return S_OK;
}

void LCheckedComboBox::SetHasIcons(bool hasIcons)
{
    mHasIcons = hasIcons;
    // The check box then shows the item icons put into its looks instead of choosing its own.
    if (auto* button = dynamic_cast<LButton*>(mCheckBox.Get()))
    {
        button->SetLookUpdateSuppressed(hasIcons);
    }
}

QZRESULT LCheckedComboBox::PostInitialize()
{
    ShowIcon(mCheckedList && mSelectedIndex >= 0 ? mCheckedList->GetItemIcon(mSelectedIndex)
                                                 : RCPtr<LBitmap>());
    return LComboBox::PostInitialize();
}

void LCheckedComboBox::ShowIcon(const RCPtr<LBitmap>& icon)
{
    for (std::uint32_t look = mCheckBox ? mCheckBox->GetLookCount() : 0; look-- > 0;)
    {
        if (mCheckBox->GetLook(look))
        {
            mCheckBox->SetLookBitmap(look, icon, 1);
        }
    }
}

QZRESULT LCheckedComboBox::SetItemCount(std::int32_t count)
{
    const QZRESULT result = LComboBox::SetItemCount(count);
    UpdateLook();
    return result;
}

std::int32_t LCheckedComboBox::SetSelectedIndex(std::int32_t index)
{
    if (mCheckBox && mCheckedList)
    {
        RCPtr<LBitmap> icon;
        if (index >= 0 && index < mCheckedList->GetItemCount())
        {
            mCheckBox->SetValue(mCheckedList->IsItemChecked(index) ? 1.0 : 0.0);
            icon = mCheckedList->GetItemIcon(index);
        }
        ShowIcon(icon);
    }
    return LComboBox::SetSelectedIndex(index);
}

QZRESULT LCheckedComboBox::OnItemCheckChange(const RCPtr<LNotificationDistributor>&,
                                             const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    // Only the first check and the last uncheck change the closed combo's look set.
    if (mCheckedList && mCheckedList->GetCheckedCount() <= 1)
    {
        UpdateLook();
    }
    RCPtr<LNotification> forwarded;
    LNotification::Create(forwarded, NID_ITEM_CHECK_CHANGE, notification->GetPayload());
    Distribute(forwarded);
    return S_FALSE;
}

void LCheckedComboBox::UpdateLook()
{
    // The combo box's look for the state, moved to the checked set when an item is checked.
    LComboBox::UpdateLook();
    const std::int32_t look = GetFirstVisibleLookIndex();
    if (look >= 0 && mCheckedList && mCheckedList->GetCheckedCount() > 0 &&
        GetLook(static_cast<std::uint32_t>(look) + kCheckedLookOffset))
    {
        SetLookWeight(static_cast<std::uint32_t>(look) + kCheckedLookOffset, 1.0f, true);
    }
}

} // namespace QZ
