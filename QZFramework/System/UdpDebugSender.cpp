#include "QZFramework/System/UdpDebugSender.h"

#include <cstring>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace QZ
{
namespace
{

constexpr std::int32_t kMaxPort = 65535;
constexpr std::size_t kHostNameSize = 64;
constexpr const char* kLoopbackAddress = "127.0.0.1";

// The dotted text of the name's first IPv4 address, or empty when it does not resolve.
std::string ResolveAddress(const char* name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr)
    {
        return std::string();
    }
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool converted = ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof(text)) != nullptr;
    ::freeaddrinfo(found);
    return converted ? std::string(text) : std::string();
}

std::string ChooseAddressText(const char* host)
{
    if (host != nullptr)
    {
        std::string address = ResolveAddress(host);
        if (!address.empty())
        {
            return address;
        }
    }
    char name[kHostNameSize] = {};
    if (::gethostname(name, sizeof(name) - 1) == 0)
    {
        std::string address = ResolveAddress(name);
        if (!address.empty())
        {
            return address;
        }
    }
    return kLoopbackAddress;
}

} // namespace

UdpDebugSender::~UdpDebugSender()
{
    if (mSocket >= 0)
    {
        ::close(mSocket);
    }
}

void UdpDebugSender::Send(const char* host, std::int32_t port, const char* text)
{
    const std::lock_guard<std::mutex> guard(mLock);
    if (mSocket < 0)
    {
        if (port < 1 || port > kMaxPort)
        {
            return;
        }
        SetUp(host, port);
    }
    if (mSocket >= 0 && text != nullptr && *text != 0)
    {
        SendText(text);
    }
}

std::string UdpDebugSender::GetAddressText() const
{
    const std::lock_guard<std::mutex> guard(mLock);
    return mAddressText;
}

void UdpDebugSender::SetUp(const char* host, std::int32_t port)
{
    const std::string addressText = ChooseAddressText(host);
    mAddress = sockaddr_in{};
    mAddress.sin_family = AF_INET;
    mAddress.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, addressText.c_str(), &mAddress.sin_addr) != 1)
    {
        return;
    }
    mSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (mSocket < 0)
    {
        return;
    }
    mAddressText = addressText;
    SendText(AnnouncementStart);
    SendText(mAddressText.c_str());
    SendText(AnnouncementEnd);
}

void UdpDebugSender::SendText(const char* text) const
{
    ::sendto(mSocket, text, std::strlen(text), MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr*>(&mAddress), sizeof(mAddress));
}

} // namespace QZ
