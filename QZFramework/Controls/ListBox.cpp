#include "QZFramework/Controls/ListBox.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/IndexedDataParam.h"
#include "QZFramework/ControlBase/ItemConditionsParam.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Controls/ListBoxItem.h"
#include "QZFramework/Controls/TaggableString.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace QZ
{
namespace
{

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkPageUp = 0x21;
constexpr std::uint32_t kVkPageDown = 0x22;
constexpr std::uint32_t kVkEnd = 0x23;
constexpr std::uint32_t kVkHome = 0x24;
constexpr std::uint32_t kVkUp = 0x26;
constexpr std::uint32_t kVkDown = 0x28;
// More rows than any screen holds: a bound against a runaway size.
constexpr std::int32_t kMaxRows = 1024;
constexpr std::uint32_t kLeftDragBits = LControl::kLeftPressed | LControl::kLeftDrag;
const WideString kTemplateName(u"item");
const char16_t kItemPrefix[] = u"ITEM.";

// The decimal number after the prefix; false for anything else or more than nine digits.
bool ParseItemNumber(const WideString& key, std::size_t prefixLength, std::uint32_t& number)
{
    const std::u16string_view digits = std::u16string_view(key.GetString()).substr(prefixLength);
    if (digits.empty() || digits.size() > 9)
    {
        return false;
    }
    number = 0;
    for (const char16_t unit : digits)
    {
        if (unit < u'0' || unit > u'9')
        {
            return false;
        }
        number = number * 10 + static_cast<std::uint32_t>(unit - u'0');
    }
    return true;
}

} // namespace

LListBox::LListBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LScrollView(parent, name, mostDerived)
{
}

LListBox::~LListBox() = default;

QZRESULT LListBox::ReleaseInternalReferences()
{
    mRows.clear();
    return LScrollView::ReleaseInternalReferences();
}

// ---- creation ----

QZRESULT LListBox::Initialize()
{
    const QZRESULT result = LScrollView::Initialize();
    if (Failed(result))
    {
        return result;
    }
    if (const ConstRCPtr<LControlDescriptor>& descriptor = GetDescriptor())
    {
        for (const RCPtr<LControlDescriptor>& sub : descriptor->subControls)
        {
            if (sub && sub->name == kTemplateName && IsCreationDeferred(sub))
            {
                mTemplate = sub;
            }
        }
    }
    if (mTemplate)
    {
        mRowHeight = std::max(1, static_cast<std::int32_t>(std::round(mTemplate->absoluteHeight)));
        SetStepMode(1, true, mRowHeight);
    }
    std::vector<WideString> texts;
    ReadItemTexts(GetStringTable(), texts);
    AddTextItems(texts);
    UpdateRows();
    return S_OK;
}

void LListBox::ReadItemTexts(const RCPtr<LStringTable>& table, std::vector<WideString>& texts)
{
    if (!table)
    {
        return;
    }
    LStringEntries entries;
    table->GetEntriesWithPrefix(kItemPrefix, entries);
    std::vector<std::pair<std::uint32_t, WideString>> numbered;
    for (const LStringEntry& entry : entries)
    {
        std::uint32_t number = 0;
        if (ParseItemNumber(entry.key, std::size(kItemPrefix) - 1, number))
        {
            numbered.emplace_back(number, entry.text);
        }
    }
    // The entries come in key order, which a stable sort keeps for equal numbers.
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [number, text] : numbered)
    {
        texts.push_back(text);
    }
}

void LListBox::AddTextItems(const std::vector<WideString>& texts)
{
    const RCPtr<LControl> self(this);
    ++mDeferRefresh;
    for (const WideString& text : texts)
    {
        const std::int32_t index = GetItemCount();
        if (Succeeded(InsertItemAt(index)))
        {
            GetItemAt(index).tag = LTaggableString::FromString(text);
        }
    }
    --mDeferRefresh;
    OnItemsChanged();
}

// ---- items ----

QZRESULT LListBox::InsertItemAt(std::int32_t index)
{
    if (index < 0 || index > GetItemCount())
    {
        return E_INVALIDARG;
    }
    mItems.insert(mItems.begin() + index, Item());
    if (mCurrent >= index)
    {
        ++mCurrent;
    }
    OnItemsChanged();
    return S_OK;
}

