#include "QZFramework/Notification/NotificationID.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>
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

// The table's identifiers by their text; the views point into the table's own buffers. Every
// notification made looks its identifier up here, so the look-up must not grow with the table.
std::unordered_map<std::u16string_view, const char16_t*>& GetIndex()
{
    static auto* index = new std::unordered_map<std::u16string_view, const char16_t*>();
    return *index;
}

// The identifiers handed out, so that one given back is known by its address alone.
std::unordered_set<const char16_t*>& GetInterned()
{
    static auto* interned = new std::unordered_set<const char16_t*>();
    return *interned;
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
    if (GetInterned().count(text) != 0)
    {
        return text;
    }
    std::unordered_map<std::u16string_view, const char16_t*>& index = GetIndex();
    const auto found = index.find(std::u16string_view(text));
    if (found != index.end())
    {
        return found->second;
    }
    std::vector<StringT<char16_t, char>>& table = GetTable();
    table.emplace_back(text);
    const StringT<char16_t, char>& entry = table.back();
    index.emplace(std::u16string_view(entry.GetString(), static_cast<std::size_t>(entry.GetLength())),
                  entry.GetString());
    GetInterned().insert(entry.GetString());
    return entry.GetString();
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
