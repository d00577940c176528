#include "Platform/Midi/MidiPortNames.h"

#include <map>
#include <optional>
#include <string_view>

namespace Platform
{
namespace
{

// Port names come from the MIDI services and from the user's settings, so the scanners below take
// any length in one pass and constant stack. Like a regular expression's dot, a name part never
// holds a line break.

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\n\r") != std::string_view::npos;
}

// Where the run of digits that ends at end begins (end itself when there is none).
std::size_t SkipDigitsBackward(std::string_view text, std::size_t end)
{
    while (end > 0 && IsDigit(text[end - 1]))
    {
        --end;
    }
    return end;
}

// The device of "MIDIIN<n> (<device>)" or "MIDIOUT<n> (<device>)", else nothing.
std::optional<std::string_view> FindWindowsFormDevice(std::string_view name)
{
    std::string_view rest = name;
    if (rest.starts_with("MIDIIN"))
    {
        rest.remove_prefix(6);
    }
    else if (rest.starts_with("MIDIOUT"))
    {
        rest.remove_prefix(7);
    }
    else
    {
        return std::nullopt;
    }
    std::size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits]))
    {
        ++digits;
    }
    rest.remove_prefix(digits);
    if (digits == 0 || !rest.starts_with(" (") || !rest.ends_with(')') || rest.size() < 4)
    {
        return std::nullopt;
    }
    const std::string_view device = rest.substr(2, rest.size() - 3);
    if (HasLineBreak(device))
    {
        return std::nullopt;
    }
    return device;
}

// Splits "<rest> <client>:<port>" with both numbers in decimal; false, with rest and client
// untouched, when name has no such end.
bool SplitAlsaAddress(std::string_view name, std::string_view& rest, std::string_view& client)
{
    const std::size_t port = SkipDigitsBackward(name, name.size());
    if (port == name.size() || port == 0 || name[port - 1] != ':')
    {
        return false;
    }
    const std::size_t colon = port - 1;
    const std::size_t number = SkipDigitsBackward(name, colon);
    if (number == colon || number == 0 || name[number - 1] != ' ')
    {
        return false;
    }
    if (HasLineBreak(name.substr(0, number - 1)))
    {
        return false;
    }
    rest = name.substr(0, number - 1);
    client = name.substr(number, colon - number);
    return true;
}

} // namespace

MidiPortEntry ParseMidiPortName(const std::string& name, bool alsaAddress)
{
    std::string_view rest = name;
    std::string_view key;
    if (alsaAddress)
    {
        static_cast<void>(SplitAlsaAddress(name, rest, key));
    }
    MidiPortEntry entry;
    const std::string_view::size_type colon = rest.find(':');
    if (colon == std::string_view::npos)
    {
        entry.device = rest;
        entry.port = rest;
    }
    else
    {
        entry.device = rest.substr(0, colon);
        entry.port = rest.substr(colon + 1);
    }
    entry.deviceKey = key.empty() ? entry.device : std::string(key);
    return entry;
}

bool HasWindowsPortNameForm(const std::string& name)
{
    return FindWindowsFormDevice(name).has_value();
}

std::string GetDeviceOfPortName(const std::string& name)
{
    const std::optional<std::string_view> device = FindWindowsFormDevice(name);
    return device ? std::string(*device) : name;
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
