// The window layer on SDL's dummy driver: windows without a display, input fed by WindowScript.
#include "Platform/Window/WindowScript.h"
#include "Platform/Window/WindowSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <tuple>
#include <vector>

namespace Platform
{
namespace
{

class HeadlessWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        mSystem = WindowSystem::Open("dummy", error);
        ASSERT_NE(mSystem, nullptr) << error;
        mWindow = mSystem->CreateWindow({u"Headless", {10, 20, 8, 6}, false});
        ASSERT_NE(mWindow, 0u) << mSystem->GetError();
        ASSERT_TRUE(mSystem->Show(mWindow));
    }

    // Every event that has arrived, in order.
    std::vector<WindowEvent> Drain()
    {
        std::vector<WindowEvent> events;
        WindowEvent event;
        while (mSystem->WaitEvent(event, 0))
        {
            events.push_back(event);
        }
        return events;
    }

    std::unique_ptr<WindowSystem> mSystem;
    WindowId mWindow = 0;
};

TEST_F(HeadlessWindow, PointerEventsCarryClientPointButtonsHeldAndModifiers)
{
    struct Step
    {
        // A button event when button is not 0, else a move with buttons held.
        std::uint32_t button;
        bool down;
        std::int32_t x, y;
        std::uint32_t heldOrClicks;
        // What arrives.
        std::uint32_t buttons;
        bool doubleClick;
    };
    const Step steps[] = {
        {0, false, 3, 4, 0, 0, false},
        {4, true, 3, 4, 1, 4, false},
        {1, true, 5, 4, 2, 5, true},
        {4, false, 5, 4, 1, 1, false},
        // A move reports what SDL holds, which corrects what was lost.
        {0, false, 6, 1, 2, 2, false},
        {2, false, 6, 1, 3, 0, true},
    };
    const std::uint32_t modifierSets[] = {0, kModShift | kModLeftShift, kModCtrl | kModRightCtrl};
    Drain();
    for (std::size_t i = 0; i < std::size(steps); ++i)
    {
        const Step& step = steps[i];
        const std::uint32_t modifiers = modifierSets[i % std::size(modifierSets)];
        ASSERT_TRUE(WindowScript::SetModifiers(mWindow, modifiers));
        Drain();
        ASSERT_TRUE(step.button == 0
                        ? WindowScript::Move(mWindow, step.x, step.y, step.heldOrClicks)
                        : WindowScript::Button(mWindow, step.button, step.down, step.x, step.y,
                                               static_cast<std::uint8_t>(step.heldOrClicks)));
        const std::vector<WindowEvent> events = Drain();
        ASSERT_EQ(events.size(), 1u) << i;
        const WindowEvent& e = events[0];
        EXPECT_EQ(e.type, step.button == 0 ? WindowEventType::MouseMove
                          : step.down      ? WindowEventType::MouseDown
                                           : WindowEventType::MouseUp)
            << i;
        EXPECT_EQ(e.window, mWindow) << i;
        EXPECT_EQ(e.x, step.x) << i;
        EXPECT_EQ(e.y, step.y) << i;
        EXPECT_EQ(e.button, step.button) << i;
        EXPECT_EQ(e.buttons, step.buttons) << i;
        EXPECT_EQ(e.doubleClick, step.doubleClick) << i;
        EXPECT_EQ(e.modifiers, modifiers) << i;
    }

    // A click between a Shift press and its release carries Shift, however late it is read.
    ASSERT_TRUE(WindowScript::SetModifiers(mWindow, 0));
    Drain();
    ASSERT_TRUE(WindowScript::SetModifiers(mWindow, kModShift | kModRightShift));
    ASSERT_TRUE(WindowScript::Button(mWindow, 1, true, 1, 1, 1));
    ASSERT_TRUE(WindowScript::SetModifiers(mWindow, 0));
    const std::vector<WindowEvent> late = Drain();
    ASSERT_EQ(late.size(), 3u);
    EXPECT_EQ(late[0].key, 0x22100000u);
    EXPECT_EQ(late[0].sideModifiers, 0x02u);
    EXPECT_EQ(late[1].modifiers, kModShift | kModRightShift);
    EXPECT_EQ(late[2].type, WindowEventType::KeyUp);
    EXPECT_EQ(late[2].key, 0x00100000u);
}

