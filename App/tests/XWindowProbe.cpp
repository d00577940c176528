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

// The 32-bit items (up to maxItems) of the window's property of that name and type; empty when it
// has none.
std::vector<unsigned long> ReadProperty(Display* display, Window window, const char* name,
                                        Atom expected, long maxItems)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, maxItems, False,
                           expected, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32)
    {
        const auto* words = reinterpret_cast<const unsigned long*>(data);
        items.assign(words, words + count);
    }
    if (data != nullptr)
    {
        XFree(data);
    }
    return items;
}

bool WindowPid(Display* display, Window window, pid_t& pid)
{
    const std::vector<unsigned long> items =
        ReadProperty(display, window, "_NET_WM_PID", XA_CARDINAL, 1);
    if (items.size() != 1)
    {
        return false;
    }
    pid = static_cast<pid_t>(items[0]);
    return true;
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

bool XWindowProbe::HasWindowManager()
{
    // A manager that has ended leaves the root window's property behind, naming a window that
    // is gone: only a live check window names itself. The work area is laid out once the
    // manager has read its configuration, so that its rules hold for the windows that follow.
    const Window root = DefaultRootWindow(mDisplay);
    const std::vector<unsigned long> check =
        ReadProperty(mDisplay, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 1);
    return check.size() == 1 &&
           ReadProperty(mDisplay, check.front(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 1) ==
               check &&
           !ReadProperty(mDisplay, root, "_NET_WORKAREA", XA_CARDINAL, 4).empty();
}

unsigned long XWindowProbe::FindWindow(pid_t pid)
{
    return FindOtherWindow(pid, 0);
}

unsigned long XWindowProbe::FindTopLevelWindow(pid_t pid)
{
    Window root = 0;
    Window above = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &above, &children, &count))
    {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i)
    {
        pid_t owner = 0;
        found = WindowPid(mDisplay, children[i], owner) && owner == pid ? children[i] : 0;
    }
    if (children != nullptr)
    {
        XFree(children);
    }
    return found;
}

unsigned long XWindowProbe::FindOtherWindow(pid_t pid, unsigned long except)
{
    return FindClient(DefaultRootWindow(mDisplay), pid, except, 2);
}

unsigned long XWindowProbe::FindClient(unsigned long parent, pid_t pid, unsigned long except,
                                       int depth)
{
    Window root = 0;
    Window above = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (depth == 0 || !XQueryTree(mDisplay, parent, &root, &above, &children, &count))
    {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i)
    {
        XWindowAttributes attributes;
        pid_t owner = 0;
        if (!XGetWindowAttributes(mDisplay, children[i], &attributes) ||
            attributes.map_state != IsViewable)
        {
            continue;
        }
        if (!WindowPid(mDisplay, children[i], owner))
        {
            // A window manager's frame holds the program's window one level down.
            found = FindClient(children[i], pid, except, depth - 1);
        }
        else if (children[i] != except && owner == pid)
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

std::vector<unsigned long> XWindowProbe::GetStackingOrder()
{
    return ReadProperty(mDisplay, DefaultRootWindow(mDisplay), "_NET_CLIENT_LIST_STACKING",
                        XA_WINDOW, 1024);
}

unsigned long XWindowProbe::GetActiveWindow()
{
    const std::vector<unsigned long> active =
        ReadProperty(mDisplay, DefaultRootWindow(mDisplay), "_NET_ACTIVE_WINDOW", XA_WINDOW, 1);
    return active.empty() ? 0 : active.front();
}

std::vector<std::pair<int, int>> XWindowProbe::GetIconSizes(unsigned long window)
{
    const std::vector<unsigned long> items =
        ReadProperty(mDisplay, window, "_NET_WM_ICON", XA_CARDINAL, 1 << 24);
    std::vector<std::pair<int, int>> sizes;
    // Each icon is its width and height followed by its pixels.
    for (std::size_t at = 0; at + 2 <= items.size(); at += 2 + items[at] * items[at + 1])
    {
        sizes.emplace_back(static_cast<int>(items[at]), static_cast<int>(items[at + 1]));
    }
    return sizes;
}

long XWindowProbe::GetManagedState(unsigned long window)
{
    const std::vector<unsigned long> state =
        ReadProperty(mDisplay, window, "WM_STATE", XInternAtom(mDisplay, "WM_STATE", False), 1);
    return state.empty() ? -1 : static_cast<long>(state.front());
}

std::string XWindowProbe::GetWindowType(unsigned long window)
{
    const std::vector<unsigned long> types =
        ReadProperty(mDisplay, window, "_NET_WM_WINDOW_TYPE", XA_ATOM, 1);
    if (types.empty())
    {
        return {};
    }
    char* name = XGetAtomName(mDisplay, static_cast<Atom>(types.front()));
    std::string text = name != nullptr ? name : "";
    XFree(name);
    return text;
}

int XWindowProbe::Ping(unsigned long window, int timeoutMs)
{
    // The answer goes to the root window, to whoever watches its children there.
    const Window root = DefaultRootWindow(mDisplay);
    XSelectInput(mDisplay, root, SubstructureNotifyMask);
    const Atom protocols = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(mDisplay, "_NET_WM_PING", False);
    static long stamp = 0;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping);
    event.xclient.data.l[1] = ++stamp;
    event.xclient.data.l[2] = static_cast<long>(window);
    const auto sent = std::chrono::steady_clock::now();
    XSendEvent(mDisplay, window, False, NoEventMask, &event);
    XFlush(mDisplay);
    const auto deadline = sent + std::chrono::milliseconds(timeoutMs);
    int answered = -1;
    while (answered < 0 && std::chrono::steady_clock::now() < deadline)
    {
        XEvent reply;
        if (!XCheckTypedWindowEvent(mDisplay, root, ClientMessage, &reply))
        {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            continue;
        }
        if (reply.xclient.message_type == protocols &&
            static_cast<Atom>(reply.xclient.data.l[0]) == ping && reply.xclient.data.l[1] == stamp)
        {
            answered = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - sent)
                                            .count());
        }
    }
    XSelectInput(mDisplay, root, NoEventMask);
    // The root's other events of the wait are of no interest.
    XSync(mDisplay, True);
    return answered;
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
