#include "Engine/RededoVuvuvaCommon/MidiPacing.h"

#include "QZFramework/System/EventHandle.h"

#include <thread>

namespace QZ
{

MidiPacing& MidiPacing::Real()
{
    static MidiPacing real;
    return real;
}

MidiPacing::Clock::time_point MidiPacing::Now()
{
    return Clock::now();
}

void MidiPacing::Pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

bool MidiPacing::WaitForGreen(TrafficLight& light, std::uint32_t timeoutMs)
{
    return light.Wait(timeoutMs) == kWaitSignaled;
}

} // namespace QZ
