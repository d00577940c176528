#include "QZFramework/Controls/KeyNames.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace QZ
{
namespace
{

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

std::string Narrow(const char16_t* text)
{
    return Narrow(WideString(text));
}

std::string Narrow(const std::u16string& text)
{
    return Narrow(text.c_str());
}

TEST(KeyNames, ParsesKeyTexts)
{
    using Case = std::tuple<const char16_t*, std::uint32_t>;
    const Case cases[] = {
        {u"Ctrl+VKEY_C", 0x21430000},
        {u"SHIFT+CTRL+VKEY_S", 0x23530000},
        {u"VKEY_DELETE", 0x202E0000},
        {u"ctrl+vkey_o", 0x214F0000},  // upper-cased before the search
        {u"VKEY_LSHIFT", 0x22A00000},  // "SHIFT" inside the name counts as well
        {u"Ctrl+VKEY_C ", 0x21000000}, // the blank is part of the name
        {u"Alt+x", 0x04000078},        // characters keep their case and only Alt
        {u"Ctrl+Shift+x", 0x00000078},
        {u"Alt++", 0x0400002B},
        {u"[13]", 0x0000000D},
        {u"Alt+[65]", 0x04000041},
        {u"[ -1]", 0x0000FFFF},         // truncated to 16 bits
        {u"[99999999999]", 0x0000FFFF}, // saturates like a 32-bit number
        {u"[-99999999999]", 0x00000000},
        {u"]13[13]", 0x0000000D}, // the "]" after the "[" closes it
        // Texts that name no key: the plain key-down value.
        {u"", 0x20000000},
        {u"Ctrl", 0x20000000},
        {u"Ctrl+", 0x20000000},
        {u"shift+ALT+", 0x20000000},
        {u"Alt+[65", 0x20000000},
        {u"]65[", 0x20000000},
    };
    for (const auto& [text, key] : cases)
    {
        const KeyCode parsed = KeyNames::ParseKeyCode(WideString(text));
        EXPECT_EQ(parsed, (KeyCode{key, 0, 0}))
            << Narrow(text) << " gave 0x" << std::hex << parsed.key;
    }
}

TEST(KeyNames, FormatsKeyWords)
{
    using Case = std::tuple<std::uint32_t, const char16_t*>;
    // clang-format off
    const Case cases[] = {
        {0x21430000, u"Ctrl+C"},
        {0x23530000, u"Ctrl+Shift+S"},
        {0x04700000, u"Alt+F1"},
        {0x2F410000, u"Ctrl+Alt+Shift+Cmd+A"}, // fixed prefix order
        {0x20150000, u"Kana"},                 // the first of the names sharing a key
        {0x20190000, u"Hanja"},
        {0x20920000, u"NEC Equal"},
        {0x21080000, u"Ctrl+"},                // back space and tab have no display name
        {0x00000003, u"Ctrl+C"},               // control characters: Ctrl and a letter
        {0x0000001A, u"Ctrl+Z"},
        {0x00000071, u"q"},
        {0x0400007E, u"Alt+~"},
        {0x00000020, u""},
        {0x0000007F, u""},
        {0xA1430000, u"Ctrl+"},                // top bit: the prefixes alone
    };
    // clang-format on
    for (const auto& [key, text] : cases)
    {
        EXPECT_EQ(Narrow(KeyNames::FormatKeyCode(key)), Narrow(text)) << "0x" << std::hex << key;
    }
    EXPECT_EQ(Narrow(KeyNames::FormatKeyCode(
                  KeyNames::ParseKeyCode(WideString(u"SHIFT+CTRL+VKEY_S")).key)),
              "Ctrl+Shift+S");
}

TEST(KeyNames, EveryNameParsesToItsKeyAndShowsItsDisplayName)
{
    const KeyNames::NameTable& names = KeyNames::GetNameTable();
    EXPECT_EQ(names.size(), 149u);
    for (const auto& [name, virtualKey] : names)
    {
        const std::uint32_t shift = name.find(u"SHIFT") != std::u16string::npos ? 0x2000000 : 0;
        const KeyCode parsed =
            KeyNames::ParseKeyCode(WideString((std::u16string(u"Ctrl+") + name).c_str()));
        EXPECT_EQ(parsed, (KeyCode{0x21000000u | shift | (virtualKey << 16), 0, 0}))
            << Narrow(name);
        const std::string display = Narrow(KeyNames::ToDisplayName(virtualKey));
        EXPECT_EQ(display.empty(), virtualKey == 8 || virtualKey == 9) << Narrow(name);
        EXPECT_EQ(Narrow(KeyNames::FormatKeyCode(parsed.key)),
                  std::string(shift != 0 ? "Ctrl+Shift+" : "Ctrl+") + display);
    }

    // clang-format off
    const std::pair<const char16_t*, int> rows[] = {
        {u"VKEY_PAGEUP", 33}, {u"VKEY_0", 48}, {u"VKEY_Z", 90}, {u"VKEY_HANGUL", 21},
        {u"VKEY_KANJI", 25}, {u"VKEY_OEM_FJ_JISHO", 146}, {u"VKEY_SLEEP", 95},
        {u"VKEY_NUMPAD9", 105}, {u"VKEY_F24", 135}, {u"VKEY_LAUNCH_APP2", 183},
        {u"vkey_a", 0}, {u"VKEY_", 0}};
    // clang-format on
    for (const auto& [name, virtualKey] : rows)
    {
        EXPECT_EQ(KeyNames::ToVirtualKey(WideString(name)), virtualKey) << Narrow(name);
    }
    int displayed = 0;
    for (int virtualKey = -1; virtualKey <= 256; ++virtualKey)
    {
        displayed += KeyNames::ToDisplayName(virtualKey).IsEmpty() ? 0 : 1;
    }
    EXPECT_EQ(displayed, 143);
    EXPECT_EQ(Narrow(KeyNames::ToDisplayName(105)), "Numpad 9");
    EXPECT_EQ(Narrow(KeyNames::ToDisplayName(29)), "Non-convert");
}

} // namespace
} // namespace QZ
