#include "Platform/Window/X11Windows.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <chrono>
#include <string>
#include <thread>

namespace Platform::X11
{
namespace
{

struct Native
{
    Display* display = nullptr;
    Window window = 0;
};

Native GetNative(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
    {
        return {};
    }
    return {info.info.x11.display, info.info.x11.window};
}

bool IsOnScreen(const Native& native)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(native.display, native.window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

} // namespace

std::uint64_t GetNativeWindow(SDL_Window* window)
{
    return GetNative(window).window;
}

bool RequestMap(SDL_Window* window)
{
    const Native native = GetNative(window);
    if (native.display == nullptr)
    {
        return false;
    }
    XMapRaised(native.display, native.window);
    XFlush(native.display);
    return true;
}

bool WaitViewable(SDL_Window* window, int timeoutMs)
{
    const Native native = GetNative(window);
    if (native.display == nullptr)
    {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;)
    {
        if (IsOnScreen(native))
        {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool HasWindowManager(SDL_Window* window)
{
    const Native native = GetNative(window);
    if (native.display == nullptr)
    {
        return false;
    }
    // A window manager owns the selection WM_S<screen> while it runs.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(native.display, native.window, &attributes) == 0)
    {
        return false;
    }
    const std::string selection = "WM_S" + std::to_string(XScreenNumberOfScreen(attributes.screen));
    const Atom atom = XInternAtom(native.display, selection.c_str(), False);
    return XGetSelectionOwner(native.display, atom) != None;
}

std::uint64_t GetDestroyedWindow(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
        event.syswm.msg->subsystem != SDL_SYSWM_X11)
    {
        return 0;
    }
    const XEvent& x = event.syswm.msg->msg.x11.event;
    return x.type == DestroyNotify ? x.xdestroywindow.window : 0;
}

void DestroyGoneWindow(SDL_Window* window)
{
    const Native native = GetNative(window);
    if (native.display != nullptr)
    {
        XEvent report{};
        report.xunmap.type = UnmapNotify;
        report.xunmap.display = native.display;
        report.xunmap.event = native.window;
        report.xunmap.window = native.window;
        XPutBackEvent(native.display, &report);
    }
    SDL_DestroyWindow(window);
    if (native.display != nullptr)
    {
        XSync(native.display, False);
    }
}

} // namespace Platform::X11
