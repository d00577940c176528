#include "QZFramework/Midi/MidiComm.h"
#include "QZFramework/Midi/tests/CaptureRecorder.h"

#include "Platform/Midi/VirtualMidiDriver.h"
#include "Platform/Midi/tests/InputRecorder.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <gtest/gtest.h>

namespace QZ
{
namespace
{

using Bytes = std::vector<std::uint8_t>;
using Platform::Testing::InputEntry;
using Platform::Testing::InputRecorder;
using Platform::Testing::OutputRecorder;
using Testing::CapturedMessage;
using Testing::CaptureRecorder;

Bytes SysEx(std::size_t length)
{
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(i % 0x80);
    }
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

Array<signed char> ArrayOf(const Bytes& bytes)
{
    Array<signed char> array;
    for (const std::uint8_t byte : bytes)
    {
        array.Add(static_cast<signed char>(byte));
    }
    return array;
}

// A keyboard stand-in on the virtual bus: it publishes the fourth port pair and records what it
// receives; the service under test opens them by name.
class MidiCommTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(driver->PublishOutput("MIDIIN4 (Tarn 61)", &OutputRecorder::Callback, &peerDone,
                                        peerOutput),
                  S_OK);
        ASSERT_EQ(driver->PublishInput("MIDIOUT4 (Tarn 61)", &InputRecorder::Callback, &peerIn,
                                       peerInput),
                  S_OK);
        peerIn.Attach(*peerInput);
        recorder = Testing::Subscribe(comm);
    }

    void TearDown() override
    {
        capture.Reset();
        render.Reset();
        comm.Reset();
        recorder.Reset();
    }

    // The peer sends bytes as it would on the wire.
    void PeerSends(Bytes bytes)
    {
        Platform::MidiBuffer buffer;
        buffer.data = bytes.data();
        buffer.bufferLength = static_cast<std::uint32_t>(bytes.size());
        ASSERT_EQ(peerOutput->PrepareBuffer(buffer), S_OK);
        ASSERT_EQ(peerOutput->SendLong(buffer), S_OK);
        ASSERT_EQ(peerOutput->UnprepareBuffer(buffer), S_OK);
    }

    void OpenBoth()
    {
        ASSERT_EQ(comm->GetCapturePort(u"MIDIIN4 (Tarn 61)", capture), S_OK);
        ASSERT_EQ(comm->GetRenderPort(u"MIDIOUT4 (Tarn 61)", render), S_OK);
    }

    std::shared_ptr<Platform::VirtualMidiDriver> driver =
        std::make_shared<Platform::VirtualMidiDriver>();
    OutputRecorder peerDone;
    InputRecorder peerIn;
    std::unique_ptr<Platform::MidiOutput> peerOutput;
    std::unique_ptr<Platform::MidiInput> peerInput;
    RCPtr<LMidiComm> comm{new LMidiComm(driver, 200)};
    RCPtr<CaptureRecorder> recorder;
    RCPtr<LRefCountedObject> capture;
    RCPtr<LRefCountedObject> render;
};

TEST_F(MidiCommTest, LongMessageInBuffersYieldsOneNotification)
{
    OpenBoth();
    const Bytes message = SysEx(1350);
    PeerSends(message);
    const std::vector<CapturedMessage> messages = recorder->WaitFor(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].bytes, message);
    EXPECT_EQ(messages[0].portName, "MIDIIN4 (Tarn 61)");
    EXPECT_EQ(messages[0].timestamp, 0u);
    EXPECT_NE(messages[0].thread, std::this_thread::get_id());
    EXPECT_EQ(recorder->WaitFor(2, std::chrono::milliseconds(100)).size(), 1u);
}

TEST_F(MidiCommTest, MessagesOfOneAndTwoFullBuffersArriveWholeAndInOrder)
{
    OpenBoth();
    PeerSends(SysEx(256));
    PeerSends(SysEx(512));
    const std::vector<CapturedMessage> messages = recorder->WaitFor(2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].bytes, SysEx(256));
    EXPECT_EQ(messages[1].bytes, SysEx(512));
}

