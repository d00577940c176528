#include "QZFramework/ControlBase/WindowEventLoop.h"

#include "Platform/Graphics2D/Image.h"
#include "Platform/Window/WindowSystem.h"
#include "QZFramework/Application/AppCursors.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/NotificationQueue.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <span>
#include <utility>

namespace QZ
{
namespace
{

LWindowEventLoop* gCurrent = nullptr;
// Set and cleared on the loop's thread; held by posts from other threads while they wake it, so
// that the loop cannot close under them.
std::mutex gCurrentLock;

struct StandardCursor
{
    std::int32_t cursor;
    Platform::SystemCursor kind;
};

constexpr StandardCursor kStandardCursors[] = {
    {kNoCursor, Platform::SystemCursor::Arrow},
    {kCursorArrow, Platform::SystemCursor::Arrow},
    {kCursorIBeam, Platform::SystemCursor::IBeam},
    {kCursorWait, Platform::SystemCursor::Wait},
    {kCursorCross, Platform::SystemCursor::Cross},
    {kCursorUpArrow, Platform::SystemCursor::UpArrow},
    {kCursorSizeNWSE, Platform::SystemCursor::SizeNWSE},
    {kCursorSizeNESW, Platform::SystemCursor::SizeNESW},
    {kCursorSizeWE, Platform::SystemCursor::SizeWE},
    {kCursorSizeNS, Platform::SystemCursor::SizeNS},
    {kCursorSizeAll, Platform::SystemCursor::SizeAll},
    {kCursorNo, Platform::SystemCursor::No},
    {kCursorHand, Platform::SystemCursor::Hand},
    {kCursorAppStarting, Platform::SystemCursor::AppStarting},
    {kCursorHelp, Platform::SystemCursor::Help},
};

// The program's own cursor image as a colour pointer; null when it is not embedded or broken.
Platform::Cursor* MakeImageCursor(Platform::WindowSystem& system, std::int32_t cursor)
{
    std::span<const std::uint8_t> png;
    std::int32_t hotX = 0;
    std::int32_t hotY = 0;
    std::unique_ptr<Graphics2D::Image> image;
    if (!GetCursorImage(cursor, png, hotX, hotY) ||
        Graphics2D::Image::FromMemory(png.data(), png.size(), image) != Graphics2D::Status::Ok)
    {
        return nullptr;
    }
    Graphics2D::BitmapData data;
    const Graphics2D::RectI all{0, 0, image->GetWidth(), image->GetHeight()};
    if (image->LockBits(all, Graphics2D::LockModeRead, Graphics2D::PixelFormat::Format32bppARGB,
                        data) != Graphics2D::Status::Ok)
    {
        return nullptr;
    }
    Platform::Cursor* made =
        system.CreateColorCursor({data.scan0, data.width, data.height, data.stride}, hotX, hotY);
    image->UnlockBits(data);
    return made;
}

} // namespace

std::unique_ptr<LWindowEventLoop> LWindowEventLoop::Open(const char* driver, std::string& error)
{
    if (gCurrent != nullptr)
    {
        error = "LWindowEventLoop::Open: a loop is open already";
        return nullptr;
    }
    std::unique_ptr<Platform::WindowSystem> system = Platform::WindowSystem::Open(driver, error);
    if (!system)
    {
        return nullptr;
    }
    return std::unique_ptr<LWindowEventLoop>(new LWindowEventLoop(std::move(system)));
}

LWindowEventLoop::LWindowEventLoop(std::unique_ptr<Platform::WindowSystem> system)
    : mSystem(std::move(system)), mLastTick(Clock::now())
{
    std::lock_guard<std::mutex> lock(gCurrentLock);
    gCurrent = this;
    LNotificationQueue::SetPostWake(&LWindowEventLoop::WakeAfterPost);
}

LWindowEventLoop::~LWindowEventLoop()
{
    std::lock_guard<std::mutex> lock(gCurrentLock);
    LNotificationQueue::SetPostWake(nullptr);
    gCurrent = nullptr;
}

void LWindowEventLoop::WakeAfterPost()
{
    std::lock_guard<std::mutex> lock(gCurrentLock);
    if (gCurrent == nullptr)
    {
        return;
    }
    if (std::this_thread::get_id() == gCurrent->mThread)
    {
        gCurrent->mPostedHere = true;
    }
    else
    {
        gCurrent->Wake();
    }
}

LWindowEventLoop* LWindowEventLoop::GetCurrent()
{
    return gCurrent;
}

std::int32_t LWindowEventLoop::Run(const IdleHandler& idle)
{
    mIdle = idle;
    // The first series runs at once, so start-up's queued notifications are handled. A Quit
    // asked for before the run (an end signal during the start) ends it at once.
    mSeriesDue = true;
    while (Step([this] { return mSeriesDue == false && mWindows.empty(); }))
    {
    }
    mIdle = nullptr;
    mQuitting = false;
    return mQuitCode;
}

void LWindowEventLoop::Quit(std::int32_t code)
{
    mQuitCode = code;
    mQuitting = true;
}

void LWindowEventLoop::Wake()
{
    // One wake event at a time is enough: the loop takes the flag when it runs the series.
    if (!mWoken.exchange(true) && std::this_thread::get_id() != mThread)
    {
        mSystem->Wake();
    }
}

void LWindowEventLoop::RunModal(const std::function<bool()>& ended)
{
    // The command that opened the modal run may have come from a queue's delivery: the queues
    // go on delivering meanwhile.
    const LNotificationQueue::ModalScope modal;
    while (Step(ended))
    {
    }
}

bool LWindowEventLoop::ServeWhileBlocked()
{
    // Disabled only for the pass: the windows are as their owners left them when it returns.
    std::vector<std::pair<std::uint32_t, bool>> enabled;
    enabled.reserve(mWindows.size());
    for (const OSWindow* window : mWindows)
    {
        enabled.emplace_back(window->GetId(), mSystem->IsEnabled(window->GetId()));
        mSystem->SetEnabled(window->GetId(), false);
    }
    const auto restore = [&]
    {
        for (const auto& [id, wasEnabled] : enabled)
        {
            if (Find(id) != nullptr)
            {
                mSystem->SetEnabled(id, wasEnabled);
            }
        }
    };
    bool endRequested = false;
    // A handler that throws ends the dialog; the windows must not stay without input after it.
    try
    {
        Platform::WindowEvent event;
        while (mSystem->WaitEvent(event, 0))
        {
            endRequested = endRequested || event.type == Platform::WindowEventType::Quit;
            Dispatch(event);
        }
    }
    catch (...)
    {
        restore();
        throw;
    }
    restore();
    PaintWindows();
    return !endRequested && !mQuitting;
}

void LWindowEventLoop::Register(OSWindow& window)
{
    if (std::find(mWindows.begin(), mWindows.end(), &window) == mWindows.end())
    {
        mWindows.push_back(&window);
    }
}

void LWindowEventLoop::Unregister(OSWindow& window)
{
    std::erase(mWindows, &window);
}

bool LWindowEventLoop::Step(const std::function<bool()>& ended)
{
    if (mQuitting || ended())
    {
        return false;
    }
    const Clock::time_point now = Clock::now();
    const Clock::time_point due =
        mLastTick + std::chrono::milliseconds(WantsTicks() ? kTickMilliseconds
                                                           : kIdleWaitMilliseconds);
    if (now >= due)
    {
        mLastTick = now;
        mSeriesDue = true;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
    Platform::WindowEvent event;
    if (mSystem->WaitEvent(event, mSeriesDue || mWoken ? 0 : static_cast<std::int32_t>(wait)))
    {
        do
        {
            Dispatch(event);
        } while (mSystem->WaitEvent(event, 0));
        mSeriesDue = true;
    }
    if (mQuitting || ended())
    {
        return false;
    }
    if (mWoken.exchange(false))
    {
        mSeriesDue = true;
    }
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const bool exiting = application != nullptr && application->IsExitRequested();
    if (mSeriesDue && !exiting)
    {
        mSeriesDue = false;
        mPostedHere = false;
        for (std::int32_t count = 0; RunIdle(count); ++count)
        {
            if (mQuitting || ended())
            {
                return false;
            }
        }
    }
    mSeriesDue = false;
    // Painted after the idle series, which delivers the work the events queued: a frame shows
    // what the events changed once it is complete.
    PaintWindows();
    return !mQuitting && !ended();
}

bool LWindowEventLoop::RunIdle(std::int32_t count)
{
    if (mIdle)
    {
        return mIdle(count);
    }
    LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr && application->Idle(count == 0) && count < 2;
}

bool LWindowEventLoop::WantsTicks() const
{
    if (mPostedHere || LControl::GetTimedIdleControlCount() > 0 ||
        LNotificationCenterManager::HasQueuedNotifications())
    {
        return true;
    }
    const LApplicationBase* application = LApplicationBase::GetApplication();
    if (application == nullptr)
    {
        return false;
    }
    const std::vector<RCPtr<LRootWindow>> windows = application->GetRootWindows();
    return std::any_of(windows.begin(), windows.end(),
                       [](const RCPtr<LRootWindow>& window) { return window->HasQueuedCommands(); });
}

void LWindowEventLoop::Dispatch(const Platform::WindowEvent& event)
{
    if (event.type == Platform::WindowEventType::Quit)
    {
        RCPtr<LNotification> request;
        LNotification::Create(request, NID_APP_EXIT_REQ);
        GetApplicationNotificationCenter()->Post(request);
        return;
    }
    if (event.type == Platform::WindowEventType::DisplayChanged)
    {
        for (OSWindow* window : mWindows)
        {
            window->InvalidateAll();
        }
        return;
    }
    if (OSWindow* window = Find(event.window))
    {
        window->HandleEvent(event);
    }
}

void LWindowEventLoop::PaintWindows()
{
    // Painting may close a window (a control's paint that fails and reports); walk a copy.
    const std::vector<OSWindow*> windows = mWindows;
    for (OSWindow* window : windows)
    {
        if (std::find(mWindows.begin(), mWindows.end(), window) != mWindows.end() &&
            window->NeedsPaint())
        {
            window->Paint();
        }
    }
}

Platform::Cursor* LWindowEventLoop::GetCursor(std::int32_t cursor)
{
    const auto known = mCursors.find(cursor);
    if (known != mCursors.end())
    {
        return known->second;
    }
    Platform::Cursor* made = nullptr;
    const auto standard =
        std::find_if(std::begin(kStandardCursors), std::end(kStandardCursors),
                     [cursor](const StandardCursor& entry) { return entry.cursor == cursor; });
    if (standard != std::end(kStandardCursors))
    {
        made = mSystem->GetSystemCursor(standard->kind);
    }
    else
    {
        made = MakeImageCursor(*mSystem, cursor);
    }
    mCursors.emplace(cursor, made);
    return made;
}

OSWindow* LWindowEventLoop::Find(std::uint32_t id) const
{
    const auto found = std::find_if(mWindows.begin(), mWindows.end(),
                                    [id](const OSWindow* window) { return window->GetId() == id; });
    return found != mWindows.end() ? *found : nullptr;
}

} // namespace QZ
