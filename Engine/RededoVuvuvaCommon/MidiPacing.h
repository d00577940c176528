// How the keyboard exchanges pass time: the clock that dates the requests, the pause after each
// piece of a System Exclusive message, and the wait for a reply. This one is real time; a fuzzer
// that plays the keyboard itself replaces it with a clock of its own, so that its inputs cost no
// real waiting.
#pragma once

#include "QZFramework/System/TrafficLight.h"

#include <chrono>
#include <cstdint>

namespace QZ
{

class MidiPacing
{
public:
    using Clock = std::chrono::steady_clock;

    MidiPacing() = default;
    MidiPacing(const MidiPacing&) = delete;
    MidiPacing& operator=(const MidiPacing&) = delete;
    virtual ~MidiPacing() = default;

    // The one real-time pacing every exchange uses unless given another.
    static MidiPacing& Real();

    [[nodiscard]] virtual Clock::time_point Now();
    virtual void Pause(std::chrono::milliseconds duration);
    // True once light is green, false when timeoutMs passed first.
    [[nodiscard]] virtual bool WaitForGreen(TrafficLight& light, std::uint32_t timeoutMs);
};

} // namespace QZ
