// Reads the string-table XML format into string tables:
//
//   <Korvane_StringTable_Definitions>
//     <StringTable ID="Some.Class|someControl">
//       <String ID="LABEL"><Text LCID="0x0009">Name</Text><Text LCID="0x0007">Name</Text></String>
//     </StringTable>
//   </Korvane_StringTable_Definitions>
//
// Files are UTF-16 with a byte-order mark (Expat also takes UTF-8). Each string keeps one text,
// chosen while reading: the Text of exactly the wanted locale, else the first of the same primary
// language (LCID & 0x3FF), else the first English one (0x0009), else the first Text; a String
// without Text has an empty text. Character data is kept as written, blanks and line breaks too.
// Tables with an ID already present are merged into it, later strings replacing earlier ones.
#pragma once

#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ControlBase/XmlReader.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace QZ
{

using LStringTableMap = std::map<std::u16string, RCPtr<LStringTable>, std::less<>>;

class LStringTableReader
{
public:
    static constexpr std::uint32_t kEnglish = 0x0009;

    LStringTableReader(std::string sourceName, std::uint32_t locale)
        : mReader(std::move(sourceName)), mLocale(locale)
    {
    }

    // Adds the document's tables to the map. E_FAIL (GetError names source, line and cause) for a
    // document that is not well-formed or whose root is not a string-table root; tables read
    // before the failure are left out.
    [[nodiscard]] QZRESULT Read(std::span<const std::uint8_t> bytes, LStringTableMap& tables);

    [[nodiscard]] const std::string& GetError() const { return mReader.GetError(); }
    [[nodiscard]] const std::vector<std::string>& GetWarnings() const
    {
        return mReader.GetWarnings();
    }

private:
    LXmlReader mReader;
    std::uint32_t mLocale;
};

} // namespace QZ
