#include "Platform/Settings/IniDocument.h"

#include "Platform/Settings/IniFileManagerLibrary.h"
#include "Platform/Settings/IniText.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace IniSettings
{
namespace
{

struct NodeParts
{
    std::string_view section;
    std::string_view key;
};

NodeParts SplitNode(std::string_view node)
{
    const std::size_t slash = node.rfind('/');
    if (slash == std::string_view::npos)
    {
        return {std::string_view(), node};
    }
    return {node.substr(0, slash), node.substr(slash + 1)};
}

const IniEntry* FindEntry(const IniSection& section, std::string_view key)
{
    const auto found = std::find_if(section.entries.begin(), section.entries.end(),
                                    [&](const IniEntry& entry) { return entry.key == key; });
    return found == section.entries.end() ? nullptr : &*found;
}

IniEntry* FindEntry(IniSection& section, std::string_view key)
{
    return const_cast<IniEntry*>(FindEntry(std::as_const(section), key));
}

std::int32_t CountItems(const IniSection& section)
{
    std::int32_t count = 0;
    for (const IniEntry& entry : section.entries)
    {
        if (const std::optional<std::int32_t> index = ParseItemIndex(entry.key))
        {
            count = std::max(count, *index + 1);
        }
    }
    return count;
}

void SetEntry(IniSection& section, std::string_view key, std::string_view value)
{
    if (IniEntry* entry = FindEntry(section, key))
    {
        entry->value = value;
        return;
    }
    section.entries.push_back(IniEntry{std::string(key), std::string(value)});
}

// Keeps the last item present, so the count survives when the items below it are missing.
void KeepLastItem(IniSection& section, std::int32_t count)
{
    const std::string last = std::to_string(count - 1);
    if (count > 0 && FindEntry(section, last) == nullptr)
    {
        section.entries.push_back(IniEntry{last, std::string()});
    }
}

// Other keys first, in their order, then the items by number.
void SortItems(IniSection& section)
{
    const auto isKey = [](const IniEntry& entry) { return !ParseItemIndex(entry.key); };
    const auto items = std::stable_partition(section.entries.begin(), section.entries.end(), isKey);
    std::sort(items, section.entries.end(),
              [](const IniEntry& a, const IniEntry& b)
              { return *ParseItemIndex(a.key) < *ParseItemIndex(b.key); });
}

} // namespace

IniDocument::IniDocument() : mSections(1) {}

const IniSection* IniDocument::FindSection(std::string_view path) const
{
    const auto found =
        std::find_if(mSections.begin(), mSections.end(),
                     [&](const IniSection& section) { return section.path == path; });
    return found == mSections.end() ? nullptr : &*found;
}

IniSection* IniDocument::FindMutableSection(std::string_view path)
{
    return const_cast<IniSection*>(std::as_const(*this).FindSection(path));
}

IniSection& IniDocument::GetOrAddSection(std::string_view path)
{
    if (IniSection* section = FindMutableSection(path))
    {
        return *section;
    }
    return mSections.emplace_back(IniSection{std::string(path), {}});
}

bool IniDocument::NodeExists(std::string_view node) const
{
    if (node.empty() || FindValue(node) != nullptr)
    {
        return true;
    }
    return std::any_of(mSections.begin(), mSections.end(),
                       [&](const IniSection& section)
                       {
                           const std::string_view path = section.path;
                           return path.starts_with(node) &&
                                  (path.size() == node.size() || path[node.size()] == '/');
                       });
}

const std::string* IniDocument::FindValue(std::string_view node) const
{
    const NodeParts parts = SplitNode(node);
    const IniSection* section = FindSection(parts.section);
    const IniEntry* entry = section != nullptr ? FindEntry(*section, parts.key) : nullptr;
    return entry != nullptr ? &entry->value : nullptr;
}

void IniDocument::SetValue(std::string_view node, std::string_view value)
{
    const NodeParts parts = SplitNode(node);
    SetEntry(GetOrAddSection(parts.section), parts.key, value);
}

std::int32_t IniDocument::GetKeyCount(std::string_view node) const
{
    const IniSection* section = FindSection(node);
    return section != nullptr ? static_cast<std::int32_t>(section->entries.size()) : 0;
}

std::int32_t IniDocument::GetKeyNameAt(std::string_view node, std::int32_t index,
                                       std::string& name) const
{
    if (index < 0 || index >= GetKeyCount(node))
    {
        return INI_RESULT_NO_SUCH_INDEX;
    }
    name = FindSection(node)->entries[static_cast<std::size_t>(index)].key;
    return INI_RESULT_OK;
}

std::int32_t IniDocument::GetArrayCount(std::string_view node) const
{
    const IniSection* section = FindSection(node);
    return section != nullptr ? CountItems(*section) : 0;
}

std::int32_t IniDocument::GetArrayItemAt(std::string_view node, std::int32_t index,
                                         std::string& item) const
{
    if (index < 0 || index >= GetArrayCount(node))
    {
        return INI_RESULT_NO_SUCH_INDEX;
    }
    const IniEntry* entry = FindEntry(*FindSection(node), std::to_string(index));
    item = entry != nullptr ? entry->value : std::string();
    return INI_RESULT_OK;
}

void IniDocument::SetArrayCount(std::string_view node, std::int32_t count)
{
    if (count == 0 && FindSection(node) == nullptr)
    {
        return;
    }
    IniSection& section = GetOrAddSection(node);
    std::erase_if(section.entries,
                  [&](const IniEntry& entry)
                  {
                      const std::optional<std::int32_t> index = ParseItemIndex(entry.key);
                      return index && *index >= count;
                  });
    KeepLastItem(section, count);
    SortItems(section);
}

void IniDocument::SetArrayItemAt(std::string_view node, std::int32_t index, std::string_view text)
{
    IniSection& section = GetOrAddSection(node);
    SetEntry(section, std::to_string(index), text);
    SortItems(section);
}

std::int32_t IniDocument::RemoveArrayItemAt(std::string_view node, std::int32_t index)
{
    const std::int32_t count = GetArrayCount(node);
    if (index < 0 || index >= count)
    {
        return INI_RESULT_NO_SUCH_INDEX;
    }
    IniSection& section = *FindMutableSection(node);
    std::erase_if(section.entries,
                  [&](const IniEntry& entry) { return ParseItemIndex(entry.key) == index; });
    for (IniEntry& entry : section.entries)
    {
        const std::optional<std::int32_t> item = ParseItemIndex(entry.key);
        if (item && *item > index)
        {
            entry.key = std::to_string(*item - 1);
        }
    }
    KeepLastItem(section, count - 1);
    SortItems(section);
    return INI_RESULT_OK;
}

} // namespace IniSettings
