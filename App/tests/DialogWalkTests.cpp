// The editor's windows as a desktop user meets them under a window manager that frames them
// (openbox), driven from outside with xdotool on the real program: where the main window comes
// back after restarts, where dialogs open and what they are called, the keys that close them, the
// commands that must not run (greyed, or under an open dialog), and the end of the program while
// a dialog opened by a hot key is still open.
#include "App/tests/WalkSupport.h"
#include "App/tests/XWindowProbe.h"
#include "QZFramework/Controls/tests/ChooserSteps.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

namespace fs = std::filesystem;
using WalkSupport::ReadFile;
using WalkSupport::WaitFor;
using Clock = std::chrono::steady_clock;

constexpr const char* kAboutTitle = "About Korvane Tarn 61 Vidida Editor";
// Window points of the menu bar and its items (22-pixel rows below the 22-pixel bar).
constexpr int kHelpMenuX = 90;
constexpr int kMenuY = 11;
constexpr int kAboutItemY = 22 + 22 + 11;
// "Global Settings", greyed without a keyboard: the File menu's fifth item, below two separators
// of 7 pixels.
constexpr int kFileMenuX = 50;
constexpr int kGlobalSettingsItemY = 22 + 4 * 22 + 2 * 7 + 11;
// "Exit", the File menu's last item, below three separators.
constexpr int kExitItemY = 22 + 5 * 22 + 3 * 7 + 11;

// Polls until the condition has held for a whole second (what the desktop does after a click
// comes in its own time), or the time-out passes.
bool HoldsSteadily(const std::function<bool()>& holds, int timeoutMs = 10000)
{
    auto since = Clock::now();
    return WaitFor(
        [&]
        {
            const auto now = Clock::now();
            if (!holds())
            {
                since = now;
            }
            return now - since >= std::chrono::seconds(1);
        },
        timeoutMs);
}

// The first line a shell command prints.
std::string FirstLine(const std::string& command)
{
    FILE* output = ::popen(command.c_str(), "r");
    if (output == nullptr)
    {
        return {};
    }
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, output) != nullptr;
    ::pclose(output);
    std::string text = read ? line : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    {
        text.pop_back();
    }
    return text;
}

// The visible window titled exactly so; 0 when there is none now.
unsigned long WindowTitled(const std::string& title)
{
    const std::string id =
        FirstLine("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null");
    return id.empty() ? 0 : std::strtoul(id.c_str(), nullptr, 10);
}

