#include "Platform/Dialogs/FileFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace QZ::Dialogs;

namespace
{

struct FilterCase
{
    const char* text;
    std::vector<FileFilter> expected;
};

} // namespace

TEST(FileFilter, PairsBecomeFiltersAndIncompletePairsAreDropped)
{
    const FilterCase cases[] = {
        {"Presets (*.tp)|*.tp|All Files (*.*)|*.*",
         {{"Presets (*.tp)", {"*.tp"}}, {"All Files (*.*)", {"*.*"}}}},
        // Several patterns with blanks, a trailing separator, a lone label at the end.
        {"Images|*.png; *.bmp ;|Docs|*.txt|",
         {{"Images", {"*.png", "*.bmp"}}, {"Docs", {"*.txt"}}}},
        {"Only a label", {}},
        {"A|*.a|Orphan", {{"A", {"*.a"}}}},
        // A pair without patterns gives no filter; an empty label shows the patterns.
        {"Empty| ; |  |*.b", {{"*.b", {"*.b"}}}},
        {"", {}},
        {"||", {}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ParseFileFilter(c.text), c.expected) << c.text;
    }
}

TEST(FileFilter, DesktopPatternsMatchAsOnWindows)
{
    const std::pair<const char*, const char*> cases[] = {
        {"*.*", "*"},
        {"*", "*"},
        {"*.Tp1", "*.[tT][pP]1"},
        {"data[1].?", "[dD][aA][tT][aA][[]1].?"},
        {"*.é", "*.é"},
    };
    for (const auto& [pattern, expected] : cases)
    {
        EXPECT_EQ(ToDesktopPattern(pattern), expected) << pattern;
    }
}

TEST(FileFilter, DefaultExtensionIsAddedOnlyToANameWithoutOne)
{
    const std::pair<const char*, const char*> extensions[] = {
        {"tp", "tp"}, {".tp", "tp"}, {"*.tp", "tp"}, {" *.tp ", "tp"},
        {"*.*", ""},  {"*", ""},     {"", ""},       {"t?", ""},
    };
    for (const auto& [text, expected] : extensions)
    {
        EXPECT_EQ(NormalizeDefaultExtension(text), expected) << text;
    }

    const std::tuple<const char*, const char*, const char*> names[] = {
        {"/home/a/preset", "tp", "/home/a/preset.tp"},
        {"/home/a/preset.TP", "tp", "/home/a/preset.TP"},
        {"/home/a/preset.bak", "tp", "/home/a/preset.bak"},
        // A dot in a folder is no extension; a leading dot makes a hidden name, not an extension.
        {"/home/a.b/preset", "tp", "/home/a.b/preset.tp"},
        {"/home/a/.preset", "tp", "/home/a/.preset.tp"},
        {"/home/a/preset", "", "/home/a/preset"},
        {"/home/a/", "tp", "/home/a/"},
        {"preset", "tp", "preset.tp"},
    };
    for (const auto& [path, extension, expected] : names)
    {
        EXPECT_EQ(WithDefaultExtension(path, extension), expected) << path;
    }
}
