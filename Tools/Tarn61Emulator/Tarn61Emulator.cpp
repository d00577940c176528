#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <algorithm>
#include <thread>

namespace Tarn61
{
namespace
{

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr std::array<std::uint8_t, 7> kDeviceHeader = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06};

constexpr std::uint8_t kSendPreset = 0x61;
constexpr std::uint8_t kGetPreset = 0x62;
constexpr std::uint8_t kPresetDump = 0x63;
constexpr std::uint8_t kSetGlobal = 0x6A;
constexpr std::uint8_t kRequestGlobal = 0x6B;
constexpr std::uint8_t kGlobalReply = 0x6C;

constexpr std::size_t kPresetMessageSize = 1350;
constexpr std::size_t kValueAreaOffset = 11;
constexpr std::size_t kMaxMessageSize = 64 * 1024;
// The global settings of a fresh keyboard, in wire order: channel 1, Mackie Control, no octave
// shift and no transposition (5 and 12 are the zero points), the first curve of every list,
// program and bank 0; the XY pad's three settings at 0.
constexpr std::array<std::int32_t, Tarn61Emulator::kGlobalCount> kFreshGlobals = {
    1, 0, 0, 0, 0, 5, 12, 0, 5, 12, 0, 0, 0, 0, 0, 0};
constexpr auto kCompletionTimeout = std::chrono::seconds(2);
// What the keyboard's receive buffer takes: pieces of at most 256 bytes, at least 9 ms apart.
constexpr std::size_t kStrictPieceSize = 256;
constexpr std::uint64_t kStrictGapUs = 9000;

bool HasDeviceHeader(const Tarn61Emulator::Message& message)
{
    return message.size() >= kDeviceHeader.size() &&
           std::equal(kDeviceHeader.begin(), kDeviceHeader.end(), message.begin());
}

// F0 7E <device> 06 01 F7: the universal Identity Request, to any device ID.
bool IsIdentityRequest(const Tarn61Emulator::Message& message)
{
    return message.size() == 6 && message[0] == kSysExStart && message[1] == 0x7E &&
           message[3] == 0x06 && message[4] == 0x01 && message[5] == kSysExEnd;
}

bool IsCommand(const Tarn61Emulator::Message& message, std::uint8_t command, std::size_t size)
{
    return message.size() == size && HasDeviceHeader(message) && message[7] == command;
}

bool IsSlot(int slot)
{
    return slot >= 0 && slot < Tarn61Emulator::kSlotCount;
}

bool IsGlobalIndex(int index)
{
    return index >= 0 && index < Tarn61Emulator::kGlobalCount;
}

// The device header, then body, then room for extra bytes.
Tarn61Emulator::Message WithDeviceHeader(std::initializer_list<std::uint8_t> body,
                                         std::size_t extra = 0)
{
    Tarn61Emulator::Message message(kDeviceHeader.size() + body.size() + extra);
    std::copy(kDeviceHeader.begin(), kDeviceHeader.end(), message.begin());
    std::copy(body.begin(), body.end(), message.begin() + kDeviceHeader.size());
    return message;
}

} // namespace

Tarn61Emulator::Tarn61Emulator(std::shared_ptr<Platform::MidiDriver> driver,
                               const ValueArea& initialSlot)
    : mDriver(std::move(driver))
{
    mSlots.fill(initialSlot);
    mGlobals = kFreshGlobals;
}

Tarn61Emulator::~Tarn61Emulator()
{
    Stop();
}

QZRESULT Tarn61Emulator::Start()
{
    Stop();
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        mStopping = false;
        mQueue.clear();
    }
    mSender = std::thread([this] { SendLoop(); });
    if (QZ::Failed(mDriver->PublishOutput(kOutputPortName, &OutputCallback, this, mOutput)) ||
        QZ::Failed(mDriver->PublishInput(kInputPortName, &InputCallback, this, mInput)))
    {
        Stop();
        return QZ::E_FAIL;
    }
    mTracking = false;
    mInput->SetEventObserver([this](const std::uint8_t* bytes, std::size_t count,
                                    std::uint64_t timeUs) { OnEvent(bytes, count, timeUs); });
    for (InputSlot& slot : mBuffers)
    {
        slot.header = Platform::MidiBuffer{};
        slot.header.data = slot.data.data();
        slot.header.bufferLength = kBufferSize;
        if (QZ::Failed(mInput->PrepareBuffer(slot.header)) ||
            QZ::Failed(mInput->AddBuffer(slot.header)))
        {
            Stop();
            return QZ::E_FAIL;
        }
    }
    if (QZ::Failed(mInput->Start()))
    {
        Stop();
        return QZ::E_FAIL;
    }
    return QZ::S_OK;
}