// Gives the window the keyboard and presses the keys; false when the window is gone.
bool TryKeys(unsigned long window, const std::string& keys)
{
    const std::string command = "xdotool windowfocus --sync " + std::to_string(window) +
                                " key --clearmodifiers " + keys + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void Keys(unsigned long window, const std::string& keys)
{
    ASSERT_TRUE(TryKeys(window, keys)) << "no keys for window " << window << ": " << keys;
}

class DialogWalk : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        char* argv[] = {const_cast<char*>("openbox"), nullptr};
        ASSERT_EQ(posix_spawnp(&sWindowManager, "openbox", nullptr, nullptr, argv, environ), 0)
            << "openbox is not installed";
        // Given a moment to take the screen; a manager that could not start has ended by then.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        ASSERT_EQ(::waitpid(sWindowManager, nullptr, WNOHANG), 0) << "openbox ended at start";
    }

    static void TearDownTestSuite()
    {
        if (sWindowManager > 0)
        {
            ::kill(sWindowManager, SIGTERM);
            ::waitpid(sWindowManager, nullptr, 0);
        }
    }

    void SetUp() override
    {
        ASSERT_TRUE(mProbe.IsOpen()) << "no X server: run under cmake/RunUnderXvfb.sh";
        mRoot = fs::temp_directory_path() / ("dialogs-" + std::to_string(::getpid()));
        WalkSupport::MakePrivateHome(mRoot);
    }

    void TearDown() override
    {
        if (mChild > 0)
        {
            ::kill(mChild, SIGKILL);
            ::waitpid(mChild, nullptr, 0);
        }
        fs::remove_all(mRoot);
    }

    // Starts the program and waits for its painted, framed main window.
    void Start()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, (mRoot / "errors").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // The end signals take their default, as from a terminal, whatever the runner ignores.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGTERM);
        sigaddset(&defaults, SIGHUP);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        char* argv[] = {const_cast<char*>(QZ_EDITOR_PROGRAM), nullptr};
        ASSERT_EQ(posix_spawn(&mChild, QZ_EDITOR_PROGRAM, &actions, &attributes, argv, environ), 0);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        const std::string search =
            "xdotool search --onlyvisible --pid " + std::to_string(mChild) + " 2>/dev/null";
        ASSERT_TRUE(WaitFor(
            [&] { return (mWindow = std::strtoul(FirstLine(search).c_str(), nullptr, 10)) != 0; },
            30000))
            << ReadFile(mRoot / "errors");
        std::uint32_t rgb = 0;
        ASSERT_TRUE(WaitFor([&] { return mProbe.ReadPixel(mWindow, 600, 400, rgb) && rgb != 0; }))
            << "the main window is never painted";
    }

    // Whether the program ends within the time; its exit code stays for WaitForExit.
    bool EndsWithin(int timeoutMs)
    {
        return WaitFor(
            [&]
            {
                siginfo_t ended{};
                return ::waitid(P_PID, static_cast<id_t>(mChild), &ended,
                                WEXITED | WNOHANG | WNOWAIT) == 0 &&
                       ended.si_pid == mChild;
            },
            timeoutMs);
    }

    // The program's exit code once it ends within the time; -1 when it does not.
    int WaitForExit(int timeoutMs)
    {
        int status = 0;
        const bool ended =
            WaitFor([&] { return ::waitpid(mChild, &status, WNOHANG) == mChild; }, timeoutMs);
        if (ended)
        {
            mChild = 0;
        }
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    XWindowProbe::Geometry Geometry(unsigned long window)
    {
        XWindowProbe::Geometry geometry;
        EXPECT_TRUE(mProbe.GetGeometry(window, geometry));
        return geometry;
    }

    // Whether the window comes to be centred over main (within 3 pixels); a window manager may
    // first show it where its frame put it, until the program moves it back.
    bool ComesCentredOver(unsigned long window, const XWindowProbe::Geometry& main)
    {
        return WaitFor(
            [&]
            {
                const XWindowProbe::Geometry shown = Geometry(window);
                return std::abs(shown.x + shown.width / 2 - (main.x + main.width / 2)) <= 3 &&
                       std::abs(shown.y + shown.height / 2 - (main.y + main.height / 2)) <= 3;
            },
            3000);
    }

    // Clicks the menu's title at x of the bar and waits until its first rows show below it.
    void OpenMenu(int titleX)
    {
        const auto rows = [&]
        {
            std::vector<std::uint32_t> pixels;
            EXPECT_TRUE(mProbe.Capture(mWindow, titleX + 100, 4 * 22, pixels));
            pixels.erase(pixels.begin(), pixels.begin() + std::min<std::size_t>(
                                                              pixels.size(), (titleX + 100) * 22));
            return pixels;
        };
        const std::vector<std::uint32_t> closed = rows();
        mProbe.Click(mWindow, titleX, kMenuY);
        EXPECT_TRUE(WaitFor([&] { return rows() != closed; })) << "the menu does not open";
    }

    // Opens the About box from the Help menu; its window.
    unsigned long OpenAbout()
    {
        OpenMenu(kHelpMenuX);
        mProbe.Click(mWindow, kHelpMenuX, kAboutItemY);
        unsigned long about = 0;
        EXPECT_TRUE(WaitFor([&] { return (about = WindowTitled(kAboutTitle)) != 0; }))
            << "no About box";
        return about;
    }

    // Loads a damaged preset file through Ctrl+O and the desktop's file dialog; the window of
    // the message box that follows, or 0.
    unsigned long LoadDamagedFile()
    {
        // Typed from the home folder: the chooser completes each folder of a typed path as it
        // comes, and listing a crowded one (such as /tmp) takes a loaded machine long.
        std::ofstream(mRoot / "home" / "damaged.Tarn61RededoVuvuva") << "not a preset";
        Keys(mWindow, "ctrl+o");
        unsigned long chooser = 0;
        EXPECT_TRUE(WaitFor([&] { return (chooser = WindowTitled("Select Vidida File")) != 0; }));
        std::uint32_t rgb = 0;
        EXPECT_TRUE(WaitFor([&] { return mProbe.ReadPixel(chooser, 5, 5, rgb) && rgb != 0; }));
        const std::string put = ChooserSteps::PutCommand(chooser, "~/damaged.Tarn61RededoVuvuva");
        EXPECT_EQ(std::system(put.c_str()), 0);
        // The chooser ignores a Return that comes before it has taken in the name; once a
        // Return went unheeded, the name is given anew as a person would, in case the chooser
        // did not take it in whole.
        // A loaded machine may answer a Return so late that the chooser goes between the look
        // and the next key, so a key that finds it gone is no fault.
        for (int attempt = 0; attempt < 5 && WindowTitled("Select Vidida File") != 0; ++attempt)
        {
            if (attempt > 1)
            {
                static_cast<void>(std::system(put.c_str()));
            }
            static_cast<void>(TryKeys(chooser, "Return"));
            WaitFor([] { return WindowTitled("Select Vidida File") == 0; }, 3000);
        }
        EXPECT_EQ(WindowTitled("Select Vidida File"), 0u) << "the file dialog stays open";
        unsigned long box = 0;
        EXPECT_TRUE(WaitFor([&] { return (box = OtherWindow()) != 0; })) << "no message box";
        return box;
    }

    // A visible window of the program other than the main window and except; 0 when there is
    // none.
    unsigned long OtherWindow(unsigned long except = 0)
    {
        const std::string search =
            "xdotool search --onlyvisible --pid " + std::to_string(mChild) + " 2>/dev/null";
        FILE* output = ::popen(search.c_str(), "r");
        unsigned long other = 0;
        char line[64] = {};
        while (output != nullptr && std::fgets(line, sizeof line, output) != nullptr)
        {
            const unsigned long window = std::strtoul(line, nullptr, 10);
            other = window != mWindow && window != except ? window : other;
        }
        if (output != nullptr)
        {
            ::pclose(output);
        }
        return other;
    }

    bool IsOpen(unsigned long window) { return OtherWindow() == window; }

    // Whether the window titled so goes away within the time.
    static bool Closes(const std::string& title, int timeoutMs = 5000)
    {
        return WaitFor([&] { return WindowTitled(title) == 0; }, timeoutMs);
    }

    static pid_t sWindowManager;
    fs::path mRoot;
    XWindowProbe mProbe;
    pid_t mChild = 0;
    unsigned long mWindow = 0;
};

