#include "Platform/Midi/AlsaSequencerClient.h"

#if __has_include(<alsa/asoundlib.h>)
#include <alsa/asoundlib.h>
#else
#error "alsa/asoundlib.h not found: install the Debian package libasound2-dev"
#endif

#include <cerrno>
#include <cstdarg>
#include <iterator>
#include <poll.h>
#include <unistd.h>

namespace Platform
{
namespace
{

constexpr const char* kClientName = "QZ MIDI";
constexpr unsigned int kPortType = SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION;
constexpr unsigned int kSourceCaps = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned int kDestinationCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr std::size_t kShortMessageSize = 16;

// alsa-lib prints every failure, a missing sequencer device included; the layer reports by result.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

} // namespace

struct AlsaSequencerClient::Impl
{
    snd_seq_t* seq = nullptr;
    int clientId = -1;
    int announcePort = -1;
    // The queue whose clock stamps arrivals.
    int queue = -1;
    // Touched on the reader thread only.
    snd_midi_event_t* decoder = nullptr;
    // Under mOutputMutex.
    snd_midi_event_t* encoder = nullptr;
    // Writing a byte here ends the reader thread.
    int wake[2] = {-1, -1};

    ~Impl()
    {
        if (encoder != nullptr)
        {
            snd_midi_event_free(encoder);
        }
        if (decoder != nullptr)
        {
            snd_midi_event_free(decoder);
        }
        if (seq != nullptr)
        {
            snd_seq_close(seq);
        }
        for (int fd : wake)
        {
            if (fd >= 0)
            {
                close(fd);
            }
        }
    }
};

std::shared_ptr<AlsaSequencerClient> AlsaSequencerClient::Open()
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(&IgnoreAlsaError); });
    auto impl = std::make_unique<Impl>();
    if (snd_seq_open(&impl->seq, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0)
    {
        impl->seq = nullptr;
        return nullptr;
    }
    snd_seq_set_client_name(impl->seq, kClientName);
    impl->clientId = snd_seq_client_id(impl->seq);
    impl->queue = snd_seq_alloc_queue(impl->seq);
    impl->announcePort = snd_seq_create_simple_port(
        impl->seq, "announcements", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
        SND_SEQ_PORT_TYPE_APPLICATION);
    if (impl->clientId < 0 || impl->announcePort < 0 || impl->queue < 0 ||
        snd_seq_start_queue(impl->seq, impl->queue, nullptr) < 0 ||
        snd_seq_drain_output(impl->seq) < 0 ||
        snd_seq_connect_from(impl->seq, impl->announcePort, SND_SEQ_CLIENT_SYSTEM,
                             SND_SEQ_PORT_SYSTEM_ANNOUNCE) < 0 ||
        snd_midi_event_new(kShortMessageSize, &impl->decoder) < 0 ||
        snd_midi_event_new(kShortMessageSize, &impl->encoder) < 0 || pipe(impl->wake) != 0)
    {
        return nullptr;
    }
    snd_midi_event_no_status(impl->decoder, 1);
    snd_midi_event_no_status(impl->encoder, 1);
    return std::shared_ptr<AlsaSequencerClient>(new AlsaSequencerClient(std::move(impl)));
}

AlsaSequencerClient::AlsaSequencerClient(std::unique_ptr<Impl> impl) : mImpl(std::move(impl))
{
    mReader = std::thread([this] { ReadLoop(); });
}

AlsaSequencerClient::~AlsaSequencerClient()
{
    const char stop = 0;
    (void)write(mImpl->wake[1], &stop, 1);
    mReader.join();
}

