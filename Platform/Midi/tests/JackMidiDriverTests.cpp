// The JACK backend against a private server: pieces on the wire, opens by name, a new epoch per
// open, and a destination that goes away.
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/InputRecorder.h"
#include "Platform/Midi/tests/JackServer.h"

#include <gtest/gtest.h>
#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <mutex>

namespace Platform
{
namespace
{

using Testing::InputEntry;
using Testing::InputRecorder;
using Testing::JackServer;
using Testing::MakeSysEx;
using Testing::OutputRecorder;

constexpr const char* kPeerOutput = "MIDIIN4 (Tarn 61)";
constexpr const char* kPeerInput = "MIDIOUT4 (Tarn 61)";

// The sizes and times of the events an input saw.
class EventLog
{
public:
    void Attach(MidiInput& input)
    {
        input.SetEventObserver(
            [this](const std::uint8_t*, std::size_t count, std::uint64_t timeUs)
            {
                std::lock_guard<std::mutex> lock(mMutex);
                mSizes.push_back(count);
                mTimes.push_back(timeUs);
            });
    }
    std::vector<std::size_t> Sizes()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mSizes;
    }
    std::vector<std::uint64_t> Times()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mTimes;
    }

private:
    std::mutex mMutex;
    std::vector<std::size_t> mSizes;
    std::vector<std::uint64_t> mTimes;
};

// Another program on the server that writes one short message at the start of each period, from
// a list, one list entry per period.
class PeriodWriter
{
public:
    static constexpr const char* kPortName = "MIDIOUT7 (Repeater)";

    bool Open()
    {
        mClient = jack_client_open("period-writer", JackNoStartServer, nullptr);
        mPort = mClient == nullptr ? nullptr
                                   : jack_port_register(mClient, kPortName, JACK_DEFAULT_MIDI_TYPE,
                                                        JackPortIsOutput, 0);
        if (mPort == nullptr)
        {
            return false;
        }
        jack_set_process_callback(mClient, &PeriodWriter::Process, this);
        return jack_activate(mClient) == 0;
    }

    ~PeriodWriter()
    {
        if (mClient != nullptr)
        {
            jack_client_close(mClient);
        }
    }

    jack_client_t* Client() const { return mClient; }

    // Starts writing; the list must stay as it is until the writer is gone.
    void Write(const std::vector<std::vector<std::uint8_t>>& messages)
    {
        mMessages = &messages;
        mNext.store(0);
        mCount.store(messages.size(), std::memory_order_release);
    }

private:
    static int Process(jack_nframes_t frames, void* instance)
    {
        auto* self = static_cast<PeriodWriter*>(instance);
        void* buffer = jack_port_get_buffer(self->mPort, frames);
        jack_midi_clear_buffer(buffer);
        const std::size_t next = self->mNext.load();
        if (next < self->mCount.load(std::memory_order_acquire))
        {
            const std::vector<std::uint8_t>& message = (*self->mMessages)[next];
            (void)jack_midi_event_write(buffer, 0, message.data(), message.size());
            self->mNext.store(next + 1);
        }
        return 0;
    }

    jack_client_t* mClient = nullptr;
    jack_port_t* mPort = nullptr;
    const std::vector<std::vector<std::uint8_t>>* mMessages = nullptr;
    std::atomic<std::size_t> mNext{0};
    std::atomic<std::size_t> mCount{0};
};

class JackMidiDriverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!JackServer::IsInstalled())
        {
            GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
        }
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        clientsBefore = JackMidiDriver::GetClientOpenCount();
        driver = std::make_unique<JackMidiDriver>();
        ASSERT_EQ(driver->PublishInput(kPeerInput, &InputRecorder::Callback, &peerIn, peerInput),
                  QZ::S_OK);
        ASSERT_EQ(
            driver->PublishOutput(kPeerOutput, &OutputRecorder::Callback, &peerDone, peerOutput),
            QZ::S_OK);
        peerIn.Attach(*peerInput);
        peerEvents.Attach(*peerInput);
    }

    void TearDown() override
    {
        // JACK clients go before their server.
        peerInput.reset();
        peerOutput.reset();
        driver.reset();
        EXPECT_TRUE(server.Stop()) << "the JACK server had to be killed";
    }

    // The device number of the named input or output device, or -1.
    int FindDevice(const std::string& wanted, bool inputs)
    {
        return Testing::FindDevice(*driver, wanted, inputs);
    }

    QZRESULT OpenInput(InputRecorder& recorder, std::unique_ptr<MidiInput>& input)
    {
        const int device = FindDevice(kPeerOutput, true);
        const QZRESULT opened = device < 0
                                    ? QZ::E_FAIL
                                    : driver->OpenInput(static_cast<std::uint32_t>(device),
                                                        &InputRecorder::Callback, &recorder, input);
        if (QZ::Succeeded(opened))
        {
            recorder.Attach(*input);
        }
        return opened;
    }

    QZRESULT OpenOutput(OutputRecorder& recorder, std::unique_ptr<MidiOutput>& output)
    {
        const int device = FindDevice(kPeerInput, false);
        return device < 0 ? QZ::E_FAIL
                          : driver->OpenOutput(static_cast<std::uint32_t>(device),
                                               &OutputRecorder::Callback, &recorder, output);
    }

    JackServer server;
    int clientsBefore = 0;
    std::unique_ptr<JackMidiDriver> driver;
    InputRecorder peerIn;
    EventLog peerEvents;
    OutputRecorder peerDone;
    std::unique_ptr<MidiInput> peerInput;
    std::unique_ptr<MidiOutput> peerOutput;
};

