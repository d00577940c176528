// The MIDI service of a JACK server, for machines without kernel sound (CI among them) and for
// desktops that route MIDI through JACK.
//
// Every driver of the process shares one JACK client, opened on first use and kept while a driver
// or a port needs it (a new one is opened only after the server went away). Devices are the
// server's MIDI ports under the names MidiPortNames composes; an open connects a port of that
// client to the device's port by its full name and returns once the connection is live. Each
// long message given to SendLong leaves as one event, and SendLong returns only once it has left
// toward a connected port: E_FAIL when the device's port went away. A server is never started by
// this layer. Preparing a device connects a port to it ahead of the open, which then finds the
// connection standing. See JackMidiClient for how ports and the process callback work.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <memory>
#include <string>

namespace Platform
{

class JackMidiDriver : public MidiDriver
{
public:
    JackMidiDriver();
    ~JackMidiDriver() override;

    // How many JACK clients this process has opened so far.
    static int GetClientOpenCount();

    std::string GetName() const override { return "jack"; }

    std::uint32_t GetInputCount() override;
    std::uint32_t GetOutputCount() override;
    [[nodiscard]] QZRESULT GetInputName(std::uint32_t device, std::string& name) override;
    [[nodiscard]] QZRESULT GetOutputName(std::uint32_t device, std::string& name) override;

    [[nodiscard]] QZRESULT OpenInput(std::uint32_t device, MidiInputCallback callback,
                                     void* instance, std::unique_ptr<MidiInput>& input) override;
    [[nodiscard]] QZRESULT OpenOutput(std::uint32_t device, MidiOutputCallback callback,
                                      void* instance, std::unique_ptr<MidiOutput>& output) override;
    void PrepareInput(std::uint32_t device) override;
    void PrepareOutput(std::uint32_t device) override;
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
