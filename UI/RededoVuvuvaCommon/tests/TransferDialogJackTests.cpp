// The preset transfer dialogs over real MIDI ports: a private JACK server and the emulated
// keyboard program publishing its ports there in a process of its own.
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"
#include "QZFramework/Controls/ComboBox.h"
#include "UI/RededoVuvuvaCommon/GetPresetFromMidiDeviceDlg.h"
#include "UI/RededoVuvuvaCommon/SendPresetToMidiDeviceDlg.h"
#include "UI/TarnSeriesCommon/tests/DeviceDialogFixture.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace QZ
{
namespace
{

using EngineTestSupport::BytesOf;
using EngineTestSupport::GetEngineBytes;
using EngineTestSupport::MakePattern;
using EngineTestSupport::SetEngineBytes;
using Platform::Testing::ChildProcess;
using Platform::Testing::JackServer;

class TransferDialogsOverJack : public DeviceDialogFixture
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
        Platform::SetDefaultMidiDriver(std::make_shared<Platform::JackMidiDriver>());
        StartManager(100);
        Register<LGetPresetFromMidiDeviceDlg>(u"RededoVuvuva.Dialog.RetrievePresetFromHardware");
        Register<LSendPresetToMidiDeviceDlg>(u"RededoVuvuva.Dialog.SendPresetToHardware");
        logPath = ::testing::TempDir() + "tarn61-dialogs-" + std::to_string(getpid()) + ".log";
        ASSERT_TRUE(
            keyboard.Start({TARN61_EMULATOR_PROGRAM, "--api", "jack", "--strict"}, logPath));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!mManager->ArePortsAvailable())
        {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no keyboard ports";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void TearDown() override
    {
        // Every JACK client goes before the server.
        StopManager();
        keyboard.Stop();
        Platform::SetDefaultMidiDriver(nullptr);
        EXPECT_TRUE(server.Stop()) << "the JACK server had to be killed";
        std::remove(logPath.c_str());
    }

    // Waits up to five seconds for a line of the keyboard's log.
    bool WaitForLog(const std::string& line) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        do
        {
            std::ifstream file(logPath);
            for (std::string logged; std::getline(file, logged);)
            {
                if (logged == line)
                {
                    return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }

    // The keyboard's log so far, for a failure's message.
    std::string ReadLog() const
    {
        std::ifstream file(logPath);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    // Builds the dialog, chooses the slot and clicks its button; the one box it showed.
    ShownBox Transfer(const char16_t* dialogName, const char16_t* button, std::int32_t slot)
    {
        const RCPtr<LControl> dialog = BuildDialog(dialogName);
        EXPECT_TRUE(dialog);
        At<LComboBox>(dialog, u"presetSlot/comboBox")->SetSelectedIndex(slot);
        mServices.boxes.clear();
        Click(At<LControl>(dialog, button));
        EXPECT_EQ(mServices.boxes.size(), 1u);
        return mServices.boxes.empty() ? ShownBox{} : mServices.boxes.back();
    }

    JackServer server;
    ChildProcess keyboard;
    std::string logPath;
};

// Slot 5 fetched into the editor and sent to slot 9 lands there byte for byte.
TEST_F(TransferDialogsOverJack, FetchedSlotSentToAnotherLandsWhole)
{
    const auto preset = MakePattern(55);
    SetEngineBytes(preset);
    ASSERT_GE(mManager->SendPresetToMidiDevice(5), 0);
    ASSERT_TRUE(WaitForLog("send-preset for slot 5 stored")) << ReadLog();

    SetEngineBytes(MakePattern(1));
    EXPECT_EQ(Transfer(u"dialogRetrievePresetFromHardware", u"getButton", 5).caption,
              "Retrieve Successful");
    EXPECT_EQ(GetEngineBytes(), BytesOf(preset));

    EXPECT_EQ(Transfer(u"dialogSendPreset", u"send", 9).caption, "Send Success");
    ASSERT_TRUE(WaitForLog("send-preset for slot 9 stored")) << ReadLog();

    SetEngineBytes(MakePattern(2));
    ASSERT_EQ(mManager->GetPresetFromMidiDevice(9), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(preset));
    EXPECT_EQ(mBusyExchanges, (std::vector<bool>{true, true}));
}

} // namespace
} // namespace QZ
