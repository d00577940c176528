// The sender of the keyboard's System Exclusive messages: the preamble first, then the message
// framed and cut into 256-byte pieces, each sent as one long MIDI message and followed by a
// 10 ms pause, because the keyboard drops bytes that arrive faster.
#pragma once

#include "Engine/RededoVuvuvaCommon/MidiPacing.h"
#include "QZFramework/Midi/MidiCommInterface.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/IArray.h"

#include <cstdint>

namespace QZ
{

inline constexpr std::int32_t kSysExPieceLength = 256;
inline constexpr std::uint32_t kSysExPiecePauseMs = 10;

// Sends message on port (a port from GetRenderPort of comm). Unless noPreamble is set, the preamble
// goes first, sent the same way; its failure ends the call with its result.
//
// The message is framed in place, so a message sent again is not framed twice: F0 is put in front
// unless it begins with F0, F7 is appended unless it ends with F7. A message that is empty, is the
// single byte F0 or F7, holds a status byte between its first and last byte, or cannot grow for
// its framing is refused with E_FAIL and nothing of it is sent. No port or no service: -1.
//
// The first piece the service refuses stops the sending and its result is returned; otherwise the
// result of the last piece (its byte count). The pauses are taken on pacing.
[[nodiscard]] std::int32_t SendSysExMessage(const RCPtr<LMidiCommInterface>& comm,
                                            IArray<signed char>& message,
                                            const RCPtr<LRefCountedObject>& port, bool noPreamble,
                                            MidiPacing& pacing = MidiPacing::Real());

} // namespace QZ
