// The ALSA backend on the stand-in sequencer: pieces as events, opens by name, destinations that
// go away in each of the ways the sequencer announces, and a full output pool.
#include "Platform/Midi/AlsaMidiDriver.h"
#include "Platform/Midi/tests/AlsaSequencerBroker.h"
#include "Platform/Midi/tests/AlsaSequencerStandIn.h"
#include "Platform/Midi/tests/InputRecorder.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace Platform
{
namespace
{

using Testing::InputEntry;
using Testing::InputRecorder;
using Testing::MakeSysEx;
using Testing::OutputRecorder;

constexpr const char* kPeerOutput = "MIDIIN4 (Tarn 61)";
constexpr const char* kPeerInput = "MIDIOUT4 (Tarn 61)";
constexpr const char* kOtherDestination = "MIDIOUT5 (Other)";

// Another program on the sequencer, through alsa-lib's interface.
class OtherProgram
{
public:
    OtherProgram() { EXPECT_EQ(snd_seq_open(&mSeq, "default", SND_SEQ_OPEN_DUPLEX, 0), 0); }
    ~OtherProgram() { Close(); }

    int AddPort(const char* name, unsigned int caps)
    {
        return snd_seq_create_simple_port(mSeq, name, caps, SND_SEQ_PORT_TYPE_APPLICATION);
    }
    // A port others may send to, named kOtherDestination.
    int AddDestination()
    {
        return AddPort(kOtherDestination, SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE);
    }
    void Close()
    {
        if (mSeq != nullptr)
        {
            snd_seq_close(mSeq);
            mSeq = nullptr;
        }
    }
    snd_seq_t* Seq() { return mSeq; }

    // Ends the one subscription to its port as the program would; false when that fails.
    bool Unsubscribe(int port)
    {
        snd_seq_query_subscribe_t* query = nullptr;
        snd_seq_query_subscribe_alloca(&query);
        const snd_seq_addr_t root{static_cast<unsigned char>(snd_seq_client_id(mSeq)),
                                  static_cast<unsigned char>(port)};
        snd_seq_query_subscribe_set_root(query, &root);
        snd_seq_query_subscribe_set_type(query, SND_SEQ_QUERY_SUBS_WRITE);
        snd_seq_query_subscribe_set_index(query, 0);
        if (snd_seq_query_port_subscribers(mSeq, query) != 0)
        {
            return false;
        }
        const snd_seq_addr_t* sender = snd_seq_query_subscribe_get_addr(query);
        return snd_seq_disconnect_from(mSeq, port, sender->client, sender->port) == 0;
    }

    // The events that reached it, as far as they are in.
    std::vector<snd_seq_event_t> Read()
    {
        std::vector<snd_seq_event_t> events;
        snd_seq_event_t* event = nullptr;
        while (snd_seq_event_input(mSeq, &event) >= 0)
        {
            events.push_back(*event);
        }
        return events;
    }

private:
    snd_seq_t* mSeq = nullptr;
};

class AlsaMidiDriverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(broker.Start());
        driver = std::make_unique<AlsaMidiDriver>();
        ASSERT_EQ(driver->PublishInput(kPeerInput, &InputRecorder::Callback, &peerIn, peerInput),
                  QZ::S_OK);
        ASSERT_EQ(
            driver->PublishOutput(kPeerOutput, &OutputRecorder::Callback, &peerDone, peerOutput),
            QZ::S_OK);
        peerIn.Attach(*peerInput);
        peerEvents.Attach(*peerInput);
    }

    int FindDevice(const std::string& wanted, bool inputs)
    {
        return Testing::FindDevice(*driver, wanted, inputs);
    }

    QZRESULT OpenOutput(OutputRecorder& recorder, std::unique_ptr<MidiOutput>& output,
                        const char* name = kPeerInput)
    {
        const int device = FindDevice(name, false);
        return device < 0 ? QZ::E_FAIL
                          : driver->OpenOutput(static_cast<std::uint32_t>(device),
                                               &OutputRecorder::Callback, &recorder, output);
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

    // Sends a long message in pieces of size; the number of pieces that were sent.
    static std::size_t SendPieces(MidiOutput& output, std::vector<std::uint8_t>& message,
                                  std::size_t size)
    {
        std::size_t sent = 0;
        for (std::size_t at = 0; at < message.size(); at += size)
        {
            MidiBuffer piece{message.data() + at,
                             static_cast<std::uint32_t>(std::min(size, message.size() - at))};
            if (QZ::Failed(output.PrepareBuffer(piece)) || QZ::Failed(output.SendLong(piece)))
            {
                break;
            }
            ++sent;
        }
        return sent;
    }

    struct EventSizes
    {
        void Attach(MidiInput& input)
        {
            input.SetEventObserver([this](const std::uint8_t*, std::size_t count, std::uint64_t)
                                   { sizes.push_back(count); });
        }
        std::vector<std::size_t> sizes;
    };

    void TearDown() override
    {
        peerInput.reset();
        peerOutput.reset();
        driver.reset();
        broker.Stop();
    }

    Testing::AlsaSequencerBroker broker;
    std::unique_ptr<AlsaMidiDriver> driver;
    InputRecorder peerIn;
    EventSizes peerEvents;
    OutputRecorder peerDone;
    std::unique_ptr<MidiInput> peerInput;
    std::unique_ptr<MidiOutput> peerOutput;
};

TEST_F(AlsaMidiDriverTest, EachPieceLeavesAsItsOwnEventAndShortMessagesArrive)
{
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    ASSERT_EQ(OpenOutput(done, output), QZ::S_OK);
    // Sixteen-byte pieces of zeros, all alike after the first, then 256-byte ones.
    std::vector<std::uint8_t> zeros(1350, 0);
    zeros.front() = 0xF0;
    zeros.back() = 0xF7;
    std::vector<std::uint8_t> counting = MakeSysEx(1350);
    ASSERT_EQ(SendPieces(*output, zeros, 16), 85u);
    ASSERT_EQ(SendPieces(*output, counting, 256), 6u);
    std::vector<std::uint8_t> both = zeros;
    both.insert(both.end(), counting.begin(), counting.end());
    EXPECT_EQ(Joined(peerIn.WaitFor(12)), both);
    EXPECT_EQ(peerEvents.sizes.size(), 91u);
    EXPECT_EQ(done.Done().size(), 91u);

    InputRecorder userIn;
    std::unique_ptr<MidiInput> input;
    ASSERT_EQ(OpenInput(userIn, input), QZ::S_OK);
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_EQ(peerOutput->SendShort(0x00643C90), QZ::S_OK);
    }
    const std::vector<InputEntry> notes = userIn.WaitFor(3);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[2].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x64}));
}