void Tarn61Emulator::Stop()
{
    StopSending();
    // Destroying the input waits for a request being handled; the buffers are this object's own.
    mInput.reset();
    mOutput.reset();
    mPending.clear();
    mAssembling = false;
}

void Tarn61Emulator::SetFirmwareVersion(const FirmwareVersion& version)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mFirmware = version;
}

void Tarn61Emulator::SetBehaviour(const Behaviour& behaviour)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mBehaviour = behaviour;
}

void Tarn61Emulator::SetLogSink(LogSink sink)
{
    std::lock_guard<std::mutex> lock(mLogMutex);
    mLogSink = std::move(sink);
}

void Tarn61Emulator::Log(const std::string& line)
{
    std::lock_guard<std::mutex> lock(mLogMutex);
    if (mLogSink)
    {
        mLogSink(line);
    }
}

Tarn61Emulator::ValueArea Tarn61Emulator::GetSlot(int slot) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return IsSlot(slot) ? mSlots[slot] : ValueArea{};
}

void Tarn61Emulator::SetSlot(int slot, const ValueArea& values)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (IsSlot(slot))
    {
        mSlots[slot] = values;
    }
}

std::int32_t Tarn61Emulator::GetGlobal(int index) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return IsGlobalIndex(index) ? mGlobals[index] : 0;
}

void Tarn61Emulator::SetGlobal(int index, std::int32_t value)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (IsGlobalIndex(index))
    {
        mGlobals[index] = value;
    }
}

std::vector<Tarn61Emulator::Message> Tarn61Emulator::GetReceivedMessages() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mReceived;
}

bool Tarn61Emulator::WaitForMessages(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mMutex);
    return mReceivedChanged.wait_for(lock, timeout, [&] { return mReceived.size() >= count; });
}

void Tarn61Emulator::InputCallback(Platform::MidiInput* handle, Platform::MidiInputMessage message,
                                   void* instance, std::uintptr_t param1, std::uintptr_t)
{
    auto* self = static_cast<Tarn61Emulator*>(instance);
    if (message == Platform::MidiInputMessage::LongData ||
        message == Platform::MidiInputMessage::LongError)
    {
        self->OnChunk(*handle, *reinterpret_cast<Platform::MidiBuffer*>(param1),
                      message == Platform::MidiInputMessage::LongError);
    }
}

void Tarn61Emulator::OutputCallback(Platform::MidiOutput*, Platform::MidiOutputMessage message,
                                    void* instance, std::uintptr_t, std::uintptr_t)
{
    auto* self = static_cast<Tarn61Emulator*>(instance);
    if (message == Platform::MidiOutputMessage::Done)
    {
        {
            std::lock_guard<std::mutex> lock(self->mSendMutex);
            self->mPieceDone = true;
        }
        self->mSendDone.notify_all();
    }
}

void Tarn61Emulator::OnChunk(Platform::MidiInput& input, Platform::MidiBuffer& buffer, bool error)
{
    const std::uint8_t* bytes = buffer.data;
    const std::uint32_t count = buffer.bytesRecorded;
    if (error)
    {
        mPending.clear();
        mAssembling = false;
    }
    else if (count > 0)
    {
        if (bytes[0] == kSysExStart)
        {
            mPending.clear();
            mAssembling = true;
        }
        if (mAssembling && mPending.size() + count <= kMaxMessageSize)
        {
            mPending.insert(mPending.end(), bytes, bytes + count);
        }
        else
        {
            mPending.clear();
            mAssembling = false;
        }
    }
    const bool complete = mAssembling && !mPending.empty() && mPending.back() == kSysExEnd;
    (void)input.AddBuffer(buffer);
    if (complete)
    {
        Message message;
        message.swap(mPending);
        mAssembling = false;
        Handle(message);
    }
}

