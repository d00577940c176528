// The MIDI port service over the process's MIDI driver (Platform/Midi).
//
// One lock guards both port lists and every port's System Exclusive assembly; the driver's
// callbacks take it for their whole run, and so do GetCapturePort, GetRenderPort and a port's
// release. A port is never stopped or closed while that lock is held: its release takes it out of
// the list under the lock and closes it afterwards. Received messages go to a pool of one worker,
// whose DoWork delivers them, so the callbacks only copy bytes and hand them on; over a driver
// that delivers on the sending thread there is no pool, and DoWork runs in the callback, after
// the lock is released.
//
// Each open port holds its service, so the service outlives its ports; the list's reference to a
// port counts as the port's internal reference, so a port closes when its last outside holder
// lets go.
#pragma once

#include "QZFramework/Midi/MidiCaptureNotificationData.h"
#include "QZFramework/Midi/MidiCapturePort.h"
#include "QZFramework/Midi/MidiCommInterface.h"
#include "QZFramework/Midi/MidiRenderPort.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/System/ThreadPool.h"
#include "QZFramework/System/ThreadWorker.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"
#include "Platform/Midi/MidiDriver.h"

#include <cstdint>
#include <memory>

namespace QZ
{

class LMidiComm : public LMidiCommInterface, public LThreadWorker
{
public:
    static constexpr std::uint32_t kCompletionTimeoutMs = 10000;

    // completionTimeoutMs: how long SendData waits for a long message to complete.
    explicit LMidiComm(std::shared_ptr<Platform::MidiDriver> driver,
                       std::uint32_t completionTimeoutMs = kCompletionTimeoutMs);
    ~LMidiComm() override;

    [[nodiscard]] QZRESULT GetCapturePort(const WideString& name,
                                          RCPtr<LRefCountedObject>& port) override;
    [[nodiscard]] QZRESULT GetRenderPort(const WideString& name,
                                         RCPtr<LRefCountedObject>& port) override;
    [[nodiscard]] bool IsCapturePortAvailable(const WideString& name) override;
    [[nodiscard]] bool IsRenderPortAvailable(const WideString& name) override;
    [[nodiscard]] QZRESULT SendData(const RCPtr<LRefCountedObject>& port,
                                    const IArray<signed char>& bytes) override;

    // Delivers one received message (an LMidiCaptureNotificationData) as "NID_MIDI_DATA_CAPTURED"
    // to the subscribers, on the pool's worker thread. Returns the distribution's result.
    QZRESULT DoWork(const RCPtr<LRefCountedObject>& params) override;

    // The driver's callbacks; instance is the service, a null one is ignored.
    static void MidiInCallback(Platform::MidiInput* handle, Platform::MidiInputMessage message,
                               void* instance, std::uintptr_t param1, std::uintptr_t param2);
    static void MidiOutCallback(Platform::MidiOutput* handle, Platform::MidiOutputMessage message,
                                void* instance, std::uintptr_t param1, std::uintptr_t param2);

    // True when requested, lower-cased, occurs in device, lower-cased.
    static bool IsNameMatch(const WideString& requested, const WideString& device);

private:
    friend class LMidiCapturePort;
    friend class LMidiRenderPort;

    void OnCaptureMessage(Platform::MidiInput* handle, Platform::MidiInputMessage message,
                          std::uintptr_t param1, std::uintptr_t param2);
    void OnRenderMessage(Platform::MidiOutput* handle, Platform::MidiOutputMessage message);
    // Under the lock: the message a capture callback brings, null when it brings none.
    RCPtr<LMidiCaptureNotificationData> TakeCaptured(Platform::MidiInput* handle,
                                                     Platform::MidiInputMessage message,
                                                     std::uintptr_t param1, std::uintptr_t param2);
    void Queue(const RCPtr<LMidiCaptureNotificationData>& data);
    // Distributes data, a received message, as "NID_MIDI_DATA_CAPTURED".
    QZRESULT Deliver(const RCPtr<LRefCountedObject>& data);
    // A port's release: takes it out of its list unless it was taken again meanwhile.
    QZRESULT RemoveCapturePort(LMidiCapturePort& port, RCPtr<LMidiCapturePort>& removed);
    QZRESULT RemoveRenderPort(LMidiRenderPort& port, RCPtr<LMidiRenderPort>& removed);

    // Under the lock: the device number whose name matches, or -1; device takes its name.
    std::int32_t FindInputDevice(const WideString& name, WideString& device);
    std::int32_t FindOutputDevice(const WideString& name, WideString& device);

    RCPtrArray<LMidiCapturePort, 1, 0> mCapturePorts;
    RCPtrArray<LMidiRenderPort, 1, 0> mRenderPorts;
    // Null when the driver delivers on the sending thread.
    RCPtr<LThreadPool> mThreadPool;
    Mutex mLock;
    const std::shared_ptr<Platform::MidiDriver> mDriver;
    const std::uint32_t mCompletionTimeoutMs;
};

} // namespace QZ
