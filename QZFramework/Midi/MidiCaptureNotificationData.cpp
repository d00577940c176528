#include "QZFramework/Midi/MidiCaptureNotificationData.h"

#include <cstring>

namespace QZ
{

LMidiCaptureNotificationData::LMidiCaptureNotificationData(const WideString& portName,
                                                           std::uint32_t timestamp)
    : mPortName(portName), mTimestamp(timestamp)
{
}

void* LMidiCaptureNotificationData::operator new(std::size_t size)
{
    return GetAllocator().Allocate(size);
}

void LMidiCaptureNotificationData::operator delete(void* address) noexcept
{
    GetAllocator().Free(address);
}

ReuseAllocator<LMidiCaptureNotificationData, 4>& LMidiCaptureNotificationData::GetAllocator()
{
    // Never destroyed: messages may still be released while static objects are torn down.
    static auto* allocator = new ReuseAllocator<LMidiCaptureNotificationData, 4>(true);
    return *allocator;
}

QZRESULT LMidiCaptureNotificationData::Append(const std::uint8_t* bytes, std::int32_t count)
{
    const std::int32_t old = mData.GetCount();
    if (count <= 0)
    {
        return S_OK;
    }
    if (count > mData.GetMaxCount() - old || Failed(mData.SetCount(old + count)))
    {
        return E_FAIL;
    }
    std::memcpy(mData.GetPtrAt(old), bytes, static_cast<std::size_t>(count));
    return S_OK;
}

} // namespace QZ