TEST_F(MidiCommTest, ShortMessagesCarryTheirBytesAndTimestamp)
{
    OpenBoth();
    // The time stamp counts from the start of the input.
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    // Channel messages of both lengths, then system common ones (MTC quarter frame, song
    // position, song select, tune request) and a real-time byte.
    const std::vector<Bytes> sent = {
        {0x90, 0x3C, 0x64}, {0xC0, 0x05}, {0xF1, 0x3C}, {0xF2, 0x01, 0x02},
        {0xF3, 0x05},       {0xF6},       {0xF8}};
    for (const Bytes& message : sent)
    {
        PeerSends(message);
    }
    const std::vector<CapturedMessage> messages = recorder->WaitFor(sent.size());
    ASSERT_EQ(messages.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i)
    {
        EXPECT_EQ(messages[i].bytes, sent[i]) << i;
    }
    EXPECT_GE(messages[0].timestamp, 15u);
    EXPECT_LE(messages[0].timestamp, messages.back().timestamp);
}

TEST_F(MidiCommTest, NameIsFoundByCaseInsensitivePart)
{
    ASSERT_EQ(comm->GetCapturePort(u"tarn 61", capture), S_OK);
    ASSERT_EQ(comm->GetRenderPort(u"midiout4", render), S_OK);
    PeerSends({0xF8});
    const std::vector<CapturedMessage> messages = recorder->WaitFor(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].portName, "MIDIIN4 (Tarn 61)");
}

TEST_F(MidiCommTest, EmptyNameMatchesAnyDevice)
{
    EXPECT_EQ(comm->GetCapturePort(u"", capture), S_OK);
    EXPECT_EQ(comm->GetRenderPort(u"", render), S_OK);
}

TEST_F(MidiCommTest, UnknownNameFindsNoPort)
{
    capture = RCPtr<LRefCountedObject>(new LRefCountedObject());
    EXPECT_EQ(comm->GetCapturePort(u"MIDIIN5 (Tarn 61)", capture), E_FAIL);
    EXPECT_TRUE(capture.IsNull());
    EXPECT_EQ(comm->GetRenderPort(u"Tarn 62", render), E_FAIL);
    EXPECT_TRUE(render.IsNull());
}

TEST_F(MidiCommTest, AvailabilityIsAnsweredFromTheDeviceListsWithoutOpening)
{
    EXPECT_TRUE(comm->IsCapturePortAvailable(u"midiin4 (tarn 61)"));
    EXPECT_TRUE(comm->IsRenderPortAvailable(u"MIDIOUT4"));
    EXPECT_FALSE(comm->IsCapturePortAvailable(u"MIDIOUT4"));
    EXPECT_FALSE(comm->IsRenderPortAvailable(u"MIDIIN4"));
    PeerSends({0xF8});
    EXPECT_TRUE(recorder->WaitFor(1, std::chrono::milliseconds(100)).empty());
}

TEST_F(MidiCommTest, SameNameTwiceGivesTheSamePortOpenedOnce)
{
    OpenBoth();
    RCPtr<LRefCountedObject> again;
    ASSERT_EQ(comm->GetCapturePort(u"Tarn 61", again), S_OK);
    EXPECT_EQ(again.Get(), capture.Get());
    PeerSends({0xF8});
    ASSERT_EQ(recorder->WaitFor(1).size(), 1u);
    // An input opened twice would deliver the clock byte twice.
    EXPECT_EQ(recorder->WaitFor(2, std::chrono::milliseconds(100)).size(), 1u);
}

TEST_F(MidiCommTest, ReleasedPortClosesAndOpensAgainOnRequest)
{
    OpenBoth();
    capture.Reset();
    PeerSends({0xF8});
    EXPECT_TRUE(recorder->WaitFor(1, std::chrono::milliseconds(100)).empty());
    ASSERT_EQ(comm->GetCapturePort(u"MIDIIN4 (Tarn 61)", capture), S_OK);
    PeerSends({0xFA});
    const std::vector<CapturedMessage> messages = recorder->WaitFor(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].bytes, (Bytes{0xFA}));
}

TEST_F(MidiCommTest, LongMessageIsSentWholeAndReportsItsLength)
{
    OpenBoth();
    const Bytes message = SysEx(100);
    EXPECT_EQ(comm->SendData(render, ArrayOf(message)), 100);
    const std::vector<InputEntry> received = peerIn.WaitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, message);
}

