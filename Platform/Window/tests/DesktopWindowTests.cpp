// The window layer on a real X server (a private Xvfb started by the test launcher), driven by
// xdotool and read back through the server itself: screenshots and the X selection.
#include "Platform/Window/WindowSystem.h"
#include "Platform/Window/tests/Screenshot.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace Platform
{
namespace
{

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(10);

// Runs a shell command, given ten seconds; its exit status.
int RunCommand(const std::string& command)
{
    return std::system(("timeout 10 sh -c \"" + command + "\"").c_str());
}

// The fields of an event that the input test looks at, in a few words.
std::string Describe(const WindowEvent& e)
{
    char text[80] = "other";
    switch (e.type)
    {
    case WindowEventType::MouseMove:
        std::snprintf(text, sizeof text, "move %d,%d held %u mods %x", e.x, e.y, e.buttons,
                      e.modifiers);
        break;
    case WindowEventType::MouseDown:
    case WindowEventType::MouseUp:
        std::snprintf(text, sizeof text, "%s %u at %d,%d held %u mods %x%s",
                      e.type == WindowEventType::MouseDown ? "down" : "up", e.button, e.x, e.y,
                      e.buttons, e.modifiers, e.doubleClick ? " double" : "");
        break;
    case WindowEventType::Wheel:
        std::snprintf(text, sizeof text, "wheel %u at %d,%d", e.wheelDirection, e.x, e.y);
        break;
    case WindowEventType::KeyDown:
    case WindowEventType::KeyUp:
        std::snprintf(text, sizeof text, "key %08x side %x%s", e.key, e.sideModifiers,
                      e.repeat != 0 ? " repeat" : "");
        break;
    default:
        break;
    }
    return text;
}

// Binds a symbol to a spare key of the server's keyboard for its life. xdotool types a character
// missing from the keyboard by lending it a key for a moment only: a program that reads the key
// later than that finds it bound to nothing, as with no real keyboard.
class SpareKey
{
public:
    explicit SpareKey(KeySym symbol) : mDisplay(XOpenDisplay(nullptr))
    {
        if (mDisplay == nullptr)
        {
            return;
        }
        int first = 0;
        int last = 0;
        XDisplayKeycodes(mDisplay, &first, &last);
        int perKey = 0;
        KeySym* map =
            XGetKeyboardMapping(mDisplay, static_cast<KeyCode>(first), last - first + 1, &perKey);
        for (int code = last; map != nullptr && code >= first && mCode == 0; --code)
        {
            const KeySym* symbols = map + (code - first) * perKey;
            if (std::all_of(symbols, symbols + perKey, [](KeySym s) { return s == NoSymbol; }))
            {
                mCode = code;
            }
        }
        XFree(map);
        if (mCode != 0)
        {
            XChangeKeyboardMapping(mDisplay, mCode, 1, &symbol, 1);
            XSync(mDisplay, False);
        }
    }
    ~SpareKey()
    {
        if (mDisplay == nullptr)
        {
            return;
        }
        if (mCode != 0)
        {
            KeySym none = NoSymbol;
            XChangeKeyboardMapping(mDisplay, mCode, 1, &none, 1);
        }
        XCloseDisplay(mDisplay);
    }
    SpareKey(const SpareKey&) = delete;
    SpareKey& operator=(const SpareKey&) = delete;
    [[nodiscard]] bool IsBound() const { return mCode != 0; }

private:
    Display* mDisplay;
    int mCode = 0;
};

class DesktopWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under cmake/RunUnderXvfb.sh";
        std::string error;
        mSystem = WindowSystem::Open(nullptr, error);
        ASSERT_NE(mSystem, nullptr) << error;
    }

    WindowId OpenWindow(const char16_t* title, const WindowRect& client)
    {
        const WindowId window = mSystem->CreateWindow({title, client, false});
        EXPECT_NE(window, 0u) << mSystem->GetError();
        EXPECT_TRUE(mSystem->Show(window));
        return window;
    }

    // Waits for the first event that matches, passing over the others.
    bool WaitFor(const std::function<bool(const WindowEvent&)>& wanted, WindowEvent& found)
    {
        const auto end = Clock::now() + kPatience;
        while (Clock::now() < end)
        {
            if (mSystem->WaitEvent(found, 50) && wanted(found))
            {
                return true;
            }
        }
        return false;
    }

    // Runs a shell command while the window system keeps reading its events (the clipboard's
    // owner must serve the other program's request); its exit status. The events are kept when
    // asked for.
    int RunServing(const std::string& command, std::vector<WindowEvent>* arrived = nullptr)
    {
        const char* arguments[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(arguments),
                        environ) != 0)
        {
            return -1;
        }
        const auto end = Clock::now() + kPatience;
        int status = 0;
        while (waitpid(child, &status, WNOHANG) == 0)
        {
            if (Clock::now() > end)
            {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                return -1;
            }
            WindowEvent event;
            if (mSystem->WaitEvent(event, 10) && arrived != nullptr)
            {
                arrived->push_back(event);
            }
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::unique_ptr<WindowSystem> mSystem;
};

TEST_F(DesktopWindow, ScreenShowsPresentedFramePixelForPixel)
{
    const WindowRect client{40, 30, 64, 48};
    const WindowId window = OpenWindow(u"Frame", client);
    WindowRect placed;
    ASSERT_TRUE(mSystem->GetClientRect(window, placed));
    EXPECT_EQ(placed.x, client.x);
    EXPECT_EQ(placed.y, client.y);

    // Every byte value appears in every channel; some pixels are translucent (premultiplied).
    std::vector<std::uint32_t> frame(64 * 48);
    for (std::uint32_t i = 0; i < frame.size(); ++i)
    {
        const std::uint32_t alpha = i % 5 == 0 ? 0x80 : 0xFF;
        frame[i] = alpha << 24 | ((i * 7) & 0xFF) << 16 | ((i * 13 + 5) & 0xFF) << 8 | (i & 0xFF);
    }
    const PixelBuffer buffer{reinterpret_cast<const std::uint8_t*>(frame.data()), 64, 48, 256};
    const WindowRect whole[] = {{0, 0, 64, 48}};
    ASSERT_TRUE(mSystem->Present(window, buffer, whole)) << mSystem->GetError();
    std::vector<std::uint32_t> expected;
    for (const std::uint32_t pixel : frame)
    {
        expected.push_back(pixel & 0xFFFFFF);
    }
    EXPECT_EQ(Testing::Screenshot(client), expected);

    // Only the presented area changes.
    std::vector<std::uint32_t> second(frame.size(), 0xFF123456);
    const PixelBuffer secondBuffer{reinterpret_cast<const std::uint8_t*>(second.data()), 64, 48,
                                   256};
    const WindowRect area[] = {{10, 20, 5, 3}};
    ASSERT_TRUE(mSystem->Present(window, secondBuffer, area)) << mSystem->GetError();
    for (int y = 20; y < 23; ++y)
    {
        for (int x = 10; x < 15; ++x)
        {
            expected[y * 64 + x] = 0x123456;
        }
    }
    EXPECT_EQ(Testing::Screenshot(client), expected);
}

TEST_F(DesktopWindow, DesktopInputArrivesInProgramTerms)
{
    const WindowId window = OpenWindow(u"Input", {100, 100, 200, 150});
    // Without a window manager the test gives the keyboard focus itself.
    ASSERT_EQ(RunCommand("xdotool search --sync --name '^Input$' windowfocus --sync"), 0);

    const std::pair<const char*, const char*> steps[] = {
        {"xdotool mousemove 150 130", "move 50,30 held 0 mods 0"},
        {"xdotool mousedown 1", "down 1 at 50,30 held 1 mods 0"},
        {"xdotool mousemove 160 135", "move 60,35 held 1 mods 0"},
        {"xdotool mouseup 1", "up 1 at 60,35 held 0 mods 0"},
        {"xdotool click 3", "down 4 at 60,35 held 4 mods 0"},
        {"xdotool click --repeat 2 --delay 60 2", "up 2 at 60,35 held 0 mods 0 double"},
        // Far enough from the last left click not to make a double click with it.
        {"xdotool mousemove 250 200 keydown shift click 1 keyup shift",
         "down 1 at 150,100 held 1 mods 18"},
        {"xdotool click 4", "wheel 1 at 150,100"},
        {"xdotool click 5", "wheel 0 at 150,100"},
        {"xdotool click 6", "wheel 2 at 150,100"},
        {"xdotool click 7", "wheel 3 at 150,100"},
        {"xdotool key ctrl+Left", "key 21250000 side 4"},
        {"xdotool keydown ctrl keydown Left keyup Left keyup ctrl", "key 01250000 side 4"},
        {"xdotool key Escape", "key 201b0000 side 0"},
        {"xdotool key KP_Divide", "key 006f0000 side 0"},
    };
    for (const auto& [command, described] : steps)
    {
        const std::string wanted = described;
        ASSERT_EQ(RunCommand(command), 0) << command;
        WindowEvent event;
        EXPECT_TRUE(WaitFor([&](const WindowEvent& e) { return Describe(e) == wanted; }, event))
            << command << " should give " << wanted;
    }

    // Typed text arrives unit by unit, beyond the keyboard's own keys too.
    const SpareKey eacute(XK_eacute);
    ASSERT_TRUE(eacute.IsBound());
    std::vector<WindowEvent> arrived;
    ASSERT_EQ(RunServing("xdotool type --delay 30 'a\xc3\xa9Z'", &arrived), 0);
    WindowEvent event;
    while (mSystem->WaitEvent(event, 200))
    {
        arrived.push_back(event);
    }
    std::u16string typed;
    for (const WindowEvent& e : arrived)
    {
        if (e.type == WindowEventType::Text)
        {
            EXPECT_EQ(e.window, window);
            typed += e.unit;
        }
    }
    EXPECT_EQ(typed, u"a\u00e9Z");
}

// A request about a window that is gone fails without ending the program, as X's default
// handling of the error would; also when its error is read only as the window system closes, as
// that of a wake-up SDL sent to a window the program destroyed just after.
TEST_F(DesktopWindow, RequestAboutAVanishedWindowDoesNotEndTheProgram)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const ::Window gone =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, gone);
    XWindowAttributes attributes;
    EXPECT_EQ(XGetWindowAttributes(display, gone, &attributes), 0);
    XSync(display, False);
    XCloseDisplay(display);

    const WindowId window = OpenWindow(u"Gone", {10, 10, 40, 30});
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_EQ(SDL_GetWindowWMInfo(SDL_GetWindowFromID(window), &info), SDL_TRUE);
    ASSERT_TRUE(mSystem->DestroyWindow(window));
    // A child started afresh: one forked from here would share this process's X connections.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            XEvent wake{};
            wake.xclient.type = ClientMessage;
            wake.xclient.window = info.info.x11.window;
            wake.xclient.format = 8;
            XSendEvent(info.info.x11.display, info.info.x11.window, False, NoEventMask, &wake);
            XFlush(info.info.x11.display);
            mSystem.reset();
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(DesktopWindow, ClipboardTextTravelsThroughTheXSelection)
{
    // An owner window for the selection, as the program always has.
    OpenWindow(u"Clipboard", {0, 0, 20, 20});
    ASSERT_EQ(RunCommand("printf 'von xclip \xc3\xbc' | xclip -i -selection clipboard"), 0);
    // xclip leaves its owner process in the background, which takes the selection a moment
    // later.
    std::u16string text;
    const auto end = Clock::now() + kPatience;
    while (text.empty() && Clock::now() < end)
    {
        ASSERT_TRUE(mSystem->GetClipboardText(text)) << mSystem->GetError();
        WindowEvent ignored;
        (void)mSystem->WaitEvent(ignored, 20);
    }
    EXPECT_EQ(text, u"von xclip \u00fc");

    const std::u16string mine = u"Preset \u00e9\U0001F3B9\nzwei";
    ASSERT_TRUE(mSystem->SetClipboardText(mine)) << mSystem->GetError();
    const std::string file = std::string(std::getenv("HOME")) + "/clipboard.txt";
    ASSERT_EQ(RunServing("xclip -o -selection clipboard > '" + file + "'"), 0);
    std::ifstream in(file, std::ios::binary);
    const std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(read, "Preset \xc3\xa9\xf0\x9f\x8e\xb9\nzwei");
}

