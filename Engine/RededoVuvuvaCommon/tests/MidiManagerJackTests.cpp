// The MIDI manager over real MIDI ports, on each backend that carries them: a private JACK server,
// or the stand-in ALSA sequencer's broker (the manager choosing the ALSA backend by QZ_MIDI_API);
// the emulated keyboard program in strict mode publishing its ports there in a process of its
// own, and transfers through the ports the manager finds by name. The keyboard's log tells what
// reached it, timed by JACK's clock or by the keyboard's steady clock as its events arrived.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"

#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/AlsaSequencerBroker.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"
#include "Tools/Tarn61Emulator/DefaultPreset.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace EngineTestSupport;
using Platform::Testing::AlsaSequencerBroker;
using Platform::Testing::ChildProcess;
using Platform::Testing::JackServer;

namespace
{

struct Event
{
    std::size_t size = 0;
    std::uint64_t timeUs = 0;
};

class MidiManagerJackTest : public EngineHarness, public ::testing::WithParamInterface<std::string>
{
protected:
    bool OnJack() const { return GetParam() == "jack"; }

    void SetUp() override
    {
        if (OnJack())
        {
            if (!JackServer::IsInstalled())
            {
                GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
            }
            std::string error;
            ASSERT_TRUE(server.Start(error)) << error;
            clientsBefore = Platform::JackMidiDriver::GetClientOpenCount();
            Platform::SetDefaultMidiDriver(std::make_shared<Platform::JackMidiDriver>());
        }
        else
        {
            ASSERT_TRUE(broker.Start());
            setenv("QZ_MIDI_API", "alsa", 1);
            Platform::SetDefaultMidiDriver(nullptr);
        }
        StartEngine();
        QZ::LMidiManager::Create(manager);
        ASSERT_TRUE(manager);
        logPath = ::testing::TempDir() + "tarn61-" + std::to_string(getpid()) + ".log";
    }

    void TearDown() override
    {
        // Every client goes before the server.
        manager.Reset();
        keyboard.Stop();
        Platform::SetDefaultMidiDriver(nullptr);
        EXPECT_TRUE(server.Stop()) << "the JACK server had to be killed";
        broker.Stop();
        unsetenv("QZ_MIDI_API");
        std::remove(logPath.c_str());
    }

    // Starts the keyboard program in strict mode and waits up to ten seconds for its ports.
    bool StartKeyboard(std::vector<std::string> options = {})
    {
        std::vector<std::string> arguments = {
            OnJack() ? TARN61_EMULATOR_PROGRAM : TARN61_STAND_IN_EMULATOR_PROGRAM, "--api",
            GetParam(), "--strict"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        if (!keyboard.Start(arguments, logPath))
        {
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!manager->ArePortsAvailable())
        {
            if (std::chrono::steady_clock::now() > deadline)
            {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    std::vector<std::string> ReadLog() const
    {
        std::ifstream file(logPath);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);)
        {
            lines.push_back(line);
        }
        return lines;
    }

    // The whole log, for a failure's message.
    std::string JoinLog() const
    {
        std::string joined;
        for (const std::string& line : ReadLog())
        {
            joined += line + "\n";
        }
        return joined;
    }

    // Waits up to five seconds until the log holds count lines beginning with prefix.
    bool WaitForLog(const std::string& prefix, std::size_t count = 1) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        do
        {
            std::size_t found = 0;
            for (const std::string& line : ReadLog())
            {
                found += line.rfind(prefix, 0) == 0 ? 1 : 0;
            }
            if (found >= count)
            {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }

    // The events logged before the first line beginning with end.
    std::vector<Event> EventsBefore(const std::string& end) const
    {
        std::vector<Event> events;
        for (const std::string& line : ReadLog())
        {
            if (line.rfind(end, 0) == 0)
            {
                break;
            }
            unsigned long long size = 0;
            unsigned long long time = 0;
            if (std::sscanf(line.c_str(), "event %llu bytes at %llu us", &size, &time) == 2)
            {
                events.push_back({static_cast<std::size_t>(size), time});
            }
        }
        return events;
    }

    JackServer server;
    AlsaSequencerBroker broker;
    int clientsBefore = 0;
    ChildProcess keyboard;
    std::string logPath;
    QZ::RCPtr<QZ::LMidiManager> manager;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Backends, MidiManagerJackTest, ::testing::Values("jack", "alsa"),
                         [](const auto& info) { return info.param; });

TEST_P(MidiManagerJackTest, PresetTravelsBothWaysInPacedPiecesOnOneClient)
{
    ASSERT_TRUE(StartKeyboard());
    SetEngineBytes(MakePattern(17));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(0), 0);
    const std::array<std::uint8_t, 1338> defaults = Tarn61::MakeDefaultPreset();
    EXPECT_EQ(GetEngineBytes(), Bytes(defaults.begin(), defaults.end()));

    SetEngineBytes(MakePattern(99));
    EXPECT_EQ(manager->SendPresetToMidiDevice(12), 70);
    ASSERT_TRUE(WaitForLog("send-preset for slot 12")) << JoinLog();
    EXPECT_TRUE(WaitForLog("send-preset for slot 12 stored")) << JoinLog();
    // The send-preset message is the last six events before the keyboard stored it.
    std::vector<Event> events = EventsBefore("send-preset for slot 12");
    ASSERT_GE(events.size(), 6u);
    events.erase(events.begin(), events.end() - 6);
    const std::size_t sizes[] = {256, 256, 256, 256, 256, 70};
    for (std::size_t k = 0; k < 6; ++k)
    {
        EXPECT_EQ(events[k].size, sizes[k]) << k;
        if (k > 0)
        {
            EXPECT_GE(events[k].timeUs - events[k - 1].timeUs, 10000u) << k;
        }
    }

    SetEngineBytes(MakePattern(5));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(12), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(99)));
    if (OnJack())
    {
        EXPECT_EQ(Platform::JackMidiDriver::GetClientOpenCount() - clientsBefore, 1);
    }
}

TEST_P(MidiManagerJackTest, AnAnswerInRepeatedSmallPiecesArrivesWhole)
{
    // Sixteen-byte pieces, one per period: with every value 0, piece after piece of the dump is
    // byte for byte the one before.
    ASSERT_TRUE(StartKeyboard({"--piece-size", "16"}));
    SetEngineBytes(ValueArea{});
    EXPECT_EQ(manager->SendPresetToMidiDevice(7), 70);
    ASSERT_TRUE(WaitForLog("send-preset for slot 7 stored")) << JoinLog();
    SetEngineBytes(MakePattern(5));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(7), 0) << JoinLog();
    EXPECT_EQ(GetEngineBytes(), BytesOf(ValueArea{}));
}

