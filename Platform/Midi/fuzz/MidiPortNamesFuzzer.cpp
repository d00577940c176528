// Checks the port-name scanners against the regular expressions that define the two name forms,
// on names short enough for the regular-expression engine, and runs them on names of any length.
//
// Input: one flag byte (bit 0: the ALSA address form, bit 1: input ports), then names separated
// by NUL bytes.
#include "Platform/Midi/MidiPortNames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace
{

// The regular-expression engine recurses once per character.
constexpr std::size_t kLongestCheckedName = 2048;

void CheckAgainstPatterns(const std::string& name, bool alsaAddress)
{
    static const std::regex windows(R"(^MIDI(IN|OUT)[0-9]+ \((.+)\)$)");
    static const std::regex address(R"(^(.*) ([0-9]+):[0-9]+$)");
    std::smatch match;
    const bool isWindows = std::regex_match(name, match, windows);
    if (Platform::HasWindowsPortNameForm(name) != isWindows ||
        Platform::GetDeviceOfPortName(name) != (isWindows ? match[2].str() : name))
    {
        std::abort();
    }
    const Platform::MidiPortEntry entry = Platform::ParseMidiPortName(name, alsaAddress);
    const bool split = alsaAddress && std::regex_match(name, match, address);
    const std::string rest = split ? match[1].str() : name;
    const std::string::size_type colon = rest.find(':');
    const std::string device = rest.substr(0, colon);
    if (entry.device != device ||
        entry.port != (colon == std::string::npos ? rest : rest.substr(colon + 1)) ||
        entry.deviceKey != (split ? match[2].str() : device))
    {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    const bool alsaAddress = (data[0] & 1) != 0;
    const bool inputs = (data[0] & 2) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<Platform::MidiPortEntry> entries;
    std::string::size_type start = 0;
    for (;;)
    {
        const std::string::size_type end = text.find('\0', start);
        const std::string name = text.substr(start, end - start);
        if (name.size() <= kLongestCheckedName)
        {
            CheckAgainstPatterns(name, alsaAddress);
        }
        entries.push_back(Platform::ParseMidiPortName(name, alsaAddress));
        if (end == std::string::npos)
        {
            break;
        }
        start = end + 1;
    }
    if (Platform::ComposeMidiPortNames(entries, inputs).size() != entries.size())
    {
        std::abort();
    }
    return 0;
}