std::vector<std::string> AlsaSequencerClient::GetPortNames(bool sources)
{
    std::set<int> published;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        published = mPublished;
    }
    const unsigned int wanted = sources ? kSourceCaps : kDestinationCaps;
    std::vector<std::string> names;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(mImpl->seq, client) >= 0)
    {
        const int id = snd_seq_client_info_get_client(client);
        if (id == SND_SEQ_CLIENT_SYSTEM)
        {
            continue;
        }
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(mImpl->seq, port) >= 0)
        {
            const unsigned int caps = snd_seq_port_info_get_capability(port);
            const int number = snd_seq_port_info_get_port(port);
            if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT) != 0 ||
                (id == mImpl->clientId && published.count(number) == 0))
            {
                continue;
            }
            names.push_back(std::string(snd_seq_client_info_get_name(client)) + ":" +
                            snd_seq_port_info_get_name(port) + " " + std::to_string(id) + ":" +
                            std::to_string(number));
        }
    }
    return names;
}

std::string AlsaSequencerClient::GetSystemName(const Address& address)
{
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    if (snd_seq_get_any_client_info(mImpl->seq, address.client, client) < 0 ||
        snd_seq_get_any_port_info(mImpl->seq, address.client, address.port, port) < 0)
    {
        return std::string();
    }
    return std::string(snd_seq_client_info_get_name(client)) + ":" +
           snd_seq_port_info_get_name(port) + " " + std::to_string(address.client) + ":" +
           std::to_string(address.port);
}

bool AlsaSequencerClient::FindPort(const std::string& systemName, bool sources, Address& found)
{
    // The address at the end of the name is where the port was; a port that moved is found by
    // its name, and a name no port has any more finds nothing.
    const std::size_t space = systemName.rfind(' ');
    const std::size_t colon = systemName.rfind(':');
    if (space != std::string::npos && colon != std::string::npos && colon > space)
    {
        const Address listed{std::atoi(systemName.c_str() + space + 1),
                             std::atoi(systemName.c_str() + colon + 1)};
        if (GetSystemName(listed) == systemName)
        {
            found = listed;
            return true;
        }
    }
    const std::string wanted = systemName.substr(0, space);
    for (const std::string& name : GetPortNames(sources))
    {
        const std::size_t nameSpace = name.rfind(' ');
        if (name.compare(0, nameSpace, wanted) == 0 && nameSpace == wanted.size())
        {
            const std::size_t nameColon = name.rfind(':');
            found = Address{std::atoi(name.c_str() + nameSpace + 1),
                            std::atoi(name.c_str() + nameColon + 1)};
            return true;
        }
    }
    return false;
}

int AlsaSequencerClient::Connect(bool input, const std::string& systemName)
{
    Address peer;
    if (!FindPort(systemName, input, peer))
    {
        return -1;
    }
    const int port = input ? CreateInputPort("capture")
                           : snd_seq_create_simple_port(mImpl->seq, "render", kSourceCaps, kPortType);
    if (port < 0)
    {
        return -1;
    }
    const int subscribed = input ? snd_seq_connect_from(mImpl->seq, port, peer.client, peer.port)
                                 : snd_seq_connect_to(mImpl->seq, port, peer.client, peer.port);
    if (subscribed < 0)
    {
        snd_seq_delete_simple_port(mImpl->seq, port);
        return -1;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    mPeers[port] = Peer{peer, ++mConnections};
    return port;
}

int AlsaSequencerClient::Publish(bool input, const std::string& name)
{
    const int port =
        input ? CreateInputPort(name.c_str())
              : snd_seq_create_simple_port(mImpl->seq, name.c_str(), kSourceCaps, kPortType);
    if (port >= 0)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mPublished.insert(port);
    }
    return port;
}

int AlsaSequencerClient::CreateInputPort(const char* name)
{
    snd_seq_port_info_t* info = nullptr;
    snd_seq_port_info_alloca(&info);
    snd_seq_port_info_set_name(info, name);
    snd_seq_port_info_set_capability(info, kDestinationCaps);
    snd_seq_port_info_set_type(info, kPortType);
    snd_seq_port_info_set_timestamping(info, 1);
    snd_seq_port_info_set_timestamp_real(info, 1);
    snd_seq_port_info_set_timestamp_queue(info, mImpl->queue);
    return snd_seq_create_port(mImpl->seq, info) < 0 ? -1 : snd_seq_port_info_get_port(info);
}

