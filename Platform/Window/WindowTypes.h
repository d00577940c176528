// Values that the window layer's calls take and give: window identities, rectangles, frame
// pixels, cursors and the events of the windows, all in the program's own terms (Windows
// virtual-key numbers and modifier bits, buttons 1/2/4, wheel directions 0-3).
#pragma once

#include <cstdint>

namespace Platform
{

// A window of the layer; 0 is no window.
using WindowId = std::uint32_t;

struct WindowRect
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A block of width x height pixels, each row stride bytes after the one before. Every pixel is a
// 32-bit word 0xAARRGGBB in native byte order (the layout of the 2D graphics layer's images).
// Frames are premultiplied by alpha; a window is opaque and shows the colour channels as they
// are. Cursor images are straight (not premultiplied) ARGB.
struct PixelBuffer
{
    const std::uint8_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
};

// The system cursors. The desktop has no up-arrow or help pointer: both show the arrow.
enum class SystemCursor : std::uint32_t
{
    Arrow,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    SizeAll,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    No,
    Hand,
    AppStarting,
    Help
};

// A cursor made by the window system; it stays valid until the system closes.
class Cursor;

// The modifier set of pointer events, as the program's pointer parameters carry it.
inline constexpr std::uint32_t kModCtrl = 0x1;
inline constexpr std::uint32_t kModLeftCtrl = 0x2;
inline constexpr std::uint32_t kModRightCtrl = 0x4;
inline constexpr std::uint32_t kModShift = 0x8;
inline constexpr std::uint32_t kModLeftShift = 0x10;
inline constexpr std::uint32_t kModRightShift = 0x20;
inline constexpr std::uint32_t kModAlt = 0x40;
inline constexpr std::uint32_t kModLeftAlt = 0x80;
inline constexpr std::uint32_t kModRightAlt = 0x100;
inline constexpr std::uint32_t kModWin = 0x200;
inline constexpr std::uint32_t kModLeftWin = 0x400;
inline constexpr std::uint32_t kModRightWin = 0x800;

// Flags of a key word, whose bits 16-23 hold the virtual key.
inline constexpr std::uint32_t kKeyCtrl = 0x01000000;
inline constexpr std::uint32_t kKeyShift = 0x02000000;
inline constexpr std::uint32_t kKeyAlt = 0x04000000;
inline constexpr std::uint32_t kKeyWin = 0x08000000;
inline constexpr std::uint32_t kKeyDown = 0x20000000;

enum class WindowEventType : std::uint32_t
{
    MouseMove,
    MouseDown,
    MouseUp,
    // One event per whole wheel step.
    Wheel,
    KeyDown,
    KeyUp,
    // One event per UTF-16 unit of typed text.
    Text,
    SizeChanged,
    Exposed,
    FocusGained,
    FocusLost,
    PointerEntered,
    PointerLeft,
    Close,
    // A display was added, removed or changed: windows repaint everything. No window.
    DisplayChanged,
    // The process was asked to end (a signal that SDL watches, where the program leaves them to
    // it). No window.
    Quit
};

struct WindowEvent
{
    WindowEventType type = WindowEventType::MouseMove;
    WindowId window = 0;
    // Pointer events: the pointer in client coordinates. SizeChanged: the new client size.
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Pointer and text events: the modifier set (kMod bits).
    std::uint32_t modifiers = 0;
    // MouseDown/MouseUp: the button (1 left, 2 middle, 4 right); true from the second click of a
    // quick series on.
    std::uint32_t button = 0;
    bool doubleClick = false;
    // Pointer events: the buttons held after the event.
    std::uint32_t buttons = 0;
    // Wheel: 1 away from the user, 0 toward, 2 left, 3 right.
    std::uint32_t wheelDirection = 0;
    // KeyDown/KeyUp: the key word (virtual key in bits 16-23, kKey flags), the side
    // modifiers (1 left Shift, 2 right Shift, 4 left Ctrl, 8 right Ctrl, 16 left Alt, 32 right
    // Alt, 64 left Win, 128 right Win) and 1 for a key held down repeating.
    std::uint32_t key = 0;
    std::uint32_t sideModifiers = 0;
    std::uint8_t repeat = 0;
    // Text: one UTF-16 unit.
    char16_t unit = 0;
};

} // namespace Platform
