// The keyboard's System Exclusive messages: every byte the editor sends, and the tests that tell
// its replies apart.
//
// A message is an array of signed bytes. Every message to and from the keyboard, except the
// universal Identity messages, begins with the device header F0 00 3C 1D 7F 31 06. Builders that
// leave out F0 and F7 rely on the sender's framing (SysExSender). No builder ever places a byte of
// 80 or above inside a message body: a slot, index or value that would need one is refused with
// E_FAIL, and the message is then left empty.
//
// A reply is the whole received message, F0 and F7 included; offsets count from 0 at F0. The reply
// tests examine only the bytes they name.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/SimpleFixedArray.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

using SysExMessage = Array<signed char>;
using IdentityRequestMessage = SimpleFixedArray<signed char, 8>;

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::int32_t kDeviceHeaderLength = 7;

// The keyboard's preset slots: 0 ("RAM") and 1 to 12.
inline constexpr std::uint8_t kHighestPresetSlot = 12;
// The 131 preset values, one after another.
inline constexpr std::int32_t kPresetValueAreaLength = 1338;
// The send-preset body without F0 and F7, and the framed preset messages.
inline constexpr std::int32_t kSendPresetBodyLength = 1348;
inline constexpr std::int32_t kPresetMessageLength = 1350;
// Where the value area begins in the send-preset body and in a preset dump.
inline constexpr std::int32_t kSendPresetValueOffset = 10;
inline constexpr std::int32_t kPresetDumpValueOffset = 11;

// 00 3C 1D 7F 31 06 6D 00 01 01: the preamble sent before every message.
SysExMessage BuildPreambleMessage();

// 00 3C 1D 7F 31 06 62 ss. E_FAIL for a slot above 12.
[[nodiscard]] QZRESULT BuildGetPresetMessage(std::uint8_t slot, SysExMessage& message);

// 00 3C 1D 7F 31 06 61 0A 3B ss. E_FAIL for a slot above 12.
[[nodiscard]] QZRESULT BuildSendPresetHeader(std::uint8_t slot, SysExMessage& message);

// The 1,348-byte send-preset body: the head above, then a zero-filled value area that
// PutPresetValue fills. E_FAIL for a slot above 12.
[[nodiscard]] QZRESULT BuildSendPresetMessage(std::uint8_t slot, SysExMessage& message);

// Writes one preset value at position (a byte offset in the send-preset body, starting at
// kSendPresetValueOffset) and moves position past it; bytes that would reach past the body are
// cut. E_FAIL, with nothing written, when the value holds a byte of 80 or above, when message is
// not a send-preset body or when position lies outside its value area.
[[nodiscard]] QZRESULT PutPresetValue(SysExMessage& message, std::int32_t& position,
                                      const signed char* bytes, std::int32_t count);

// Empties the array and writes F0 00 3C 1D 7F 31 06. Negative when the array cannot hold it
// (then it is left empty).
[[nodiscard]] QZRESULT BuildSysExHeader(IArray<signed char>& message);

// F0 00 3C 1D 7F 31 06 6B 00 02 00 ii; the caller appends F7. E_FAIL for a name that is not a
// global parameter.
[[nodiscard]] QZRESULT BuildGlobalParameterRequest(IArray<signed char>& message,
                                                   const WideString& name);

// F0 00 3C 1D 7F 31 06 6A 00 04 00 ii hh ll F7, the value as two 7-bit bytes (hh = value / 128).
// E_FAIL when the table does not accept the value for that name.
[[nodiscard]] QZRESULT BuildGlobalParameterMessage(const WideString& name, std::int32_t value,
                                                   IArray<signed char>& message);

// F0 7E 7F 06 01 F7: the universal Identity Request (General Information) to all devices.
IdentityRequestMessage BuildIdentityRequest();

// At least 7 bytes, the first 7 being the device header.
bool IsSysExHeaderValid(const IArray<signed char>& message);

// Exactly 1,350 bytes, the device header, then 63; the value area is bytes 11 to 1348.
bool IsPresetDumpReply(const IArray<signed char>& reply);

// The slot a preset dump comes from (byte 10); -1 when the reply is no preset dump.
std::int32_t GetPresetDumpSlot(const IArray<signed char>& reply);

// Exactly 15 bytes, the device header, then 6C; byte 11 is the index, 12 and 13 the value.
bool IsGlobalParameterReply(const IArray<signed char>& reply);
// The global parameter index a reply carries (byte 11); -1 when it is no global-parameter reply.
std::int32_t GetGlobalParameterIndexFromReply(const IArray<signed char>& reply);
// Byte 12 x 128 + byte 13; 0 when the reply is shorter than 14 bytes.
std::int32_t GetGlobalParameterValueFromReply(const IArray<signed char>& reply);

// Exactly 15 bytes: F0 7E, any device ID, 06 02; bytes 10 to 13 the firmware version.
bool IsIdentityReply(const IArray<signed char>& reply);

// An Identity Reply whose version bytes are four ASCII digits spelling a version of at least
// 1.0.2.7, compared in order (1.0.3.0 and 2.0.0.0 are newer, 1.0.2.6 and 0.9.9.9 older).
bool IsFirmwareVersionReplyUseable(const IArray<signed char>& reply);

} // namespace QZ
