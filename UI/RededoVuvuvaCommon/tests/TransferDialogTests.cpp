// The preset transfer dialogs against the emulated keyboard on the virtual MIDI bus, and the
// About box.
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "QZFramework/Application/Version.h"
#include "QZFramework/Controls/ComboBox.h"
#include "UI/RededoVuvuvaCommon/AboutDlg.h"
#include "UI/RededoVuvuvaCommon/GetPresetFromMidiDeviceDlg.h"
#include "UI/RededoVuvuvaCommon/SendPresetToMidiDeviceDlg.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"
#include "UI/TarnSeriesCommon/tests/DeviceDialogFixture.h"

#include <atomic>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace QZ
{
namespace
{

using EngineTestSupport::BytesOf;
using EngineTestSupport::GetEngineBytes;
using EngineTestSupport::KeyboardRig;
using EngineTestSupport::MakePattern;
using EngineTestSupport::SetEngineBytes;

const std::string kFirmwareText = "The firmware version of your device is not compatible with "
                                  "this version of the Vidida Editor. Please visit the Korvane "
                                  "web site for the latest firmware updates.";
const std::string kGetConnectionText = "The Vidida has failed to get from the device. Verify the "
                                       "device is connected to your computer via the USB cable.";
const std::string kSendConnectionText = "Error connecting to device. Verify your Tarn Keyboard is "
                                        "plugged into the USB port and try again.";
const std::string kSlotRefusedText = "Choose RAM or one of the Vidida slots 1 to 12 and try again.";

// Every result of the manager brings the box of its kind; no negative one brings success.
TEST(TransferMessages, EachResultMapsToItsMessage)
{
    using Texts = LPresetTransferDlg::Texts;
    for (const Texts* texts :
         {&LGetPresetFromMidiDeviceDlg::kTexts, &LSendPresetToMidiDeviceDlg::kTexts})
    {
        const struct
        {
            std::int32_t result;
            const char16_t* text;
            const char16_t* caption;
            bool error;
        } cases[] = {
            {0, texts->successText, texts->successCaption, false},
            {70, texts->successText, texts->successCaption, false},
            {LMidiManager::kMidiError, texts->connectionText, texts->errorCaption, true},
            {LMidiManager::kFirmwareNotUseable, texts->firmwareText, texts->errorCaption, true},
            {LMidiManager::kNoReply, texts->connectionText, texts->errorCaption, true},
            {-4, texts->connectionText, texts->errorCaption, true},
            {E_FAIL, texts->connectionText, texts->errorCaption, true},
        };
        for (const auto& expected : cases)
        {
            const LPresetTransferDlg::Message message =
                LPresetTransferDlg::GetResultMessage(*texts, expected.result);
            EXPECT_EQ(std::u16string_view(message.text), expected.text) << expected.result;
            EXPECT_EQ(std::u16string_view(message.caption), expected.caption) << expected.result;
            EXPECT_EQ(message.error, expected.error) << expected.result;
        }
    }
}

class TransferDialogs : public DeviceDialogFixture
{
protected:
    void SetUp() override
    {
        StartManager(20);
        Register<LGetPresetFromMidiDeviceDlg>(u"RededoVuvuva.Dialog.RetrievePresetFromHardware");
        Register<LSendPresetToMidiDeviceDlg>(u"RededoVuvuva.Dialog.SendPresetToHardware");
        Register<LAboutDlg>(u"RededoVuvuva.DialogAbout");
    }
    void TearDown() override { StopManager(); }

    KeyboardRig rig;
};

// A click moves the preset of the chosen slot ("RAM" when the dialog opens) and shows one box
// for its outcome, under the dialog's own caption; a slot outside 0-12 is refused without a
// word to the keyboard, and a text missing from the table is replaced by the built-in one.
TEST_F(TransferDialogs, EveryOutcomeShowsItsBox)
{
    enum class Keyboard
    {
        Answers,
        Silent,
        OldFirmware,
        Missing
    };
    const struct
    {
        const char16_t* dialog;
        const char16_t* button;
        Keyboard keyboard;
        std::int32_t slot;
        bool blankTexts;
        std::string caption;
        std::string text;
    } cases[] = {
        {u"dialogRetrievePresetFromHardware", u"getButton", Keyboard::Answers, 12, false,
         "Retrieve Successful", "The preset has been successfully retrieved."},
        {u"dialogRetrievePresetFromHardware", u"getButton", Keyboard::Answers, 0, true,
         "Retrieve Successful", "The preset has been successfully retrieved."},
        {u"dialogRetrievePresetFromHardware", u"getButton", Keyboard::Silent, 3, false,
         "Retrieve Vidida Error", kGetConnectionText},
        {u"dialogRetrievePresetFromHardware", u"getButton", Keyboard::OldFirmware, 3, true,
         "Retrieve Vidida Error", kFirmwareText},
        {u"dialogRetrievePresetFromHardware", u"getButton", Keyboard::Missing, 3, false,
         "Retrieve Vidida Error", kGetConnectionText},
        {u"dialogRetrievePresetFromHardware", u"getButton", Keyboard::Answers, -1, false,
         "Retrieve Vidida Error", kSlotRefusedText},
        {u"dialogSendPreset", u"send", Keyboard::Answers, 0, false, "Send Success",
         "The preset has been successfully sent to the device"},
        {u"dialogSendPreset", u"send", Keyboard::Answers, 12, true, "Send Success",
         "The preset has been successfully sent to the device"},
        {u"dialogSendPreset", u"send", Keyboard::Silent, 4, false, "Send Vidida Error",
         kSendConnectionText},
        {u"dialogSendPreset", u"send", Keyboard::OldFirmware, 4, false, "Send Vidida Error",
         kFirmwareText},
        {u"dialogSendPreset", u"send", Keyboard::Missing, 4, true, "Send Vidida Error",
         kSendConnectionText},
        {u"dialogSendPreset", u"send", Keyboard::Answers, -1, true, "Send Vidida Error",
         kSlotRefusedText},
    };
    ASSERT_EQ(rig.Start(), S_OK);
    for (int slot = 0; slot <= 12; ++slot)
    {
        rig.Keyboard().SetSlot(slot, MakePattern(static_cast<std::uint8_t>(7 * slot + 3)));
    }
    bool started = true;
    for (const auto& outcome : cases)
    {
        const std::string name = Narrow(WideString(outcome.dialog)) + " slot " +
                                 std::to_string(outcome.slot) + ": " + outcome.text;
        Tarn61::Tarn61Emulator::Behaviour behaviour;
        behaviour.silent = outcome.keyboard == Keyboard::Silent;
        rig.Keyboard().SetBehaviour(behaviour);
        rig.Keyboard().SetFirmwareVersion(
            outcome.keyboard == Keyboard::OldFirmware
                ? Tarn61::Tarn61Emulator::FirmwareVersion{'1', '0', '2', '6'}
                : Tarn61::Tarn61Emulator::FirmwareVersion{'1', '0', '2', '7'});
        if (started != (outcome.keyboard != Keyboard::Missing))
        {
            started = !started;
            if (started)
            {
                ASSERT_EQ(rig.Start(), S_OK);
            }
            else
            {
                rig.Keyboard().Stop();
            }
        }
        mServices.blanked.clear();
        if (outcome.blankTexts)
        {
            mServices.blanked = {kGetPresetSuccessCaption, kGetPresetSuccessText,
                                 kGetPresetFirmwareText,   kSendPresetSuccessCaption,
                                 kSendPresetSuccessText,   kSendPresetErrorCaption,
                                 kSendPresetMidiErrorText, kPresetSlotRefusedText};
        }
        const RCPtr<LPresetTransferDlg> dialog =
            RCPtr<LPresetTransferDlg>::DynamicCastFrom(BuildDialog(outcome.dialog));
        ASSERT_TRUE(dialog) << name;
        EXPECT_EQ(dialog->GetSelectedSlot(), 0) << name;
        At<LComboBox>(RCPtr<LControl>(dialog.Get()), u"presetSlot/comboBox")
            ->SetSelectedIndex(outcome.slot);
        SetEngineBytes(MakePattern(101));
        rig.ClearSent();
        mServices.boxes.clear();
        mBusyExchanges.clear();

        Click(At<LControl>(RCPtr<LControl>(dialog.Get()), outcome.button));
        ASSERT_EQ(mServices.boxes.size(), 1u) << name;
        EXPECT_EQ(mServices.boxes[0].caption, outcome.caption) << name;
        EXPECT_EQ(mServices.boxes[0].text, outcome.text) << name;
        const bool succeeded = outcome.caption.find("Error") == std::string::npos;
        EXPECT_EQ(mServices.boxes[0].style, succeeded ? 0u : kMessageBoxErrorIcon) << name;
        EXPECT_TRUE(dialog->IsEnabled(false)) << name;
        if (outcome.slot < 0)
        {
            EXPECT_TRUE(rig.GetSent().empty()) << name;
            EXPECT_TRUE(mBusyExchanges.empty()) << name;
            continue;
        }
        EXPECT_EQ(mBusyExchanges, std::vector<bool>{true}) << name;
        const bool fetched = succeeded && outcome.button == std::u16string_view(u"getButton");
        EXPECT_EQ(GetEngineBytes(),
                  BytesOf(fetched ? rig.Keyboard().GetSlot(outcome.slot) : MakePattern(101)))
            << name;
        if (succeeded && !fetched)
        {
            ASSERT_TRUE(rig.Keyboard().WaitForMessages(4, std::chrono::seconds(5)));
            EXPECT_EQ(rig.Keyboard().GetSlot(outcome.slot), MakePattern(101)) << name;
            rig.Keyboard().SetSlot(outcome.slot,
                                   MakePattern(static_cast<std::uint8_t>(7 * outcome.slot + 3)));
        }
    }
}

// An exit requested while a dialog waits for a silent keyboard cancels the exchange at its next
// step: the worker is joined at once (one try went out, not ten), no box is shown and the dialog
// is enabled again; the manager's later requests end before they send anything.
TEST_F(TransferDialogs, ExitDuringAnExchangeCancelsItWithoutABox)
{
    StopManager();
    StartManager(LMidiManager::kReplyWaitMs);
    ASSERT_EQ(rig.Start(), S_OK);
    Tarn61::Tarn61Emulator::Behaviour silent;
    silent.silent = true;
    rig.Keyboard().SetBehaviour(silent);
    mExitDuringExchange = true;
    const std::pair<const char16_t*, const char16_t*> dialogs[] = {
        {u"dialogRetrievePresetFromHardware", u"getButton"}, {u"dialogSendPreset", u"send"}};
    for (const auto& [name, button] : dialogs)
    {
        SCOPED_TRACE(Narrow(WideString(name)));
        rig.ClearSent();
        mServices.boxes.clear();
        const RCPtr<LControl> dialog = BuildDialog(name);
        Click(At<LControl>(dialog, button));
        EXPECT_TRUE(mServices.boxes.empty());
        EXPECT_LE(rig.GetSent().size(), 2u);
        EXPECT_TRUE(dialog->IsEnabled(false));
    }
    EXPECT_EQ(mManager->GetPresetFromMidiDevice(1), LMidiManager::kCancelled);
    EXPECT_TRUE(rig.GetSent().empty());
}

// The worker is joined however the exchange or the wait ends: the exception of either reaches
// the caller on the user-interface thread, and the dialog is enabled again.
TEST_F(TransferDialogs, ExceptionsLeaveTheWorkerJoined)
{
    const RCPtr<LControl> dialog = BuildDialog(u"dialogSendPreset");
    {
        LDeviceExchange exchange(*dialog, *mManager);
        EXPECT_THROW(exchange.Run([]() -> std::int32_t { throw std::runtime_error("lost"); }),
                     std::runtime_error);
    }
    LDeviceExchange::SetWait([](const std::function<bool()>&) { throw std::logic_error("wait"); });
    std::atomic<bool> ran{false};
    {
        LDeviceExchange exchange(*dialog, *mManager);
        EXPECT_THROW(exchange.Run(
                         [&]
                         {
                             ran = true;
                             return 0;
                         }),
                     std::logic_error);
    }
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialog->IsEnabled(false));
}

// The product line joins company, product, the version word and the version with one blank
// each, whatever part is empty; the copyright line is the block's own.
TEST_F(TransferDialogs, AboutJoinsItsFourParts)
{
    constexpr VersionTranslation translations[] = {{0x0409, 0x04B0}};
    constexpr VersionString strings[] = {{"040904b0", "ProductName", "Tarn 61 Vidida Editor"},
                                         {"040904b0", "ProductVersion", "2.1.0"}};
    const VersionBlock block{translations, strings};
    const Version partial(&block, 0x0409, 0x0409);
    EXPECT_EQ(Narrow(LAboutDlg::BuildProductLine(partial, WideString(u"Version"))),
              " Tarn 61 Vidida Editor Version 2.1.0");
    EXPECT_EQ(Narrow(LAboutDlg::BuildProductLine(partial, WideString())),
              " Tarn 61 Vidida Editor  2.1.0");

    const RCPtr<LControl> about = BuildDialog(u"dialogAbout");
    ASSERT_TRUE(about);
    const Version program;
    EXPECT_EQ(Text(about, u"labelProduct"),
              "Korvane Tarn 61 Vidida Editor Version " + Narrow(program.GetProductVersion()));
    EXPECT_EQ(Text(about, u"labelCopyright"), "Copyright (C) 2026 Korvane. All rights reserved.");
}

} // namespace
} // namespace QZ