pid_t DialogWalk::sWindowManager = 0;

TEST_F(DialogWalk, MainWindowComesBackWhereItWasLeftWhicheverRoadEndedTheProgram)
{
    // The close box, File > Exit, the window manager's key for the close box, the desktop asking
    // the program to end, and the end of the terminal or session it was started from.
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"close box", [this] { mProbe.Close(mWindow); }},
        {"File > Exit",
         [this]
         {
             OpenMenu(kFileMenuX);
             mProbe.Click(mWindow, kFileMenuX, kExitItemY);
         }},
        {"Alt+F4",
         [this]
         {
             // On a loaded machine openbox was seen to pass over an Alt+F4 now and then, the
             // editor active and idle without a close request: a person presses it again. A
             // late answer to the last press may close the window before the next one.
             Keys(mWindow, "alt+F4");
             for (int press = 1; press < 3 && !EndsWithin(5000); ++press)
             {
                 static_cast<void>(TryKeys(mWindow, "alt+F4"));
             }
         }},
        {"SIGTERM", [this] { ::kill(mChild, SIGTERM); }},
        {"SIGHUP", [this] { ::kill(mChild, SIGHUP); }},
    };
    ASSERT_NO_FATAL_FAILURE(Start());
    int left = 10;
    for (const auto& [road, end] : roads)
    {
        SCOPED_TRACE(road);
        // Moved by the user (through the window manager) to a place of its own each time, so
        // that a place stored by an earlier road does not pass for this one's; each place keeps
        // the whole window on the 1280-pixel screen, where it comes back unmoved.
        const std::string move = "xdotool windowmove --sync " + std::to_string(mWindow) + " " +
                                 std::to_string(left) + " 110";
        left += 15;
        const int before = Geometry(mWindow).x;
        ASSERT_EQ(std::system(move.c_str()), 0);
        // The window manager may still be moving the frame when xdotool has seen it start.
        ASSERT_TRUE(WaitFor([&] { return Geometry(mWindow).x != before; }));
        const XWindowProbe::Geometry was = Geometry(mWindow);
        end();
        ASSERT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(WaitFor(
            [&]
            {
                const XWindowProbe::Geometry now = Geometry(mWindow);
                return now.x == was.x && now.y == was.y;
            },
            3000))
            << "the window opens at " << Geometry(mWindow).x << ", " << Geometry(mWindow).y
            << " instead of " << was.x << ", " << was.y;
    }
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
}

