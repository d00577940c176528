#include "Platform/Window/X11Windows.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

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

// The state a window manager has given the window in WM_STATE; false while none has.
bool ReadManagedState(const Native& native, long& state)
{
    const Atom wmState = XInternAtom(native.display, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool read =
        XGetWindowProperty(native.display, native.window, wmState, 0, 1, False, wmState, &type,
                           &format, &count, &after, &data) == Success &&
        type == wmState && format == 32 && count == 1;
    if (read)
    {
        state = *reinterpret_cast<long*>(data);
    }
    if (data != nullptr)
    {
        XFree(data);
    }
    return read;
}

MapState ReadMapState(const Native& native)
{
    if (IsOnScreen(native))
    {
        return MapState::Viewable;
    }
    long state = WithdrawnState;
    if (!ReadManagedState(native, state))
    {
        return MapState::Unanswered;
    }
    // A withdrawn window is the program's to show again.
    return state == NormalState   ? MapState::Managed
           : state == IconicState ? MapState::KeptHidden
                                  : MapState::Unanswered;
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

MapState GetMapState(SDL_Window* window)
{
    const Native native = GetNative(window);
    return native.display != nullptr ? ReadMapState(native) : MapState::Unanswered;
}

MapState WaitForMapAnswer(SDL_Window* window, int timeoutMs)
{
    const Native native = GetNative(window);
    if (native.display == nullptr)
    {
        return MapState::Unanswered;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;)
    {
        const MapState state = ReadMapState(native);
        if (state == MapState::Viewable || state == MapState::KeptHidden ||
            std::chrono::steady_clock::now() >= deadline)
        {
            return state;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool RequestActivation(SDL_Window* window)
{
    const Native native = GetNative(window);
    if (native.display == nullptr)
    {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = native.window;
    event.xclient.message_type = XInternAtom(native.display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    // Source 1: the application asks for itself.
    event.xclient.data.l[0] = 1;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(native.display, DefaultRootWindow(native.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(native.display);
    return true;
}

bool MarkAsDialog(SDL_Window* window)
{
    const Native native = GetNative(window);
    if (native.display == nullptr)
    {
        return false;
    }
    const Atom dialog = XInternAtom(native.display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(native.display, native.window,
                    XInternAtom(native.display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&dialog), 1);
    XFlush(native.display);
    return true;
}

bool ReadPosition(SDL_Window* window, int& x, int& y)
{
    const Native native = GetNative(window);
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    if (native.display == nullptr ||
        XTranslateCoordinates(native.display, native.window, DefaultRootWindow(native.display), 0,
                              0, &rootX, &rootY, &child) == False)
    {
        return false;
    }
    x = rootX;
    y = rootY;
    return true;
}

bool TakeKeyboard(SDL_Window* window)
{
    const Native native = GetNative(window);
    if (native.display == nullptr || !IsOnScreen(native))
    {
        return false;
    }
    // Should the window go, the keyboard follows the pointer rather than going nowhere.
    XSetInputFocus(native.display, native.window, RevertToPointerRoot, CurrentTime);
    XFlush(native.display);
    return true;
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
