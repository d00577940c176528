// Desktop windows on the window system's dummy driver: scripted input through the whole event
// road, frames in the window, modal runs, idle passes over the root-window list, the stored
// placement and the clipboard.
#include "Platform/Window/WindowScript.h"
#include "Platform/Window/WindowSystem.h"
#include "QZFramework/ControlBase/WindowPlacement.h"
#include "QZFramework/ControlBase/tests/WindowTestSupport.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/System/Clipboard.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace QZ::ToolkitTest
{
namespace
{

using Platform::WindowScript;

class HeadlessShell : public WindowFixture
{
protected:
    void SetUp() override { OpenLoop("dummy"); }
};

TEST_F(HeadlessShell, ScriptedInputReachesTheControlsInTheirOwnCoordinates)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    const std::uint32_t id = main->GetId();
    WindowScript::Move(id, 20, 15, 0);
    WindowScript::Button(id, 1, true, 20, 15, 1);
    WindowScript::Move(id, 150, 100, 1);
    WindowScript::Button(id, 1, false, 150, 100, 1);
    WindowScript::Move(id, 25, 18, 0);
    WindowScript::Button(id, 1, true, 25, 18, 1);
    WindowScript::Button(id, 1, false, 25, 18, 1);
    WindowScript::Wheel(id, 0, 1, false, 20, 70);
    ASSERT_TRUE(RunUntil([] { return WindowLog().size() >= 15; }));
    // Dragged out and released: no click, and the hover follows the pointer again.
    EXPECT_EQ(WindowLog(),
              (std::vector<std::string>{"button:enter", "button:down 1 at 10,5", "button:capture",
                                        "button:leave", "button:up", "button:release", "main:enter",
                                        "main:leave", "button:enter", "button:down 1 at 15,8",
                                        "button:capture", "button:up", "button:release",
                                        "button:click", "field:wheel 1"}));

    // Keys and typed text go to the focused control, else to the root control (the click gave
    // the focusable button the focus; take it away first).
    main->GetRootWindow()->ClearFocus();
    WindowLog().clear();
    WindowScript::Key(id, 0x41, true, 0, false);
    ASSERT_TRUE(RunUntil([] { return WindowLog().size() == 1; }));
    const RCPtr<LControl> field = Find(*main, "field");
    main->GetRootWindow()->GetRootControl()->SetNotFocusable(false);
    field->SetNotFocusable(false);
    ASSERT_EQ(field->SetFocus(true), S_OK);
    WindowScript::Key(id, 0x41, true, Platform::kModShift | Platform::kModLeftShift, false);
    WindowScript::Type(id, u"hi");
    ASSERT_TRUE(RunUntil([] { return WindowLog().size() >= 4; }));
    EXPECT_EQ(WindowLog(), (std::vector<std::string>{"main:key 0x20410000", "field:key 0x22410000",
                                                     "field:char h", "field:char i"}));
}

TEST_F(HeadlessShell, AFrameShowsTheTreeAndOnlyInvalidAreasRepaint)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    ASSERT_TRUE(RunUntil([&] { return !main->NeedsPaint(); }));
    struct Probe
    {
        std::int32_t x, y;
        const char* control;
    };
    for (const Probe& probe : {Probe{5, 5, "main"}, Probe{50, 25, "button"},
                               Probe{129, 89, "field"}, Probe{199, 119, "main"}})
    {
        std::uint32_t rgb = 0;
        ASSERT_TRUE(WindowScript::ReadPixel(main->GetId(), probe.x, probe.y, rgb));
        EXPECT_EQ(rgb, SwatchColor(WideString(probe.control)) & 0xFFFFFF) << probe.control;
    }
    main->InvalidateRect({0, 0, 10, 10});
    EXPECT_TRUE(main->NeedsPaint());
    EXPECT_EQ(main->RedrawNow(), S_OK);
    EXPECT_FALSE(main->NeedsPaint());

    // Two areas of the main control apart, with the button and the field between them: the
    // children between keep their pixels.
    main->GetRootWindow()->Invalidate({0, 0, 5, 5});
    main->GetRootWindow()->Invalidate({190, 110, 10, 10});
    EXPECT_EQ(main->RedrawNow(), S_OK);
    for (const Probe& probe : {Probe{50, 25, "button"}, Probe{100, 75, "field"}})
    {
        std::uint32_t rgb = 0;
        ASSERT_TRUE(WindowScript::ReadPixel(main->GetId(), probe.x, probe.y, rgb));
        EXPECT_EQ(rgb, SwatchColor(WideString(probe.control)) & 0xFFFFFF) << probe.control;
    }

    // The work an event queues for the idle series is done before the frame is painted, so no
    // frame shows it half done.
    bool paintedBeforeIdle = true;
    mScripted->action = [&] { paintedBeforeIdle = !main->NeedsPaint(); };
    WindowScript::Send(main->GetId(), Platform::WindowEventType::Exposed);
    ASSERT_TRUE(RunUntil([&] { return !mScripted->action && !main->NeedsPaint(); }));
    EXPECT_FALSE(paintedBeforeIdle);
}

