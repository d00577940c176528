#include "Platform/Midi/tests/AlsaSequencerBroker.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace Platform::Testing
{
namespace
{

using AlsaSequencerProtocol::EventFrame;
using AlsaSequencerProtocol::Op;
using AlsaSequencerProtocol::ReadAll;
using AlsaSequencerProtocol::WriteAll;
using AlsaSequencerProtocol::Reply;
using AlsaSequencerProtocol::Request;

constexpr int kFirstUserClient = 128;
// Holds every event a test sends without the broker waiting for a slow reader.
constexpr int kEventBufferBytes = 4 * 1024 * 1024;

snd_seq_addr_t ToAddr(const std::pair<int, int>& address)
{
    return {static_cast<unsigned char>(address.first), static_cast<unsigned char>(address.second)};
}

void CopyName(const std::string& name, char (&into)[AlsaSequencerProtocol::kNameSize])
{
    std::snprintf(into, sizeof into, "%s", name.c_str());
}

} // namespace

AlsaSequencerBroker::~AlsaSequencerBroker()
{
    Stop();
}

bool AlsaSequencerBroker::Start()
{
    static std::atomic<int> sCount{0};
    mPath = "/tmp/qz-alsa-seq-" + std::to_string(getpid()) + "-" + std::to_string(sCount++);
    unlink(mPath.c_str());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", mPath.c_str());
    mListener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (mListener < 0 || bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(mListener, 16) != 0)
    {
        Stop();
        return false;
    }
    mStopping = false;
    mClients[SND_SEQ_CLIENT_SYSTEM] = Client{"System", -1};
    mPorts[{SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_TIMER}] = Port{"Timer", 0};
    mPorts[{SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE}] =
        Port{"Announce", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ};
    setenv(AlsaSequencerProtocol::kSocketVariable, mPath.c_str(), 1);
    mAcceptor = std::thread([this] { AcceptLoop(); });
    return true;
}

void AlsaSequencerBroker::Stop()
{
    mStopping = true;
    if (mListener >= 0)
    {
        shutdown(mListener, SHUT_RDWR);
    }
    if (mAcceptor.joinable())
    {
        mAcceptor.join();
    }
    std::list<std::thread> servers;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        for (int connection : mConnections)
        {
            shutdown(connection, SHUT_RDWR);
        }
        servers.swap(mServers);
    }
    for (std::thread& server : servers)
    {
        server.join();
    }
    if (mListener >= 0)
    {
        close(mListener);
        unlink(mPath.c_str());
        unsetenv(AlsaSequencerProtocol::kSocketVariable);
        mListener = -1;
    }
    mClients.clear();
    mPorts.clear();
    mQueues.clear();
    mSubscriptions.clear();
    mPoolFull = false;
    mAnnouncementsHeld = false;
    mHeldAnnouncements.clear();
}

void AlsaSequencerBroker::SetOutputPoolFull(bool full)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mPoolFull = full;
}

void AlsaSequencerBroker::SetAnnouncementsHeld(bool held)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mAnnouncementsHeld = held;
    if (!held)
    {
        for (const snd_seq_event_t& event : mHeldAnnouncements)
        {
            Deliver({SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE}, event, nullptr, 0);
        }
        mHeldAnnouncements.clear();
    }
}

int AlsaSequencerBroker::GetClientCount()
{
    std::lock_guard<std::mutex> lock(mMutex);
    return static_cast<int>(mClients.size()) - 1;
}

void AlsaSequencerBroker::AcceptLoop()
{
    for (;;)
    {
        const int connection = accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
        {
            if (mStopping || errno != EINTR)
            {
                return;
            }
            continue;
        }
        setsockopt(connection, SOL_SOCKET, SO_SNDBUF, &kEventBufferBytes, sizeof kEventBufferBytes);
        std::lock_guard<std::mutex> lock(mMutex);
        mConnections.insert(connection);
        mServers.emplace_back([this, connection] { Serve(connection); });
    }
}

void AlsaSequencerBroker::Serve(int connection)
{
    int ownClient = -1;
    Request request;
    std::vector<unsigned char> data;
    while (ReadAll(connection, &request, sizeof request))
    {
        data.resize(request.dataLength);
        if (!ReadAll(connection, data.data(), data.size()))
        {
            break;
        }
        Reply reply;
        {
            std::lock_guard<std::mutex> lock(mMutex);
            reply.result = Handle(connection, ownClient, request, data.data(), reply);
        }
        if (!WriteAll(connection, &reply, sizeof reply))
        {
            break;
        }
    }
    // A client whose process ended, or that closed, exits; an event connection detaches.
    std::lock_guard<std::mutex> lock(mMutex);
    if (ownClient >= 0)
    {
        Close(ownClient);
    }
    for (auto& [id, client] : mClients)
    {
        if (client.events == connection)
        {
            client.events = -1;
        }
    }
    mConnections.erase(connection);
    close(connection);
}

