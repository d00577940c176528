#include "Platform/Midi/tests/AlsaSequencerStandIn.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <poll.h>
#include <set>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// alsa-lib's events are fixed-size records; variable-length data travels beside them.
static_assert(sizeof(snd_seq_event_t) == 28, "a sequencer event is 28 bytes");

namespace
{

using Address = std::pair<int, int>;

// An event with the variable-length data it points to.
struct Held
{
    snd_seq_event_t event{};
    std::vector<std::uint8_t> data;

    explicit Held(const snd_seq_event_t& from) : event(from)
    {
        if ((from.flags & SND_SEQ_EVENT_LENGTH_MASK) == SND_SEQ_EVENT_LENGTH_VARIABLE)
        {
            const auto* bytes = static_cast<const std::uint8_t*>(from.data.ext.ptr);
            data.assign(bytes, bytes + from.data.ext.len);
        }
        Point();
    }
    Held() = default;

    // Points the event at its own copy of the data.
    void Point()
    {
        if (!data.empty())
        {
            event.data.ext.ptr = data.data();
        }
    }
};

struct Port
{
    std::string name;
    unsigned int caps = 0;
};

} // namespace

struct _snd_seq
{
    int client = -1;
    int wake[2] = {-1, -1};
    std::vector<Held> output;
    // Under the sequencer's lock.
    std::deque<Held> input;
    // The event last handed to the reader; valid until the next read.
    Held current;
};

struct _snd_seq_client_info
{
    int client;
    char name[64];
};

struct _snd_seq_port_info
{
    int client;
    int port;
    unsigned int caps;
    char name[64];
};

struct _snd_seq_query_subscribe
{
    snd_seq_addr_t root;
    snd_seq_query_subs_type_t type;
    int index;
    snd_seq_addr_t address;
};

struct _snd_seq_port_subscribe
{
    snd_seq_addr_t sender;
    snd_seq_addr_t dest;
};

namespace
{

constexpr int kFirstUserClient = 128;

// The one sequencer of the process.
struct Sequencer
{
    std::mutex mutex;
    std::map<int, snd_seq_t*> clients;
    std::map<int, std::string> names{{SND_SEQ_CLIENT_SYSTEM, "System"}};
    std::map<Address, Port> ports{
        {{SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_TIMER}, {"Timer", 0}},
        {{SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE},
         {"Announce", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ}}};
    // Sender, then destination.
    std::set<std::pair<Address, Address>> subscriptions;
    bool poolFull = false;

    static Sequencer& Get()
    {
        static Sequencer sequencer;
        return sequencer;
    }

    // Under mutex: a copy of event for every port subscribed to from.
    void Deliver(const Address& from, const snd_seq_event_t& event)
    {
        for (const auto& [sender, dest] : subscriptions)
        {
            if (sender == from)
            {
                DeliverTo(dest, event);
            }
        }
    }

    void DeliverTo(const Address& dest, const snd_seq_event_t& event)
    {
        const auto client = clients.find(dest.first);
        if (client == clients.end())
        {
            return;
        }
        Held held(event);
        held.event.dest = {static_cast<unsigned char>(dest.first),
                           static_cast<unsigned char>(dest.second)};
        client->second->input.push_back(std::move(held));
        const char byte = 0;
        (void)write(client->second->wake[1], &byte, 1);
    }

    // Under mutex: an announcement from the system client's announcement port.
    void Announce(snd_seq_event_type_t type, const snd_seq_event_t& body)
    {
        snd_seq_event_t event = body;
        event.type = type;
        event.flags = SND_SEQ_EVENT_LENGTH_FIXED;
        event.source = {SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE};
        Deliver({SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE}, event);
    }

    void AnnounceAddress(snd_seq_event_type_t type, int client, int port)
    {
        snd_seq_event_t event{};
        event.data.addr = {static_cast<unsigned char>(client), static_cast<unsigned char>(port)};
        Announce(type, event);
    }

    void AnnounceConnection(snd_seq_event_type_t type, const Address& sender, const Address& dest)
    {
        snd_seq_event_t event{};
        event.data.connect.sender = {static_cast<unsigned char>(sender.first),
                                     static_cast<unsigned char>(sender.second)};
        event.data.connect.dest = {static_cast<unsigned char>(dest.first),
                                   static_cast<unsigned char>(dest.second)};
        Announce(type, event);
    }

