// Cursors by name. Controls and windows ask the application for a cursor by one of the names
// below and get a cursor number: one of the desktop's standard pointers (numbered as the
// program's original platform numbered them), one of the program's own cursor images (102 the
// drag-move pointer, 103 the drag-copy pointer) or kNoCursor. The window layer turns the number
// into the pointer it shows.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace QZ
{

using CursorHandle = std::int32_t;

inline constexpr CursorHandle kNoCursor = 0;
inline constexpr CursorHandle kCursorArrow = 32512;
inline constexpr CursorHandle kCursorIBeam = 32513;
inline constexpr CursorHandle kCursorWait = 32514;
inline constexpr CursorHandle kCursorCross = 32515;
inline constexpr CursorHandle kCursorUpArrow = 32516;
inline constexpr CursorHandle kCursorSizeNWSE = 32642;
inline constexpr CursorHandle kCursorSizeNESW = 32643;
inline constexpr CursorHandle kCursorSizeWE = 32644;
inline constexpr CursorHandle kCursorSizeNS = 32645;
inline constexpr CursorHandle kCursorSizeAll = 32646;
inline constexpr CursorHandle kCursorNo = 32648;
inline constexpr CursorHandle kCursorHand = 32649;
inline constexpr CursorHandle kCursorAppStarting = 32650;
inline constexpr CursorHandle kCursorHelp = 32651;
inline constexpr CursorHandle kCursorDropMove = 102;
inline constexpr CursorHandle kCursorDropCopy = 103;

inline constexpr const char16_t* UI_CURSOR_APP_STARTING = u"UI_CURSOR_APP_STARTING";
inline constexpr const char16_t* UI_CURSOR_ARROW = u"UI_CURSOR_ARROW";
inline constexpr const char16_t* UI_CURSOR_CROSS = u"UI_CURSOR_CROSS";
// The cursor of a root window or control that names none.
inline constexpr const char16_t* UI_CURSOR_DEFAULT = u"UI_CURSOR_ARROW";
inline constexpr const char16_t* UI_CURSOR_DROP_COPY = u"UI_CURSOR_DROP_COPY";
inline constexpr const char16_t* UI_CURSOR_DROP_MOVE = u"UI_CURSOR_DROP_MOVE";
inline constexpr const char16_t* UI_CURSOR_HAND = u"UI_CURSOR_HAND";
inline constexpr const char16_t* UI_CURSOR_HELP = u"UI_CURSOR_HELP";
inline constexpr const char16_t* UI_CURSOR_IBEAM = u"UI_CURSOR_IBEAM";
inline constexpr const char16_t* UI_CURSOR_MAG = u"UI_CURSOR_MAG";
inline constexpr const char16_t* UI_CURSOR_MAG_MINUS = u"UI_CURSOR_MAG_MINUS";
inline constexpr const char16_t* UI_CURSOR_MAG_PLUS = u"UI_CURSOR_MAG_PLUS";
inline constexpr const char16_t* UI_CURSOR_NO_DROP = u"UI_CURSOR_NO_DROP";
inline constexpr const char16_t* UI_CURSOR_ROTATE = u"UI_CURSOR_ROTATE";
inline constexpr const char16_t* UI_CURSOR_SIZE_ALL = u"UI_CURSOR_SIZE_ALL";
inline constexpr const char16_t* UI_CURSOR_SIZE_NESW = u"UI_CURSOR_SIZE_NESW";
inline constexpr const char16_t* UI_CURSOR_SIZE_NS = u"UI_CURSOR_SIZE_NS";
inline constexpr const char16_t* UI_CURSOR_SIZE_NWSE = u"UI_CURSOR_SIZE_NWSE";
inline constexpr const char16_t* UI_CURSOR_SIZE_WE = u"UI_CURSOR_SIZE_WE";
inline constexpr const char16_t* UI_CURSOR_SPLIT_H = u"UI_CURSOR_SPLIT_H";
inline constexpr const char16_t* UI_CURSOR_SPLIT_V = u"UI_CURSOR_SPLIT_V";
inline constexpr const char16_t* UI_CURSOR_UP_ARROW = u"UI_CURSOR_UP_ARROW";
inline constexpr const char16_t* UI_CURSOR_WAIT = u"UI_CURSOR_WAIT";

// The desktop's standard pointer for one of its fourteen names; the arrow for any other name
// (a null name included).
[[nodiscard]] CursorHandle GetStandardCursor(const char16_t* name);

// The program's own cursor image: a PNG embedded as resource "CURSOR" "<number>_PNG", with the
// hot spot in its pixels. False for any other cursor or when the image is not embedded.
[[nodiscard]] bool GetCursorImage(CursorHandle cursor, std::span<const std::uint8_t>& png,
                                  std::int32_t& hotSpotX, std::int32_t& hotSpotY);

} // namespace QZ
