// The input half that every backend shares: it turns the bytes a transport receives into the
// callbacks of MidiInput, the way a multimedia MIDI driver does.
//
// A backend's transport hands over each event's bytes with Post, on whatever thread it runs; Post
// shows them to the event observer and copies them into a queue, so a transport thread never
// waits for user code beyond the observer. A delivery thread owned by
// the stream parses the bytes in arrival order: short messages (with running status) become Data
// callbacks stamped with their arrival time, real-time bytes are delivered at once even inside a
// System Exclusive message, and System Exclusive bytes are written into the queued buffers, each
// handed back as LongData when it is full or holds the closing F7. A message cut short by a status
// byte or a new F0 hands its buffer back as LongError; bytes that find no queued buffer are lost,
// and the end of such a message is reported as LongError with the buffer queued by then, if any.
//
// A stream made to deliver inline has no delivery thread: Post parses and calls back on the
// posting thread before it returns, one posting thread at a time.
//
// A backend's destructor disconnects its transport and then calls Close, so that no callback runs
// once the backend object is gone.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace Platform
{

class MidiInputStream : public MidiInput
{
public:
    ~MidiInputStream() override;

    [[nodiscard]] QZRESULT PrepareBuffer(MidiBuffer& buffer) override;
    [[nodiscard]] QZRESULT UnprepareBuffer(MidiBuffer& buffer) override;
    [[nodiscard]] QZRESULT AddBuffer(MidiBuffer& buffer) override;
    [[nodiscard]] QZRESULT Start() override;
    [[nodiscard]] QZRESULT Stop() override;
    [[nodiscard]] QZRESULT Reset() override;
    void SetEventObserver(EventObserver observer) override;

protected:
    MidiInputStream(MidiInputCallback callback, void* instance, bool deliverInline = false);

    // Any thread, one event at a time; timeUs is its arrival on the transport's clock. Events
    // that arrive while the input is stopped are dropped.
    void Post(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs);
    // The steady clock in microseconds, for transports without a clock of their own.
    static std::uint64_t SteadyMicroseconds();
    // Ends delivery and waits for a callback under way; idempotent.
    void Close();

private:
    struct Block
    {
        std::vector<std::uint8_t> bytes;
        std::uint32_t timestamp = 0;
    };
    struct Event
    {
        MidiInputMessage message;
        std::uintptr_t param1;
        std::uintptr_t param2;
    };
    using Events = std::vector<Event>;

    void DeliveryLoop();
    // Parses the bytes of one event with lock held, releasing it around each callback.
    void Deliver(std::unique_lock<std::mutex>& lock, const std::uint8_t* bytes, std::size_t count,
                 std::uint32_t timestamp);
    void DeliverInline(const std::uint8_t* bytes, std::size_t count);
    void Dispatch(const Events& events);

    // The parser; all of it runs under mMutex.
    void ParseByte(std::uint8_t byte, std::uint32_t timestamp, Events& events);
    void ParseStatus(std::uint8_t status, std::uint32_t timestamp, Events& events);
    void ParseData(std::uint8_t byte, std::uint32_t timestamp, Events& events);
    void WriteSysEx(std::uint8_t byte, std::uint32_t timestamp, Events& events);
    void EndSysEx(MidiInputMessage message, std::uint32_t timestamp, Events& events);
    void HandBackFront(MidiInputMessage message, std::uint32_t timestamp, Events& events);
    void ClearParser();
    std::uint32_t Now() const;

    const MidiInputCallback mCallback;
    void* const mInstance;
    const bool mDeliverInline;

    std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<Block> mBlocks;
    std::deque<MidiBuffer*> mBuffers;
    bool mStarted = false;
    bool mClosing = false;
    std::chrono::steady_clock::time_point mStartTime;
    // Held while the observer runs, so that setting a new one waits for the old one to finish.
    std::mutex mObserverMutex;
    EventObserver mObserver;

    bool mInSysEx = false;
    bool mSysExLost = false;
    std::uint8_t mStatus = 0;
    std::uint8_t mRunningStatus = 0;
    std::uint8_t mData[2] = {0, 0};
    std::uint32_t mDataCount = 0;

    // Held by an inline delivery for its whole run, so that Close waits for it; recursive, so that
    // a callback may close its own stream.
    std::recursive_mutex mInlineMutex;
    std::thread mThread;
};

} // namespace Platform
