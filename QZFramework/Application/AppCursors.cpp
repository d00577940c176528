#include "QZFramework/Application/AppCursors.h"

#include "Platform/Resources/Resources.h"

#include <string>

namespace QZ
{
namespace
{

struct CursorEntry
{
    std::u16string_view name;
    CursorHandle cursor;
};

constexpr CursorEntry kStandardCursors[] = {
    {UI_CURSOR_ARROW, kCursorArrow},
    {UI_CURSOR_IBEAM, kCursorIBeam},
    {UI_CURSOR_WAIT, kCursorWait},
    {UI_CURSOR_CROSS, kCursorCross},
    {UI_CURSOR_UP_ARROW, kCursorUpArrow},
    {UI_CURSOR_SIZE_ALL, kCursorSizeAll},
    {UI_CURSOR_SIZE_NWSE, kCursorSizeNWSE},
    {UI_CURSOR_SIZE_NESW, kCursorSizeNESW},
    {UI_CURSOR_SIZE_WE, kCursorSizeWE},
    {UI_CURSOR_SIZE_NS, kCursorSizeNS},
    {UI_CURSOR_NO_DROP, kCursorNo},
    {UI_CURSOR_HAND, kCursorHand},
    {UI_CURSOR_APP_STARTING, kCursorAppStarting},
    {UI_CURSOR_HELP, kCursorHelp},
};

// Both drag pointers are arrows whose tip is one pixel in from the corner.
constexpr std::int32_t kDragPointerHotSpot = 1;

} // namespace

CursorHandle GetStandardCursor(const char16_t* name)
{
    if (name != nullptr)
    {
        for (const CursorEntry& entry : kStandardCursors)
        {
            if (entry.name == name)
            {
                return entry.cursor;
            }
        }
    }
    return kCursorArrow;
}

bool GetCursorImage(CursorHandle cursor, std::span<const std::uint8_t>& png, std::int32_t& hotSpotX,
                    std::int32_t& hotSpotY)
{
    png = {};
    hotSpotX = hotSpotY = 0;
    if (cursor != kCursorDropMove && cursor != kCursorDropCopy)
    {
        return false;
    }
    if (!Resources::FindResource("CURSOR", std::to_string(cursor) + "_PNG", png))
    {
        return false;
    }
    hotSpotX = hotSpotY = kDragPointerHotSpot;
    return true;
}

} // namespace QZ
