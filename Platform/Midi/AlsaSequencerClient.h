// The process's one ALSA sequencer client: a port of its own per opened or published port, a
// reader thread that hands each received event to its port's receiver, and a port subscribed to
// the sequencer's announcements, through which it learns that a peer went away. Its input ports
// have the sequencer stamp every event as it arrives, in real time on a queue of the client's
// own, so that arrival times tell the pacing on the sequencer, not when the reader woke.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace Platform
{

class AlsaSequencerClient
{
public:
    // Where a port's events go, on the reader thread.
    class Receiver
    {
    public:
        // timeUs: the arrival on the client's queue, in microseconds since the queue started.
        virtual void Receive(const std::uint8_t* bytes, std::size_t count,
                             std::uint64_t timeUs) = 0;

    protected:
        ~Receiver() = default;
    };

    // Opens the sequencer; null when this machine has none.
    static std::shared_ptr<AlsaSequencerClient> Open();
    ~AlsaSequencerClient();
    AlsaSequencerClient(const AlsaSequencerClient&) = delete;
    AlsaSequencerClient& operator=(const AlsaSequencerClient&) = delete;

    // The ports others may read from (sources) or send to, as "client:port c:p" (the form
    // ParseMidiPortName reads), ours that are published included and our others left out.
    std::vector<std::string> GetPortNames(bool sources);
    // Makes a port of ours and subscribes it to the port of that name (from GetPortNames); the
    // port number, or -1 when no port has that name any more or the subscription fails.
    int Connect(bool input, const std::string& systemName);
    // Makes a port others can subscribe to; -1 on failure.
    int Publish(bool input, const std::string& name);
    // Deletes a port of ours, and with it its subscriptions.
    void Release(int port);

    // Sends bytes from port as one event (System Exclusive for a long message) and drains the
    // output: false once the port has no subscribed peer.
    [[nodiscard]] bool Send(int port, const std::uint8_t* bytes, std::size_t count, bool isLong);
    void SetReceiver(int port, Receiver* receiver);

private:
    struct Address
    {
        int client = -1;
        int port = -1;
        bool operator==(const Address&) const = default;
    };
    // A port of ours subscribed to another's. A released port's number comes back with a later
    // Connect, so each subscription also has a number of its own.
    struct Peer
    {
        Address address;
        std::uint64_t connection = 0;
        bool operator==(const Peer&) const = default;
    };
    struct Impl;

    explicit AlsaSequencerClient(std::unique_ptr<Impl> impl);
    std::string GetSystemName(const Address& address);
    // A port that receives, its events stamped on arrival; -1 on failure.
    int CreateInputPort(const char* name);
    bool FindPort(const std::string& systemName, bool sources, Address& found);
    bool HasDestination(int port);
    bool IsSubscribed(const Address& sender, const Address& dest);
    void ReadLoop();
    void Handle(const void* event);
    // Marks the ports of ours whose peer is gone (every port of its client for port -1) and whose
    // subscription to it is gone; only ownPort unless it is -1.
    void MarkLost(const Address& gone, int ownPort);

    std::unique_ptr<Impl> mImpl;
    // Guards the sequencer's output and its encoder.
    std::mutex mOutputMutex;
    // Guards the receivers; held while one runs.
    std::mutex mReceiverMutex;
    std::map<int, Receiver*> mReceivers;
    // Guards the peers, the ports that lost theirs, and the published ports.
    std::mutex mMutex;
    std::map<int, Peer> mPeers;
    std::uint64_t mConnections = 0;
    std::set<int> mLost;
    std::set<int> mPublished;
    std::thread mReader;
};

} // namespace Platform
