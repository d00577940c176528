#include "QZFramework/Midi/MidiRenderPort.h"

#include "QZFramework/Midi/MidiComm.h"
#include "QZFramework/System/EventHandle.h"

#include <algorithm>
#include <vector>

namespace QZ
{
namespace
{

bool IsLongMessageStart(std::uint8_t first)
{
    return first == 0xF0 || first == 0xF7 || first < 0x80;
}

// What a sent short message reports: 0 for a channel message, else the system message's kind.
QZRESULT ShortMessageResult(std::uint8_t status)
{
    if (status < 0xF0)
    {
        return 0;
    }
    switch (status)
    {
    case 0xF1:
    case 0xF3:
    case 0xF4:
    case 0xF5:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1;
    }
}

} // namespace

LMidiRenderPort::LMidiRenderPort(const WideString& name,
                                 std::unique_ptr<Platform::MidiOutput> handle,
                                 const RCPtr<LMidiComm>& owner)
    : mName(name), mHandle(std::move(handle)), mOwner(owner)
{
    mLight.SetGreen();
}

LMidiRenderPort::~LMidiRenderPort()
{
    mHandle.reset();
}

QZRESULT LMidiRenderPort::ReleaseInternalReferences()
{
    RCPtr<LMidiRenderPort> removed;
    if (Failed(mOwner->RemoveRenderPort(*this, removed)))
    {
        return E_FAIL;
    }
    removed.Reset();
    return (GetInternalRefCount() == 0 && GetRefCount() == 1) ? S_OK : E_FAIL;
}

QZRESULT LMidiRenderPort::Send(const IArray<signed char>& bytes, std::uint32_t timeoutMs)
{
    std::lock_guard<std::mutex> lock(mSendLock);
    if (IsLongMessageStart(static_cast<std::uint8_t>(*bytes.GetItemPtr(0))))
    {
        return SendLong(bytes, timeoutMs);
    }
    return SendShort(bytes);
}

QZRESULT LMidiRenderPort::SendLong(const IArray<signed char>& bytes, std::uint32_t timeoutMs)
{
    // The driver reads this copy until the message completes or the output is reset.
    std::vector<std::uint8_t> data(bytes.Begin(), bytes.End());
    Platform::MidiBuffer header;
    header.data = data.data();
    header.bufferLength = static_cast<std::uint32_t>(data.size());
    header.bytesRecorded = header.bufferLength;
    if (Failed(mHandle->PrepareBuffer(header)))
    {
        return E_FAIL;
    }
    mLight.SetRed();
    bool sent = Succeeded(mHandle->SendLong(header));
    if (sent && mLight.Wait(timeoutMs) == kWaitTimeout)
    {
        sent = false;
        (void)mHandle->Reset();
    }
    (void)mHandle->UnprepareBuffer(header);
    mLight.SetGreen();
    return sent ? static_cast<QZRESULT>(data.size()) : E_FAIL;
}

QZRESULT LMidiRenderPort::SendShort(const IArray<signed char>& bytes)
{
    std::uint32_t packed = 0;
    const std::int32_t count = std::min(bytes.GetCount(), 4);
    for (std::int32_t i = 0; i < count; ++i)
    {
        packed |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(*bytes.GetItemPtr(i)))
                  << (8 * i);
    }
    if (Failed(mHandle->SendShort(packed)))
    {
        return E_FAIL;
    }
    return ShortMessageResult(static_cast<std::uint8_t>(packed & 0xFF));
}

} // namespace QZ
