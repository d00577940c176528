// A menu: an ordered list of items, each of which may hold a submenu of its own (an item is a menu
// too). Menus are built from string-table entries; every popup that shows one takes its own deep
// copy (Clone), so that it can change its items' states and hot-key texts without touching the
// menu it was given. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/MenuItemState.h"
#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LMenuItemDescriptor;

class LMenuDescriptor : public virtual LRefCountedObject
{
public:
    // Submenus nest at most this deep; deeper entries are not menu items.
    static constexpr std::size_t kMaxDepth = 32;

    LMenuDescriptor();
    ~LMenuDescriptor() override;

    // Builds a menu from (key, text) entries, whatever their order. A key is one or more
    // "."-separated decimal positions and then the command the item sends ("-" for a separator):
    // "03.NID_OPEN" is the item at position 3, "03.01.NID_RECENT" the item at position 1 of its
    // submenu. Items take the numeric order of their positions; a submenu's owner that has no
    // entry of its own gets an empty label. The text is the label, then "|" and the status-bar
    // help, both trimmed of blanks. Keys without a position are not menu items. Returns 0.
    static QZRESULT BuildFromStringEntries(RCPtr<LMenuDescriptor>& out,
                                           const LStringEntries& entries);

    // A copy of the menu with copies of all its items, submenus included.
    [[nodiscard]] virtual RCPtr<LMenuDescriptor> Clone() const;
    // 0 and the item's enabled and check flags and text; E_INVALIDARG and an empty state for an
    // index outside the menu.
    QZRESULT GetItemInfo(std::int32_t index, MenuItemState& state) const;

    [[nodiscard]] std::int32_t GetItemCount() const
    {
        return static_cast<std::int32_t>(mItems.size());
    }
    [[nodiscard]] bool HasItems() const { return !mItems.empty(); }
    // The item at the index; null outside the menu.
    [[nodiscard]] RCPtr<LMenuItemDescriptor> GetItemAt(std::int32_t index) const;
    // Adds the item at the end; an empty pointer adds nothing.
    void AppendItem(const RCPtr<LMenuItemDescriptor>& item);

protected:
    // Replaces the items, which a copy shares with its original, by copies of their own.
    void CloneItems();

private:
    std::vector<RCPtr<LMenuItemDescriptor>> mItems;
};

} // namespace QZ
