#include "QZFramework/Controls/ComboBox.h"

#include "QZFramework/ControlBase/IndexedDataParam.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Controls/TaggableString.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <vector>

namespace QZ
{

LComboBox::LComboBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LDropDownControl(parent, name, mostDerived)
{
}

LComboBox::~LComboBox() = default;

void LComboBox::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LDropDownControl::ReceiveNotification(sender, notification);
}

QZRESULT LComboBox::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LDropDownControl::Unsubscribe(distributor, identifier);
}

QZRESULT LComboBox::ReleaseInternalReferences()
{
    mListBox = nullptr;
    return LDropDownControl::ReleaseInternalReferences();
}

// ---- creation ----

QZRESULT LComboBox::Initialize()
{
    const QZRESULT result = LDropDownControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LComboBox>(this);
    mListBox = RCPtr<LListBox>::DynamicCastFrom(FindChildByName(WideString(u"listBox")));
    SetDropDown(mListBox);
    if (mListBox)
    {
        mHandler->AddHandler(&LComboBox::OnListItemActivated,
                             RCPtr<LNotificationDistributor>(mListBox), NID_ITEM_ACTIVATED, 0);
        std::vector<WideString> texts;
        LListBox::ReadItemTexts(GetStringTable(), texts);
        if (!texts.empty())
        {
            mListBox->SetItemCount(0);
            mListBox->AddTextItems(texts);
        }
        mListBox->SetClipToParent(false);
        mListBox->SetShown(false);
    }
    UpdateLook();
    return S_OK;
}

QZRESULT LComboBox::PostInitialize()
{
    const QZRESULT result = LDropDownControl::PostInitialize();
    UpdateLook();
    return result;
}

// ---- drop-down ----

bool LComboBox::IsDroppedDown() const
{
    return mListBox && mListBox->IsShowing(false);
}

QZRESULT LComboBox::ShowDropDown(bool show)
{
    if (!mListBox)
    {
        return E_FAIL;
    }
    const RCPtr<LControl> self(this);
    if (show)
    {
        FitList();
        if (mSelectedIndex >= 0 && mSelectedIndex < mListBox->GetItemCount())
        {
            mListBox->SelectRange(mSelectedIndex);
        }
        else
        {
            mListBox->ClearSelection();
        }
    }
    mListBox->SetShown(show);
    UpdateLook();
    return S_OK;
}

// The list is as tall as its items need, up to the height the skin gives it, and opens upwards
// when the window has no room for it below the field.
void LComboBox::FitList()
{
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    if (!mListBox->GetLayout() || !mListBox->GetDescriptor() ||
        Failed(mListBox->GetLayout()->GetAxisSpec(1, position, size)))
    {
        return;
    }
    const double frame = mListBox->GetSize().y - mListBox->GetLookClientRect(0).height;
    const double height =
        std::min(mListBox->GetDescriptor()->absoluteHeight, mListBox->GetContentHeight() + frame);
    // Where the skin puts it, unless the window ends below it and there is room above the field.
    position.absolute = mListBox->GetDescriptor()->layout->position[1].absolute;
    RCPtr<LControl> root;
    const double top = GetPositionInRoot().y;
    if (GetRootControl(root) && top + position.absolute + height > root->GetSize().y &&
        top >= height)
    {
        position.absolute = -height;
    }
    mListBox->SetAxisLayout(1, position, {LLayoutDescriptor::kSibling, WideString(), 0.0f, height});
}

QZRESULT LComboBox::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    constexpr std::uint32_t kVkUp = 0x26;
    constexpr std::uint32_t kVkDown = 0x28;
    const std::uint32_t virtualKey = key ? key->GetKeyCode().GetVirtualKey() : 0;
    if (!key || !key->GetKeyCode().IsKeyDown() || (key->GetKey() & KeyCode::kModifierKeys) != 0 ||
        (virtualKey != kVkUp && virtualKey != kVkDown) || IsDroppedDown())
    {
        return LDropDownControl::OnKeyEvent(key);
    }
    // With nothing selected, Down starts at the first item and Up at the last.
    const std::int32_t count = GetItemCount();
    const std::int32_t wanted = mSelectedIndex < 0    ? (virtualKey == kVkDown ? 0 : count - 1)
                                : virtualKey == kVkUp ? mSelectedIndex - 1
                                                      : mSelectedIndex + 1;
    if (wanted >= 0 && wanted < count)
    {
        const RCPtr<LControl> self(this);
        SetSelectedIndex(wanted);
    }
    return S_OK;
}

