#include "QZFramework/Notification/NotificationID.h"

#include <string_view>
#include <vector>

namespace QZ
{
namespace
{

// Entries keep their character buffers when the vector grows: a string moves its shared buffer,
// never the characters.
std::vector<StringT<char16_t, char>>& GetTable()
{
    // Never destroyed: identifiers stay valid while static objects are torn down.
    static auto* table = new std::vector<StringT<char16_t, char>>();
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
    std::vector<StringT<char16_t, char>>& table = GetTable();
    for (auto entry = table.rbegin(); entry != table.rend(); ++entry)
    {
        if (entry->GetString() == text)
        {
            return text;
        }
    }
    const std::u16string_view wanted(text);
    for (const StringT<char16_t, char>& entry : table)
    {
        if (std::u16string_view(entry.GetString(), static_cast<std::size_t>(entry.GetLength())) ==
            wanted)
        {
            return entry.GetString();
        }
    }
    table.emplace_back(text);
    return table.back().GetString();
}

StringT<char16_t, char> GetNotificationIDString(const char16_t* identifier)
{
    Mutex::ScopedLock lock(GetNotificationLock());
    for (const StringT<char16_t, char>& entry : GetTable())
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
    return GetTable().size();
}

} // namespace QZ