void Tarn61Emulator::OnEvent(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs)
{
    bool strict = false;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        strict = mBehaviour.strict;
    }
    if (!strict)
    {
        return;
    }
    Log("event " + std::to_string(count) + " bytes at " + std::to_string(timeUs) + " us");
    if (bytes[0] == kSysExStart)
    {
        mArriving = Arrival{};
        mTracking = true;
    }
    else if (!mTracking)
    {
        return;
    }
    const bool first = mArriving.bytes.empty();
    if (mArriving.refusal.empty() && count > kStrictPieceSize)
    {
        mArriving.refusal = "a piece of " + std::to_string(count) + " bytes, more than " +
                            std::to_string(kStrictPieceSize);
    }
    else if (mArriving.refusal.empty() && !first && timeUs - mLastEventUs < kStrictGapUs)
    {
        mArriving.refusal = "a piece " + std::to_string(timeUs - mLastEventUs) +
                            " us after the one before, less than " + std::to_string(kStrictGapUs);
    }
    mLastEventUs = timeUs;
    mArriving.bytes.insert(mArriving.bytes.end(), bytes, bytes + count);
    if (mArriving.bytes.back() == kSysExEnd)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mArrivals.push_back(std::move(mArriving));
        mTracking = false;
    }
}

std::string Tarn61Emulator::GetRefusal(const Message& message)
{
    // Arrivals of messages that never reached Handle whole (broken on the way) are skipped.
    while (!mArrivals.empty())
    {
        Arrival arrival = std::move(mArrivals.front());
        mArrivals.pop_front();
        if (arrival.bytes == message)
        {
            return arrival.refusal;
        }
    }
    return std::string();
}

void Tarn61Emulator::Handle(const Message& message)
{
    Message reply;
    Behaviour behaviour;
    std::string log;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        behaviour = mBehaviour;
        const bool isSendPreset =
            IsCommand(message, kSendPreset, kPresetMessageSize) && IsSlot(message[10]);
        const std::string refusal = mBehaviour.strict ? GetRefusal(message) : std::string();
        if (mBehaviour.strict && isSendPreset)
        {
            log = "send-preset for slot " + std::to_string(message[10]) +
                  (refusal.empty() ? " stored" : " dropped: " + refusal);
        }
        else if (mBehaviour.strict && IsIdentityRequest(message))
        {
            log = "identity request";
        }
        else if (mBehaviour.strict && IsCommand(message, kSetGlobal, 15) &&
                 IsGlobalIndex(message[11]))
        {
            log = "global " + std::to_string(message[11]) + " set to " +
                  std::to_string(message[12] * 128 + message[13]);
        }
        if (refusal.empty() || !isSendPreset)
        {
            reply = Answer(message);
        }
    }
    if (!log.empty())
    {
        Log(log);
    }
    // Counted only now, so that whoever waits for the message finds its verdict in the log.
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mReceived.push_back(message);
    }
    mReceivedChanged.notify_all();
    if (!reply.empty())
    {
        Queue(std::move(reply), behaviour);
    }
}

void Tarn61Emulator::Queue(Message reply, const Behaviour& behaviour)
{
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        mQueue.push_back(DueAnswer{std::chrono::steady_clock::now() + behaviour.replyDelay,
                                   std::move(reply), behaviour});
    }
    mQueueChanged.notify_all();
}

void Tarn61Emulator::SendLoop()
{
    std::unique_lock<std::mutex> lock(mQueueMutex);
    for (;;)
    {
        mQueueChanged.wait(lock, [this] { return mStopping || !mQueue.empty(); });
        // Answers leave in the order of their requests, each no earlier than it is due.
        if (mStopping ||
            mQueueChanged.wait_until(lock, mQueue.front().due, [this] { return mStopping; }))
        {
            return;
        }
        DueAnswer answer = std::move(mQueue.front());
        mQueue.pop_front();
        lock.unlock();
        Send(std::move(answer.reply), answer.behaviour);
        lock.lock();
    }
}

void Tarn61Emulator::StopSending()
{
    {
        std::lock_guard<std::mutex> lock(mQueueMutex);
        mStopping = true;
        mQueue.clear();
    }
    mQueueChanged.notify_all();
    if (mSender.joinable())
    {
        mSender.join();
    }
}