TEST_F(JackMidiDriverTest, EachPieceLeavesAsItsOwnEventOnOneClient)
{
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    ASSERT_EQ(OpenOutput(done, output), QZ::S_OK);

    // A 1,350-byte message in 256-byte pieces, sent back to back: the wire keeps the pieces, the
    // middle three of which are byte for byte alike.
    std::vector<std::uint8_t> message = MakeSysEx(1350);
    std::vector<MidiBuffer> pieces((message.size() + 255) / 256);
    for (std::size_t k = 0; k < pieces.size(); ++k)
    {
        pieces[k].data = message.data() + 256 * k;
        pieces[k].bufferLength =
            static_cast<std::uint32_t>(std::min<std::size_t>(256, message.size() - 256 * k));
        ASSERT_EQ(output->PrepareBuffer(pieces[k]), QZ::S_OK);
        ASSERT_EQ(output->SendLong(pieces[k]), QZ::S_OK);
    }
    EXPECT_EQ(done.Done().size(), pieces.size());
    EXPECT_EQ(Joined(peerIn.WaitFor(6)), message);
    EXPECT_EQ(peerEvents.Sizes(), (std::vector<std::size_t>{256, 256, 256, 256, 256, 70}));
    const std::vector<std::uint64_t> times = peerEvents.Times();
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));

    InputRecorder userIn;
    std::unique_ptr<MidiInput> input;
    ASSERT_EQ(OpenInput(userIn, input), QZ::S_OK);
    ASSERT_EQ(peerOutput->SendShort(0x00643C90), QZ::S_OK);
    const std::vector<InputEntry> notes = userIn.WaitFor(1);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x64}));

    // Ports come and go on the process's one client.
    input.reset();
    output.reset();
    ASSERT_EQ(OpenOutput(done, output), QZ::S_OK);
    EXPECT_EQ(JackMidiDriver::GetClientOpenCount() - clientsBefore, 1);
}

TEST_F(JackMidiDriverTest, EqualMessagesInConsecutivePeriodsAllArriveInOrder)
{
    PeriodWriter writer;
    ASSERT_TRUE(writer.Open());
    const int device = FindDevice(PeriodWriter::kPortName, true);
    ASSERT_GE(device, 0);
    InputRecorder recorder;
    std::unique_ptr<MidiInput> input;
    ASSERT_EQ(driver->OpenInput(static_cast<std::uint32_t>(device), &InputRecorder::Callback,
                                &recorder, input),
              QZ::S_OK);
    recorder.Attach(*input);

    // The same note-on five periods running, then the same controller value five times: each
    // period's buffer holds exactly what the one before held.
    const std::vector<std::uint8_t> note = {0x90, 0x3C, 0x64};
    const std::vector<std::uint8_t> controller = {0xB0, 0x07, 0x10};
    std::vector<std::vector<std::uint8_t>> messages(5, note);
    messages.insert(messages.end(), 5, controller);
    writer.Write(messages);
    // Whatever came beyond the list has a moment to show.
    (void)recorder.WaitFor(messages.size());
    std::vector<std::vector<std::uint8_t>> bytes;
    for (const InputEntry& entry :
         recorder.WaitFor(messages.size() + 1, std::chrono::milliseconds(100)))
    {
        bytes.push_back(entry.bytes);
    }
    EXPECT_EQ(bytes, messages);
}

