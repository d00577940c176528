// A string table: the texts of one table ID, one text per key, already chosen for the locale in
// force when the table was read. The same class holds a control descriptor's create parameters
// (key = the parameter's ID, text = its value).
//
// Tables are filled while a skin or string-table source is read and only read afterwards, on the
// user-interface thread.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace QZ
{

struct LStringEntry
{
    WideString key;
    WideString text;
};
using LStringEntries = std::vector<LStringEntry>;

class LStringTable : public virtual LRefCountedObject
{
public:
    explicit LStringTable(const WideString& id) : mID(id) {}

    // True and the key's text; false, leaving text as it was, when the table lacks the key.
    bool Lookup(const char16_t* key, WideString& text) const;
    // Appends the entries whose key starts with the prefix, in ascending key order.
    void GetEntriesWithPrefix(const char16_t* prefix, LStringEntries& entries) const;
    // Clears the list and fills it with every entry in ascending key order (UTF-16 units
    // compared in turn). Returns 0.
    QZRESULT GetAllEntries(LStringEntries& entries) const;

    // Adds the entry, replacing the text of a key already present.
    void SetString(std::u16string_view key, const WideString& text);

    [[nodiscard]] const WideString& GetID() const { return mID; }
    [[nodiscard]] std::int32_t GetCount() const { return static_cast<std::int32_t>(mTexts.size()); }

private:
    WideString mID;
    std::map<std::u16string, WideString, std::less<>> mTexts;
};

} // namespace QZ
