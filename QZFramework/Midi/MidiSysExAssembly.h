// System Exclusive assembly on one capture port: the chunks that the driver hands back in the
// port's 256-byte buffers become whole messages.
//
// A chunk completes a message when it did not fill its buffer or when its last byte is F7. A chunk
// beginning with F0 starts a new message, so a message cut short by the driver is dropped rather
// than glued to the next one; a chunk that neither begins with F0 nor continues a message is
// dropped. A message growing past 64 KiB is dropped, and so is one the driver reports broken.
// Not synchronised: the capture port calls it under its service's lock.
#pragma once

#include "QZFramework/Midi/MidiCaptureNotificationData.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LMidiSysExAssembly
{
public:
    static constexpr std::int32_t kMaxMessageLength = 64 * 1024;

    // True when a chunk of length bytes, handed back in a buffer of bufferLength, ends a message.
    static bool IsChunkComplete(const std::uint8_t* chunk, std::uint32_t length,
                                std::uint32_t bufferLength);

    // Takes one chunk; returns the message it completes (with the port's name), else null.
    [[nodiscard]] RCPtr<LMidiCaptureNotificationData>
    Add(const std::uint8_t* chunk, std::uint32_t length, bool complete, const WideString& portName);
    // Drops the message being assembled.
    void Drop() { mPending.Reset(); }
    [[nodiscard]] bool IsPending() const { return !mPending.IsNull(); }

private:
    RCPtr<LMidiCaptureNotificationData> mPending;
};

} // namespace QZ
