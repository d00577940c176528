// The MIDI service of a Linux desktop: the ALSA sequencer (also under PipeWire).
//
// Every driver of the process shares one sequencer client. Devices are the sequencer's ports that
// others may subscribe to, under the names MidiPortNames composes; an open makes a port of ours
// and subscribes it to the device's port, found by its client's and its own name at open time.
// Each long message given to SendLong leaves as its own System Exclusive event, drained at once;
// SendLong fails once the subscription to the device's port is gone (the port or its client
// exited, or someone unsubscribed it), which the client also learns from the sequencer's
// announcements. Machines without kernel sound have no sequencer: there every enumeration is
// empty and every open fails.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <memory>
#include <string>

namespace Platform
{

class AlsaMidiDriver : public MidiDriver
{
public:
    AlsaMidiDriver();
    ~AlsaMidiDriver() override;

    // True when this machine has the ALSA sequencer device.
    static bool IsSequencerAvailable();

    std::string GetName() const override { return "alsa"; }

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
