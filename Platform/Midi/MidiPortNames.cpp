#include "Platform/Midi/MidiPortNames.h"

#include <map>
#include <regex>

namespace Platform
{
namespace
{

const std::regex& WindowsPortNamePattern()
{
    static const std::regex pattern(R"(^MIDI(IN|OUT)[0-9]+ \((.+)\)$)");
    return pattern;
}

} // namespace

MidiPortEntry ParseMidiPortName(const std::string& name, bool alsaAddress)
{
    std::string rest = name;
    std::string key;
    if (alsaAddress)
    {
        static const std::regex address(R"(^(.*) ([0-9]+):[0-9]+$)");
        std::smatch match;
        if (std::regex_match(name, match, address))
        {
            rest = match[1].str();
            key = match[2].str();
        }
    }
    MidiPortEntry entry;
    const std::string::size_type colon = rest.find(':');
    if (colon == std::string::npos)
    {
        entry.device = rest;
        entry.port = rest;
    }
    else
    {
        entry.device = rest.substr(0, colon);
        entry.port = rest.substr(colon + 1);
    }
    entry.deviceKey = key.empty() ? entry.device : key;
    return entry;
}

bool HasWindowsPortNameForm(const std::string& name)
{
    return std::regex_match(name, WindowsPortNamePattern());
}

std::string GetDeviceOfPortName(const std::string& name)
{
    std::smatch match;
    if (std::regex_match(name, match, WindowsPortNamePattern()))
    {
        return match[2].str();
    }
    return name;
}

std::vector<std::string> ComposeMidiPortNames(const std::vector<MidiPortEntry>& ports, bool inputs)
{
    std::vector<std::string> names;
    names.reserve(ports.size());
    std::map<std::string, int> portsSeen;
    for (const MidiPortEntry& entry : ports)
    {
        if (HasWindowsPortNameForm(entry.port))
        {
            names.push_back(entry.port);
            continue;
        }
        const int number = ++portsSeen[entry.deviceKey];
        if (number == 1)
        {
            names.push_back(entry.device);
            continue;
        }
        names.push_back((inputs ? "MIDIIN" : "MIDIOUT") + std::to_string(number) + " (" +
                        entry.device + ")");
    }
    return names;
}

} // namespace Platform
