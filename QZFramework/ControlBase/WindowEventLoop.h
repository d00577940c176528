// The user-interface thread's event loop on the desktop's window system.
//
// One loop is open at a time; it opens the window system and every OSWindow registers with it.
// Each step waits for an event, hands every waiting event to its window, then, unless the exit
// was requested, runs one idle series (counts 0, 1, 2 ... until the handler answers false), and
// last paints every window with an invalid area, so that a frame shows the work the events
// queued done. An event, Wake or a tick starts the next series. Ticks come every 33 ms while
// timed work waits (a control holds a timed idle request, notifications or commands are still
// queued, or this thread posted a notification); otherwise the loop sleeps up to a second, so an
// idle program wakes about once a second. A notification posted on another thread wakes the
// loop at once, as Wake does.
//
// A modal run is the same step, nested, until its window ends it or Quit is called: nested runs
// therefore end innermost (last opened) first. Its idle series deliver the notification queues
// also when the run was opened from one of their deliveries. The outermost Run ends at Quit, or
// once no window is left open after an idle series: a loop with nothing to serve has nothing to
// wait for.
#pragma once

#include "QZFramework/Application/EventLoop.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Platform
{
class Cursor;
class WindowSystem;
struct WindowEvent;
} // namespace Platform

namespace QZ
{

class OSWindow;

class LWindowEventLoop : public IEventLoop
{
public:
    // The tick that starts idle series and drives the controls' timed work.
    static constexpr std::int32_t kTickMilliseconds = 33;
    // The longest sleep while no timed work waits.
    static constexpr std::int32_t kIdleWaitMilliseconds = 1000;

    // Opens the window system (driver as WindowSystem::Open takes it: null for the desktop's,
    // "dummy" for none). Null with the reason in error, which names what is missing when there
    // is no display.
    [[nodiscard]] static std::unique_ptr<LWindowEventLoop> Open(const char* driver,
                                                                std::string& error);
    ~LWindowEventLoop() override;
    LWindowEventLoop(const LWindowEventLoop&) = delete;
    LWindowEventLoop& operator=(const LWindowEventLoop&) = delete;

    // The open loop, or null.
    [[nodiscard]] static LWindowEventLoop* GetCurrent();
    [[nodiscard]] Platform::WindowSystem& GetWindowSystem() { return *mSystem; }

    std::int32_t Run(const IdleHandler& idle) override;
    void Quit(std::int32_t code) override;
    // Any thread; from another thread it also ends the loop's wait.
    void Wake() override;
    [[nodiscard]] bool IsQuitting() const { return mQuitting; }

    // Runs steps until ended answers true (checked after every event batch, paint and idle
    // step) or Quit is called. Idle series use the handler Run was given, or the application's
    // own idle pass before Run.
    void RunModal(const std::function<bool()>& ended);

    // One pass while another toolkit's modal loop holds this thread (the desktop's file dialog):
    // every waiting event goes to its window with the input to the program's windows dropped, as
    // for the owner of a modal dialog, and what is due is painted. Never waits, and runs no idle
    // series: the command that opened the dialog is still running. False when the desktop asked
    // the program to end during the pass, so that the other toolkit's dialog is cancelled.
    bool ServeWhileBlocked();

    // Windows come and go with their OSWindow.
    void Register(OSWindow& window);
    void Unregister(OSWindow& window);
    [[nodiscard]] bool HasWindows() const { return !mWindows.empty(); }

    // The pointer that shows an application cursor number (AppCursors.h): the desktop's pointer
    // for the standard numbers (0 the arrow), the program's own images for the drag cursors, and
    // null (the arrow) for a number it cannot show. Made once and kept.
    [[nodiscard]] Platform::Cursor* GetCursor(std::int32_t cursor);

private:
    using Clock = std::chrono::steady_clock;

    explicit LWindowEventLoop(std::unique_ptr<Platform::WindowSystem> system);
    // One step; false once ended answered true.
    bool Step(const std::function<bool()>& ended);
    void Dispatch(const Platform::WindowEvent& event);
    void PaintWindows();
    bool RunIdle(std::int32_t count);
    // Whether timed work waits, so that the next series is due at the tick.
    [[nodiscard]] bool WantsTicks() const;
    // A notification was posted to an empty queue, on any thread.
    static void WakeAfterPost();
    [[nodiscard]] OSWindow* Find(std::uint32_t id) const;

    std::unique_ptr<Platform::WindowSystem> mSystem;
    std::vector<OSWindow*> mWindows;
    std::map<std::int32_t, Platform::Cursor*> mCursors;
    IdleHandler mIdle;
    Clock::time_point mLastTick;
    bool mSeriesDue = true;
    // A post on the loop's own thread: the loop is awake, and delivers it at the next tick.
    bool mPostedHere = false;
    std::atomic<bool> mWoken{false};
    const std::thread::id mThread = std::this_thread::get_id();
    bool mQuitting = false;
    std::int32_t mQuitCode = 0;
};

} // namespace QZ
