// A keybed zone's value and what its panels show of it.
//
// The value is exactly nine bytes, each read as a signed 8-bit number: on/off, channel (0 global,
// 1 to 16), program, bank MSB, bank LSB, first and last key (note numbers 0 to 60), octave shift
// + 5 and transposition + 12. A value of any other length is no zone value and is never read.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ValueLayout.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace QZ
{

// The zone as its edit panel shows it: octave -5 to 5, transpose -12 to 12, the rest as stored.
struct KeybedZoneSettings
{
    std::int32_t enabled = 0;
    std::int32_t channel = 0;
    std::int32_t program = 0;
    std::int32_t bankMSB = 0;
    std::int32_t bankLSB = 0;
    std::int32_t firstKey = 0;
    std::int32_t lastKey = 0;
    std::int32_t octave = 0;
    std::int32_t transpose = 0;

    bool operator==(const KeybedZoneSettings&) const = default;
};

// Nothing for bytes that are not nine.
[[nodiscard]] std::optional<KeybedZoneSettings> DecodeKeybedZone(const Array<signed char>& bytes);
// Each field's low eight bits, octave and transpose with their offsets.
[[nodiscard]] Array<signed char> EncodeKeybedZone(const KeybedZoneSettings& settings);

inline constexpr std::int32_t kHighestZoneKey = KeybedZoneByte::kHighestNote;

struct KeyRange
{
    std::int32_t first = 0;
    std::int32_t last = 0;

    bool operator==(const KeyRange&) const = default;
};

// The range once one of its keys changed: a key above the highest is set back to it, and a first
// key above the last moves down to the last (the last key never moves for the first).
[[nodiscard]] KeyRange ClampKeyRange(KeyRange keys);

// The zone's key range as the drawn zone shows it: the format ("First: %s %s | Last %s %s")
// filled with note name and octave name of the first key, then of the last; a name list is
// indexed by key mod 12 and key / 12. A key that has no name there (negative, or past a list)
// shows "?" for that name. A format that is not exactly four plain "%s" shows as it stands.
[[nodiscard]] WideString FormatZoneKeys(const WideString& format,
                                        const std::vector<WideString>& noteNames,
                                        const std::vector<WideString>& octaveNames, KeyRange keys);

} // namespace QZ
