#include "Engine/RededoVuvuvaCommon/SysExMessages.h"
#include "Engine/RededoVuvuvaCommon/SysExSender.h"

#include "Platform/Midi/VirtualMidiDriver.h"
#include "QZFramework/Midi/MidiComm.h"
#include "QZFramework/Midi/tests/CaptureRecorder.h"
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <gtest/gtest.h>

#include <mutex>

namespace QZ
{
namespace
{

using Bytes = std::vector<int>;
using Tarn61::Tarn61Emulator;
using Testing::CapturedMessage;
using Testing::CaptureRecorder;

const Bytes kPreamble = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6D, 0x00, 0x01, 0x01, 0xF7};

Tarn61Emulator::ValueArea Pattern(std::uint8_t seed)
{
    Tarn61Emulator::ValueArea values{};
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        values[i] = static_cast<std::uint8_t>((seed + 3 * i) % 0x80);
    }
    return values;
}

SysExMessage SendPresetMessage(std::uint8_t slot, const Tarn61Emulator::ValueArea& values)
{
    SysExMessage message;
    EXPECT_EQ(BuildSendPresetMessage(slot, message), S_OK);
    std::int32_t position = kSendPresetValueOffset;
    EXPECT_EQ(PutPresetValue(message, position, reinterpret_cast<const signed char*>(values.data()),
                             static_cast<std::int32_t>(values.size())),
              S_OK);
    return message;
}

// The emulated keyboard on the virtual bus, the service with both of its ports open, and a record
// of every message as it leaves the service's output.
class SysExSenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        driver->SetSendObserver(
            [this](const std::string& device, const std::vector<std::uint8_t>& bytes)
            {
                if (device == "MIDIOUT4 (Tarn 61)")
                {
                    std::lock_guard<std::mutex> lock(mSentMutex);
                    mSent.emplace_back(bytes.begin(), bytes.end());
                }
            });
        ASSERT_EQ(emulator.Start(), S_OK);
        recorder = Testing::Subscribe(comm);
        ASSERT_EQ(comm->GetCapturePort(u"MIDIIN4 (Tarn 61)", capture), S_OK);
        ASSERT_EQ(comm->GetRenderPort(u"MIDIOUT4 (Tarn 61)", render), S_OK);
    }

    void TearDown() override
    {
        capture.Reset();
        render.Reset();
        comm.Reset();
        recorder.Reset();
        emulator.Stop();
        driver->SetSendObserver(nullptr);
    }

    std::vector<Bytes> Sent()
    {
        std::lock_guard<std::mutex> lock(mSentMutex);
        return mSent;
    }

    std::shared_ptr<Platform::VirtualMidiDriver> driver =
        std::make_shared<Platform::VirtualMidiDriver>();
    Tarn61Emulator emulator{driver};
    RCPtr<LMidiCommInterface> comm{new LMidiComm(driver, 100)};
    RCPtr<CaptureRecorder> recorder;
    RCPtr<LRefCountedObject> capture;
    RCPtr<LRefCountedObject> render;

private:
    std::mutex mSentMutex;
    std::vector<Bytes> mSent;
};

TEST_F(SysExSenderTest, GetPresetForSlot5LeavesAfterThePreamble)
{
    SysExMessage message;
    ASSERT_EQ(BuildGetPresetMessage(5, message), S_OK);
    EXPECT_EQ(SendSysExMessage(comm, message, render, false), 10);
    EXPECT_EQ(Sent(),
              (std::vector<Bytes>{kPreamble,
                                  {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x62, 0x05, 0xF7}}));
}

TEST_F(SysExSenderTest, SendPresetLeavesInSixPiecesEndingWithSeventyBytes)
{
    const Tarn61Emulator::ValueArea values = Pattern(1);
    SysExMessage message = SendPresetMessage(3, values);
    EXPECT_EQ(SendSysExMessage(comm, message, render, false), 70);
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0], kPreamble);
    std::vector<std::size_t> sizes;
    Bytes joined;
    for (std::size_t i = 1; i < sent.size(); ++i)
    {
        sizes.push_back(sent[i].size());
        joined.insert(joined.end(), sent[i].begin(), sent[i].end());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{256, 256, 256, 256, 256, 70}));
    ASSERT_EQ(joined.size(), 1350u);
    EXPECT_EQ(Bytes(joined.begin(), joined.begin() + 11),
              (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x61, 0x0A, 0x3B, 0x03}));
    EXPECT_EQ(Bytes(joined.begin() + 11, joined.end() - 1), Bytes(values.begin(), values.end()));
    EXPECT_EQ(joined.back(), 0xF7);
    ASSERT_TRUE(emulator.WaitForMessages(2, std::chrono::seconds(2)));
    EXPECT_EQ(emulator.GetSlot(3), values);
}

