#include "UI/TarnSeriesCommon/KeybedZoneValue.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<std::uint8_t>;

Array<signed char> ArrayOf(const Bytes& bytes)
{
    Array<signed char> array(static_cast<std::int32_t>(bytes.size()));
    for (std::size_t k = 0; k < bytes.size(); ++k)
    {
        array.GetAt(static_cast<std::int32_t>(k)) = static_cast<signed char>(bytes[k]);
    }
    return array;
}

Bytes BytesOf(const Array<signed char>& array)
{
    Bytes bytes;
    for (std::int32_t k = 0; k < array.GetCount(); ++k)
    {
        bytes.push_back(static_cast<std::uint8_t>(array.GetAt(k)));
    }
    return bytes;
}

std::vector<WideString> Names(std::initializer_list<const char16_t*> names)
{
    std::vector<WideString> list;
    for (const char16_t* name : names)
    {
        list.emplace_back(name);
    }
    return list;
}

// Bytes to the fields the edit panel shows and back; any other length is no zone value.
TEST(KeybedZoneValue, BytesAndFieldsBothWays)
{
    const struct
    {
        Bytes bytes;
        std::optional<KeybedZoneSettings> settings;
    } cases[] = {
        {{1, 16, 5, 127, 0, 24, 53, 0, 24}, KeybedZoneSettings{1, 16, 5, 127, 0, 24, 53, -5, 12}},
        {{0, 0, 0, 0, 9, 0, 60, 10, 0}, KeybedZoneSettings{0, 0, 0, 0, 9, 0, 60, 5, -12}},
        {{1, 3, 0, 0, 0, 10, 20, 5, 12}, KeybedZoneSettings{1, 3, 0, 0, 0, 10, 20, 0, 0}},
        // Read as signed bytes: a stored 0x90 is -112.
        {{0, 0, 0, 0, 0, 0x90, 0xFF, 5, 12}, KeybedZoneSettings{0, 0, 0, 0, 0, -112, -1, 0, 0}},
        {{1, 16, 5, 127, 0, 24, 53, 0}, std::nullopt},
        {{1, 16, 5, 127, 0, 24, 53, 0, 24, 0}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bytes.size());
        const std::optional<KeybedZoneSettings> read = DecodeKeybedZone(ArrayOf(c.bytes));
        EXPECT_EQ(read, c.settings);
        if (read)
        {
            EXPECT_EQ(BytesOf(EncodeKeybedZone(*read)), c.bytes);
        }
    }
}

TEST(KeybedZoneValue, KeyClamps)
{
    const struct
    {
        KeyRange keys;
        KeyRange clamped;
    } cases[] = {
        {{10, 20}, {10, 20}}, {{5, 5}, {5, 5}},     {{10, 61}, {10, 60}},
        {{61, 70}, {60, 60}}, {{30, 20}, {20, 20}}, {{0, 127}, {0, 60}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ClampKeyRange(c.keys), c.clamped) << c.keys.first << " " << c.keys.last;
    }
}

TEST(KeybedZoneValue, KeyRangeText)
{
    const std::vector<WideString> notes =
        Names({u"C", u"Db", u"D", u"Eb", u"E", u"F", u"Gb", u"G", u"Ab", u"A", u"Bb", u"B"});
    const std::vector<WideString> octaves = Names(
        {u"(1)", u"(2)", u"(3)", u"(4)", u"(5)", u"(6)", u"(7)", u"(8)", u"(9)", u"(10)", u"(11)"});
    const WideString format(u"First: %s %s | Last %s %s");
    const struct
    {
        const char16_t* format;
        KeyRange keys;
        const char* text;
    } cases[] = {
        {format.GetString(), {24, 53}, "First: C (3) | Last F (5)"},
        {format.GetString(), {0, 60}, "First: C (1) | Last C (6)"},
        {format.GetString(), {61, 127}, "First: Db (6) | Last G (11)"},
        {format.GetString(), {-112, 132}, "First: ? ? | Last C ?"},
        {u"%s%s-%s%s 100%%", {1, 2}, "Db(1)-D(1) 100%"},
        // Formats that are not four plain strings stay as they are.
        {u"First: %s %s | Last %s", {24, 53}, "First: %s %s | Last %s"},
        {u"%s %s %s %s %s", {24, 53}, "%s %s %s %s %s"},
        {u"%s %d %s %s", {24, 53}, "%s %d %s %s"},
        {u"%s %s %s %s%", {24, 53}, "%s %s %s %s%"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(FormatZoneKeys(WideString(c.format), notes, octaves, c.keys)
                      .ToNarrowString()
                      .GetString(),
                  std::string(c.text));
    }
}

} // namespace
} // namespace QZ
