// The main window's menus as the shipped string table builds them: one menu per
// "CONTEXT_MENU<n>" group, items in position order, separators, labels and help texts trimmed.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/MenuItemDescriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QZ
{
namespace
{

// A control that reads the main menu bar's table.
class MenuOwner : public LControl
{
public:
    explicit MenuOwner(const RCPtr<LStringTable>& table)
        : LControl(RCPtr<LControl>(), WideString(u"mainMenu"), true), mTable(table)
    {
    }
    RCPtr<LStringTable> GetStringTable() const override { return mTable; }

private:
    RCPtr<LStringTable> mTable;
};

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

TEST(ShippedMainMenu, BuildsTheFileAndHelpMenus)
{
    const RCPtr<LControlFactory> factory(
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva")));
    factory->SetBaseFolder(WideString(u"::"));
    ASSERT_EQ(factory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                        WideString(u"::FRAMEWORK_STRINGS"), 0x0009),
              S_OK)
        << factory->GetLastError();
    const RCPtr<LStringTable> table =
        factory->FindStringTable(WideString(u"RededoVuvuva.MainControl|mainMenu"));
    ASSERT_TRUE(table);
    const RCPtr<LControl> owner(new MenuOwner(table));
    std::vector<RCPtr<LMenuDescriptor>> menus;
    ASSERT_EQ(owner->BuildContextMenu(menus), S_OK);
    ASSERT_EQ(menus.size(), 2u);

    struct Item
    {
        const char* command; // "-" for a separator
        const char* text;
        const char* help;
    };
    const std::vector<std::vector<Item>> expected = {
        {{"NID_MENU_FILE_SEND_PRESET_TO_DEVICE", "Send Vidida",
          "Send this preset to the controller."},
         {"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", "Retrieve Vidida",
          "Retrieve a preset from the controller."},
         {"-", "", ""},
         {"NID_MENU_FILE_LOAD_PRESET_FROM_FILE", "Load Vidida", "Load Vidida from disk."},
         {"NID_MENU_FILE_SAVE_PRESET_TO_FILE", "Save Vidida", "Save Vidida to disk"},
         {"-", "", ""},
         {"NID_MENU_FILE_GLOBALSETTINGS_REQ", "Global Settings", ""},
         {"-", "", ""},
         {"NID_MENU_FILE_EXIT_REQ", "Exit", "Exit Tarn 61 Vidida Editor"}},
        {{"NID_MENU_HELP_OPEN_USER_GUIDE_REQ", "Open User Guide", ""},
         {"NID_MENU_HELP_ABOUT_REQ", "About Tarn 61 Vidida Editor",
          "About Tarn 61 Vidida Editor"}}};
    for (std::size_t m = 0; m < expected.size(); ++m)
    {
        ASSERT_EQ(menus[m]->GetItemCount(), static_cast<std::int32_t>(expected[m].size()));
        for (std::size_t i = 0; i < expected[m].size(); ++i)
        {
            const RCPtr<LMenuItemDescriptor> item =
                menus[m]->GetItemAt(static_cast<std::int32_t>(i));
            const Item& want = expected[m][i];
            const bool separator = std::string(want.command) == "-";
            EXPECT_EQ(item->IsSeparator(), separator) << m << "." << i;
            EXPECT_FALSE(item->HasSubmenu()) << m << "." << i;
            if (!separator)
            {
                EXPECT_EQ(Narrow(item->GetCommand()), want.command) << m << "." << i;
                EXPECT_EQ(Narrow(item->GetText()), want.text) << m << "." << i;
                EXPECT_EQ(Narrow(item->GetStatusText()), want.help) << m << "." << i;
                EXPECT_TRUE(item->IsEnabled()) << m << "." << i;
            }
        }
    }
}

} // namespace
} // namespace QZ