TEST_F(JackMidiDriverTest, APreparedDeviceIsConnectedBeforeItsOpenAndTheOpenKeepsIt)
{
    PeriodWriter observer;
    ASSERT_TRUE(observer.Open());
    // The connections of the keyboard's two ports, as another program on the server sees them.
    const auto connections = [&]
    {
        std::vector<std::string> found;
        const char** ports = jack_get_ports(observer.Client(), "Tarn 61", nullptr, 0);
        for (const char** port = ports; port != nullptr && *port != nullptr; ++port)
        {
            const char** peers = jack_port_get_all_connections(
                observer.Client(), jack_port_by_name(observer.Client(), *port));
            for (const char** peer = peers; peer != nullptr && *peer != nullptr; ++peer)
            {
                found.emplace_back(*peer);
            }
            jack_free(peers);
        }
        jack_free(ports);
        return found;
    };
    driver->PrepareOutput(static_cast<std::uint32_t>(FindDevice(kPeerInput, false)));
    driver->PrepareInput(static_cast<std::uint32_t>(FindDevice(kPeerOutput, true)));
    const std::vector<std::string> prepared = connections();
    ASSERT_EQ(prepared.size(), 2u);

    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    InputRecorder userIn;
    std::unique_ptr<MidiInput> input;
    ASSERT_EQ(OpenOutput(done, output), QZ::S_OK);
    ASSERT_EQ(OpenInput(userIn, input), QZ::S_OK);
    EXPECT_EQ(connections(), prepared);
    ASSERT_EQ(output->SendShort(0x00643C90), QZ::S_OK);
    ASSERT_EQ(peerOutput->SendShort(0x00653C90), QZ::S_OK);
    EXPECT_EQ(peerIn.WaitFor(1).size(), 1u);
    EXPECT_EQ(userIn.WaitFor(1).size(), 1u);
}

TEST_F(JackMidiDriverTest, AReopenedInputNeverSeesWhatCameForTheOneBefore)
{
    InputRecorder first;
    std::unique_ptr<MidiInput> input;
    ASSERT_EQ(OpenInput(first, input), QZ::S_OK);
    ASSERT_EQ(peerOutput->SendShort(0x00013C90), QZ::S_OK);
    ASSERT_EQ(first.WaitFor(1).size(), 1u);
    input.reset();

    // Sent while no input is open: it belongs to no one that opens later.
    ASSERT_EQ(peerOutput->SendShort(0x00023C90), QZ::S_OK);
    InputRecorder second;
    ASSERT_EQ(OpenInput(second, input), QZ::S_OK);
    ASSERT_EQ(peerOutput->SendShort(0x00033C90), QZ::S_OK);
    const std::vector<InputEntry> notes = second.WaitFor(2, std::chrono::milliseconds(300));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x03}));
}

TEST_F(JackMidiDriverTest, OpenFindsTheListedPortByNameOrFails)
{
    // The list is read, then the port it named goes and another program's port takes its place.
    const int device = FindDevice(kPeerInput, false);
    ASSERT_GE(device, 0);
    peerInput.reset();
    InputRecorder otherIn;
    std::unique_ptr<MidiInput> other;
    ASSERT_EQ(driver->PublishInput("Other Synth", &InputRecorder::Callback, &otherIn, other),
              QZ::S_OK);
    otherIn.Attach(*other);
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    EXPECT_EQ(driver->OpenOutput(static_cast<std::uint32_t>(device), &OutputRecorder::Callback,
                                 &done, output),
              QZ::E_FAIL);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(driver->OpenOutput(1000, &OutputRecorder::Callback, &done, output), QZ::E_FAIL);
    EXPECT_EQ(FindDevice(kPeerInput, false), -1);
    EXPECT_TRUE(otherIn.Entries().empty());
}

TEST_F(JackMidiDriverTest, SendFailsOnceTheDestinationIsGone)
{
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    ASSERT_EQ(OpenOutput(done, output), QZ::S_OK);
    std::vector<std::uint8_t> piece = MakeSysEx(20);
    MidiBuffer buffer{piece.data(), static_cast<std::uint32_t>(piece.size())};
    ASSERT_EQ(output->PrepareBuffer(buffer), QZ::S_OK);
    ASSERT_EQ(output->SendLong(buffer), QZ::S_OK);

    peerInput.reset();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    QZRESULT sent = QZ::S_OK;
    std::size_t delivered = 1;
    while (QZ::Succeeded(sent) && std::chrono::steady_clock::now() < deadline)
    {
        sent = output->SendLong(buffer);
        delivered += QZ::Succeeded(sent) ? 1 : 0;
    }
    EXPECT_EQ(sent, QZ::E_FAIL);
    // Once gone, nothing more leaves and nothing is reported done.
    EXPECT_EQ(output->SendLong(buffer), QZ::E_FAIL);
    EXPECT_EQ(output->SendShort(0x00643C90), QZ::E_FAIL);
    EXPECT_EQ(done.Done().size(), delivered);

    // The keyboard comes back: a new open reaches it, the old output stays dead.
    InputRecorder backIn;
    ASSERT_EQ(driver->PublishInput(kPeerInput, &InputRecorder::Callback, &backIn, peerInput),
              QZ::S_OK);
    backIn.Attach(*peerInput);
    std::unique_ptr<MidiOutput> again;
    ASSERT_EQ(OpenOutput(done, again), QZ::S_OK);
    EXPECT_EQ(again->SendShort(0x00643C90), QZ::S_OK);
    EXPECT_EQ(output->SendShort(0x00643C90), QZ::E_FAIL);
    EXPECT_EQ(backIn.WaitFor(1).size(), 1u);
}

} // namespace
} // namespace Platform
