#include "Platform/Window/XErrorFilter.h"

#include <X11/Xlib.h>

#include <cstdio>

namespace Platform
{
namespace
{

XErrorHandler sPrevious = nullptr;
bool sOn = false;

int OnXError(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow)
    {
        std::fprintf(stderr, "WindowSystem: X request %d about the window 0x%lx, which is gone\n",
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
