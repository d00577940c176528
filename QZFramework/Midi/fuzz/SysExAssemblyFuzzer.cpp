// Feeds arbitrary chunk sequences to a capture port's System Exclusive assembly, as the driver
// would hand them back, and every message it completes (and the raw input) to the reply tests.
//
// Input: records of a two-byte little-endian length L, then min(L mod 257, rest) chunk bytes;
// L mod 257 of 0 stands for a long-message error.
#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"
#include "Engine/RededoVuvuvaCommon/SysExMessages.h"
#include "QZFramework/Midi/MidiSysExAssembly.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

constexpr std::uint32_t kBufferSize = 256;

void RunReplyTests(const QZ::IArray<signed char>& reply)
{
    const bool dump = QZ::IsPresetDumpReply(reply);
    const bool global = QZ::IsGlobalParameterReply(reply);
    const bool identity = QZ::IsIdentityReply(reply);
    const bool useable = QZ::IsFirmwareVersionReplyUseable(reply);
    (void)QZ::IsSysExHeaderValid(reply);
    (void)QZ::GetGlobalParameterValueFromReply(reply);
    const QZ::WideString name = QZ::GetGlobalParameterNameFromReply(reply);
    if ((dump && reply.GetCount() != QZ::kPresetMessageLength) ||
        (global && reply.GetCount() != 15) || (useable && !identity) ||
        (!name.IsEmpty() && reply.GetCount() < 13))
    {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QZ::LMidiSysExAssembly assembly;
    std::size_t offset = 0;
    while (offset + 2 <= size)
    {
        const std::uint32_t length = (data[offset] | (data[offset + 1] << 8)) % (kBufferSize + 1);
        offset += 2;
        if (length == 0)
        {
            assembly.Drop();
            continue;
        }
        const auto taken = static_cast<std::uint32_t>(std::min<std::size_t>(length, size - offset));
        const std::uint8_t* chunk = data + offset;
        offset += taken;
        const QZ::RCPtr<QZ::LMidiCaptureNotificationData> message = assembly.Add(
            chunk, taken, QZ::LMidiSysExAssembly::IsChunkComplete(chunk, taken, kBufferSize),
            u"MIDIIN4 (Tarn 61)");
        if (message.IsNull())
        {
            continue;
        }
        const auto& bytes = message->GetData();
        if (bytes.GetCount() == 0 || static_cast<std::uint8_t>(*bytes.GetItemPtr(0)) != 0xF0 ||
            bytes.GetCount() > QZ::LMidiSysExAssembly::kMaxMessageLength)
        {
            std::abort();
        }
        RunReplyTests(bytes);
    }
    QZ::Array<signed char> raw(static_cast<std::int32_t>(std::min<std::size_t>(size, 70000)));
    for (std::int32_t i = 0; i < raw.GetCount(); ++i)
    {
        *raw.GetPtrAt(i) = static_cast<signed char>(data[i]);
    }
    RunReplyTests(raw);
    return 0;
}
