// The keyboard and mouse-button state as the window's events leave it, for GetKeyState and
// GetMouseButtons. The window layer feeds it from its events on the user-interface thread;
// readers ask on the same thread.
//
// Keys are numbered by their virtual-key numbers (0 to 255). The generic Shift (0x10), Ctrl
// (0x11) and Alt (0x12) are held while either side's key is; the mouse buttons answer as their
// key numbers too (0x01 left, 0x02 right, 0x04 middle).
#pragma once

#include <array>
#include <cstdint>

namespace QZ
{

class InputState
{
public:
    // Mouse buttons as a set: 1 left, 2 middle, 4 right.
    static constexpr std::uint32_t kLeftButton = 1;
    static constexpr std::uint32_t kMiddleButton = 2;
    static constexpr std::uint32_t kRightButton = 4;

    // A key went down (it toggles, as lock keys do) or up; numbers above 255 are ignored.
    void OnKeyDown(std::uint32_t virtualKey);
    void OnKeyUp(std::uint32_t virtualKey);
    // Sets the toggle of a lock key from the desktop's own lock state.
    void SetToggled(std::uint32_t virtualKey, bool toggled);
    void OnButtonDown(std::uint32_t buttons);
    void OnButtonUp(std::uint32_t buttons);
    // The window lost the keyboard: nothing counts as held any more (toggles stay).
    void ReleaseAll();

    void GetKeyState(std::uint32_t virtualKey, bool& held, bool& toggled) const;
    [[nodiscard]] std::uint32_t GetMouseButtons() const { return mButtons; }

private:
    [[nodiscard]] bool IsHeld(std::uint32_t virtualKey) const;

    static constexpr std::uint8_t kHeld = 0x80;
    static constexpr std::uint8_t kToggled = 0x01;
    std::array<std::uint8_t, 256> mKeys{};
    std::uint32_t mButtons = 0;
};

} // namespace QZ
