#include "QZFramework/ControlBase/MenuItemDescriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace QZ
{
namespace
{

using Entries = std::vector<std::pair<const char16_t*, const char16_t*>>;

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

LStringEntries MakeEntries(const Entries& rows)
{
    LStringEntries entries;
    for (const auto& [key, text] : rows)
    {
        entries.push_back({WideString(key), WideString(text)});
    }
    return entries;
}

// "label(help)=command" per item, "-" for a separator, a submenu in brackets after its owner;
// "*" marks a checked item, "~" a disabled one, "#" one with a hot-key text.
std::string Describe(const LMenuDescriptor& menu)
{
    std::string text;
    for (std::int32_t i = 0; i < menu.GetItemCount(); ++i)
    {
        const RCPtr<LMenuItemDescriptor> item = menu.GetItemAt(i);
        text += i > 0 ? "; " : "";
        text += item->IsChecked() ? "*" : "";
        text += item->IsEnabled() ? "" : "~";
        text += item->GetHotKeyText().IsEmpty() ? "" : "#";
        if (item->IsSeparator())
        {
            text += "-";
        }
        else
        {
            text += Narrow(item->GetText());
            if (!item->GetStatusText().IsEmpty())
            {
                text += "(";
                text += Narrow(item->GetStatusText());
                text += ")";
            }
            text += "=";
            text += Narrow(item->GetCommand());
        }
        if (item->HasSubmenu())
        {
            text += "[";
            text += Describe(*item);
            text += "]";
        }
    }
    return text;
}

std::string Build(const Entries& rows)
{
    RCPtr<LMenuDescriptor> menu;
    EXPECT_EQ(LMenuDescriptor::BuildFromStringEntries(menu, MakeEntries(rows)), S_OK);
    return menu ? Describe(*menu) : "<none>";
}

TEST(MenuDescriptor, BuildsItemTreesFromKeyPaths)
{
    const std::pair<Entries, std::string> cases[] = {
        // The main window's two menus, as the main menu hands them over.
        {{{u"00.NID_MENU_FILE_SEND_PRESET_TO_DEVICE",
           u"Send Vidida| Send this preset to the controller."},
          {u"01.NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE",
           u"Retrieve Vidida| Retreive a preset from the controller."},
          {u"02.-", u"-"},
          {u"03.NID_MENU_FILE_LOAD_PRESET_FROM_FILE", u"Load Vidida | Load Vidida from disk."},
          {u"04.NID_MENU_FILE_SAVE_PRESET_TO_FILE", u"Save Vidida | Save Vidida to disk"},
          {u"05.-", u"-"},
          {u"06.NID_MENU_FILE_GLOBALSETTINGS_REQ", u"Global Settings"},
          {u"07.-", u"-"},
          {u"08.NID_MENU_FILE_EXIT_REQ", u"Exit|Exit Tarn 61 Vidida Editor"}},
         "Send Vidida(Send this preset to the controller.)=NID_MENU_FILE_SEND_PRESET_TO_DEVICE; "
         "Retrieve Vidida(Retreive a preset from the controller.)="
         "NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE; -; "
         "Load Vidida(Load Vidida from disk.)=NID_MENU_FILE_LOAD_PRESET_FROM_FILE; "
         "Save Vidida(Save Vidida to disk)=NID_MENU_FILE_SAVE_PRESET_TO_FILE; -; "
         "Global Settings=NID_MENU_FILE_GLOBALSETTINGS_REQ; -; "
         "Exit(Exit Tarn 61 Vidida Editor)=NID_MENU_FILE_EXIT_REQ"},
        {{{u"00.NID_MENU_HELP_OPEN_USER_GUIDE_REQ", u"Open User Guide"},
          {u"01.NID_MENU_HELP_ABOUT_REQ",
           u"About Tarn 61 Vidida Editor|About Tarn 61 Vidida Editor"}},
         "Open User Guide=NID_MENU_HELP_OPEN_USER_GUIDE_REQ; "
         "About Tarn 61 Vidida Editor(About Tarn 61 Vidida Editor)=NID_MENU_HELP_ABOUT_REQ"},
        // Positions order numerically; equal positions all stay, in the order given.
        {{{u"10.NID_TEN", u"Ten"}, {u"9.NID_NINE", u"Nine"}, {u"009.NID_AGAIN", u"Again"}},
         "Nine=NID_NINE; Again=NID_AGAIN; Ten=NID_TEN"},
        // Submenus, whichever comes first; an owner without an entry gets an empty label.
        {{{u"01.00.NID_A", u"A"},
          {u"03.00.00.NID_DEEP", u"Deep"},
          {u"01.NID_SUB", u"Sub"},
          {u"01.01.-", u"-"},
          {u"01.02.NID_B", u"B"},
          {u"02.NID_C", u"C"}},
         "Sub=NID_SUB[A=NID_A; -; B=NID_B]; C=NID_C; =[=[Deep=NID_DEEP]]"},
        // The first of two items at one position owns the submenu.
        {{{u"1.NID_X", u"X"}, {u"1.NID_Y", u"Y"}, {u"1.0.NID_Z", u"Z"}},
         "X=NID_X[Z=NID_Z]; Y=NID_Y"},
        // Label and help split at the first "|" and trimmed of blanks.
        {{{u"0.NID_A", u" \tLabel  |  help text \r\n"},
          {u"1.NID_B", u"No help"},
          {u"2.NID_C", u"a|b|c"},
          {u"3.NID_D", u""},
          {u"4.", u"No command"}},
         "Label(help text)=NID_A; No help=NID_B; a(b|c)=NID_C; =NID_D; No command="},
        // Keys without a position, or with a segment that is not one, are not items.
        {{{u"TOOLTIP", u"x"},
          {u"NID_X", u"x"},
          {u"a.NID_X", u"x"},
          {u"01..NID_X", u"x"},
          {u".01.NID_X", u"x"},
          {u"01.a.NID_X", u"x"},
          {u"-1.NID_X", u"x"},
          {u"1 .NID_X", u"x"},
          {u"", u"x"},
          {u".", u"x"}},
         ""},
    };
    for (const auto& [rows, expected] : cases)
    {
        EXPECT_EQ(Build(rows), expected);
    }
}

TEST(MenuDescriptor, NestingStopsAtTheDepthLimit)
{
    std::u16string path;
    for (std::size_t depth = 1; depth <= LMenuDescriptor::kMaxDepth + 1; ++depth)
    {
        path += u"0.";
        RCPtr<LMenuDescriptor> menu;
        LMenuDescriptor::BuildFromStringEntries(
            menu, MakeEntries({{(path + u"NID_DEEP").c_str(), u"Deep"}}));
        std::size_t levels = 0;
        for (RCPtr<LMenuDescriptor> level = menu; level->HasItems(); level = level->GetItemAt(0))
        {
            ++levels;
        }
        EXPECT_EQ(levels, depth <= LMenuDescriptor::kMaxDepth ? depth : 0u);
    }
}

TEST(MenuDescriptor, CloneCopiesEveryItemAndItemInfoChecksTheIndex)
{
    RCPtr<LMenuDescriptor> menu;
    LMenuDescriptor::BuildFromStringEntries(
        menu, MakeEntries({{u"0.NID_A", u"A|help"}, {u"1.NID_SUB", u"Sub"}, {u"1.0.NID_B", u"B"}}));
    const std::string original = Describe(*menu);
    const RCPtr<LMenuDescriptor> copy = menu->Clone();
    ASSERT_EQ(Describe(*copy), original);

    copy->GetItemAt(0)->SetText(WideString(u"Changed"));
    copy->GetItemAt(0)->SetChecked(true);
    copy->GetItemAt(1)->GetItemAt(0)->SetEnabled(false);
    copy->GetItemAt(1)->GetItemAt(0)->SetHotKeyText(WideString(u"Ctrl+B"));
    EXPECT_EQ(Describe(*copy), "*Changed(help)=NID_A; Sub=NID_SUB[~#B=NID_B]");
    EXPECT_EQ(Describe(*menu), original);

    // An item cloned through its menu type stays an item with its fields and submenu.
    const RCPtr<LMenuDescriptor> sub = RCPtr<LMenuDescriptor>(menu->GetItemAt(1))->Clone();
    const RCPtr<LMenuItemDescriptor> subItem = RCPtr<LMenuItemDescriptor>::DynamicCastFrom(sub);
    ASSERT_TRUE(subItem);
    EXPECT_EQ(Narrow(subItem->GetCommand()), "NID_SUB");
    EXPECT_NE(subItem->GetItemAt(0).Get(), menu->GetItemAt(1)->GetItemAt(0).Get());

    MenuItemState state;
    EXPECT_EQ(copy->GetItemInfo(0, state), S_OK);
    EXPECT_TRUE(state.enabled && state.checked && Narrow(state.text) == "Changed");
    for (const std::int32_t index : {-1, 2})
    {
        state = {true, true, WideString(u"stale")};
        EXPECT_EQ(copy->GetItemInfo(index, state), E_INVALIDARG);
        EXPECT_TRUE(!state.enabled && !state.checked && state.text.IsEmpty());
        EXPECT_FALSE(copy->GetItemAt(index));
    }
}

} // namespace
} // namespace QZ