int AlsaSequencerBroker::Handle(int connection, int& ownClient, const Request& request,
                                const unsigned char* data, Reply& reply)
{
    const Address address{request.client, request.port};
    const Address other{request.otherClient, request.otherPort};
    switch (request.op)
    {
    case Op::Open:
        ownClient = Open(connection);
        return ownClient;
    case Op::AttachEvents:
        if (mClients.count(request.client) == 0)
        {
            return -ENOENT;
        }
        mClients[request.client].events = connection;
        return 0;
    case Op::SetName:
        mClients[ownClient].name = request.name;
        return 0;
    case Op::CreatePort:
        return CreatePort(ownClient, Port{request.name, request.caps, request.queue,
                                          request.realTime != 0});
    case Op::AllocQueue:
    {
        int queue = 0;
        while (mQueues.count(queue) != 0)
        {
            ++queue;
        }
        mQueues[queue].owner = ownClient;
        return queue;
    }
    case Op::StartQueue:
    {
        const auto found = mQueues.find(request.queue);
        if (found == mQueues.end() || found->second.owner != ownClient)
        {
            return -EPERM;
        }
        found->second.started = true;
        found->second.start = std::chrono::steady_clock::now();
        return 0;
    }
    case Op::DeletePort:
        if (mPorts.count({ownClient, request.port}) == 0)
        {
            return -ENOENT;
        }
        DeletePort({ownClient, request.port});
        return 0;
    case Op::Connect:
        return Subscribe(ownClient, address, other);
    case Op::Disconnect:
        return Unsubscribe(address, other);
    case Op::NextClient:
    {
        const auto next = mClients.upper_bound(request.client);
        if (next == mClients.end())
        {
            return -ENOENT;
        }
        reply.client = next->first;
        CopyName(next->second.name, reply.name);
        return 0;
    }
    case Op::NextPort:
    {
        const auto next = mPorts.upper_bound(address);
        if (next == mPorts.end() || next->first.first != request.client)
        {
            return -ENOENT;
        }
        reply.client = next->first.first;
        reply.port = next->first.second;
        reply.caps = next->second.caps;
        CopyName(next->second.name, reply.name);
        return 0;
    }
    case Op::ClientInfo:
    {
        const auto found = mClients.find(request.client);
        if (found == mClients.end())
        {
            return -ENOENT;
        }
        reply.client = found->first;
        CopyName(found->second.name, reply.name);
        return 0;
    }
    case Op::PortInfo:
    {
        const auto found = mPorts.find(address);
        if (found == mPorts.end())
        {
            return -ENOENT;
        }
        reply.client = request.client;
        reply.port = request.port;
        reply.caps = found->second.caps;
        CopyName(found->second.name, reply.name);
        return 0;
    }
    case Op::QuerySubscribers:
    {
        const bool reading = request.caps == SND_SEQ_QUERY_SUBS_READ;
        int index = 0;
        for (const auto& [sender, dest] : mSubscriptions)
        {
            if ((reading ? sender : dest) == address && index++ == request.index)
            {
                const Address& far = reading ? dest : sender;
                reply.client = far.first;
                reply.port = far.second;
                return 0;
            }
        }
        return -ENOENT;
    }
    case Op::GetSubscription:
        return mSubscriptions.count({address, other}) != 0 ? 0 : -ENOENT;
    case Op::Send:
        return Send(ownClient, request.event, data, request.dataLength);
    }
    return -EINVAL;
}

int AlsaSequencerBroker::Open(int)
{
    int id = kFirstUserClient;
    while (mClients.count(id) != 0)
    {
        ++id;
    }
    mClients[id] = Client{"Client-" + std::to_string(id), -1};
    AnnounceAddress(SND_SEQ_EVENT_CLIENT_START, {id, 0});
    return id;
}

void AlsaSequencerBroker::Close(int client)
{
    std::vector<Address> own;
    for (const auto& [address, port] : mPorts)
    {
        if (address.first == client)
        {
            own.push_back(address);
        }
    }
    for (const Address& address : own)
    {
        DeletePort(address);
    }
    for (auto it = mQueues.begin(); it != mQueues.end();)
    {
        it = it->second.owner == client ? mQueues.erase(it) : std::next(it);
    }
    mClients.erase(client);
    AnnounceAddress(SND_SEQ_EVENT_CLIENT_EXIT, {client, 0});
}

int AlsaSequencerBroker::CreatePort(int client, const Port& port)
{
    int number = 0;
    while (mPorts.count({client, number}) != 0)
    {
        ++number;
    }
    mPorts[{client, number}] = port;
    AnnounceAddress(SND_SEQ_EVENT_PORT_START, {client, number});
    return number;
}

