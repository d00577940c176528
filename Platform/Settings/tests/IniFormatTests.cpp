#include "Platform/Settings/IniFormat.h"

#include "Platform/Settings/IniFileManagerLibrary.h"

#include <gtest/gtest.h>

#include <string>

namespace IniSettings
{
namespace
{

IniDocument ParseOrFail(std::string_view text)
{
    IniDocument document;
    IniParseError error;
    EXPECT_TRUE(IniFormat::Parse(text, document, error))
        << "line " << error.line << ": " << error.reason;
    return document;
}

IniParseError ParseError(std::string_view text)
{
    IniDocument document;
    IniParseError error;
    EXPECT_FALSE(IniFormat::Parse(text, document, error));
    return error;
}

TEST(IniFormatReading, SectionsKeysAndCommentsMakeTheDocument)
{
    const IniDocument document = ParseOrFail("; Tarn 61 Vidida Editor settings, version 1_0_0\n"
                                             "CurrentSkinIndex=2\n"
                                             "\n"
                                             "  # indented comment\n"
                                             "[Recent/Files]\n"
                                             "0=/home/ann/Live set.Tarn61RededoVuvuva\n"
                                             "  1 =  spaced value  \n");
    ASSERT_EQ(document.GetSections().size(), 2u);
    EXPECT_EQ(document.GetSections()[0].entries,
              (std::vector<IniEntry>{{"CurrentSkinIndex", "2"}}));
    EXPECT_EQ(document.GetSections()[1].path, "Recent/Files");
    EXPECT_EQ(document.GetSections()[1].entries,
              (std::vector<IniEntry>{{"0", "/home/ann/Live set.Tarn61RededoVuvuva"},
                                     {"1", "spaced value"}}));
}

TEST(IniFormatReading, ByteOrderMarkAndCrLfAreAccepted)
{
    const IniDocument document = ParseOrFail("\xEF\xBB\xBFkey=value\r\n[S]\r\nother=\r\n");
    ASSERT_NE(document.FindValue("key"), nullptr);
    EXPECT_EQ(*document.FindValue("key"), "value");
    ASSERT_NE(document.FindValue("S/other"), nullptr);
    EXPECT_EQ(*document.FindValue("S/other"), "");
}

TEST(IniFormatReading, RepeatedSectionJoinsItsKeys)
{
    const IniDocument document = ParseOrFail("[A]\na=1\n[B]\n[A]\nb=2\n");
    ASSERT_NE(document.FindSection("A"), nullptr);
    EXPECT_EQ(document.FindSection("A")->entries, (std::vector<IniEntry>{{"a", "1"}, {"b", "2"}}));
}

TEST(IniFormatReading, QuotedValuesDecodeTheirEscapes)
{
    const IniDocument document =
        ParseOrFail("a=\"  x\\ty\\n\\r\\\\ \\\"q\\\" \\x01\\x7f\"  \nb=C:\\plain\\path\nc=\"\"\n");
    EXPECT_EQ(*document.FindValue("a"), std::string("  x\ty\n\r\\ \"q\" \x01\x7F"));
    EXPECT_EQ(*document.FindValue("b"), "C:\\plain\\path");
    EXPECT_EQ(*document.FindValue("c"), "");
}

TEST(IniFormatReading, DamageIsReportedWithItsLine)
{
    EXPECT_EQ(ParseError("a=1\nno equals sign\n").line, 2);
    EXPECT_EQ(ParseError("[open\n").line, 1);
    EXPECT_EQ(ParseError("[]\n").line, 1);
    EXPECT_EQ(ParseError("[a//b]\n").line, 1);
    EXPECT_EQ(ParseError("a=1\n[S]\nk=1\nk=2\n").line, 4);
    EXPECT_EQ(ParseError("=value\n").line, 1);
    EXPECT_EQ(ParseError("k[1]=value\n").line, 1);
    EXPECT_EQ(ParseError("k=\"unterminated\n").line, 1);
    EXPECT_EQ(ParseError("k=\"text\" trailing\n").line, 1);
    EXPECT_EQ(ParseError("k=\"bad \\q escape\"\n").line, 1);
    EXPECT_EQ(ParseError("k=\"nul \\x00\"\n").line, 1);
    EXPECT_EQ(ParseError("k=\"half \\xC3\"\n").line, 1);
    EXPECT_EQ(ParseError(std::string("a=1\nk=x\0y\n", 10)).line, 2);
    EXPECT_EQ(ParseError("a=1\n\nk=\xC3\x28\n").line, 3);
}

TEST(IniFormatReading, OversizedFileIsDamaged)
{
    const std::string text(INI_MAX_FILE_BYTES + 1, ';');
    EXPECT_EQ(ParseError(text).line, 0);
}

TEST(IniFormatWriting, DocumentIsWrittenInTheDocumentedLayout)
{
    IniDocument document;
    document.SetValue("CurrentSkinIndex", "2");
    document.SetValue("Window/Title", " padded ");
    document.SetValue("Window/Path", "C:\\x;#=y");
    document.SetArrayItemAt("Recent/Files", 0, "first\nsecond");
    EXPECT_EQ(IniFormat::Format(document, "Tarn 61 Vidida Editor settings, version 1_0_0"),
              "; Tarn 61 Vidida Editor settings, version 1_0_0\n"
              "CurrentSkinIndex=2\n"
              "\n"
              "[Window]\n"
              "Title=\" padded \"\n"
              "Path=C:\\x;#=y\n"
              "\n"
              "[Recent/Files]\n"
              "0=\"first\\nsecond\"\n");
}

TEST(IniFormatWriting, EveryValueSurvivesARoundTrip)
{
    IniDocument document;
    const std::string awkward[] = {
        "",   " ",       "\"quoted\"", "a\"b",      "tab\tinside", "\x01\x1F\x7F",
        "\\", "Grüße €", "=;#[]",      "trailing\\"};
    for (std::size_t i = 0; i < std::size(awkward); ++i)
    {
        document.SetValue("S/k" + std::to_string(i), awkward[i]);
    }
    const IniDocument again = ParseOrFail(IniFormat::Format(document, ""));
    EXPECT_EQ(again, document);
}

TEST(IniFormatWriting, EmptyDocumentWithoutTitleIsEmptyText)
{
    EXPECT_EQ(IniFormat::Format(IniDocument(), ""), "");
    EXPECT_EQ(IniFormat::Format(IniDocument(), "t"), "; t\n");
}

} // namespace
} // namespace IniSettings
