// One message received on a MIDI input port: the payload of "NID_MIDI_DATA_CAPTURED".
//
// Objects come from one recycling pool for the class, with its own lock: the driver's threads
// make them while the delivery thread and the subscribers release them.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/ArrayBufferM.h"
#include "QZFramework/Utilities/Storage/ReuseAllocator.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstddef>
#include <cstdint>

namespace QZ
{

class LMidiCaptureNotificationData : public LRefCountedObject
{
public:
    using Bytes = ArrayBufferM<signed char, 4, 1, 0, 1, 8>;

    // timestamp: milliseconds since the input was started, for a short message; 0 for System
    // Exclusive data.
    LMidiCaptureNotificationData(const WideString& portName, std::uint32_t timestamp);

    static void* operator new(std::size_t size);
    static void operator delete(void* address) noexcept;
    static ReuseAllocator<LMidiCaptureNotificationData, 4>& GetAllocator();

    // The received bytes, F0 and F7 included for System Exclusive data.
    [[nodiscard]] const Bytes& GetData() const { return mData; }
    [[nodiscard]] const WideString& GetPortName() const { return mPortName; }
    [[nodiscard]] std::uint32_t GetTimestamp() const { return mTimestamp; }

    // Appends count bytes with one growth of the store. E_FAIL when it cannot grow.
    [[nodiscard]] QZRESULT Append(const std::uint8_t* bytes, std::int32_t count);

private:
    Bytes mData;
    WideString mPortName;
    std::uint32_t mTimestamp;
};

} // namespace QZ
