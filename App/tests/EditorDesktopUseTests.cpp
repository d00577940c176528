// The editor as a desktop user meets it: the real program under the test's X server with openbox
// managing its windows, driven with xdotool as a person drives it with the mouse and keyboard.
// What the program shows is compared picture against picture of the same place (a state reached
// one way against the same state reached another), never read as text: a number box takes the
// wheel within its range and has its whole text replaced after Ctrl+A, a double click or Tab;
// every colour of a push button's list can be chosen with the mouse; and the Global Settings
// dialog fetches the emulated keyboard's channel and sends it back.
#include "App/tests/WalkSupport.h"
#include "App/tests/XWindowProbe.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
using Platform::Testing::ChildProcess;
using Platform::Testing::JackServer;
using WalkSupport::ReadFile;
using WalkSupport::WaitFor;

struct Point
{
    int x;
    int y;
};

struct Area
{
    int x;
    int y;
    int width;
    int height;
};

using Picture = std::vector<std::uint32_t>;

// Window points, from the skin: the device view starts below the 22-pixel menu bar.
constexpr Point kFileMenu{50, 11};
constexpr Point kGlobalSettingsItem{60, 136};
// Pad 1's edit panel, its CC cycle page and the page's controller row: the number box beside the
// controller's name, then the box of the first value below.
constexpr Point kPadTile{68, 384};
constexpr Point kCcCycleTab{907, 425};
constexpr Point kControllerBox{1000, 476};
constexpr Area kControllerBoxArea{938, 467, 128, 18};
constexpr Point kFirstValueBox{879, 502};
constexpr Area kFirstValueArea{788, 493, 114, 18};
// Push button 1's colour page: the first colour's drop-down, whose list of 8 has rows of 20
// below the 22-pixel field, and its vertical bar at the list's right edge.
constexpr Point kButtonTile{386, 319};
constexpr Point kColourTab{869, 398};
constexpr Point kColourField{999, 425};
constexpr Area kColourText{852, 418, 280, 16};
constexpr int kFirstRowY = 448;
constexpr int kRowHeight = 20;
constexpr Point kColourBarEnd{1159, 552};
// The Global Settings dialog's own points (its client area).
constexpr Point kGetSettings{278, 386};
constexpr Point kSendSettings{278, 412};
constexpr Area kGlobalChannelText{195, 223, 300, 16};

