// The output half that every backend shares: buffer preparation, the checks of a long or short
// message, and completion through the callback. A backend supplies the transport.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace Platform
{

class MidiOutputStream : public MidiOutput
{
public:
    [[nodiscard]] QZRESULT PrepareBuffer(MidiBuffer& buffer) override;
    [[nodiscard]] QZRESULT UnprepareBuffer(MidiBuffer& buffer) override;
    // E_FAIL for an unprepared buffer or one still in flight; else the transport's result.
    [[nodiscard]] QZRESULT SendLong(MidiBuffer& buffer) override;
    // E_FAIL for a data byte, F0 or F7 as status or a status byte among its data bytes; else
    // the transport's result.
    [[nodiscard]] QZRESULT SendShort(std::uint32_t message) override;
    [[nodiscard]] QZRESULT Reset() override;

protected:
    MidiOutputStream(MidiOutputCallback callback, void* instance);

    // Carries a long message; on success the transport calls Complete, at once or later.
    [[nodiscard]] virtual QZRESULT TransmitLong(MidiBuffer& buffer) = 0;
    [[nodiscard]] virtual QZRESULT TransmitShort(const std::uint8_t* bytes, std::size_t count) = 0;

    // Marks the buffer done and calls back; call it without holding a lock of the backend.
    void Complete(MidiBuffer& buffer);

private:
    const MidiOutputCallback mCallback;
    void* const mInstance;
    // Guards the flags of the buffers this output is given.
    std::mutex mMutex;
};

} // namespace Platform
