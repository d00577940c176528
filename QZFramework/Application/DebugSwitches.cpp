#include "QZFramework/Application/DebugSwitches.h"

#include "QZFramework/System/DebugStreams.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace QZ
{
namespace
{

constexpr std::string_view kSwitch = "-DEBUG_CONSOLE";
constexpr std::int32_t kLargestPort = 65535;

std::string ToUpper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// The port of the decimal field, or 0 when the field is not a port.
std::int32_t ParsePort(std::string_view field)
{
    if (field.empty() || field.size() > 5 ||
        !std::all_of(field.begin(), field.end(), [](unsigned char c) { return std::isdigit(c); }))
    {
        return 0;
    }
    const std::int32_t port = std::stoi(std::string(field));
    return port <= kLargestPort ? port : 0;
}

} // namespace

DebugSwitches DebugSwitches::Parse(std::string_view commandLine)
{
    const std::string text = ToUpper(commandLine);
    DebugSwitches switches;
    const std::size_t position = text.find(kSwitch);
    if (position == std::string::npos)
    {
        return switches;
    }
    const std::size_t withPort = text.find(std::string(kSwitch) + ":");
    if (withPort == std::string::npos)
    {
        switches.target = Target::Console;
        return switches;
    }
    const std::size_t start = withPort + kSwitch.size() + 1;
    const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
    const std::string_view argument = std::string_view(text).substr(start, end - start);
    const std::size_t colon = std::min(argument.find(':'), argument.size());
    switches.port = ParsePort(argument.substr(0, colon));
    if (switches.port == 0)
    {
        switches.target = Target::Refused;
        switches.message = "-DEBUG_CONSOLE: the port must be a number from 1 to 65535, not \"" +
                           std::string(argument.substr(0, colon)) + "\"";
        return switches;
    }
    switches.target = Target::Udp;
    if (colon + 1 < argument.size())
    {
        switches.host = argument.substr(colon + 1);
    }
    return switches;
}

void DebugSwitches::Apply() const
{
    switch (target)
    {
    case Target::None:
        break;
    case Target::Console:
        DebugStreams::OpenConsole();
        break;
    case Target::Udp:
        static_cast<void>(DebugStreams::SetUdpTarget(host.empty() ? nullptr : host.c_str(), port));
        break;
    case Target::Refused:
        std::cerr << message << std::endl;
        break;
    }
}

} // namespace QZ
