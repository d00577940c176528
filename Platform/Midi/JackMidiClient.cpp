#include "Platform/Midi/JackMidiClient.h"

#include <jack/midiport.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace Platform
{
namespace
{

constexpr std::size_t kRingSize = 64 * 1024;
constexpr auto kSendTimeout = std::chrono::seconds(2);
constexpr auto kConnectTimeout = std::chrono::seconds(2);
// Cycles after a connection is reported before the process callback surely runs on the new graph.
constexpr int kCyclesUntilLive = 2;

std::atomic<int> sOpenCount{0};

// What the sender queues in front of each piece.
struct OutputRecord
{
    std::uint64_t seq;
    std::uint32_t epoch;
    std::uint32_t size;
    // jack_frame_time when the piece was handed over.
    std::uint32_t stamp;
    std::uint32_t reserved;
    // The steady clock, in microseconds, when the piece was handed over.
    std::uint64_t handedUs;
};

// Pauses longer than this between two pieces need no keeping: the pieces are far apart anyway.
constexpr std::uint64_t kKeptPauseUs = 1000000;

// What the process callback queues in front of each received event.
struct InputRecord
{
    std::uint32_t epoch;
    std::uint32_t size;
    std::uint32_t frame;
};

void IgnoreJackMessage(const char*) {}

// The JACK library prints whenever no server runs, and may start one; neither suits a program
// that only looks for a keyboard.
void QuietJack()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       setenv("JACK_NO_START_SERVER", "1", 0);
                       jack_set_error_function(IgnoreJackMessage);
                       jack_set_info_function(IgnoreJackMessage);
                   });
}

// The two counters of a slot's ring, which order its writer's and reader's copies.
struct RingCounts
{
    std::atomic<std::uint64_t>& written;
    std::atomic<std::uint64_t>& consumed;
};

// Writes header and payload as one record: the reader sees both or neither. False when the ring
// has no room.
bool WriteRecord(jack_ringbuffer_t* ring, RingCounts counts, const void* header,
                 std::size_t headerSize, const void* payload, std::size_t payloadSize)
{
    if (jack_ringbuffer_write_space(ring) < headerSize + payloadSize)
    {
        return false;
    }
    // The reader's copies out of this space came before our copies into it.
    (void)counts.consumed.load(std::memory_order_acquire);
    jack_ringbuffer_data_t parts[2];
    jack_ringbuffer_get_write_vector(ring, parts);
    const std::uint8_t* sources[2] = {static_cast<const std::uint8_t*>(header),
                                      static_cast<const std::uint8_t*>(payload)};
    const std::size_t sizes[2] = {headerSize, payloadSize};
    std::size_t part = 0;
    std::size_t used = 0;
    for (int k = 0; k < 2; ++k)
    {
        std::size_t done = 0;
        while (done < sizes[k])
        {
            if (used == parts[part].len)
            {
                ++part;
                used = 0;
            }
            const std::size_t step = std::min(sizes[k] - done, parts[part].len - used);
            std::memcpy(parts[part].buf + used, sources[k] + done, step);
            used += step;
            done += step;
        }
    }
    counts.written.fetch_add(1, std::memory_order_release);
    jack_ringbuffer_write_advance(ring, headerSize + payloadSize);
    return true;
}

// Copies the ring's first bytes without taking them; false while fewer are there.
bool PeekRecord(jack_ringbuffer_t* ring, RingCounts counts, void* into, std::size_t size)
{
    if (jack_ringbuffer_read_space(ring) < size)
    {
        return false;
    }
    // The writer's copies into these bytes came before ours out of them.
    (void)counts.written.load(std::memory_order_acquire);
    return jack_ringbuffer_peek(ring, static_cast<char*>(into), size) == size;
}

// Gives the ring's first bytes back to the writer.
void Consume(jack_ringbuffer_t* ring, RingCounts counts, std::size_t size)
{
    counts.consumed.fetch_add(1, std::memory_order_release);
    jack_ringbuffer_read_advance(ring, size);
}

