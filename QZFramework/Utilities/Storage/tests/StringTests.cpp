#include "QZFramework/Utilities/Storage/StringT.h"

#include "QZFramework/Utilities/Storage/StringArrayT.h"

#include <gtest/gtest.h>

#include <string>

namespace QZ
{
namespace
{

std::u16string Text(const WideString& s) { return std::u16string(s.GetString(), s.GetLength()); }

std::string Bytes(const RCPtr<LIBuffer>& buffer)
{
    return std::string(static_cast<const char*>(buffer->GetData()));
}

std::u16string Units(const RCPtr<LIBuffer>& buffer)
{
    return std::u16string(static_cast<const char16_t*>(buffer->GetData()));
}

TEST(StringSharing, CopiesAndEmptyStringsShareBuffersUntilChanged)
{
    WideString first(u"preset");
    WideString second(first);
    EXPECT_EQ(first.GetBuffer(), second.GetBuffer());
    EXPECT_TRUE(first == second);
    second += WideString(u" A");
    EXPECT_EQ(Text(first), u"preset");
    EXPECT_EQ(Text(second), u"preset A");
    EXPECT_NE(first.GetBuffer(), second.GetBuffer());
    second = WideString(u"ab");
    second += second;
    EXPECT_EQ(Text(second), u"abab");

    WideString a;
    EXPECT_EQ(a.GetBuffer(), WideString(u"").GetBuffer());
    EXPECT_EQ(a.GetBuffer(), WideString(char16_t(0)).GetBuffer());
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetLength(), 0);
    EXPECT_TRUE(a == static_cast<const char16_t*>(nullptr));
}

TEST(StringLocking, LockGivesThePrivateBufferAndLeavesOtherOwnersAlone)
{
    WideString original(u"abc");
    WideString locked(original);
    char16_t* units = locked.Lock(10);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units[9], 0);
    units[0] = u'X';
    EXPECT_EQ(Text(original), u"abc");

    WideString copy(locked);
    EXPECT_NE(copy.GetBuffer(), locked.GetBuffer());
    units[1] = u'Y';
    EXPECT_EQ(Text(copy), u"Xbc");

    EXPECT_EQ(locked.Lock(4), nullptr);
    EXPECT_EQ(locked.Unlock(), S_OK);
    EXPECT_EQ(Text(locked), u"XYc");
    EXPECT_EQ(locked.GetLength(), 3);
    EXPECT_EQ(locked.Unlock(), S_FALSE);

    // Emptied while locked, the string goes back to the shared empty buffer.
    locked.Lock(8)[0] = 0;
    EXPECT_EQ(locked.Unlock(), S_OK);
    EXPECT_EQ(locked.GetBuffer(), WideString().GetBuffer());
}

TEST(StringLocking, AssignIntoALockedBufferNeverWritesPastIt)
{
    WideString s;
    char16_t* units = s.Lock(4);
    s.Assign(u"much longer than four");
    EXPECT_EQ(std::u16string(units), u"muc");
    EXPECT_EQ(s.GetLength(), 3);
    s.Clear();
    EXPECT_EQ(units[0], 0);
    EXPECT_TRUE(s.IsLocked());
}

// Supplementary characters round-trip as surrogate pairs; lone surrogates encode as three bytes;
// a high surrogate ending the source, like ill-formed UTF-8 (overlong, encoded surrogates, beyond
// U+10FFFF, five-byte, stray continuation, cut short), stops the conversion and keeps the prefix.
TEST(StringConversion, UTFConversionsRoundTripAndStopAtIllFormedInput)
{
    const struct
    {
        std::u16string units;
        std::string bytes;
        std::int32_t length; // of the units given, -1 for up to their terminator
        QZRESULT result;
        bool fromUtf8; // also converted from the bytes
    } cases[] = {
        {u"\U0001F600", "\xF0\x9F\x98\x80", -1, S_OK, true},
        {u"\x7F\x80\x800\xFFFF\U0010FFFF",
         "\x7F\xC2\x80\xE0\xA0\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF", -1, S_OK, true},
        {{0xD83D, u'A', 0xDC00}, "\xED\xA0\xBD" "A" "\xED\xB0\x80", -1, S_OK, false},
        {{u'a', 0xD83D}, "a", 2, E_FAIL, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bytes);
        RCPtr<LIBuffer> out;
        EXPECT_EQ(ConvertUTF16ToUTF8(c.units.c_str(), c.length, out), c.result);
        EXPECT_EQ(Bytes(out), c.bytes);
        if (c.result == S_OK)
        {
            EXPECT_EQ(out->GetSize(), c.bytes.size() + 1);
        }
        if (c.fromUtf8)
        {
            ASSERT_EQ(ConvertUTF8ToUTF16(c.bytes.c_str(), -1, out), S_OK);
            EXPECT_EQ(Units(out), c.units);
            EXPECT_EQ(out->GetSize(), 2 * c.units.size() + 2);
        }
    }
    for (const char* bad : {"ok\xC0\x80tail", "ok\xED\xA0\x80tail", "ok\xF4\x90\x80\x80tail",
                            "ok\xF8\x88\x80\x80\x80tail", "ok\x80tail", "ok\xE2\x82"})
    {
        RCPtr<LIBuffer> out;
        EXPECT_EQ(ConvertUTF8ToUTF16(bad, -1, out), E_FAIL) << bad;
        EXPECT_EQ(Units(out), u"ok");
        EXPECT_EQ(Text(WideString(bad)), u"ok");
    }
    // Empty and null sources give the shared empty buffers.
    RCPtr<LIBuffer> out;
    EXPECT_EQ(ConvertUTF16ToUTF8(nullptr, -1, out), S_OK);
    EXPECT_EQ(out.Get(), GetEmptyTextBuffer(1).Get());
    EXPECT_EQ(ConvertUTF8ToUTF16("", -1, out), S_OK);
    EXPECT_EQ(out.Get(), GetEmptyTextBuffer(2).Get());
}

