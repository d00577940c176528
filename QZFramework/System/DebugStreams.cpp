#include "QZFramework/System/DebugStreams.h"

#include "QZFramework/System/DebugOutputStream.h"
#include "QZFramework/System/UdpDebugSender.h"

#include <cerrno>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace QZ
{
namespace
{

constexpr std::int32_t kMaxPort = 65535;
constexpr wchar_t kReplacementCharacter = 0xFFFD;

// Where flushed text goes. Made once and never destroyed, so that streams of threads that end
// after static destruction can still flush.
struct DebugTarget
{
    std::mutex lock;
    std::string host;
    std::int32_t port = DebugStreams::NoUdpPort;
    int consoleDescriptor = STDERR_FILENO;
    UdpDebugSender sender;
};

DebugTarget& Target()
{
    static DebugTarget& target = *new DebugTarget();
    return target;
}

void WriteAll(int descriptor, std::string_view text)
{
    while (!text.empty())
    {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR)
        {
            continue;
        }
        if (written <= 0)
        {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::ostream& DebugStreams::Narrow()
{
    thread_local basic_dostream<char> stream;
    return stream;
}

std::wostream& DebugStreams::Wide()
{
    thread_local basic_dostream<wchar_t> stream;
    return stream;
}

void DebugStreams::OpenConsole()
{
    const int terminal = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    DebugTarget& target = Target();
    const std::lock_guard<std::mutex> guard(target.lock);
    if (target.consoleDescriptor != STDERR_FILENO)
    {
        ::close(target.consoleDescriptor);
    }
    target.consoleDescriptor = terminal >= 0 ? terminal : STDERR_FILENO;
}

QZRESULT DebugStreams::SetUdpTarget(const char* host, std::int32_t port)
{
    DebugTarget& target = Target();
    const std::lock_guard<std::mutex> guard(target.lock);
    if (port < 1 || port > kMaxPort)
    {
        target.port = NoUdpPort;
        return E_INVALIDARG;
    }
    if (host != nullptr)
    {
        target.host = host;
    }
    target.port = port;
    return S_OK;
}

void DebugStreams::SendDatagram(const char* host, std::int32_t port, const char* text)
{
    Target().sender.Send(host, port, text);
}

void DebugStreams::Emit(std::string_view text)
{
    DebugTarget& target = Target();
    std::unique_lock<std::mutex> guard(target.lock);
    if (target.port < 1)
    {
        WriteAll(target.consoleDescriptor, text);
        return;
    }
    const std::string host = target.host;
    const std::int32_t port = target.port;
    guard.unlock();
    SendDatagram(host.empty() ? nullptr : host.c_str(), port, std::string(text).c_str());
}

std::wostream& operator<<(std::wostream& stream, const WideString& text)
{
    std::wstring wide;
    const char16_t* units = text.GetString();
    const std::int32_t length = text.GetLength();
    wide.reserve(static_cast<std::size_t>(length));
    for (std::int32_t i = 0; i < length; ++i)
    {
        const char16_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(units[i + 1]))
        {
            wide += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
        }
        else if (IsHighSurrogate(unit) || IsLowSurrogate(unit))
        {
            wide += kReplacementCharacter;
        }
        else
        {
            wide += static_cast<wchar_t>(unit);
        }
    }
    return stream << wide;
}

} // namespace QZ
