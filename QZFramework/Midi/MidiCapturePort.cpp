#include "QZFramework/Midi/MidiCapturePort.h"

#include "QZFramework/Midi/MidiComm.h"

#include <algorithm>

namespace QZ
{

LMidiCapturePort::LMidiCapturePort(const WideString& name,
                                   std::unique_ptr<Platform::MidiInput> handle,
                                   const RCPtr<LMidiComm>& owner)
    : mName(name), mHandle(std::move(handle)), mOwner(owner)
{
    for (InputBuffer& buffer : mBuffers)
    {
        buffer.header.data = buffer.data.data();
        buffer.header.bufferLength = kBufferSize;
        buffer.header.user = &buffer.header;
        if (Failed(mHandle->PrepareBuffer(buffer.header)))
        {
            continue;
        }
        buffer.preparedOn = mHandle.get();
        (void)mHandle->AddBuffer(buffer.header);
    }
}

LMidiCapturePort::~LMidiCapturePort()
{
    mClosing = true;
    if (!mHandle)
    {
        return;
    }
    (void)mHandle->Stop();
    (void)mHandle->Reset();
    for (InputBuffer& buffer : mBuffers)
    {
        if (buffer.preparedOn != nullptr)
        {
            (void)mHandle->UnprepareBuffer(buffer.header);
            buffer.preparedOn = nullptr;
        }
    }
    mHandle.reset();
}

QZRESULT LMidiCapturePort::ReleaseInternalReferences()
{
    RCPtr<LMidiCapturePort> removed;
    if (Failed(mOwner->RemoveCapturePort(*this, removed)))
    {
        return E_FAIL;
    }
    // Not the last reference: the caller's Release drops that one, outside the service's lock.
    removed.Reset();
    return (GetInternalRefCount() == 0 && GetRefCount() == 1) ? S_OK : E_FAIL;
}

RCPtr<LMidiCaptureNotificationData> LMidiCapturePort::TakeChunk(Platform::MidiBuffer* header,
                                                                bool broken)
{
    const auto own = std::find_if(mBuffers.begin(), mBuffers.end(),
                                  [&](const InputBuffer& buffer)
                                  { return header != nullptr && header->user == &buffer.header; });
    if (own == mBuffers.end())
    {
        return nullptr;
    }
    RCPtr<LMidiCaptureNotificationData> message;
    if (broken)
    {
        mAssembly.Drop();
    }
    else
    {
        const std::uint32_t length = std::min(header->bytesRecorded, kBufferSize);
        message = mAssembly.Add(
            header->data, length,
            LMidiSysExAssembly::IsChunkComplete(header->data, length, kBufferSize), mName);
    }
    HandBack(header);
    return message;
}

void LMidiCapturePort::HandBack(Platform::MidiBuffer* header)
{
    if (mClosing || !mHandle)
    {
        return;
    }
    for (InputBuffer& buffer : mBuffers)
    {
        if (header->user != &buffer.header || buffer.preparedOn != mHandle.get())
        {
            continue;
        }
        buffer.header.flags &= ~Platform::MidiBuffer::kDone;
        buffer.header.bytesRecorded = 0;
        if (Succeeded(mHandle->PrepareBuffer(buffer.header)))
        {
            (void)mHandle->AddBuffer(buffer.header);
        }
        return;
    }
}

} // namespace QZ