QZRESULT LListBox::RemoveItemAt(std::int32_t index)
{
    if (index < 0 || index >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    mItems.erase(mItems.begin() + index);
    if (mCurrent == index)
    {
        SetCurrentIndex(-1);
    }
    else if (mCurrent > index)
    {
        --mCurrent;
    }
    OnItemsChanged();
    return S_OK;
}

QZRESULT LListBox::SetItemCount(std::int32_t count)
{
    if (count < 0)
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    ++mDeferRefresh;
    while (GetItemCount() > count)
    {
        RemoveItemAt(GetItemCount() - 1);
    }
    mItems.reserve(static_cast<std::size_t>(count));
    while (GetItemCount() < count)
    {
        InsertItemAt(GetItemCount());
    }
    --mDeferRefresh;
    OnItemsChanged();
    return S_OK;
}

QZRESULT LListBox::SwapItems(std::int32_t first, std::int32_t second)
{
    if (first < 0 || second < 0 || first >= GetItemCount() || second >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    std::swap(mItems[Index(first)], mItems[Index(second)]);
    // The current item moves with its record.
    if (mCurrent == first || mCurrent == second)
    {
        mCurrent = mCurrent == first ? second : first;
    }
    RefreshRowsFrom(0);
    return S_OK;
}

QZRESULT LListBox::SetItem(std::int32_t index, const RCPtr<LRefCountedObject>& tag, double value,
                           bool flagA, bool flagB)
{
    if (index < 0 || index >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    Item& item = GetItemAt(index);
    item.tag = tag;
    item.value = value;
    item.flagA = flagA;
    item.flagB = flagB;
    UpdateItemControl(index - mFirstRow);
    return S_OK;
}

WideString& LListBox::GetItemText(WideString& text, std::int32_t index) const
{
    text.Clear();
    if (index >= 0 && index < GetItemCount() && GetItemAt(index).tag)
    {
        text = GetItemAt(index).tag->ToString();
    }
    return text;
}

void LListBox::OnItemsChanged()
{
    if (mDeferRefresh > 0)
    {
        return;
    }
    UpdateExtent();
    ScrollToRow(mFirstRow);
    RefreshRowsFrom(0);
}

// ---- selection ----

bool LListBox::IsItemSelected(std::int32_t index) const
{
    return index >= 0 && index < GetItemCount() && GetItemAt(index).selected;
}

bool LListBox::IsItemSelectable(std::int32_t index) const
{
    return index >= 0 && index < GetItemCount();
}

void LListBox::ClearSelection()
{
    const RCPtr<LControl> self(this);
    for (Item& item : mItems)
    {
        item.selected = false;
    }
    SetCurrentIndex(-1);
    RefreshRowsFrom(0);
}

QZRESULT LListBox::SelectRange(std::int32_t first, std::int32_t last, bool exclusive)
{
    return Select(first, last, exclusive, true);
}

QZRESULT LListBox::Select(std::int32_t first, std::int32_t last, bool exclusive, bool scroll)
{
    if (first < 0 || first >= GetItemCount())
    {
        return E_INVALIDARG;
    }
    const RCPtr<LControl> self(this);
    last = last < 0 ? first : std::min(last, GetItemCount() - 1);
    const auto [low, high] = std::minmax(first, last);
    for (std::int32_t i = 0; i < GetItemCount(); ++i)
    {
        Item& item = GetItemAt(i);
        item.selected = (i >= low && i <= high) || (!exclusive && item.selected);
    }
    if (scroll)
    {
        EnsureVisible(first);
    }
    SetCurrentIndex(first);
    RefreshRowsFrom(0);
    return S_OK;
}

void LListBox::SetCurrentIndex(std::int32_t index)
{
    if (index == mCurrent)
    {
        return;
    }
    const std::int32_t previous = mCurrent;
    mCurrent = index;
    OnCurrentItemChanged(previous);
}

QZRESULT LListBox::ChooseCurrentItem()
{
    if (mCurrent < 0 || mCurrent >= GetItemCount())
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    OnItemChosen(mCurrent);
    return S_OK;
}

void LListBox::OnItemChosen(std::int32_t index)
{
    SendItemNotification(NID_ITEM_ACTIVATED, index);
}

void LListBox::SendItemNotification(const char16_t* identifier, std::int32_t index)
{
    const RCPtr<LRefCountedObject> tag =
        index >= 0 && index < GetItemCount() ? GetItemAt(index).tag : RCPtr<LRefCountedObject>();
    RCPtr<LNotification> notification;
    LNotification::Create(notification, identifier,
                          RCPtr<LRefCountedObject>(LIndexedDataParam::Create(tag, index)));
    Distribute(notification);
}

// ---- keys ----

QZRESULT LListBox::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    if (!key || (key->GetKey() & KeyCode::kKeyDown) == 0)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    return OnKeyDown(key->GetKey());
}

QZRESULT LListBox::OnKeyDown(std::uint32_t key)
{
    if ((key & (KeyCode::kCtrl | KeyCode::kAlt | KeyCode::kWin)) != 0)
    {
        return S_FALSE;
    }
    const std::uint32_t vk = (key >> 16) & 0xFF;
    switch (vk)
    {
    case kVkReturn:
        // Without a current item, Enter goes on to the dialog.
        return ChooseCurrentItem();
    case kVkUp:
    case kVkDown:
    case kVkHome:
    case kVkEnd:
    case kVkPageUp:
    case kVkPageDown:
        if (const std::int32_t target = GetStepTarget(vk); target >= 0)
        {
            SelectRange(target);
        }
        return S_OK;
    default:
        return S_FALSE;
    }
}

std::int32_t LListBox::GetStepTarget(std::uint32_t vk) const
{
    const std::int32_t count = GetItemCount();
    if (count == 0)
    {
        return -1;
    }
    const std::int32_t page = std::max(1, GetFullRows() - 1);
    const bool none = mCurrent < 0;
    std::int32_t start = 0;
    std::int32_t direction = 1;
    // Home, End and the page keys land on an item even when they pass the ends.
    bool bounded = true;
    switch (vk)
    {
    case kVkUp:
        start = none ? count - 1 : mCurrent - 1;
        direction = -1;
        bounded = false;
        break;
    case kVkDown:
        start = none ? 0 : mCurrent + 1;
        bounded = false;
        break;
    case kVkHome:
        start = 0;
        break;
    case kVkEnd:
        start = count - 1;
        direction = -1;
        break;
    case kVkPageUp:
        start = none ? 0 : std::max(0, mCurrent - page);
        direction = -1;
        break;
    default:
        start = none ? count - 1 : std::min(count - 1, mCurrent + page);
        break;
    }
    for (std::int32_t i = start; i >= 0 && i < count; i += direction)
    {
        if (IsItemSelectable(i))
        {
            return i;
        }
    }
    for (std::int32_t i = start; bounded && i >= 0 && i < count; i -= direction)
    {
        if (IsItemSelectable(i))
        {
            return i;
        }
    }
    return -1;
}

// ---- rows ----

void LListBox::OnLayoutChangeEnd()
{
    LScrollView::OnLayoutChangeEnd();
    UpdateRows();
}

bool LListBox::SetShown(bool shown)
{
    // The rows are made before the base decides where the focus goes.
    if (shown)
    {
        UpdateRows(true);
    }
    return LScrollView::SetShown(shown);
}

void LListBox::OnClientRectChanged()
{
    LScrollView::OnClientRectChanged();
    UpdateRows();
}

std::int32_t LListBox::GetFullRows() const
{
    if (mRowHeight <= 0)
    {
        return 0;
    }
    return std::clamp(static_cast<std::int32_t>(GetClientRect().height / mRowHeight), 0, kMaxRows);
}

void LListBox::UpdateRows(bool showing)
{
    if (mUpdatingRows || !mTemplate || mRowHeight <= 0)
    {
        return;
    }
    const RCPtr<LControl> self(this);
    mUpdatingRows = true;
    const std::int32_t slots = CountRowSlots();
    const std::size_t before = mRows.size();
    // No row is made for a list hidden itself, most often a drop-down that may never open.
    const bool hidden = !showing && GetLayout() && !GetLayout()->shown;
    while (!hidden && static_cast<std::int32_t>(mRows.size()) < slots)
    {
        const RCPtr<LListBoxItem> row = CreateRow(static_cast<std::int32_t>(mRows.size()));
        if (!row)
        {
            break;
        }
        mRows.push_back(row);
        OnItemControlCreated(row);
    }
    while (static_cast<std::int32_t>(mRows.size()) > slots)
    {
        const RCPtr<LListBoxItem> row = mRows.back();
        mRows.pop_back();
        row->Destroy();
    }
    mUpdatingRows = false;
    // The same rows keep showing the same items; only the first row may have to move so that the
    // last item stays at the bottom.
    if (mRows.size() == before)
    {
        ScrollToRow(mFirstRow);
        return;
    }
    OnItemsChanged();
}

std::int32_t LListBox::CountRowSlots() const
{
    const double height = GetClientRect().height;
    std::int32_t slots = 0;
    for (double top = 0.0; top < height && slots < kMaxRows; ++slots)
    {
        const std::int32_t index = mFirstRow + slots;
        top += index < GetItemCount() ? std::max(1, GetItemHeight(index)) : mRowHeight;
    }
    return slots;
}

void LListBox::PlaceRow(LListBoxItem& row, double top, double height)
{
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    if (!row.GetLayout() || Failed(row.GetLayout()->GetAxisSpec(1, position, size)) ||
        (position.absolute == top && size.absolute == height))
    {
        return;
    }
    position.absolute = top;
    size.absolute = height;
    row.SetAxisLayout(1, position, size);
}

RCPtr<LListBoxItem> LListBox::CreateRow(std::int32_t row)
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    if (!factory)
    {
        return nullptr;
    }
    // The rows stay in place while the list scrolls: docked on y, one row height apart.
    const RCPtr<LLayoutDescriptor> layout = mTemplate->layout->Clone();
    layout->position[1] = {
        0.0f, LLayoutDescriptor::kClient, WideString(), 0.0f, static_cast<double>(row) * mRowHeight,
        true};
    layout->size[1] = {LLayoutDescriptor::kSibling, WideString(), 0.0f,
                       static_cast<double>(mRowHeight)};
    RCPtr<LControlDescriptor> descriptor;
    LControlDescriptor::CloneWithName(descriptor, mTemplate, WideString::FromFormat(u"row%d", row),
                                      layout);
    RCPtr<LControl> control;
    factory->CreateControl(control, descriptor, RCPtr<LControl>(this));
    RCPtr<LListBoxItem> item = RCPtr<LListBoxItem>::DynamicCastFrom(control);
    if (control && !item)
    {
        control->Destroy();
    }
    return item;
}

void LListBox::UpdateExtent()
{
    SetClientExtent(0.0, GetContentHeight());
}

std::int32_t LListBox::GetContentHeight() const
{
    return GetItemCount() * mRowHeight;
}

void LListBox::OnScrollOffsetChanged(const PointT<double>& previous, const PointT<double>& current)
{
    LScrollView::OnScrollOffsetChanged(previous, current);
    const std::int32_t first =
        mRowHeight > 0 ? static_cast<std::int32_t>(std::round(current.y / mRowHeight)) : 0;
    if (first != mFirstRow)
    {
        mFirstRow = first;
        RefreshRowsFrom(0);
    }
}

void LListBox::ScrollToRow(std::int32_t first)
{
    const std::int32_t last = std::max(0, GetItemCount() - std::max(1, GetFullRows()));
    first = std::clamp(first, 0, last);
    if (mRowHeight <= 0 || first == mFirstRow)
    {
        mFirstRow = mRowHeight > 0 ? first : 0;
        return;
    }
    PointT<double> offset = GetScrollOffset();
    offset.y = static_cast<double>(first) * mRowHeight;
    SetScrollOffset(offset);
}

void LListBox::EnsureVisible(std::int32_t index)
{
    const std::int32_t rows = std::max(1, GetFullRows());
    if (index < mFirstRow)
    {
        ScrollToRow(index);
    }
    else if (index >= mFirstRow + rows)
    {
        ScrollToRow(index - rows + 1);
    }
}

void LListBox::RefreshRowsFrom(std::int32_t row)
{
    for (std::int32_t r = std::max(0, row); r < static_cast<std::int32_t>(mRows.size()); ++r)
    {
        UpdateItemControl(r);
    }
}

QZRESULT LListBox::UpdateItemControl(std::int32_t row)
{
    if (row < 0 || row >= static_cast<std::int32_t>(mRows.size()))
    {
        return S_FALSE;
    }
    LListBoxItem& control = *mRows[Index(row)];
    const std::int32_t index = mFirstRow + row;
    const bool present = index < GetItemCount();
    double top = 0.0;
    for (std::int32_t above = mFirstRow; above < index; ++above)
    {
        top += above < GetItemCount() ? GetItemHeight(above) : mRowHeight;
    }
    PlaceRow(control, top, present ? GetItemHeight(index) : mRowHeight);
    WideString text;
    control.SetText(control.IsSeparatorMode() ? WideString() : GetItemText(text, index), false);
    control.SetSelected(present && GetItemAt(index).selected);
    control.SetEnabled(present);
    control.SetShown(present);
    control.UpdateLook();
    return S_OK;
}

RCPtr<LListBoxItem> LListBox::GetRowForItem(std::int32_t index) const
{
    const std::int32_t row = index - mFirstRow;
    if (index < 0 || index >= GetItemCount() || row < 0 ||
        row >= static_cast<std::int32_t>(mRows.size()))
    {
        return nullptr;
    }
    return mRows[Index(row)];
}

RectT<double> LListBox::GetItemRect(std::int32_t index) const
{
    const RCPtr<LListBoxItem> row = GetRowForItem(index);
    return row ? GetRowRect(*row) : RectT<double>();
}

RectT<double> LListBox::GetRowRect(const LListBoxItem& row) const
{
    // The rows stay in place while the content scrolls under them.
    const PointT<double> origin = row.GetPosition() - GetScrollOffset();
    return {origin.x, origin.y, row.GetSize().x, row.GetSize().y};
}

void LListBox::SetContentWidth(double width)
{
    const double frame = GetSize().x - GetLookClientRect(0).width;
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    if (!GetLayout() || Failed(GetLayout()->GetAxisSpec(0, position, size)))
    {
        return;
    }
    SetAxisLayout(0, position, {LLayoutDescriptor::kSibling, WideString(), 0.0f, width + frame});
}

std::int32_t LListBox::GetRowIndex(const LListBoxItem& row) const
{
    for (std::size_t r = 0; r < mRows.size(); ++r)
    {
        if (mRows[r].Get() == &row)
        {
            return static_cast<std::int32_t>(r);
        }
    }
    return -1;
}

std::int32_t LListBox::GetItemAtPoint(const PointT<double>& point) const
{
    for (std::size_t r = 0; r < mRows.size(); ++r)
    {
        const RectT<double> rect = GetRowRect(*mRows[r]);
        const std::int32_t index = mFirstRow + static_cast<std::int32_t>(r);
        if (index < GetItemCount() && point.x >= rect.x && point.y >= rect.y &&
            point.x < rect.x + rect.width && point.y < rect.y + rect.height)
        {
            return index;
        }
    }
    return -1;
}

// ---- what the rows report ----

void LListBox::OnRowConditionsChanged(const LListBoxItem& row, const LConditionsParam& conditions)
{
    const std::int32_t r = GetRowIndex(row);
    const std::int32_t index = r < 0 ? -1 : mFirstRow + r;
    if (index < 0 || index >= GetItemCount())
    {
        return;
    }
    const RCPtr<LControl> self(this);
    const std::uint32_t now = conditions.GetConditions();
    const std::uint32_t changed = now ^ conditions.GetPreviousConditions();
    const auto send = [&](const char16_t* identifier)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, identifier,
                              RCPtr<LRefCountedObject>(LItemConditionsParam::Create(
                                  now, conditions.GetPreviousConditions(),
                                  conditions.GetFirstValue(), conditions.GetSecondValue(), index)));
        Distribute(notification);
    };
    if ((changed & kHover) != 0)
    {
        send(NID_ITEM_HOVER_CONDITION_CHANGE);
    }
    if ((changed & kLeftDragBits) != 0)
    {
        send(NID_ITEM_LEFT_DRAG_CONDITION_CHANGE);
    }
    if (mHoverSelect && (changed & now & kPointerOver) != 0 && IsItemSelectable(index))
    {
        Select(index, -1, true, false);
    }
}

void LListBox::OnRowClicked(const LListBoxItem& row)
{
    const std::int32_t r = GetRowIndex(row);
    const std::int32_t index = r < 0 ? -1 : mFirstRow + r;
    if (!IsItemSelectable(index))
    {
        return;
    }
    const RCPtr<LControl> self(this);
    Select(index, -1, true, false);
    ChooseCurrentItem();
}

void LListBox::OnRowDragMove(const LListBoxItem& row, const PointT<double>& point)
{
    const RCPtr<LControl> self(this);
    const RectT<double> rect = GetRowRect(row);
    OnDragMove(PointT<double>(rect.x + point.x, rect.y + point.y));
}

void LListBox::OnDragMove(const PointT<double>& point)
{
    const std::int32_t index = GetItemAtPoint(point);
    if (index != mCurrent && IsItemSelectable(index))
    {
        Select(index, -1, true, false);
    }
}

} // namespace QZ