std::uint64_t SteadyMicroseconds()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::string GenericPortName(bool input, int index)
{
    return (input ? "in-" : "out-") + std::to_string(index + 1);
}

} // namespace

std::shared_ptr<JackMidiClient> JackMidiClient::Open()
{
    QuietJack();
    // A client's socket is named after the client alone, so clients of one name opened at once
    // by two processes (even on two servers) break each other.
    const std::string name = "QZ MIDI " + std::to_string(getpid());
    jack_status_t status{};
    jack_client_t* outputs =
        jack_client_open((name + " out").c_str(), JackNoStartServer, &status);
    if (outputs == nullptr)
    {
        return nullptr;
    }
    jack_client_t* inputs = jack_client_open((name + " in").c_str(), JackNoStartServer, &status);
    if (inputs == nullptr)
    {
        jack_client_close(outputs);
        return nullptr;
    }
    ++sOpenCount;
    std::shared_ptr<JackMidiClient> opened(new JackMidiClient(outputs, inputs));
    if (!opened->Activate())
    {
        return nullptr;
    }
    return opened;
}

int JackMidiClient::GetOpenCount()
{
    return sOpenCount.load();
}

JackMidiClient::JackMidiClient(jack_client_t* outputs, jack_client_t* inputs)
    : mClient(outputs), mClients{outputs, inputs}
{
    sem_init(&mWakeup, 0, 0);
    for (int direction = 0; direction < 2; ++direction)
    {
        mClientNames[direction] = jack_get_client_name(mClients[direction]);
        jack_on_shutdown(mClients[direction], &JackMidiClient::OnShutdown, this);
    }
    mSampleRate = std::max<std::uint64_t>(1, jack_get_sample_rate(mClient));
    jack_set_process_callback(outputs, &JackMidiClient::OnProcessOutputs, this);
    jack_set_process_callback(inputs, &JackMidiClient::OnProcessInputs, this);
    // Notifications are about the whole server: one client hears them for both.
    jack_set_port_registration_callback(mClient, &JackMidiClient::OnPortRegistration, this);
    jack_set_port_connect_callback(mClient, &JackMidiClient::OnPortConnect, this);
    mPump = std::thread([this] { PumpLoop(); });
}

bool JackMidiClient::Activate()
{
    return jack_activate(mClients[0]) == 0 && jack_activate(mClients[1]) == 0;
}

JackMidiClient::~JackMidiClient()
{
    // The process callbacks stop before anything they read is freed.
    for (jack_client_t* client : mClients)
    {
        jack_deactivate(client);
    }
    for (jack_client_t* client : mClients)
    {
        jack_client_close(client);
    }
    mStopping = true;
    sem_post(&mWakeup);
    mPump.join();
    for (int i = 0; i < mSlotCount.load(); ++i)
    {
        jack_ringbuffer_free(mSlots[i].ring);
        sem_destroy(&mSlots[i].settled);
    }
    sem_destroy(&mWakeup);
}

std::vector<std::string> JackMidiClient::GetPortNames(bool sources)
{
    std::vector<std::string> hidden;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        for (int i = 0; i < mSlotCount.load(); ++i)
        {
            if (!mSlots[i].published)
            {
                hidden.push_back(mSlots[i].ownName);
            }
        }
    }
    std::vector<std::string> names;
    const char** ports = jack_get_ports(mClient, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        sources ? JackPortIsOutput : JackPortIsInput);
    for (const char** port = ports; port != nullptr && *port != nullptr; ++port)
    {
        if (std::find(hidden.begin(), hidden.end(), *port) == hidden.end())
        {
            names.emplace_back(*port);
        }
    }
    jack_free(ports);
    return names;
}

