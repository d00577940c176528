#include "Platform/Midi/MidiDriver.h"

#include "Platform/Midi/AlsaMidiDriver.h"
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/VirtualMidiDriver.h"

#include <cstdlib>
#include <mutex>

namespace Platform
{
namespace
{

std::mutex sDefaultMutex;
std::shared_ptr<MidiDriver> sDefaultDriver;

std::shared_ptr<MidiDriver> ChooseDefaultDriver()
{
    const char* requested = std::getenv("QZ_MIDI_API");
    if (requested != nullptr && *requested != '\0')
    {
        if (std::shared_ptr<MidiDriver> driver = CreateMidiDriver(requested))
        {
            return driver;
        }
    }
    // A desktop reaches its MIDI devices through the ALSA sequencer; machines without kernel
    // sound (build machines, containers) reach ports only through a JACK server.
    if (AlsaMidiDriver::IsSequencerAvailable())
    {
        return std::make_shared<AlsaMidiDriver>();
    }
    return std::make_shared<JackMidiDriver>();
}

} // namespace

std::shared_ptr<MidiDriver> CreateMidiDriver(const std::string& name)
{
    if (name == "alsa")
    {
        return std::make_shared<AlsaMidiDriver>();
    }
    if (name == "jack")
    {
        return std::make_shared<JackMidiDriver>();
    }
    if (name == "virtual")
    {
        return std::make_shared<VirtualMidiDriver>();
    }
    return nullptr;
}

std::shared_ptr<MidiDriver> GetDefaultMidiDriver()
{
    std::lock_guard<std::mutex> lock(sDefaultMutex);
    if (!sDefaultDriver)
    {
        sDefaultDriver = ChooseDefaultDriver();
    }
    return sDefaultDriver;
}

void SetDefaultMidiDriver(std::shared_ptr<MidiDriver> driver)
{
    std::lock_guard<std::mutex> lock(sDefaultMutex);
    sDefaultDriver = std::move(driver);
}

std::uint32_t GetShortMessageLength(std::uint8_t status)
{
    if (status >= 0x80 && status < 0xF0)
    {
        const std::uint8_t kind = status & 0xF0;
        return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
    }
    switch (status)
    {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1;
    }
}

} // namespace Platform