TEST_F(DialogWalk, DialogOpensCentredWithItsTitleAndClosesByEscapeEnterTabSpaceAndCloseBox)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const XWindowProbe::Geometry main = Geometry(mWindow);
    // Escape cancels, Enter presses OK, Tab then Space presses the focused OK button, and the
    // window manager's close box closes it.
    const std::function<void(unsigned long)> closers[] = {
        [](unsigned long about) { Keys(about, "Escape"); },
        [](unsigned long about) { Keys(about, "Return"); },
        [](unsigned long about) { Keys(about, "Tab space"); },
        [this](unsigned long about) { mProbe.Close(about); },
    };
    for (const auto& close : closers)
    {
        const unsigned long about = OpenAbout();
        ASSERT_NE(about, 0u);
        EXPECT_TRUE(ComesCentredOver(about, main));
        close(about);
        ASSERT_TRUE(Closes(kAboutTitle)) << "the About box stays open";
    }
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
}

TEST_F(DialogWalk, AClickOnTheBlockedWindowBringsItsDialogBackWithTheKeyboard)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::pair<const char*, std::function<unsigned long()>> dialogs[] = {
        {"About box", [this] { return OpenAbout(); }},
        {"message box", [this] { return LoadDamagedFile(); }},
        {"file dialog",
         [this]
         {
             Keys(mWindow, "ctrl+o");
             unsigned long chooser = 0;
             WaitFor([&] { return (chooser = WindowTitled("Select Vidida File")) != 0; });
             return chooser;
         }},
    };
    for (const auto& [name, open] : dialogs)
    {
        SCOPED_TRACE(name);
        const unsigned long dialog = open();
        ASSERT_NE(dialog, 0u);
        // A corner of the main window that no dialog covers: the window manager raises the
        // window and hands it the keyboard.
        mProbe.Click(mWindow, 20, 730);
        const auto inFront = [&]
        {
            const std::vector<unsigned long> stack = mProbe.GetStackingOrder();
            const auto main = std::find(stack.begin(), stack.end(), mWindow);
            const auto shown = std::find(stack.begin(), stack.end(), dialog);
            return main != stack.end() && shown != stack.end() && shown > main &&
                   mProbe.GetActiveWindow() == dialog;
        };
        EXPECT_TRUE(HoldsSteadily(inFront)) << "the dialog stays behind or without the keyboard";
        // Pressed wherever the keyboard is, as a person's key would be.
        ASSERT_EQ(std::system("xdotool key Escape"), 0);
        EXPECT_TRUE(WaitFor([&] { return OtherWindow() == 0; })) << "Escape leaves it open";
    }
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
}

