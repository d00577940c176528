#include "Platform/Midi/MidiOutputStream.h"

namespace Platform
{

MidiOutputStream::MidiOutputStream(MidiOutputCallback callback, void* instance)
    : mCallback(callback), mInstance(instance)
{
}

QZRESULT MidiOutputStream::PrepareBuffer(MidiBuffer& buffer)
{
    if (buffer.data == nullptr || buffer.bufferLength == 0)
    {
        return QZ::E_INVALIDARG;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    buffer.flags |= MidiBuffer::kPrepared;
    return QZ::S_OK;
}

QZRESULT MidiOutputStream::UnprepareBuffer(MidiBuffer& buffer)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if ((buffer.flags & MidiBuffer::kInQueue) != 0)
    {
        return QZ::E_FAIL;
    }
    buffer.flags &= ~MidiBuffer::kPrepared;
    return QZ::S_OK;
}

QZRESULT MidiOutputStream::SendLong(MidiBuffer& buffer)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if ((buffer.flags & MidiBuffer::kPrepared) == 0 ||
            (buffer.flags & MidiBuffer::kInQueue) != 0 || buffer.data == nullptr ||
            buffer.bufferLength == 0)
        {
            return QZ::E_FAIL;
        }
        buffer.flags = (buffer.flags | MidiBuffer::kInQueue) & ~MidiBuffer::kDone;
    }
    const QZRESULT result = TransmitLong(buffer);
    if (QZ::Failed(result))
    {
        std::lock_guard<std::mutex> lock(mMutex);
        buffer.flags &= ~MidiBuffer::kInQueue;
    }
    return result;
}

QZRESULT MidiOutputStream::SendShort(std::uint32_t message)
{
    const std::uint8_t status = static_cast<std::uint8_t>(message & 0xFF);
    if (status < 0x80 || status == 0xF0 || status == 0xF7)
    {
        return QZ::E_FAIL;
    }
    const std::uint32_t count = GetShortMessageLength(status);
    std::uint8_t bytes[3] = {status, 0, 0};
    for (std::uint32_t i = 1; i < count; ++i)
    {
        bytes[i] = static_cast<std::uint8_t>((message >> (8 * i)) & 0xFF);
        if (bytes[i] >= 0x80)
        {
            return QZ::E_FAIL;
        }
    }
    return TransmitShort(bytes, count);
}

QZRESULT MidiOutputStream::Reset()
{
    return QZ::S_OK;
}

void MidiOutputStream::Complete(MidiBuffer& buffer)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        buffer.flags = (buffer.flags & ~MidiBuffer::kInQueue) | MidiBuffer::kDone;
    }
    mCallback(this, MidiOutputMessage::Done, mInstance, reinterpret_cast<std::uintptr_t>(&buffer),
              0);
}

} // namespace Platform
