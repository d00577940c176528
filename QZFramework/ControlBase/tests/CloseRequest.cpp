#include "QZFramework/ControlBase/tests/CloseRequest.h"

#include <X11/Xlib.h>

namespace QZ::ToolkitTest
{

bool RequestWindowClose(int x, int y, int width, int height)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        return false;
    }
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &up, &children, &count) != 0)
    {
        for (unsigned i = 0; i < count && found == 0; ++i)
        {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display, children[i], &a) != 0 && a.x == x && a.y == y &&
                a.width == width && a.height == height && a.map_state == IsViewable)
            {
                found = children[i];
            }
        }
        XFree(children);
    }
    if (found != 0)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = found;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, found, False, NoEventMask, &event);
        XFlush(display);
    }
    XCloseDisplay(display);
    return found != 0;
}

} // namespace QZ::ToolkitTest