    // Under mutex: a port's subscriptions end, then the port.
    void DeletePort(const Address& port)
    {
        for (auto it = subscriptions.begin(); it != subscriptions.end();)
        {
            if (it->first == port || it->second == port)
            {
                const auto [sender, dest] = *it;
                it = subscriptions.erase(it);
                AnnounceConnection(SND_SEQ_EVENT_PORT_UNSUBSCRIBED, sender, dest);
            }
            else
            {
                ++it;
            }
        }
        ports.erase(port);
        AnnounceAddress(SND_SEQ_EVENT_PORT_EXIT, port.first, port.second);
    }

    // Under mutex: the kernel's checks of a subscription that client asks for.
    int Subscribe(int client, const Address& sender, const Address& dest)
    {
        const auto from = ports.find(sender);
        const auto to = ports.find(dest);
        if (from == ports.end() || to == ports.end())
        {
            return -ENOENT;
        }
        const bool readable = (from->second.caps & SND_SEQ_PORT_CAP_READ) != 0 &&
                              (client == sender.first ||
                               (from->second.caps & SND_SEQ_PORT_CAP_SUBS_READ) != 0);
        const bool writable = (to->second.caps & SND_SEQ_PORT_CAP_WRITE) != 0 &&
                              (client == dest.first ||
                               (to->second.caps & SND_SEQ_PORT_CAP_SUBS_WRITE) != 0);
        if (!readable || !writable)
        {
            return -EPERM;
        }
        if (!subscriptions.insert({sender, dest}).second)
        {
            return -EBUSY;
        }
        AnnounceConnection(SND_SEQ_EVENT_PORT_SUBSCRIBED, sender, dest);
        return 0;
    }

    // Under mutex: sends one event as the sequencer's output would.
    int Send(int client, const snd_seq_event_t& event)
    {
        const Address from{client, event.source.port};
        if (event.dest.client == SND_SEQ_ADDRESS_SUBSCRIBERS)
        {
            if (ports.count(from) == 0)
            {
                return -EINVAL;
            }
            Deliver(from, event);
            return 0;
        }
        const Address to{event.dest.client, event.dest.port};
        if (ports.count(to) == 0)
        {
            return -ENOENT;
        }
        DeliverTo(to, event);
        return 0;
    }
};

void FillClient(int client, const std::string& name, snd_seq_client_info_t* info)
{
    info->client = client;
    std::snprintf(info->name, sizeof info->name, "%s", name.c_str());
}

void FillPort(const Address& address, const Port& port, snd_seq_port_info_t* info)
{
    info->client = address.first;
    info->port = address.second;
    info->caps = port.caps;
    std::snprintf(info->name, sizeof info->name, "%s", port.name.c_str());
}

} // namespace

namespace Platform::Testing::AlsaSequencerStandIn
{

void SetOutputPoolFull(bool full)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    sequencer.poolFull = full;
}

int GetClientCount()
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    return static_cast<int>(sequencer.clients.size());
}

} // namespace Platform::Testing::AlsaSequencerStandIn

extern "C" {

int snd_seq_open(snd_seq_t** handle, const char*, int, int)
{
    auto seq = std::make_unique<_snd_seq>();
    if (pipe2(seq->wake, O_NONBLOCK | O_CLOEXEC) != 0)
    {
        return -errno;
    }
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    int id = kFirstUserClient;
    while (sequencer.clients.count(id) != 0)
    {
        ++id;
    }
    seq->client = id;
    sequencer.clients[id] = seq.get();
    sequencer.names[id] = "Client-" + std::to_string(id);
    sequencer.AnnounceAddress(SND_SEQ_EVENT_CLIENT_START, id, 0);
    *handle = seq.release();
    return 0;
}

int snd_seq_close(snd_seq_t* seq)
{
    {
        Sequencer& sequencer = Sequencer::Get();
        std::lock_guard<std::mutex> lock(sequencer.mutex);
        std::vector<Address> own;
        for (const auto& [address, port] : sequencer.ports)
        {
            if (address.first == seq->client)
            {
                own.push_back(address);
            }
        }
        for (const Address& address : own)
        {
            sequencer.DeletePort(address);
        }
        sequencer.clients.erase(seq->client);
        sequencer.names.erase(seq->client);
        sequencer.AnnounceAddress(SND_SEQ_EVENT_CLIENT_EXIT, seq->client, 0);
    }
    close(seq->wake[0]);
    close(seq->wake[1]);
    delete seq;
    return 0;
}

int snd_seq_client_id(snd_seq_t* seq)
{
    return seq->client;
}

int snd_seq_set_client_name(snd_seq_t* seq, const char* name)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    sequencer.names[seq->client] = name;
    return 0;
}