TEST_F(DialogWalk, AWindowDestroyedByAnotherProgramEndsTheEditorAndTheNextStartShowsItsOwn)
{
    for (const bool dialogOpen : {false, true})
    {
        SCOPED_TRACE(dialogOpen ? "with the About box open" : "alone");
        ASSERT_NO_FATAL_FAILURE(Start());
        if (dialogOpen)
        {
            ASSERT_NE(OpenAbout(), 0u);
        }
        const std::string destroy = "xdotool windowclose " + std::to_string(mWindow);
        ASSERT_EQ(std::system(destroy.c_str()), 0);
        EXPECT_EQ(WaitForExit(2000), 0) << "the editor does not end" << ReadFile(mRoot / "errors");
        if (mChild > 0)
        {
            ::kill(mChild, SIGKILL);
            ::waitpid(mChild, nullptr, 0);
            mChild = 0;
        }
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
}

TEST_F(DialogWalk, CommandsThatMustNotRunOpenNothing)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    // Without a keyboard the transfer commands and the global settings are greyed: neither their
    // hot keys nor a click on the greyed item open anything.
    Keys(mWindow, "ctrl+shift+r ctrl+shift+s");
    OpenMenu(kFileMenuX);
    mProbe.Click(mWindow, kFileMenuX, kGlobalSettingsItemY);
    Keys(mWindow, "Escape");
    // Under an open dialog the main window's commands do not run from the dialog's keys.
    const unsigned long about = OpenAbout();
    ASSERT_NE(about, 0u);
    Keys(about, "ctrl+o ctrl+s");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    for (const char* title : {"Retrieve Vidida", "Send Vidida", "Global Settings",
                              "Select Vidida File", "Select Save Location"})
    {
        EXPECT_EQ(WindowTitled(title), 0u) << title << " opened";
    }
    Keys(about, "Escape");
    ASSERT_TRUE(Closes(kAboutTitle));
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
}

TEST_F(DialogWalk, ExitRequestEndsTheProgramWhileAHotKeyDialogIsOpen)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Keys(mWindow, "ctrl+o");
    unsigned long chooser = 0;
    ASSERT_TRUE(WaitFor([&] { return (chooser = WindowTitled("Select Vidida File")) != 0; }))
        << "Ctrl+O opens no file dialog";
    // SIGTERM cancels the dialog, so that the orderly end runs: it stores the window's place.
    // Its status is 0 unless a loaded machine made the rest of the end overrun its time, when
    // the program was ended outright.
    ::kill(mChild, SIGTERM);
    const int status = WaitForExit(5000);
    EXPECT_TRUE(status == 0 || status == 128 + SIGTERM)
        << "the program does not end while its dialog is open" << ReadFile(mRoot / "errors");
    const fs::path settings = mRoot / "home/.config/Korvane/Tarn 61 Vidida Editor/UserSettings.ini";
    EXPECT_NE(ReadFile(settings).find("WP="), std::string::npos) << ReadFile(mRoot / "errors");
}