TEST_F(DesktopWindow, CursorsBoundsSizesAndModality)
{
    const WindowId owner = OpenWindow(u"Owner", {10, 10, 300, 200});
    for (std::uint32_t kind = 0; kind <= static_cast<std::uint32_t>(SystemCursor::Help); ++kind)
    {
        Cursor* cursor = mSystem->GetSystemCursor(static_cast<SystemCursor>(kind));
        EXPECT_NE(cursor, nullptr) << kind << ": " << mSystem->GetError();
        EXPECT_EQ(mSystem->GetSystemCursor(static_cast<SystemCursor>(kind)), cursor);
    }
    std::vector<std::uint32_t> arrow(16 * 16, 0xFF00FF00);
    const PixelBuffer image{reinterpret_cast<const std::uint8_t*>(arrow.data()), 16, 16, 64};
    Cursor* drag = mSystem->CreateColorCursor(image, 2, 3);
    ASSERT_NE(drag, nullptr) << mSystem->GetError();
    ASSERT_EQ(RunCommand("xdotool mousemove 50 50"), 0);
    EXPECT_TRUE(mSystem->SetCursor(owner, drag));
    EXPECT_TRUE(mSystem->SetCursor(owner, nullptr));
    EXPECT_EQ(mSystem->CreateColorCursor({image.pixels, 16, 16, 8}, 0, 0), nullptr);

    WindowRect bounds;
    ASSERT_TRUE(mSystem->GetUsableBounds(owner, bounds)) << mSystem->GetError();
    EXPECT_EQ(bounds.width, 1280);
    EXPECT_EQ(bounds.height, 1024);

    ASSERT_TRUE(mSystem->SetClientRect(owner, {20, 30, 320, 240}));
    WindowEvent event;
    EXPECT_TRUE(
        WaitFor([](const WindowEvent& e)
                { return e.type == WindowEventType::SizeChanged && e.x == 320 && e.y == 240; },
                event));
    // A move by another program is read from the server before its report reaches the loop.
    ASSERT_EQ(RunCommand("xdotool search --name '^Owner$' windowmove --sync 70 80"), 0);
    WindowRect moved;
    ASSERT_TRUE(mSystem->ReadClientRect(owner, moved));
    EXPECT_EQ(moved.x, 70);
    EXPECT_EQ(moved.y, 80);

    const WindowId dialog = OpenWindow(u"Dialog", {60, 60, 100, 80});
    EXPECT_TRUE(mSystem->SetModalFor(dialog, owner)) << mSystem->GetError();
    EXPECT_TRUE(mSystem->SetResizable(dialog, true));
    EXPECT_TRUE(mSystem->Raise(owner));
    EXPECT_TRUE(mSystem->DestroyWindow(dialog));
}