int snd_seq_create_simple_port(snd_seq_t* seq, const char* name, unsigned int caps, unsigned int)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    int number = 0;
    while (sequencer.ports.count({seq->client, number}) != 0)
    {
        ++number;
    }
    sequencer.ports[{seq->client, number}] = Port{name, caps};
    sequencer.AnnounceAddress(SND_SEQ_EVENT_PORT_START, seq->client, number);
    return number;
}

int snd_seq_delete_simple_port(snd_seq_t* seq, int port)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    if (sequencer.ports.count({seq->client, port}) == 0)
    {
        return -ENOENT;
    }
    sequencer.DeletePort({seq->client, port});
    return 0;
}

int snd_seq_connect_from(snd_seq_t* seq, int myPort, int srcClient, int srcPort)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    return sequencer.Subscribe(seq->client, {srcClient, srcPort}, {seq->client, myPort});
}

int snd_seq_connect_to(snd_seq_t* seq, int myPort, int destClient, int destPort)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    return sequencer.Subscribe(seq->client, {seq->client, myPort}, {destClient, destPort});
}

int snd_seq_disconnect_from(snd_seq_t* seq, int myPort, int srcClient, int srcPort)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const Address sender{srcClient, srcPort};
    const Address dest{seq->client, myPort};
    if (sequencer.subscriptions.erase({sender, dest}) == 0)
    {
        return -ENOENT;
    }
    sequencer.AnnounceConnection(SND_SEQ_EVENT_PORT_UNSUBSCRIBED, sender, dest);
    return 0;
}

size_t snd_seq_client_info_sizeof()
{
    return sizeof(_snd_seq_client_info);
}

void snd_seq_client_info_set_client(snd_seq_client_info_t* info, int client)
{
    info->client = client;
}

int snd_seq_client_info_get_client(const snd_seq_client_info_t* info)
{
    return info->client;
}

const char* snd_seq_client_info_get_name(snd_seq_client_info_t* info)
{
    return info->name;
}

size_t snd_seq_port_info_sizeof()
{
    return sizeof(_snd_seq_port_info);
}

void snd_seq_port_info_set_client(snd_seq_port_info_t* info, int client)
{
    info->client = client;
}

void snd_seq_port_info_set_port(snd_seq_port_info_t* info, int port)
{
    info->port = port;
}

int snd_seq_port_info_get_port(const snd_seq_port_info_t* info)
{
    return info->port;
}

unsigned int snd_seq_port_info_get_capability(const snd_seq_port_info_t* info)
{
    return info->caps;
}

const char* snd_seq_port_info_get_name(const snd_seq_port_info_t* info)
{
    return info->name;
}

int snd_seq_query_next_client(snd_seq_t*, snd_seq_client_info_t* info)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const auto next = sequencer.names.upper_bound(info->client);
    if (next == sequencer.names.end())
    {
        return -ENOENT;
    }
    FillClient(next->first, next->second, info);
    return 0;
}

int snd_seq_query_next_port(snd_seq_t*, snd_seq_port_info_t* info)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const auto next = sequencer.ports.upper_bound({info->client, info->port});
    if (next == sequencer.ports.end() || next->first.first != info->client)
    {
        return -ENOENT;
    }
    FillPort(next->first, next->second, info);
    return 0;
}

int snd_seq_get_any_client_info(snd_seq_t*, int client, snd_seq_client_info_t* info)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const auto found = sequencer.names.find(client);
    if (found == sequencer.names.end())
    {
        return -ENOENT;
    }
    FillClient(client, found->second, info);
    return 0;
}

