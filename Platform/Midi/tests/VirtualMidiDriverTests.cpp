#include "Platform/Midi/VirtualMidiDriver.h"
#include "Platform/Midi/tests/InputRecorder.h"

#include <gtest/gtest.h>

namespace Platform
{
namespace
{

using Testing::InputEntry;
using Testing::InputRecorder;
using Testing::MakeSysEx;
using Testing::OutputRecorder;

// A peer that publishes an output on a virtual bus, and the user's input opened on its device.
class VirtualInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(driver.PublishOutput("Peer", &OutputRecorder::Callback, &peerDone, peer),
                  QZ::S_OK);
        ASSERT_EQ(driver.GetInputCount(), 1u);
        ASSERT_EQ(driver.OpenInput(0, &InputRecorder::Callback, &recorder, input), QZ::S_OK);
    }

    void Send(std::vector<std::uint8_t> bytes)
    {
        MidiBuffer buffer;
        buffer.data = bytes.data();
        buffer.bufferLength = static_cast<std::uint32_t>(bytes.size());
        ASSERT_EQ(peer->PrepareBuffer(buffer), QZ::S_OK);
        ASSERT_EQ(peer->SendLong(buffer), QZ::S_OK);
        ASSERT_EQ(peer->UnprepareBuffer(buffer), QZ::S_OK);
    }

    VirtualMidiDriver driver;
    OutputRecorder peerDone;
    std::unique_ptr<MidiOutput> peer;
    InputRecorder recorder;
    std::unique_ptr<MidiInput> input;
};

std::vector<std::size_t> ChunkSizes(const std::vector<InputEntry>& entries)
{
    std::vector<std::size_t> sizes;
    for (const InputEntry& entry : entries)
    {
        sizes.push_back(entry.bytes.size());
    }
    return sizes;
}

TEST_F(VirtualInputTest, LongSysExFillsBuffersInOrderAndEndsWithShortOne)
{
    recorder.Attach(*input);
    const std::vector<std::uint8_t> message = MakeSysEx(1350);
    Send(message);
    const std::vector<InputEntry> entries = recorder.WaitFor(6);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(ChunkSizes(entries), (std::vector<std::size_t>{256, 256, 256, 256, 256, 70}));
    for (const InputEntry& entry : entries)
    {
        EXPECT_EQ(entry.message, MidiInputMessage::LongData);
    }
    EXPECT_EQ(Joined(entries), message);
}

TEST_F(VirtualInputTest, SysExPiecesSentApartArriveAsOneStream)
{
    recorder.Attach(*input);
    const std::vector<std::uint8_t> message = MakeSysEx(600);
    Send({message.begin(), message.begin() + 100});
    Send({message.begin() + 100, message.begin() + 400});
    Send({message.begin() + 400, message.end()});
    const std::vector<InputEntry> entries = recorder.WaitFor(3);
    EXPECT_EQ(ChunkSizes(entries), (std::vector<std::size_t>{256, 256, 88}));
    EXPECT_EQ(Joined(entries), message);
}

TEST_F(VirtualInputTest, ExactBufferSizedMessagesEndWithFullBuffer)
{
    recorder.Attach(*input);
    Send(MakeSysEx(256));
    Send(MakeSysEx(512));
    const std::vector<InputEntry> entries = recorder.WaitFor(3);
    EXPECT_EQ(ChunkSizes(entries), (std::vector<std::size_t>{256, 256, 256}));
    EXPECT_EQ(entries[0].bytes.back(), 0xF7);
    EXPECT_EQ(entries[1].bytes.back(), 0x7F);
    EXPECT_EQ(entries[2].bytes.back(), 0xF7);
}

