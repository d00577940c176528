// The process's debug output: an 8-bit and a wide debug stream, whose flushed text goes to
// stderr (the debugger output), to the terminal after OpenConsole, or as UDP datagrams after
// SetUdpTarget.
//
// Each thread writes to its own pair of streams, so writers never share stream state; every flush
// hands its text on under one process-wide lock, so the text of one flush is never interleaved
// with another's. Write a line and end it with std::endl (or flush):
//
//     QZ::DebugStreams::Narrow() << "loaded " << count << " skins" << std::endl;
//
// The wide stream takes wchar_t text and WideString (operator<< below); what it hands on is UTF-8.
// The switches are for start-up: the shell calls OpenConsole or SetUdpTarget once.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <ostream>
#include <string_view>

namespace QZ
{

class DebugStreams
{
public:
    static constexpr std::int32_t NoUdpPort = -1;

    // The calling thread's 8-bit (UTF-8) debug stream.
    static std::ostream& Narrow();
    // The calling thread's wide debug stream.
    static std::wostream& Wide();

    // From now on debug text goes to the controlling terminal, or to stderr when the process has
    // none.
    static void OpenConsole();
    // From now on debug text goes as UDP datagrams to the port (1 to 65535) of the host (null
    // keeps the stored host, empty means this computer). Any other port is refused: debug text
    // then goes to stderr again and the result is E_INVALIDARG.
    static QZRESULT SetUdpTarget(const char* host, std::int32_t port);
    // Sends text through the process's one UDP sender (see UdpDebugSender).
    static void SendDatagram(const char* host, std::int32_t port, const char* text);

    // Hands one flushed piece of UTF-8 text on to the current output; called by the debug buffers.
    static void Emit(std::string_view text);
};

// Writes the UTF-16 text as wide characters (unpaired surrogates become U+FFFD).
std::wostream& operator<<(std::wostream& stream, const WideString& text);

} // namespace QZ
