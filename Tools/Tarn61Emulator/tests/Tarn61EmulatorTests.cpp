#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include "Platform/Midi/VirtualMidiDriver.h"
#include "Platform/Midi/tests/InputRecorder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace Tarn61
{
namespace
{

using Message = Tarn61Emulator::Message;
using Platform::Testing::InputEntry;
using Platform::Testing::InputRecorder;
using Platform::Testing::OutputRecorder;

// Bounds only a hang: a loaded machine may take seconds to deliver what a quiet one does at once.
constexpr auto kWait = std::chrono::seconds(10);

Tarn61Emulator::ValueArea Pattern(std::uint8_t seed)
{
    Tarn61Emulator::ValueArea values{};
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        values[i] = static_cast<std::uint8_t>((seed + i) % 0x80);
    }
    return values;
}

// The program's side of the wire: the keyboard's two ports opened by name on the virtual bus.
class Tarn61EmulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(emulator.Start(), QZ::S_OK);
        ASSERT_EQ(driver->GetInputCount(), 1u);
        ASSERT_EQ(driver->GetOutputCount(), 1u);
        std::string name;
        ASSERT_EQ(driver->GetInputName(0, name), QZ::S_OK);
        ASSERT_EQ(name, "MIDIIN4 (Tarn 61)");
        ASSERT_EQ(driver->GetOutputName(0, name), QZ::S_OK);
        ASSERT_EQ(name, "MIDIOUT4 (Tarn 61)");
        ASSERT_EQ(driver->OpenInput(0, &InputRecorder::Callback, &recorder, input), QZ::S_OK);
        ASSERT_EQ(driver->OpenOutput(0, &OutputRecorder::Callback, &done, output), QZ::S_OK);
        recorder.Attach(*input);
    }

    void Send(Message bytes)
    {
        Platform::MidiBuffer buffer;
        buffer.data = bytes.data();
        buffer.bufferLength = static_cast<std::uint32_t>(bytes.size());
        ASSERT_EQ(output->PrepareBuffer(buffer), QZ::S_OK);
        ASSERT_EQ(output->SendLong(buffer), QZ::S_OK);
        ASSERT_EQ(output->UnprepareBuffer(buffer), QZ::S_OK);
    }

    // The whole messages received within the wait, joined from their buffers.
    std::vector<Message> Replies(std::size_t count)
    {
        std::vector<Message> messages;
        for (std::size_t chunks = 1;; ++chunks)
        {
            const std::vector<InputEntry> entries = recorder.WaitFor(chunks);
            messages.clear();
            Message current;
            for (const InputEntry& entry : entries)
            {
                current.insert(current.end(), entry.bytes.begin(), entry.bytes.end());
                if (!current.empty() && current.back() == 0xF7)
                {
                    messages.push_back(current);
                    current.clear();
                }
            }
            if (messages.size() >= count || entries.size() < chunks)
            {
                return messages;
            }
        }
    }

    std::shared_ptr<Platform::VirtualMidiDriver> driver =
        std::make_shared<Platform::VirtualMidiDriver>();
    Tarn61Emulator emulator{driver, Pattern(0)};
    InputRecorder recorder;
    OutputRecorder done;
    std::unique_ptr<Platform::MidiInput> input;
    std::unique_ptr<Platform::MidiOutput> output;
};

const Message kIdentityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
const Message kPreamble = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6D, 0x00, 0x01, 0x01, 0xF7};

Message GetPreset(std::uint8_t slot)
{
    return {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x62, slot, 0xF7};
}

TEST_F(Tarn61EmulatorTest, IdentityRequestIsAnsweredWithTheFirmwareDigits)
{
    emulator.SetFirmwareVersion({'1', '0', '3', '0'});
    Send(kIdentityRequest);
    const std::vector<Message> replies = Replies(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (Message{0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x00, 0x3C, 0x1D, 0x31, 0x06, '1',
                                   '0', '3', '0', 0xF7}));
}

TEST_F(Tarn61EmulatorTest, GetPresetIsAnsweredWithTheSlotsDump)
{
    emulator.SetSlot(5, Pattern(9));
    Send(kPreamble);
    Send(GetPreset(5));
    const std::vector<Message> replies = Replies(1);
    ASSERT_EQ(replies.size(), 1u);
    const Message& dump = replies[0];
    ASSERT_EQ(dump.size(), 1350u);
    EXPECT_EQ(Message(dump.begin(), dump.begin() + 11),
              (Message{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x63, 0x0A, 0x3B, 0x05}));
    const Tarn61Emulator::ValueArea expected = Pattern(9);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), dump.begin() + 11));
    EXPECT_EQ(dump.back(), 0xF7);
    EXPECT_EQ(emulator.GetReceivedMessages(), (std::vector<Message>{kPreamble, GetPreset(5)}));
}