QZRESULT LComboBox::OnListItemActivated(const RCPtr<LNotificationDistributor>&,
                                        const RCPtr<LNotification>&)
{
    const RCPtr<LControl> self(this);
    const std::int32_t chosen = mListBox ? mListBox->GetCurrentIndex() : -1;
    ShowDropDown(false);
    if (chosen >= 0)
    {
        SetSelectedIndex(chosen);
    }
    return S_FALSE;
}

// ---- items and selection ----

QZRESULT LComboBox::SetItemCount(std::int32_t count)
{
    if (!mListBox)
    {
        return E_FAIL;
    }
    const RCPtr<LControl> self(this);
    const QZRESULT result = mListBox->SetItemCount(count);
    if (mSelectedIndex >= mListBox->GetItemCount())
    {
        mSelectedIndex = -1;
        ShowSelectedText();
    }
    if (IsDroppedDown())
    {
        ShowDropDown(true);
    }
    return result;
}

std::int32_t LComboBox::SetSelectedIndex(std::int32_t index)
{
    const RCPtr<LControl> self(this);
    const std::int32_t previous = mSelectedIndex;
    if (!mListBox || index < 0 || Failed(mListBox->SelectRange(index)))
    {
        if (mListBox && index < 0)
        {
            mListBox->ClearSelection();
        }
        mSelectedIndex = -1;
        ShowSelectedText();
        return mSelectedIndex;
    }
    mSelectedIndex = index;
    ShowSelectedText();
    if (mSelectedIndex != previous)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_SELECTION_CHANGE,
                              RCPtr<LRefCountedObject>(LIndexedDataParam::Create(
                                  mListBox->GetItemAt(index).tag, index)));
        Distribute(notification);
    }
    return mSelectedIndex;
}

bool LComboBox::GetSelectedByte(std::uint8_t& byte) const
{
    if (mSelectedIndex < 0 || mSelectedIndex > 0xFF)
    {
        return false;
    }
    byte = static_cast<std::uint8_t>(mSelectedIndex);
    return true;
}

void LComboBox::ShowSelectedText()
{
    WideString text;
    SetText(GetItemText(text, mSelectedIndex), false);
}

QZRESULT LComboBox::InsertItem(std::int32_t index, const RCPtr<LRefCountedObject>& data)
{
    if (!mListBox)
    {
        return E_FAIL;
    }
    const QZRESULT result = mListBox->InsertItemAt(index);
    if (Failed(result))
    {
        return result;
    }
    mListBox->SetItem(index, data, 0.0, false, false);
    if (mSelectedIndex >= index)
    {
        ++mSelectedIndex;
    }
    if (IsDroppedDown())
    {
        ShowDropDown(true);
    }
    return result;
}

QZRESULT LComboBox::AddItem(const WideString& text)
{
    return InsertItem(GetItemCount(), RCPtr<LRefCountedObject>(LTaggableString::FromString(text)));
}

WideString& LComboBox::GetItemText(WideString& text, std::int32_t index) const
{
    if (!mListBox)
    {
        text.Clear();
        return text;
    }
    return mListBox->GetItemText(text, index);
}

std::int32_t LComboBox::GetItemCount() const
{
    return mListBox ? mListBox->GetItemCount() : 0;
}

// ---- looks ----

void LComboBox::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const RCPtr<LControl> self(this);
    LDropDownControl::OnConditionsChanged(conditions);
    UpdateLook();
}

void LComboBox::UpdateLook()
{
    if (GetLookCount() == 0)
    {
        return;
    }
    const std::uint32_t conditions = GetConditionFlags();
    const bool hover = (conditions & kHover) != 0;
    const bool focused = (conditions & (kHasFocus | kContainsFocus)) != 0;
    std::uint32_t look = kLookNormal;
    if (!IsEnabled(true))
    {
        look = kLookDisabled;
    }
    else if (IsDroppedDown())
    {
        look = hover ? kLookOpenHover : kLookOpen;
    }
    else if (hover)
    {
        look = focused ? kLookHoverFocused : kLookHover;
    }
    else if (focused)
    {
        look = kLookFocused;
    }
    SetLookWeight(GetLook(look) ? look : kLookNormal, 1.0f, true);
}

} // namespace QZ