TEST_P(MidiManagerJackTest, KeyboardVanishingDuringASendFailsIt)
{
    ASSERT_TRUE(StartKeyboard());
    SetEngineBytes(MakePattern(42));
    // The keyboard program ends the moment the send-preset's second piece has reached it: killed
    // on the sequencer, which takes a client whose process ended out at once; on JACK it quits,
    // withdrawing its ports, since a client killed outright keeps its ports on the server until
    // the server's client timeout runs out.
    std::thread unplug(
        [this]
        {
            if (WaitForLog("event 256 bytes", 2))
            {
                if (OnJack())
                {
                    keyboard.Stop();
                }
                else
                {
                    keyboard.Kill();
                }
            }
        });
    const std::int32_t sent = manager->SendPresetToMidiDevice(3);
    unplug.join();
    EXPECT_FALSE(keyboard.IsRunning());
    EXPECT_EQ(sent, QZ::LMidiManager::kMidiError);
}

TEST_P(MidiManagerJackTest, KeyboardExitingBeforeItsIdentityReplyGivesNoReply)
{
    ASSERT_TRUE(StartKeyboard({"--silent"}));
    std::thread quit(
        [this]
        {
            if (WaitForLog("identity request"))
            {
                keyboard.Stop();
            }
        });
    const std::int32_t fetched = manager->GetPresetFromMidiDevice(2);
    quit.join();
    EXPECT_FALSE(keyboard.IsRunning());
    EXPECT_EQ(fetched, QZ::LMidiManager::kNoReply);
}

TEST_P(MidiManagerJackTest, GlobalSettingsTravelBothWays)
{
    ASSERT_TRUE(StartKeyboard());
    EXPECT_EQ(manager->SendGlobalParameter(u"Global_Channel", 16, false), 15);
    EXPECT_EQ(manager->RequestNonPresetParameterFromDevice(u"Global_Channel", false), 0);
}

TEST_P(MidiManagerJackTest, ARestartedKeyboardIsReachedThroughTheSamePortNames)
{
    ASSERT_TRUE(StartKeyboard());
    ASSERT_EQ(manager->GetPresetFromMidiDevice(0), 0);
    EXPECT_EQ(keyboard.Stop(), 0);
    EXPECT_EQ(manager->GetPresetFromMidiDevice(0), QZ::LMidiManager::kMidiError);
    ASSERT_TRUE(StartKeyboard());
    SetEngineBytes(MakePattern(8));
    EXPECT_EQ(manager->SendPresetToMidiDevice(4), 70);
    EXPECT_TRUE(WaitForLog("send-preset for slot 4 stored")) << JoinLog();
    SetEngineBytes(MakePattern(1));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(4), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(8)));
}
