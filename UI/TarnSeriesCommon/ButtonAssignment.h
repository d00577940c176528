// The push-button value and its MIDI assignment block.
//
// A push button's value is 17 bytes: channel, four colours, assignment bytes a1 to a9, then the
// computer-keyboard colour, key and modifier. The editor panels exchange the 10-byte assignment
// block a0 (the channel) to a9, and the button-type editor shows that block as one of ten pages.
// This file is the one place that knows how the bytes map onto those pages and the choice lists;
// the panels only move numbers between a ButtonAssignment and their selectors.
//
// A list selection that names no entry (-1, or a stored byte the list cannot show) never becomes
// a byte of its own: the byte that was stored before is kept.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <array>
#include <cstdint>
#include <optional>

namespace QZ
{

using ButtonAssignmentBlock = Array<signed char>;
using ButtonValueBytes = std::array<std::uint8_t, 17>;

inline constexpr std::int32_t kButtonBlockSize = 10;
inline constexpr std::int32_t kChannelListCount = 21;
inline constexpr std::int32_t kButtonColourListCount = 8;
inline constexpr std::int32_t kModifierListCount = 29;
inline constexpr std::int32_t kKeyListCount = 87;
inline constexpr std::uint8_t kNoKeyByte = 87;

// The editor's pages, in no particular order; GetButtonPageName gives each one's skin name.
enum class ButtonPage
{
    CCAbsolute,
    CCCycle,
    CCIncDec,
    Program,
    ProgramCycle,
    ProgramIncDec,
    Note,
    MMC,
    NrpnRpn,
    Other
};
inline constexpr std::int32_t kButtonPageCount = 10;

[[nodiscard]] const char* GetButtonPageName(ButtonPage page);
[[nodiscard]] std::optional<ButtonPage> FindButtonPage(const char* name);

// One assignment as the editor shows it. Which fields a page uses:
//   number: controller, program, note or RPN/NRPN data value;
//   low:    first cycle value, minimum, off, released, bank or parameter LSB, "other" value,
//           MMC command number;
//   high:   last cycle value, maximum, on, pressed, bank or parameter MSB;
//   second, third: the middle values of a 3- or 4-value cycle;
//   choice: the index in the page's own list (cycle type, inc/dec, MMC, RPN/NRPN, "other" type),
//           or the note page's latching state 0/1; -1 when the list cannot show the stored byte.
struct ButtonAssignment
{
    ButtonPage page = ButtonPage::CCAbsolute;
    std::int32_t channel = 0;
    std::int32_t number = 0;
    std::int32_t low = 0;
    std::int32_t high = 0;
    std::int32_t second = 0;
    std::int32_t third = 0;
    std::int32_t choice = 0;

    bool operator==(const ButtonAssignment&) const = default;
};

// An inc/dec pair stored with a flag at 0 is a cycle: types 25/26 become 18, 27/28 become 29.
// Blocks that are not 10 bytes are left alone.
void NormalizeButtonModeValues(ButtonAssignmentBlock& block);

// The assignment a 10-byte block shows (normalised first). Channel and list choices that the
// lists cannot show come back as -1; an MMC command without an entry selects "Other" (12).
[[nodiscard]] ButtonAssignment DecodeButtonAssignment(const ButtonAssignmentBlock& block);

// The 10-byte block of an assignment. Wherever the assignment's channel or choice names no entry,
// or names "Other" on the MMC page, the byte comes from `stored` (the block shown last) when that
// block shows the same page; otherwise the list's first entry is written.
[[nodiscard]] ButtonAssignmentBlock EncodeButtonAssignment(const ButtonAssignment& assignment,
                                                           const ButtonAssignmentBlock& stored);

// The 17 bytes of a push-button value; nothing for a value of another type or size.
[[nodiscard]] std::optional<ButtonValueBytes> ReadButtonValue(const Variant& value);
[[nodiscard]] Variant MakeButtonValue(const ButtonValueBytes& bytes);

// Value bytes 0 and 5 to 13 as a block, and back; JoinButtonBlock ignores a block that is not
// 10 bytes and says so.
[[nodiscard]] ButtonAssignmentBlock SplitButtonBlock(const ButtonValueBytes& bytes);
[[nodiscard]] bool JoinButtonBlock(ButtonValueBytes& bytes, const ButtonAssignmentBlock& block);

// A byte that indexes a list of `count` entries, and back; an index outside the list keeps the
// stored byte.
[[nodiscard]] std::int32_t ListIndexFromByte(std::uint8_t byte, std::int32_t count);
[[nodiscard]] std::uint8_t ByteFromListIndex(std::int32_t index, std::int32_t count,
                                             std::uint8_t stored);

// The computer-key byte: key list index - 1, with "Off" (index 0) stored as 87.
[[nodiscard]] std::int32_t KeyIndexFromByte(std::uint8_t byte);
[[nodiscard]] std::uint8_t KeyByteFromIndex(std::int32_t index, std::uint8_t stored);

} // namespace QZ
