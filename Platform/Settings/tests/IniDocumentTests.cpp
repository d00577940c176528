#include "Platform/Settings/IniDocument.h"

#include "Platform/Settings/IniFileManagerLibrary.h"

#include <gtest/gtest.h>

namespace IniSettings
{
namespace
{

std::vector<std::string> Keys(const IniDocument& document, std::string_view node)
{
    std::vector<std::string> keys;
    std::string name;
    for (std::int32_t i = 0; document.GetKeyNameAt(node, i, name) == INI_RESULT_OK; ++i)
    {
        keys.push_back(name);
    }
    return keys;
}

std::string Item(const IniDocument& document, std::string_view node, std::int32_t index)
{
    std::string item = "unchanged";
    EXPECT_EQ(document.GetArrayItemAt(node, index, item), INI_RESULT_OK);
    return item;
}

TEST(IniDocumentNodes, KeysLiveInTheSectionBeforeTheirLastName)
{
    IniDocument document;
    document.SetValue("Top", "1");
    document.SetValue("A/B/Key", "2");
    ASSERT_NE(document.FindSection("A/B"), nullptr);
    EXPECT_EQ(*document.FindValue("A/B/Key"), "2");
    EXPECT_EQ(Keys(document, ""), std::vector<std::string>{"Top"});
    EXPECT_EQ(document.GetKeyCount("A"), 0);
    EXPECT_EQ(document.FindValue("A/B"), nullptr);
}

TEST(IniDocumentNodes, NodeExistsForKeysSectionsAndSectionPrefixes)
{
    IniDocument document;
    document.SetValue("Alpha/Beta/Key", "v");
    EXPECT_TRUE(document.NodeExists(""));
    EXPECT_TRUE(document.NodeExists("Alpha"));
    EXPECT_TRUE(document.NodeExists("Alpha/Beta"));
    EXPECT_TRUE(document.NodeExists("Alpha/Beta/Key"));
    EXPECT_FALSE(document.NodeExists("Alp"));
    EXPECT_FALSE(document.NodeExists("Alpha/Beta/Other"));
}

TEST(IniDocumentNodes, KeyNameIndexOutsideTheKeysIsRefused)
{
    IniDocument document;
    document.SetValue("S/a", "1");
    std::string name = "kept";
    EXPECT_EQ(document.GetKeyNameAt("S", 1, name), INI_RESULT_NO_SUCH_INDEX);
    EXPECT_EQ(document.GetKeyNameAt("S", -1, name), INI_RESULT_NO_SUCH_INDEX);
    EXPECT_EQ(document.GetKeyNameAt("Missing", 0, name), INI_RESULT_NO_SUCH_INDEX);
    EXPECT_EQ(name, "kept");
}

TEST(IniDocumentArrays, CountIsOneMoreThanTheLargestItemNumber)
{
    IniDocument document;
    document.SetValue("L/name", "not an item");
    document.SetValue("L/07", "not an item either");
    document.SetValue("L/4", "four");
    document.SetValue("L/1", "one");
    EXPECT_EQ(document.GetArrayCount("L"), 5);
    EXPECT_EQ(Item(document, "L", 0), "");
    EXPECT_EQ(Item(document, "L", 4), "four");
    std::string item;
    EXPECT_EQ(document.GetArrayItemAt("L", 5, item), INI_RESULT_NO_SUCH_INDEX);
    EXPECT_EQ(document.GetArrayCount("Missing"), 0);
}

TEST(IniDocumentArrays, ItemsAreKeptInNumberOrderAfterOtherKeys)
{
    IniDocument document;
    document.SetValue("L/name", "x");
    document.SetArrayItemAt("L", 2, "c");
    document.SetArrayItemAt("L", 0, "a");
    document.SetArrayItemAt("L", 10, "k");
    EXPECT_EQ(Keys(document, "L"), (std::vector<std::string>{"name", "0", "2", "10"}));
}

TEST(IniDocumentArrays, SettingTheCountCutsOrExtends)
{
    IniDocument document;
    for (std::int32_t i = 0; i < 4; ++i)
    {
        document.SetArrayItemAt("L", i, std::to_string(i));
    }
    document.SetArrayCount("L", 2);
    EXPECT_EQ(Keys(document, "L"), (std::vector<std::string>{"0", "1"}));
    document.SetArrayCount("L", 2147483647);
    EXPECT_EQ(document.GetArrayCount("L"), 2147483647);
    EXPECT_EQ(document.GetKeyCount("L"), 3);
    document.SetArrayCount("L", 0);
    EXPECT_EQ(document.GetArrayCount("L"), 0);
    document.SetArrayCount("Untouched", 0);
    EXPECT_EQ(document.FindSection("Untouched"), nullptr);
}

TEST(IniDocumentArrays, RemovingAnItemMovesTheLaterOnesDown)
{
    IniDocument document;
    document.SetArrayItemAt("L", 0, "a");
    document.SetArrayItemAt("L", 1, "b");
    document.SetArrayItemAt("L", 2, "c");
    EXPECT_EQ(document.RemoveArrayItemAt("L", 1), INI_RESULT_OK);
    EXPECT_EQ(document.GetArrayCount("L"), 2);
    EXPECT_EQ(Item(document, "L", 0), "a");
    EXPECT_EQ(Item(document, "L", 1), "c");
    EXPECT_EQ(document.RemoveArrayItemAt("L", 2), INI_RESULT_NO_SUCH_INDEX);
    EXPECT_EQ(document.RemoveArrayItemAt("L", -1), INI_RESULT_NO_SUCH_INDEX);
}

TEST(IniDocumentArrays, RemovingFromASparseArrayKeepsTheCount)
{
    IniDocument document;
    document.SetArrayItemAt("L", 5, "last");
    EXPECT_EQ(document.RemoveArrayItemAt("L", 5), INI_RESULT_OK);
    EXPECT_EQ(document.GetArrayCount("L"), 5);
    EXPECT_EQ(Item(document, "L", 4), "");
}

} // namespace
} // namespace IniSettings
