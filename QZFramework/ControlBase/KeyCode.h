// A key event as the controls see it: three 32-bit words.
//
// The key word holds a character's UTF-16 unit in its low 16 bits, or a virtual key in bits 16 to
// 23 together with kKeyDown; either is or-ed with the modifier flags. The side word packs which
// physical modifier keys were held into one byte. The third word is 0 for a key built from a
// character.
#pragma once

#include <cstdint>

namespace QZ
{

struct KeyCode
{
    // Flags of the key word.
    static constexpr std::uint32_t kCtrl = 0x1000000;
    static constexpr std::uint32_t kShift = 0x2000000;
    static constexpr std::uint32_t kAlt = 0x4000000;
    static constexpr std::uint32_t kWin = 0x8000000;
    static constexpr std::uint32_t kExtra = 0x10000000;
    static constexpr std::uint32_t kKeyDown = 0x20000000;
    // The modifier flags a plain key press carries none of.
    static constexpr std::uint32_t kModifierKeys = kCtrl | kShift | kAlt | kWin;

    // The pointer events' modifier set.
    static constexpr std::uint32_t kModifierCtrl = 0x1;
    static constexpr std::uint32_t kModifierLeftCtrl = 0x2;
    static constexpr std::uint32_t kModifierRightCtrl = 0x4;
    static constexpr std::uint32_t kModifierShift = 0x8;
    static constexpr std::uint32_t kModifierLeftShift = 0x10;
    static constexpr std::uint32_t kModifierRightShift = 0x20;
    static constexpr std::uint32_t kModifierAlt = 0x40;
    static constexpr std::uint32_t kModifierLeftAlt = 0x80;
    static constexpr std::uint32_t kModifierRightAlt = 0x100;
    static constexpr std::uint32_t kModifierWin = 0x200;
    static constexpr std::uint32_t kModifierLeftWin = 0x400;
    static constexpr std::uint32_t kModifierRightWin = 0x800;
    static constexpr std::uint32_t kModifierExtra = 0x1000;

    std::uint32_t key = 0;
    std::uint32_t sideModifiers = 0;
    std::uint32_t extra = 0;

    friend constexpr bool operator==(const KeyCode&, const KeyCode&) = default;

    // A character key (no key-down flag) with the modifiers of a pointer modifier set.
    [[nodiscard]] static constexpr KeyCode FromChar(char16_t unit, std::uint32_t modifiers)
    {
        std::uint32_t key = unit;
        key |= (modifiers & kModifierShift) != 0 ? kShift : 0;
        key |= (modifiers & kModifierCtrl) != 0 ? kCtrl : 0;
        key |= (modifiers & kModifierAlt) != 0 ? kAlt : 0;
        key |= (modifiers & kModifierWin) != 0 ? kWin : 0;
        key |= (modifiers & kModifierExtra) != 0 ? kExtra : 0;
        return {key, PackSideModifiers(modifiers), 0};
    }

    // A virtual key (bits 16 to 23, top bit clear) pressed down.
    [[nodiscard]] constexpr bool IsKeyDown() const
    {
        return (key & 0x00FF0000u) != 0 && (key & 0x80000000u) == 0 && (key & kKeyDown) != 0;
    }

    // The virtual key of a key press (bits 16 to 23).
    [[nodiscard]] constexpr std::uint32_t GetVirtualKey() const { return (key >> 16) & 0xFFu; }

    // The side byte of a modifier set: 1 left Shift, 2 right Shift, 4 left Ctrl, 8 right Ctrl,
    // 16 left Alt, 32 right Alt, 64 left Win, 128 right Win, each only when the modifier itself
    // is in the set too.
    [[nodiscard]] static constexpr std::uint32_t PackSideModifiers(std::uint32_t modifiers)
    {
        struct Side
        {
            std::uint32_t modifier;
            std::uint32_t side;
            std::uint32_t bit;
        };
        constexpr Side kSides[] = {
            {kModifierShift, kModifierLeftShift, 1}, {kModifierShift, kModifierRightShift, 2},
            {kModifierCtrl, kModifierLeftCtrl, 4},   {kModifierCtrl, kModifierRightCtrl, 8},
            {kModifierAlt, kModifierLeftAlt, 16},    {kModifierAlt, kModifierRightAlt, 32},
            {kModifierWin, kModifierLeftWin, 64},    {kModifierWin, kModifierRightWin, 128}};
        std::uint32_t packed = 0;
        for (const Side& side : kSides)
        {
            if ((modifiers & side.modifier) != 0 && (modifiers & side.side) != 0)
            {
                packed |= side.bit;
            }
        }
        return packed;
    }
};

} // namespace QZ