TEST_F(VirtualInputTest, ShortMessagesCarryTheirLengthAndTimestamp)
{
    recorder.Attach(*input);
    Send({0x90, 0x3C, 0x64, 0xC0, 0x05, 0xF8, 0xF2, 0x01, 0x02});
    const std::vector<InputEntry> entries = recorder.WaitFor(4);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x64}));
    EXPECT_EQ(entries[1].bytes, (std::vector<std::uint8_t>{0xC0, 0x05}));
    EXPECT_EQ(entries[2].bytes, (std::vector<std::uint8_t>{0xF8}));
    EXPECT_EQ(entries[3].bytes, (std::vector<std::uint8_t>{0xF2, 0x01, 0x02}));
    for (const InputEntry& entry : entries)
    {
        EXPECT_EQ(entry.message, MidiInputMessage::Data);
        EXPECT_LT(entry.timestamp, 2000u);
    }
}

TEST_F(VirtualInputTest, RunningStatusRepeatsTheLastChannelStatus)
{
    recorder.Attach(*input);
    Send({0x90, 0x3C, 0x64, 0x3E, 0x64, 0xF6, 0x40, 0x40});
    const std::vector<InputEntry> entries = recorder.WaitFor(3);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].bytes, (std::vector<std::uint8_t>{0x90, 0x3E, 0x64}));
    // A system common message cancels running status, so the data bytes after it are dropped.
    EXPECT_EQ(entries[2].bytes, (std::vector<std::uint8_t>{0xF6}));
    EXPECT_EQ(recorder.WaitFor(4, std::chrono::milliseconds(100)).size(), 3u);
}

TEST_F(VirtualInputTest, RealTimeByteInsideSysExLeavesTheMessageWhole)
{
    recorder.Attach(*input);
    Send({0xF0, 0x01, 0xF8, 0x02, 0xF7});
    const std::vector<InputEntry> entries = recorder.WaitFor(2);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].bytes, (std::vector<std::uint8_t>{0xF8}));
    EXPECT_EQ(entries[1].bytes, (std::vector<std::uint8_t>{0xF0, 0x01, 0x02, 0xF7}));
}

TEST_F(VirtualInputTest, StatusByteCutsSysExShortAsLongError)
{
    recorder.Attach(*input);
    Send({0xF0, 0x01, 0x02, 0x90, 0x3C, 0x64});
    const std::vector<InputEntry> entries = recorder.WaitFor(2);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].message, MidiInputMessage::LongError);
    EXPECT_EQ(entries[0].bytes, (std::vector<std::uint8_t>{0xF0, 0x01, 0x02}));
    EXPECT_EQ(entries[1].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x64}));
}

TEST_F(VirtualInputTest, MessageThatFindsNoBufferEndsAsLongErrorOnTheNextOne)
{
    recorder.Attach(*input, 1);
    recorder.SetRequeue(false);
    const std::vector<std::uint8_t> message = MakeSysEx(300);
    Send({message.begin(), message.begin() + 256});
    // The clock byte marks that the lost bytes before it have been parsed.
    Send({0x01, 0x02, 0x03, 0xF8});
    ASSERT_EQ(recorder.WaitFor(2).size(), 2u);
    (void)input->AddBuffer(recorder.Buffer(0));
    Send({0x04, 0xF7});
    const std::vector<InputEntry> entries = recorder.WaitFor(3);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].message, MidiInputMessage::LongData);
    EXPECT_EQ(entries[2].message, MidiInputMessage::LongError);
    EXPECT_TRUE(entries[2].bytes.empty());
}

TEST_F(VirtualInputTest, BytesBeforeStartAreDropped)
{
    MidiBuffer& buffer = recorder.Buffer(0);
    Send({0x90, 0x3C, 0x64});
    recorder.Attach(*input);
    Send({0x80, 0x3C, 0x00});
    const std::vector<InputEntry> entries = recorder.WaitFor(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].bytes[0], 0x80);
    EXPECT_NE(buffer.flags & MidiBuffer::kInQueue, 0u);
}

