// What the stand-in sequencer's clients and its broker say to each other over a local socket.
//
// Each client opens two connections: requests, each answered by one reply, and events, on which
// the broker writes every event delivered to the client as a frame (the fixed-size event, the
// length of its variable data, the data). A client whose request connection closes has exited,
// as the kernel's sequencer takes a client whose process ended.
#pragma once

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <sys/socket.h>
#include <unistd.h>

namespace Platform::Testing::AlsaSequencerProtocol
{

// The environment variable that names the broker's socket.
constexpr const char* kSocketVariable = "QZ_TEST_ALSA_SEQUENCER";

enum class Op : std::int32_t
{
    Open,
    AttachEvents,
    SetName,
    CreatePort,
    DeletePort,
    Connect,
    Disconnect,
    NextClient,
    NextPort,
    ClientInfo,
    PortInfo,
    QuerySubscribers,
    GetSubscription,
    Send,
    AllocQueue,
    StartQueue,
};

constexpr std::size_t kNameSize = 64;

// Addresses are (client, port); "other" is the far end of a subscription, its sender for a
// connection made from it.
struct Request
{
    Op op = Op::Open;
    std::int32_t client = 0;
    std::int32_t port = 0;
    std::int32_t otherClient = 0;
    std::int32_t otherPort = 0;
    std::int32_t index = 0;
    std::uint32_t caps = 0;
    // A port's time-stamping of what arrives: on which queue (-1: none), in real time or not.
    std::int32_t queue = -1;
    std::int32_t realTime = 0;
    char name[kNameSize] = {};
    snd_seq_event_t event{};
    // The bytes of the event's variable data that follow the request.
    std::uint32_t dataLength = 0;
};

struct Reply
{
    std::int32_t result = 0;
    std::int32_t client = 0;
    std::int32_t port = 0;
    std::uint32_t caps = 0;
    char name[kNameSize] = {};
};

struct EventFrame
{
    snd_seq_event_t event{};
    std::uint32_t dataLength = 0;
};

// Reads or writes count bytes whole; false when the other end has gone.
inline bool ReadAll(int fd, void* into, std::size_t count)
{
    auto* bytes = static_cast<unsigned char*>(into);
    while (count > 0)
    {
        const ssize_t got = read(fd, bytes, count);
        if (got <= 0 && !(got < 0 && errno == EINTR))
        {
            return false;
        }
        if (got > 0)
        {
            bytes += got;
            count -= static_cast<std::size_t>(got);
        }
    }
    return true;
}

inline bool WriteAll(int fd, const void* from, std::size_t count)
{
    const auto* bytes = static_cast<const unsigned char*>(from);
    while (count > 0)
    {
        const ssize_t put = send(fd, bytes, count, MSG_NOSIGNAL);
        if (put <= 0 && !(put < 0 && errno == EINTR))
        {
            return false;
        }
        if (put > 0)
        {
            bytes += put;
            count -= static_cast<std::size_t>(put);
        }
    }
    return true;
}

} // namespace Platform::Testing::AlsaSequencerProtocol