TEST_F(HeadlessShell, ModalRunsEndByEndModalTheCloseBoxAndTheExitRequestInnermostFirst)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    std::unique_ptr<OSWindow> dialog = OpenWindow(u"dialog", 20, 20, 160, 80, main.get());
    // EndModal takes effect at the next idle step, not at once.
    dialog->GetRootWindow()->EndModal(5);
    EXPECT_TRUE(mApplication->GetRootWindows().size() == 2);
    EXPECT_EQ(mApplication->RunModal(*dialog->GetRootWindow()), 5);
    EXPECT_EQ(mApplication->GetRootWindows().size(), 1u) << "a finished dialog leaves the list";

    dialog = OpenWindow(u"dialog", 20, 20, 160, 80, main.get());
    WindowScript::Send(dialog->GetId(), Platform::WindowEventType::Close);
    EXPECT_EQ(dialog->RunModalLoop(), 2);

    // Dialog a opens dialog b, whose run asks the program to exit.
    std::vector<std::string> ended;
    std::unique_ptr<OSWindow> a = OpenWindow(u"dialog", 20, 20, 160, 80, main.get());
    std::unique_ptr<OSWindow> b;
    mScripted->action = [&]
    {
        b = OpenWindow(u"dialog", 40, 40, 160, 80, a.get());
        mScripted->action = PostExitRequest;
        ended.push_back("b " + std::to_string(b->RunModalLoop()));
    };
    ended.push_back("a " + std::to_string(a->RunModalLoop()));
    EXPECT_EQ(ended, (std::vector<std::string>{"b 0", "a 0"}));
    EXPECT_TRUE(mApplication->IsExitRequested());
    EXPECT_TRUE(mLoop->IsQuitting());
    EXPECT_EQ(mApplication->GetRootWindows().size(), 1u);
}

TEST_F(HeadlessShell, ClosingTheMainWindowRequestsTheExit)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    WindowScript::Send(main->GetId(), Platform::WindowEventType::Close);
    EXPECT_EQ(mLoop->Run(nullptr), 0);
    EXPECT_TRUE(mApplication->IsExitRequested());
}

