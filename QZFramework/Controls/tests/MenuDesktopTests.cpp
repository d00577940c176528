// The main menu bar in a desktop window on a real X server (a private Xvfb started by the test
// launcher), used the way a person uses it through xdotool: a click on a title, a rest on an item
// with a submenu until it opens, and a click on an item of the submenu; the status bar shows the
// help of the item under the pointer.
#include "QZFramework/ControlBase/tests/WindowTestSupport.h"
#include "QZFramework/Controls/ComboMenu.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/MenuListBoxItem.h"
#include "QZFramework/Controls/PopupMenu.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Controls/tests/MenuTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace QZ::ToolkitTest
{
namespace
{

constexpr std::int32_t kLeft = 100;
constexpr std::int32_t kTop = 100;

class MenuDesktop : public WindowFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under cmake/RunUnderXvfb.sh";
        OpenLoop(nullptr);
        RegisterMenuClasses(*mFactory);
        LoadSkin(MenuSkin());
        LoadStrings(kMenuStrings);
    }
    void TearDown() override
    {
        mListener->UnsubscribeAll();
        WindowFixture::TearDown();
    }

    // Moves the pointer onto the middle of the control, and clicks there when asked; whether
    // xdotool did it.
    bool Point(const LControl& control, bool click)
    {
        const PointT<double> at = control.GetPositionInRoot();
        std::vector<std::string> command = {
            "xdotool", "mousemove",
            std::to_string(kLeft + static_cast<std::int32_t>(at.x + control.GetSize().x / 2)),
            std::to_string(kTop + static_cast<std::int32_t>(at.y + control.GetSize().y / 2))};
        if (click)
        {
            command.insert(command.end(), {"click", "1"});
        }
        return RunCommand(command) == 0;
    }

    // Waits until the window shows, then opens the bar's first menu with a click on its title;
    // that menu.
    LPopupMenu* OpenFirstMenu(const OSWindow& window)
    {
        auto* bar = dynamic_cast<LMainMenu*>(Find(window, "mainMenu").Get());
        // Input sent before the server shows the window would reach the desktop behind it.
        if (bar == nullptr || bar->GetTitles().size() != 2u ||
            RunCommand({"xdotool", "search", "--sync", "--onlyvisible", "--pid",
                        std::to_string(::getpid())}) != 0 ||
            !Point(*bar->GetTitles()[0], true))
        {
            return nullptr;
        }
        LPopupMenu* popup = bar->GetTitles()[0]->GetPopupMenu().Get();
        return RunUntil([&] { return popup->IsShowing(false); }) ? popup : nullptr;
    }

    // Runs the loop through the given number of idle passes.
    bool RunIdlePasses(int count)
    {
        int passes = 0;
        std::function<void()> counter = [&]
        {
            if (++passes < count)
            {
                mScripted->action = counter;
            }
        };
        mScripted->action = counter;
        return RunUntil([&] { return passes >= count; });
    }

    RCPtr<WindowListener> mListener{new WindowListener()};
};

TEST_F(MenuDesktop, AClickedSubmenuItemReachesTheWindowsQueueOnce)
{
    const std::unique_ptr<OSWindow> window = OpenWindow(u"main", kLeft, kTop, 200, 100);
    for (const char16_t* command : {u"NID_OPEN", u"NID_RECENT", u"NID_RECENT_A", u"NID_RECENT_B",
                                    u"NID_SAVE", u"NID_QUIT", u"NID_ABOUT"})
    {
        mListener->Subscribe(RCPtr<LNotificationDistributor>(window->GetRootWindow()), command, 0);
    }
    LPopupMenu* opened = OpenFirstMenu(*window);
    ASSERT_NE(opened, nullptr) << "the title did not open";
    LPopupMenu& popup = *opened;

    // "Recent" owns the submenu; the pointer rests there until it opens by itself.
    const auto rested = std::chrono::steady_clock::now();
    ASSERT_TRUE(Point(*popup.GetRowControls()[2], false));
    ASSERT_TRUE(RunUntil([&] { return static_cast<bool>(popup.GetOpenSubmenu()); }))
        << "no submenu opened";
    EXPECT_GE(std::chrono::steady_clock::now() - rested,
              std::chrono::milliseconds(LPopupMenu::kSubmenuDelayMs));
    EXPECT_EQ(popup.GetCurrentIndex(), 2);
    LPopupMenu& submenu = *popup.GetOpenSubmenu();
    ASSERT_TRUE(submenu.IsShowing(false));
    EXPECT_TRUE(mListener->heard.empty());

    ASSERT_TRUE(Point(*submenu.GetRowControls()[1], true));
    ASSERT_TRUE(RunUntil([&] { return !mListener->heard.empty(); })) << "no command arrived";
    EXPECT_FALSE(popup.IsShowing(false));
    ASSERT_TRUE(RunIdlePasses(10));
    EXPECT_EQ(mListener->Take(), std::vector<std::string>{"NID_RECENT_B 1 B"});
}

TEST_F(MenuDesktop, TheStatusBarShowsTheHelpOfTheRowUnderThePointer)
{
    const std::unique_ptr<OSWindow> window = OpenWindow(u"main", kLeft, kTop, 200, 100);
    auto* status = dynamic_cast<LStatusBar*>(Find(*window, "statusBar").Get());
    ASSERT_NE(status, nullptr);
    LPopupMenu* opened = OpenFirstMenu(*window);
    ASSERT_NE(opened, nullptr) << "the title did not open";
    LPopupMenu& popup = *opened;
    const auto shows = [&](const char16_t* text)
    { return RunUntil([&] { return status->GetLabel()->GetText() == WideString(text); }); };

    // "Open|Opens a file" has help; "Quit" has none, so leaving "Open" for it brings back the
    // bar's own text, as does leaving the menu.
    ASSERT_TRUE(Point(*popup.GetRowControls()[0], false));
    EXPECT_TRUE(shows(u"Opens a file"));
    ASSERT_TRUE(Point(*popup.GetRowControls()[4], false));
    EXPECT_TRUE(shows(u"Ready"));
    ASSERT_TRUE(Point(*popup.GetRowControls()[0], false));
    EXPECT_TRUE(shows(u"Opens a file"));
    ASSERT_TRUE(Point(*Find(*window, "checkedCombo"), false));
    EXPECT_TRUE(shows(u"Ready"));
}

} // namespace
} // namespace QZ::ToolkitTest
