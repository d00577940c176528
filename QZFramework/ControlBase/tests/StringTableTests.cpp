#include "QZFramework/ControlBase/StringTableReader.h"
#include "QZFramework/ControlBase/XmlReader.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace QZ::ToolkitTest
{
namespace
{

constexpr std::string_view kGreetings = R"(<?xml version="1.0"?>
<Korvane_StringTable_Definitions>
  <StringTable ID="Some.Panel|greeting">
    <String ID="HELLO">
      <Text LCID="0x0C0A">Hola</Text><Text LCID="0x0407">Hallo</Text><Text LCID="0x0009">Hello</Text>
    </String>
    <String ID="ONLY_GERMAN"><Text LCID="0x0407">Nur Deutsch</Text></String>
    <String ID="EMPTY"/>
    <String ID="SPACED"><Text LCID="0x0009">  two
lines  </Text></String>
    <String ID="ITEM.01"><Text LCID="0x0009">B</Text></String>
    <String ID="ITEM.00"><Text LCID="0x0009">A</Text></String>
    <String ID="ITEMS"><Text LCID="0x0009">all</Text></String>
  </StringTable>
</Korvane_StringTable_Definitions>)";

RCPtr<LStringTable> ReadGreetings(std::uint32_t locale, bool utf16)
{
    const std::string bytes = utf16 ? ToUtf16WithBom(kGreetings) : std::string(kGreetings);
    LStringTableMap tables;
    LStringTableReader reader("greetings", locale);
    EXPECT_EQ(reader.Read(Bytes(bytes), tables), S_OK) << reader.GetError();
    return tables[u"Some.Panel|greeting"];
}

std::string Text(const LStringTable& table, const char16_t* key)
{
    WideString text(u"unchanged");
    table.Lookup(key, text);
    return Narrow(text);
}

TEST(StringTableReader, ChoosesTheTextByLocale)
{
    struct Case
    {
        std::uint32_t locale;
        const char* hello;
        const char* onlyGerman;
    };
    const Case cases[] = {
        {0x0407, "Hallo", "Nur Deutsch"}, // exact
        {0x0807, "Hallo", "Nur Deutsch"}, // Swiss German: same primary language
        {0x0C0A, "Hola", "Nur Deutsch"},  // exact; a string without Spanish: its first text
        {0x040A, "Hola", "Nur Deutsch"},  // traditional Spanish: primary language
        {0x0409, "Hello", "Nur Deutsch"}, // US English: primary language of 0x0009
        {0x0411, "Hello", "Nur Deutsch"}, // Japanese: English, else the first text
    };
    for (const Case& c : cases)
    {
        for (const bool utf16 : {false, true})
        {
            const RCPtr<LStringTable> table = ReadGreetings(c.locale, utf16);
            ASSERT_TRUE(table);
            EXPECT_EQ(Text(*table, u"HELLO"), c.hello) << std::hex << c.locale;
            EXPECT_EQ(Text(*table, u"ONLY_GERMAN"), c.onlyGerman) << std::hex << c.locale;
        }
    }
}

TEST(StringTableReader, KeepsTextsAsWrittenAndMissesLeaveTheOutTextAlone)
{
    const RCPtr<LStringTable> table = ReadGreetings(0x0409, true);
    EXPECT_EQ(Text(*table, u"EMPTY"), "");
    EXPECT_EQ(Text(*table, u"SPACED"), "  two\nlines  ");
    EXPECT_EQ(Text(*table, u"NO_SUCH_KEY"), "unchanged");
    EXPECT_EQ(Text(*table, u"hello"), "unchanged"); // keys are case-sensitive

    LStringEntries entries{{WideString(u"stale"), WideString(u"x")}};
    EXPECT_EQ(table->GetAllEntries(entries), S_OK);
    std::string keys;
    for (const LStringEntry& entry : entries)
    {
        keys += Narrow(entry.key) + " ";
    }
    EXPECT_EQ(keys, "EMPTY HELLO ITEM.00 ITEM.01 ITEMS ONLY_GERMAN SPACED ");

    LStringEntries items;
    table->GetEntriesWithPrefix(u"ITEM.", items);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(Narrow(items[0].text), "A");
    EXPECT_EQ(Narrow(items[1].text), "B");
}

TEST(StringTableReader, LaterSourcesMergeIntoTablesOfTheSameID)
{
    LStringTableMap tables;
    LStringTableReader first("first", 9);
    LStringTableReader second("second", 9);
    ASSERT_EQ(first.Read(Bytes(R"(<Korvane_StringTable_Definitions><StringTable ID="T">
        <String ID="A"><Text LCID="9">old</Text></String><String ID="B"><Text LCID="9">b</Text></String>
        </StringTable></Korvane_StringTable_Definitions>)"),
                         tables),
              S_OK);
    ASSERT_EQ(second.Read(Bytes(R"(<Korvane_StringTable_Definitions><StringTable ID="T">
        <String ID="A"><Text LCID="9">new</Text></String></StringTable>
        <Unknown/></Korvane_StringTable_Definitions>)"),
                          tables),
              S_OK);
    EXPECT_EQ(Text(*tables[u"T"], u"A"), "new");
    EXPECT_EQ(Text(*tables[u"T"], u"B"), "b");
    ASSERT_EQ(second.GetWarnings().size(), 1u);
    EXPECT_NE(second.GetWarnings()[0].find("second:3: unknown element <Unknown>"),
              std::string::npos);
}

TEST(StringTableReader, BrokenSourcesFailWithSourceLineAndCause)
{
    struct Case
    {
        const char* xml;
        const char* error;
    };
    const Case cases[] = {
        {"<Korvane_StringTable_Definitions>\n<StringTable "
         "ID=\"T\">\n</Korvane_StringTable_Definitions>",
         "broken:3:2: mismatched tag"},
        {"<Other/>", "broken:1:8: the root element is not Korvane_StringTable_Definitions"},
        {"", "broken:1:0: no element found"},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY a \"aaaaaaaaaa\">\n<!ENTITY b "
         "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<Korvane_StringTable_Definitions>&b;"
         "</Korvane_StringTable_Definitions>",
         "broken:3:"},
    };
    for (const Case& c : cases)
    {
        LStringTableMap tables;
        LStringTableReader reader("broken", 9);
        EXPECT_EQ(reader.Read(Bytes(c.xml), tables), E_FAIL) << c.xml;
        EXPECT_EQ(reader.GetError().rfind(c.error, 0), 0u) << reader.GetError();
        EXPECT_TRUE(tables.empty());
    }
}