TEST_F(HeadlessWindow, WheelTurnsBecomeWholeStepsInThePhysicalDirection)
{
    using Case = std::tuple<float, float, bool, std::vector<std::uint32_t>>;
    const Case cases[] = {
        {0, 1, false, {1}},
        {0, -2, false, {0, 0}},
        {1, 0, false, {3}},
        {-1, 1, false, {1, 2}},
        // Natural scrolling reports the turn reversed.
        {0, 1, true, {1}},
        {-1, 0, true, {2}},
        // Smooth scrolling: thirds add up to a step, with rounding.
        {0, 1.0f / 3, false, {}},
        {0, 1.0f / 3, false, {}},
        {0, 1.0f / 3, false, {1}},
        // A part step the other way starts afresh.
        {0, 0.6f, false, {}},
        {0, -0.6f, false, {}},
        {0, -0.6f, false, {0}},
        {0, 2.5f, false, {1, 1}},
        {0, 0.5f, false, {1}},
    };
    Drain();
    for (const auto& [x, y, flipped, expected] : cases)
    {
        ASSERT_TRUE(WindowScript::Wheel(mWindow, x, y, flipped, 7, 2));
        std::vector<std::uint32_t> directions;
        for (const WindowEvent& e : Drain())
        {
            ASSERT_EQ(e.type, WindowEventType::Wheel);
            EXPECT_EQ(e.x, 7);
            EXPECT_EQ(e.y, 2);
            directions.push_back(e.wheelDirection);
        }
        EXPECT_EQ(directions, expected) << "turn " << x << ", " << y;
    }
}

TEST_F(HeadlessWindow, KeysAndTypedText)
{
    Drain();
    const std::uint32_t ctrlShift = kModCtrl | kModLeftCtrl | kModShift | kModRightShift;
    ASSERT_TRUE(WindowScript::Key(mWindow, 0x25, true, ctrlShift, false));
    ASSERT_TRUE(WindowScript::Key(mWindow, 0x25, true, ctrlShift, true));
    ASSERT_TRUE(WindowScript::Key(mWindow, 0x25, false, 0, false));
    // Longer than one piece of desktop text, with characters of two to four bytes.
    const std::u16string text = u"a\u00e9\u20ac\U0001F600 Gr\u00fc\u00dfe aus K\u00f6ln, "
                                u"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9!";
    ASSERT_TRUE(WindowScript::Type(mWindow, text));

    const std::vector<WindowEvent> events = Drain();
    ASSERT_EQ(events.size(), 3 + text.size());
    EXPECT_EQ(events[0].type, WindowEventType::KeyDown);
    EXPECT_EQ(events[0].key, 0x23250000u);
    EXPECT_EQ(events[0].sideModifiers, 0x06u);
    EXPECT_EQ(events[0].repeat, 0);
    EXPECT_EQ(events[1].repeat, 1);
    EXPECT_EQ(events[2].type, WindowEventType::KeyUp);
    EXPECT_EQ(events[2].key, 0x00250000u);
    std::u16string typed;
    for (std::size_t i = 3; i < events.size(); ++i)
    {
        EXPECT_EQ(events[i].type, WindowEventType::Text);
        EXPECT_EQ(events[i].window, mWindow);
        typed += events[i].unit;
    }
    EXPECT_EQ(typed, text);
}

TEST_F(HeadlessWindow, DisabledWindowLosesInputButKeepsItsWindowEvents)
{
    Drain();
    ASSERT_TRUE(mSystem->SetEnabled(mWindow, false));
    EXPECT_FALSE(mSystem->IsEnabled(mWindow));
    ASSERT_TRUE(WindowScript::Button(mWindow, 1, true, 1, 1, 1));
    ASSERT_TRUE(WindowScript::Key(mWindow, 0x41, true, 0, false));
    ASSERT_TRUE(WindowScript::Type(mWindow, u"x"));
    ASSERT_TRUE(WindowScript::Wheel(mWindow, 0, 1, false, 1, 1));
    ASSERT_TRUE(WindowScript::Send(mWindow, WindowEventType::Close));
    ASSERT_TRUE(WindowScript::Send(mWindow, WindowEventType::Exposed));
    ASSERT_TRUE(WindowScript::Send(mWindow, WindowEventType::FocusLost));
    ASSERT_TRUE(mSystem->SetClientRect(mWindow, {10, 20, 12, 9}));
    std::vector<WindowEvent> events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].type, WindowEventType::Exposed);
    EXPECT_EQ(events[1].type, WindowEventType::FocusLost);
    EXPECT_EQ(events[2].type, WindowEventType::SizeChanged);
    EXPECT_EQ(events[2].x, 12);
    EXPECT_EQ(events[2].y, 9);

    // The button that went down while disabled is still known as held.
    ASSERT_TRUE(mSystem->SetEnabled(mWindow, true));
    ASSERT_TRUE(WindowScript::Button(mWindow, 4, true, 2, 2, 1));
    ASSERT_TRUE(WindowScript::Send(mWindow, WindowEventType::Close));
    events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].buttons, 5u);
    EXPECT_EQ(events[1].type, WindowEventType::Close);
}

