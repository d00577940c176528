// The application object's shell services: folders, settings files, names and version texts,
// cursors, key state, debug switches and the exit request.
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/ControlResources.h"
#include "QZFramework/Application/DebugSwitches.h"
#include "QZFramework/Application/StartupMessages.h"
#include "QZFramework/Application/Version.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include "ShellEnvironment.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

using namespace QZ;

namespace
{

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

} // namespace

using ApplicationFolderTest = ShellEnvironment;

TEST_F(ApplicationFolderTest, FolderNumbersResolveAndAreCreated)
{
    LApplication application;
    const std::string product = "/Korvane/Tarn 61 Vidida Editor";
    using Case = std::tuple<std::int32_t, std::string>;
    const Case cases[] = {
        {0, std::filesystem::read_symlink("/proc/self/exe").parent_path().string()},
        {1, "::"},
        {2, Path("data") + product},
        {3, Path("config") + product},
        {4, Path("home/Documents")},
        {5, Path("home/Documents")},
        {6, Path("home/Documents")}};
    for (const auto& [id, folder] : cases)
    {
        EXPECT_EQ(Narrow(application.GetFolder(id)), folder) << id;
        EXPECT_TRUE(id == 1 || std::filesystem::is_directory(folder)) << folder;
    }
    for (const std::int32_t id : {7, -1})
    {
        try
        {
            static_cast<void>(application.GetFolder(id));
            ADD_FAILURE() << id;
        }
        catch (const std::out_of_range& e)
        {
            const std::string text = e.what();
            EXPECT_EQ(
                text.rfind("Out of Range : Unknown Path ID. : QZ::LApplicationBase::GetFolder : ",
                           0),
                0u)
                << text;
            EXPECT_NE(text.find("QZFramework/Application/ApplicationFolders.cpp : Line "),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST_F(ApplicationFolderTest, FoldersThatCannotBeMadeFallBackToAPerUserFolder)
{
    LApplication application;
    // A file where the desktop's folder should be: the home default is taken instead.
    std::ofstream(Path("config/Korvane")) << "in the way";
    EXPECT_EQ(Narrow(application.GetFolder(3)), Path("home/.config/Korvane/Tarn 61 Vidida Editor"));
    // Neither can be made: the per-user folder in the temporary folder.
    std::filesystem::remove_all(Path("home/.config"));
    std::ofstream(Path("home/.config")) << "in the way";
    const std::string fallback = Path("tmp/qz-user-" + std::to_string(::getuid()));
    EXPECT_EQ(Narrow(application.GetFolder(3)), fallback + "/Korvane/Tarn 61 Vidida Editor");
    // A relative XDG folder is never used.
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(Narrow(application.GetFolder(2)),
              Path("home/.local/share/Korvane/Tarn 61 Vidida Editor"));
}

TEST_F(ApplicationFolderTest, AnotherUsersFallbackFolderOrALinkInItIsNeverWritten)
{
    if (::getuid() != 0)
    {
        GTEST_SKIP() << "needs root to act as another user";
    }
    // The per-user config folders cannot be made, so the fallback in the shared temporary folder
    // is the only candidate left.
    std::ofstream(Path("blocker")) << "in the way";
    setenv("HOME", Path("blocker/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", Path("blocker/config").c_str(), 1);
    std::filesystem::permissions(Path("tmp"),
                                 std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    const std::string victim = Path("home/.gitconfig");
    std::ofstream(victim) << "[user]\n\tname = victim\n";
    const std::string fallback = Path("tmp/qz-user-0");
    const std::string product = fallback + "/Korvane/Tarn 61 Vidida Editor";
    // The attacker makes the folder first, open to all, with a link to the victim's file.
    ASSERT_EQ(
        std::system(("setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c 'umask 0; "
                     "mkdir -p \"" +
                     product + "\" && ln -s " + victim + " \"" + product + "/UserSettings.ini\"'")
                        .c_str()),
        0);
    const auto settle = [&]
    {
        LApplication application;
        const std::int32_t file = application.GetSettingsFile(LApplication::kUserSettingsFile);
        EXPECT_EQ(file, 0);
        EXPECT_EQ(application.GetCurrentSkinIndex(), 0);
        // What closing the editor does with a file it has (it keeps the window's place).
        if (file != 0)
        {
            static_cast<void>(
                application.GetIniFileManager()->SetIniValueInt(file, u"CurrentSkinIndex", 1));
        }
    };
    settle();
    // Our own private folder, but a link in the file's place: not followed either.
    std::filesystem::remove_all(fallback);
    {
        LApplication application;
        EXPECT_EQ(Narrow(application.GetFolder(3)), product);
    }
    EXPECT_EQ(std::filesystem::status(fallback).permissions(), std::filesystem::perms::owner_all);
    std::filesystem::create_symlink(victim, product + "/UserSettings.ini");
    settle();
    std::ifstream read(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(read), {}), "[user]\n\tname = victim\n");
}

TEST_F(ApplicationFolderTest, SettingsFilesOpenOnceAndKeepTheirValuesAcrossRuns)
{
    {
        LApplication application;
        const std::int32_t user = application.GetSettingsFile(LApplication::kUserSettingsFile);
        ASSERT_NE(user, 0);
        EXPECT_EQ(application.GetSettingsFile(LApplication::kUserSettingsFile), user);
        const std::int32_t shared =
            application.GetSettingsFile(LApplication::kApplicationSettingsFile);
        EXPECT_NE(shared, 0);
        EXPECT_NE(shared, user);
        EXPECT_EQ(application.GetSettingsFile(2), 0);
        EXPECT_EQ(application.GetSettingsFile(-1), 0);
        std::int32_t index = -1;
        EXPECT_EQ(
            application.GetIniFileManager()->GetIniValueInt(user, u"CurrentSkinIndex", 0, index),
            S_OK);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(application.GetIniFileManager()->SetIniValueInt(user, u"CurrentSkinIndex", 3),
                  S_OK);
    }
    EXPECT_TRUE(
        std::filesystem::exists(Path("config/Korvane/Tarn 61 Vidida Editor/UserSettings.ini")));
    LApplication restarted;
    std::int32_t index = -1;
    static_cast<void>(restarted.GetIniFileManager()->GetIniValueInt(
        restarted.GetSettingsFile(LApplication::kUserSettingsFile), u"CurrentSkinIndex", 0, index));
    EXPECT_EQ(index, 3);
}

TEST(ApplicationVersion, TranslationFollowsTheUsersThenTheSessionsLanguageThenEnglish)
{
    const VersionTranslation translations[] = {
        {0x0407, 0x04B0}, {0x040C, 0x04E4}, {0x0409, 0x04B0}};
    const VersionString strings[] = {{"040704b0", "ProductName", "Editor (de)"},
                                     {"040c04e4", "ProductName", "Éditeur"},
                                     {"040904b0", "ProductName", "Editor (en)"},
                                     {"040904b0", "Comments", "English only"}};
    const VersionBlock block{translations, strings};
    const VersionBlock noEnglish{std::span(translations, 2), strings};
    using Case = std::tuple<const VersionBlock*, std::uint16_t, std::uint16_t, const char*>;
    const Case cases[] = {
        {&block, 0x0807, 0x0409, "Editor (de)"},     // Swiss German reads the German entry
        {&block, 0x0410, 0x080C, "Éditeur"},         // the session's language after the user's
        {&block, 0x0411, 0x0412, "Editor (en)"},     // English when neither is there
        {&noEnglish, 0x0411, 0x0412, "Editor (de)"}, // else the first entry
    };
    for (const auto& [read, user, system, product] : cases)
    {
        const Version version(read, user, system);
        EXPECT_EQ(Narrow(version.GetProductName()), product) << std::hex << user;
    }
    EXPECT_EQ(Narrow(Version(&block, 0x0407, 0x0407).GetStringFileInfo("Comments")), "");
    EXPECT_EQ(Narrow(Version(&block, 0x0407, 0x0407).GetStringFileInfo("Missing")), "");

    const Version program;
    EXPECT_EQ(Narrow(program.GetCompanyName()), "Korvane");
    EXPECT_EQ(Narrow(program.GetProductName()), "Tarn 61 Vidida Editor");
    EXPECT_EQ(Narrow(program.GetProductVersion()), "1.0.0");
    EXPECT_NE(Narrow(program.GetStringFileInfo("LegalCopyright")).find("Korvane"),
              std::string::npos);
    LApplication application;
    EXPECT_EQ(Narrow(application.GetApplicationTitle()), "Tarn 61 Vidida Editor");
    EXPECT_EQ(Narrow(application.GetSettingsVersion()), "1_0_0");
    EXPECT_EQ(Narrow(GetApplicationName()), "Korvane_Tarn 61 Vidida Editor");
}

TEST(ApplicationVersion, UnusableBlocksThrowWithTheirErrorNumbers)
{
    const VersionBlock empty{};
    using Case = std::tuple<const VersionBlock*, std::int32_t>;
    const Case cases[] = {{nullptr, 902}, {&empty, 900}};
    for (const auto& [block, number] : cases)
    {
        try
        {
            Version version(block, 0x0409, 0x0409);
            ADD_FAILURE() << number;
        }
        catch (const std::runtime_error& e)
        {
            const std::string expected =
                "Runtime Error : The application encountered problems during startup and will "
                "now close.  (Error code = " +
                std::to_string(number) + ") : QZ::Version::Version : ";
            EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
        }
    }
    // Once a framework string table is loaded, the number is worded by it.
    TableResources resources;
    resources.strings[u"EXCEPTION_ID"] = u"Fehler Nummer %d.";
    LApplication application(ApplicationStartup{&resources, "", 0x0407});
    try
    {
        Version version(nullptr, 0x0409, 0x0409);
        ADD_FAILURE();
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_EQ(std::string(e.what()).rfind("Runtime Error : Fehler Nummer 902. : ", 0), 0u)
            << e.what();
    }
}

TEST(ApplicationCursors, NamesGiveStandardOwnOrNoCursors)
{
    LApplication application;
    using Case = std::tuple<const char16_t*, CursorHandle>;
    const Case cases[] = {{UI_CURSOR_ARROW, kCursorArrow},
                          {UI_CURSOR_DEFAULT, kCursorArrow},
                          {UI_CURSOR_IBEAM, kCursorIBeam},
                          {UI_CURSOR_WAIT, kCursorWait},
                          {UI_CURSOR_SIZE_NESW, kCursorSizeNESW},
                          {UI_CURSOR_NO_DROP, kCursorNo},
                          {UI_CURSOR_HELP, kCursorHelp},
                          {UI_CURSOR_DROP_MOVE, kCursorDropMove},
                          {UI_CURSOR_DROP_COPY, kCursorDropCopy},
                          {UI_CURSOR_MAG, kNoCursor},
                          {UI_CURSOR_SPLIT_V, kNoCursor},
                          {u"UI_CURSOR_UNKNOWN", kCursorArrow},
                          {nullptr, kCursorArrow}};
    for (const auto& [name, cursor] : cases)
    {
        EXPECT_EQ(application.GetCursor(name), cursor);
        EXPECT_EQ(LoadAppCursor(name), cursor);
    }
    // The base class alone has no cursors of its own.
    LApplicationBase& base = application;
    EXPECT_EQ(base.LApplicationBase::GetCursor(UI_CURSOR_DROP_MOVE), kCursorArrow);

    std::span<const std::uint8_t> png;
    std::int32_t x = -1;
    std::int32_t y = -1;
    for (const CursorHandle cursor : {kCursorDropMove, kCursorDropCopy})
    {
        ASSERT_TRUE(GetCursorImage(cursor, png, x, y)) << cursor;
        EXPECT_EQ(std::string(png.begin(), png.begin() + 4), "\x89PNG");
        EXPECT_EQ(x, 1);
    }
    EXPECT_FALSE(GetCursorImage(kCursorArrow, png, x, y));
    EXPECT_TRUE(png.empty());
    const auto icon = application.GetAppIcon();
    ASSERT_EQ(icon.size(), 7u);
    for (const std::span<const std::uint8_t> size : icon)
    {
        EXPECT_EQ(std::string(size.begin(), size.begin() + 4), "\x89PNG");
    }
}

TEST(ApplicationInput, KeyAndButtonStateFollowTheWindowsEvents)
{
    LApplication application;
    InputState& input = application.GetInputState();
    const auto state = [&](std::uint32_t key)
    {
        bool held = false;
        bool toggled = false;
        EXPECT_EQ(application.GetKeyState(key, held, toggled), S_OK);
        return std::pair(held, toggled);
    };
    input.OnKeyDown('A');
    EXPECT_EQ(state('A'), std::pair(true, true));
    input.OnKeyUp('A');
    EXPECT_EQ(state('A'), std::pair(false, true));
    input.OnKeyDown('A');
    input.OnKeyUp('A');
    EXPECT_EQ(state('A'), std::pair(false, false));

    input.OnKeyDown(0xA1); // right Shift holds the generic Shift
    EXPECT_TRUE(state(0x10).first);
    EXPECT_FALSE(state(0xA0).first);
    input.OnKeyDown(0xA0);
    input.OnKeyUp(0xA1);
    EXPECT_TRUE(state(0x10).first);

    input.SetToggled(0x14, true); // Caps Lock on from the desktop
    input.OnButtonDown(InputState::kRightButton | 0x100);
    EXPECT_EQ(input.GetMouseButtons(), InputState::kRightButton);
    EXPECT_TRUE(state(0x02).first);
    EXPECT_FALSE(state(0x01).first);

    input.ReleaseAll();
    EXPECT_EQ(state(0x10), std::pair(false, false));
    EXPECT_EQ(state(0x14), std::pair(false, true));
    EXPECT_EQ(input.GetMouseButtons(), 0u);
    input.OnKeyDown(300);
    EXPECT_EQ(state(300), std::pair(false, false));

    std::uint32_t fields[8];
    EXPECT_EQ(application.GetSystemTime(fields), S_OK);
    EXPECT_GE(fields[0], 2024u);
    EXPECT_TRUE(fields[1] >= 1 && fields[1] <= 12 && fields[2] <= 6 && fields[7] < 1000);
}

TEST(ApplicationWorkArea, IsTheDisplaysUsableBoundsOrAFailureWithoutADisplay)
{
    LApplication application;
    WorkArea area;
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    EXPECT_EQ(application.GetWorkArea(area), E_FAIL);
    EXPECT_EQ(area.width, 0);
    EXPECT_EQ(area.height, 0);
    // SDL's display-less driver shows one display of 1024 by 768.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_EQ(application.GetWorkArea(area), S_OK);
    EXPECT_EQ(area.width, 1024);
    EXPECT_EQ(area.height, 768);
    unsetenv("SDL_VIDEODRIVER");
}

TEST(ApplicationDebugSwitches, CommandLinesGiveTheirDebugTargets)
{
    using Target = DebugSwitches::Target;
    using Case = std::tuple<const char*, Target, std::int32_t, const char*>;
    const Case cases[] = {
        {"editor", Target::None, 0, ""},
        {"editor -debug_console", Target::Console, 0, ""},
        {"editor x-DEBUG_CONSOLEx", Target::Console, 0, ""},
        {"editor -DEBUG_CONSOLE:9999", Target::Udp, 9999, ""},
        {"editor -DEBUG_CONSOLE:9999 more", Target::Udp, 9999, ""},
        {"editor -debug_console:9999:logger.local x", Target::Udp, 9999, "LOGGER.LOCAL"},
        {"editor -DEBUG_CONSOLE:7", Target::Udp, 7, ""},
        {"editor -DEBUG_CONSOLE:65535:", Target::Udp, 65535, ""},
        {"editor -DEBUG_CONSOLE:65536", Target::Refused, 0, ""},
        {"editor -DEBUG_CONSOLE:0", Target::Refused, 0, ""},
        {"editor -DEBUG_CONSOLE:12ab", Target::Refused, 0, ""},
        {"editor -DEBUG_CONSOLE:", Target::Refused, 0, ""},
        {"editor -DEBUG_CONSOLE::host", Target::Refused, 0, ""},
        {"editor -DEBUG_CONSOLE:-5", Target::Refused, 0, ""},
        {"editor -DEBUG_CONSOLE:0000080", Target::Refused, 0, ""}};
    for (const auto& [commandLine, target, port, host] : cases)
    {
        const DebugSwitches switches = DebugSwitches::Parse(commandLine);
        EXPECT_EQ(switches.target, target) << commandLine;
        EXPECT_EQ(switches.port, port) << commandLine;
        EXPECT_EQ(switches.host, host) << commandLine;
        EXPECT_EQ(switches.message.empty(), target != Target::Refused) << commandLine;
    }
    EXPECT_EQ(DebugSwitches::Parse("e -DEBUG_CONSOLE:12ab").message,
              "-DEBUG_CONSOLE: the port must be a number from 1 to 65535, not \"12AB\"");
}

TEST(ApplicationTexts, StartupTextsComeFromTheFrameworkTableWhenItHasThem)
{
    WideString text;
    WideString caption;
    GetStartupErrorTexts(nullptr, text, caption);
    EXPECT_EQ(Narrow(text),
              "The application encountered problems during startup and will now close.");
    EXPECT_EQ(Narrow(caption), "Error");
    EXPECT_EQ(Narrow(GetErrorIdText(nullptr, text, 901)),
              "The application encountered problems during startup and will now close.  "
              "(Error code = 901)");

    TableResources resources;
    resources.strings[u"STARTUP_ERROR_CAPTION"] = u"Fehler";
    GetStartupErrorTexts(&resources, text, caption);
    EXPECT_EQ(Narrow(text),
              "The application encountered problems during startup and will now close.");
    EXPECT_EQ(Narrow(caption), "Fehler");
    resources.strings[u"EXCEPTION_ID"] =
        u"The application has encountered Error ID %d.  Please contact Korvane Technical Support.";
    EXPECT_EQ(Narrow(GetErrorIdText(&resources, text, 903)),
              "The application has encountered Error ID 903.  Please contact Korvane Technical "
              "Support.");
}
