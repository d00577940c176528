// Sends debug text as UDP datagrams (IPv4).
//
// The first send fixes the target for good: the host's first address when it resolves, else the
// first address of this computer's own name, else 127.0.0.1; then it opens the socket and
// announces itself with three datagrams, "*** APPLICATION Launched on ", the address text and
// "***\n". Later host and port arguments are not looked at while the socket is open; when the
// socket could not be made, the next send tries again. Nothing is reported: failed sends are
// ignored. Safe to use from several threads.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include <netinet/in.h>

namespace QZ
{

class UdpDebugSender
{
public:
    static constexpr const char* AnnouncementStart = "*** APPLICATION Launched on ";
    static constexpr const char* AnnouncementEnd = "***\n";

    UdpDebugSender() = default;
    // Closes the socket.
    ~UdpDebugSender();
    UdpDebugSender(const UdpDebugSender&) = delete;
    UdpDebugSender& operator=(const UdpDebugSender&) = delete;

    // host may be null (this computer); a port outside 1..65535 sets nothing up and sends nothing.
    // text may be null or empty: then only the first use's set-up happens.
    void Send(const char* host, std::int32_t port, const char* text);

    // The dotted address the target was fixed to; empty before the first successful set-up.
    std::string GetAddressText() const;

private:
    void SetUp(const char* host, std::int32_t port);
    void SendText(const char* text) const;

    mutable std::mutex mLock;
    int mSocket = -1;
    sockaddr_in mAddress{};
    std::string mAddressText;
};

} // namespace QZ