// A pass run while the desktop's file dialog holds the thread: the windows are painted, their
// input is dropped, no idle series runs, and a window disabled by its own modal dialog stays so.
TEST_F(HeadlessShell, ABlockedPassPaintsDropsInputAndLeavesTheWindowsAsTheyWere)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    const std::unique_ptr<OSWindow> other = OpenWindow(u"main", 0, 0, 200, 120);
    ASSERT_TRUE(RunUntil([&] { return !main->NeedsPaint() && !other->NeedsPaint(); }));
    Platform::WindowSystem& system = mLoop->GetWindowSystem();
    system.SetEnabled(other->GetId(), false);
    WindowLog().clear();
    bool idled = false;
    mScripted->action = [&] { idled = true; };
    for (const OSWindow* window : {main.get(), other.get()})
    {
        WindowScript::Send(window->GetId(), Platform::WindowEventType::Exposed);
        WindowScript::Move(window->GetId(), 20, 15, 0);
        WindowScript::Button(window->GetId(), 1, true, 20, 15, 1);
        WindowScript::Key(window->GetId(), 0x41, true, 0, false);
        WindowScript::Send(window->GetId(), Platform::WindowEventType::Close);
    }
    EXPECT_TRUE(mLoop->ServeWhileBlocked());
    EXPECT_FALSE(main->NeedsPaint());
    EXPECT_FALSE(other->NeedsPaint());
    EXPECT_TRUE(WindowLog().empty()) << WindowLog().front();
    EXPECT_FALSE(idled);
    EXPECT_FALSE(mApplication->IsExitRequested());
    EXPECT_TRUE(system.IsEnabled(main->GetId()));
    EXPECT_FALSE(system.IsEnabled(other->GetId()));
    // Once the dialog is gone the input reaches the windows again.
    WindowScript::Move(main->GetId(), 20, 15, 0);
    ASSERT_TRUE(RunUntil([] { return !WindowLog().empty(); }));
    EXPECT_EQ(WindowLog().front(), "button:enter");
    // The desktop's request to end, come during a pass, asks for the dialog to be cancelled.
    WindowScript::RequestQuit();
    EXPECT_FALSE(mLoop->ServeWhileBlocked());
    EXPECT_TRUE(mLoop->ServeWhileBlocked());
}

// A signal can ask for the end while the program still starts, before its loop runs: the run then
// ends at once, not going on forever with the program half ended.
TEST_F(HeadlessShell, AnEndAskedForBeforeTheLoopRunsEndsTheRunAtOnce)
{
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    PostExitRequest();
    mApplication->Idle(true);
    ASSERT_TRUE(mApplication->IsExitRequested());
    // A run that never ends must fail the test, not hang it.
    std::mutex lock;
    std::condition_variable_any never;
    const std::jthread watchdog(
        [&](std::stop_token stop)
        {
            std::unique_lock<std::mutex> held(lock);
            never.wait_for(held, stop, std::chrono::seconds(10), [] { return false; });
            if (!stop.stop_requested())
            {
                std::fputs("the loop ran on after the end was asked for\n", stderr);
                std::abort();
            }
        });
    EXPECT_EQ(mLoop->Run(nullptr), 0);
}

// Counts the idle notifications of one window; the first one can close another window.
class IdleCounter : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>&) override
    {
        ++count;
        if (onIdle)
        {
            std::exchange(onIdle, nullptr)();
        }
    }
    std::int32_t count = 0;
    std::function<void()> onIdle;
};

TEST_F(HeadlessShell, AnIdlePassSkipsAWindowClosedDuringIt)
{
    std::unique_ptr<OSWindow> first = OpenWindow(u"main", 0, 0, 200, 120);
    const std::unique_ptr<OSWindow> second = OpenWindow(u"main", 0, 0, 200, 120);
    RCPtr<IdleCounter> firstIdle(new IdleCounter());
    RCPtr<IdleCounter> secondIdle(new IdleCounter());
    firstIdle->Subscribe(RCPtr<LNotificationDistributor>(first->GetRootWindow()), NID_IDLE, 0);
    secondIdle->Subscribe(RCPtr<LNotificationDistributor>(second->GetRootWindow()), NID_IDLE, 0);
    // The last window idles first and closes the first one.
    secondIdle->onIdle = [&] { first.reset(); };
    mApplication->Idle(true);
    EXPECT_EQ(secondIdle->count, 1);
    EXPECT_EQ(firstIdle->count, 0);
    EXPECT_EQ(mApplication->GetRootWindows().size(), 1u);
    secondIdle->UnsubscribeAll();
}

TEST_F(HeadlessShell, ClipboardTextRoundTrips)
{
    RCPtr<LClipboard> clipboard;
    ASSERT_EQ(LClipboard::Create(clipboard, mLoop->GetWindowSystem()), S_OK);
    const WideString text(u"Grüße 夜 \U0001F3B9");
    ASSERT_EQ(clipboard->SetText(text), S_OK);
    WideString read;
    ASSERT_EQ(clipboard->GetText(read), S_OK);
    EXPECT_EQ(read, text);
}

