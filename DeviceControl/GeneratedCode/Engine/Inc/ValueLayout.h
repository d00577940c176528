// Byte layouts of the control values, as the editor's panels read and write them and as the
// keyboard receives them. The model never looks inside a value; these positions are for the
// code that does (the edit panels, the System Exclusive and preset-file code, the tests).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Channel bytes shared by every MIDI assignment: 0 is the global channel, 1 to 16 the MIDI
// channels, 17 to 20 the channel of keybed zone 1 to 4 (not for zones themselves).
inline constexpr std::uint8_t kGlobalChannel = 0;
inline constexpr std::uint8_t kFirstZoneChannel = 17;
inline constexpr std::uint8_t kLastZoneChannel = 20;

// Preset name: six 8-bit characters, no terminator; 0x22 marks an empty position.
namespace PresetNameByte
{
inline constexpr std::size_t kSize = 6;
inline constexpr std::uint8_t kEmptyPosition = 0x22;
} // namespace PresetNameByte

// Moveable-control value of encoders, faders and the volume pedal (and touch-pad bytes 0 to 5).
// Low/high are minimum/maximum, or the RPN/NRPN parameter number LSB/MSB, or (control change
// relative) the relative mode and 0.
namespace MoveableByte
{
enum : std::size_t
{
    kChannel = 0,
    kMessageKind = 1,
    kControllerOrType = 2,
    kRelative = 3,
    kLow = 4,
    kHigh = 5,
    kSize = 6
};
} // namespace MoveableByte

// Wheel value: the moveable-control value without its relative byte (a wheel is always absolute).
namespace WheelByte
{
enum : std::size_t
{
    kChannel = 0,
    kMessageKind = 1,
    kControllerOrType = 2,
    kLow = 3,
    kHigh = 4,
    kSize = 5
};
} // namespace WheelByte

// The moveable-control byte that each wheel byte stands for.
inline constexpr std::array<std::size_t, WheelByte::kSize> kWheelToMoveableByte{
    MoveableByte::kChannel, MoveableByte::kMessageKind, MoveableByte::kControllerOrType,
    MoveableByte::kLow, MoveableByte::kHigh};

// Keybed-zone value. Octave is stored as shift + 5 (0 to 10), transpose as semitones + 12
// (0 to 24); notes run 0 to 60.
namespace KeybedZoneByte
{
enum : std::size_t
{
    kEnabled = 0,
    kChannel = 1,
    kProgram = 2,
    kBankMSB = 3,
    kBankLSB = 4,
    kFirstNote = 5,
    kLastNote = 6,
    kOctave = 7,
    kTranspose = 8,
    kSize = 9
};
inline constexpr std::uint8_t kOctaveBias = 5;
inline constexpr std::uint8_t kTransposeBias = 12;
inline constexpr std::uint8_t kHighestNote = 60;
} // namespace KeybedZoneByte

// The 10-byte button MIDI assignment a0 to a9 shared by push buttons and pads.
namespace ButtonAssignmentByte
{
enum : std::size_t
{
    kChannel = 0,
    kMessageKind = 1,
    kControllerOrType = 2,
    kNumber = 3,
    kLow = 4,
    kCycleFlag1 = 5,
    kSecondCycleValue = 6,
    kCycleFlag2 = 7,
    kThirdCycleValue = 8,
    kHigh = 9,
    kSize = 10
};
} // namespace ButtonAssignmentByte

// Push-button value: a0, four colours, a1 to a9, then the computer-keyboard key block.
namespace PushButtonByte
{
enum : std::size_t
{
    kChannel = 0,
    kColour1 = 1,
    kColour2 = 2,
    kColour3 = 3,
    kColour4 = 4,
    kAssignmentRest = 5,
    kKeyColour = 14,
    kKey = 15,
    kModifiers = 16,
    kSize = 17
};
} // namespace PushButtonByte

// Pad value: a0, four colours, a1 to a9 (the push-button value without the key block).
namespace PadByte
{
enum : std::size_t
{
    kChannel = 0,
    kColour1 = 1,
    kColour2 = 2,
    kColour3 = 3,
    kColour4 = 4,
    kAssignmentRest = 5,
    kSize = 14
};
} // namespace PadByte

// Where assignment byte a0 to a9 sits in a push-button or pad value.
inline constexpr std::array<std::size_t, ButtonAssignmentByte::kSize> kButtonAssignmentToValueByte{
    0, 5, 6, 7, 8, 9, 10, 11, 12, 13};

// Sustain pedal value: push-button layout bytes 0 to 4 and 9, in that order.
namespace SustainPedalByte
{
inline constexpr std::size_t kSize = 6;
} // namespace SustainPedalByte
inline constexpr std::array<std::size_t, SustainPedalByte::kSize> kSustainPedalToPushButtonByte{
    0, 1, 2, 3, 4, 9};

// Touch-pad axis value: a moveable-control value, then the note-mode block.
namespace TouchPadAxisByte
{
enum : std::size_t
{
    kMoveable = 0,
    kNoteCount = 6,
    kFirstNote = 7,
    kLastNote = 8,
    kMiddleNotes = 9,
    kSize = 15
};
inline constexpr std::uint8_t kRangeNoteCount = 2;
inline constexpr std::uint8_t kMaxNoteCount = 8;
} // namespace TouchPadAxisByte

// The value byte of note `note` (0-based) of a note block holding `count` notes: the first note,
// then the middle notes in order, then the last note. note must be below count, and count lie
// between 2 and 8.
[[nodiscard]] constexpr std::size_t GetTouchPadNoteByte(std::size_t note, std::size_t count)
{
    if (note == 0)
    {
        return TouchPadAxisByte::kFirstNote;
    }
    if (note + 1 == count)
    {
        return TouchPadAxisByte::kLastNote;
    }
    return TouchPadAxisByte::kMiddleNotes + note - 1;
}

// The number of values a control-change or program cycle (button types 18 and 29) steps
// through, decided by the two cycle flags a5 and a7.
[[nodiscard]] constexpr std::uint32_t GetCycleLength(std::uint8_t cycleFlag1,
                                                     std::uint8_t cycleFlag2)
{
    if (cycleFlag2 == 1)
    {
        return cycleFlag1 == 1 ? 2 : (cycleFlag1 == 0 ? 3 : 4);
    }
    return 4;
}