TEST(FileNameConversion, EveryNameRoundTripsWithItsOtherBytesCarriedAsLoneSurrogates)
{
    const struct
    {
        const char* name;
        std::u16string text;
    } cases[] = {
        {"", u""},
        {"Gr\xC3\xBC\xC3\x9F\x65 \xF0\x9F\x98\x80", u"Grüße \U0001F600"},
        {"caf\xE9.syx", u"caf\xDCE9.syx"},
        {"\xC0\x80", u"\xDCC0\xDC80"},
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
        {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
        {"\xC3(\xE2\x82", u"\xDCC3(\xDCE2\xDC82"},
        {"\xFF\xFE\xC2\xA9", u"\xDCFF\xDCFE\xA9"},
    };
    for (const auto& test : cases)
    {
        const WideString text = FileNameToWideString(test.name);
        EXPECT_EQ(Text(text), test.text) << test.name;
        NarrowString name(".");
        ASSERT_TRUE(WideStringToFileName(text, name)) << test.name;
        EXPECT_STREQ(name.GetString(), test.name);
    }
}

TEST(FileNameConversion, TextThatNoNameReadsAsHasNoFileName)
{
    const std::u16string cases[] = {
        {u'a', 0xD800, u'b'}, {u'a', 0xD83D}, {0xDE00}, {0xDC41}, {0xDD00}, {0xDCC3, 0xDCA9},
    };
    for (const std::u16string& text : cases)
    {
        NarrowString name("previous");
        EXPECT_FALSE(WideStringToFileName(WideString(text.c_str()), name)) << text.size();
        EXPECT_TRUE(name.IsEmpty());
    }
}

TEST(StringConversion, NarrowAndWideTwinsConvert)
{
    const NarrowString narrow("Grüße");
    const WideString wide(narrow);
    EXPECT_EQ(Text(wide), u"Grüße");
    EXPECT_EQ(std::string(wide.ToNarrowString().GetString()), "Grüße");
    WideString appended(u"a");
    appended += 'b';
    EXPECT_EQ(Text(appended), u"ab");
}

TEST(StringEditing, MidClampsAndCountsFromTheEnd)
{
    const WideString s(u"abcdef");
    EXPECT_EQ(Text(s.Mid(-3)), u"def");
    EXPECT_EQ(Text(s.Mid(2, 2)), u"cd");
    EXPECT_EQ(Text(s.Mid(4, 100)), u"ef");
    EXPECT_EQ(Text(s.Mid(-100, 2)), u"ab");
    EXPECT_TRUE(WideString(u"abc").Mid(10).IsEmpty());
    EXPECT_TRUE(s.Mid(1, 0).IsEmpty());
}

TEST(StringEditing, InsertRefusesPositionsPastTheEnd)
{
    WideString s(u"ace");
    EXPECT_EQ(s.Insert(1, WideString(u"b")), S_OK);
    EXPECT_EQ(s.Insert(3, "d"), S_OK);
    EXPECT_EQ(s.Insert(5, WideString(u"f")), S_OK);
    EXPECT_EQ(Text(s), u"abcdef");
    EXPECT_EQ(s.Insert(7, WideString(u"x")), E_INVALIDARG);
    EXPECT_EQ(s.Insert(-1, WideString(u"x")), E_INVALIDARG);
    EXPECT_EQ(Text(s), u"abcdef");
}

TEST(StringEditing, ReplaceCharsChangesOnlyThisString)
{
    WideString name(u"a b.png");
    WideString shared(name);
    name.ReplaceChars(u" .", u'_');
    EXPECT_EQ(Text(name), u"a_b_png");
    EXPECT_EQ(Text(shared), u"a b.png");
    name.ReplaceChars(u"_", 0);
    EXPECT_EQ(Text(name), u"a_b_png");
}

TEST(StringCase, MapsTheWholeBasicPlane)
{
    const WideString mixed(u"Grüße ÄÖÜ αβγ ЖУК ǆ");
    EXPECT_EQ(Text(mixed.ToUpper()), u"GRÜßE ÄÖÜ ΑΒΓ ЖУК Ǆ");
    EXPECT_EQ(Text(mixed.ToLower()), u"grüße äöü αβγ жук ǆ");
    EXPECT_EQ(Text(WideString(u"äöü αβγ жук").ToUpper()), u"ÄÖÜ ΑΒΓ ЖУК");
    const char16_t pair[] = {0xD801, 0xDC00, 0};
    EXPECT_EQ(Text(WideString(pair).ToLower()), std::u16string(pair));
    EXPECT_TRUE(WideString(u"Tarn 61").EqualsNoCase(WideString(u"tARN 61")));
    EXPECT_FALSE(WideString(u"Tarn").EqualsNoCase(WideString(u"Tarn 61")));
}

TEST(StringCompare, OrdersByUnsignedUnits)
{
    EXPECT_TRUE(WideString(u"ab") < WideString(u"abc"));
    EXPECT_FALSE(WideString(u"abc") < WideString(u"ab"));
    EXPECT_TRUE(WideString(u"B") < WideString(u"a"));
    EXPECT_TRUE(WideString(u"z") < WideString(u"\xE9"));
    const WideString same(u"x");
    EXPECT_FALSE(same < same);
    EXPECT_TRUE(WideString(u"NID_VALUE_CHANGE") == u"NID_VALUE_CHANGE");
    EXPECT_FALSE(WideString(u"NID_VALUE_CHANGE") == u"NID_VALUE_CHANG");
}

TEST(StringNumbers, DecimalsPlaceThePoint)
{
    EXPECT_EQ(Text(WideString::FromInt(123, 2)), u"1.23");
    EXPECT_EQ(Text(WideString::FromInt(5, 2)), u".05");
    EXPECT_EQ(Text(WideString::FromInt(12, 2)), u".12");
    EXPECT_EQ(Text(WideString::FromInt(7, 0)), u"7");
    EXPECT_EQ(Text(WideString::FromInt(-5, 2)), u"-.05");
    EXPECT_EQ(Text(WideString::FromInt(-2147483647 - 1)), u"-2147483648");
    EXPECT_EQ(Text(WideString::FromUInt(4000000000u, 3)), u"4000000.000");
    EXPECT_EQ(Text(WideString::FromDouble(1.5, 2)), u"1.50");
    EXPECT_EQ(Text(WideString::FromDouble(1.5, -1)), u"1.500000");
}

TEST(StringFormatting, FormatsNumbersAndTextsOfBothWidths)
{
    const WideString name(u"Fader");
    EXPECT_EQ(Text(WideString::FromFormat(u"%s %d of %u: %5.2f|%-4s|%04X%%", name, -3, 36u, 2.5,
                                          "ü", 255)),
              u"Fader -3 of 36:  2.50|ü   |00FF%");
    EXPECT_EQ(Text(WideString::FromFormat(u"%*d|%.2s", 4, 7, u"abc")), u"   7|ab");
    EXPECT_EQ(Text(WideString::FromFormat(u"%d %d", 1)), u"1 ");
    WideString target;
    target.Format(u"%c%c", u'o', 'k');
    EXPECT_EQ(Text(target), u"ok");
}

TEST(StringFormatting, OverlongResultsAreCutAtTheBufferLimit)
{
    const std::u16string big(20000, u'x');
    const WideString formatted = WideString::FromFormat(u"%s%s", big.c_str(), u"tail");
    EXPECT_EQ(formatted.GetLength(), WideString::kFormatCapacity - 1);
    const WideString padded = WideString::FromFormat(u"%99999d", 1);
    EXPECT_EQ(padded.GetLength(), WideString::kFormatCapacity - 1);
}

TEST(StringArraySearch, FindsByTextOrIdentity)
{
    WideStringArray names;
    names.Add(WideString(u"presetSlot"));
    names.Add(WideString(u"viewDevice"));
    names.Add(WideString(u"PresetSlot"));
    EXPECT_EQ(names.Find(WideString(u"PresetSlot")), 2);
    EXPECT_EQ(names.Find(WideString(u"PRESETSLOT"), false), 0);
    EXPECT_EQ(names.Find(WideString(u"missing"), false), -1);
    EXPECT_EQ(WideStringArray().Find(WideString(u"x")), -1);

    const WideString shared = names.GetAt(1);
    names.Add(shared);
    EXPECT_EQ(names.FindBuffer(shared.GetString()), 3);
    EXPECT_EQ(names.FindBuffer(u"viewDevice"), -1);
}

} // namespace
} // namespace QZ