// Takes the edit commands as a text field does: logs each with the clipboard's text and puts
// its own text on the clipboard for a copy.
class EditTarget : public Swatch
{
public:
    using Swatch::Swatch;
    [[nodiscard]] bool IsEditTarget() const override { return true; }
    QZRESULT PerformEdit(const WideString& command, IClipboardText& clipboard) override
    {
        WideString text;
        static_cast<void>(clipboard.GetText(text));
        edits.push_back(command.ToNarrowString().GetString() + std::string(":") +
                        text.ToNarrowString().GetString());
        return command == WideString(NID_EDIT_COPY_REQ) ? clipboard.SetText(WideString(u"mine"))
                                                        : S_OK;
    }
    std::vector<std::string> edits;
};

TEST_F(HeadlessShell, EditCommandsReachTheFocusedEditTargetOfTheActiveWindow)
{
    RCPtr<LClipboard> clipboard;
    ASSERT_EQ(LClipboard::Create(clipboard, mLoop->GetWindowSystem()), S_OK);
    ASSERT_EQ(clipboard->Initialize(), S_OK);
    ASSERT_EQ(clipboard->SetText(WideString(u"theirs")), S_OK);
    const std::unique_ptr<OSWindow> main = OpenWindow(u"main", 0, 0, 200, 120);
    const RCPtr<LControl> root = main->GetRootWindow()->GetRootControl();
    const RCPtr<EditTarget> edit(new EditTarget(root, WideString(u"edit"), true));
    // The plain child inside the edit target hands the command up to it.
    const RCPtr<Swatch> inner(new Swatch(RCPtr<LControl>(edit), WideString(u"inner"), true));
    main->GetRootWindow()->SetFocusedControl(RCPtr<LControl>(inner));
    const auto send = [](const char16_t* command)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, command, nullptr);
        GetApplicationNotificationCenter()->Distribute(notification);
    };

    send(NID_EDIT_COPY_REQ);
    EXPECT_TRUE(edit->edits.empty()) << "the window is not active yet";
    WindowScript::Send(main->GetId(), Platform::WindowEventType::FocusGained);
    ASSERT_TRUE(RunUntil([&] { return main->IsActive(); }));
    send(NID_EDIT_PASTE_REQ);
    send(NID_EDIT_COPY_REQ);
    clipboard->Shutdown();
    send(NID_EDIT_DELETE_REQ);
    EXPECT_EQ(edit->edits,
              (std::vector<std::string>{"NID_EDIT_PASTE_REQ:theirs", "NID_EDIT_COPY_REQ:theirs"}));
    WideString text;
    ASSERT_EQ(clipboard->GetText(text), S_OK);
    EXPECT_EQ(text, WideString(u"mine"));
}

TEST(WindowPlacement, OnlySoundTextOnTheUsableAreaIsRestored)
{
    const RectT<std::int32_t> usable(0, 0, 1280, 1000);
    struct Case
    {
        const char16_t* text;
        bool restored;
    };
    const Case cases[] = {
        {u"100,80,640,480", true},
        {u"-580,-10,640,480", true},
        {u"-600,-460,640,480", false},
        {u"1240,80,640,480", false},
        {u"100,80,49,480", false},
        {u"100,80,640", false},
        {u"100,80,640,480,1", false},
        {u"100, 80,640,480", false},
        {u"", false},
        {u"a,b,c,d", false},
        {u"2147483600,0,2000,480", false},
        {u"99999999999,0,640,480", false},
    };
    for (const Case& c : cases)
    {
        RectT<std::int32_t> client(1, 2, 3, 4);
        EXPECT_EQ(WindowPlacement::Parse(WideString(c.text), usable, client), c.restored)
            << Narrow(WideString(c.text));
        if (c.restored)
        {
            EXPECT_EQ(Narrow(WindowPlacement::Format(client)), Narrow(WideString(c.text)));
        }
    }
}

} // namespace
} // namespace QZ::ToolkitTest
