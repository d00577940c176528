// An open MIDI input port: its device's name, the driver's input, three 256-byte input buffers
// that go back to the driver after every use, and the System Exclusive message being assembled
// from them.
//
// Its callbacks run under the owning service's lock. Its release (when the last outside holder
// lets go) takes it out of the service's list under that lock; closing happens afterwards, in the
// destructor: stop, reset (the buffers come back and are not handed out again), unprepare, close.
#pragma once

#include "QZFramework/Midi/MidiCaptureNotificationData.h"
#include "QZFramework/Midi/MidiSysExAssembly.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"
#include "Platform/Midi/MidiDriver.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace QZ
{

class LMidiComm;

class LMidiCapturePort : public virtual LRefCountedObject
{
public:
    static constexpr int kBufferCount = 3;
    static constexpr std::uint32_t kBufferSize = 256;

    // Prepares the three buffers on handle and hands them to the driver; a buffer that cannot be
    // prepared is left out.
    LMidiCapturePort(const WideString& name, std::unique_ptr<Platform::MidiInput> handle,
                     const RCPtr<LMidiComm>& owner);
    ~LMidiCapturePort() override;

    // Takes the port out of its service's list, unless someone took it again meanwhile.
    QZRESULT ReleaseInternalReferences() override;

    [[nodiscard]] const WideString& GetName() const { return mName; }
    [[nodiscard]] Platform::MidiInput* GetHandle() const { return mHandle.get(); }

    // Under the service's lock: a buffer the driver handed back. Returns the message it completes,
    // else null; the buffer goes back to the driver.
    [[nodiscard]] RCPtr<LMidiCaptureNotificationData> TakeChunk(Platform::MidiBuffer* header,
                                                                bool broken);

private:
    struct InputBuffer
    {
        Platform::MidiBuffer header;
        std::array<std::uint8_t, kBufferSize> data{};
        // The input the buffer is prepared on; null when it is not.
        Platform::MidiInput* preparedOn = nullptr;
    };

    void HandBack(Platform::MidiBuffer* header);

    WideString mName;
    std::unique_ptr<Platform::MidiInput> mHandle;
    RCPtr<LMidiComm> mOwner;
    std::array<InputBuffer, kBufferCount> mBuffers{};
    std::atomic<bool> mClosing{false};
    LMidiSysExAssembly mAssembly;
};

} // namespace QZ
