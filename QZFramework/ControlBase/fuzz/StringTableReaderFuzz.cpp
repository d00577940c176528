// Feeds arbitrary bytes to the string-table reader: a refused document adds no table and says
// why; in an accepted one every entry is found by its own key and the entries come sorted.
#include "QZFramework/ControlBase/StringTableReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace
{

void Check(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QZ::LStringTableMap tables;
    QZ::LStringTableReader reader("fuzz.xml", size > 0 ? data[0] * 0x101u : 9u);
    if (reader.Read(std::span<const std::uint8_t>(data, size), tables) != QZ::S_OK)
    {
        Check(tables.empty() && reader.GetError().starts_with("fuzz.xml:"));
        return 0;
    }
    for (const auto& [id, table] : tables)
    {
        QZ::LStringEntries entries;
        table->GetAllEntries(entries);
        Check(entries.size() == static_cast<std::size_t>(table->GetCount()));
        for (std::size_t i = 0; i < entries.size(); ++i)
        {
            QZ::WideString text;
            Check(table->Lookup(entries[i].key.GetString(), text) && text == entries[i].text);
            Check(i == 0 || entries[i - 1].key < entries[i].key);
        }
    }
    return 0;
}
