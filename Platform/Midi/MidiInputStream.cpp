#include "Platform/Midi/MidiInputStream.h"

namespace Platform
{
namespace
{

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr std::uint8_t kFirstRealTime = 0xF8;

std::uintptr_t Pack(std::uint8_t status, const std::uint8_t* data, std::uint32_t count)
{
    std::uintptr_t packed = status;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        packed |= static_cast<std::uintptr_t>(data[i]) << (8 * (i + 1));
    }
    return packed;
}

} // namespace

MidiInputStream::MidiInputStream(MidiInputCallback callback, void* instance, bool deliverInline)
    : mCallback(callback), mInstance(instance), mDeliverInline(deliverInline)
{
    if (!deliverInline)
    {
        mThread = std::thread([this] { DeliveryLoop(); });
    }
}

MidiInputStream::~MidiInputStream()
{
    Close();
}

void MidiInputStream::Close()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mClosing = true;
        mStarted = false;
        mBlocks.clear();
    }
    mWake.notify_all();
    if (mThread.joinable() && mThread.get_id() != std::this_thread::get_id())
    {
        mThread.join();
    }
    const std::lock_guard<std::recursive_mutex> inlineDone(mInlineMutex);
}

QZRESULT MidiInputStream::PrepareBuffer(MidiBuffer& buffer)
{
    if (buffer.data == nullptr || buffer.bufferLength == 0)
    {
        return QZ::E_INVALIDARG;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    buffer.flags |= MidiBuffer::kPrepared;
    return QZ::S_OK;
}

QZRESULT MidiInputStream::UnprepareBuffer(MidiBuffer& buffer)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if ((buffer.flags & MidiBuffer::kInQueue) != 0)
    {
        return QZ::E_FAIL;
    }
    buffer.flags &= ~MidiBuffer::kPrepared;
    return QZ::S_OK;
}

QZRESULT MidiInputStream::AddBuffer(MidiBuffer& buffer)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if ((buffer.flags & MidiBuffer::kPrepared) == 0 || (buffer.flags & MidiBuffer::kInQueue) != 0 ||
        buffer.data == nullptr || buffer.bufferLength == 0 || mClosing)
    {
        return QZ::E_FAIL;
    }
    buffer.flags = (buffer.flags | MidiBuffer::kInQueue) & ~MidiBuffer::kDone;
    buffer.bytesRecorded = 0;
    mBuffers.push_back(&buffer);
    return QZ::S_OK;
}

QZRESULT MidiInputStream::Start()
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (mClosing)
    {
        return QZ::E_FAIL;
    }
    if (!mStarted)
    {
        mStarted = true;
        mStartTime = std::chrono::steady_clock::now();
    }
    return QZ::S_OK;
}

QZRESULT MidiInputStream::Stop()
{
    Events events;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStarted = false;
        mBlocks.clear();
        if (mInSysEx)
        {
            EndSysEx(MidiInputMessage::LongError, 0, events);
        }
        ClearParser();
    }
    Dispatch(events);
    return QZ::S_OK;
}

QZRESULT MidiInputStream::Reset()
{
    Events events;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStarted = false;
        mBlocks.clear();
        if (mInSysEx)
        {
            EndSysEx(MidiInputMessage::LongError, 0, events);
        }
        while (!mBuffers.empty())
        {
            HandBackFront(MidiInputMessage::LongData, 0, events);
        }
        ClearParser();
    }
    Dispatch(events);
    return QZ::S_OK;
}

void MidiInputStream::SetEventObserver(EventObserver observer)
{
    std::lock_guard<std::mutex> lock(mObserverMutex);
    mObserver = std::move(observer);
}

void MidiInputStream::Post(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs)
{
    if (count == 0)
    {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (!mStarted || mClosing)
        {
            return;
        }
    }
    {
        std::lock_guard<std::mutex> lock(mObserverMutex);
        if (mObserver)
        {
            mObserver(bytes, count, timeUs);
        }
    }
    if (mDeliverInline)
    {
        DeliverInline(bytes, count);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (!mStarted || mClosing)
        {
            return;
        }
        mBlocks.push_back(Block{std::vector<std::uint8_t>(bytes, bytes + count), Now()});
    }
    mWake.notify_one();
}

void MidiInputStream::DeliverInline(const std::uint8_t* bytes, std::size_t count)
{
    // The bytes are parsed where the transport holds them: nothing waits for them in a queue.
    const std::lock_guard<std::recursive_mutex> inlineLock(mInlineMutex);
    std::unique_lock<std::mutex> lock(mMutex);
    if (mStarted && !mClosing)
    {
        Deliver(lock, bytes, count, Now());
    }
}

std::uint64_t MidiInputStream::SteadyMicroseconds()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void MidiInputStream::DeliveryLoop()
{
    std::unique_lock<std::mutex> lock(mMutex);
    for (;;)
    {
        mWake.wait(lock, [this] { return mClosing || !mBlocks.empty(); });
        if (mClosing)
        {
            return;
        }
        const Block block = std::move(mBlocks.front());
        mBlocks.pop_front();
        Deliver(lock, block.bytes.data(), block.bytes.size(), block.timestamp);
    }
}