Tarn61Emulator::Message Tarn61Emulator::Answer(const Message& request)
{
    if (IsIdentityRequest(request))
    {
        return MakeIdentityReply();
    }
    if (IsCommand(request, kGetPreset, 10) && IsSlot(request[8]))
    {
        return MakePresetDump(request[8]);
    }
    if (IsCommand(request, kSendPreset, kPresetMessageSize) && IsSlot(request[10]))
    {
        std::copy_n(request.begin() + kValueAreaOffset, kValueAreaSize,
                    mSlots[request[10]].begin());
        return {};
    }
    if (IsCommand(request, kSetGlobal, 15) && IsGlobalIndex(request[11]))
    {
        mGlobals[request[11]] = request[12] * 128 + request[13];
        return {};
    }
    if (IsCommand(request, kRequestGlobal, 13) && IsGlobalIndex(request[11]))
    {
        return MakeGlobalReply(request[11]);
    }
    // The preamble (command 6D) and anything unknown are taken without an answer.
    return {};
}

// F0 7E 7F 06 02 00 3C 1D 31 06 v v v v F7: the firmware version as four ASCII digits.
Tarn61Emulator::Message Tarn61Emulator::MakeIdentityReply() const
{
    return {kSysExStart,  0x7E,         0x7F,         0x06,         0x02,
            0x00,         0x3C,         0x1D,         0x31,         0x06,
            mFirmware[0], mFirmware[1], mFirmware[2], mFirmware[3], kSysExEnd};
}

// F0 00 3C 1D 7F 31 06 63 0A 3B ss (1,338 value bytes) F7.
Tarn61Emulator::Message Tarn61Emulator::MakePresetDump(int slot) const
{
    Message dump = WithDeviceHeader({kPresetDump, 0x0A, 0x3B, static_cast<std::uint8_t>(slot)},
                                    kValueAreaSize + 1);
    std::copy(mSlots[slot].begin(), mSlots[slot].end(), dump.begin() + kValueAreaOffset);
    dump.back() = kSysExEnd;
    return dump;
}

// F0 00 3C 1D 7F 31 06 6C 00 04 00 ii hh ll F7.
Tarn61Emulator::Message Tarn61Emulator::MakeGlobalReply(int index) const
{
    const std::int32_t value = mGlobals[index];
    return WithDeviceHeader({kGlobalReply, 0x00, 0x04, 0x00, static_cast<std::uint8_t>(index),
                             static_cast<std::uint8_t>((value / 128) & 0x7F),
                             static_cast<std::uint8_t>(value % 128), kSysExEnd});
}

void Tarn61Emulator::Send(Message reply, const Behaviour& behaviour)
{
    if (behaviour.silent || !mOutput)
    {
        return;
    }
    if (behaviour.replyLengthChange < 0)
    {
        const std::size_t cut = std::min<std::size_t>(
            static_cast<std::size_t>(-behaviour.replyLengthChange), reply.size() - 2);
        reply.erase(reply.end() - 1 - static_cast<std::ptrdiff_t>(cut), reply.end() - 1);
    }
    else if (behaviour.replyLengthChange > 0)
    {
        reply.insert(reply.end() - 1, static_cast<std::size_t>(behaviour.replyLengthChange), 0);
    }
    const std::size_t piece =
        behaviour.replyPieceSize == 0 ? reply.size() : behaviour.replyPieceSize;
    for (std::size_t offset = 0; offset < reply.size(); offset += piece)
    {
        if (offset > 0)
        {
            std::this_thread::sleep_for(behaviour.replyPieceGap);
        }
        if (!SendPiece(reply.data() + offset, std::min(piece, reply.size() - offset)))
        {
            return;
        }
    }
}

bool Tarn61Emulator::SendPiece(const std::uint8_t* bytes, std::size_t count)
{
    Message copy(bytes, bytes + count);
    Platform::MidiBuffer buffer;
    buffer.data = copy.data();
    buffer.bufferLength = static_cast<std::uint32_t>(count);
    if (QZ::Failed(mOutput->PrepareBuffer(buffer)))
    {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mSendMutex);
        mPieceDone = false;
    }
    bool done = false;
    if (QZ::Succeeded(mOutput->SendLong(buffer)))
    {
        std::unique_lock<std::mutex> lock(mSendMutex);
        done = mSendDone.wait_for(lock, kCompletionTimeout, [this] { return mPieceDone; });
    }
    if (!done)
    {
        // The driver must let go of the buffer before it goes out of scope.
        (void)mOutput->Reset();
    }
    (void)mOutput->UnprepareBuffer(buffer);
    return done;
}

} // namespace Tarn61