TEST_F(HeadlessWindow, PresentCopiesTheAreasExactlyAndClipsThem)
{
    std::vector<std::uint32_t> frame(10 * 8);
    for (std::size_t i = 0; i < frame.size(); ++i)
    {
        // Premultiplied pixels, some translucent: the window shows their colour bytes.
        frame[i] =
            (i % 3 == 0 ? 0x80000000u : 0xFF000000u) | static_cast<std::uint32_t>(i * 0x030507);
    }
    // A stride of 10 pixels for a frame 9 wide; the window is 8 x 6.
    const PixelBuffer buffer{reinterpret_cast<const std::uint8_t*>(frame.data()), 9, 8, 40};
    const WindowRect areas[] = {{1, 1, 2, 2}, {6, 4, 10, 10}, {-3, -3, 2, 2}, {4, 0, 0, 5}};
    ASSERT_TRUE(mSystem->Present(mWindow, buffer, areas)) << mSystem->GetError();
    for (std::int32_t y = 0; y < 6; ++y)
    {
        for (std::int32_t x = 0; x < 8; ++x)
        {
            const bool copied = (x >= 1 && x < 3 && y >= 1 && y < 3) || (x >= 6 && y >= 4);
            std::uint32_t shown = 0;
            ASSERT_TRUE(WindowScript::ReadPixel(mWindow, x, y, shown));
            EXPECT_EQ(shown, copied ? frame[y * 10 + x] & 0xFFFFFFu : 0u) << x << ", " << y;
        }
    }
    EXPECT_FALSE(mSystem->Present(mWindow, {nullptr, 4, 4, 16}, areas));
    EXPECT_EQ(mSystem->GetError(),
              "WindowSystem::Present: the frame has no pixels or a stride shorter than its rows");
    EXPECT_FALSE(mSystem->Present(mWindow, {buffer.pixels, 9, 8, 32}, areas));
}

TEST_F(HeadlessWindow, WindowCallsReportWhatFailed)
{
    WindowRect client;
    ASSERT_TRUE(mSystem->GetClientRect(mWindow, client));
    EXPECT_EQ(client.width, 8);
    EXPECT_EQ(client.height, 6);
    EXPECT_TRUE(mSystem->SetTitle(mWindow, u"Titel \u00e4"));

    EXPECT_EQ(mSystem->CreateWindow({u"Empty", {0, 0, 0, 5}, false}), 0u);
    EXPECT_EQ(mSystem->GetError(), "WindowSystem::CreateWindow: the client size 0 x 5 is empty");
    EXPECT_FALSE(mSystem->SetClientRect(mWindow, {0, 0, 5, -1}));
    EXPECT_EQ(mSystem->GetError(), "WindowSystem::SetClientRect: the client size 5 x -1 is empty");
    EXPECT_FALSE(mSystem->Show(mWindow + 100));
    EXPECT_EQ(mSystem->GetError(),
              "WindowSystem::Show: no window " + std::to_string(mWindow + 100));
    const std::uint8_t pixels[16] = {};
    const PixelBuffer icons[] = {{pixels, 1, 1, 4}, {pixels, 2, 2, 8}};
    EXPECT_TRUE(mSystem->SetIcon(mWindow, icons));
    const PixelBuffer shortRows[] = {{pixels, 2, 2, 4}};
    for (const std::span<const PixelBuffer> refused :
         {std::span<const PixelBuffer>(), std::span<const PixelBuffer>(shortRows)})
    {
        EXPECT_FALSE(mSystem->SetIcon(mWindow, refused));
        EXPECT_EQ(mSystem->GetError(), "WindowSystem::SetIcon: no icon, or one with no pixels or "
                                       "a stride shorter than its rows");
    }

    // Input queued for a window that is then destroyed never arrives.
    const WindowId second = mSystem->CreateWindow({u"Second", {0, 0, 4, 4}, true});
    ASSERT_NE(second, 0u);
    ASSERT_TRUE(WindowScript::Type(mWindow, u"ab"));
    WindowEvent event;
    ASSERT_TRUE(WindowScript::Type(second, u"cd"));
    ASSERT_TRUE(mSystem->WaitEvent(event, 1000));
    ASSERT_TRUE(mSystem->WaitEvent(event, 1000));
    ASSERT_TRUE(mSystem->WaitEvent(event, 1000));
    EXPECT_EQ(event.unit, u'c');
    ASSERT_TRUE(mSystem->DestroyWindow(second));
    ASSERT_TRUE(WindowScript::Send(second, WindowEventType::Exposed));
    ASSERT_TRUE(WindowScript::Key(0, 0x41, true, 0, false));
    EXPECT_FALSE(mSystem->WaitEvent(event, 0));
    EXPECT_FALSE(mSystem->DestroyWindow(second));

    std::string error;
    EXPECT_EQ(WindowSystem::Open("dummy", error), nullptr);
    EXPECT_EQ(error, "WindowSystem::Open: a window system is already open");
}

