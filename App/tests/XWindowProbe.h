// Looks at another process's windows from outside, as the user's desktop would: finds its
// top-level window, reads the window's title, geometry and pixels, moves and resizes it, and
// asks it to close the way a window manager's close button does. Tests and benchmarks use it
// under their private X server.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

struct _XDisplay;

class XWindowProbe
{
public:
    struct Geometry
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    // Opens the display (null: $DISPLAY); IsOpen is false without one.
    explicit XWindowProbe(const char* display = nullptr);
    ~XWindowProbe();
    XWindowProbe(const XWindowProbe&) = delete;
    XWindowProbe& operator=(const XWindowProbe&) = delete;

    [[nodiscard]] bool IsOpen() const { return mDisplay != nullptr; }
    // Whether a window manager runs on the display and has finished its start (it announces
    // itself on the root window).
    [[nodiscard]] bool HasWindowManager();
    // The process's mapped top-level window; 0 when it has none.
    [[nodiscard]] unsigned long FindWindow(pid_t pid);
    // The process's top-level window straight below the root, mapped or not (a window not yet
    // taken in by a window manager); 0 when it has none.
    [[nodiscard]] unsigned long FindTopLevelWindow(pid_t pid);
    // A mapped top-level window of the process other than except (a dialog beside the main
    // window), also inside a window manager's frame; 0 when it has none.
    [[nodiscard]] unsigned long FindOtherWindow(pid_t pid, unsigned long except);
    // The managed windows from the bottom of the stack to the top, as the window manager lists
    // them (_NET_CLIENT_LIST_STACKING), and the one it calls active (_NET_ACTIVE_WINDOW, 0 for
    // none).
    [[nodiscard]] std::vector<unsigned long> GetStackingOrder();
    [[nodiscard]] unsigned long GetActiveWindow();
    // The sizes (width, height) of the window's icon as the window manager reads them from
    // _NET_WM_ICON, in the property's order; empty without an icon.
    [[nodiscard]] std::vector<std::pair<int, int>> GetIconSizes(unsigned long window);
    // The window manager's state for the window (WM_STATE: 1 normal, 3 minimised or out of
    // sight); -1 while no manager has taken it in.
    [[nodiscard]] long GetManagedState(unsigned long window);
    // The name of the window's first type (_NET_WM_WINDOW_TYPE); empty without one.
    [[nodiscard]] std::string GetWindowType(unsigned long window);
    // Asks the window whether it answers (_NET_WM_PING, as window managers ask); how long its
    // answer took in milliseconds, or -1 when none came within the time.
    [[nodiscard]] int Ping(unsigned long window, int timeoutMs);
    // Polls until the process shows a window whose pixel at (x, y) is not black (a painted
    // frame); that window, or 0 at the deadline.
    [[nodiscard]] unsigned long WaitForPaintedWindow(pid_t pid, int x, int y, int timeoutMs);
    [[nodiscard]] std::string GetTitle(unsigned long window);
    [[nodiscard]] bool GetGeometry(unsigned long window, Geometry& geometry);
    [[nodiscard]] bool ReadPixel(unsigned long window, int x, int y, std::uint32_t& rgb);
    // The window's pixels (0xRRGGBB, rows top down) over width x height from its corner.
    [[nodiscard]] bool Capture(unsigned long window, int width, int height,
                               std::vector<std::uint32_t>& rgb);
    // A left click at the point of the window, as the pointer would make it.
    void Click(unsigned long window, int x, int y);
    // Gives the window the keyboard, as a click on its title would.
    void Focus(unsigned long window);
    // Presses and releases a key (an X key name such as "Return" or "o"), with Control held
    // when control is set.
    void PressKey(const char* keyName, bool control = false);
    // Types printable ASCII text on the focused window, with Shift where a character needs it.
    void Type(const std::string& text);
    void MoveResize(unsigned long window, int x, int y, int width, int height);
    // Sends WM_DELETE_WINDOW.
    void Close(unsigned long window);
    // Waits until the server has handled every request so far.
    void Sync();

private:
    // The process's mapped window among the children of parent other than except, looking
    // depth levels down.
    unsigned long FindClient(unsigned long parent, pid_t pid, unsigned long except, int depth);
    // Presses and releases the key with the modifier key (0: none) held.
    void Strike(unsigned char key, unsigned char modifier);

    _XDisplay* mDisplay = nullptr;
};