TEST_F(MidiCommTest, ShortMessagesReportTheirKind)
{
    OpenBoth();
    EXPECT_EQ(comm->SendData(render, ArrayOf({0x90, 0x3C, 0x64})), 0);
    EXPECT_EQ(comm->SendData(render, ArrayOf({0xF8})), 1);
    EXPECT_EQ(comm->SendData(render, ArrayOf({0xF2, 0x01, 0x02})), 3);
    EXPECT_EQ(comm->SendData(render, ArrayOf({0xF3, 0x01})), 2);
    const std::vector<InputEntry> received = peerIn.WaitFor(4);
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0].bytes, (Bytes{0x90, 0x3C, 0x64}));
    EXPECT_EQ(received[2].bytes, (Bytes{0xF2, 0x01, 0x02}));
}

TEST_F(MidiCommTest, EmptyBytesOrCapturePortAreInvalid)
{
    OpenBoth();
    EXPECT_EQ(comm->SendData(render, Array<signed char>()), E_INVALIDARG);
    EXPECT_EQ(comm->SendData(capture, ArrayOf({0xF8})), E_INVALIDARG);
    EXPECT_EQ(comm->SendData(nullptr, ArrayOf({0xF8})), E_INVALIDARG);
    EXPECT_TRUE(peerIn.WaitFor(1, std::chrono::milliseconds(50)).empty());
}

TEST_F(MidiCommTest, CompletionThatNeverComesFailsAndLeavesThePortUsable)
{
    OpenBoth();
    driver->SetCompletionsWithheld(true);
    EXPECT_EQ(comm->SendData(render, ArrayOf(SysEx(20))), E_FAIL);
    driver->SetCompletionsWithheld(false);
    EXPECT_EQ(comm->SendData(render, ArrayOf(SysEx(30))), 30);
    EXPECT_EQ(peerIn.WaitFor(2).size(), 2u);
}

TEST_F(MidiCommTest, ConcurrentSendersToOnePortAllComplete)
{
    OpenBoth();
    std::vector<std::thread> senders;
    std::atomic<int> completed{0};
    for (int t = 0; t < 4; ++t)
    {
        senders.emplace_back(
            [&]
            {
                for (int i = 0; i < 20; ++i)
                {
                    if (comm->SendData(render, ArrayOf(SysEx(300))) == 300)
                    {
                        ++completed;
                    }
                }
            });
    }
    for (std::thread& sender : senders)
    {
        sender.join();
    }
    EXPECT_EQ(completed.load(), 80);
}

