// Turns SDL's events into the window layer's events; not part of the public interface.
//
// It keeps what one SDL event does not carry: the buttons held (a button event names only its
// own button) and the part of a wheel step that smooth scrolling has not yet completed.
#pragma once

#include "Platform/Window/WindowTypes.h"

#include <deque>

union SDL_Event;

namespace Platform
{

class EventTranslator
{
public:
    // Appends the events that the SDL event stands for (none for events the program does not
    // use, several for typed text and for wheel turns of more than a step).
    void Translate(const SDL_Event& event, std::deque<WindowEvent>& out);

private:
    void TranslateWheel(const SDL_Event& event, std::deque<WindowEvent>& out);
    void AddWheelSteps(int axis, double delta, const WindowEvent& step,
                       std::deque<WindowEvent>& out);

    std::uint32_t mButtons = 0;
    WindowId mWheelWindow = 0;
    // Units (120 to a step) turned toward the next step, per axis (0 vertical, 1 horizontal).
    double mWheelRest[2] = {0, 0};
};

} // namespace Platform