// A wait without limit ends when another thread wakes it; a wake ends one wait, carries no event
// and leaves the events behind it in place.
TEST_F(HeadlessWindow, AWakeFromAnotherThreadEndsAWaitWithoutLimit)
{
    Drain();
    WindowEvent event;
    std::thread waker([this] { mSystem->Wake(); });
    EXPECT_FALSE(mSystem->WaitEvent(event, -1));
    waker.join();

    mSystem->Wake();
    ASSERT_TRUE(WindowScript::Type(mWindow, u"a"));
    EXPECT_FALSE(mSystem->WaitEvent(event, -1));
    ASSERT_TRUE(mSystem->WaitEvent(event, -1));
    EXPECT_EQ(event.unit, u'a');
    EXPECT_FALSE(mSystem->WaitEvent(event, 0));
}

TEST_F(HeadlessWindow, ClipboardKeepsTextBeyondTheBasicPlane)
{
    const std::u16string text = u"Gr\u00fc\u00dfe \U0001F3B9 line\nnext";
    ASSERT_TRUE(mSystem->SetClipboardText(text));
    std::u16string back;
    ASSERT_TRUE(mSystem->GetClipboardText(back));
    EXPECT_EQ(back, text);
}

TEST(WindowSystemOpen, WithoutDisplayNamesWhatIsMissing)
{
    const char* variables[] = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XDG_RUNTIME_DIR"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : variables)
    {
        if (const char* value = std::getenv(name))
        {
            saved.emplace_back(name, value);
        }
        unsetenv(name);
    }
    std::string error;
    EXPECT_EQ(WindowSystem::Open(nullptr, error), nullptr);
    EXPECT_EQ(error, "WindowSystem::Open: no display: neither DISPLAY nor WAYLAND_DISPLAY is set");
    setenv("DISPLAY", ":4711", 1);
    EXPECT_EQ(WindowSystem::Open(nullptr, error), nullptr);
    EXPECT_EQ(error.rfind("WindowSystem::Open: cannot open a display with video driver x11,wayland "
                          "(DISPLAY=:4711, WAYLAND_DISPLAY unset): ",
                          0),
              0u)
        << error;
    unsetenv("DISPLAY");
    for (const auto& [name, value] : saved)
    {
        setenv(name.c_str(), value.c_str(), 1);
    }
    // The failed attempts leave nothing open.
    auto system = WindowSystem::Open("dummy", error);
    EXPECT_NE(system, nullptr) << error;
}

// The empty compose table is the input method's only while the display opens: what the program
// starts later sees the user's own setting, or none.
TEST(WindowSystemOpen, LeavesTheComposeTableSettingAsItWas)
{
    const char* saved = std::getenv("XCOMPOSEFILE");
    const std::string restore = saved != nullptr ? saved : "";
    for (const char* setting : {static_cast<const char*>(nullptr), "/home/user/.XCompose"})
    {
        setting != nullptr ? setenv("XCOMPOSEFILE", setting, 1) : unsetenv("XCOMPOSEFILE");
        std::string error;
        auto system = WindowSystem::Open("dummy", error);
        ASSERT_NE(system, nullptr) << error;
        const char* after = std::getenv("XCOMPOSEFILE");
        EXPECT_EQ(after != nullptr ? std::string(after) : "unset",
                  setting != nullptr ? setting : "unset");
    }
    saved != nullptr ? setenv("XCOMPOSEFILE", restore.c_str(), 1) : unsetenv("XCOMPOSEFILE");
}

} // namespace
} // namespace Platform
