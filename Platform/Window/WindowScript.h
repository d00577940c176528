// Scripted input for the windows of an open WindowSystem, for tests without a person or a
// desktop (the "dummy" driver). Each call queues the event that the desktop would send, so
// WindowSystem::WaitEvent translates it on the same road as real input. It also reads back what
// a window shows.
#pragma once

#include "Platform/Window/WindowTypes.h"

#include <cstdint>
#include <string_view>

namespace Platform
{

class WindowScript
{
public:
    // The modifier keys (kMod bits, with their sides) held from now on: each key that changes
    // goes down or up in the window, in the order left Shift, right Shift, left Ctrl, right Ctrl,
    // left Alt, right Alt, left Win, right Win.
    static bool SetModifiers(WindowId window, std::uint32_t modifiers);
    // The pointer moves to (x, y) with those buttons (1/2/4) held.
    static bool Move(WindowId window, std::int32_t x, std::int32_t y, std::uint32_t buttons);
    // A button (1/2/4) goes down or up at (x, y); clicks counts the quick series it belongs to.
    static bool Button(WindowId window, std::uint32_t button, bool down, std::int32_t x,
                       std::int32_t y, std::uint8_t clicks);
    // The wheel turns by x and y steps (fractions for smooth scrolling) with the pointer at
    // (pointerX, pointerY); flipped as the desktop reports natural scrolling.
    static bool Wheel(WindowId window, float x, float y, bool flipped, std::int32_t pointerX,
                      std::int32_t pointerY);
    // The key with that virtual key goes down or up with the modifiers (and Num Lock) on.
    static bool Key(WindowId window, std::uint32_t virtualKey, bool down, std::uint32_t modifiers,
                    bool repeat);
    // The text is typed (as UTF-8 pieces, the way the desktop hands text over).
    static bool Type(WindowId window, std::u16string_view text);
    // A window event without data: Exposed, FocusGained, FocusLost, PointerEntered,
    // PointerLeft or Close.
    static bool Send(WindowId window, WindowEventType type);
    // The desktop's request that the program end (the session closing, SIGTERM).
    static bool RequestQuit();

    // The colour (0xRRGGBB) that the window shows at (x, y); false outside it.
    static bool ReadPixel(WindowId window, std::int32_t x, std::int32_t y, std::uint32_t& rgb);
};

} // namespace Platform
