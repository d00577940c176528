#include "Platform/Midi/RtMidiDriver.h"
#include "Platform/Midi/tests/InputRecorder.h"
#include "Platform/Midi/tests/JackServer.h"

#include <gtest/gtest.h>

#include <thread>

namespace Platform
{
namespace
{

using Testing::InputEntry;
using Testing::InputRecorder;
using Testing::JackServer;
using Testing::MakeSysEx;
using Testing::OutputRecorder;

class RtMidiJackTest : public ::testing::Test
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
        driver = std::make_unique<RtMidiDriver>(RtMidiDriver::Api::Jack);
    }

    void TearDown() override
    {
        // JACK clients go before their server.
        driver.reset();
        server.Stop();
    }

    // The device number of the named input or output device, or -1.
    int FindDevice(const std::string& wanted, bool inputs)
    {
        const std::uint32_t count = inputs ? driver->GetInputCount() : driver->GetOutputCount();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            std::string name;
            const QZRESULT found =
                inputs ? driver->GetInputName(i, name) : driver->GetOutputName(i, name);
            if (QZ::Succeeded(found) && name == wanted)
            {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    JackServer server;
    std::unique_ptr<RtMidiDriver> driver;
};

TEST_F(RtMidiJackTest, PublishedPortsCarrySysExPiecesAndShortMessagesBothWays)
{
    InputRecorder peerIn;
    OutputRecorder peerDone;
    std::unique_ptr<MidiInput> peerInput;
    std::unique_ptr<MidiOutput> peerOutput;
    ASSERT_EQ(
        driver->PublishInput("MIDIOUT4 (Tarn 61)", &InputRecorder::Callback, &peerIn, peerInput),
        QZ::S_OK);
    ASSERT_EQ(driver->PublishOutput("MIDIIN4 (Tarn 61)", &OutputRecorder::Callback, &peerDone,
                                    peerOutput),
              QZ::S_OK);
    peerIn.Attach(*peerInput);

    const int inputDevice = FindDevice("MIDIIN4 (Tarn 61)", true);
    const int outputDevice = FindDevice("MIDIOUT4 (Tarn 61)", false);
    ASSERT_GE(inputDevice, 0);
    ASSERT_GE(outputDevice, 0);
    InputRecorder userIn;
    OutputRecorder userDone;
    std::unique_ptr<MidiInput> input;
    std::unique_ptr<MidiOutput> output;
    ASSERT_EQ(driver->OpenInput(static_cast<std::uint32_t>(inputDevice), &InputRecorder::Callback,
                                &userIn, input),
              QZ::S_OK);
    ASSERT_EQ(driver->OpenOutput(static_cast<std::uint32_t>(outputDevice),
                                 &OutputRecorder::Callback, &userDone, output),
              QZ::S_OK);
    userIn.Attach(*input);

    // The user sends a 1,350-byte message in 256-byte pieces, as the protocol does.
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
    EXPECT_EQ(userDone.Done().size(), pieces.size());
    std::vector<InputEntry> received = peerIn.WaitFor(6);
    std::vector<std::uint8_t> joined;
    for (const InputEntry& entry : received)
    {
        joined.insert(joined.end(), entry.bytes.begin(), entry.bytes.end());
    }
    EXPECT_EQ(joined, message);

    ASSERT_EQ(peerOutput->SendShort(0x00643C90), QZ::S_OK);
    const std::vector<InputEntry> notes = userIn.WaitFor(1);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].bytes, (std::vector<std::uint8_t>{0x90, 0x3C, 0x64}));

    input.reset();
    output.reset();
    peerInput.reset();
    peerOutput.reset();
}

} // namespace
} // namespace Platform