TEST_F(SysExSenderTest, GlobalParameterMessagesLeaveAsBuilt)
{
    SysExMessage set;
    ASSERT_EQ(BuildGlobalParameterMessage(u"KEY_OCTAVE", 7, set), S_OK);
    EXPECT_GE(SendSysExMessage(comm, set, render, false), 0);
    SysExMessage request;
    ASSERT_EQ(BuildGlobalParameterRequest(request, u"KEY_OCTAVE"), S_OK);
    request.Add(static_cast<signed char>(0xF7));
    EXPECT_GE(SendSysExMessage(comm, request, render, false), 0);
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[1], (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6A, 0x00, 0x04, 0x00,
                              0x05, 0x00, 0x07, 0xF7}));
    EXPECT_EQ(sent[3], (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6B, 0x00, 0x02, 0x00,
                              0x05, 0xF7}));
    const std::vector<CapturedMessage> replies = recorder->WaitFor(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Bytes(replies[0].bytes.begin(), replies[0].bytes.end()),
              (Bytes{0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6C, 0x00, 0x04, 0x00, 0x05, 0x00,
                     0x07, 0xF7}));
}

TEST_F(SysExSenderTest, FramedMessageIsSentUnchangedEveryTime)
{
    IdentityRequestMessage identity = BuildIdentityRequest();
    EXPECT_EQ(SendSysExMessage(comm, identity, render, true), 6);
    EXPECT_EQ(SendSysExMessage(comm, identity, render, true), 6);
    const Bytes request = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    EXPECT_EQ(Sent(), (std::vector<Bytes>{request, request}));
    EXPECT_EQ(identity.GetCount(), 6);
}

TEST_F(SysExSenderTest, IdentityRequestIsAnsweredWithAUseableFirmware)
{
    IdentityRequestMessage identity = BuildIdentityRequest();
    EXPECT_EQ(SendSysExMessage(comm, identity, render, false), 6);
    const std::vector<CapturedMessage> replies = recorder->WaitFor(1);
    ASSERT_EQ(replies.size(), 1u);
    SysExMessage reply;
    for (const std::uint8_t byte : replies[0].bytes)
    {
        reply.Add(static_cast<signed char>(byte));
    }
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(reply));
}

TEST_F(SysExSenderTest, FetchedDumpArrivesAsOneNotification)
{
    emulator.SetSlot(9, Pattern(4));
    SysExMessage message;
    ASSERT_EQ(BuildGetPresetMessage(9, message), S_OK);
    ASSERT_GE(SendSysExMessage(comm, message, render, false), 0);
    const std::vector<CapturedMessage> replies = recorder->WaitFor(1);
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_EQ(replies[0].bytes.size(), 1350u);
    const Tarn61Emulator::ValueArea expected = Pattern(4);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), replies[0].bytes.begin() + 11));
    EXPECT_EQ(recorder->WaitFor(2, std::chrono::milliseconds(100)).size(), 1u);
}

TEST_F(SysExSenderTest, BareMessageIsFramedInPlaceOnce)
{
    SysExMessage message;
    message.Add(0x01);
    EXPECT_EQ(SendSysExMessage(comm, message, render, true), 3);
    EXPECT_EQ(SendSysExMessage(comm, message, render, true), 3);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0xF0, 0x01, 0xF7}, {0xF0, 0x01, 0xF7}}));
}

TEST_F(SysExSenderTest, LoneFramingByteOrEmptyMessageIsRefusedAndNothingSent)
{
    for (const int only : {0xF0, 0xF7})
    {
        SysExMessage message;
        message.Add(static_cast<signed char>(only));
        EXPECT_EQ(SendSysExMessage(comm, message, render, true), E_FAIL);
    }
    SysExMessage empty;
    EXPECT_EQ(SendSysExMessage(comm, empty, render, true), E_FAIL);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SysExSenderTest, StatusByteInsideTheBodyIsRefused)
{
    SysExMessage message;
    for (const int byte : {0xF0, 0x01, 0x90, 0x02, 0xF7})
    {
        message.Add(static_cast<signed char>(byte));
    }
    EXPECT_EQ(SendSysExMessage(comm, message, render, true), E_FAIL);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SysExSenderTest, FixedArrayWithoutRoomForFramingIsRefused)
{
    IdentityRequestMessage message{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    EXPECT_EQ(SendSysExMessage(comm, message, render, true), E_FAIL);
    EXPECT_EQ(message.GetCount(), 7);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SysExSenderTest, NoPortOrNoServiceSendsNothing)
{
    SysExMessage message;
    ASSERT_EQ(BuildGetPresetMessage(1, message), S_OK);
    EXPECT_EQ(SendSysExMessage(comm, message, nullptr, false), -1);
    EXPECT_EQ(SendSysExMessage(nullptr, message, render, false), -1);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SysExSenderTest, FirstFailingPieceStopsTheMessage)
{
    driver->SetCompletionsWithheld(true);
    SysExMessage message = SendPresetMessage(2, Pattern(0));
    EXPECT_EQ(SendSysExMessage(comm, message, render, true), E_FAIL);
    EXPECT_EQ(Sent().size(), 1u);
    driver->SetCompletionsWithheld(false);
}

TEST_F(SysExSenderTest, FailingPreambleStopsBeforeTheMessage)
{
    driver->SetCompletionsWithheld(true);
    SysExMessage message;
    ASSERT_EQ(BuildGetPresetMessage(1, message), S_OK);
    EXPECT_EQ(SendSysExMessage(comm, message, render, false), E_FAIL);
    EXPECT_EQ(Sent(), std::vector<Bytes>{kPreamble});
    driver->SetCompletionsWithheld(false);
}

} // namespace
} // namespace QZ