void AlsaSequencerClient::Release(int port)
{
    SetReceiver(port, nullptr);
    snd_seq_delete_simple_port(mImpl->seq, port);
    std::lock_guard<std::mutex> lock(mMutex);
    mPeers.erase(port);
    mLost.erase(port);
    mPublished.erase(port);
}

bool AlsaSequencerClient::HasDestination(int port)
{
    Address peer;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mLost.count(port) != 0)
        {
            return false;
        }
        const auto found = mPeers.find(port);
        if (found != mPeers.end())
        {
            peer = found->second.address;
        }
    }
    const snd_seq_addr_t own{static_cast<unsigned char>(mImpl->clientId),
                             static_cast<unsigned char>(port)};
    if (peer.client < 0)
    {
        // A published port: someone must be subscribed to it.
        snd_seq_query_subscribe_t* query = nullptr;
        snd_seq_query_subscribe_alloca(&query);
        snd_seq_query_subscribe_set_root(query, &own);
        snd_seq_query_subscribe_set_type(query, SND_SEQ_QUERY_SUBS_READ);
        snd_seq_query_subscribe_set_index(query, 0);
        return snd_seq_query_port_subscribers(mImpl->seq, query) >= 0;
    }
    return IsSubscribed({mImpl->clientId, port}, peer);
}

bool AlsaSequencerClient::IsSubscribed(const Address& sender, const Address& dest)
{
    const snd_seq_addr_t from{static_cast<unsigned char>(sender.client),
                              static_cast<unsigned char>(sender.port)};
    const snd_seq_addr_t to{static_cast<unsigned char>(dest.client),
                            static_cast<unsigned char>(dest.port)};
    snd_seq_port_subscribe_t* subscription = nullptr;
    snd_seq_port_subscribe_alloca(&subscription);
    snd_seq_port_subscribe_set_sender(subscription, &from);
    snd_seq_port_subscribe_set_dest(subscription, &to);
    return snd_seq_get_port_subscription(mImpl->seq, subscription) >= 0;
}

bool AlsaSequencerClient::Send(int port, const std::uint8_t* bytes, std::size_t count, bool isLong)
{
    if (count == 0 || !HasDestination(port))
    {
        return false;
    }
    std::lock_guard<std::mutex> lock(mOutputMutex);
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    if (isLong)
    {
        snd_seq_ev_set_sysex(&event, static_cast<unsigned int>(count),
                             const_cast<std::uint8_t*>(bytes));
    }
    else
    {
        snd_midi_event_reset_encode(mImpl->encoder);
        if (snd_midi_event_encode(mImpl->encoder, bytes, static_cast<long>(count), &event) <= 0 ||
            event.type == SND_SEQ_EVENT_NONE)
        {
            return false;
        }
    }
    snd_seq_ev_set_source(&event, port);
    snd_seq_ev_set_subs(&event);
    snd_seq_ev_set_direct(&event);
    if (snd_seq_event_output(mImpl->seq, &event) < 0 || snd_seq_drain_output(mImpl->seq) < 0)
    {
        // alsa-lib keeps what the sequencer refused; it must not leave with a later event.
        snd_seq_drop_output(mImpl->seq);
        return false;
    }
    return true;
}

void AlsaSequencerClient::SetReceiver(int port, Receiver* receiver)
{
    std::lock_guard<std::mutex> lock(mReceiverMutex);
    if (receiver == nullptr)
    {
        mReceivers.erase(port);
    }
    else
    {
        mReceivers[port] = receiver;
    }
}

