// The stand-in sequencer itself, run by a test on a local socket that the stand-in's alsa-lib
// functions reach in every process started with the socket's name in their environment, so that
// a program under test and the emulated keyboard in a process of its own meet on one sequencer.
//
// It keeps clients and ports with names and capabilities, and subscriptions, checked as the
// kernel's sequencer checks them. An event sent to subscribers goes to every port subscribed to
// its source; one sent to a port directly fails with -ENOENT once that port is gone. The system
// client's announcement port tells its subscribers of clients and ports that start and exit and
// of subscriptions made and ended; a port's subscriptions end before the port, a client's ports
// before the client, as the kernel's sequencer orders them.
#pragma once

#include "Platform/Midi/tests/AlsaSequencerProtocol.h"

#include <atomic>
#include <chrono>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Platform::Testing
{

class AlsaSequencerBroker
{
public:
    AlsaSequencerBroker() = default;
    ~AlsaSequencerBroker();
    AlsaSequencerBroker(const AlsaSequencerBroker&) = delete;
    AlsaSequencerBroker& operator=(const AlsaSequencerBroker&) = delete;

    // Listens on a fresh socket and names it in this process's environment, for the process and
    // the programs it starts; false when no socket can be had.
    bool Start();
    // Closes every client and the socket.
    void Stop();

    // While set, every event sent fails as a full output pool makes it fail (-EAGAIN).
    void SetOutputPoolFull(bool full);
    // While set, announcements wait; released, they go out in order, as to a client that reads
    // them late.
    void SetAnnouncementsHeld(bool held);
    // How many clients are open, the system client left out.
    int GetClientCount();

private:
    using Address = std::pair<int, int>;
    struct Port
    {
        std::string name;
        unsigned int caps = 0;
        // The queue that stamps what arrives, -1 for none; real time or ticks.
        int queue = -1;
        bool realTime = false;
    };
    struct Queue
    {
        int owner = -1;
        bool started = false;
        std::chrono::steady_clock::time_point start;
    };
    struct Client
    {
        std::string name;
        // Where its events go; -1 until attached.
        int events = -1;
    };

    void AcceptLoop();
    void Serve(int connection);
    // Under mMutex, from here on.
    int Handle(int connection, int& ownClient, const AlsaSequencerProtocol::Request& request,
               const unsigned char* data, AlsaSequencerProtocol::Reply& reply);
    int Open(int connection);
    void Close(int client);
    int CreatePort(int client, const Port& port);
    void DeletePort(const Address& port);
    int Subscribe(int client, const Address& sender, const Address& dest);
    int Unsubscribe(const Address& sender, const Address& dest);
    int Send(int client, const snd_seq_event_t& event, const unsigned char* data,
             unsigned int length);
    void Deliver(const Address& from, const snd_seq_event_t& event,
                 const unsigned char* data, unsigned int length);
    void DeliverTo(const Address& dest, snd_seq_event_t event, const unsigned char* data,
                   unsigned int length);
    void Announce(int type, const snd_seq_event_t& body);
    void AnnounceAddress(int type, const Address& address);
    void AnnounceConnection(int type, const Address& sender, const Address& dest);

    std::string mPath;
    int mListener = -1;
    std::atomic<bool> mStopping{false};
    std::thread mAcceptor;

    std::mutex mMutex;
    std::list<std::thread> mServers;
    std::set<int> mConnections;
    std::map<int, Client> mClients;
    std::map<Address, Port> mPorts;
    std::map<int, Queue> mQueues;
    // Sender, then destination.
    std::set<std::pair<Address, Address>> mSubscriptions;
    bool mPoolFull = false;
    bool mAnnouncementsHeld = false;
    std::vector<snd_seq_event_t> mHeldAnnouncements;
};

} // namespace Platform::Testing
