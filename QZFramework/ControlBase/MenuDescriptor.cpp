#include "QZFramework/ControlBase/MenuDescriptor.h"

#include "QZFramework/ControlBase/MenuItemDescriptor.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace QZ
{
namespace
{

// An item's position in its menu and the positions of its owners, outermost first; each position
// is kept as its decimal digits without leading zeros, so any number of digits orders exactly.
using MenuPath = std::vector<std::u16string>;

struct PathLess
{
    bool operator()(const MenuPath& left, const MenuPath& right) const
    {
        return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                            [](const std::u16string& a, const std::u16string& b) {
                                                return a.size() != b.size() ? a.size() < b.size()
                                                                            : a < b;
                                            });
    }
};

struct MenuEntry
{
    MenuPath path;
    std::u16string_view command;
    const LStringEntry* entry;
};

using ItemsByPath = std::map<MenuPath, RCPtr<LMenuItemDescriptor>, PathLess>;

bool IsBlank(char16_t unit)
{
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

WideString Trimmed(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back()))
    {
        text.remove_suffix(1);
    }
    return WideString(std::u16string(text).c_str());
}

// The position of a decimal segment; nothing for a segment that is not one.
std::optional<std::u16string> ReadPosition(std::u16string_view segment)
{
    if (segment.empty() || !std::all_of(segment.begin(), segment.end(),
                                        [](char16_t unit) { return unit >= u'0' && unit <= u'9'; }))
    {
        return std::nullopt;
    }
    const std::size_t first = std::min(segment.find_first_not_of(u'0'), segment.size() - 1);
    return std::u16string(segment.substr(first));
}

// Splits "a.b.COMMAND" into its positions and command; nothing for a key that is not an item.
std::optional<MenuEntry> ReadEntry(const LStringEntry& entry)
{
    const std::u16string_view key(entry.key.GetString(), entry.key.GetLength());
    const std::size_t lastDot = key.rfind(u'.');
    if (lastDot == std::u16string_view::npos)
    {
        return std::nullopt;
    }
    MenuEntry result{{}, key.substr(lastDot + 1), &entry};
    std::u16string_view positions = key.substr(0, lastDot);
    while (result.path.size() < LMenuDescriptor::kMaxDepth)
    {
        const std::size_t dot = positions.find(u'.');
        const std::optional<std::u16string> position = ReadPosition(positions.substr(0, dot));
        if (!position)
        {
            return std::nullopt;
        }
        result.path.push_back(*position);
        if (dot == std::u16string_view::npos)
        {
            return result;
        }
        positions.remove_prefix(dot + 1);
    }
    return std::nullopt;
}

RCPtr<LMenuItemDescriptor> MakeItem(const MenuEntry& entry)
{
    RCPtr<LMenuItemDescriptor> item(new LMenuItemDescriptor);
    if (entry.command == u"-")
    {
        item->SetSeparator(true);
        return item;
    }
    item->SetCommand(WideString(std::u16string(entry.command).c_str()));
    const std::u16string_view text(entry.entry->text.GetString(), entry.entry->text.GetLength());
    const std::size_t bar = text.find(u'|');
    item->SetText(Trimmed(text.substr(0, bar)));
    if (bar != std::u16string_view::npos)
    {
        item->SetStatusText(Trimmed(text.substr(bar + 1)));
    }
    return item;
}

// The menu that holds the item at the path: the root menu, the first item defined at the owner's
// path, or an empty-labelled owner made for it.
LMenuDescriptor& FindOwner(LMenuDescriptor& root, ItemsByPath& items, const MenuPath& path)
{
    if (path.size() == 1)
    {
        return root;
    }
    const MenuPath ownerPath(path.begin(), path.end() - 1);
    const auto found = items.find(ownerPath);
    if (found != items.end())
    {
        return *found->second;
    }
    RCPtr<LMenuItemDescriptor> owner(new LMenuItemDescriptor);
    FindOwner(root, items, ownerPath).AppendItem(owner);
    items.emplace(ownerPath, owner);
    return *owner;
}

} // namespace

LMenuDescriptor::LMenuDescriptor() = default;

LMenuDescriptor::~LMenuDescriptor() = default;

QZRESULT LMenuDescriptor::BuildFromStringEntries(RCPtr<LMenuDescriptor>& out,
                                                 const LStringEntries& entries)
{
    std::vector<MenuEntry> menuEntries;
    for (const LStringEntry& entry : entries)
    {
        if (std::optional<MenuEntry> menuEntry = ReadEntry(entry))
        {
            menuEntries.push_back(std::move(*menuEntry));
        }
    }
    // In path order an owner comes before its submenu and after its earlier siblings' submenus,
    // so appending in this order gives every menu its items in order. Entries sharing a position
    // all stay, in the order given; the first of them owns the submenu.
    std::stable_sort(menuEntries.begin(), menuEntries.end(),
                     [](const MenuEntry& a, const MenuEntry& b)
                     { return PathLess()(a.path, b.path); });
    out = RCPtr<LMenuDescriptor>(new LMenuDescriptor);
    ItemsByPath items;
    for (const MenuEntry& entry : menuEntries)
    {
        const RCPtr<LMenuItemDescriptor> item = MakeItem(entry);
        FindOwner(*out, items, entry.path).AppendItem(item);
        items.emplace(entry.path, item);
    }
    return S_OK;
}

RCPtr<LMenuDescriptor> LMenuDescriptor::Clone() const
{
    RCPtr<LMenuDescriptor> copy(new LMenuDescriptor(*this));
    copy->CloneItems();
    return copy;
}

void LMenuDescriptor::CloneItems()
{
    for (RCPtr<LMenuItemDescriptor>& item : mItems)
    {
        item = item->CloneItem();
    }
}

QZRESULT LMenuDescriptor::GetItemInfo(std::int32_t index, MenuItemState& state) const
{
    const RCPtr<LMenuItemDescriptor> item = GetItemAt(index);
    if (!item)
    {
        state = MenuItemState();
        return E_INVALIDARG;
    }
    state = {item->IsEnabled(), item->IsChecked(), item->GetText()};
    return S_OK;
}

RCPtr<LMenuItemDescriptor> LMenuDescriptor::GetItemAt(std::int32_t index) const
{
    return index >= 0 && index < GetItemCount() ? mItems[static_cast<std::size_t>(index)]
                                                : RCPtr<LMenuItemDescriptor>();
}

void LMenuDescriptor::AppendItem(const RCPtr<LMenuItemDescriptor>& item)
{
    if (item)
    {
        mItems.push_back(item);
    }
}

} // namespace QZ
