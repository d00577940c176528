// Turns SDL's events into the window layer's events; not part of the public interface.
//
// It keeps what one SDL event does not carry: the buttons held (a button event names only its
// own button), the modifier keys held, and the part of a wheel step that smooth scrolling has
// not yet completed. Modifiers follow the key events in the order they were queued, so a click
// made with Shift held carries Shift even when the Shift release is already queued behind it.
#pragma once

#include "Platform/Window/WindowTypes.h"

#include <deque>

union SDL_Event;
struct SDL_KeyboardEvent;
struct SDL_MouseButtonEvent;
struct SDL_MouseMotionEvent;
struct SDL_MouseWheelEvent;

namespace Platform
{

class EventTranslator
{
public:
    // Starts from the keyboard's modifier state now.
    EventTranslator();

    // Appends the events that the SDL event stands for (none for events the program does not
    // use, several for typed text and for wheel turns of more than a step).
    void Translate(const SDL_Event& event, std::deque<WindowEvent>& out);

private:
    void TranslateMotion(const SDL_MouseMotionEvent& motion, std::deque<WindowEvent>& out);
    void TranslateButton(const SDL_MouseButtonEvent& button, std::deque<WindowEvent>& out);
    void TranslateKey(const SDL_KeyboardEvent& key, std::deque<WindowEvent>& out);
    void TranslateWheel(const SDL_MouseWheelEvent& wheel, std::deque<WindowEvent>& out);
    void AddWheelSteps(int axis, double delta, const WindowEvent& step,
                       std::deque<WindowEvent>& out);

    std::uint32_t mButtons = 0;
    // The modifier set (kMod bits) as of the last key event translated.
    std::uint32_t mModifiers = 0;
    WindowId mWheelWindow = 0;
    // Units (120 to a step) turned toward the next step, per axis (0 vertical, 1 horizontal).
    double mWheelRest[2] = {0, 0};
};

} // namespace Platform
