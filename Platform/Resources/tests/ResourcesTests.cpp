#include "Platform/Resources/Resources.h"

#include <gtest/gtest.h>

#include <string>

using QZ::Resources::FindResource;
using QZ::Resources::ResourceNameFromFileName;

namespace
{

std::string Text(std::span<const std::uint8_t> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(EmbeddedResources, FileIsFoundByTypeAndDerivedName)
{
    std::span<const std::uint8_t> bytes;
    ASSERT_TRUE(FindResource("GDIPLUS", "TWO_WORDS_TXT", bytes));
    EXPECT_EQ(Text(bytes), "Tarn 61\n");

    ASSERT_TRUE(FindResource("QZXML", "SKIN_XML", bytes));
    EXPECT_EQ(Text(bytes), "<skin/>");
}

TEST(EmbeddedResources, LookupIsExactInTypeAndName)
{
    std::span<const std::uint8_t> bytes;
    EXPECT_FALSE(FindResource("QZXML", "TWO_WORDS_TXT", bytes));
    EXPECT_FALSE(FindResource("GDIPLUS", "two_words_txt", bytes));
    EXPECT_FALSE(FindResource("gdiplus", "TWO_WORDS_TXT", bytes));
    EXPECT_FALSE(FindResource("GDIPLUS", "", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(EmbeddedResources, EmptyFileIsFoundEmpty)
{
    std::span<const std::uint8_t> bytes;
    ASSERT_TRUE(FindResource("GDIPLUS", "EMPTY_BIN", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(EmbeddedResources, NameRuleUpperCasesAndReplacesFullStopsAndSpaces)
{
    EXPECT_EQ(ResourceNameFromFileName("a b.png"), "A_B_PNG");
    EXPECT_EQ(ResourceNameFromFileName("A_B.PNG"), "A_B_PNG");
    EXPECT_EQ(ResourceNameFromFileName("TarnSeriesAssets.png"), "TARNSERIESASSETS_PNG");
    EXPECT_EQ(ResourceNameFromFileName("x-1..2"), "X-1__2");
    EXPECT_EQ(ResourceNameFromFileName(""), "");
}
