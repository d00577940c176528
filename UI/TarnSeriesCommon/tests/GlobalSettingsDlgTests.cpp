// The global settings dialog against the emulated keyboard on the virtual MIDI bus.
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/GlobalSettingsDlg.h"
#include "UI/TarnSeriesCommon/tests/DeviceDialogFixture.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <utility>

namespace QZ
{
namespace
{

using EngineTestSupport::Bytes;
using EngineTestSupport::KeyboardRig;

const std::string kCaption = "Global Settings Error";
const std::string kConnectionText = "Error connecting to device. Verify your Tarn Keyboard is "
                                    "plugged into the USB port and try again.";

// A setting with a control: its index on the wire and the control that shows it.
struct Control
{
    int index;
    const char16_t* path;
    bool combo;
};

// In the order the keyboard sees them.
const Control kControls[] = {
    {0, u"midiChannel/comboBox", true},        {4, u"mackieHUIToggle/comboBox", true},
    {5, u"keyOctave/numericUpDown", false},    {6, u"keyTranspose/numericUpDown", false},
    {7, u"keySensitivity/comboBox", true},     {8, u"padOctave/numericUpDown", false},
    {9, u"padTranspose/numericUpDown", false}, {10, u"padSensitivity/comboBox", true},
    {11, u"controlCurve/comboBox", true},      {12, u"xyPadSensitivity/comboBox", true},
    {13, u"program/numericUpDown", false},     {14, u"msb/numericUpDown", false},
    {15, u"lsb/numericUpDown", false},
};

// Notes the thread of every change of the dialog's controls.
class ThreadRecorder : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>&) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        threads.push_back(std::this_thread::get_id());
    }
    std::mutex mutex;
    std::vector<std::thread::id> threads;
};

// The global index of a request or set message; -1 for any other message.
int GlobalIndexOf(const Bytes& message, std::uint8_t command)
{
    return message.size() > 11 && message[7] == command ? message[11] : -1;
}

// Long enough that a loaded machine seldom makes the manager ask again, short enough that the
// silent keyboard's ten tries end soon; a retry that happens all the same is allowed for.
constexpr std::uint32_t kReplyWaitMs = 100;

class GlobalSettings : public DeviceDialogFixture
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(rig.Start(), S_OK);
        StartManager(kReplyWaitMs);
        Register<LGlobalSettingsDlg>(u"RededoVuvuva.GlobalEditorControl");
        mDialog = RCPtr<LGlobalSettingsDlg>::DynamicCastFrom(BuildDialog(u"globalEditorControl"));
        ASSERT_TRUE(mDialog);
        rig.ClearSent();
    }
    void TearDown() override
    {
        mDialog = nullptr;
        StopManager();
    }

    // The shown value: the combo box's index, the numeric control's number.
    std::optional<std::int32_t> Shown(const Control& control) const
    {
        const RCPtr<LControl> at = Descend(RCPtr<LControl>(mDialog.Get()), control.path);
        if (control.combo)
        {
            const RCPtr<LComboBox> combo = RCPtr<LComboBox>::DynamicCastFrom(at);
            return combo ? std::optional<std::int32_t>(combo->GetSelectedIndex()) : std::nullopt;
        }
        return at ? std::optional<std::int32_t>(
                        static_cast<std::int32_t>(std::lround(at->PositionToValue(at->GetValue()))))
                  : std::nullopt;
    }
    void Show(const Control& control, std::int32_t value)
    {
        const RCPtr<LControl> at = Descend(RCPtr<LControl>(mDialog.Get()), control.path);
        ASSERT_TRUE(at);
        if (control.combo)
        {
            RCPtr<LComboBox>::DynamicCastFrom(at)->SetSelectedIndex(value);
        }
        else
        {
            at->SetValue(at->ValueToPosition(value));
        }
    }
    void ClickButton(const char16_t* name) { Click(Descend(RCPtr<LControl>(mDialog.Get()), name)); }
    bool IsSendEnabled() const
    {
        return Descend(RCPtr<LControl>(mDialog.Get()), u"sendGlobalSettingsButton")
            ->IsEnabled(false);
    }
    // The indexes of the requests (0x6B) or sets (0x6A) that reached the keyboard, in order.
    std::vector<int> SentIndexes(std::uint8_t command) const
    {
        std::vector<int> indexes;
        for (const Bytes& message : rig.GetSent())
        {
            if (const int index = GlobalIndexOf(message, command); index >= 0)
            {
                indexes.push_back(index);
            }
        }
        return indexes;
    }
    // The settings asked (0x6B), each once: a request sent again right after itself is the
    // manager's retry when a reply came later than its wait, which a loaded machine can cause.
    std::vector<int> AskedIndexes() const
    {
        std::vector<int> indexes = SentIndexes(0x6B);
        indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
        return indexes;
    }

    KeyboardRig rig;
    RCPtr<LGlobalSettingsDlg> mDialog;
};