int snd_seq_get_any_port_info(snd_seq_t*, int client, int port, snd_seq_port_info_t* info)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const auto found = sequencer.ports.find({client, port});
    if (found == sequencer.ports.end())
    {
        return -ENOENT;
    }
    FillPort(found->first, found->second, info);
    return 0;
}

size_t snd_seq_query_subscribe_sizeof()
{
    return sizeof(_snd_seq_query_subscribe);
}

void snd_seq_query_subscribe_set_root(snd_seq_query_subscribe_t* query, const snd_seq_addr_t* addr)
{
    query->root = *addr;
}

void snd_seq_query_subscribe_set_type(snd_seq_query_subscribe_t* query,
                                      snd_seq_query_subs_type_t type)
{
    query->type = type;
}

void snd_seq_query_subscribe_set_index(snd_seq_query_subscribe_t* query, int index)
{
    query->index = index;
}

const snd_seq_addr_t* snd_seq_query_subscribe_get_addr(const snd_seq_query_subscribe_t* query)
{
    return &query->address;
}

int snd_seq_query_port_subscribers(snd_seq_t*, snd_seq_query_subscribe_t* query)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const Address root{query->root.client, query->root.port};
    const bool reading = query->type == SND_SEQ_QUERY_SUBS_READ;
    int index = 0;
    for (const auto& [sender, dest] : sequencer.subscriptions)
    {
        if ((reading ? sender : dest) == root && index++ == query->index)
        {
            const Address& other = reading ? dest : sender;
            query->address = {static_cast<unsigned char>(other.first),
                              static_cast<unsigned char>(other.second)};
            return 0;
        }
    }
    return -ENOENT;
}

size_t snd_seq_port_subscribe_sizeof()
{
    return sizeof(_snd_seq_port_subscribe);
}

void snd_seq_port_subscribe_set_sender(snd_seq_port_subscribe_t* info, const snd_seq_addr_t* addr)
{
    info->sender = *addr;
}

void snd_seq_port_subscribe_set_dest(snd_seq_port_subscribe_t* info, const snd_seq_addr_t* addr)
{
    info->dest = *addr;
}

int snd_seq_get_port_subscription(snd_seq_t*, snd_seq_port_subscribe_t* sub)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    const Address sender{sub->sender.client, sub->sender.port};
    const Address dest{sub->dest.client, sub->dest.port};
    return sequencer.subscriptions.count({sender, dest}) != 0 ? 0 : -ENOENT;
}

int snd_seq_event_output(snd_seq_t* seq, snd_seq_event_t* event)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    if (sequencer.poolFull)
    {
        return -EAGAIN;
    }
    event->source.client = static_cast<unsigned char>(seq->client);
    seq->output.emplace_back(*event);
    return static_cast<int>(seq->output.size());
}

int snd_seq_drain_output(snd_seq_t* seq)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    int result = 0;
    for (Held& held : seq->output)
    {
        held.Point();
        const int sent = sequencer.Send(seq->client, held.event);
        result = result < 0 ? result : sent;
    }
    seq->output.clear();
    return result;
}

int snd_seq_event_input(snd_seq_t* seq, snd_seq_event_t** event)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    if (seq->input.empty())
    {
        return -EAGAIN;
    }
    char byte = 0;
    (void)read(seq->wake[0], &byte, 1);
    seq->current = std::move(seq->input.front());
    seq->input.pop_front();
    seq->current.Point();
    *event = &seq->current.event;
    return static_cast<int>(seq->input.size() * sizeof(snd_seq_event_t));
}

int snd_seq_event_input_pending(snd_seq_t* seq, int)
{
    Sequencer& sequencer = Sequencer::Get();
    std::lock_guard<std::mutex> lock(sequencer.mutex);
    return static_cast<int>(seq->input.size());
}

int snd_seq_poll_descriptors_count(snd_seq_t*, short)
{
    return 1;
}

int snd_seq_poll_descriptors(snd_seq_t* seq, struct pollfd* fds, unsigned int space, short events)
{
    if (space < 1)
    {
        return 0;
    }
    fds[0] = pollfd{seq->wake[0], events, 0};
    return 1;
}

} // extern "C"
