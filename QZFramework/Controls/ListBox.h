// A scrolling list of items shown in rows.
//
// Each item is a record of a tag object (its text form is the item's text), a value, two flags
// whose meaning belongs to the owner, and its selection state. The rows are clones of the skin's
// deferred child "item" (an LListBoxItem), named "row0", "row1", ..., one per row that fits the
// client area; they do not scroll with the content but show the items from the first row shown
// on, which the vertical bar moves by whole rows. A list hidden itself (a drop-down) makes its
// rows when it is first shown. At initialisation the list takes its items from its string table's
// "ITEM.<number>" entries in number order.
//
// Keys: Up, Down, Home, End, Page Up and Page Down move the current item (the selection follows),
// Enter chooses it; a click on a row chooses its item, and a drag across the rows makes the item
// under the pointer current (so does mere pointing, with hover selection on). Choosing sends
// "NID_ITEM_ACTIVATED" with the item's tag and index. The pointer entering or leaving a row, and
// the left button going down, dragging or coming up on one, send
// "NID_ITEM_HOVER_CONDITION_CHANGE" and "NID_ITEM_LEFT_DRAG_CONDITION_CHANGE" with the row's
// conditions and the item's index. User-interface thread only.
#pragma once

#include "QZFramework/Controls/ScrollView.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LListBoxItem;

class LListBox : public LScrollView
{
public:
    struct Item
    {
        // Any shared object: a taggable text, or an owner's own record such as a menu item.
        RCPtr<LRefCountedObject> tag;
        double value = 0.0;
        bool flagA = false;
        bool flagB = false;
        bool selected = false;
    };

    LListBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LListBox() override;

    // The base, then the row template, the items of the string table and the rows.
    QZRESULT Initialize() override;
    void OnLayoutChangeEnd() override;
    bool SetShown(bool shown) override;
    void OnScrollOffsetChanged(const PointT<double>& previous,
                               const PointT<double>& current) override;
    // Key-down events go to OnKeyDown.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    QZRESULT ReleaseInternalReferences() override;

    // ---- items ----
    [[nodiscard]] std::int32_t GetItemCount() const
    {
        return static_cast<std::int32_t>(mItems.size());
    }
    // No bounds check: the index must be below the item count.
    [[nodiscard]] Item& GetItemAt(std::int32_t index) { return mItems[Index(index)]; }
    [[nodiscard]] const Item& GetItemAt(std::int32_t index) const { return mItems[Index(index)]; }
    // Inserts a cleared item; E_INVALIDARG for an index outside 0..count.
    virtual QZRESULT InsertItemAt(std::int32_t index);
    // Removes the item, later ones moving down; E_INVALIDARG for an index outside the items.
    virtual QZRESULT RemoveItemAt(std::int32_t index);
    // Removes items from the end or appends cleared ones; E_INVALIDARG for a negative count.
    virtual QZRESULT SetItemCount(std::int32_t count);
    // Exchanges two items; E_INVALIDARG for an index outside the items.
    virtual QZRESULT SwapItems(std::int32_t first, std::int32_t second);
    // Sets the record (the selection stays) and refreshes its row; E_INVALIDARG outside.
    QZRESULT SetItem(std::int32_t index, const RCPtr<LRefCountedObject>& tag, double value,
                     bool flagA, bool flagB);
    // The tag's text form; empty without tag or for an index outside the items.
    WideString& GetItemText(WideString& text, std::int32_t index) const;
    // Appends one item per text, its tag holding the text.
    void AddTextItems(const std::vector<WideString>& texts);
    // The texts of the table's "ITEM.<decimal number>" entries in number order (equal numbers in
    // key order); none without a table.
    static void ReadItemTexts(const RCPtr<LStringTable>& table, std::vector<WideString>& texts);

    // ---- selection ----
    [[nodiscard]] std::int32_t GetCurrentIndex() const { return mCurrent; }
    [[nodiscard]] bool IsItemSelected(std::int32_t index) const;
    // Deselects every item; no item is current afterwards.
    void ClearSelection();
    // Selects first..last (last -1: only first; a last past the items stops at the last item),
    // exclusive deselecting the others, and makes first the current item, scrolled into view.
    // E_INVALIDARG, changing nothing, for a first outside the items.
    QZRESULT SelectRange(std::int32_t first, std::int32_t last = -1, bool exclusive = true);
    // Chooses the current item (OnItemChosen); 1 when there is none.
    QZRESULT ChooseCurrentItem();
    // The item under the pointer becomes the current one, when IsItemSelectable lets it.
    void SetHoverSelect(bool on) { mHoverSelect = on; }
    [[nodiscard]] bool IsHoverSelect() const { return mHoverSelect; }
    [[nodiscard]] virtual bool IsItemSelectable(std::int32_t index) const;

