#include "QZFramework/ControlBase/StringTable.h"

namespace QZ
{

bool LStringTable::Lookup(const char16_t* key, WideString& text) const
{
    if (key == nullptr)
    {
        return false;
    }
    const auto found = mTexts.find(std::u16string_view(key));
    if (found == mTexts.end())
    {
        return false;
    }
    text = found->second;
    return true;
}

void LStringTable::GetEntriesWithPrefix(const char16_t* prefix, LStringEntries& entries) const
{
    const std::u16string_view start = prefix != nullptr ? prefix : u"";
    for (auto entry = mTexts.lower_bound(start);
         entry != mTexts.end() && entry->first.starts_with(start); ++entry)
    {
        entries.push_back({WideString(entry->first.c_str()), entry->second});
    }
}

QZRESULT LStringTable::GetAllEntries(LStringEntries& entries) const
{
    entries.clear();
    GetEntriesWithPrefix(u"", entries);
    return S_OK;
}

void LStringTable::SetString(std::u16string_view key, const WideString& text)
{
    const auto found = mTexts.find(key);
    if (found != mTexts.end())
    {
        found->second = text;
        return;
    }
    mTexts.emplace(std::u16string(key), text);
}

} // namespace QZ