// Without a window manager the program's front window has the keyboard: a window as it shows,
// the owner raised as its dialog closes, a window clicked. A dialog is typed as one for the
// desktop, which frames it without minimise and maximise.
TEST_F(DesktopWindow, WithoutAWindowManagerTheKeyboardFollowsTheFrontWindow)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const auto focused = [&]
    {
        ::Window window = 0;
        int revert = 0;
        XGetInputFocus(display, &window, &revert);
        return static_cast<std::uint64_t>(window);
    };
    const auto typeOf = [&](WindowId window)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, mSystem->GetNativeWindow(window),
                           XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), 0, 1, False, XA_ATOM,
                           &type, &format, &count, &after, &data);
        char* name = count == 1 ? XGetAtomName(display, *reinterpret_cast<Atom*>(data)) : nullptr;
        const std::string text = name != nullptr ? name : "";
        XFree(name);
        XFree(data);
        return text;
    };
    const WindowId owner = OpenWindow(u"Owner", {10, 10, 300, 200});
    const WindowId dialog = mSystem->CreateWindow({u"Dialog", {60, 60, 100, 80}, false, true});
    ASSERT_TRUE(mSystem->SetModalFor(dialog, owner));
    ASSERT_TRUE(mSystem->Show(dialog));
    EXPECT_EQ(typeOf(owner), "_NET_WM_WINDOW_TYPE_NORMAL");
    EXPECT_EQ(typeOf(dialog), "_NET_WM_WINDOW_TYPE_DIALOG");
    EXPECT_EQ(focused(), mSystem->GetNativeWindow(dialog));

    ASSERT_TRUE(mSystem->Raise(owner));
    ASSERT_TRUE(mSystem->DestroyWindow(dialog));
    XSync(display, False);
    EXPECT_EQ(focused(), mSystem->GetNativeWindow(owner)) << "the owner is left without keys";

    const WindowId other = OpenWindow(u"Other", {400, 10, 100, 80});
    EXPECT_EQ(focused(), mSystem->GetNativeWindow(other));
    ASSERT_EQ(RunCommand("xdotool mousemove 50 50 click 1"), 0);
    WindowEvent event;
    EXPECT_TRUE(
        WaitFor([](const WindowEvent& e) { return e.type == WindowEventType::MouseUp; }, event));
    XSync(display, False);
    EXPECT_EQ(focused(), mSystem->GetNativeWindow(owner)) << "a click leaves the keyboard away";
    XCloseDisplay(display);
}

} // namespace
} // namespace Platform
