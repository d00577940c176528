// The emulated Tarn 61: a peer that behaves as the keyboard does on the wire, for every test of
// a transfer, since no real keyboard is ever attached to the machines that run them.
//
// It publishes the keyboard's fourth port pair on a MIDI driver: "MIDIIN4 (Tarn 61)", which the
// program reads, and "MIDIOUT4 (Tarn 61)", which the program sends to. It answers the universal
// Identity Request with its firmware version, keeps 13 preset slots (0 "RAM" and 1 to 12) of 1,338
// value bytes (the device model's defaults unless a test gives others), answers a get-preset with a
// 1,350-byte dump, stores a send-preset, keeps the 16 global settings, answers a global-parameter
// request, and takes the preamble without answering. Every whole System Exclusive message it
// receives is kept for the test to read.
//
// A test can make it misbehave: stay silent, answer late, answer with bytes taken from or added to
// the end of the message (the F7 stays last), or send its answer in small pieces. A late answer
// leaves a fixed time after its request, as behind a slow USB hub: the keyboard goes on receiving
// meanwhile, and answers keep the order of their requests.
//
// In strict mode it is as particular as the keyboard's small receive buffer: it logs every event
// that reaches its input with its size and arrival time, and drops a send-preset whose pieces
// came less than 9 ms apart or held more than 256 bytes, saying so in its log; every global
// setting it takes is logged with its new value.
//
// Requests are handled on the driver's delivery thread of its input; answers are sent from the
// emulator's own sending thread. The accessors may be called from any thread.
#pragma once

#include "Platform/Midi/MidiDriver.h"
#include "Tools/Tarn61Emulator/DefaultPreset.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Tarn61
{

using Platform::QZRESULT;

class Tarn61Emulator
{
public:
    static constexpr int kSlotCount = 13;
    static constexpr std::size_t kValueAreaSize = 1338;
    static constexpr int kGlobalCount = 16;
    static constexpr const char* kInputPortName = "MIDIOUT4 (Tarn 61)";
    static constexpr const char* kOutputPortName = "MIDIIN4 (Tarn 61)";

    using Message = std::vector<std::uint8_t>;
    using ValueArea = std::array<std::uint8_t, kValueAreaSize>;
    using FirmwareVersion = std::array<std::uint8_t, 4>;

    struct Behaviour
    {
        bool silent = false;
        // How long after its request each answer leaves.
        std::chrono::milliseconds replyDelay{0};
        // Negative: that many bytes before the closing F7 are left out; positive: that many
        // zero bytes are added before it.
        int replyLengthChange = 0;
        // Sends each answer in pieces of this many bytes (0: whole), with the gap between them.
        std::size_t replyPieceSize = 0;
        std::chrono::milliseconds replyPieceGap{0};
        bool strict = false;
    };
    // Takes one line of the log (no newline), on a thread of the driver.
    using LogSink = std::function<void(const std::string& line)>;

    // Every slot starts with initialSlot; the firmware version is "1027" (1.0.2.7).
    explicit Tarn61Emulator(std::shared_ptr<Platform::MidiDriver> driver,
                            const ValueArea& initialSlot = MakeDefaultPreset());
    ~Tarn61Emulator();
    Tarn61Emulator(const Tarn61Emulator&) = delete;
    Tarn61Emulator& operator=(const Tarn61Emulator&) = delete;

    // Publishes both ports; E_FAIL when the driver cannot, and then nothing stays published.
    [[nodiscard]] QZRESULT Start();
    // Withdraws both ports; waits for an answer under way and drops those not yet due.
    void Stop();

    void SetFirmwareVersion(const FirmwareVersion& version);
    // Applies to the requests that arrive from now on.
    void SetBehaviour(const Behaviour& behaviour);
    void SetLogSink(LogSink sink);

    // Slots outside 0 to 12 and indexes outside 0 to 15 are ignored (reads give zeros).
    ValueArea GetSlot(int slot) const;
    void SetSlot(int slot, const ValueArea& values);
    std::int32_t GetGlobal(int index) const;
    void SetGlobal(int index, std::int32_t value);

    // The whole System Exclusive messages received so far, in order.
    std::vector<Message> GetReceivedMessages() const;
    // Waits until count messages have been received, at most timeout; true when they have.
    bool WaitForMessages(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    static constexpr std::uint32_t kBufferSize = 256;
    static constexpr int kBufferCount = 4;

    struct InputSlot
    {
        Platform::MidiBuffer header;
        std::array<std::uint8_t, kBufferSize> data{};
    };

    static void InputCallback(Platform::MidiInput* handle, Platform::MidiInputMessage message,
                              void* instance, std::uintptr_t param1, std::uintptr_t param2);
    static void OutputCallback(Platform::MidiOutput* handle, Platform::MidiOutputMessage message,
                               void* instance, std::uintptr_t param1, std::uintptr_t param2);

    // A message as its events arrived: the bytes, and why strict mode refuses it (empty: it
    // does not).
    struct Arrival
    {
        Message bytes;
        std::string refusal;
    };

    void OnEvent(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs);
    // Under mMutex: why strict mode refuses the whole message, empty when it does not.
    std::string GetRefusal(const Message& message);
    void Log(const std::string& line);
    void OnChunk(Platform::MidiInput& input, Platform::MidiBuffer& buffer, bool error);
    void Handle(const Message& message);
    // The answer to a request, or an empty message when none is due.
    Message Answer(const Message& request);
    Message MakeIdentityReply() const;
    Message MakePresetDump(int slot) const;
    Message MakeGlobalReply(int index) const;
    void Queue(Message reply, const Behaviour& behaviour);
    void SendLoop();
    void StopSending();
    // Sends the answer as behaviour, the keyboard's behaviour when its request came, asks.
    void Send(Message reply, const Behaviour& behaviour);
    bool SendPiece(const std::uint8_t* bytes, std::size_t count);

    const std::shared_ptr<Platform::MidiDriver> mDriver;

    mutable std::mutex mMutex;
    mutable std::condition_variable mReceivedChanged;
    std::array<ValueArea, kSlotCount> mSlots{};
    std::array<std::int32_t, kGlobalCount> mGlobals{};
    FirmwareVersion mFirmware{'1', '0', '2', '7'};
    Behaviour mBehaviour;
    std::vector<Message> mReceived;
    // The messages whose events have all arrived, not yet handled.
    std::deque<Arrival> mArrivals;

    // Touched only on the thread that delivers events.
    Arrival mArriving;
    bool mTracking = false;
    std::uint64_t mLastEventUs = 0;

    std::mutex mLogMutex;
    LogSink mLogSink;

    // Touched only on the input's delivery thread.
    Message mPending;
    bool mAssembling = false;

    struct DueAnswer
    {
        std::chrono::steady_clock::time_point due;
        Message reply;
        Behaviour behaviour;
    };
    std::mutex mQueueMutex;
    std::condition_variable mQueueChanged;
    std::deque<DueAnswer> mQueue;
    bool mStopping = false;
    std::thread mSender;

    std::mutex mSendMutex;
    std::condition_variable mSendDone;
    bool mPieceDone = false;

    std::array<InputSlot, kBufferCount> mBuffers{};
    std::unique_ptr<Platform::MidiOutput> mOutput;
    std::unique_ptr<Platform::MidiInput> mInput;
};

} // namespace Tarn61