void AlsaSequencerBroker::DeletePort(const Address& port)
{
    for (auto it = mSubscriptions.begin(); it != mSubscriptions.end();)
    {
        if (it->first == port || it->second == port)
        {
            const auto [sender, dest] = *it;
            it = mSubscriptions.erase(it);
            AnnounceConnection(SND_SEQ_EVENT_PORT_UNSUBSCRIBED, sender, dest);
        }
        else
        {
            ++it;
        }
    }
    mPorts.erase(port);
    AnnounceAddress(SND_SEQ_EVENT_PORT_EXIT, port);
}

int AlsaSequencerBroker::Subscribe(int client, const Address& sender, const Address& dest)
{
    const auto from = mPorts.find(sender);
    const auto to = mPorts.find(dest);
    if (from == mPorts.end() || to == mPorts.end())
    {
        return -ENOENT;
    }
    // The ends must read and write; a client that owns neither needs their subscription rights.
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
    if (!mSubscriptions.insert({sender, dest}).second)
    {
        return -EBUSY;
    }
    AnnounceConnection(SND_SEQ_EVENT_PORT_SUBSCRIBED, sender, dest);
    return 0;
}

int AlsaSequencerBroker::Unsubscribe(const Address& sender, const Address& dest)
{
    if (mSubscriptions.erase({sender, dest}) == 0)
    {
        return -ENOENT;
    }
    AnnounceConnection(SND_SEQ_EVENT_PORT_UNSUBSCRIBED, sender, dest);
    return 0;
}

int AlsaSequencerBroker::Send(int client, const snd_seq_event_t& event, const unsigned char* data,
                              unsigned int length)
{
    if (mPoolFull)
    {
        return -EAGAIN;
    }
    const Address from{client, event.source.port};
    if (event.dest.client == SND_SEQ_ADDRESS_SUBSCRIBERS)
    {
        if (mPorts.count(from) == 0)
        {
            return -EINVAL;
        }
        Deliver(from, event, data, length);
        return 0;
    }
    const Address to{event.dest.client, event.dest.port};
    if (mPorts.count(to) == 0)
    {
        return -ENOENT;
    }
    DeliverTo(to, event, data, length);
    return 0;
}

void AlsaSequencerBroker::Deliver(const Address& from, const snd_seq_event_t& event,
                                  const unsigned char* data, unsigned int length)
{
    for (const auto& [sender, dest] : mSubscriptions)
    {
        if (sender == from)
        {
            DeliverTo(dest, event, data, length);
        }
    }
}

void AlsaSequencerBroker::DeliverTo(const Address& dest, snd_seq_event_t event,
                                    const unsigned char* data, unsigned int length)
{
    const auto client = mClients.find(dest.first);
    if (client == mClients.end() || client->second.events < 0)
    {
        return;
    }
    event.dest = ToAddr(dest);
    // A port that stamps arrivals gets the time on its queue, in real time, as the event arrives.
    const auto port = mPorts.find(dest);
    const auto queue = port == mPorts.end() ? mQueues.end() : mQueues.find(port->second.queue);
    if (queue != mQueues.end() && queue->second.started && port->second.realTime)
    {
        const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now() - queue->second.start)
                               .count();
        event.flags = static_cast<unsigned char>(
            (event.flags & ~(SND_SEQ_TIME_STAMP_MASK | SND_SEQ_TIME_MODE_MASK)) |
            SND_SEQ_TIME_STAMP_REAL | SND_SEQ_TIME_MODE_ABS);
        event.queue = static_cast<unsigned char>(queue->first);
        event.time.time = {static_cast<unsigned int>(since / 1000000000),
                           static_cast<unsigned int>(since % 1000000000)};
    }
    const EventFrame frame{event, length};
    if (WriteAll(client->second.events, &frame, sizeof frame))
    {
        (void)WriteAll(client->second.events, data, length);
    }
}

void AlsaSequencerBroker::Announce(int type, const snd_seq_event_t& body)
{
    snd_seq_event_t event = body;
    event.type = static_cast<snd_seq_event_type_t>(type);
    event.flags = SND_SEQ_EVENT_LENGTH_FIXED;
    event.source = {SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE};
    event.dest = {SND_SEQ_ADDRESS_SUBSCRIBERS, 0};
    if (mAnnouncementsHeld)
    {
        mHeldAnnouncements.push_back(event);
        return;
    }
    Deliver({SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE}, event, nullptr, 0);
}

void AlsaSequencerBroker::AnnounceAddress(int type, const Address& address)
{
    snd_seq_event_t event{};
    event.data.addr = ToAddr(address);
    Announce(type, event);
}

void AlsaSequencerBroker::AnnounceConnection(int type, const Address& sender, const Address& dest)
{
    snd_seq_event_t event{};
    event.data.connect.sender = ToAddr(sender);
    event.data.connect.dest = ToAddr(dest);
    Announce(type, event);
}

} // namespace Platform::Testing