JackMidiClient::Lease JackMidiClient::Connect(bool input, const std::string& peer)
{
    std::lock_guard<std::mutex> lock(mMutex);
    jack_port_t* other = mAlive ? jack_port_by_name(mClient, peer.c_str()) : nullptr;
    if (other == nullptr ||
        (jack_port_flags(other) & (input ? JackPortIsOutput : JackPortIsInput)) == 0 ||
        std::strcmp(jack_port_type(other), JACK_DEFAULT_MIDI_TYPE) != 0)
    {
        return {};
    }
    const int index = TakeSlot(input, peer);
    if (index < 0)
    {
        return {};
    }
    Slot& slot = mSlots[index];
    jack_port_t* own = slot.port.load();
    slot.inUse = true;
    const Lease lease{index, slot.epoch.fetch_add(1) + 1};
    if (!slot.lost && slot.peer == peer && jack_port_connected_to(own, peer.c_str()))
    {
        return lease;
    }
    Disconnect(slot);
    {
        std::lock_guard<std::mutex> notifyLock(mNotifyMutex);
        slot.peer = peer;
    }
    const std::string& source = input ? peer : slot.ownName;
    const std::string& destination = input ? slot.ownName : peer;
    const int connected = jack_connect(mClient, source.c_str(), destination.c_str());
    if ((connected != 0 && connected != EEXIST) || !WaitUntilLive(slot, peer))
    {
        Disconnect(slot);
        slot.epoch.fetch_add(1);
        slot.inUse = false;
        return {};
    }
    return lease;
}

JackMidiClient::Lease JackMidiClient::Publish(bool input, const std::string& name)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const std::string fullName = mClientNames[input ? 1 : 0] + ":" + name;
    if (!mAlive || jack_port_by_name(mClient, fullName.c_str()) != nullptr)
    {
        return {};
    }
    const int index = TakeSlot(input, std::string());
    if (index < 0)
    {
        return {};
    }
    Slot& slot = mSlots[index];
    Disconnect(slot);
    jack_port_t* own = slot.port.load();
    if (jack_port_rename(Owner(input), own, name.c_str()) != 0)
    {
        return {};
    }
    {
        std::lock_guard<std::mutex> notifyLock(mNotifyMutex);
        slot.ownName = jack_port_name(own);
    }
    slot.published = true;
    slot.inUse = true;
    return {index, slot.epoch.fetch_add(1) + 1};
}

