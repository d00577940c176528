// The MIDI service of a Linux machine, through RtMidi: the ALSA sequencer (the MIDI of a Linux
// desktop, also under PipeWire) or a JACK server (machines without kernel sound, and CI).
//
// Devices are the system's ports under the names MidiPortNames composes. RtMidi takes complete
// messages only, so the pieces of a System Exclusive message given to SendLong are gathered until
// their F7 and then sent as one message (at most 64 KiB; a longer one is dropped); each piece
// completes as soon as it has been taken. A JACK server is never started by this layer.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <memory>
#include <string>

namespace Platform
{

class RtMidiDriver : public MidiDriver
{
public:
    enum class Api
    {
        Alsa,
        Jack,
    };

    explicit RtMidiDriver(Api api);
    ~RtMidiDriver() override;

    // True when this machine has the ALSA sequencer device.
    static bool IsAlsaSequencerAvailable();

    std::string GetName() const override;

    std::uint32_t GetInputCount() override;
    std::uint32_t GetOutputCount() override;
    [[nodiscard]] QZRESULT GetInputName(std::uint32_t device, std::string& name) override;
    [[nodiscard]] QZRESULT GetOutputName(std::uint32_t device, std::string& name) override;

    [[nodiscard]] QZRESULT OpenInput(std::uint32_t device, MidiInputCallback callback,
                                     void* instance, std::unique_ptr<MidiInput>& input) override;
    [[nodiscard]] QZRESULT OpenOutput(std::uint32_t device, MidiOutputCallback callback,
                                      void* instance, std::unique_ptr<MidiOutput>& output) override;
    [[nodiscard]] QZRESULT PublishInput(const std::string& name, MidiInputCallback callback,
                                        void* instance, std::unique_ptr<MidiInput>& input) override;
    [[nodiscard]] QZRESULT PublishOutput(const std::string& name, MidiOutputCallback callback,
                                         void* instance,
                                         std::unique_ptr<MidiOutput>& output) override;

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};

} // namespace Platform