TEST_F(MidiCommTest, DataStillArrivingWhilePortsComeAndGoIsHandledOrDropped)
{
    std::atomic<bool> stop{false};
    std::thread peer(
        [&]
        {
            while (!stop.load())
            {
                PeerSends(SysEx(600));
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    for (int i = 0; i < 30; ++i)
    {
        ASSERT_EQ(comm->GetCapturePort(u"MIDIIN4", capture), S_OK);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        capture.Reset();
    }
    stop = true;
    peer.join();
    for (const CapturedMessage& message : recorder->WaitFor(1, std::chrono::milliseconds(50)))
    {
        EXPECT_EQ(message.bytes, SysEx(600));
    }
}

// A driver with one input and one output device whose calls are recorded in order: its input
// cannot be started and its long messages never complete.
class ScriptedDriver : public Platform::MidiDriver
{
public:
    std::vector<std::string> calls;

    std::string GetName() const override { return "scripted"; }
    std::uint32_t GetInputCount() override { return 1; }
    std::uint32_t GetOutputCount() override { return 1; }
    QZRESULT GetInputName(std::uint32_t, std::string& name) override
    {
        name = "Stubborn In";
        return S_OK;
    }
    QZRESULT GetOutputName(std::uint32_t, std::string& name) override
    {
        name = "Silent Out";
        return S_OK;
    }
    QZRESULT OpenInput(std::uint32_t, Platform::MidiInputCallback, void*,
                       std::unique_ptr<Platform::MidiInput>& input) override
    {
        input = std::make_unique<Input>(calls);
        return S_OK;
    }
    QZRESULT OpenOutput(std::uint32_t, Platform::MidiOutputCallback, void*,
                        std::unique_ptr<Platform::MidiOutput>& output) override
    {
        output = std::make_unique<Output>(calls);
        return S_OK;
    }
    QZRESULT PublishInput(const std::string&, Platform::MidiInputCallback, void*,
                          std::unique_ptr<Platform::MidiInput>&) override
    {
        return E_FAIL;
    }
    QZRESULT PublishOutput(const std::string&, Platform::MidiOutputCallback, void*,
                           std::unique_ptr<Platform::MidiOutput>&) override
    {
        return E_FAIL;
    }

private:
    class Input : public Platform::MidiInput
    {
    public:
        explicit Input(std::vector<std::string>& calls) : mCalls(calls) {}
        ~Input() override { mCalls.push_back("close input"); }
        QZRESULT PrepareBuffer(Platform::MidiBuffer&) override { return S_OK; }
        QZRESULT UnprepareBuffer(Platform::MidiBuffer&) override { return S_OK; }
        QZRESULT AddBuffer(Platform::MidiBuffer&) override { return S_OK; }
        QZRESULT Start() override { return Record("start", E_FAIL); }
        QZRESULT Stop() override { return Record("stop", S_OK); }
        QZRESULT Reset() override { return Record("reset input", S_OK); }

    private:
        QZRESULT Record(const char* call, QZRESULT result)
        {
            mCalls.push_back(call);
            return result;
        }
        std::vector<std::string>& mCalls;
    };

    class Output : public Platform::MidiOutput
    {
    public:
        explicit Output(std::vector<std::string>& calls) : mCalls(calls) {}
        ~Output() override { mCalls.push_back("close output"); }
        QZRESULT PrepareBuffer(Platform::MidiBuffer&) override { return Record("prepare"); }
        QZRESULT UnprepareBuffer(Platform::MidiBuffer&) override { return Record("unprepare"); }
        QZRESULT SendLong(Platform::MidiBuffer&) override { return Record("send long"); }
        QZRESULT SendShort(std::uint32_t) override { return Record("send short"); }
        QZRESULT Reset() override { return Record("reset output"); }

    private:
        QZRESULT Record(const char* call)
        {
            mCalls.push_back(call);
            return S_OK;
        }
        std::vector<std::string>& mCalls;
    };
};

TEST(MidiCommService, InputThatCannotStartIsClosedOnceAndNotKept)
{
    auto driver = std::make_shared<ScriptedDriver>();
    RCPtr<LMidiComm> comm(new LMidiComm(driver));
    RCPtr<LRefCountedObject> port;
    EXPECT_EQ(comm->GetCapturePort(u"stubborn", port), E_FAIL);
    EXPECT_TRUE(port.IsNull());
    EXPECT_EQ(driver->calls,
              (std::vector<std::string>{"start", "stop", "reset input", "close input"}));
    driver->calls.clear();
    EXPECT_EQ(comm->GetCapturePort(u"stubborn", port), E_FAIL);
    EXPECT_EQ(driver->calls.front(), "start");
}

TEST(MidiCommService, LongMessageThatNeverCompletesResetsTheOutputBeforeLettingGo)
{
    auto driver = std::make_shared<ScriptedDriver>();
    RCPtr<LMidiComm> comm(new LMidiComm(driver, 20));
    RCPtr<LRefCountedObject> port;
    ASSERT_EQ(comm->GetRenderPort(u"silent", port), S_OK);
    EXPECT_EQ(comm->SendData(port, ArrayOf({0xF0, 0x01, 0xF7})), E_FAIL);
    EXPECT_EQ(driver->calls,
              (std::vector<std::string>{"prepare", "send long", "reset output", "unprepare"}));
    driver->calls.clear();
    port.Reset();
    EXPECT_EQ(driver->calls, std::vector<std::string>{"close output"});
}

TEST(MidiCommService, NoDriverDevicesMeansNoPorts)
{
    RCPtr<LMidiComm> comm(new LMidiComm(std::make_shared<Platform::VirtualMidiDriver>()));
    RCPtr<LRefCountedObject> port;
    EXPECT_EQ(comm->GetCapturePort(u"", port), E_FAIL);
    EXPECT_EQ(comm->GetRenderPort(u"", port), E_FAIL);
}

TEST(MidiCommService, CreateMidiCommUsesTheProcessDriverAndMakesANewServiceEachTime)
{
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    Platform::SetDefaultMidiDriver(driver);
    OutputRecorder done;
    std::unique_ptr<Platform::MidiOutput> published;
    ASSERT_EQ(driver->PublishOutput("Solo", &OutputRecorder::Callback, &done, published), S_OK);
    const RCPtr<LMidiCommInterface> first = CreateMidiComm();
    const RCPtr<LMidiCommInterface> second = CreateMidiComm();
    EXPECT_NE(first.Get(), second.Get());
    RCPtr<LRefCountedObject> port;
    EXPECT_EQ(first->GetCapturePort(u"solo", port), S_OK);
    port.Reset();
    Platform::SetDefaultMidiDriver(nullptr);
}

// A fuzzer reads what arrived as soon as its send returns: over an inline bus every message has
// gone the whole way, parser, port assembly and service, on the sending thread.
TEST(MidiCommService, OverAnInlineBusEachMessageArrivesOnTheSendersThreadBeforeTheSendReturns)
{
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    driver->SetInlineDelivery(true);
    OutputRecorder done;
    std::unique_ptr<Platform::MidiOutput> peer;
    ASSERT_EQ(driver->PublishOutput("Peer", &OutputRecorder::Callback, &done, peer), S_OK);
    const RCPtr<LMidiComm> comm(new LMidiComm(driver));
    const RCPtr<CaptureRecorder> recorder = Testing::Subscribe(comm);
    RCPtr<LRefCountedObject> port;
    ASSERT_EQ(comm->GetCapturePort(u"peer", port), S_OK);
    const std::vector<Bytes> pieces = {{0xF0, 0x01, 0xF8, 0x02}, {0x03, 0xF7, 0x90, 0x40, 0x7F}};
    const std::vector<std::vector<Bytes>> arrived = {
        {{0xF8}}, {{0xF8}, {0xF0, 0x01, 0x02, 0x03, 0xF7}, {0x90, 0x40, 0x7F}}};
    for (std::size_t i = 0; i < pieces.size(); ++i)
    {
        Bytes piece = pieces[i];
        Platform::MidiBuffer buffer;
        buffer.data = piece.data();
        buffer.bufferLength = static_cast<std::uint32_t>(piece.size());
        ASSERT_EQ(peer->PrepareBuffer(buffer), S_OK);
        ASSERT_EQ(peer->SendLong(buffer), S_OK);
        const std::vector<CapturedMessage> messages =
            recorder->WaitFor(0, std::chrono::milliseconds(0));
        ASSERT_EQ(messages.size(), arrived[i].size());
        for (std::size_t k = 0; k < messages.size(); ++k)
        {
            EXPECT_EQ(messages[k].bytes, arrived[i][k]);
            EXPECT_EQ(messages[k].thread, std::this_thread::get_id());
        }
        ASSERT_EQ(peer->UnprepareBuffer(buffer), S_OK);
    }
}

TEST(MidiCommNames, MatchIsACaseInsensitiveSubstring)
{
    EXPECT_TRUE(LMidiComm::IsNameMatch(u"MIDIIN4 (Tarn 61)", u"MIDIIN4 (Tarn 61)"));
    EXPECT_TRUE(LMidiComm::IsNameMatch(u"tarn 61", u"MIDIIN4 (Tarn 61)"));
    EXPECT_TRUE(LMidiComm::IsNameMatch(u"MIDIOUT4 (Tarn 61)", u"2- MIDIOUT4 (Tarn 61) port"));
    EXPECT_TRUE(LMidiComm::IsNameMatch(u"", u"anything"));
    EXPECT_FALSE(LMidiComm::IsNameMatch(u"MIDIIN4 (Tarn 61)", u"MIDIIN4 (Tarn 6)"));
    EXPECT_FALSE(LMidiComm::IsNameMatch(u"x", u""));
}

} // namespace
} // namespace QZ
