#include "QZFramework/Notification/NotificationID.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace QZ
{
namespace
{

// The interned texts, an index from each text to its interned identifier, and the identifiers
// themselves, so that an identifier given again is known by its address without reading its text
// (notifications are made from interned identifiers on every delivery). Entries keep their
// character buffers when the vector grows (a string moves its shared buffer, never the
// characters), so the index's views of them stay valid.
struct IdentifierTable
{
    std::vector<StringT<char16_t, char>> entries;
    std::unordered_map<std::u16string_view, const char16_t*> byText;
    std::unordered_set<const char16_t*> identifiers;
};

IdentifierTable& GetTable()
{
    // Never destroyed: identifiers stay valid while static objects are torn down.
    static auto* table = new IdentifierTable();
    return *table;
}

} // namespace

Mutex& GetNotificationLock()
{
    static auto* lock = new Mutex();
    return *lock;
}

const char16_t* GetNotificationID(const char16_t* text)
{
    if (text == nullptr || text[0] == 0)
    {
        return nullptr;
    }
    Mutex::ScopedLock lock(GetNotificationLock());
    IdentifierTable& table = GetTable();
    if (table.identifiers.count(text) != 0)
    {
        return text;
    }
    if (const auto found = table.byText.find(std::u16string_view(text));
        found != table.byText.end())
    {
        return found->second;
    }
    const StringT<char16_t, char>& entry = table.entries.emplace_back(text);
    table.byText.emplace(
        std::u16string_view(entry.GetString(), static_cast<std::size_t>(entry.GetLength())),
        entry.GetString());
    table.identifiers.insert(entry.GetString());
    return entry.GetString();
}

StringT<char16_t, char> GetNotificationIDString(const char16_t* identifier)
{
    Mutex::ScopedLock lock(GetNotificationLock());
    for (const StringT<char16_t, char>& entry : GetTable().entries)
    {
        if (entry.GetString() == identifier)
        {
            return entry;
        }
    }
    return StringT<char16_t, char>();
}

std::size_t GetNotificationIDCount()
{
    Mutex::ScopedLock lock(GetNotificationLock());
    return GetTable().entries.size();
}

} // namespace QZ