void JackMidiClient::Release(const Lease& lease)
{
    if (lease.slot < 0)
    {
        return;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    Slot& slot = mSlots[lease.slot];
    if (!slot.inUse || slot.epoch.load() != lease.epoch)
    {
        return;
    }
    slot.epoch.fetch_add(1);
    if (slot.published)
    {
        Disconnect(slot);
        jack_port_t* own = slot.port.load();
        if (jack_port_rename(Owner(slot.input), own,
                             GenericPortName(slot.input, lease.slot).c_str()) == 0)
        {
            std::lock_guard<std::mutex> notifyLock(mNotifyMutex);
            slot.ownName = jack_port_name(own);
        }
        slot.published = false;
    }
    slot.inUse = false;
}

bool JackMidiClient::Send(const Lease& lease, const std::uint8_t* bytes, std::size_t count)
{
    if (lease.slot < 0 || count == 0)
    {
        return false;
    }
    Slot& slot = mSlots[lease.slot];
    std::lock_guard<std::mutex> sendLock(slot.sendMutex);
    if (!mAlive || slot.lost || slot.epoch.load() != lease.epoch)
    {
        return false;
    }
    const OutputRecord record{
        ++slot.nextSeq,           lease.epoch, static_cast<std::uint32_t>(count),
        jack_frame_time(mClient), 0,           SteadyMicroseconds()};
    const RingCounts counts{slot.written, slot.consumed};
    if (!WriteRecord(slot.ring, counts, &record, sizeof record, bytes, count))
    {
        return false;
    }
    // The callback posts the slot's semaphore itself, so the sender wakes without a thread in
    // between; posts left over from earlier pieces only make it look again.
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += std::chrono::seconds(kSendTimeout).count();
    while (slot.sentSeq < record.seq && slot.failedSeq < record.seq && mAlive)
    {
        if (sem_timedwait(&slot.settled, &deadline) != 0 && errno == ETIMEDOUT)
        {
            break;
        }
    }
    if (slot.sentSeq < record.seq)
    {
        slot.cancelledSeq = record.seq;
    }
    return slot.sentSeq >= record.seq;
}

void JackMidiClient::SetReceiver(const Lease& lease, Receiver* receiver)
{
    if (lease.slot >= 0)
    {
        std::lock_guard<std::mutex> lock(mPumpMutex);
        mSlots[lease.slot].receiver = receiver;
    }
}

int JackMidiClient::TakeSlot(bool input, const std::string& peer)
{
    int unconnected = -1;
    int any = -1;
    for (int i = 0; i < mSlotCount.load(); ++i)
    {
        const Slot& slot = mSlots[i];
        if (slot.input != input || slot.inUse)
        {
            continue;
        }
        if (slot.peer == peer && !slot.lost)
        {
            return i;
        }
        // A slot whose peer went away is as free as one never connected.
        if ((slot.peer.empty() || slot.lost) && unconnected < 0)
        {
            unconnected = i;
        }
        if (any < 0)
        {
            any = i;
        }
    }
    if (unconnected >= 0)
    {
        return unconnected;
    }
    const int registered = RegisterSlot(input);
    return registered >= 0 ? registered : any;
}

int JackMidiClient::RegisterSlot(bool input)
{
    const int index = mSlotCount.load();
    if (index >= kMaxSlots || !mAlive)
    {
        return -1;
    }
    Slot& slot = mSlots[index];
    slot.input = input;
    slot.ring = jack_ringbuffer_create(kRingSize);
    if (slot.ring == nullptr)
    {
        return -1;
    }
    sem_init(&slot.settled, 0, 0);
    jack_port_t* port =
        jack_port_register(Owner(input), GenericPortName(input, index).c_str(), JACK_DEFAULT_MIDI_TYPE,
                           input ? JackPortIsInput : JackPortIsOutput, 0);
    if (port == nullptr)
    {
        jack_ringbuffer_free(slot.ring);
        slot.ring = nullptr;
        sem_destroy(&slot.settled);
        return -1;
    }
    {
        std::lock_guard<std::mutex> notifyLock(mNotifyMutex);
        slot.ownName = jack_port_name(port);
    }
    // The callback sees the slot only once everything it reads is in place.
    slot.port.store(port, std::memory_order_release);
    mSlotCount.store(index + 1, std::memory_order_release);
    return index;
}

void JackMidiClient::Disconnect(Slot& slot)
{
    jack_port_t* own = slot.port.load();
    if (jack_port_connected(own) > 0)
    {
        jack_port_disconnect(Owner(slot.input), own);
    }
    {
        std::lock_guard<std::mutex> notifyLock(mNotifyMutex);
        slot.peer.clear();
    }
    slot.lost = false;
}

bool JackMidiClient::WaitUntilLive(Slot& slot, const std::string& peer)
{
    const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
    jack_port_t* own = slot.port.load();
    while (!jack_port_connected_to(own, peer.c_str()))
    {
        if (slot.lost || !mAlive || std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        std::unique_lock<std::mutex> lock(mWaitMutex);
        mChanged.wait_for(lock, std::chrono::milliseconds(5));
    }
    WaitForCycles(kCyclesUntilLive);
    return !slot.lost && mAlive;
}

void JackMidiClient::WaitForCycles(int count)
{
    ++mCycleWaiters;
    const auto step = static_cast<std::uint64_t>(count);
    const std::uint64_t outputTarget = mCycles[0].load() + step;
    const std::uint64_t inputTarget = mCycles[1].load() + step;
    {
        std::unique_lock<std::mutex> lock(mWaitMutex);
        mChanged.wait_for(lock, kConnectTimeout,
                          [&]
                          {
                              return (mCycles[0] >= outputTarget && mCycles[1] >= inputTarget) ||
                                     !mAlive;
                          });
    }
    --mCycleWaiters;
}

int JackMidiClient::OnProcessOutputs(jack_nframes_t frames, void* instance)
{
    static_cast<JackMidiClient*>(instance)->Process(frames, false);
    return 0;
}

int JackMidiClient::OnProcessInputs(jack_nframes_t frames, void* instance)
{
    static_cast<JackMidiClient*>(instance)->Process(frames, true);
    return 0;
}

void JackMidiClient::Process(jack_nframes_t frames, bool inputs)
{
    const int direction = inputs ? 1 : 0;
    // The other client's last cycle, which the server ran before this one, touched the port
    // buffers shared through the graph; the server's ordering is invisible to ThreadSanitizer.
    (void)mCycles[1 - direction].load(std::memory_order_acquire);
    const jack_nframes_t cycleStart = jack_last_frame_time(mClients[direction]);
    bool wake = mCycleWaiters.load(std::memory_order_relaxed) > 0;
    const int count = mSlotCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i)
    {
        Slot& slot = mSlots[i];
        if (slot.input != inputs)
        {
            continue;
        }
        jack_port_t* port = slot.port.load(std::memory_order_acquire);
        void* buffer = jack_port_get_buffer(port, frames);
        if (buffer == nullptr)
        {
            continue;
        }
        if (inputs)
        {
            wake = Capture(slot, buffer, cycleStart) || wake;
        }
        else
        {
            Emit(slot, buffer, frames, cycleStart);
        }
    }
    mCycles[direction].fetch_add(1);
    if (wake)
    {
        sem_post(&mWakeup);
    }
}

bool JackMidiClient::Capture(Slot& slot, void* buffer, jack_nframes_t cycleStart)
{
    const std::uint32_t epoch = slot.epoch.load(std::memory_order_acquire);
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    for (jack_nframes_t i = 0; i < count; ++i)
    {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0)
        {
            continue;
        }
        const InputRecord record{epoch, static_cast<std::uint32_t>(event.size),
                                 cycleStart + event.time};
        // A full ring drops the event, as a full hardware buffer would.
        (void)WriteRecord(slot.ring, {slot.written, slot.consumed}, &record, sizeof record,
                          event.buffer, event.size);
    }
    return count > 0;
}

