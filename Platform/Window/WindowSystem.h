// The desktop's windows on SDL2: top-level windows, frames copied into them, their events in
// the program's terms, cursors and the clipboard.
//
// One WindowSystem is open at a time, on the user-interface thread, which makes every call. A
// window is known by its WindowId. Events come from WaitEvent already translated: pointer
// positions in client coordinates, buttons 1/2/4, wheel steps of 120 units each, keys as
// Windows virtual-key numbers in key words, typed text one UTF-16 unit per event. A disabled
// window (the owner of a modal dialog) loses its input, close requests included, but still gets
// its size, paint and focus events; a click on it, or the desktop handing it the keyboard,
// brings its modal dialog back in front with the keyboard. Events of a window that no longer
// exists never arrive; a window that another program destroyed is closed (a Close event, also
// while its input is blocked), and from then on only DestroyWindow serves it.
// Pointer and text events carry the modifier keys held when they happened, not when they are
// read.
//
// Calls report failure by result; the text of the last failure ("WindowSystem::Where: what") is
// kept until the next failure. Window text and clipboard text are UTF-16.
//
// The "dummy" driver runs without a display: windows keep their frames in memory, and
// WindowScript feeds them input. Tests use it for everything but the desktop itself.
#pragma once

#include "Platform/Window/WindowTypes.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace Platform
{

struct WindowOptions
{
    std::u16string title;
    // The client area in screen coordinates.
    WindowRect client;
    bool resizable = false;
    // A dialog of another window: the desktop frames it as one, without minimise and maximise.
    bool dialog = false;
};

class WindowSystem
{
public:
    // Connects to the display. With driver null the desktop's own (X11, else Wayland) is used
    // unless SDL_VIDEODRIVER names one; "dummy" needs no display. Null with the reason in error
    // (naming DISPLAY and WAYLAND_DISPLAY when neither is set) when it cannot.
    [[nodiscard]] static std::unique_ptr<WindowSystem> Open(const char* driver, std::string& error);
    // Destroys the windows and cursors that are left and disconnects.
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // A hidden window; 0 on failure.
    [[nodiscard]] WindowId CreateWindow(const WindowOptions& options);
    bool DestroyWindow(WindowId window);
    // Show waits a while for the window to be on the screen; a window manager that does not
    // answer in that time still gets the window, as the request is repeated until it shows or
    // the manager has taken it in. What the manager then decides (a window started minimised,
    // one on another desktop) stands.
    bool Show(WindowId window);
    bool Hide(WindowId window);
    // Brings the window to the front and asks for the keyboard focus (once it shows, for a window
    // that is still on its way to the screen). Without a window manager the window takes the
    // keyboard itself; with one, a window the manager keeps out of sight (on another desktop)
    // is asked for, and the manager decides.
    bool Raise(WindowId window);
    // Shows a minimised window again in its former place and size, and a window that should show
    // but is not on the screen yet; nothing for any other. Does not wait for the window manager.
    bool RestoreIfMinimized(WindowId window);
    // The desktop's own handle of the window (an X11 window id), for another toolkit's dialog to
    // stay in front of it; 0 when there is none.
    [[nodiscard]] std::uint64_t GetNativeWindow(WindowId window);
    bool SetTitle(WindowId window, std::u16string_view title);
    // The window's icon, drawn at several sizes (straight ARGB pixels, smallest first): the
    // desktop picks the size it shows where it can (X11), else gets the largest to scale.
    bool SetIcon(WindowId window, std::span<const PixelBuffer> sizes);
    // The client area in screen coordinates.
    [[nodiscard]] bool GetClientRect(WindowId window, WindowRect& client);
    // The same, as the display server has it now (X11): also after a move that the window
    // system has not heard of yet, as when the program ends at once after one. A round trip to
    // the server: for storing the window's place, not for every event.
    [[nodiscard]] bool ReadClientRect(WindowId window, WindowRect& client);
    bool SetClientRect(WindowId window, const WindowRect& client);
    bool SetResizable(WindowId window, bool resizable);
    // Keeps the dialog above its owner as the owner's modal window.
    bool SetModalFor(WindowId dialog, WindowId owner);
    // A disabled window's input is dropped; it still paints.
    bool SetEnabled(WindowId window, bool enabled);
    [[nodiscard]] bool IsEnabled(WindowId window) const;
    // The area of the window's display (the first display for window 0) that windows may use,
    // without panels and docks.
    [[nodiscard]] bool GetUsableBounds(WindowId window, WindowRect& bounds);

    // Copies the rectangles of the frame (clipped to the frame and the window) to the same
    // positions in the window and shows them.
    bool Present(WindowId window, const PixelBuffer& frame, std::span<const WindowRect> areas);

    // Waits up to timeoutMs (0: does not wait, below 0: no limit) for the next event; false when
    // none came or Wake ended the wait.
    [[nodiscard]] bool WaitEvent(WindowEvent& event, std::int32_t timeoutMs);
    // Any thread: ends the current or next wait of WaitEvent. Wakes do not pile up beyond what
    // the desktop's event queue holds; each ends one wait.
    void Wake();
    // The modifier set of the keyboard now.
    [[nodiscard]] std::uint32_t GetModifiers() const;
    // Keeps pointer events coming to the window with the pointer while a button is held outside.
    bool CaptureMouse(bool capture);

    // The system cursor of that kind; null on failure.
    [[nodiscard]] Cursor* GetSystemCursor(SystemCursor kind);
    // A colour cursor from straight ARGB pixels with its hot spot; null on failure.
    [[nodiscard]] Cursor* CreateColorCursor(const PixelBuffer& image, std::int32_t hotX,
                                            std::int32_t hotY);
    // The cursor shown while the pointer is over the window; null for the arrow.
    bool SetCursor(WindowId window, Cursor* cursor);

    bool SetClipboardText(std::u16string_view text);
    // The clipboard's text; empty when it holds none.
    [[nodiscard]] bool GetClipboardText(std::u16string& text);

    [[nodiscard]] const std::string& GetError() const { return mError; }

    struct Impl;

private:
    struct WindowState;

    explicit WindowSystem(std::unique_ptr<Impl> impl);
    // The window's state, or null with the failure recorded.
    WindowState* Find(const char* where, WindowId window);
    // False for an event that must not reach the program; applies the window's cursor when the
    // pointer enters it.
    bool Admit(const WindowEvent& event);
    // Puts a window just shown where it was asked to be when a window manager's frame moved it.
    void KeepPlacement(WindowId window);
    // Raises the dialog that blocks the window (the innermost of a chain) and gives it the
    // keyboard.
    void BringModalForward(const WindowState& blocked);
    // False, with the failure recorded, for a window another program destroyed.
    bool IsPresent(const char* where, const WindowState& state);
    // X11: asks for the window to be mapped and waits a while for it to show.
    void Map(WindowState& state);
    void FinishMap(WindowState& state);
    // X11: the window manager has taken the window in; it shows the window when it decides.
    static void LeaveToManager(WindowState& state);
    // Asks again for the maps still waiting; whether any still waits.
    bool RetryMaps();
    // Closes the window of ours that another program destroyed.
    void OnDestroyedElsewhere(std::uint64_t native);
    void TearDown(WindowState& state);
    bool Fail(const char* where, const std::string& what);
    bool FailSdl(const char* where);

    std::unique_ptr<Impl> mImpl;
    std::string mError;
};

} // namespace Platform
