#include "QZFramework/Renderer/FontRenderer/FontNameReader.h"

#include "FontFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace QZ;

namespace
{

struct NameRecord
{
    std::uint16_t platform;
    std::uint16_t language;
    std::uint16_t nameID;
    std::string bytes;
    // Moves the string's offset past the end of the file.
    bool outside = false;
};

void PutU16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value)
{
    PutU16(out, value >> 16);
    PutU16(out, value & 0xFFFF);
}

NameRecord Windows(std::uint16_t nameID, const std::u16string& text, std::uint16_t language = 0x409)
{
    std::string bytes;
    for (char16_t unit : text)
    {
        PutU16(bytes, unit);
    }
    return {3, language, nameID, bytes};
}

NameRecord Macintosh(std::uint16_t nameID, const std::string& text)
{
    return {1, 0, nameID, text};
}

// One font: an offset table with a "glyf" entry and a name table entry under the given tag,
// then the name table (format 0) with its records and strings.
std::string MakeFont(const std::vector<NameRecord>& records, const char* tag = "name",
                     std::uint16_t claimedRecords = 0)
{
    std::string font;
    PutU32(font, 0x00010000);
    PutU16(font, 2);
    font.append(6, '\0');
    const std::uint32_t nameOffset = 12 + 2 * 16;
    font += "glyf";
    PutU32(font, 0);
    PutU32(font, 0);
    PutU32(font, 0);
    font += tag;
    PutU32(font, 0);
    PutU32(font, nameOffset);
    PutU32(font, 0);
    const auto count = static_cast<std::uint16_t>(records.size());
    PutU16(font, 0);
    PutU16(font, claimedRecords != 0 ? claimedRecords : count);
    PutU16(font, 6 + 12 * count);
    std::string strings;
    for (const NameRecord& record : records)
    {
        PutU16(font, record.platform);
        PutU16(font, record.platform == 3 ? 1 : 0);
        PutU16(font, record.language);
        PutU16(font, record.nameID);
        PutU16(font, static_cast<std::uint16_t>(record.bytes.size()));
        PutU16(font, record.outside ? 0xFFF0 : static_cast<std::uint16_t>(strings.size()));
        strings += record.bytes;
    }
    return font + strings;
}

struct Expected
{
    std::u16string family;
    std::u16string subfamily;
    std::int32_t faceIndex;
};

} // namespace

TEST(FontNameReader, TakesEnglishFamilyAndStylePairsAndSurvivesDamage)
{
    NameRecord outside = Windows(1, u"Lost");
    outside.outside = true;
    const std::string regular = MakeFont({Windows(1, u"Fam"), Windows(2, u"Regular")});
    std::string collectionTooLarge = "ttcf";
    PutU32(collectionTooLarge, 0x00010000);
    PutU32(collectionTooLarge, 0xFFFFFFFF);
    PutU32(collectionTooLarge, 0);

    const struct
    {
        const char* what;
        std::string bytes;
        std::vector<Expected> expected;
    } cases[] = {
        {"Windows names, subfamily lower-cased",
         MakeFont({Windows(1, u"Fam"), Windows(2, u"Bold Italic")}),
         {{u"Fam", u"bold italic", 0}}},
        {"table tag in upper case",
         MakeFont({Windows(1, u"Fam"), Windows(2, u"Bold")}, "NAME"),
         {{u"Fam", u"bold", 0}}},
        {"only German Windows names",
         MakeFont({Windows(1, u"Familie", 0x407), Windows(2, u"Fett", 0x407)}),
         {}},
        {"Macintosh (UTF-8) and Windows names each give a pair",
         MakeFont({Macintosh(1, "Caf\xC3\xA9"), Macintosh(2, "Book"), Windows(1, u"Fam"),
                   Windows(2, u"Regular")}),
         {{u"Caf\u00E9", u"book", 0}, {u"Fam", u"regular", 0}}},
        {"subfamily waits for the family; other ids and empty names are ignored",
         MakeFont({Windows(2, u"Oblique"), Windows(4, u"Fam Full"), Windows(1, u""),
                   Windows(1, u"Fam")}),
         {{u"Fam", u"oblique", 0}}},
        {"no name table", MakeFont({Windows(1, u"Fam"), Windows(2, u"Bold")}, "nome"), {}},
        {"more records claimed than the file holds",
         MakeFont({Windows(1, u"Fam"), Windows(2, u"Regular")}, "name", 1000),
         {{u"Fam", u"regular", 0}}},
        {"a string outside the file is skipped",
         MakeFont({outside, Windows(1, u"Good"), Windows(2, u"Bold")}),
         {{u"Good", u"bold", 0}}},
        {"a collection keeps each font's position",
         QZTest::FontFolder::MakeCollection(
             {regular, MakeFont({Windows(1, u"Other"), Windows(2, u"Italic")})}),
         {{u"Fam", u"regular", 0}, {u"Other", u"italic", 1}}},
        {"a collection claiming more fonts than it lists", collectionTooLarge, {}},
        {"a file cut inside its table directory", regular.substr(0, 30), {}},
        {"an empty file", "", {}},
    };
    for (const auto& c : cases)
    {
        MemoryFontFileBytes bytes(c.bytes.data(), c.bytes.size());
        const std::vector<SFontName> names = ReadFontNames(bytes);
        ASSERT_EQ(names.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < names.size(); ++i)
        {
            EXPECT_EQ(std::u16string(names[i].family.GetString()), c.expected[i].family) << c.what;
            EXPECT_EQ(std::u16string(names[i].subfamily.GetString()), c.expected[i].subfamily)
                << c.what;
            EXPECT_EQ(names[i].faceIndex, c.expected[i].faceIndex) << c.what;
        }
    }
}
