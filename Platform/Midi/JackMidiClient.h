// The process's JACK clients and the MIDI ports they keep registered for their whole life.
//
// Inputs and outputs live on two clients of their own, so that no connection loop runs through
// the program when it talks with a program that answers it: JACK runs whatever writes to our
// inputs before the client that reads them, in every cycle, and an input buffer is read exactly
// once, after its writer filled it. (On one client, the connection against the order in which the
// clients run was read before its writer ran, and a writer that missed a cycle left its old buffer
// to be read again; no look at the buffer's contents can tell that from a real repeat.)
//
// A port is a slot: registered once, never unregistered while the client lives (libjack edits its
// port list on unregistration while its notification thread walks it). An open takes a slot that
// is free and connects it, by full port name, to the named port of the other program; a close
// gives the slot back and leaves its connection standing, so that the next open of the same port
// (the program opens its ports afresh for every exchange with the keyboard) only starts a new
// epoch on it. Whatever an earlier epoch left queued is dropped in both directions, so what
// arrived for an earlier open is never handed to a later one. Publishing renames a free slot.
//
// The process callback touches nothing that another thread may free: every slot and its ring
// buffer is made before the callback can see it and freed only after the client is deactivated
// and closed. Output reaches the callback through a lock-free ring per slot; each piece becomes
// one event, placed one period after the frame at which it was handed over and never closer to the
// piece before than the time between that piece's leaving and this one's hand-over, so the
// pauses between pieces reach the wire (on JACK's frame clock) as long as the sender made them. A
// piece counts as sent only once the callback wrote it to a port that was connected; the sender
// waits for that on the slot's semaphore, which the callback posts. Input leaves the callback
// through a lock-free ring per slot to a pump thread, which hands each event to its input.
//
// JACK's notification thread only marks slots whose peer went away (port unregistered,
// connection broken, server shut down) and wakes waiters; it never waits for a lock that a thread
// calling into JACK may hold.
#pragma once

#if __has_include(<jack/jack.h>)
#include <jack/jack.h>
#include <jack/ringbuffer.h>
#else
#error "jack/jack.h not found: install the Debian package libjack-jackd2-dev"
#endif

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <semaphore.h>
#include <string>
#include <thread>
#include <vector>

namespace Platform
{

class JackMidiClient
{
public:
    // Where the events of an input slot go, on the pump thread.
    class Receiver
    {
    public:
        virtual void Receive(const std::uint8_t* bytes, std::size_t count,
                             std::uint64_t timeUs) = 0;

    protected:
        ~Receiver() = default;
    };

    // A slot handed to one open or published port, in the epoch it was handed over in.
    struct Lease
    {
        int slot = -1;
        std::uint32_t epoch = 0;
    };

    // Opens a client on the server that JACK_DEFAULT_SERVER names (never starting one); null when
    // no server answers.
    static std::shared_ptr<JackMidiClient> Open();
    // How many clients this process has opened so far.
    static int GetOpenCount();

    ~JackMidiClient();
    JackMidiClient(const JackMidiClient&) = delete;
    JackMidiClient& operator=(const JackMidiClient&) = delete;

    // False once the server has shut the client down.
    [[nodiscard]] bool IsAlive() const { return mAlive.load(); }

    // The full names of the MIDI ports that send (sources) or receive, ours that are published
    // included and our other slots left out.
    std::vector<std::string> GetPortNames(bool sources);

    // Connects a slot to the port of that full name: an input slot from a source, an output slot
    // to a receiver. Returns once the connection is live, or a lease with slot -1 when the port
    // is gone, has the other direction, or the connection did not come live in time.
    Lease Connect(bool input, const std::string& peer);
    // Gives a slot the public name; slot -1 when the name is taken or no slot can be had.
    Lease Publish(bool input, const std::string& name);
    // Gives the slot back; a published slot takes its own name again and loses its connections.
    void Release(const Lease& lease);

    // Sends one event on an output slot and waits until it left toward a connected port: false
    // when it cannot (the peer has gone, the lease is stale, the server stalls).
    [[nodiscard]] bool Send(const Lease& lease, const std::uint8_t* bytes, std::size_t count);
    // Sets where an input slot's events go (null: nowhere); returns once the pump no longer
    // hands anything to the receiver set before.
    void SetReceiver(const Lease& lease, Receiver* receiver);

private:
    static constexpr int kMaxSlots = 64;

