#include "QZFramework/Midi/MidiSysExAssembly.h"

namespace QZ
{
namespace
{

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;

} // namespace

bool LMidiSysExAssembly::IsChunkComplete(const std::uint8_t* chunk, std::uint32_t length,
                                         std::uint32_t bufferLength)
{
    return length < bufferLength || (length > 0 && chunk[length - 1] == kSysExEnd);
}

RCPtr<LMidiCaptureNotificationData> LMidiSysExAssembly::Add(const std::uint8_t* chunk,
                                                            std::uint32_t length, bool complete,
                                                            const WideString& portName)
{
    if (length == 0)
    {
        return nullptr;
    }
    if (chunk[0] == kSysExStart)
    {
        mPending = new LMidiCaptureNotificationData(portName, 0);
    }
    if (mPending.IsNull())
    {
        return nullptr;
    }
    if (length > static_cast<std::uint32_t>(kMaxMessageLength - mPending->GetData().GetCount()) ||
        Failed(mPending->Append(chunk, static_cast<std::int32_t>(length))))
    {
        mPending.Reset();
        return nullptr;
    }
    if (!complete)
    {
        return nullptr;
    }
    RCPtr<LMidiCaptureNotificationData> message = std::move(mPending);
    mPending.Reset();
    return message;
}

} // namespace QZ
