// What SDL's X11 driver leaves to the program, or does in ways that can hang it; not part of the
// public interface.
//
// SDL maps a window and then waits, without a limit, for the server to say it is mapped; a
// window manager that starts at the same moment as the program can lose that request, and the
// program would wait for ever with no window. Here a map is only asked for, its outcome read
// from the server with a limit, and the request repeated until the window shows or a window
// manager has taken the window in (WM_STATE): from then on the manager decides when it shows
// (it may keep it minimised, or on another desktop), and asking again would only overrule it.
//
// SDL never hears of a window that another client destroyed, and when it later tears that
// window down it may wait, again without a limit, for the server to report it unmapped. The
// destruction is read from the X events SDL passes on, and the teardown is given the report it
// waits for.
//
// Every function is a no-op (false, 0) for a window that is not an X11 one.
#pragma once

#include <cstdint>

struct SDL_Window;
union SDL_Event;

namespace Platform::X11
{

// The X window behind the SDL window; 0 when there is none.
[[nodiscard]] std::uint64_t GetNativeWindow(SDL_Window* window);
// Asks the server (or the window manager) to map the window on top; does not wait.
bool RequestMap(SDL_Window* window);
// Where the window stands on its way to the screen.
enum class MapState
{
    Viewable,
    // Not viewable, and no window manager has taken it in: a request to map it may be lost.
    Unanswered,
    // Taken in by the window manager as a shown window, but not viewable: about to show, or on
    // another desktop.
    Managed,
    // Taken in by the window manager and kept minimised (or withdrawn).
    KeptHidden,
};
[[nodiscard]] MapState GetMapState(SDL_Window* window);
// Waits up to timeoutMs until the window is viewable or the window manager keeps it hidden; the
// state it is in then.
MapState WaitForMapAnswer(SDL_Window* window, int timeoutMs);
// Asks the window manager to bring the window forward with the keyboard, which it does as it
// sees fit (showing it from another desktop or from its minimised state); SDL asks only for a
// window that is mapped.
bool RequestActivation(SDL_Window* window);
// Tells the window manager that the window is a dialog: framed as one, without minimise and
// maximise. Before the window is first shown.
bool MarkAsDialog(SDL_Window* window);
// The window's position on the screen as the server has it now; false (and x, y untouched) when
// it cannot be read.
bool ReadPosition(SDL_Window* window, int& x, int& y);
// Gives a viewable window the keyboard; without a window manager nobody else does.
bool TakeKeyboard(SDL_Window* window);
// Whether a window manager runs on the window's screen now.
[[nodiscard]] bool HasWindowManager(SDL_Window* window);
// The window a DestroyNotify event passed on by SDL names; 0 for every other event.
[[nodiscard]] std::uint64_t GetDestroyedWindow(const SDL_Event& event);
// Destroys the SDL window of an X window that another client destroyed: queues the unmap report
// SDL's teardown may wait for, and takes the server's complaints about the missing window now,
// while the program still passes over them.
void DestroyGoneWindow(SDL_Window* window);

} // namespace Platform::X11