TEST_F(VirtualInputTest, ResetHandsBackEveryBufferAndPartOfAMessageAsError)
{
    recorder.Attach(*input);
    recorder.SetRequeue(false);
    Send({0xF0, 0x01, 0x02, 0xF8});
    ASSERT_EQ(recorder.WaitFor(1).size(), 1u);
    EXPECT_EQ(input->UnprepareBuffer(recorder.Buffer(0)), QZ::E_FAIL);
    ASSERT_EQ(input->Reset(), QZ::S_OK);
    const std::vector<InputEntry> entries = recorder.Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].message, MidiInputMessage::LongError);
    EXPECT_EQ(entries[1].bytes, (std::vector<std::uint8_t>{0xF0, 0x01, 0x02}));
    EXPECT_EQ(entries[2].message, MidiInputMessage::LongData);
    EXPECT_TRUE(entries[3].bytes.empty());
    for (int i = 0; i < InputRecorder::kBufferCount; ++i)
    {
        EXPECT_EQ(recorder.Buffer(i).flags & MidiBuffer::kInQueue, 0u);
        EXPECT_NE(recorder.Buffer(i).flags & MidiBuffer::kDone, 0u);
        EXPECT_EQ(input->UnprepareBuffer(recorder.Buffer(i)), QZ::S_OK);
    }
}

TEST_F(VirtualInputTest, UnpreparedBufferIsRefused)
{
    std::uint8_t data[16];
    MidiBuffer buffer;
    buffer.data = data;
    buffer.bufferLength = sizeof(data);
    EXPECT_EQ(input->AddBuffer(buffer), QZ::E_FAIL);
    MidiBuffer empty;
    EXPECT_EQ(input->PrepareBuffer(empty), QZ::E_INVALIDARG);
}

class VirtualOutputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(driver.PublishInput("Peer In", &InputRecorder::Callback, &peer, peerInput),
                  QZ::S_OK);
        peer.Attach(*peerInput);
        ASSERT_EQ(driver.GetOutputCount(), 1u);
        ASSERT_EQ(driver.OpenOutput(0, &OutputRecorder::Callback, &done, output), QZ::S_OK);
        buffer.data = bytes.data();
        buffer.bufferLength = static_cast<std::uint32_t>(bytes.size());
    }

    VirtualMidiDriver driver;
    InputRecorder peer;
    std::unique_ptr<MidiInput> peerInput;
    OutputRecorder done;
    std::unique_ptr<MidiOutput> output;
    std::vector<std::uint8_t> bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    MidiBuffer buffer;
};

TEST_F(VirtualOutputTest, LongMessageReachesThePeerAndCompletes)
{
    ASSERT_EQ(output->PrepareBuffer(buffer), QZ::S_OK);
    ASSERT_EQ(output->SendLong(buffer), QZ::S_OK);
    EXPECT_EQ(done.Done(), (std::vector<MidiBuffer*>{&buffer}));
    EXPECT_NE(buffer.flags & MidiBuffer::kDone, 0u);
    EXPECT_EQ(output->UnprepareBuffer(buffer), QZ::S_OK);
    const std::vector<InputEntry> entries = peer.WaitFor(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].bytes, bytes);
}

TEST_F(VirtualOutputTest, UnpreparedLongMessageIsRefused)
{
    EXPECT_EQ(output->SendLong(buffer), QZ::E_FAIL);
    EXPECT_TRUE(done.Done().empty());
}

TEST_F(VirtualOutputTest, WithheldCompletionComesWithReset)
{
    driver.SetCompletionsWithheld(true);
    ASSERT_EQ(output->PrepareBuffer(buffer), QZ::S_OK);
    ASSERT_EQ(output->SendLong(buffer), QZ::S_OK);
    EXPECT_TRUE(done.Done().empty());
    EXPECT_EQ(output->UnprepareBuffer(buffer), QZ::E_FAIL);
    EXPECT_EQ(output->SendLong(buffer), QZ::E_FAIL);
    ASSERT_EQ(output->Reset(), QZ::S_OK);
    EXPECT_EQ(done.Done(), (std::vector<MidiBuffer*>{&buffer}));
    EXPECT_EQ(output->UnprepareBuffer(buffer), QZ::S_OK);
}

