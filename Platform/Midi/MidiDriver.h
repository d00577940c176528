// The MIDI driver layer: named MIDI devices, opened with a callback, fed with input buffers, and
// sent long and short messages with completion.
//
// It offers what the program's MIDI port access expects of a system MIDI service. An input hands
// received bytes back the way a multimedia MIDI driver does: short messages one at a time with
// a time stamp, System Exclusive bytes written into the caller's own buffers, each buffer handed
// back when it is full or holds the message's closing F7. An output sends a long message from a
// prepared buffer and reports its completion through the callback.
//
// Callbacks run on a thread of the driver (for buffers handed back by Stop or Reset, on the thread
// that called them), never while a lock of the driver is held, one at a time for one input. Once
// an input or output object is destroyed, its callback is never called again.
//
// Every operation reports failure by result and never throws. A backend that cannot reach its
// service enumerates no device, and every open fails with E_FAIL.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Platform
{

using QZ::QZRESULT;

// Messages of the input callback, numbered as the program's MIDI code knows them.
enum class MidiInputMessage : std::uint32_t
{
    Open = 0x3C1,
    Close = 0x3C2,
    // param1: the message bytes packed little-endian, status first; param2: the time stamp in
    // milliseconds since Start.
    Data = 0x3C3,
    // param1: the MidiBuffer handed back; its recorded byte count tells how much it holds.
    LongData = 0x3C4,
    Error = 0x3C5,
    // param1: the MidiBuffer handed back; what it holds is not a whole or valid message.
    LongError = 0x3C6,
    MoreData = 0x3CC,
};

// Messages of the output callback.
enum class MidiOutputMessage : std::uint32_t
{
    Open = 0x3C7,
    Close = 0x3C8,
    // param1: the MidiBuffer whose long message has been sent (or abandoned by Reset).
    Done = 0x3C9,
};

// The caller's buffer for long messages, in and out. The caller owns the memory; between
// AddBuffer or SendLong and its return through the callback the driver may write to it or read it,
// so it must stay alive and untouched until then.
struct MidiBuffer
{
    static constexpr std::uint32_t kDone = 0x1;
    static constexpr std::uint32_t kPrepared = 0x2;
    static constexpr std::uint32_t kInQueue = 0x4;

    std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    std::uint32_t bytesRecorded = 0;
    // The caller's own value; the driver never reads it.
    void* user = nullptr;
    std::uint32_t flags = 0;
};

class MidiInput;
class MidiOutput;

using MidiInputCallback = void (*)(MidiInput* handle, MidiInputMessage message, void* instance,
                                   std::uintptr_t param1, std::uintptr_t param2);
using MidiOutputCallback = void (*)(MidiOutput* handle, MidiOutputMessage message, void* instance,
                                    std::uintptr_t param1, std::uintptr_t param2);

// An open input. Destroying it closes it; stop and reset it first to have the buffers back.
class MidiInput
{
public:
    virtual ~MidiInput() = default;

    // Marks a buffer usable by this input. E_INVALIDARG without data or length.
    [[nodiscard]] virtual QZRESULT PrepareBuffer(MidiBuffer& buffer) = 0;
    // E_FAIL while the buffer is queued.
    [[nodiscard]] virtual QZRESULT UnprepareBuffer(MidiBuffer& buffer) = 0;
    // Queues a prepared buffer for System Exclusive bytes; buffers are filled in queue order.
    [[nodiscard]] virtual QZRESULT AddBuffer(MidiBuffer& buffer) = 0;
    // Starts delivering; bytes that arrive while stopped are dropped.
    [[nodiscard]] virtual QZRESULT Start() = 0;
    // Stops delivering; a buffer holding part of a message goes back as LongError, empty ones
    // stay queued.
    [[nodiscard]] virtual QZRESULT Stop() = 0;
    // Stops delivering and hands back every queued buffer (part of a message as LongError).
    [[nodiscard]] virtual QZRESULT Reset() = 0;

    // Sees every event as the transport receives it while the input is started, before its bytes
    // are parsed: the event's bytes and its arrival on the transport's own clock in microseconds
    // (the JACK server's frame clock, the ALSA sequencer's queue clock, else the steady clock).
    // A peer checks with it how the pieces of a message were paced on the wire. Called on a
    // thread of the driver, which must not open or close ports from it; null stops it. An input
    // without a transport ignores it.
    using EventObserver =
        std::function<void(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs)>;
    virtual void SetEventObserver(EventObserver /*observer*/) {}

protected:
    MidiInput() = default;
    MidiInput(const MidiInput&) = delete;
    MidiInput& operator=(const MidiInput&) = delete;
};

// An open output. Destroying it closes it; long messages still in flight are abandoned without
// a callback, so reset it first.
class MidiOutput
{
public:
    virtual ~MidiOutput() = default;

    [[nodiscard]] virtual QZRESULT PrepareBuffer(MidiBuffer& buffer) = 0;
    // E_FAIL while the buffer is in flight.
    [[nodiscard]] virtual QZRESULT UnprepareBuffer(MidiBuffer& buffer) = 0;
    // Sends the buffer's first bufferLength bytes as they are, as one event on the wire;
    // completion comes as Done. E_FAIL when the destination has gone: nothing more can reach it.
    [[nodiscard]] virtual QZRESULT SendLong(MidiBuffer& buffer) = 0;
    // Sends one short message packed little-endian, status first; its length follows the status.
    [[nodiscard]] virtual QZRESULT SendShort(std::uint32_t message) = 0;
    // Abandons the long messages in flight and hands their buffers back as Done.
    [[nodiscard]] virtual QZRESULT Reset() = 0;

protected:
    MidiOutput() = default;
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;
};

// One MIDI service. Device numbers count from 0 in the order of the last enumeration; a device
// number is only valid until the next call of the count functions. An open finds the device by
// the name it had in that enumeration and fails when no port has that name any more, so a port
// list that changed meanwhile never connects to another program's port.
class MidiDriver
{
public:
    virtual ~MidiDriver() = default;

    // The backend's name: "alsa", "jack" or "virtual".
    virtual std::string GetName() const = 0;

    // Enumerates the devices this program can read from (inputs) or send to (outputs).
    virtual std::uint32_t GetInputCount() = 0;
    virtual std::uint32_t GetOutputCount() = 0;
    // The device's name as the program shows and matches it, UTF-8. E_INVALIDARG for a bad number.
    [[nodiscard]] virtual QZRESULT GetInputName(std::uint32_t device, std::string& name) = 0;
    [[nodiscard]] virtual QZRESULT GetOutputName(std::uint32_t device, std::string& name) = 0;

    [[nodiscard]] virtual QZRESULT OpenInput(std::uint32_t device, MidiInputCallback callback,
                                             void* instance, std::unique_ptr<MidiInput>& input) = 0;
    [[nodiscard]] virtual QZRESULT OpenOutput(std::uint32_t device, MidiOutputCallback callback,
                                              void* instance,
                                              std::unique_ptr<MidiOutput>& output) = 0;
    // Readies what an open of the device will need (a port of ours connected to it), so that the
    // open, which still finds the device by name, is quick. A backend whose opens are quick
    // anyway does nothing.
    virtual void PrepareInput(std::uint32_t /*device*/) {}
    virtual void PrepareOutput(std::uint32_t /*device*/) {}
    // True when the inputs opened now call back on the thread that sent the bytes, before the
    // send returns (the virtual bus, for a fuzzer that plays the peer); a service over it then
    // delivers on that thread too, so that a whole exchange runs on one thread.
    [[nodiscard]] virtual bool DeliversOnSendingThread() const { return false; }

    // Publishing makes a port that other programs see as a device called name: an input whose
    // device others send to, or an output whose device others read from. This is how a peer (the
    // emulated keyboard) offers its ports.
    [[nodiscard]] virtual QZRESULT PublishInput(const std::string& name, MidiInputCallback callback,
                                                void* instance,
                                                std::unique_ptr<MidiInput>& input) = 0;
    [[nodiscard]] virtual QZRESULT PublishOutput(const std::string& name,
                                                 MidiOutputCallback callback, void* instance,
                                                 std::unique_ptr<MidiOutput>& output) = 0;

protected:
    MidiDriver() = default;
    MidiDriver(const MidiDriver&) = delete;
    MidiDriver& operator=(const MidiDriver&) = delete;
};

// Makes the backend of that name ("alsa", "jack" or "virtual"); null for an unknown name.
std::shared_ptr<MidiDriver> CreateMidiDriver(const std::string& name);

// The process's MIDI service, made on first use: the backend named by the environment variable
// QZ_MIDI_API when it is set, else the ALSA sequencer when it can be opened, else JACK.
std::shared_ptr<MidiDriver> GetDefaultMidiDriver();
// Replaces the process's MIDI service (tests install a virtual one); null goes back to the
// choice above on the next use.
void SetDefaultMidiDriver(std::shared_ptr<MidiDriver> driver);

// The number of bytes a short message with this status byte holds (1 for anything that is not
// a channel or system common status).
std::uint32_t GetShortMessageLength(std::uint8_t status);

} // namespace Platform