TEST_F(Tarn61EmulatorTest, SendPresetIsStoredInItsSlotOnly)
{
    Message message = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x61, 0x0A, 0x3B, 0x03};
    const Tarn61Emulator::ValueArea values = Pattern(40);
    message.insert(message.end(), values.begin(), values.end());
    message.push_back(0xF7);
    // Sent in the protocol's 256-byte pieces.
    for (std::size_t offset = 0; offset < message.size(); offset += 256)
    {
        Send(Message(message.begin() + offset,
                     message.begin() + std::min<std::size_t>(offset + 256, message.size())));
    }
    ASSERT_TRUE(emulator.WaitForMessages(1, kWait));
    EXPECT_EQ(emulator.GetReceivedMessages()[0], message);
    EXPECT_EQ(emulator.GetSlot(3), values);
    EXPECT_EQ(emulator.GetSlot(2), Pattern(0));
    EXPECT_EQ(emulator.GetSlot(4), Pattern(0));
}

TEST_F(Tarn61EmulatorTest, GlobalParameterIsSetAndReadBack)
{
    // A fresh keyboard's settings: channel 1, octaves and transpositions at their zero points.
    const std::int32_t fresh[] = {1, 0, 0, 0, 0, 5, 12, 0, 5, 12, 0, 0, 0, 0, 0, 0};
    for (int index = 0; index < Tarn61Emulator::kGlobalCount; ++index)
    {
        EXPECT_EQ(emulator.GetGlobal(index), fresh[index]) << index;
    }
    Send(
        {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6A, 0x00, 0x04, 0x00, 0x0D, 0x01, 0x02, 0xF7});
    Send({0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6B, 0x00, 0x02, 0x00, 0x0D, 0xF7});
    const std::vector<Message> replies = Replies(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (Message{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6C, 0x00, 0x04, 0x00,
                                   0x0D, 0x01, 0x02, 0xF7}));
    EXPECT_EQ(emulator.GetGlobal(13), 130);
}

TEST_F(Tarn61EmulatorTest, RequestsOutsideTheKeyboardsRangeGoUnanswered)
{
    Send(GetPreset(13));
    Send({0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6B, 0x00, 0x02, 0x00, 0x10, 0xF7});
    Send(kPreamble);
    Send(kIdentityRequest);
    const std::vector<Message> replies = Replies(2);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].size(), 15u);
    EXPECT_EQ(emulator.GetReceivedMessages().size(), 4u);
}

TEST_F(Tarn61EmulatorTest, SilentKeyboardReceivesButNeverAnswers)
{
    emulator.SetBehaviour({.silent = true});
    Send(kIdentityRequest);
    ASSERT_TRUE(emulator.WaitForMessages(1, kWait));
    Send(GetPreset(1));
    ASSERT_TRUE(emulator.WaitForMessages(2, kWait));
    EXPECT_TRUE(recorder.Entries().empty());
}

TEST_F(Tarn61EmulatorTest, LateAnswersKeepReceivingAndLeaveInOrderAfterTheDelay)
{
    emulator.SetBehaviour({.replyDelay = std::chrono::milliseconds(400)});
    const auto start = std::chrono::steady_clock::now();
    Send(kIdentityRequest);
    Send(GetPreset(3));
    // Both requests are taken while the first answer still waits.
    ASSERT_TRUE(emulator.WaitForMessages(2, kWait));
    EXPECT_TRUE(recorder.Entries().empty());
    const std::vector<Message> replies = Replies(2);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].size(), 15u);
    EXPECT_EQ(replies[1].size(), 1350u);
}

TEST_F(Tarn61EmulatorTest, TruncatedAndOverlongAnswersKeepTheirFraming)
{
    emulator.SetBehaviour({.replyLengthChange = -1});
    Send(GetPreset(0));
    ASSERT_EQ(Replies(1).size(), 1u);
    emulator.SetBehaviour({.replyLengthChange = 1});
    Send(GetPreset(0));
    const std::vector<Message> replies = Replies(2);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].size(), 1349u);
    EXPECT_EQ(replies[1].size(), 1351u);
    EXPECT_EQ(replies[0].back(), 0xF7);
    EXPECT_EQ(replies[1][1349], 0x00);
    EXPECT_EQ(replies[1].back(), 0xF7);
}

TEST_F(Tarn61EmulatorTest, AnswerSentInSmallPiecesArrivesWhole)
{
    emulator.SetBehaviour({.replyPieceSize = 7, .replyPieceGap = std::chrono::milliseconds(1)});
    Send(GetPreset(2));
    const std::vector<Message> replies = Replies(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].size(), 1350u);
}

