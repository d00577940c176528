// The in-process MIDI service for tests: a bus on which published ports appear as devices.
//
// A peer (the emulated keyboard, or a test) publishes an output, which every user of this driver
// then finds among its input devices under that name, and an input, found among the output
// devices. What a port sends reaches every input opened on its device, delivered on that input's
// own thread as a real driver would, so a peer that answers from its callback never runs on the
// sender's thread (unless inline delivery is set, see SetInlineDelivery). Long messages complete as soon as they are carried, unless completions are
// withheld, which lets a test reach the time-out road of a sender, and a test can observe every
// message as it leaves its port.
#pragma once

#include "Platform/Midi/MidiDriver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Platform
{

class VirtualMidiDriver : public MidiDriver
{
public:
    VirtualMidiDriver();
    ~VirtualMidiDriver() override;

    std::string GetName() const override { return "virtual"; }

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

    // Inputs opened or published after this call deliver on the sender's thread before the send
    // returns, instead of on threads of their own; for a fuzzer that plays the peer and wants no
    // thread hand-over per event. Such a bus is used from one thread: its ports are opened, used
    // and closed on the thread that sends. Must not change while inputs are open.
    void SetInlineDelivery(bool inlineDelivery);
    [[nodiscard]] bool DeliversOnSendingThread() const override;

    // While withheld, long messages are carried but their Done comes only from a Reset.
    void SetCompletionsWithheld(bool withheld);

    // Called on the sender's thread with every long or short message as it leaves an output, and
    // the name of the device it goes to; null stops observing.
    using SendObserver =
        std::function<void(const std::string& device, const std::vector<std::uint8_t>& bytes)>;
    void SetSendObserver(SendObserver observer);

    struct Bus;

private:
    std::shared_ptr<Bus> mBus;
};

} // namespace Platform
