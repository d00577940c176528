// The MIDI manager's main road over real MIDI ports: a private JACK server, the emulated keyboard
// program publishing its ports there in a process of its own, and a fetch and a send through the
// ports the manager finds by name.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"

#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"
#include "Tools/Tarn61Emulator/DefaultPreset.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace EngineTestSupport;
using Platform::Testing::ChildProcess;
using Platform::Testing::JackServer;

namespace
{

class MidiManagerJackTest : public EngineHarness
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
        Platform::SetDefaultMidiDriver(
            std::make_shared<Platform::JackMidiDriver>());
        StartEngine();
        QZ::LMidiManager::Create(manager);
        ASSERT_TRUE(manager);
    }

    void TearDown() override
    {
        // Every JACK client goes before the server.
        manager.Reset();
        keyboard.Stop();
        Platform::SetDefaultMidiDriver(nullptr);
        server.Stop();
    }

    // Waits up to ten seconds for the keyboard program's ports to appear.
    bool WaitForKeyboard()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!manager->ArePortsAvailable())
        {
            if (std::chrono::steady_clock::now() > deadline)
            {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }

    JackServer server;
    ChildProcess keyboard;
    QZ::RCPtr<QZ::LMidiManager> manager;
};

} // namespace

TEST_F(MidiManagerJackTest, PresetIsFetchedAndSentThroughTheKeyboardProgram)
{
    ASSERT_TRUE(keyboard.Start({TARN61_EMULATOR_PROGRAM, "--api", "jack"}));
    ASSERT_TRUE(WaitForKeyboard());

    SetEngineBytes(MakePattern(17));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(0), 0);
    const std::array<std::uint8_t, 1338> defaults = Tarn61::MakeDefaultPreset();
    EXPECT_EQ(GetEngineBytes(), Bytes(defaults.begin(), defaults.end()));

    SetEngineBytes(MakePattern(99));
    EXPECT_EQ(manager->SendPresetToMidiDevice(12), 70);
    SetEngineBytes(MakePattern(5));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(12), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(99)));
}
