// An open MIDI output port: its device's name, the driver's output, and the light that is green
// while no long message is in flight.
//
// Messages sent to one port go out one at a time: a send holds the port's send lock until its
// long message has completed, or until the driver has been reset after a completion that did not
// come in time, so the driver never holds a buffer that is gone.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/TrafficLight.h"
#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/StringT.h"
#include "Platform/Midi/MidiDriver.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace QZ
{

class LMidiComm;

class LMidiRenderPort : public virtual LRefCountedObject
{
public:
    LMidiRenderPort(const WideString& name, std::unique_ptr<Platform::MidiOutput> handle,
                    const RCPtr<LMidiComm>& owner);
    ~LMidiRenderPort() override;

    // Takes the port out of its service's list, unless someone took it again meanwhile.
    QZRESULT ReleaseInternalReferences() override;

    [[nodiscard]] const WideString& GetName() const { return mName; }
    [[nodiscard]] Platform::MidiOutput* GetHandle() const { return mHandle.get(); }

    // The message as SendData describes it (bytes holds at least one byte). A long message
    // returns its byte count, a short one 0 for a channel message, 2 for F1, F3, F4 and F5, 3 for
    // F2, 1 for the rest.
    [[nodiscard]] QZRESULT Send(const IArray<signed char>& bytes, std::uint32_t timeoutMs);

    // Under the service's lock: the driver has finished a long message.
    void OnDone() { mLight.SetGreen(); }

private:
    [[nodiscard]] QZRESULT SendLong(const IArray<signed char>& bytes, std::uint32_t timeoutMs);
    [[nodiscard]] QZRESULT SendShort(const IArray<signed char>& bytes);

    WideString mName;
    std::unique_ptr<Platform::MidiOutput> mHandle;
    RCPtr<LMidiComm> mOwner;
    TrafficLight mLight;
    std::mutex mSendLock;
};

} // namespace QZ
