#include "Engine/RededoVuvuvaCommon/SysExSender.h"

#include "Engine/RededoVuvuvaCommon/SysExMessages.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <algorithm>
#include <chrono>

namespace QZ
{
namespace
{

constexpr std::int32_t kNoPortOrService = -1;

bool IsStatus(signed char byte)
{
    return byte < 0;
}

// Puts F0 in front and F7 at the end where they are missing.
QZRESULT Frame(IArray<signed char>& message)
{
    const std::int32_t count = message.GetCount();
    if (count == 0)
    {
        return E_FAIL;
    }
    const auto first = static_cast<std::uint8_t>(*message.GetItemPtr(0));
    const auto last = static_cast<std::uint8_t>(*message.GetItemPtr(count - 1));
    if (count == 1 && (first == kSysExStart || first == kSysExEnd))
    {
        return E_FAIL;
    }
    const bool needsStart = count == 1 || first != kSysExStart;
    const bool needsEnd = count == 1 || last != kSysExEnd;
    // Only the framing bytes may be status bytes.
    const signed char* body = message.GetItemPtr(needsStart ? 0 : 1);
    const signed char* bodyEnd = message.GetItemPtr(0) + count - (needsEnd ? 0 : 1);
    if (std::any_of(body, bodyEnd, IsStatus))
    {
        return E_FAIL;
    }
    if (count + static_cast<std::int32_t>(needsStart) + static_cast<std::int32_t>(needsEnd) >
        message.GetMaxCount())
    {
        return E_FAIL;
    }
    if (needsStart && Failed(message.InsertAt(0, static_cast<signed char>(kSysExStart))))
    {
        return E_FAIL;
    }
    if (needsEnd && Failed(message.Add(static_cast<signed char>(kSysExEnd))))
    {
        return E_FAIL;
    }
    return S_OK;
}

} // namespace

std::int32_t SendSysExMessage(const RCPtr<LMidiCommInterface>& comm, IArray<signed char>& message,
                              const RCPtr<LRefCountedObject>& port, bool noPreamble,
                              MidiPacing& pacing)
{
    if (!noPreamble)
    {
        SysExMessage preamble = BuildPreambleMessage();
        const std::int32_t sent = SendSysExMessage(comm, preamble, port, true, pacing);
        if (sent < 0)
        {
            return sent;
        }
    }
    if (comm.IsNull() || port.IsNull())
    {
        return kNoPortOrService;
    }
    if (Failed(Frame(message)))
    {
        return E_FAIL;
    }
    std::int32_t result = S_OK;
    const std::int32_t count = message.GetCount();
    for (std::int32_t offset = 0; offset < count; offset += kSysExPieceLength)
    {
        const std::int32_t length = std::min(kSysExPieceLength, count - offset);
        SysExMessage piece(length);
        std::copy_n(message.GetItemPtr(offset), length, piece.GetPtrAt(0));
        result = comm->SendData(port, piece);
        if (result < 0)
        {
            return result;
        }
        pacing.Pause(std::chrono::milliseconds(kSysExPiecePauseMs));
    }
    return result;
}

} // namespace QZ
