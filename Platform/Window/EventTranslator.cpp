#include "Platform/Window/EventTranslator.h"

#include "Platform/Window/KeyTranslation.h"
#include "Platform/Window/TextConversion.h"

#include <SDL_events.h>

#include <algorithm>
#include <cmath>

namespace Platform
{
namespace
{

// One whole wheel step, in the units of Windows' wheel messages.
constexpr double kUnitsPerStep = 120.0;
// No real wheel turns this many steps in one event; more is a broken device.
constexpr double kMaxStepsPerEvent = 100.0;
constexpr double kUnitsTolerance = 1e-3;

std::uint32_t ButtonFromSdl(std::uint8_t button)
{
    switch (button)
    {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_RIGHT:
        return 4;
    default:
        return 0;
    }
}

std::uint32_t ModifiersNow()
{
    return ModifiersFromSdlKeymod(SDL_GetModState());
}

bool FromSdlWindowEvent(std::uint8_t sdlEvent, WindowEventType& type)
{
    switch (sdlEvent)
    {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        type = WindowEventType::SizeChanged;
        return true;
    case SDL_WINDOWEVENT_EXPOSED:
        type = WindowEventType::Exposed;
        return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        type = WindowEventType::FocusGained;
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        type = WindowEventType::FocusLost;
        return true;
    case SDL_WINDOWEVENT_ENTER:
        type = WindowEventType::PointerEntered;
        return true;
    case SDL_WINDOWEVENT_LEAVE:
        type = WindowEventType::PointerLeft;
        return true;
    case SDL_WINDOWEVENT_CLOSE:
        type = WindowEventType::Close;
        return true;
    default:
        return false;
    }
}

} // namespace

void EventTranslator::Translate(const SDL_Event& event, std::deque<WindowEvent>& out)
{
    WindowEvent result;
    switch (event.type)
    {
    case SDL_MOUSEMOTION:
        mButtons = event.motion.state & 7u;
        result.type = WindowEventType::MouseMove;
        result.window = event.motion.windowID;
        result.x = event.motion.x;
        result.y = event.motion.y;
        result.modifiers = ModifiersNow();
        result.buttons = mButtons;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        result.button = ButtonFromSdl(event.button.button);
        if (result.button == 0)
        {
            return;
        }
        mButtons = down ? (mButtons | result.button) : (mButtons & ~result.button);
        result.type = down ? WindowEventType::MouseDown : WindowEventType::MouseUp;
        result.window = event.button.windowID;
        result.x = event.button.x;
        result.y = event.button.y;
        result.modifiers = ModifiersNow();
        result.doubleClick = event.button.clicks >= 2;
        result.buttons = mButtons;
        break;
    }
    case SDL_MOUSEWHEEL:
        TranslateWheel(event, out);
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    {
        const bool down = event.type == SDL_KEYDOWN;
        const std::uint32_t virtualKey =
            VirtualKeyFromSdlKey(event.key.keysym.sym, (event.key.keysym.mod & KMOD_NUM) != 0);
        if (virtualKey == 0)
        {
            return;
        }
        result.type = down ? WindowEventType::KeyDown : WindowEventType::KeyUp;
        result.window = event.key.windowID;
        result.modifiers = ModifiersFromSdlKeymod(event.key.keysym.mod);
        result.key = BuildKeyWord(virtualKey, result.modifiers, down);
        result.sideModifiers = PackSideModifiers(result.modifiers);
        result.repeat = event.key.repeat != 0 ? 1 : 0;
        break;
    }
    case SDL_TEXTINPUT:
    {
        result.type = WindowEventType::Text;
        result.window = event.text.windowID;
        result.modifiers = ModifiersNow();
        for (const char16_t unit : ToUtf16(event.text.text))
        {
            result.unit = unit;
            out.push_back(result);
        }
        return;
    }
    case SDL_WINDOWEVENT:
        if (!FromSdlWindowEvent(event.window.event, result.type))
        {
            return;
        }
        result.window = event.window.windowID;
        if (result.type == WindowEventType::SizeChanged)
        {
            result.x = event.window.data1;
            result.y = event.window.data2;
        }
        break;
    case SDL_DISPLAYEVENT:
        result.type = WindowEventType::DisplayChanged;
        break;
    case SDL_QUIT:
        result.type = WindowEventType::Quit;
        break;
    default:
        return;
    }
    out.push_back(result);
}

void EventTranslator::TranslateWheel(const SDL_Event& event, std::deque<WindowEvent>& out)
{
    const SDL_MouseWheelEvent& wheel = event.wheel;
    if (wheel.windowID != mWheelWindow)
    {
        mWheelWindow = wheel.windowID;
        mWheelRest[0] = mWheelRest[1] = 0;
    }
    // A flipped (natural-scrolling) report is turned back into the wheel's physical direction.
    const double sign = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0 : 1.0;
    WindowEvent step;
    step.type = WindowEventType::Wheel;
    step.window = wheel.windowID;
    step.x = wheel.mouseX;
    step.y = wheel.mouseY;
    step.modifiers = ModifiersNow();
    step.buttons = mButtons;
    AddWheelSteps(0, sign * wheel.preciseY, step, out);
    AddWheelSteps(1, sign * wheel.preciseX, step, out);
}

void EventTranslator::AddWheelSteps(int axis, double delta, const WindowEvent& step,
                                    std::deque<WindowEvent>& out)
{
    if (!std::isfinite(delta) || delta == 0)
    {
        return;
    }
    delta = std::clamp(delta, -kMaxStepsPerEvent, kMaxStepsPerEvent);
    double& rest = mWheelRest[axis];
    // A turn the other way starts afresh rather than first undoing the part step.
    if ((rest > 0 && delta < 0) || (rest < 0 && delta > 0))
    {
        rest = 0;
    }
    rest += delta * kUnitsPerStep;
    // Fractions such as thirds of a step add up to a whole one despite rounding.
    const double steps = std::trunc((rest + std::copysign(kUnitsTolerance, rest)) / kUnitsPerStep);
    rest -= steps * kUnitsPerStep;
    WindowEvent one = step;
    if (axis == 0)
    {
        one.wheelDirection = steps > 0 ? 1 : 0;
    }
    else
    {
        one.wheelDirection = steps > 0 ? 3 : 2;
    }
    for (int i = 0; i < static_cast<int>(std::fabs(steps)); ++i)
    {
        out.push_back(one);
    }
}

} // namespace Platform
