// alsa-lib's sequencer functions as the ALSA backend calls them, each a request to the stand-in
// sequencer's broker (AlsaSequencerBroker) named in the environment. Built into a test program,
// these take the place of alsa-lib's own; alsa-lib's MIDI event coder stays the real one. With no
// broker named, opening fails as it does on a machine without a sequencer.
#include "Platform/Midi/tests/AlsaSequencerStandIn.h"

#include "Platform/Midi/tests/AlsaSequencerProtocol.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

// alsa-lib's events are fixed-size records of 28 bytes whose parameters take 12; variable-length
// data travels beside them.
static_assert(sizeof(snd_seq_event_t) == 28, "a sequencer event is 28 bytes");
static_assert(sizeof(snd_seq_event_t::data) == 12, "a fixed event's parameters take 12 bytes");

using Platform::Testing::AlsaSequencerProtocol::EventFrame;
using Platform::Testing::AlsaSequencerProtocol::Op;
using Platform::Testing::AlsaSequencerProtocol::ReadAll;
using Platform::Testing::AlsaSequencerProtocol::WriteAll;
using Platform::Testing::AlsaSequencerProtocol::Reply;
using Platform::Testing::AlsaSequencerProtocol::Request;

namespace
{

// An event with the variable-length data it points to.
struct Held
{
    snd_seq_event_t event{};
    std::vector<unsigned char> data;

    // Points the event at its own copy of the data.
    void Point()
    {
        if ((event.flags & SND_SEQ_EVENT_LENGTH_MASK) == SND_SEQ_EVENT_LENGTH_VARIABLE)
        {
            event.data.ext.ptr = data.data();
            event.data.ext.len = static_cast<unsigned int>(data.size());
        }
    }
};

// The hold on the next subscription answer.
struct AnswerGate
{
    std::mutex mutex;
    std::condition_variable changed;
    bool armed = false;
    bool holding = false;

    void PassWithAnswer()
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (!armed)
        {
            return;
        }
        armed = false;
        holding = true;
        changed.notify_all();
        changed.wait(lock, [this] { return !holding; });
    }
};

AnswerGate& Gate()
{
    static AnswerGate gate;
    return gate;
}

int ConnectToBroker()
{
    const char* path = std::getenv(Platform::Testing::AlsaSequencerProtocol::kSocketVariable);
    if (path == nullptr)
    {
        return -1;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    {
        close(fd);
        return -1;
    }
    return fd;
}

void CopyName(const char* name, char (&into)[Platform::Testing::AlsaSequencerProtocol::kNameSize])
{
    std::snprintf(into, sizeof into, "%s", name);
}

} // namespace

struct _snd_seq
{
    int requests = -1;
    int events = -1;
    int client = -1;
    // One request and its reply at a time.
    std::mutex mutex;
    // What snd_seq_event_output buffered for snd_seq_drain_output.
    std::vector<Held> output;
    // The event last handed to the reader; valid until the next read.
    Held current;

    // The request's result, or -EPIPE when the broker is gone.
    int Ask(const Request& request, Reply& reply, const void* data = nullptr)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!WriteAll(requests, &request, sizeof request) ||
            !WriteAll(requests, data, request.dataLength) ||
            !ReadAll(requests, &reply, sizeof reply))
        {
            return -EPIPE;
        }
        return reply.result;
    }

    int Ask(const Request& request)
    {
        Reply reply;
        return Ask(request, reply);
    }

    ~_snd_seq()
    {
        for (int fd : {requests, events})
        {
            if (fd >= 0)
            {
                close(fd);
            }
        }
    }
};

struct _snd_seq_client_info
{
    int client;
    char name[Platform::Testing::AlsaSequencerProtocol::kNameSize];
};