TEST_F(AlsaMidiDriverTest, OpenFindsTheListedPortByNameOrFails)
{
    const int device = FindDevice(kPeerInput, false);
    ASSERT_GE(device, 0);
    // The listed port goes and another program's port takes its number.
    peerInput.reset();
    OtherProgram other;
    ASSERT_GE(other.AddPort("Other Synth", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE),
              0);
    InputRecorder otherIn;
    std::unique_ptr<MidiInput> published;
    ASSERT_EQ(driver->PublishInput("Other Synth", &InputRecorder::Callback, &otherIn, published),
              QZ::S_OK);
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    EXPECT_EQ(driver->OpenOutput(static_cast<std::uint32_t>(device), &OutputRecorder::Callback,
                                 &done, output),
              QZ::E_FAIL);
    EXPECT_EQ(driver->OpenOutput(1000, &OutputRecorder::Callback, &done, output), QZ::E_FAIL);
    EXPECT_EQ(FindDevice(kPeerInput, false), -1);
    EXPECT_TRUE(other.Read().empty());
}

// Every way the sequencer tells of a destination gone: its port deleted, its client closed, its
// subscription ended from the other side. Sends fail from then on; a port of the same name that
// comes back is reached by a new open.
TEST_F(AlsaMidiDriverTest, SendFailsOnceTheDestinationIsGoneInAnyWay)
{
    enum class Gone
    {
        PortDeleted,
        ClientClosed,
        Unsubscribed,
    };
    for (const Gone gone : {Gone::PortDeleted, Gone::ClientClosed, Gone::Unsubscribed})
    {
        SCOPED_TRACE(static_cast<int>(gone));
        OtherProgram other;
        const int port = other.AddDestination();
        OutputRecorder done;
        std::unique_ptr<MidiOutput> output;
        ASSERT_EQ(OpenOutput(done, output, kOtherDestination), QZ::S_OK);
        ASSERT_EQ(output->SendShort(0x00643C90), QZ::S_OK);
        if (gone == Gone::PortDeleted)
        {
            snd_seq_delete_simple_port(other.Seq(), port);
        }
        else if (gone == Gone::ClientClosed)
        {
            other.Close();
        }
        else
        {
            ASSERT_TRUE(other.Unsubscribe(port));
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        QZRESULT sent = QZ::S_OK;
        while (QZ::Succeeded(sent) && std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            sent = output->SendShort(0x00643C90);
        }
        EXPECT_EQ(sent, QZ::E_FAIL);
    }
}

TEST_F(AlsaMidiDriverTest, WordOfAnEndedSubscriptionLeavesAPortMadeAgainUnderItsNumberAlone)
{
    namespace StandIn = Testing::AlsaSequencerStandIn;
    // The port is released and made again, under the same number and to the same peer, while
    // the reader is behind: either the sequencer's word of the first one's end is read only
    // afterwards, or the reader, told that the other program ended the subscription, has found
    // it gone and is held there.
    enum class Reader
    {
        ReadsLate,
        WeighsMeanwhile,
    };
    for (const Reader reader : {Reader::ReadsLate, Reader::WeighsMeanwhile})
    {
        SCOPED_TRACE(static_cast<int>(reader));
        OtherProgram other;
        const int port = other.AddDestination();
        OutputRecorder done;
        std::unique_ptr<MidiOutput> output;
        ASSERT_EQ(OpenOutput(done, output, kOtherDestination), QZ::S_OK);
        InputRecorder userIn;
        std::unique_ptr<MidiInput> input;
        ASSERT_EQ(OpenInput(userIn, input), QZ::S_OK);
        bool behind = true;
        if (reader == Reader::ReadsLate)
        {
            broker.SetAnnouncementsHeld(true);
        }
        else
        {
            StandIn::HoldNextSubscriptionAnswer();
            behind = other.Unsubscribe(port) && StandIn::WaitForHeldAnswer();
        }
        output.reset();
        const QZRESULT reopened = OpenOutput(done, output, kOtherDestination);
        broker.SetAnnouncementsHeld(false);
        StandIn::ReleaseHeldAnswer();
        ASSERT_TRUE(behind);
        ASSERT_EQ(reopened, QZ::S_OK);
        // A message sent now reaches the reader after it has dealt with the announcements.
        ASSERT_EQ(peerOutput->SendShort(0x00013C90), QZ::S_OK);
        ASSERT_EQ(userIn.WaitFor(1).size(), 1u);
        EXPECT_EQ(output->SendShort(0x00643C90), QZ::S_OK);
        EXPECT_EQ(other.Read().size(), 1u);
    }
}

TEST_F(AlsaMidiDriverTest, AFullOutputPoolFailsTheSendAndNothingLeaves)
{
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    ASSERT_EQ(OpenOutput(done, output), QZ::S_OK);
    std::vector<std::uint8_t> message = MakeSysEx(20);
    broker.SetOutputPoolFull(true);
    EXPECT_EQ(SendPieces(*output, message, 20), 0u);
    EXPECT_EQ(output->SendShort(0x00643C90), QZ::E_FAIL);
    broker.SetOutputPoolFull(false);
    EXPECT_EQ(SendPieces(*output, message, 20), 1u);
    // Only the piece sent after the pool had room arrives: what was refused never leaves.
    const std::vector<InputEntry> received = peerIn.WaitFor(2, std::chrono::milliseconds(200));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, message);
    EXPECT_EQ(done.Done().size(), 1u);
}

