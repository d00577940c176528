// The debug switches of the command line:
//
//     -DEBUG_CONSOLE               debug text goes to the terminal
//     -DEBUG_CONSOLE:<port>        debug text goes as UDP datagrams to this computer's port
//     -DEBUG_CONSOLE:<port>:<host> ... to the host's port
//
// The switch is found anywhere in the command line, in any case; the first one counts. A port
// is 1 to 65535 written in decimal digits; anything else refuses the switch with a message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace QZ
{

struct DebugSwitches
{
    enum class Target
    {
        None,
        Console,
        Udp,
        Refused,
    };

    Target target = Target::None;
    std::int32_t port = 0;
    // Upper-case, since the whole command line is read upper-cased; empty for this computer.
    std::string host;
    // Why the switch was refused.
    std::string message;

    // Reads the switches of the command line.
    [[nodiscard]] static DebugSwitches Parse(std::string_view commandLine);
    // Sends debug text where the switches say; a refused switch writes its message to stderr.
    void Apply() const;
};

} // namespace QZ