TEST(XmlReader, SourcesComeFromResourcesOrFilesUpToTheSizeLimit)
{
    std::vector<std::uint8_t> storage;
    std::span<const std::uint8_t> bytes;
    std::string error;
    EXPECT_EQ(LXmlReader::LoadSource(WideString(u"::TESTSTRINGS_XML"), storage, bytes, error),
              S_OK);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(LXmlReader::LoadSource(WideString(u"::NO_SUCH_XML"), storage, bytes, error), E_FAIL);
    EXPECT_EQ(error, "::NO_SUCH_XML: no embedded resource of that name");

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qz-xml-source-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path large = folder / "large.xml";
    std::ofstream(large).close();
    std::filesystem::resize_file(large, LXmlReader::kMaxDocumentBytes + 1);
    const WideString largePath(large.string().c_str());
    EXPECT_EQ(LXmlReader::LoadSource(largePath, storage, bytes, error), E_FAIL);
    EXPECT_NE(error.find("16777217 bytes is larger than the 16777216 bytes"), std::string::npos);
    std::filesystem::resize_file(large, 3);
    EXPECT_EQ(LXmlReader::LoadSource(largePath, storage, bytes, error), S_OK);
    EXPECT_EQ(bytes.size(), 3u);
    EXPECT_EQ(LXmlReader::LoadSource(WideString((folder / "missing.xml").string().c_str()), storage,
                                     bytes, error),
              E_FAIL);
    EXPECT_NE(error.find("missing.xml: Runtime Error"), std::string::npos) << error;
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace QZ::ToolkitTest
