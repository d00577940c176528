// Keys and modifiers of SDL in the program's terms: Windows virtual-key numbers, the pointer
// modifier set and the key word of a key event. One table holds every key; it is read both ways
// (an SDL key's virtual key, and the SDL key that scripted input presses for a virtual key).
//
// SDL numbers appear here as plain integers so that callers need no SDL header.
#pragma once

#include <cstdint>

namespace Platform
{

// The virtual key of an SDL key code; 0 for a key the program has no number for. Keypad keys
// give the navigation keys while Num Lock is off, as they do on Windows.
[[nodiscard]] std::uint32_t VirtualKeyFromSdlKey(std::int32_t sdlKey, bool numLock);
// The first SDL key code of the table that gives the virtual key (with Num Lock on); 0 for none.
[[nodiscard]] std::int32_t SdlKeyFromVirtualKey(std::uint32_t virtualKey);

// The pointer modifier set (kMod bits) of an SDL modifier state, and back.
[[nodiscard]] std::uint32_t ModifiersFromSdlKeymod(std::uint32_t sdlKeymod);
[[nodiscard]] std::uint32_t SdlKeymodFromModifiers(std::uint32_t modifiers);

// Side modifiers packed into one byte: 1 left Shift, 2 right Shift, 4 left Ctrl, 8 right Ctrl,
// 16 left Alt, 32 right Alt, 64 left Win, 128 right Win; a side counts only with its modifier.
[[nodiscard]] std::uint32_t PackSideModifiers(std::uint32_t modifiers);
// The key word of a key event: the virtual key in bits 16-23, the modifier flags, and kKeyDown
// for a press.
[[nodiscard]] std::uint32_t BuildKeyWord(std::uint32_t virtualKey, std::uint32_t modifiers,
                                         bool down);

} // namespace Platform