TEST_F(DialogWalk, MessageBoxIsCentredRepaintsTheWindowBehindAndEndsWithTheProgram)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const XWindowProbe::Geometry main = Geometry(mWindow);
    const unsigned long box = LoadDamagedFile();
    ASSERT_NE(box, 0u);
    EXPECT_FALSE(FirstLine("xdotool getwindowname " + std::to_string(box)).empty());
    EXPECT_EQ(mProbe.GetWindowType(box), "_NET_WM_WINDOW_TYPE_DIALOG");
    EXPECT_TRUE(ComesCentredOver(box, main));
    const XWindowProbe::Geometry shown = Geometry(box);

    // Behind the box the main window shows what it shows once the box is gone, not the file
    // dialog that closed before the box opened.
    const auto capture = [&]
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_TRUE(mProbe.Capture(mWindow, main.width, main.height, pixels));
        pixels.resize(static_cast<std::size_t>(main.width * main.height));
        // The box and its frame (a title bar above it) cover the main window there.
        for (int y = 0; y < main.height; ++y)
        {
            for (int x = 0; x < main.width; ++x)
            {
                const int screenX = main.x + x;
                const int screenY = main.y + y;
                if (screenX >= shown.x - 8 && screenX < shown.x + shown.width + 8 &&
                    screenY >= shown.y - 40 && screenY < shown.y + shown.height + 8)
                {
                    pixels[static_cast<std::size_t>(y * main.width + x)] = 0;
                }
            }
        }
        return pixels;
    };
    // Settled: alike for a whole second, as a loaded machine may take a while to paint what a
    // window that closed uncovered.
    std::vector<std::uint32_t> behind = capture();
    ASSERT_TRUE(HoldsSteadily([&] { return std::exchange(behind, capture()) == behind; }));
    Keys(box, "Return");
    ASSERT_TRUE(WaitFor([&] { return !IsOpen(box); })) << "Enter leaves the box open";
    std::vector<std::uint32_t> after = capture();
    ASSERT_TRUE(HoldsSteadily([&] { return std::exchange(after, capture()) == after; }));
    std::size_t differing = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
    {
        differing += behind[i] != after[i] ? 1 : 0;
    }
    EXPECT_LT(differing, 200u) << "pixels of the main window behind the box";

    // The desktop's request to end ends the program with a box still open.
    ASSERT_NE(LoadDamagedFile(), 0u);
    ::kill(mChild, SIGTERM);
    EXPECT_EQ(WaitForExit(10000), 0) << ReadFile(mRoot / "errors");
}

// With a keyboard at the ports (the emulated one, over a private JACK server) the send command's
// hot key opens its dialog, which is worked with keys alone: Tab to the slot list, Down to the
// next slot, Enter for Send, Enter for the result's box, Escape to close. The result's box is a
// dialog of the send dialog, centred over it wherever it was moved.
TEST_F(DialogWalk, SendDialogIsWorkedFromTheKeyboardAlone)
{
    if (!Platform::Testing::JackServer::IsInstalled())
    {
        GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
    }
    Platform::Testing::JackServer server;
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    Platform::Testing::ChildProcess keyboard;
    ASSERT_TRUE(keyboard.Start({TARN61_EMULATOR_PROGRAM, "--api", "jack"}));
    setenv("QZ_MIDI_API", "jack", 1);
    ASSERT_NO_FATAL_FAILURE(Start());
    unsetenv("QZ_MIDI_API");
    // The command is greyed until the program has found the keyboard's ports.
    unsigned long dialog = 0;
    ASSERT_TRUE(WaitFor(
        [&]
        {
            Keys(mWindow, "ctrl+shift+s");
            return WaitFor([&] { return (dialog = WindowTitled("Send Vidida")) != 0; }, 1000);
        },
        30000))
        << "the hot key opens no send dialog";
    EXPECT_EQ(mProbe.GetWindowType(dialog), "_NET_WM_WINDOW_TYPE_DIALOG");
    const XWindowProbe::Geometry was = Geometry(dialog);
    // Low and to the left, with room for the wider box around it.
    const std::string move = "xdotool windowmove --sync " + std::to_string(dialog) + " 300 500";
    ASSERT_EQ(std::system(move.c_str()), 0);
    ASSERT_TRUE(WaitFor([&] { return Geometry(dialog).x != was.x; }));
    Keys(dialog, "Tab Down Return");
    unsigned long box = 0;
    ASSERT_TRUE(WaitFor([&] { return (box = OtherWindow(dialog)) != 0; }, 20000))
        << "Send shows no result";
    EXPECT_EQ(mProbe.GetWindowType(box), "_NET_WM_WINDOW_TYPE_DIALOG");
    EXPECT_TRUE(ComesCentredOver(box, Geometry(dialog)));
    const std::string result = FirstLine("xdotool getwindowname " + std::to_string(box));
    EXPECT_EQ(result.find("Error"), std::string::npos) << result;
    Keys(box, "Return");
    ASSERT_TRUE(WaitFor([&] { return OtherWindow(dialog) == 0; })) << "the box stays open";
    Keys(dialog, "Escape");
    EXPECT_TRUE(WaitFor([&] { return OtherWindow() == 0; })) << "the dialog stays open";
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(20000), 0) << ReadFile(mRoot / "errors");
}

} // namespace