TEST(Tarn61EmulatorDefaults, EverySlotStartsWithTheModelsDefaultsInDataBytes)
{
    const Tarn61Emulator::ValueArea defaults = MakeDefaultPreset();
    EXPECT_TRUE(std::all_of(defaults.begin(), defaults.end(),
                            [](std::uint8_t byte) { return byte < 0x80; }));
    EXPECT_TRUE(
        std::any_of(defaults.begin(), defaults.end(), [](std::uint8_t byte) { return byte != 0; }));
    Tarn61Emulator emulator(std::make_shared<Platform::VirtualMidiDriver>());
    for (int slot = 0; slot < Tarn61Emulator::kSlotCount; ++slot)
    {
        EXPECT_EQ(emulator.GetSlot(slot), defaults) << slot;
    }
}

TEST_F(Tarn61EmulatorTest, StrictModeStoresOnlyASendPresetPacedForASmallBuffer)
{
    std::mutex mutex;
    std::vector<std::string> log;
    emulator.SetLogSink(
        [&](const std::string& line)
        {
            std::lock_guard<std::mutex> lock(mutex);
            log.push_back(line);
        });
    Tarn61Emulator::Behaviour strict;
    strict.strict = true;
    emulator.SetBehaviour(strict);
    Message message = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x61, 0x0A, 0x3B, 0x03};
    const Tarn61Emulator::ValueArea values = Pattern(40);
    message.insert(message.end(), values.begin(), values.end());
    message.push_back(0xF7);

    struct Case
    {
        std::size_t piece;
        std::chrono::milliseconds gap;
        std::size_t events;
        const char* verdict;
    };
    const Case cases[] = {
        {256, std::chrono::milliseconds(0), 6, "send-preset for slot 3 dropped: a piece "},
        {1350, std::chrono::milliseconds(0), 1,
         "send-preset for slot 3 dropped: a piece of 1350 bytes, more than 256"},
        {256, std::chrono::milliseconds(10), 6, "send-preset for slot 3 stored"},
    };
    std::size_t sent = 0;
    for (const Case& test : cases)
    {
        for (std::size_t offset = 0; offset < message.size(); offset += test.piece)
        {
            std::this_thread::sleep_for(offset > 0 ? test.gap : std::chrono::milliseconds(0));
            Send(Message(message.begin() + offset,
                         message.begin() + std::min(offset + test.piece, message.size())));
        }
        ASSERT_TRUE(emulator.WaitForMessages(++sent, kWait));
        std::lock_guard<std::mutex> lock(mutex);
        ASSERT_EQ(log.size(), test.events + 1) << test.verdict;
        EXPECT_EQ(log.back().rfind(test.verdict, 0), 0u) << log.back();
        EXPECT_EQ(log.front().rfind("event " + std::to_string(test.piece) + " bytes at ", 0), 0u)
            << log.front();
        EXPECT_EQ(emulator.GetSlot(3),
                  test.events == 6 && test.gap.count() >= 9 ? values : Pattern(0));
        log.clear();
    }
}

// Whoever waits for a message finds its verdict already logged.
TEST_F(Tarn61EmulatorTest, AMessageCountsAsReceivedOnlyOnceItsVerdictIsLogged)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool logging = false;
    bool released = false;
    emulator.SetLogSink(
        [&](const std::string& line)
        {
            std::unique_lock<std::mutex> lock(mutex);
            logging = line == "identity request";
            changed.notify_all();
            changed.wait(lock, [&] { return released || !logging; });
        });
    Tarn61Emulator::Behaviour strict;
    strict.strict = true;
    emulator.SetBehaviour(strict);
    Send(kIdentityRequest);
    std::unique_lock<std::mutex> lock(mutex);
    const bool held = changed.wait_for(lock, kWait, [&] { return logging; });
    lock.unlock();
    // The handling thread is held inside the verdict's log line.
    const bool countedBeforeLogged = emulator.WaitForMessages(1, std::chrono::milliseconds(0));
    lock.lock();
    released = true;
    lock.unlock();
    changed.notify_all();
    emulator.SetLogSink(nullptr);
    ASSERT_TRUE(held);
    EXPECT_FALSE(countedBeforeLogged);
    EXPECT_TRUE(emulator.WaitForMessages(1, kWait));
}

TEST_F(Tarn61EmulatorTest, StopWithdrawsThePorts)
{
    emulator.Stop();
    EXPECT_EQ(driver->GetInputCount(), 0u);
    EXPECT_EQ(driver->GetOutputCount(), 0u);
    ASSERT_EQ(emulator.Start(), QZ::S_OK);
    EXPECT_EQ(driver->GetInputCount(), 1u);
}

} // namespace
} // namespace Tarn61
