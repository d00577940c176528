#include "Platform/Window/KeyTranslation.h"

#include "Platform/Window/WindowTypes.h"

#include <SDL_keycode.h>

#include <array>

namespace Platform
{
namespace
{

struct KeyRow
{
    SDL_Keycode key;
    std::uint8_t virtualKey;
    // The key with Num Lock off, where it differs (keypad keys); 0 when it is the same.
    std::uint8_t withoutNumLock;
};

// Keys a desktop keyboard sends, with Windows' number for each. Letters and digits use the
// unshifted key, which is what SDL reports. Left and right modifiers share Windows' generic
// number, as Windows' key messages do.
constexpr KeyRow kKeys[] = {
    {SDLK_BACKSPACE, 0x08, 0},
    {SDLK_TAB, 0x09, 0},
    {SDLK_CLEAR, 0x0C, 0},
    {SDLK_RETURN, 0x0D, 0},
    {SDLK_KP_ENTER, 0x0D, 0},
    {SDLK_LSHIFT, 0x10, 0},
    {SDLK_RSHIFT, 0x10, 0},
    {SDLK_LCTRL, 0x11, 0},
    {SDLK_RCTRL, 0x11, 0},
    {SDLK_LALT, 0x12, 0},
    {SDLK_RALT, 0x12, 0},
    {SDLK_PAUSE, 0x13, 0},
    {SDLK_CAPSLOCK, 0x14, 0},
    {SDLK_ESCAPE, 0x1B, 0},
    {SDLK_SPACE, 0x20, 0},
    {SDLK_PAGEUP, 0x21, 0},
    {SDLK_PAGEDOWN, 0x22, 0},
    {SDLK_END, 0x23, 0},
    {SDLK_HOME, 0x24, 0},
    {SDLK_LEFT, 0x25, 0},
    {SDLK_UP, 0x26, 0},
    {SDLK_RIGHT, 0x27, 0},
    {SDLK_DOWN, 0x28, 0},
    {SDLK_SELECT, 0x29, 0},
    {SDLK_EXECUTE, 0x2B, 0},
    {SDLK_PRINTSCREEN, 0x2C, 0},
    {SDLK_INSERT, 0x2D, 0},
    {SDLK_DELETE, 0x2E, 0},
    {SDLK_HELP, 0x2F, 0},
    {SDLK_0, 0x30, 0},
    {SDLK_1, 0x31, 0},
    {SDLK_2, 0x32, 0},
    {SDLK_3, 0x33, 0},
    {SDLK_4, 0x34, 0},
    {SDLK_5, 0x35, 0},
    {SDLK_6, 0x36, 0},
    {SDLK_7, 0x37, 0},
    {SDLK_8, 0x38, 0},
    {SDLK_9, 0x39, 0},
    {SDLK_a, 0x41, 0},
    {SDLK_b, 0x42, 0},
    {SDLK_c, 0x43, 0},
    {SDLK_d, 0x44, 0},
    {SDLK_e, 0x45, 0},
    {SDLK_f, 0x46, 0},
    {SDLK_g, 0x47, 0},
    {SDLK_h, 0x48, 0},
    {SDLK_i, 0x49, 0},
    {SDLK_j, 0x4A, 0},
    {SDLK_k, 0x4B, 0},
    {SDLK_l, 0x4C, 0},
    {SDLK_m, 0x4D, 0},
    {SDLK_n, 0x4E, 0},
    {SDLK_o, 0x4F, 0},
    {SDLK_p, 0x50, 0},
    {SDLK_q, 0x51, 0},
    {SDLK_r, 0x52, 0},
    {SDLK_s, 0x53, 0},
    {SDLK_t, 0x54, 0},
    {SDLK_u, 0x55, 0},
    {SDLK_v, 0x56, 0},
    {SDLK_w, 0x57, 0},
    {SDLK_x, 0x58, 0},
    {SDLK_y, 0x59, 0},
    {SDLK_z, 0x5A, 0},
    {SDLK_LGUI, 0x5B, 0},
    {SDLK_RGUI, 0x5C, 0},
    {SDLK_APPLICATION, 0x5D, 0},
    {SDLK_SLEEP, 0x5F, 0},
    {SDLK_KP_0, 0x60, 0x2D},
    {SDLK_KP_1, 0x61, 0x23},
    {SDLK_KP_2, 0x62, 0x28},
    {SDLK_KP_3, 0x63, 0x22},
    {SDLK_KP_4, 0x64, 0x25},
    {SDLK_KP_5, 0x65, 0x0C},
    {SDLK_KP_6, 0x66, 0x27},
    {SDLK_KP_7, 0x67, 0x24},
    {SDLK_KP_8, 0x68, 0x26},
    {SDLK_KP_9, 0x69, 0x21},
    {SDLK_KP_MULTIPLY, 0x6A, 0},
    {SDLK_KP_PLUS, 0x6B, 0},
    {SDLK_SEPARATOR, 0x6C, 0},
    {SDLK_KP_MINUS, 0x6D, 0},
    {SDLK_KP_PERIOD, 0x6E, 0x2E},
    {SDLK_KP_DIVIDE, 0x6F, 0},
    {SDLK_F1, 0x70, 0},
    {SDLK_F2, 0x71, 0},
    {SDLK_F3, 0x72, 0},
    {SDLK_F4, 0x73, 0},
    {SDLK_F5, 0x74, 0},
    {SDLK_F6, 0x75, 0},
    {SDLK_F7, 0x76, 0},
    {SDLK_F8, 0x77, 0},
    {SDLK_F9, 0x78, 0},
    {SDLK_F10, 0x79, 0},
    {SDLK_F11, 0x7A, 0},
    {SDLK_F12, 0x7B, 0},
    {SDLK_F13, 0x7C, 0},
    {SDLK_F14, 0x7D, 0},
    {SDLK_F15, 0x7E, 0},
    {SDLK_F16, 0x7F, 0},
    {SDLK_F17, 0x80, 0},
    {SDLK_F18, 0x81, 0},
    {SDLK_F19, 0x82, 0},
    {SDLK_F20, 0x83, 0},
    {SDLK_F21, 0x84, 0},
    {SDLK_F22, 0x85, 0},
    {SDLK_F23, 0x86, 0},
    {SDLK_F24, 0x87, 0},
    {SDLK_NUMLOCKCLEAR, 0x90, 0},
    {SDLK_SCROLLLOCK, 0x91, 0},
    {SDLK_AC_BACK, 0xA6, 0},
    {SDLK_AC_FORWARD, 0xA7, 0},
    {SDLK_AC_REFRESH, 0xA8, 0},
    {SDLK_AC_STOP, 0xA9, 0},
    {SDLK_AC_SEARCH, 0xAA, 0},
    {SDLK_AC_BOOKMARKS, 0xAB, 0},
    {SDLK_AC_HOME, 0xAC, 0},
    {SDLK_MUTE, 0xAD, 0},
    {SDLK_VOLUMEDOWN, 0xAE, 0},
    {SDLK_VOLUMEUP, 0xAF, 0},
    {SDLK_AUDIONEXT, 0xB0, 0},
    {SDLK_AUDIOPREV, 0xB1, 0},
    {SDLK_AUDIOSTOP, 0xB2, 0},
    {SDLK_AUDIOPLAY, 0xB3, 0},
    {SDLK_MAIL, 0xB4, 0},
    {SDLK_MEDIASELECT, 0xB5, 0},
    {SDLK_COMPUTER, 0xB6, 0},
    {SDLK_CALCULATOR, 0xB7, 0},
    {SDLK_SEMICOLON, 0xBA, 0},
    {SDLK_EQUALS, 0xBB, 0},
    {SDLK_COMMA, 0xBC, 0},
    {SDLK_MINUS, 0xBD, 0},
    {SDLK_PERIOD, 0xBE, 0},
    {SDLK_SLASH, 0xBF, 0},
    {SDLK_BACKQUOTE, 0xC0, 0},
    {SDLK_LEFTBRACKET, 0xDB, 0},
    {SDLK_BACKSLASH, 0xDC, 0},
    {SDLK_RIGHTBRACKET, 0xDD, 0},
    {SDLK_QUOTE, 0xDE, 0},
    {SDLK_LESS, 0xE2, 0},
};

struct ModifierRow
{
    std::uint32_t sdl;
    std::uint32_t modifiers;
    // The side-modifier byte's bit.
    std::uint32_t side;
};

constexpr std::array<ModifierRow, 8> kModifiers = {{
    {KMOD_LSHIFT, kModShift | kModLeftShift, 0x01},
    {KMOD_RSHIFT, kModShift | kModRightShift, 0x02},
    {KMOD_LCTRL, kModCtrl | kModLeftCtrl, 0x04},
    {KMOD_RCTRL, kModCtrl | kModRightCtrl, 0x08},
    {KMOD_LALT, kModAlt | kModLeftAlt, 0x10},
    {KMOD_RALT, kModAlt | kModRightAlt, 0x20},
    {KMOD_LGUI, kModWin | kModLeftWin, 0x40},
    {KMOD_RGUI, kModWin | kModRightWin, 0x80},
}};

// The field of every modifier row whose modifier and side bits are both in the set, or-ed.
template <std::uint32_t ModifierRow::*Field>
std::uint32_t CollectFromModifiers(std::uint32_t modifiers)
{
    std::uint32_t collected = 0;
    for (const ModifierRow& row : kModifiers)
    {
        if ((modifiers & row.modifiers) == row.modifiers)
        {
            collected |= row.*Field;
        }
    }
    return collected;
}

} // namespace

std::uint32_t VirtualKeyFromSdlKey(std::int32_t sdlKey, bool numLock)
{
    for (const KeyRow& row : kKeys)
    {
        if (row.key == sdlKey)
        {
            return !numLock && row.withoutNumLock != 0 ? row.withoutNumLock : row.virtualKey;
        }
    }
    return 0;
}

std::int32_t SdlKeyFromVirtualKey(std::uint32_t virtualKey)
{
    for (const KeyRow& row : kKeys)
    {
        if (row.virtualKey == virtualKey)
        {
            return row.key;
        }
    }
    return 0;
}

std::uint32_t ModifiersFromSdlKeymod(std::uint32_t sdlKeymod)
{
    std::uint32_t modifiers = 0;
    for (const ModifierRow& row : kModifiers)
    {
        if ((sdlKeymod & row.sdl) != 0)
        {
            modifiers |= row.modifiers;
        }
    }
    return modifiers;
}

std::uint32_t SdlKeymodFromModifiers(std::uint32_t modifiers)
{
    return CollectFromModifiers<&ModifierRow::sdl>(modifiers);
}

std::uint32_t PackSideModifiers(std::uint32_t modifiers)
{
    return CollectFromModifiers<&ModifierRow::side>(modifiers);
}

std::uint32_t BuildKeyWord(std::uint32_t virtualKey, std::uint32_t modifiers, bool down)
{
    std::uint32_t word = (virtualKey & 0xFF) << 16;
    word |= (modifiers & kModCtrl) != 0 ? kKeyCtrl : 0;
    word |= (modifiers & kModShift) != 0 ? kKeyShift : 0;
    word |= (modifiers & kModAlt) != 0 ? kKeyAlt : 0;
    word |= (modifiers & kModWin) != 0 ? kKeyWin : 0;
    word |= down ? kKeyDown : 0;
    return word;
}

} // namespace Platform
