// The MIDI assignment of a continuous control (encoder, fader, wheel, volume pedal, XY pad axis),
// 6 bytes read as signed numbers:
//   channel (0 global, 1-16, 17-20 keybed zones), kind (0 control change, else a message type),
//   controller number or message type, relative flag, low, high.
// Message types 4-7 are RPN coarse and fine and NRPN coarse and fine (low and high the parameter's
// LSB and MSB); the others (0-3, 8-16) are listed together with types 0-3 first. Relative control
// changes keep their relative type in low.
//
// The editor shows a value as one page with its list items and numbers; these functions turn the
// bytes into that and back, so that the pages need not know the layout.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"

#include <array>
#include <cstdint>

namespace QZ
{

inline constexpr std::int32_t kMoveableValueSize = 6;
// Items of the channel list, the relative and RPN/NRPN type lists and the other types offered
// (the string table holds three more that the keyboard does not take).
inline constexpr std::int32_t kMoveableChannels = 21;
inline constexpr std::int32_t kRelativeTypes = 4;
inline constexpr std::int32_t kRpnTypes = 4;
inline constexpr std::int32_t kOtherTypes = 13;

enum class MoveablePage
{
    CCAbsolute,
    CCRelative,
    NrpnRpn,
    Other
};
// Skin names of the pages, in the order of MoveablePage.
inline constexpr std::array<const char16_t*, 4> kMoveablePageNames{
    u"ccAbsolutePage", u"ccRelativePage", u"nrpnRpnPage", u"otherPage"};

struct MoveableAssignment
{
    MoveablePage page = MoveablePage::CCAbsolute;
    // Item of the channel list; -1 for none.
    std::int32_t channel = 0;
    // Controller number of the control-change pages.
    std::int32_t number = 0;
    // Item of the page's type list (relative, RPN/NRPN or other type); -1 for none, and unused on
    // the absolute page.
    std::int32_t choice = -1;
    std::int32_t low = 0;
    std::int32_t high = 0;
};

// The page and items that show a value of kMoveableValueSize bytes. A channel or type that no
// item stands for comes out as an index outside its list.
[[nodiscard]] MoveableAssignment DecodeMoveableAssignment(const Array<signed char>& values);
// The value a page shows. A list without selection (-1) keeps the byte of the value shown last
// when that value is of the same page, and reads as its first item otherwise.
[[nodiscard]] Array<signed char> EncodeMoveableAssignment(const MoveableAssignment& assignment,
                                                          const Array<signed char>& shown);

} // namespace QZ