void AlsaSequencerClient::ReadLoop()
{
    const int count = snd_seq_poll_descriptors_count(mImpl->seq, POLLIN);
    std::vector<pollfd> fds(static_cast<std::size_t>(std::max(count, 0)) + 1);
    snd_seq_poll_descriptors(mImpl->seq, fds.data(), static_cast<unsigned int>(count), POLLIN);
    fds.back() = pollfd{mImpl->wake[0], POLLIN, 0};
    for (;;)
    {
        if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
        {
            return;
        }
        if (fds.back().revents != 0)
        {
            return;
        }
        // The sequencer is readable, so the first read does not block; the rest come from what
        // that read buffered. An overrun (-ENOSPC) loses events and reading goes on.
        int read = 0;
        do
        {
            snd_seq_event_t* event = nullptr;
            read = snd_seq_event_input(mImpl->seq, &event);
            if (read >= 0 && event != nullptr)
            {
                Handle(event);
            }
        } while (read >= 0 && snd_seq_event_input_pending(mImpl->seq, 0) > 0);
    }
}

void AlsaSequencerClient::Handle(const void* raw)
{
    const auto* event = static_cast<const snd_seq_event_t*>(raw);
    if (event->dest.port == mImpl->announcePort)
    {
        switch (event->type)
        {
        case SND_SEQ_EVENT_PORT_EXIT:
            MarkLost({event->data.addr.client, event->data.addr.port}, -1);
            break;
        case SND_SEQ_EVENT_CLIENT_EXIT:
            MarkLost({event->data.addr.client, -1}, -1);
            break;
        case SND_SEQ_EVENT_PORT_UNSUBSCRIBED:
        {
            const snd_seq_addr_t& sender = event->data.connect.sender;
            const snd_seq_addr_t& dest = event->data.connect.dest;
            if (sender.client == mImpl->clientId)
            {
                MarkLost({dest.client, dest.port}, sender.port);
            }
            else if (dest.client == mImpl->clientId)
            {
                MarkLost({sender.client, sender.port}, dest.port);
            }
            break;
        }
        default:
            break;
        }
        return;
    }
    const std::uint8_t* bytes = nullptr;
    long length = 0;
    std::uint8_t decoded[kShortMessageSize];
    if (event->type == SND_SEQ_EVENT_SYSEX)
    {
        bytes = static_cast<const std::uint8_t*>(event->data.ext.ptr);
        length = static_cast<long>(event->data.ext.len);
    }
    else
    {
        snd_midi_event_reset_decode(mImpl->decoder);
        length = snd_midi_event_decode(mImpl->decoder, decoded, sizeof decoded, event);
        bytes = decoded;
    }
    if (length <= 0)
    {
        return;
    }
    const snd_seq_real_time_t& stamp = event->time.time;
    const std::uint64_t timeUs = std::uint64_t{stamp.tv_sec} * 1000000 + stamp.tv_nsec / 1000;
    std::lock_guard<std::mutex> lock(mReceiverMutex);
    const auto found = mReceivers.find(event->dest.port);
    if (found != mReceivers.end())
    {
        found->second->Receive(bytes, static_cast<std::size_t>(length), timeUs);
    }
}

void AlsaSequencerClient::MarkLost(const Address& gone, int ownPort)
{
    std::map<int, Peer> matching;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        for (const auto& [port, peer] : mPeers)
        {
            const Address& address = peer.address;
            if (address.client == gone.client && (gone.port < 0 || address.port == gone.port) &&
                (ownPort < 0 || port == ownPort))
            {
                matching[port] = peer;
            }
        }
    }
    // Announcements are read after the fact: by then a port of ours may have been released and
    // made again under the same number, subscribed to a new port at the gone one's address (the
    // sequencer hands freed numbers out again). Only a port whose subscription is gone now lost
    // its peer, and only the subscription that was looked at: one made since the look is left.
    for (auto it = matching.begin(); it != matching.end();)
    {
        const Address own{mImpl->clientId, it->first};
        const Address& peer = it->second.address;
        const bool standing = IsSubscribed(own, peer) || IsSubscribed(peer, own);
        it = standing ? matching.erase(it) : std::next(it);
    }
    std::lock_guard<std::mutex> lock(mMutex);
    for (const auto& [port, peer] : matching)
    {
        const auto current = mPeers.find(port);
        if (current != mPeers.end() && current->second == peer)
        {
            mLost.insert(port);
        }
    }
}

} // namespace Platform
