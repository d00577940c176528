#include "Platform/Window/tests/Screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace Platform::Testing
{

std::vector<std::uint32_t> Screenshot(const WindowRect& area)
{
    std::vector<std::uint32_t> pixels;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        return pixels;
    }
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.x, area.y,
                              static_cast<unsigned>(area.width), static_cast<unsigned>(area.height),
                              AllPlanes, ZPixmap);
    if (image != nullptr)
    {
        for (int y = 0; y < area.height; ++y)
        {
            for (int x = 0; x < area.width; ++x)
            {
                pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return pixels;
}

} // namespace Platform::Testing
