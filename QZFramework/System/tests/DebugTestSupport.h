// What the debug stream tests listen with: stderr caught in a file, and a UDP receiver.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace QZ
{

// Sends everything written to stderr into a temporary file until destroyed.
class StderrCapture
{
public:
    StderrCapture() : mFile(std::tmpfile()), mSaved(::dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        ::dup2(::fileno(mFile), STDERR_FILENO);
    }
    ~StderrCapture()
    {
        ::dup2(mSaved, STDERR_FILENO);
        ::close(mSaved);
        std::fclose(mFile);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string GetText() const
    {
        std::string text;
        std::rewind(mFile);
        char chunk[4096];
        for (std::size_t count; (count = std::fread(chunk, 1, sizeof(chunk), mFile)) > 0;)
        {
            text.append(chunk, count);
        }
        return text;
    }

private:
    std::FILE* mFile;
    int mSaved;
};

// A UDP socket on a free port of the given IPv4 address (any address by default).
class UdpReceiver
{
public:
    explicit UdpReceiver(const char* address = "0.0.0.0")
        : mSocket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, address, &local.sin_addr);
        socklen_t size = sizeof(local);
        EXPECT_EQ(::bind(mSocket, reinterpret_cast<sockaddr*>(&local), size), 0);
        EXPECT_EQ(::getsockname(mSocket, reinterpret_cast<sockaddr*>(&local), &size), 0);
        mPort = ntohs(local.sin_port);
    }
    ~UdpReceiver() { ::close(mSocket); }
    UdpReceiver(const UdpReceiver&) = delete;
    UdpReceiver& operator=(const UdpReceiver&) = delete;

    int GetPort() const { return mPort; }

    // The next datagram, or none when nothing arrives within the time-out.
    std::optional<std::string> Receive(int timeoutMilliseconds = 5000) const
    {
        pollfd wait{mSocket, POLLIN, 0};
        if (::poll(&wait, 1, timeoutMilliseconds) != 1)
        {
            return std::nullopt;
        }
        char buffer[65536];
        const ssize_t count = ::recv(mSocket, buffer, sizeof(buffer), 0);
        return count < 0 ? std::nullopt
                         : std::optional<std::string>(
                               std::string(buffer, static_cast<std::size_t>(count)));
    }

private:
    int mSocket;
    int mPort = 0;
};

} // namespace QZ