// Get asks for the thirteen settings in wire order and writes each control on the user-interface
// thread, with the dialog busy; the controls take the keyboard's values through the offsets and
// limits (the channel 0 shows nothing, the key octave is held to -3 .. +3).
TEST_F(GlobalSettings, GetFillsEveryControlOnTheUserInterfaceThread)
{
    const RCPtr<ThreadRecorder> recorder(new ThreadRecorder());
    for (const Control& control : kControls)
    {
        const RCPtr<LNotificationDistributor> at(
            Descend(RCPtr<LControl>(mDialog.Get()), control.path).Get());
        ASSERT_NE(
            recorder->Subscribe(at, control.combo ? NID_SELECTION_CHANGE : NID_VALUE_CHANGE, 0),
            nullptr);
    }
    const struct
    {
        std::int32_t device[13];
        std::int32_t shown[13];
    } rounds[] = {
        {{16, 1, 9, 24, 6, 10, 25, 9, 3, 9, 127, 127, 127},
         {15, 1, 3, 12, 6, 5, 12, 9, 3, 9, 127, 127, 127}},
        {{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, -3, -12, 0, -5, -12, 0, 0, 0, 0, 0, 0}},
        {{1, 1, 5, 12, 3, 5, 12, 4, 2, 5, 64, 1, 2}, {0, 1, 0, 0, 3, 0, 0, 4, 2, 5, 64, 1, 2}},
    };
    for (const auto& round : rounds)
    {
        for (std::size_t k = 0; k < std::size(kControls); ++k)
        {
            rig.Keyboard().SetGlobal(kControls[k].index, round.device[k]);
        }
        rig.ClearSent();
        mBusyExchanges.clear();
        ClickButton(u"getGlobalSettingsButton");
        for (std::size_t k = 0; k < std::size(kControls); ++k)
        {
            EXPECT_EQ(Shown(kControls[k]), round.shown[k]) << k << " of " << round.device[0];
        }
        EXPECT_EQ(AskedIndexes(), (std::vector<int>{0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
        EXPECT_EQ(mBusyExchanges, std::vector<bool>(13, true));
    }
    EXPECT_TRUE(mServices.boxes.empty());
    EXPECT_TRUE(mDialog->IsEnabled(false));
    std::lock_guard<std::mutex> lock(recorder->mutex);
    EXPECT_FALSE(recorder->threads.empty());
    EXPECT_EQ(
        std::count(recorder->threads.begin(), recorder->threads.end(), std::this_thread::get_id()),
        static_cast<std::ptrdiff_t>(recorder->threads.size()));
    static_cast<void>(recorder->UnsubscribeAll());
}

// Send is offered only while every value is one the keyboard takes, or after a complete Get; it
// sends the settings in wire order, the first with the firmware test, never a combo box that
// shows nothing, and a received value its list cannot show as it came.
TEST_F(GlobalSettings, SendGoesOutInWireOrderKeepingUnlistedValues)
{
    EXPECT_EQ(Text(RCPtr<LControl>(mDialog.Get()), u"midiChannel/label"), "GLOBAL CHANNEL");
    // Fresh, the combo boxes show nothing: Send is not offered and a click sends nothing.
    EXPECT_FALSE(IsSendEnabled());
    ClickButton(u"sendGlobalSettingsButton");
    EXPECT_TRUE(rig.GetSent().empty());

    // Every combo box chosen, the numbers at their opening values, a key octave typed as +5.
    for (const Control& control : kControls)
    {
        if (control.combo)
        {
            Show(control, 1);
        }
    }
    Show(kControls[2], 5);
    EXPECT_TRUE(IsSendEnabled());
    ClickButton(u"sendGlobalSettingsButton");
    EXPECT_EQ(SentIndexes(0x6A), (std::vector<int>{0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    // Only the first exchange tests the firmware (asking again if the reply is late).
    const Bytes identityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    const std::vector<Bytes> sent = rig.GetSent();
    const auto firstSet =
        std::find_if(sent.begin(), sent.end(),
                     [](const Bytes& message) { return GlobalIndexOf(message, 0x6A) >= 0; });
    EXPECT_EQ(sent.at(1), identityRequest);
    EXPECT_EQ(std::count(firstSet, sent.end(), identityRequest), 0);
    const std::int32_t expected[] = {2, 1, 8, 12, 1, 5, 12, 1, 1, 1, 0, 0, 0};
    ASSERT_TRUE(rig.Keyboard().WaitForMessages(2 + 2 * 13, std::chrono::seconds(5)));
    for (std::size_t k = 0; k < std::size(kControls); ++k)
    {
        EXPECT_EQ(rig.Keyboard().GetGlobal(kControls[k].index), expected[k]) << k;
    }

    // A channel the list has no item for (0) shows as unknown and goes back unchanged until the
    // user picks an item; a later Get of a listed channel selects it again.
    const RCPtr<LControl> channel = Descend(RCPtr<LControl>(mDialog.Get()), kControls[0].path);
    const auto sendAndWait = [&](std::int32_t expected)
    {
        rig.Keyboard().SetGlobal(15, 99);
        ClickButton(u"sendGlobalSettingsButton");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (rig.Keyboard().GetGlobal(15) == 99 && std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_EQ(rig.Keyboard().GetGlobal(0), expected);
    };
    rig.Keyboard().SetGlobal(0, 0);
    ClickButton(u"getGlobalSettingsButton");
    EXPECT_EQ(Shown(kControls[0]), -1);
    EXPECT_EQ(Narrow(channel->GetText()), "? (0)");
    EXPECT_TRUE(IsSendEnabled());
    rig.Keyboard().SetGlobal(0, 7);
    sendAndWait(0);
    Show(kControls[0], 2);
    EXPECT_EQ(Narrow(channel->GetText()), "Channel 3");
    sendAndWait(3);
    rig.Keyboard().SetGlobal(0, 0);
    ClickButton(u"getGlobalSettingsButton");
    rig.Keyboard().SetGlobal(0, 16);
    ClickButton(u"getGlobalSettingsButton");
    EXPECT_EQ(Narrow(channel->GetText()), "Channel 16");
    sendAndWait(16);
    EXPECT_TRUE(mServices.boxes.empty());
}

// The first failing exchange ends the run with one box under the dialog's own caption: a silent
// keyboard from the fifth setting asked keeps the four values fetched before it; an old firmware
// and a missing keyboard each bring their own text, with nothing asked or set.
TEST_F(GlobalSettings, FailuresShowOneBoxEach)
{
    // Counts the settings asked, not the requests, so that a retry does not move the silence.
    const auto silenceFrom = [this](int settings)
    {
        auto count = std::make_shared<int>(0);
        auto last = std::make_shared<int>(-1);
        rig.SetSendHook(
            [this, settings, count, last](const Bytes& message)
            {
                const int index = GlobalIndexOf(message, 0x6B);
                if (index >= 0 && index != std::exchange(*last, index) && ++*count >= settings)
                {
                    Tarn61::Tarn61Emulator::Behaviour silent;
                    silent.silent = true;
                    rig.Keyboard().SetBehaviour(silent);
                }
            });
    };
    const std::int32_t device[] = {3, 1, 6, 13, 2, 6, 13, 3, 2, 4, 10, 11, 12};
    for (std::size_t k = 0; k < std::size(kControls); ++k)
    {
        rig.Keyboard().SetGlobal(kControls[k].index, device[k]);
    }
    silenceFrom(5);
    ClickButton(u"getGlobalSettingsButton");
    ASSERT_EQ(mServices.boxes.size(), 1u);
    EXPECT_EQ(mServices.boxes[0].caption, kCaption);
    EXPECT_EQ(mServices.boxes[0].text, kConnectionText);
    const std::optional<std::int32_t> fetched[] = {2, 1, 1, 1, -1, 0, 0, -1, -1, -1, 0, 0, 0};
    for (std::size_t k = 0; k < std::size(kControls); ++k)
    {
        EXPECT_EQ(Shown(kControls[k]), fetched[k]) << k;
    }
    EXPECT_FALSE(IsSendEnabled());
    rig.SetSendHook(nullptr);
    rig.Keyboard().SetBehaviour({});

    const struct
    {
        bool oldFirmware;
        const char* text;
    } cases[] = {
        {true, "The firmware version of your device is not compatible with this version of the "
               "Vidida Editor. Please visit the Korvane web site for the latest firmware "
               "updates."},
        {false, kConnectionText.c_str()},
    };
    for (const auto& failure : cases)
    {
        for (const char16_t* button : {u"getGlobalSettingsButton", u"sendGlobalSettingsButton"})
        {
            if (failure.oldFirmware)
            {
                rig.Keyboard().SetFirmwareVersion({'1', '0', '2', '6'});
            }
            else
            {
                rig.Keyboard().Stop();
            }
            for (const Control& control : kControls)
            {
                if (control.combo)
                {
                    Show(control, 0);
                }
            }
            mServices.boxes.clear();
            rig.ClearSent();
            ClickButton(button);
            ASSERT_EQ(mServices.boxes.size(), 1u);
            EXPECT_EQ(mServices.boxes[0].caption, kCaption);
            EXPECT_EQ(mServices.boxes[0].text, failure.text);
            EXPECT_EQ(mServices.boxes[0].style, kMessageBoxErrorIcon);
            EXPECT_TRUE(SentIndexes(0x6A).empty());
            EXPECT_TRUE(SentIndexes(0x6B).empty());
            EXPECT_TRUE(mDialog->IsEnabled(false));
        }
    }
}

} // namespace
} // namespace QZ