    // ---- rows ----
    [[nodiscard]] std::int32_t GetRowHeight() const { return mRowHeight; }
    [[nodiscard]] std::int32_t GetFirstRowShown() const { return mFirstRow; }
    [[nodiscard]] const std::vector<RCPtr<LListBoxItem>>& GetRowControls() const { return mRows; }
    // The row showing the item, null when none does.
    [[nodiscard]] RCPtr<LListBoxItem> GetRowForItem(std::int32_t index) const;
    // The rectangle of the row showing the item, in the list's own coordinates; empty when no
    // row shows it.
    [[nodiscard]] RectT<double> GetItemRect(std::int32_t index) const;
    // Makes the list as wide as its client area needs to be that wide.
    void SetContentWidth(double width);
    // Refreshes every row from that one on (UpdateItemControl).
    void RefreshRowsFrom(std::int32_t row);
    // Scrolls the least so that the item's row is shown in full.
    void EnsureVisible(std::int32_t index);
    // Makes that item the first row shown, as far as the items reach.
    void ScrollToRow(std::int32_t first);
    // The height of all items: count x row height.
    [[nodiscard]] virtual std::int32_t GetContentHeight() const;
    // The height of the item's row (the row height; a popup menu's separators are thinner). The
    // rows are stacked by these heights from the first row shown.
    [[nodiscard]] virtual std::int32_t GetItemHeight(std::int32_t /*index*/) const
    {
        return mRowHeight;
    }

    // ---- what the rows report ----
    void OnRowConditionsChanged(const LListBoxItem& row, const LConditionsParam& conditions);
    void OnRowClicked(const LListBoxItem& row);
    // A move during a left drag on a row, in the list's coordinates.
    void OnRowDragMove(const LListBoxItem& row, const PointT<double>& point);

protected:
    // Up, Down, Home, End, Page Up, Page Down and Enter; 1 for other keys.
    virtual QZRESULT OnKeyDown(std::uint32_t key);
    // Sends "NID_ITEM_ACTIVATED" with the item's tag and index.
    virtual void OnItemChosen(std::int32_t index);
    virtual void OnCurrentItemChanged(std::int32_t /*previous*/) {}
    virtual void OnItemControlCreated(const RCPtr<LListBoxItem>& /*row*/) {}
    // Shows the item of the row (first row shown + row) in it: text, separator mode, selection
    // and enabled state; a row past the items is empty and disabled. 1 for a row that is not.
    virtual QZRESULT UpdateItemControl(std::int32_t row);
    // The item under the point becomes current when it may be selected.
    virtual void OnDragMove(const PointT<double>& point);
    // The item whose row lies under the point (list coordinates); -1 when none.
    [[nodiscard]] std::int32_t GetItemAtPoint(const PointT<double>& point) const;
    // Makes the item current without touching the selection (-1: none).
    void SetCurrentIndex(std::int32_t index);
    void SendItemNotification(const char16_t* identifier, std::int32_t index);
    // Rows and extent after the items changed.
    void OnItemsChanged();
    void OnClientRectChanged() override;

private:
    [[nodiscard]] static std::size_t Index(std::int32_t index)
    {
        return static_cast<std::size_t>(index);
    }
    [[nodiscard]] std::int32_t GetRowIndex(const LListBoxItem& row) const;
    [[nodiscard]] RectT<double> GetRowRect(const LListBoxItem& row) const;
    [[nodiscard]] std::int32_t GetFullRows() const;
    // Rows that begin inside the client area, stacked by the items' heights.
    [[nodiscard]] std::int32_t CountRowSlots() const;
    // Puts the row at top with the height, when it is not there already.
    static void PlaceRow(LListBoxItem& row, double top, double height);
    [[nodiscard]] std::int32_t GetStepTarget(std::uint32_t vk) const;
    QZRESULT Select(std::int32_t first, std::int32_t last, bool exclusive, bool scroll);
    // Makes or destroys rows to fill the client area; a list hidden itself gets no new row unless
    // it is being shown.
    void UpdateRows(bool showing = false);
    RCPtr<LListBoxItem> CreateRow(std::int32_t row);
    void UpdateExtent();

    std::vector<Item> mItems;
    std::vector<RCPtr<LListBoxItem>> mRows;
    ConstRCPtr<LControlDescriptor> mTemplate;
    std::int32_t mRowHeight = 0;
    std::int32_t mCurrent = -1;
    std::int32_t mFirstRow = 0;
    bool mHoverSelect = false;
    bool mUpdatingRows = false;
    // While above 0, item changes leave the rows and the extent alone.
    std::int32_t mDeferRefresh = 0;
};

} // namespace QZ
