// The numbered choices inside the control values: message types, relative modes, colours,
// computer-keyboard keys and modifiers, MMC commands, and the order in which the editor lists
// the "other" message types. Numbers are what the keyboard stores; the name tables give the
// texts the editor's lists show.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Message type of a moveable control (byte 2 when byte 1, the message kind, is non-zero).
enum class MoveableMessageType : std::uint8_t
{
    PitchBendSensitivityRPN = 0,
    FineTuneRPN = 1,
    CoarseTuneRPN = 2,
    ChannelPressure = 3,
    RPNCoarse = 4,
    RPNFine = 5,
    NRPNCoarse = 6,
    NRPNFine = 7,
    MasterVolumeSysEx = 8,
    MasterPanSysEx = 9,
    CoarseTuneSysEx = 10,
    FineTuneSysEx = 11,
    ChorusModulationRateSysEx = 12,
    ChorusModulationDepthSysEx = 13,
    FeedbackSysEx = 14,
    SendToReverbSysEx = 15,
    PitchBend = 16,
    ReverbTypeSysEx = 17,
    ReverbTimeSysEx = 18,
    ChorusTypeSysEx = 19
};

// Message type of a button MIDI assignment (a2 when a1 is non-zero). Numbers 17 to 19 differ
// from the moveable controls' numbering.
enum class ButtonMessageType : std::uint8_t
{
    PitchBendSensitivityRPN = 0,
    FineTuneRPN = 1,
    CoarseTuneRPN = 2,
    ChannelPressure = 3,
    RPNCoarse = 4,
    RPNFine = 5,
    NRPNCoarse = 6,
    NRPNFine = 7,
    MasterVolumeSysEx = 8,
    MasterPanSysEx = 9,
    CoarseTuneSysEx = 10,
    FineTuneSysEx = 11,
    ChorusModulationRateSysEx = 12,
    ChorusModulationDepthSysEx = 13,
    FeedbackSysEx = 14,
    SendToReverbSysEx = 15,
    PitchBend = 16,
    ProgramChange = 17,
    ControlChangeCycle = 18,
    Note = 19,
    NoteLatching = 20,
    MMC = 21,
    ReverbTypeSysEx = 22,
    ReverbTimeSysEx = 23,
    ChorusTypeSysEx = 24,
    ControlChangeDecrement = 25,
    ControlChangeIncrement = 26,
    ProgramDecrement = 27,
    ProgramIncrement = 28,
    ProgramCycle = 29
};

// Types 4 to 7 (both numberings): the value's low and high bytes are then a parameter number.
[[nodiscard]] constexpr bool IsRPNOrNRPNType(std::uint8_t type)
{
    return type >= 4 && type <= 7;
}

// The "other" message types in the order of the editor's list (list position = array index).
inline constexpr std::array<std::uint8_t, 16> kMoveableOtherTypeOrder{
    0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
inline constexpr std::array<std::uint8_t, 16> kButtonOtherTypeOrder{0,  1,  2,  3,  8,  9,  10, 11,
                                                                    12, 13, 14, 15, 16, 22, 23, 24};

// Relative mode of a control change relative (moveable byte 4 when byte 3 is non-zero).
enum class RelativeMode : std::uint8_t
{
    UpType1 = 0,
    DownType1 = 1,
    UpType2 = 2,
    DownType2 = 3
};

inline constexpr std::uint8_t kPadColourCount = 14;
inline constexpr std::uint8_t kButtonColourCount = 8;
// Computer-keyboard keys 0 to 85; 0x57 means no key (86 is no key number at all).
inline constexpr std::uint8_t kKeyCount = 86;
inline constexpr std::uint8_t kNoKey = 0x57;
inline constexpr std::uint8_t kModifierCount = 29;

// Name of a pad colour number (0 "Off" to 13 "White"), or an empty text past the table.
[[nodiscard]] std::string_view GetPadColourName(std::uint8_t colour);
// Name of a button colour number (0 "Off" to 7 "White"), or an empty text past the table.
[[nodiscard]] std::string_view GetButtonColourName(std::uint8_t colour);
// Name of a computer-keyboard key number ("0" to "9", "A" to "Z", "Space", ... "Num 0"), or an
// empty text for kNoKey and every number from 86 up.
[[nodiscard]] std::string_view GetKeyName(std::uint8_t key);
// Name of a modifier number ("None", "Shift (Windows)", ... "Ctrl + Cmd + Option (Mac)"), or an
// empty text past the table.
[[nodiscard]] std::string_view GetModifierName(std::uint8_t modifier);
// Name of an MMC command number (1 "Stop" ... 13 "MMC Reset"); "Other" for any other number.
[[nodiscard]] std::string_view GetMMCCommandName(std::uint8_t command);
