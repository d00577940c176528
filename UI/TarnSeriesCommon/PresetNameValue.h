// The preset name's value: six 8-bit characters, one per position, where 0x22 marks a blank
// (a space in the name or a position past its end) and 0x60 stands for the apostrophe. Letters
// are stored upper-cased.
//
// A name holds only the characters of kPresetNameCharacters; any other character, typed or read
// from a value, is dropped rather than stored, so what the keyboard shows and what the editor
// shows stay the same name. A value read back loses only its trailing blanks.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ValueLayout.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace QZ
{

inline constexpr std::size_t kPresetNameLength = PresetNameByte::kSize;
using PresetNameBytes = std::array<std::uint8_t, kPresetNameLength>;

// The characters a name may hold: the space, letters, digits and - . / = [ \ ] '.
inline constexpr char16_t kPresetNameCharacters[] =
    u" abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-./=[\\]'";

[[nodiscard]] bool IsPresetNameCharacter(char16_t unit);
// The first six name characters of the text, upper-cased, as the value's bytes.
[[nodiscard]] PresetNameBytes EncodePresetName(std::u16string_view text);
// The name a value shows; nothing when the value is not six bytes.
[[nodiscard]] std::optional<std::u16string> DecodePresetName(const Variant& value);
[[nodiscard]] Variant MakePresetNameValue(const PresetNameBytes& bytes);

} // namespace QZ
