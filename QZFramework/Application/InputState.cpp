#include "QZFramework/Application/InputState.h"

namespace QZ
{
namespace
{

constexpr std::uint32_t kKeyCount = 256;

struct SidedKey
{
    std::uint32_t generic;
    std::uint32_t left;
    std::uint32_t right;
};

// Shift, Ctrl and Alt with their left and right keys.
constexpr SidedKey kSidedKeys[] = {{0x10, 0xA0, 0xA1}, {0x11, 0xA2, 0xA3}, {0x12, 0xA4, 0xA5}};

struct ButtonKey
{
    std::uint32_t virtualKey;
    std::uint32_t button;
};

constexpr ButtonKey kButtonKeys[] = {{0x01, InputState::kLeftButton},
                                     {0x02, InputState::kRightButton},
                                     {0x04, InputState::kMiddleButton}};

} // namespace

void InputState::OnKeyDown(std::uint32_t virtualKey)
{
    if (virtualKey < kKeyCount)
    {
        mKeys[virtualKey] = static_cast<std::uint8_t>((mKeys[virtualKey] ^ kToggled) | kHeld);
    }
}

void InputState::OnKeyUp(std::uint32_t virtualKey)
{
    if (virtualKey < kKeyCount)
    {
        mKeys[virtualKey] &= static_cast<std::uint8_t>(~kHeld);
    }
}

void InputState::SetToggled(std::uint32_t virtualKey, bool toggled)
{
    if (virtualKey < kKeyCount)
    {
        mKeys[virtualKey] =
            static_cast<std::uint8_t>((mKeys[virtualKey] & ~kToggled) | (toggled ? kToggled : 0));
    }
}

void InputState::OnButtonDown(std::uint32_t buttons)
{
    mButtons |= buttons & (kLeftButton | kMiddleButton | kRightButton);
}

void InputState::OnButtonUp(std::uint32_t buttons)
{
    mButtons &= ~buttons;
}

void InputState::ReleaseAll()
{
    for (std::uint8_t& key : mKeys)
    {
        key &= static_cast<std::uint8_t>(~kHeld);
    }
    mButtons = 0;
}

void InputState::GetKeyState(std::uint32_t virtualKey, bool& held, bool& toggled) const
{
    held = virtualKey < kKeyCount && IsHeld(virtualKey);
    toggled = virtualKey < kKeyCount && (mKeys[virtualKey] & kToggled) != 0;
}

bool InputState::IsHeld(std::uint32_t virtualKey) const
{
    for (const ButtonKey& key : kButtonKeys)
    {
        if (key.virtualKey == virtualKey)
        {
            return (mButtons & key.button) != 0;
        }
    }
    for (const SidedKey& key : kSidedKeys)
    {
        if (key.generic == virtualKey && (IsHeld(key.left) || IsHeld(key.right)))
        {
            return true;
        }
    }
    return (mKeys[virtualKey] & kHeld) != 0;
}

} // namespace QZ
