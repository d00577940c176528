#include "QZFramework/Controls/CheckedListBox.h"

#include "QZFramework/ControlBase/IndexedDataWithValueParam.h"
#include "QZFramework/Controls/CheckedListBoxItem.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <utility>

namespace QZ
{

LCheckedListBox::LCheckedListBox(const RCPtr<LControl>& parent, const WideString& name,
                                 bool mostDerived)
    : LListBox(parent, name, mostDerived)
{
}

LCheckedListBox::~LCheckedListBox() = default;

void LCheckedListBox::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LListBox::ReceiveNotification(sender, notification);
}

QZRESULT LCheckedListBox::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                      const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LListBox::Unsubscribe(distributor, identifier);
}

QZRESULT LCheckedListBox::Initialize()
{
    // The rows made by the base's initialisation subscribe here.
    mHandler = new LNotificationHandler<LCheckedListBox>(this);
    return Failed(LListBox::Initialize()) ? E_FAIL : S_OK;
}

// ---- items ----

QZRESULT LCheckedListBox::InsertItemAt(std::int32_t index)
{
    if (index < 0 || index > GetItemCount())
    {
        return E_INVALIDARG;
    }
    // The words are in step before the base refreshes the rows.
    mChecks.insert(mChecks.begin() + index, 0u);
    if (!mIcons.empty())
    {
        mIcons.insert(mIcons.begin() + index, RCPtr<LBitmap>());
    }
    return LListBox::InsertItemAt(index);
}

QZRESULT LCheckedListBox::RemoveItemAt(std::int32_t index)
{
    if (index < 0 || index >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    mCheckedCount -= mChecks[static_cast<std::size_t>(index)] != 0 ? 1 : 0;
    mChecks.erase(mChecks.begin() + index);
    if (!mIcons.empty())
    {
        mIcons.erase(mIcons.begin() + index);
    }
    return LListBox::RemoveItemAt(index);
}

QZRESULT LCheckedListBox::SetItemCount(std::int32_t count)
{
    const QZRESULT result = LListBox::SetItemCount(count);
    RecountCheckedItems();
    return result;
}

QZRESULT LCheckedListBox::SwapItems(std::int32_t first, std::int32_t second)
{
    if (first < 0 || second < 0 || first >= GetItemCount() || second >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    std::swap(mChecks[static_cast<std::size_t>(first)], mChecks[static_cast<std::size_t>(second)]);
    if (!mIcons.empty())
    {
        std::swap(mIcons[static_cast<std::size_t>(first)],
                  mIcons[static_cast<std::size_t>(second)]);
    }
    return LListBox::SwapItems(first, second);
}

// ---- checks, flags and icons ----

bool LCheckedListBox::IsItemChecked(std::int32_t index) const
{
    return index >= 0 && index < GetItemCount() && mChecks[static_cast<std::size_t>(index)] != 0;
}

QZRESULT LCheckedListBox::SetItemChecked(std::int32_t index, bool checked)
{
    if (index < 0 || index >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    if (IsItemChecked(index) == checked)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    mChecks[static_cast<std::size_t>(index)] = checked ? 1u : 0u;
    mCheckedCount += checked ? 1 : -1;
    UpdateItemControl(index - GetFirstRowShown());
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_ITEM_CHECK_CHANGE,
                          RCPtr<LRefCountedObject>(LIndexedDataWithValueParam::Create(
                              GetItemAt(index).tag, index, checked ? 1.0 : 0.0)));
    Distribute(notification);
    return S_OK;
}

QZRESULT LCheckedListBox::SetItemFlag(std::int32_t index, bool flagB)
{
    if (index < 0 || index >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    GetItemAt(index).flagB = flagB;
    UpdateItemControl(index - GetFirstRowShown());
    return S_OK;
}

void LCheckedListBox::RecountCheckedItems()
{
    mCheckedCount = static_cast<std::int32_t>(std::count_if(
        mChecks.begin(), mChecks.end(), [](std::uint32_t word) { return word != 0; }));
}

RCPtr<LBitmap> LCheckedListBox::GetItemIcon(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= mIcons.size())
    {
        return nullptr;
    }
    return mIcons[static_cast<std::size_t>(index)];
}

QZRESULT LCheckedListBox::SetItemIcon(std::int32_t index, const RCPtr<LBitmap>& icon)
{
    if (index < 0 || index >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    mIcons.resize(static_cast<std::size_t>(GetItemCount()));
    mIcons[static_cast<std::size_t>(index)] = icon;
    UpdateItemControl(index - GetFirstRowShown());
    return S_OK;
}

// ---- rows ----

void LCheckedListBox::SetCheckBoxesIgnoreMouse(bool ignore)
{
    mCheckBoxesIgnoreMouse = ignore;
    for (const RCPtr<LListBoxItem>& row : GetRowControls())
    {
        const auto* checked = dynamic_cast<const LCheckedListBoxItem*>(row.Get());
        if (checked != nullptr && checked->GetCheckBox())
        {
            checked->GetCheckBox()->SetHitTestPassOver(ignore, false);
        }
    }
}

void LCheckedListBox::OnItemControlCreated(const RCPtr<LListBoxItem>& row)
{
    LListBox::OnItemControlCreated(row);
    const auto* checked = dynamic_cast<const LCheckedListBoxItem*>(row.Get());
    if (checked == nullptr || !checked->GetCheckBox())
    {
        return;
    }
    checked->GetCheckBox()->SetHitTestPassOver(mCheckBoxesIgnoreMouse, false);
    if (mHandler)
    {
        mHandler->AddHandler(&LCheckedListBox::OnCheckBoxClicked,
                             RCPtr<LNotificationDistributor>(checked->GetCheckBox()),
                             NID_LEFT_CLICK, 0);
    }
}

QZRESULT LCheckedListBox::UpdateItemControl(std::int32_t row)
{
    const QZRESULT result = LListBox::UpdateItemControl(row);
    if (result != S_OK)
    {
        return result;
    }
    auto* checked =
        dynamic_cast<LCheckedListBoxItem*>(GetRowControls()[static_cast<std::size_t>(row)].Get());
    if (checked != nullptr)
    {
        const std::int32_t index = GetFirstRowShown() + row;
        checked->ShowCheck(IsItemChecked(index), GetItemIcon(index), !mIcons.empty());
    }
    return S_OK;
}

QZRESULT LCheckedListBox::OnCheckBoxClicked(const RCPtr<LNotificationDistributor>& sender,
                                            const RCPtr<LNotification>&)
{
    const std::vector<RCPtr<LListBoxItem>>& rows = GetRowControls();
    for (std::size_t r = 0; r < rows.size(); ++r)
    {
        const auto* checked = dynamic_cast<const LCheckedListBoxItem*>(rows[r].Get());
        if (checked != nullptr && checked->GetCheckBox() &&
            sender.Get() == static_cast<LNotificationDistributor*>(checked->GetCheckBox().Get()))
        {
            const std::int32_t index = GetFirstRowShown() + static_cast<std::int32_t>(r);
            SetItemChecked(index, !IsItemChecked(index));
            break;
        }
    }
    return S_FALSE;
}

} // namespace QZ