class EditorDesktopUse : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mProbe.IsOpen()) << "no X server: run under cmake/RunUnderXvfb.sh";
        ASSERT_TRUE(ChildProcess::IsOnPath("xdotool")) << "xdotool is not installed";
        ASSERT_TRUE(ChildProcess::IsOnPath("openbox")) << "openbox is not installed";
        mRoot = fs::temp_directory_path() / ("desktop-use-" + std::to_string(::getpid()));
        WalkSupport::MakePrivateHome(mRoot);
        ASSERT_TRUE(mWindowManager.Start({"openbox", "--sm-disable"}));
        // openbox makes a window of its own class once it manages the screen.
        ASSERT_TRUE(WaitFor(
            [&] {
                return !Windows({"--class", "openbox"}).empty();
            }))
            << "openbox does not start";
    }

    void TearDown() override
    {
        // The program ends as asked, closing its JACK client: the server of a client killed
        // outright would not end by itself.
        mProgram.Stop();
        mKeyboard.Stop();
        EXPECT_TRUE(mJack.Stop()) << "the JACK server had to be killed";
        mWindowManager.Stop();
        fs::remove_all(mRoot);
    }

    // xdotool with the arguments; its standard output.
    std::string Xdotool(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "xdotool");
        ChildProcess tool;
        const fs::path output = mRoot / "xdotool.out";
        EXPECT_TRUE(tool.Start(arguments, output.string()));
        EXPECT_EQ(tool.Wait(std::chrono::seconds(10)), 0) << arguments[1];
        return ReadFile(output);
    }
    // The windows xdotool finds with the search options and pattern.
    std::vector<unsigned long> Windows(std::vector<std::string> options)
    {
        options.insert(options.begin(), {"xdotool", "search"});
        ChildProcess tool;
        const fs::path output = mRoot / "search.out";
        std::vector<unsigned long> found;
        if (tool.Start(options, output.string()) && tool.Wait(std::chrono::seconds(10)) >= 0)
        {
            std::istringstream lines(ReadFile(output));
            for (unsigned long window = 0; lines >> window;)
            {
                found.push_back(window);
            }
        }
        return found;
    }

    // Starts the program and waits for its painted main window.
    void Start()
    {
        const fs::path errors = mRoot / "errors";
        ASSERT_TRUE(mProgram.Start({QZ_EDITOR_PROGRAM}, errors.string()));
        ASSERT_TRUE(WaitFor(
            [&]
            {
                const std::vector<unsigned long> found =
                    Windows({"--onlyvisible", "--name", "^Tarn 61 Vidida Editor$"});
                std::uint32_t rgb = 0;
                mWindow = found.empty() ? 0 : found.front();
                return mWindow != 0 && mProbe.ReadPixel(mWindow, 600, 400, rgb) && rgb != 0;
            },
            30000))
            << "no painted main window";
    }

    void MoveTo(unsigned long window, Point point)
    {
        Xdotool({"mousemove", "--window", std::to_string(window), std::to_string(point.x),
                 std::to_string(point.y)});
    }
    void Click(unsigned long window, Point point, int count = 1)
    {
        MoveTo(window, point);
        Xdotool({"click", "--repeat", std::to_string(count), "--delay", "60", "1"});
    }
    void Click(Point point) { Click(mWindow, point); }
    // Wheel steps over the point: away from the user (up) or towards the user.
    void Wheel(Point point, bool up, int steps)
    {
        MoveTo(mWindow, point);
        Xdotool({"click", "--repeat", std::to_string(steps), "--delay", "60", up ? "4" : "5"});
    }
    void Keys(std::vector<std::string> keys)
    {
        keys.insert(keys.begin(), "key");
        Xdotool(keys);
    }
    void Type(const std::string& text) { Xdotool({"type", "--delay", "40", text}); }

    Picture Capture(unsigned long window, Area area)
    {
        Picture all;
        Picture part;
        XWindowProbe::Geometry geometry;
        if (mProbe.GetGeometry(window, geometry) &&
            mProbe.Capture(window, geometry.width, geometry.height, all))
        {
            for (int row = area.y; row < area.y + area.height; ++row)
            {
                const auto from = all.begin() + row * geometry.width + area.x;
                part.insert(part.end(), from, from + area.width);
            }
        }
        return part;
    }
    Picture Capture(Area area) { return Capture(mWindow, area); }
    // The area once it has stayed the same for a moment: the program has shown the last input.
    Picture Settled(unsigned long window, Area area)
    {
        Picture last = Capture(window, area);
        for (int same = 0; same < 5;)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            Picture now = Capture(window, area);
            same = now == last ? same + 1 : 0;
            last = std::move(now);
        }
        return last;
    }
    Picture Settled(Area area) { return Settled(mWindow, area); }
    // Clicks the box, puts the caret at its end, removes three characters, types the text and
    // leaves the box with Tab: the box's number typed without any selecting.
    void RetypeBox(Point box, const std::string& text)
    {
        Click(box);
        Keys({"End", "BackSpace", "BackSpace", "BackSpace"});
        Type(text);
        Keys({"Tab"});
    }

    fs::path mRoot;
    XWindowProbe mProbe;
    ChildProcess mWindowManager;
    ChildProcess mProgram;
    JackServer mJack;
    ChildProcess mKeyboard;
    unsigned long mWindow = 0;
};

} // namespace