TEST_F(VirtualOutputTest, ShortMessagesSendTheirOwnLength)
{
    ASSERT_EQ(output->SendShort(0x00643C90), QZ::S_OK);
    ASSERT_EQ(output->SendShort(0x7F7F05C0), QZ::S_OK);
    ASSERT_EQ(output->SendShort(0x000000F8), QZ::S_OK);
    const std::vector<InputEntry> entries = peer.WaitFor(3);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x64}));
    EXPECT_EQ(entries[1].bytes, (std::vector<std::uint8_t>{0xC0, 0x05}));
    EXPECT_EQ(entries[2].bytes, (std::vector<std::uint8_t>{0xF8}));
}

TEST_F(VirtualOutputTest, ObserverSeesEachMessageAsItLeaves)
{
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seen;
    driver.SetSendObserver([&](const std::string& device, const std::vector<std::uint8_t>& sent)
                           { seen.emplace_back(device, sent); });
    ASSERT_EQ(output->PrepareBuffer(buffer), QZ::S_OK);
    ASSERT_EQ(output->SendLong(buffer), QZ::S_OK);
    ASSERT_EQ(output->SendShort(0x000005C0), QZ::S_OK);
    driver.SetSendObserver(nullptr);
    ASSERT_EQ(output->SendShort(0x000005C0), QZ::S_OK);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, "Peer In");
    EXPECT_EQ(seen[0].second, bytes);
    EXPECT_EQ(seen[1].second, (std::vector<std::uint8_t>{0xC0, 0x05}));
}

TEST_F(VirtualOutputTest, ShortMessageWithoutValidStatusIsRefused)
{
    EXPECT_EQ(output->SendShort(0x00000040), QZ::E_FAIL);
    EXPECT_EQ(output->SendShort(0x000000F0), QZ::E_FAIL);
    EXPECT_EQ(output->SendShort(0x00F73C90), QZ::E_FAIL);
}

TEST(VirtualMidiDriver, PublishedPortsAreDevicesUntilClosed)
{
    VirtualMidiDriver driver;
    OutputRecorder done;
    InputRecorder recorder;
    std::unique_ptr<MidiOutput> published;
    std::unique_ptr<MidiInput> publishedInput;
    ASSERT_EQ(
        driver.PublishOutput("MIDIIN4 (Tarn 61)", &OutputRecorder::Callback, &done, published),
        QZ::S_OK);
    ASSERT_EQ(driver.PublishInput("MIDIOUT4 (Tarn 61)", &InputRecorder::Callback, &recorder,
                                  publishedInput),
              QZ::S_OK);
    std::string name;
    ASSERT_EQ(driver.GetInputCount(), 1u);
    ASSERT_EQ(driver.GetInputName(0, name), QZ::S_OK);
    EXPECT_EQ(name, "MIDIIN4 (Tarn 61)");
    ASSERT_EQ(driver.GetOutputCount(), 1u);
    ASSERT_EQ(driver.GetOutputName(0, name), QZ::S_OK);
    EXPECT_EQ(name, "MIDIOUT4 (Tarn 61)");
    EXPECT_EQ(driver.GetInputName(1, name), QZ::E_INVALIDARG);

    published.reset();
    publishedInput.reset();
    EXPECT_EQ(driver.GetInputCount(), 0u);
    EXPECT_EQ(driver.GetOutputCount(), 0u);
    std::unique_ptr<MidiInput> input;
    EXPECT_EQ(driver.OpenInput(0, &InputRecorder::Callback, &recorder, input), QZ::E_FAIL);
    EXPECT_EQ(input, nullptr);
}

TEST(VirtualMidiDriver, InputOutlivesThePublisherOfItsDevice)
{
    VirtualMidiDriver driver;
    OutputRecorder done;
    InputRecorder recorder;
    std::unique_ptr<MidiOutput> published;
    ASSERT_EQ(driver.PublishOutput("Gone", &OutputRecorder::Callback, &done, published), QZ::S_OK);
    std::unique_ptr<MidiInput> input;
    ASSERT_EQ(driver.OpenInput(0, &InputRecorder::Callback, &recorder, input), QZ::S_OK);
    recorder.Attach(*input);
    published.reset();
    EXPECT_EQ(input->Reset(), QZ::S_OK);
    EXPECT_EQ(recorder.Entries().size(), 3u);
}

} // namespace
} // namespace Platform