void JackMidiClient::Emit(Slot& slot, void* buffer, jack_nframes_t frames,
                          jack_nframes_t cycleStart)
{
    jack_midi_clear_buffer(buffer);
    const bool connected = !slot.lost.load(std::memory_order_relaxed) &&
                           jack_port_connected(slot.port.load(std::memory_order_relaxed)) > 0;
    bool wrote = false;
    jack_nframes_t lastOffset = 0;
    OutputRecord record;
    const RingCounts counts{slot.written, slot.consumed};
    while (PeekRecord(slot.ring, counts, &record, sizeof record))
    {
        const bool stale = record.epoch != slot.epoch.load(std::memory_order_acquire) ||
                           record.seq <= slot.cancelledSeq.load(std::memory_order_relaxed);
        if (stale || !connected)
        {
            Consume(slot.ring, counts, sizeof record + record.size);
            if (!stale)
            {
                slot.failedSeq.store(record.seq);
                sem_post(&slot.settled);
            }
            continue;
        }
        // One period after it was handed over, and never closer to the piece before than the
        // time between that piece's leaving and this one's hand-over: the sender's pause reaches
        // the wire whole, and a piece that left late delays no later one.
        jack_nframes_t target = record.stamp + frames;
        const std::uint64_t pauseUs = record.handedUs - slot.lastPlacedUs;
        if (slot.placedBefore && record.handedUs > slot.lastPlacedUs && pauseUs < kKeptPauseUs)
        {
            const auto earliest =
                slot.lastFrame + static_cast<jack_nframes_t>(pauseUs * mSampleRate / 1000000);
            if (static_cast<std::int32_t>(earliest - target) > 0)
            {
                target = earliest;
            }
        }
        const auto offset = static_cast<std::int32_t>(target - cycleStart);
        if (offset >= static_cast<std::int32_t>(frames))
        {
            break;
        }
        const jack_nframes_t at = std::max<jack_nframes_t>(
            lastOffset, static_cast<jack_nframes_t>(std::max<std::int32_t>(offset, 0)));
        jack_midi_data_t* event = jack_midi_event_reserve(buffer, at, record.size);
        if (event == nullptr)
        {
            if (wrote)
            {
                break;
            }
            // Larger than an empty port buffer holds: it can never leave.
            Consume(slot.ring, counts, sizeof record + record.size);
            slot.failedSeq.store(record.seq);
            sem_post(&slot.settled);
            continue;
        }
        Consume(slot.ring, counts, sizeof record);
        (void)PeekRecord(slot.ring, counts, event, record.size);
        Consume(slot.ring, counts, record.size);
        slot.placedBefore = true;
        slot.lastFrame = cycleStart + at;
        slot.lastPlacedUs = SteadyMicroseconds();
        slot.sentSeq.store(record.seq);
        sem_post(&slot.settled);
        lastOffset = at;
        wrote = true;
    }
}

