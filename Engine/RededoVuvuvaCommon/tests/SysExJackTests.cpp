// The whole road over real MIDI ports: a private JACK server, the emulated keyboard publishing its
// ports there, and the program's MIDI service finding them by the names the program uses.
#include "Engine/RededoVuvuvaCommon/SysExMessages.h"
#include "Engine/RededoVuvuvaCommon/SysExSender.h"

#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"
#include "QZFramework/Midi/MidiCommInterface.h"
#include "QZFramework/Midi/tests/CaptureRecorder.h"
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <gtest/gtest.h>

#include <thread>

namespace QZ
{
namespace
{

using Platform::Testing::ChildProcess;
using Platform::Testing::JackServer;
using Tarn61::Tarn61Emulator;
using Testing::CapturedMessage;
using Testing::CaptureRecorder;

constexpr const char16_t* kInputPort = u"MIDIIN4 (Tarn 61)";
constexpr const char16_t* kOutputPort = u"MIDIOUT4 (Tarn 61)";

SysExMessage MessageOf(const std::vector<std::uint8_t>& bytes)
{
    SysExMessage message;
    for (const std::uint8_t byte : bytes)
    {
        message.Add(static_cast<signed char>(byte));
    }
    return message;
}

class SysExJackTest : public ::testing::Test
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
        driver = std::make_shared<Platform::JackMidiDriver>();
        Platform::SetDefaultMidiDriver(driver);
        comm = CreateMidiComm();
        recorder = Testing::Subscribe(comm);
    }

    void TearDown() override
    {
        // Every JACK client goes before the server.
        capture.Reset();
        render.Reset();
        comm.Reset();
        recorder.Reset();
        emulator.reset();
        Platform::SetDefaultMidiDriver(nullptr);
        driver.reset();
        EXPECT_TRUE(server.Stop()) << "the JACK server had to be killed";
    }

    // Opens both keyboard ports by name, trying for up to ten seconds while the peer appears.
    bool OpenPorts()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline)
        {
            if (Succeeded(comm->GetCapturePort(kInputPort, capture)) &&
                Succeeded(comm->GetRenderPort(kOutputPort, render)))
            {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    JackServer server;
    std::shared_ptr<Platform::JackMidiDriver> driver;
    std::unique_ptr<Tarn61Emulator> emulator;
    RCPtr<LMidiCommInterface> comm;
    RCPtr<CaptureRecorder> recorder;
    RCPtr<LRefCountedObject> capture;
    RCPtr<LRefCountedObject> render;
};

TEST_F(SysExJackTest, KeyboardIsFoundByNameAndEveryByteCrossesBothWays)
{
    emulator = std::make_unique<Tarn61Emulator>(driver);
    ASSERT_EQ(emulator->Start(), S_OK);
    ASSERT_TRUE(OpenPorts());

    IdentityRequestMessage identity = BuildIdentityRequest();
    ASSERT_EQ(SendSysExMessage(comm, identity, render, false), 6);
    std::vector<CapturedMessage> replies = recorder->WaitFor(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].portName, "MIDIIN4 (Tarn 61)");
    EXPECT_TRUE(IsFirmwareVersionReplyUseable(MessageOf(replies[0].bytes)));

    Tarn61Emulator::ValueArea values{};
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        values[i] = static_cast<std::uint8_t>((7 * i + 1) % 0x80);
    }
    SysExMessage message;
    ASSERT_EQ(BuildSendPresetMessage(7, message), S_OK);
    std::int32_t position = kSendPresetValueOffset;
    ASSERT_EQ(PutPresetValue(message, position, reinterpret_cast<const signed char*>(values.data()),
                             static_cast<std::int32_t>(values.size())),
              S_OK);
    ASSERT_EQ(SendSysExMessage(comm, message, render, false), 70);
    ASSERT_TRUE(emulator->WaitForMessages(4, std::chrono::seconds(5)));
    const std::vector<Tarn61Emulator::Message> received = emulator->GetReceivedMessages();
    ASSERT_EQ(received.size(), 4u);
    const std::vector<std::uint8_t> framed(message.Begin(), message.End());
    EXPECT_EQ(received[3], framed);
    EXPECT_EQ(emulator->GetSlot(7), values);

    SysExMessage request;
    ASSERT_EQ(BuildGetPresetMessage(7, request), S_OK);
    ASSERT_GE(SendSysExMessage(comm, request, render, false), 0);
    replies = recorder->WaitFor(2);
    ASSERT_EQ(replies.size(), 2u);
    ASSERT_EQ(replies[1].bytes.size(), 1350u);
    EXPECT_TRUE(IsPresetDumpReply(MessageOf(replies[1].bytes)));
    EXPECT_TRUE(std::equal(values.begin(), values.end(), replies[1].bytes.begin() + 11));
    EXPECT_EQ(recorder->WaitFor(3, std::chrono::milliseconds(200)).size(), 2u);
}

TEST_F(SysExJackTest, EmulatorProgramPublishesTheKeyboardUntilStopped)
{
    ChildProcess program;
    ASSERT_TRUE(program.Start({TARN61_EMULATOR_PROGRAM, "--api", "jack", "--firmware", "1030"}));
    ASSERT_TRUE(OpenPorts());
    IdentityRequestMessage identity = BuildIdentityRequest();
    ASSERT_EQ(SendSysExMessage(comm, identity, render, true), 6);
    const std::vector<CapturedMessage> replies = recorder->WaitFor(1);
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_EQ(replies[0].bytes.size(), 15u);
    EXPECT_EQ(std::string(replies[0].bytes.begin() + 10, replies[0].bytes.begin() + 14), "1030");
    capture.Reset();
    render.Reset();
    EXPECT_EQ(program.Stop(), 0);
}

} // namespace
} // namespace QZ