struct _snd_seq_port_info
{
    int client;
    int port;
    unsigned int caps;
    unsigned int type;
    int timestamping;
    int realTime;
    int queue;
    char name[Platform::Testing::AlsaSequencerProtocol::kNameSize];
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

extern "C" {

int snd_seq_open(snd_seq_t** handle, const char*, int, int)
{
    auto seq = std::make_unique<_snd_seq>();
    seq->requests = ConnectToBroker();
    seq->events = seq->requests < 0 ? -1 : ConnectToBroker();
    if (seq->events < 0)
    {
        return -ENOENT;
    }
    Request request;
    request.op = Op::Open;
    seq->client = seq->Ask(request);
    if (seq->client < 0)
    {
        return seq->client;
    }
    // The event connection is a second client of the broker's: it asks once, then only listens.
    Request attach;
    attach.op = Op::AttachEvents;
    attach.client = seq->client;
    Reply reply;
    if (!WriteAll(seq->events, &attach, sizeof attach) ||
        !ReadAll(seq->events, &reply, sizeof reply) || reply.result < 0)
    {
        return -EPIPE;
    }
    *handle = seq.release();
    return 0;
}

int snd_seq_close(snd_seq_t* seq)
{
    // The broker closes the client once the requests end; its end of the connection closing
    // tells that it did, so the client is gone when this returns, as with the kernel.
    shutdown(seq->requests, SHUT_WR);
    char byte = 0;
    while (read(seq->requests, &byte, 1) > 0)
    {
    }
    delete seq;
    return 0;
}

int snd_seq_client_id(snd_seq_t* seq)
{
    return seq->client;
}

int snd_seq_set_client_name(snd_seq_t* seq, const char* name)
{
    Request request;
    request.op = Op::SetName;
    CopyName(name, request.name);
    return seq->Ask(request);
}

int snd_seq_create_simple_port(snd_seq_t* seq, const char* name, unsigned int caps, unsigned int)
{
    Request request;
    request.op = Op::CreatePort;
    request.caps = caps;
    CopyName(name, request.name);
    return seq->Ask(request);
}

int snd_seq_create_port(snd_seq_t* seq, snd_seq_port_info_t* info)
{
    Request request;
    request.op = Op::CreatePort;
    request.caps = info->caps;
    request.queue = info->timestamping != 0 ? info->queue : -1;
    request.realTime = info->realTime;
    CopyName(info->name, request.name);
    const int port = seq->Ask(request);
    if (port >= 0)
    {
        info->client = seq->client;
        info->port = port;
    }
    return port < 0 ? port : 0;
}

int snd_seq_alloc_queue(snd_seq_t* seq)
{
    Request request;
    request.op = Op::AllocQueue;
    return seq->Ask(request);
}

// Only starting a queue is stood in for; the event record is not used.
int snd_seq_control_queue(snd_seq_t* seq, int q, int type, int, snd_seq_event_t*)
{
    if (type != SND_SEQ_EVENT_START)
    {
        return -EINVAL;
    }
    Request request;
    request.op = Op::StartQueue;
    request.queue = q;
    return seq->Ask(request);
}

int snd_seq_delete_simple_port(snd_seq_t* seq, int port)
{
    Request request;
    request.op = Op::DeletePort;
    request.port = port;
    return seq->Ask(request);
}

static int Subscription(snd_seq_t* seq, Op op, int senderClient, int senderPort, int destClient,
                        int destPort)
{
    Request request;
    request.op = op;
    request.client = senderClient;
    request.port = senderPort;
    request.otherClient = destClient;
    request.otherPort = destPort;
    return seq->Ask(request);
}

int snd_seq_connect_from(snd_seq_t* seq, int myPort, int srcClient, int srcPort)
{
    return Subscription(seq, Op::Connect, srcClient, srcPort, seq->client, myPort);
}

int snd_seq_connect_to(snd_seq_t* seq, int myPort, int destClient, int destPort)
{
    return Subscription(seq, Op::Connect, seq->client, myPort, destClient, destPort);
}

int snd_seq_disconnect_from(snd_seq_t* seq, int myPort, int srcClient, int srcPort)
{
    return Subscription(seq, Op::Disconnect, srcClient, srcPort, seq->client, myPort);
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

void snd_seq_port_info_set_name(snd_seq_port_info_t* info, const char* name)
{
    CopyName(name, info->name);
}

void snd_seq_port_info_set_capability(snd_seq_port_info_t* info, unsigned int capability)
{
    info->caps = capability;
}

void snd_seq_port_info_set_type(snd_seq_port_info_t* info, unsigned int type)
{
    info->type = type;
}

void snd_seq_port_info_set_timestamping(snd_seq_port_info_t* info, int enable)
{
    info->timestamping = enable;
}

void snd_seq_port_info_set_timestamp_real(snd_seq_port_info_t* info, int realtime)
{
    info->realTime = realtime;
}

void snd_seq_port_info_set_timestamp_queue(snd_seq_port_info_t* info, int queue)
{
    info->queue = queue;
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

static int AskClient(snd_seq_t* seq, Op op, int client, snd_seq_client_info_t* info)
{
    Request request;
    request.op = op;
    request.client = client;
    Reply reply;
    const int result = seq->Ask(request, reply);
    if (result >= 0)
    {
        info->client = reply.client;
        CopyName(reply.name, info->name);
    }
    return result;
}

static int AskPort(snd_seq_t* seq, Op op, int client, int port, snd_seq_port_info_t* info)
{
    Request request;
    request.op = op;
    request.client = client;
    request.port = port;
    Reply reply;
    const int result = seq->Ask(request, reply);
    if (result >= 0)
    {
        info->client = reply.client;
        info->port = reply.port;
        info->caps = reply.caps;
        CopyName(reply.name, info->name);
    }
    return result;
}

int snd_seq_query_next_client(snd_seq_t* seq, snd_seq_client_info_t* info)
{
    return AskClient(seq, Op::NextClient, info->client, info);
}

int snd_seq_query_next_port(snd_seq_t* seq, snd_seq_port_info_t* info)
{
    return AskPort(seq, Op::NextPort, info->client, info->port, info);
}

int snd_seq_get_any_client_info(snd_seq_t* seq, int client, snd_seq_client_info_t* info)
{
    return AskClient(seq, Op::ClientInfo, client, info);
}

int snd_seq_get_any_port_info(snd_seq_t* seq, int client, int port, snd_seq_port_info_t* info)
{
    return AskPort(seq, Op::PortInfo, client, port, info);
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

int snd_seq_query_port_subscribers(snd_seq_t* seq, snd_seq_query_subscribe_t* query)
{
    Request request;
    request.op = Op::QuerySubscribers;
    request.client = query->root.client;
    request.port = query->root.port;
    request.caps = static_cast<unsigned int>(query->type);
    request.index = query->index;
    Reply reply;
    const int result = seq->Ask(request, reply);
    if (result >= 0)
    {
        query->address = {static_cast<unsigned char>(reply.client),
                          static_cast<unsigned char>(reply.port)};
    }
    return result;
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

int snd_seq_get_port_subscription(snd_seq_t* seq, snd_seq_port_subscribe_t* sub)
{
    const int answer = Subscription(seq, Op::GetSubscription, sub->sender.client,
                                    sub->sender.port, sub->dest.client, sub->dest.port);
    Gate().PassWithAnswer();
    return answer;
}

int snd_seq_event_output(snd_seq_t* seq, snd_seq_event_t* event)
{
    Held held;
    held.event = *event;
    if ((event->flags & SND_SEQ_EVENT_LENGTH_MASK) == SND_SEQ_EVENT_LENGTH_VARIABLE)
    {
        const auto* bytes = static_cast<const unsigned char*>(event->data.ext.ptr);
        held.data.assign(bytes, bytes + event->data.ext.len);
    }
    held.event.source.client = static_cast<unsigned char>(seq->client);
    seq->output.push_back(std::move(held));
    return static_cast<int>(seq->output.size() * sizeof(snd_seq_event_t));
}

// Events the sequencer refused stay buffered, as alsa-lib keeps what it could not write.
int snd_seq_drain_output(snd_seq_t* seq)
{
    while (!seq->output.empty())
    {
        Held& held = seq->output.front();
        Request request;
        request.op = Op::Send;
        request.event = held.event;
        request.dataLength = static_cast<std::uint32_t>(held.data.size());
        Reply reply;
        const int sent = seq->Ask(request, reply, held.data.data());
        if (sent < 0)
        {
            return sent;
        }
        seq->output.erase(seq->output.begin());
    }
    return 0;
}

int snd_seq_drop_output(snd_seq_t* seq)
{
    seq->output.clear();
    return 0;
}

static bool HasInput(snd_seq_t* seq)
{
    pollfd fd{seq->events, POLLIN, 0};
    return poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN) != 0;
}

int snd_seq_event_input(snd_seq_t* seq, snd_seq_event_t** event)
{
    EventFrame frame;
    if (!HasInput(seq) || !ReadAll(seq->events, &frame, sizeof frame))
    {
        return -EAGAIN;
    }
    seq->current.event = frame.event;
    seq->current.data.resize(frame.dataLength);
    if (!ReadAll(seq->events, seq->current.data.data(), frame.dataLength))
    {
        return -EPIPE;
    }
    seq->current.Point();
    *event = &seq->current.event;
    return HasInput(seq) ? static_cast<int>(sizeof(snd_seq_event_t)) : 0;
}

int snd_seq_event_input_pending(snd_seq_t* seq, int)
{
    return HasInput(seq) ? 1 : 0;
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
    fds[0] = pollfd{seq->events, events, 0};
    return 1;
}

} // extern "C"

namespace Platform::Testing::AlsaSequencerStandIn
{

void HoldNextSubscriptionAnswer()
{
    std::lock_guard<std::mutex> lock(Gate().mutex);
    Gate().armed = true;
}

bool WaitForHeldAnswer()
{
    std::unique_lock<std::mutex> lock(Gate().mutex);
    return Gate().changed.wait_for(lock, std::chrono::seconds(5), [] { return Gate().holding; });
}

void ReleaseHeldAnswer()
{
    {
        std::lock_guard<std::mutex> lock(Gate().mutex);
        Gate().armed = false;
        Gate().holding = false;
    }
    Gate().changed.notify_all();
}

} // namespace Platform::Testing::AlsaSequencerStandIn
