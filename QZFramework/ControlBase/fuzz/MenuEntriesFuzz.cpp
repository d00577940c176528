// Builds menus from arbitrary string-table entries (the input's lines, each a key, a tab and a
// text, read as UTF-8): the tree never nests deeper than the limit, holds no more items than the
// entries' positions can make, and its clone is an equal tree of new objects.
#include "QZFramework/ControlBase/MenuItemDescriptor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace
{

void Check(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

// Compares the two trees item by item; returns the number of items.
std::size_t CheckCopy(const QZ::LMenuDescriptor& menu, const QZ::LMenuDescriptor& copy,
                      std::size_t depth)
{
    Check(depth <= QZ::LMenuDescriptor::kMaxDepth);
    Check(menu.GetItemCount() == copy.GetItemCount());
    QZ::MenuItemState state;
    Check(menu.GetItemInfo(menu.GetItemCount(), state) == QZ::E_INVALIDARG);
    std::size_t count = 0;
    for (std::int32_t i = 0; i < menu.GetItemCount(); ++i)
    {
        const QZ::RCPtr<QZ::LMenuItemDescriptor> item = menu.GetItemAt(i);
        const QZ::RCPtr<QZ::LMenuItemDescriptor> other = copy.GetItemAt(i);
        Check(item.Get() != other.Get());
        Check(item->GetText() == other->GetText() && item->GetCommand() == other->GetCommand() &&
              item->GetStatusText() == other->GetStatusText() &&
              item->IsSeparator() == other->IsSeparator());
        Check(!item->IsSeparator() || item->GetText().IsEmpty());
        count += 1 + CheckCopy(*item, *other, depth + 1);
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    QZ::LStringEntries entries;
    std::size_t positions = 0;
    for (std::size_t start = 0; start <= input.size();)
    {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        const std::string_view line = input.substr(start, end - start);
        const std::size_t tab = std::min(line.find('\t'), line.size());
        const std::string key(line.substr(0, tab));
        const std::string text(line.substr(std::min(tab + 1, line.size())));
        entries.push_back({QZ::WideString(key.c_str()), QZ::WideString(text.c_str())});
        positions += static_cast<std::size_t>(std::count(key.begin(), key.end(), '.'));
        start = end + 1;
    }
    QZ::RCPtr<QZ::LMenuDescriptor> menu;
    Check(QZ::LMenuDescriptor::BuildFromStringEntries(menu, entries) == QZ::S_OK && menu);
    Check(CheckCopy(*menu, *menu->Clone(), 0) <= positions);
    return 0;
}
