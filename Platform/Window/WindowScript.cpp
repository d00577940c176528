#include "Platform/Window/WindowScript.h"

#include "Platform/Window/KeyTranslation.h"
#include "Platform/Window/TextConversion.h"

#include <SDL.h>

#include <cstring>
#include <string>

namespace Platform
{
namespace
{

bool Push(SDL_Event& event)
{
    return SDL_PushEvent(&event) == 1;
}

std::uint8_t SdlButton(std::uint32_t button)
{
    switch (button)
    {
    case 1:
        return SDL_BUTTON_LEFT;
    case 2:
        return SDL_BUTTON_MIDDLE;
    case 4:
        return SDL_BUTTON_RIGHT;
    default:
        return 0;
    }
}

bool SdlWindowEvent(WindowEventType type, std::uint8_t& event)
{
    switch (type)
    {
    case WindowEventType::Exposed:
        event = SDL_WINDOWEVENT_EXPOSED;
        return true;
    case WindowEventType::FocusGained:
        event = SDL_WINDOWEVENT_FOCUS_GAINED;
        return true;
    case WindowEventType::FocusLost:
        event = SDL_WINDOWEVENT_FOCUS_LOST;
        return true;
    case WindowEventType::PointerEntered:
        event = SDL_WINDOWEVENT_ENTER;
        return true;
    case WindowEventType::PointerLeft:
        event = SDL_WINDOWEVENT_LEAVE;
        return true;
    case WindowEventType::Close:
        event = SDL_WINDOWEVENT_CLOSE;
        return true;
    default:
        return false;
    }
}

struct ModifierKey
{
    std::uint32_t bit;
    SDL_Keycode key;
};

constexpr ModifierKey kModifierKeys[] = {{KMOD_LSHIFT, SDLK_LSHIFT}, {KMOD_RSHIFT, SDLK_RSHIFT},
                                         {KMOD_LCTRL, SDLK_LCTRL},   {KMOD_RCTRL, SDLK_RCTRL},
                                         {KMOD_LALT, SDLK_LALT},     {KMOD_RALT, SDLK_RALT},
                                         {KMOD_LGUI, SDLK_LGUI},     {KMOD_RGUI, SDLK_RGUI}};

// A key event with the modifier state after it (Num Lock on); SDL's own state follows, as it does
// for the desktop's keys.
bool PushKey(WindowId window, SDL_Keycode key, bool down, std::uint32_t sdlKeymod, bool repeat)
{
    const auto keymod = static_cast<Uint16>(sdlKeymod | KMOD_NUM);
    SDL_SetModState(static_cast<SDL_Keymod>(keymod));
    SDL_Event event{};
    event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = window;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = keymod;
    return Push(event);
}

// The length of the longest start of the text, at most limit bytes, that ends between two code
// points.
std::size_t WholeCodePoints(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
    {
        return text.size();
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    {
        --end;
    }
    return end;
}

} // namespace

bool WindowScript::SetModifiers(WindowId window, std::uint32_t modifiers)
{
    const std::uint32_t wanted = SdlKeymodFromModifiers(modifiers);
    std::uint32_t held = SDL_GetModState() & (KMOD_SHIFT | KMOD_CTRL | KMOD_ALT | KMOD_GUI);
    for (const auto& [bit, key] : kModifierKeys)
    {
        if (((held ^ wanted) & bit) != 0)
        {
            held ^= bit;
            if (!PushKey(window, key, (wanted & bit) != 0, held, false))
            {
                return false;
            }
        }
    }
    return true;
}

bool WindowScript::Move(WindowId window, std::int32_t x, std::int32_t y, std::uint32_t buttons)
{
    SDL_Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.windowID = window;
    event.motion.x = x;
    event.motion.y = y;
    // SDL's button masks are 1 << (button - 1): left 1, middle 2, right 4, as the program's.
    event.motion.state = buttons & 7u;
    return Push(event);
}

bool WindowScript::Button(WindowId window, std::uint32_t button, bool down, std::int32_t x,
                          std::int32_t y, std::uint8_t clicks)
{
    SDL_Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = window;
    event.button.button = SdlButton(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    return event.button.button != 0 && Push(event);
}

bool WindowScript::Wheel(WindowId window, float x, float y, bool flipped, std::int32_t pointerX,
                         std::int32_t pointerY)
{
    SDL_Event event{};
    event.wheel.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = window;
    event.wheel.preciseX = flipped ? -x : x;
    event.wheel.preciseY = flipped ? -y : y;
    event.wheel.x = static_cast<Sint32>(event.wheel.preciseX);
    event.wheel.y = static_cast<Sint32>(event.wheel.preciseY);
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    event.wheel.mouseX = pointerX;
    event.wheel.mouseY = pointerY;
    return Push(event);
}

bool WindowScript::Key(WindowId window, std::uint32_t virtualKey, bool down,
                       std::uint32_t modifiers, bool repeat)
{
    const std::int32_t key = SdlKeyFromVirtualKey(virtualKey);
    return key != 0 && PushKey(window, key, down, SdlKeymodFromModifiers(modifiers), repeat);
}

bool WindowScript::Type(WindowId window, std::u16string_view text)
{
    std::string_view rest;
    const std::string utf8 = ToUtf8(text);
    rest = utf8;
    while (!rest.empty())
    {
        SDL_Event event{};
        event.text.type = SDL_TEXTINPUT;
        event.text.windowID = window;
        const std::size_t piece = WholeCodePoints(rest, sizeof(event.text.text) - 1);
        std::memcpy(event.text.text, rest.data(), piece);
        if (!Push(event))
        {
            return false;
        }
        rest.remove_prefix(piece);
    }
    return true;
}

bool WindowScript::Send(WindowId window, WindowEventType type)
{
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.windowID = window;
    return SdlWindowEvent(type, event.window.event) && Push(event);
}

bool WindowScript::RequestQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    return Push(event);
}

bool WindowScript::ReadPixel(WindowId window, std::int32_t x, std::int32_t y, std::uint32_t& rgb)
{
    SDL_Window* sdlWindow = SDL_GetWindowFromID(window);
    SDL_Surface* surface = sdlWindow != nullptr ? SDL_GetWindowSurface(sdlWindow) : nullptr;
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h)
    {
        return false;
    }
    Uint32 pixel = 0;
    const auto* row =
        static_cast<const std::uint8_t*>(surface->pixels) + std::ptrdiff_t{y} * surface->pitch;
    std::memcpy(&pixel, row + std::ptrdiff_t{x} * surface->format->BytesPerPixel,
                surface->format->BytesPerPixel);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    rgb = (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
    return true;
}

} // namespace Platform
