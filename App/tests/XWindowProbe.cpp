#include "App/tests/XWindowProbe.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace
{

int IgnoreErrors(Display*, XErrorEvent*)
{
    // A window may go away between listing and reading it.
    return 0;
}

bool WindowPid(Display* display, Window window, pid_t& pid)
{
    const Atom property = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) != Success ||
        data == nullptr)
    {
        return false;
    }
    const bool found = count == 1 && format == 32;
    if (found)
    {
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    }
    XFree(data);
    return found;
}

} // namespace

XWindowProbe::XWindowProbe(const char* display) : mDisplay(XOpenDisplay(display))
{
    XSetErrorHandler(IgnoreErrors);
}

XWindowProbe::~XWindowProbe()
{
    if (mDisplay != nullptr)
    {
        XCloseDisplay(mDisplay);
    }
}

unsigned long XWindowProbe::FindWindow(pid_t pid)
{
    return FindOtherWindow(pid, 0);
}

unsigned long XWindowProbe::FindOtherWindow(pid_t pid, unsigned long except)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &parent, &children, &count))
    {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i)
    {
        XWindowAttributes attributes;
        pid_t owner = 0;
        if (children[i] != except && WindowPid(mDisplay, children[i], owner) && owner == pid &&
            XGetWindowAttributes(mDisplay, children[i], &attributes) &&
            attributes.map_state == IsViewable)
        {
            found = children[i];
        }
    }
    if (children != nullptr)
    {
        XFree(children);
    }
    return found;
}

unsigned long XWindowProbe::WaitForPaintedWindow(pid_t pid, int x, int y, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline)
    {
        const unsigned long window = FindWindow(pid);
        std::uint32_t rgb = 0;
        if (window != 0 && ReadPixel(window, x, y, rgb) && rgb != 0)
        {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return 0;
}

std::string XWindowProbe::GetTitle(unsigned long window)
{
    XTextProperty text;
    std::string title;
    const Atom utf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
    const Atom name = XInternAtom(mDisplay, "_NET_WM_NAME", False);
    if (XGetTextProperty(mDisplay, window, &text, name) && text.value != nullptr)
    {
        if (text.encoding == utf8)
        {
            title.assign(reinterpret_cast<const char*>(text.value), text.nitems);
        }
        XFree(text.value);
    }
    return title;
}

bool XWindowProbe::GetGeometry(unsigned long window, Geometry& geometry)
{
    XWindowAttributes attributes;
    Window child = 0;
    if (!XGetWindowAttributes(mDisplay, window, &attributes) ||
        !XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), 0, 0, &geometry.x,
                               &geometry.y, &child))
    {
        return false;
    }
    geometry.width = attributes.width;
    geometry.height = attributes.height;
    return true;
}

bool XWindowProbe::ReadPixel(unsigned long window, int x, int y, std::uint32_t& rgb)
{
    XImage* image = XGetImage(mDisplay, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return false;
    }
    rgb = static_cast<std::uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFFu;
    XDestroyImage(image);
    return true;
}

bool XWindowProbe::Capture(unsigned long window, int width, int height,
                           std::vector<std::uint32_t>& rgb)
{
    XImage* image = XGetImage(mDisplay, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return false;
    }
    rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
        }
    }
    XDestroyImage(image);
    return true;
}

void XWindowProbe::Click(unsigned long window, int x, int y)
{
    XWarpPointer(mDisplay, None, window, 0, 0, 0, 0, x, y);
    XTestFakeButtonEvent(mDisplay, 1, True, CurrentTime);
    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
    XSync(mDisplay, False);
}

void XWindowProbe::Focus(unsigned long window)
{
    XSetInputFocus(mDisplay, window, RevertToParent, CurrentTime);
    XSync(mDisplay, False);
}

void XWindowProbe::PressKey(const char* keyName, bool control)
{
    Strike(XKeysymToKeycode(mDisplay, XStringToKeysym(keyName)),
           control ? XKeysymToKeycode(mDisplay, XK_Control_L) : 0);
    XSync(mDisplay, False);
}

void XWindowProbe::Type(const std::string& text)
{
    const KeyCode shift = XKeysymToKeycode(mDisplay, XK_Shift_L);
    for (const char c : text)
    {
        // Printable ASCII characters are their own key symbols.
        const auto symbol = static_cast<KeySym>(static_cast<unsigned char>(c));
        const KeyCode key = XKeysymToKeycode(mDisplay, symbol);
        Strike(key, XkbKeycodeToKeysym(mDisplay, key, 0, 0) != symbol ? shift : 0);
    }
    XSync(mDisplay, False);
}

void XWindowProbe::Strike(unsigned char key, unsigned char modifier)
{
    if (modifier != 0)
    {
        XTestFakeKeyEvent(mDisplay, modifier, True, CurrentTime);
    }
    XTestFakeKeyEvent(mDisplay, key, True, CurrentTime);
    XTestFakeKeyEvent(mDisplay, key, False, CurrentTime);
    if (modifier != 0)
    {
        XTestFakeKeyEvent(mDisplay, modifier, False, CurrentTime);
    }
}

void XWindowProbe::MoveResize(unsigned long window, int x, int y, int width, int height)
{
    XMoveResizeWindow(mDisplay, window, x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
    XSync(mDisplay, False);
}

void XWindowProbe::Close(unsigned long window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(mDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(mDisplay, window, False, NoEventMask, &event);
    XSync(mDisplay, False);
}

void XWindowProbe::Sync()
{
    XSync(mDisplay, False);
}