    struct Slot
    {
        // Set before the callback can see the slot, freed after the client is closed.
        jack_ringbuffer_t* ring = nullptr;
        // Counted by the ring's writer after filling a record and by its reader before giving
        // bytes back. libjack's own barriers sit in an uninstrumented library, so without these
        // ThreadSanitizer takes every hand-over for a race, and handling those reports inside
        // the process callback makes it miss the server's deadlines.
        std::atomic<std::uint64_t> written{0};
        std::atomic<std::uint64_t> consumed{0};
        // Posted by the callback whenever it settled one of the slot's pieces.
        sem_t settled;
        bool input = false;
        std::atomic<jack_port_t*> port{nullptr};
        std::atomic<std::uint32_t> epoch{0};
        std::atomic<std::uint64_t> sentSeq{0};
        std::atomic<std::uint64_t> failedSeq{0};
        std::atomic<std::uint64_t> cancelledSeq{0};
        std::atomic<bool> lost{false};
        // The process callback's own: where and when (steady clock) the last piece left.
        bool placedBefore = false;
        jack_nframes_t lastFrame = 0;
        std::uint64_t lastPlacedUs = 0;

        // Under mMutex.
        bool inUse = false;
        bool published = false;
        // Read under mNotifyMutex, written under mMutex and mNotifyMutex: the slot's own full
        // name and the full name of the port it is connected to (empty: none).
        std::string ownName;
        std::string peer;
        // Under sendMutex.
        std::mutex sendMutex;
        std::uint64_t nextSeq = 0;
        // Under mPumpMutex.
        Receiver* receiver = nullptr;
    };

    JackMidiClient(jack_client_t* outputs, jack_client_t* inputs);
    bool Activate();

    // Under mMutex: a free slot of that direction (one already connected to peer first, then one
    // connected to nothing or to a peer that went away), registering a new one when none is free
    // and taking one connected elsewhere when no more can be registered; -1 when none can be had.
    int TakeSlot(bool input, const std::string& peer);
    int RegisterSlot(bool input);
    void Disconnect(Slot& slot);
    bool WaitUntilLive(Slot& slot, const std::string& peer);
    void WaitForCycles(int count);

    // The client that owns the ports of that direction.
    jack_client_t* Owner(bool input) const { return mClients[input ? 1 : 0]; }

    static int OnProcessOutputs(jack_nframes_t frames, void* self);
    static int OnProcessInputs(jack_nframes_t frames, void* self);
    void Process(jack_nframes_t frames, bool inputs);
    static void OnShutdown(void* self);
    static void OnPortRegistration(jack_port_id_t port, int registered, void* self);
    static void OnPortConnect(jack_port_id_t a, jack_port_id_t b, int connected, void* self);
    // In the process callback. Capture tells whether the pump has events to hand over.
    bool Capture(Slot& slot, void* buffer, jack_nframes_t cycleStart);
    void Emit(Slot& slot, void* buffer, jack_nframes_t frames, jack_nframes_t cycleStart);
    // On the notification thread.
    void MarkLost(const std::string& a, const std::string& b);
    void NotifyWaiters();
    void PumpLoop();
    void Pump(Slot& slot, std::vector<std::uint8_t>& scratch);

    // The outputs' client, which also asks the server for what is not a port's own.
    jack_client_t* const mClient;
    // Outputs first, then inputs.
    const std::array<jack_client_t*, 2> mClients;
    std::array<std::string, 2> mClientNames;
    std::uint64_t mSampleRate = 48000;
    std::atomic<bool> mAlive{true};
    std::atomic<bool> mStopping{false};

    std::array<Slot, kMaxSlots> mSlots;
    std::atomic<int> mSlotCount{0};
    // The cycles each client ran, outputs first.
    std::array<std::atomic<std::uint64_t>, 2> mCycles{};
    std::atomic<int> mCycleWaiters{0};

    // Serialises opens, publishes and releases.
    std::mutex mMutex;
    // Guards the slots' peers for the notification thread; no JACK call is made while it is held.
    std::mutex mNotifyMutex;
    // Guards the receivers; held while the pump hands events over.
    std::mutex mPumpMutex;
    // Openers wait on mChanged under mWaitMutex.
    std::mutex mWaitMutex;
    std::condition_variable mChanged;

    sem_t mWakeup;
    std::thread mPump;
};

} // namespace Platform