void MidiInputStream::Deliver(std::unique_lock<std::mutex>& lock, const std::uint8_t* bytes,
                              std::size_t count, std::uint32_t timestamp)
{
    // Each callback runs before the next byte is parsed, so a buffer the callback queues again is
    // there for the rest of the block, as it would be at wire speed.
    Events events;
    for (std::size_t i = 0; i < count && mStarted; ++i)
    {
        ParseByte(bytes[i], timestamp, events);
        if (!events.empty())
        {
            lock.unlock();
            Dispatch(events);
            events.clear();
            lock.lock();
        }
    }
}

void MidiInputStream::Dispatch(const Events& events)
{
    for (const Event& event : events)
    {
        mCallback(this, event.message, mInstance, event.param1, event.param2);
    }
}

void MidiInputStream::ParseByte(std::uint8_t byte, std::uint32_t timestamp, Events& events)
{
    if (byte >= kFirstRealTime)
    {
        events.push_back({MidiInputMessage::Data, byte, timestamp});
        return;
    }
    if (mInSysEx)
    {
        if (byte < 0x80 || byte == kSysExEnd)
        {
            WriteSysEx(byte, timestamp, events);
            return;
        }
        EndSysEx(MidiInputMessage::LongError, timestamp, events);
    }
    if (byte == kSysExStart)
    {
        mInSysEx = true;
        mSysExLost = false;
        mRunningStatus = 0;
        mStatus = 0;
        WriteSysEx(byte, timestamp, events);
        return;
    }
    if (byte >= 0x80)
    {
        ParseStatus(byte, timestamp, events);
        return;
    }
    ParseData(byte, timestamp, events);
}

void MidiInputStream::ParseStatus(std::uint8_t status, std::uint32_t timestamp, Events& events)
{
    if (status == kSysExEnd)
    {
        return;
    }
    // System common messages cancel running status; channel messages set it.
    mRunningStatus = status < 0xF0 ? status : 0;
    mDataCount = 0;
    if (GetShortMessageLength(status) == 1)
    {
        mStatus = 0;
        events.push_back({MidiInputMessage::Data, status, timestamp});
        return;
    }
    mStatus = status;
}

void MidiInputStream::ParseData(std::uint8_t byte, std::uint32_t timestamp, Events& events)
{
    if (mStatus == 0)
    {
        if (mRunningStatus == 0)
        {
            return;
        }
        mStatus = mRunningStatus;
        mDataCount = 0;
    }
    mData[mDataCount++] = byte;
    if (mDataCount + 1 == GetShortMessageLength(mStatus))
    {
        events.push_back({MidiInputMessage::Data, Pack(mStatus, mData, mDataCount), timestamp});
        mStatus = 0;
        mDataCount = 0;
    }
}

void MidiInputStream::WriteSysEx(std::uint8_t byte, std::uint32_t timestamp, Events& events)
{
    if (!mSysExLost && mBuffers.empty())
    {
        mSysExLost = true;
    }
    if (!mSysExLost)
    {
        MidiBuffer& buffer = *mBuffers.front();
        buffer.data[buffer.bytesRecorded++] = byte;
        if (byte == kSysExEnd)
        {
            EndSysEx(MidiInputMessage::LongData, timestamp, events);
            return;
        }
        if (buffer.bytesRecorded == buffer.bufferLength)
        {
            HandBackFront(MidiInputMessage::LongData, timestamp, events);
        }
        return;
    }
    if (byte == kSysExEnd)
    {
        EndSysEx(MidiInputMessage::LongError, timestamp, events);
    }
}

void MidiInputStream::EndSysEx(MidiInputMessage message, std::uint32_t timestamp, Events& events)
{
    if (mSysExLost)
    {
        message = MidiInputMessage::LongError;
    }
    // A broken message is reported even when its last buffer went back full, so that the
    // receiver drops what it has gathered of it.
    if (!mBuffers.empty() &&
        (message == MidiInputMessage::LongError || mBuffers.front()->bytesRecorded > 0))
    {
        HandBackFront(message, timestamp, events);
    }
    mInSysEx = false;
    mSysExLost = false;
}

void MidiInputStream::HandBackFront(MidiInputMessage message, std::uint32_t timestamp,
                                    Events& events)
{
    MidiBuffer* buffer = mBuffers.front();
    mBuffers.pop_front();
    buffer->flags = (buffer->flags & ~MidiBuffer::kInQueue) | MidiBuffer::kDone;
    events.push_back({message, reinterpret_cast<std::uintptr_t>(buffer), timestamp});
}

void MidiInputStream::ClearParser()
{
    mInSysEx = false;
    mSysExLost = false;
    mStatus = 0;
    mRunningStatus = 0;
    mDataCount = 0;
}

std::uint32_t MidiInputStream::Now() const
{
    if (!mStarted)
    {
        return 0;
    }
    const auto elapsed = std::chrono::steady_clock::now() - mStartTime;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace Platform
