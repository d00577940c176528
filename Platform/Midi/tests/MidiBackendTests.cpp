#include "Platform/Midi/AlsaMidiDriver.h"
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/InputRecorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace Platform
{
namespace
{

using Testing::InputRecorder;
using Testing::OutputRecorder;

void ExpectNothingReachable(MidiDriver& driver)
{
    InputRecorder recorder;
    OutputRecorder done;
    EXPECT_EQ(driver.GetInputCount(), 0u);
    EXPECT_EQ(driver.GetOutputCount(), 0u);
    std::string name;
    EXPECT_EQ(driver.GetInputName(0, name), QZ::E_INVALIDARG);
    std::unique_ptr<MidiInput> input;
    std::unique_ptr<MidiOutput> output;
    EXPECT_EQ(driver.OpenInput(0, &InputRecorder::Callback, &recorder, input), QZ::E_FAIL);
    EXPECT_EQ(driver.OpenOutput(0, &OutputRecorder::Callback, &done, output), QZ::E_FAIL);
    EXPECT_EQ(driver.PublishInput("MIDIOUT4 (Tarn 61)", &InputRecorder::Callback, &recorder, input),
              QZ::E_FAIL);
    EXPECT_EQ(driver.PublishOutput("MIDIIN4 (Tarn 61)", &OutputRecorder::Callback, &done, output),
              QZ::E_FAIL);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST(AlsaMidiDriver, MissingSequencerFindsNoDeviceAndOpensNothing)
{
    if (AlsaMidiDriver::IsSequencerAvailable())
    {
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    }
    AlsaMidiDriver driver;
    EXPECT_EQ(driver.GetName(), "alsa");
    ExpectNothingReachable(driver);
}

TEST(JackMidiDriver, WithoutServerFindsNoDeviceAndOpensNothing)
{
    const std::string server = "qz-no-such-server-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    JackMidiDriver driver;
    EXPECT_EQ(driver.GetName(), "jack");
    ExpectNothingReachable(driver);
}

TEST(MidiDriverFactory, NamesChooseTheBackend)
{
    EXPECT_EQ(CreateMidiDriver("virtual")->GetName(), "virtual");
    EXPECT_EQ(CreateMidiDriver("jack")->GetName(), "jack");
    EXPECT_EQ(CreateMidiDriver("alsa")->GetName(), "alsa");
    EXPECT_EQ(CreateMidiDriver("winmm"), nullptr);
}

TEST(MidiDriverFactory, EnvironmentChoosesTheDefaultAndSetReplacesIt)
{
    SetDefaultMidiDriver(nullptr);
    setenv("QZ_MIDI_API", "virtual", 1);
    const std::shared_ptr<MidiDriver> chosen = GetDefaultMidiDriver();
    EXPECT_EQ(chosen->GetName(), "virtual");
    EXPECT_EQ(GetDefaultMidiDriver(), chosen);
    const std::shared_ptr<MidiDriver> installed = CreateMidiDriver("virtual");
    SetDefaultMidiDriver(installed);
    EXPECT_EQ(GetDefaultMidiDriver(), installed);
    SetDefaultMidiDriver(nullptr);
    unsetenv("QZ_MIDI_API");
}

TEST(MidiDriver, ShortMessageLengthFollowsStatus)
{
    EXPECT_EQ(GetShortMessageLength(0x90), 3u);
    EXPECT_EQ(GetShortMessageLength(0xE5), 3u);
    EXPECT_EQ(GetShortMessageLength(0xC0), 2u);
    EXPECT_EQ(GetShortMessageLength(0xDF), 2u);
    EXPECT_EQ(GetShortMessageLength(0xF1), 2u);
    EXPECT_EQ(GetShortMessageLength(0xF2), 3u);
    EXPECT_EQ(GetShortMessageLength(0xF3), 2u);
    EXPECT_EQ(GetShortMessageLength(0xF6), 1u);
    EXPECT_EQ(GetShortMessageLength(0xFE), 1u);
    EXPECT_EQ(GetShortMessageLength(0x40), 1u);
}

} // namespace
} // namespace Platform
