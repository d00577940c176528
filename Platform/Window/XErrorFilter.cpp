#include "Platform/Window/XErrorFilter.h"

#include <X11/Xlib.h>

#include <cstdio>

namespace Platform
{
namespace
{

XErrorHandler sPrevious = nullptr;
bool sOn = false;

// The X protocol's request code for SetInputFocus.
constexpr unsigned char kSetInputFocus = 42;

// A window that is gone fails requests as a window (BadWindow) or as a drawing surface
// (BadDrawable); handing the keyboard to a window that the desktop has just taken off the
// screen fails with BadMatch.
bool IsAboutAGoneWindow(const XErrorEvent& error)
{
    return error.error_code == BadWindow || error.error_code == BadDrawable ||
           (error.error_code == BadMatch && error.request_code == kSetInputFocus);
}

int OnXError(Display* display, XErrorEvent* error)
{
    if (IsAboutAGoneWindow(*error))
    {
        std::fprintf(stderr,
                     "WindowSystem: X request %d about the window 0x%lx, which is gone or not "
                     "on the screen\n",
                     static_cast<int>(error->request_code), error->resourceid);
        return 0;
    }
    return sPrevious != nullptr ? sPrevious(display, error) : 0;
}

} // namespace

void FilterXErrors(bool on)
{
    if (on && !sOn)
    {
        sPrevious = XSetErrorHandler(OnXError);
    }
    else if (!on && sOn)
    {
        XSetErrorHandler(sPrevious);
        sPrevious = nullptr;
    }
    sOn = on;
}

} // namespace Platform
