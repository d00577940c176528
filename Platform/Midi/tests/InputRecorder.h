// Records what an input of the MIDI driver layer hands back, for tests: each callback becomes an
// entry with its bytes; buffers go back to the input at once unless told otherwise.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Platform::Testing
{

struct InputEntry
{
    MidiInputMessage message;
    std::vector<std::uint8_t> bytes;
    std::uint32_t timestamp = 0;
};

// The bytes of every entry, one after the other.
inline std::vector<std::uint8_t> Joined(const std::vector<InputEntry>& entries)
{
    std::vector<std::uint8_t> bytes;
    for (const InputEntry& entry : entries)
    {
        bytes.insert(bytes.end(), entry.bytes.begin(), entry.bytes.end());
    }
    return bytes;
}

class InputRecorder
{
public:
    static constexpr std::uint32_t kBufferSize = 256;
    static constexpr int kBufferCount = 3;

    static void Callback(MidiInput*, MidiInputMessage message, void* instance,
                         std::uintptr_t param1, std::uintptr_t param2)
    {
        static_cast<InputRecorder*>(instance)->Record(message, param1, param2);
    }

    // Prepares and queues the buffers, then starts the input.
    void Attach(MidiInput& input, int buffers = kBufferCount)
    {
        mInput = &input;
        for (int i = 0; i < buffers; ++i)
        {
            MidiBuffer& buffer = mBuffers[i].header;
            buffer.data = mBuffers[i].data.data();
            buffer.bufferLength = kBufferSize;
            (void)input.PrepareBuffer(buffer);
            (void)input.AddBuffer(buffer);
        }
        (void)input.Start();
    }

    void SetRequeue(bool requeue)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRequeue = requeue;
    }

    MidiBuffer& Buffer(int index) { return mBuffers[index].header; }

    // Waits until count entries are in, at most timeout; returns what is in.
    std::vector<InputEntry> WaitFor(std::size_t count,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(2))
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mChanged.wait_for(lock, timeout, [&] { return mEntries.size() >= count; });
        return mEntries;
    }

    std::vector<InputEntry> Entries()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mEntries;
    }

private:
    struct Slot
    {
        MidiBuffer header;
        std::array<std::uint8_t, kBufferSize> data{};
    };

    void Record(MidiInputMessage message, std::uintptr_t param1, std::uintptr_t param2)
    {
        InputEntry entry{message, {}, static_cast<std::uint32_t>(param2)};
        bool requeue = false;
        MidiBuffer* buffer = nullptr;
        if (message == MidiInputMessage::Data)
        {
            const std::uint32_t length = GetShortMessageLength(param1 & 0xFF);
            for (std::uint32_t i = 0; i < length; ++i)
            {
                entry.bytes.push_back(static_cast<std::uint8_t>(param1 >> (8 * i)));
            }
        }
        else
        {
            buffer = reinterpret_cast<MidiBuffer*>(param1);
            entry.bytes.assign(buffer->data, buffer->data + buffer->bytesRecorded);
        }
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mEntries.push_back(std::move(entry));
            requeue = mRequeue;
        }
        if (buffer != nullptr && requeue)
        {
            (void)mInput->AddBuffer(*buffer);
        }
        mChanged.notify_all();
    }

    MidiInput* mInput = nullptr;
    std::array<Slot, kBufferCount> mBuffers{};
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<InputEntry> mEntries;
    bool mRequeue = true;
};

// Counts the Done callbacks of an output.
class OutputRecorder
{
public:
    static void Callback(MidiOutput*, MidiOutputMessage message, void* instance,
                         std::uintptr_t param1, std::uintptr_t)
    {
        auto* self = static_cast<OutputRecorder*>(instance);
        if (message == MidiOutputMessage::Done)
        {
            std::lock_guard<std::mutex> lock(self->mMutex);
            self->mDone.push_back(reinterpret_cast<MidiBuffer*>(param1));
        }
    }

    std::vector<MidiBuffer*> Done()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mDone;
    }

private:
    std::mutex mMutex;
    std::vector<MidiBuffer*> mDone;
};

// A System Exclusive message of length bytes: F0, data bytes counting up, F7.
// The device number of the driver's input or output device of that name, or -1.
inline int FindDevice(MidiDriver& driver, const std::string& wanted, bool inputs)
{
    const std::uint32_t count = inputs ? driver.GetInputCount() : driver.GetOutputCount();
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::string name;
        const QZ::QZRESULT found =
            inputs ? driver.GetInputName(i, name) : driver.GetOutputName(i, name);
        if (QZ::Succeeded(found) && name == wanted)
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

inline std::vector<std::uint8_t> MakeSysEx(std::size_t length)
{
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(i % 0x80);
    }
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

} // namespace Platform::Testing