void JackMidiClient::OnShutdown(void* instance)
{
    // Runs like a signal handler: only an atomic store and sem_post.
    auto* self = static_cast<JackMidiClient*>(instance);
    self->mAlive = false;
    sem_post(&self->mWakeup);
    for (int i = 0; i < self->mSlotCount.load(); ++i)
    {
        sem_post(&self->mSlots[i].settled);
    }
}

void JackMidiClient::OnPortRegistration(jack_port_id_t id, int registered, void* instance)
{
    auto* self = static_cast<JackMidiClient*>(instance);
    jack_port_t* port = registered == 0 ? jack_port_by_id(self->mClient, id) : nullptr;
    if (port != nullptr)
    {
        self->MarkLost(jack_port_name(port), std::string());
    }
    self->NotifyWaiters();
}

void JackMidiClient::OnPortConnect(jack_port_id_t a, jack_port_id_t b, int connected,
                                   void* instance)
{
    auto* self = static_cast<JackMidiClient*>(instance);
    jack_port_t* portA = connected == 0 ? jack_port_by_id(self->mClient, a) : nullptr;
    jack_port_t* portB = connected == 0 ? jack_port_by_id(self->mClient, b) : nullptr;
    if (portA != nullptr && portB != nullptr)
    {
        self->MarkLost(jack_port_name(portA), jack_port_name(portB));
    }
    self->NotifyWaiters();
}

void JackMidiClient::MarkLost(const std::string& a, const std::string& b)
{
    std::lock_guard<std::mutex> lock(mNotifyMutex);
    for (int i = 0; i < mSlotCount.load(); ++i)
    {
        Slot& slot = mSlots[i];
        if (slot.peer.empty())
        {
            continue;
        }
        // A gone port (b empty), or a broken connection between the slot and its peer.
        const bool gone = b.empty() ? slot.peer == a
                                    : (slot.ownName == a && slot.peer == b) ||
                                          (slot.ownName == b && slot.peer == a);
        if (gone)
        {
            slot.lost = true;
        }
    }
}

void JackMidiClient::NotifyWaiters()
{
    {
        std::lock_guard<std::mutex> lock(mWaitMutex);
    }
    mChanged.notify_all();
}

void JackMidiClient::PumpLoop()
{
    std::vector<std::uint8_t> scratch;
    for (;;)
    {
        while (sem_wait(&mWakeup) != 0 && errno == EINTR)
        {
        }
        if (mStopping)
        {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mPumpMutex);
            for (int i = 0; i < mSlotCount.load(std::memory_order_acquire); ++i)
            {
                if (mSlots[i].input)
                {
                    Pump(mSlots[i], scratch);
                }
            }
        }
        NotifyWaiters();
    }
}

void JackMidiClient::Pump(Slot& slot, std::vector<std::uint8_t>& scratch)
{
    InputRecord record;
    const RingCounts counts{slot.written, slot.consumed};
    while (PeekRecord(slot.ring, counts, &record, sizeof record))
    {
        Consume(slot.ring, counts, sizeof record);
        scratch.resize(record.size);
        (void)PeekRecord(slot.ring, counts, scratch.data(), record.size);
        Consume(slot.ring, counts, record.size);
        if (slot.receiver != nullptr && record.epoch == slot.epoch.load())
        {
            const std::uint64_t timeUs = std::uint64_t{record.frame} * 1000000 / mSampleRate;
            slot.receiver->Receive(scratch.data(), scratch.size(), timeUs);
        }
    }
}

} // namespace Platform