// What alsa-lib's documentation says of the announcements, checked on the stand-in: a port's
// subscriptions end before the port, a client's ports before the client.
TEST(AlsaSequencerStandIn, AnnouncesInTheSequencersOrder)
{
    Testing::AlsaSequencerBroker broker;
    ASSERT_TRUE(broker.Start());
    OtherProgram watcher;
    const int announcements = watcher.AddPort("announcements", SND_SEQ_PORT_CAP_WRITE);
    ASSERT_EQ(snd_seq_connect_from(watcher.Seq(), announcements, SND_SEQ_CLIENT_SYSTEM,
                                   SND_SEQ_PORT_SYSTEM_ANNOUNCE),
              0);
    auto* other = new OtherProgram;
    const int port = other->AddPort("out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ);
    const int sink = watcher.AddPort("in", SND_SEQ_PORT_CAP_WRITE);
    ASSERT_EQ(snd_seq_connect_from(watcher.Seq(), sink, snd_seq_client_id(other->Seq()), port), 0);
    (void)watcher.Read();
    delete other;
    std::vector<int> types;
    for (const snd_seq_event_t& event : watcher.Read())
    {
        types.push_back(event.type);
    }
    EXPECT_EQ(types, (std::vector<int>{SND_SEQ_EVENT_PORT_UNSUBSCRIBED, SND_SEQ_EVENT_PORT_EXIT,
                                       SND_SEQ_EVENT_CLIENT_EXIT}));
}

} // namespace
} // namespace Platform