// A controller's number box steps with the wheel up to its maximum, and Ctrl+A, a double click
// and Tab each let typing replace its whole text.
TEST_F(EditorDesktopUse, NumberBoxesTakeWheelAndSelection)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Click(kPadTile);
    Click(kCcCycleTab);
    Click(kControllerBox);
    Keys({"ctrl+a"});
    Type("121");
    Keys({"Return"});

    // The wheel against numbers typed in: 121 up three steps is 124, up thirteen stops at 127,
    // and 127 one step down is 126.
    const struct
    {
        bool up;
        int steps;
        const char* typed;
    } turns[] = {{true, 3, "124"}, {true, 13, "127"}, {false, 1, "126"}};
    for (const auto& turn : turns)
    {
        RetypeBox(kControllerBox, turn.typed);
        const Picture typed = Settled(kControllerBoxArea);
        RetypeBox(kControllerBox, turn.up ? "121" : "127");
        Wheel(kControllerBox, turn.up, turn.steps);
        EXPECT_EQ(Settled(kControllerBoxArea), typed) << turn.typed;
    }

    // "74" typed over "126" once the whole text is selected gives 74 ("12674" would show 127).
    RetypeBox(kControllerBox, "74");
    const Picture seventyFour = Settled(kControllerBoxArea);
    for (const int clicks : {0, 2})
    {
        RetypeBox(kControllerBox, "126");
        Click(mWindow, kControllerBox, clicks == 0 ? 1 : clicks);
        if (clicks == 0)
        {
            Keys({"ctrl+a"});
        }
        Type("74");
        Keys({"Tab"});
        EXPECT_EQ(Settled(kControllerBoxArea), seventyFour)
            << (clicks == 0 ? "Ctrl+A" : "double click");
    }
    RetypeBox(kFirstValueBox, "74");
    const Picture firstSeventyFour = Settled(kFirstValueArea);
    RetypeBox(kFirstValueBox, "41");
    Click(kControllerBox);
    Keys({"Tab"});
    Type("74");
    Keys({"Tab"});
    EXPECT_EQ(Settled(kFirstValueArea), firstSeventyFour) << "Tab";
}

// Each of the eight colours of a push button's list can be picked with the mouse: the first six
// from the rows shown, the seventh after the wheel scrolls the list, the eighth after a click on
// the list's bar; the field shows eight different names.
TEST_F(EditorDesktopUse, EveryColourOfAPushButtonCanBePickedWithTheMouse)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Click(kButtonTile);
    Click(kColourTab);
    std::vector<Picture> shown;
    const auto pick = [&](int row, const std::function<void()>& scroll)
    {
        Click(kColourField);
        Settled(kColourText);
        scroll();
        Click({kColourField.x - 50, kFirstRowY + row * kRowHeight});
        shown.push_back(Settled(kColourText));
    };
    for (int row = 0; row < 6; ++row)
    {
        pick(row, [] {});
    }
    // The list opens at its top while the chosen colour is among the first six rows.
    pick(4, [&] { Wheel({kColourField.x - 50, kFirstRowY + 40}, false, 2); });
    pick(5, [&] { Click(kColourBarEnd); });
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(std::set<Picture>(shown.begin(), shown.end()).size(), 8u)
        << "a colour could not be picked";
}

// The emulated keyboard holds a fresh keyboard's settings: Get shows its global channel, and Send
// gives the same channel back.
TEST_F(EditorDesktopUse, GlobalChannelFromTheEmulatedKeyboard)
{
    if (!JackServer::IsInstalled())
    {
        GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
    }
    std::string error;
    ASSERT_TRUE(mJack.Start(error)) << error;
    const fs::path log = mRoot / "keyboard.log";
    ASSERT_TRUE(
        mKeyboard.Start({TARN61_EMULATOR_PROGRAM, "--api", "jack", "--strict"}, log.string()));
    setenv("QZ_MIDI_API", "jack", 1);
    ASSERT_NO_FATAL_FAILURE(Start());
    unsetenv("QZ_MIDI_API");

    // The command is offered once the keyboard's ports are found.
    const std::string pid = Xdotool({"getwindowpid", std::to_string(mWindow)});
    unsigned long dialog = 0;
    ASSERT_TRUE(WaitFor(
        [&]
        {
            Click(kFileMenu);
            Click(kGlobalSettingsItem);
            const auto found = [&]
            {
                for (const unsigned long window :
                     Windows({"--onlyvisible", "--pid", pid.substr(0, pid.find('\n'))}))
                {
                    dialog = window != mWindow ? window : dialog;
                }
                return dialog != 0;
            };
            if (WaitFor(found, 2000))
            {
                return true;
            }
            Keys({"Escape"});
            return false;
        },
        30000))
        << "no Global Settings dialog";
    const Picture blank = Settled(dialog, kGlobalChannelText);
    Click(dialog, kGetSettings);
    EXPECT_TRUE(WaitFor([&] { return Capture(dialog, kGlobalChannelText) != blank; }))
        << "Get shows no channel";
    const auto sent = [&] { return ReadFile(log).find("global 0 set to 1\n"); };
    EXPECT_TRUE(WaitFor(
        [&]
        {
            Click(dialog, kSendSettings);
            return WaitFor([&] { return sent() != std::string::npos; }, 3000);
        },
        30000))
        << ReadFile(log);
}
