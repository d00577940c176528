#include "UI/TarnSeriesCommon/GlobalSettingsDlg.h"

#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/MidiParameterNotification.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

#include <cmath>
#include <mutex>
#include <utility>
#include <vector>

namespace QZ
{

// Records the settings the MIDI manager announces, on whatever thread it announces them, until
// the dialog takes them on the user-interface thread.
class LGlobalParameterInbox : public LNotificationClient
{
public:
    using Received = std::vector<std::pair<WideString, std::int32_t>>;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        const RCPtr<LMidiParameterNotification> parameter =
            notification
                ? RCPtr<LMidiParameterNotification>::DynamicCastFrom(notification->GetPayload())
                : RCPtr<LMidiParameterNotification>();
        if (parameter)
        {
            std::lock_guard<std::mutex> lock(mLock);
            mReceived.emplace_back(parameter->GetName(), parameter->GetValue());
        }
    }
    Received Take()
    {
        std::lock_guard<std::mutex> lock(mLock);
        return std::exchange(mReceived, Received());
    }

private:
    std::mutex mLock;
    Received mReceived;
};

namespace
{

constexpr const char* kInitialize = "LGlobalSettingsDlg::Initialize";
constexpr std::int32_t kHandled = 1;
// The key octave's range reaches -4 .. +5, but the keyboard takes only -3 .. +3.
constexpr double kKeyOctaveHeld = 3.0;

} // namespace

const std::array<LGlobalSettingsDlg::Setting, 13>& LGlobalSettingsDlg::GetSettings()
{
    using D = LGlobalSettingsDlg;
    static const std::array<Setting, 13> settings = {{
        {u"CURVE_ACCELLERATION", u"controlCurve", &D::mControlCurve, nullptr, 0, true, 0, 3,
         "Could not find child ControlCurve", "Could not find child comboBox"},
        {u"KEY_OCTAVE", u"keyOctave", nullptr, &D::mKeyOctave, 5, true, -4, 5,
         "Could not find child Key Octave", "Could not find child numericUpDown"},
        {u"KEY_SENSITIVITY", u"keySensitivity", &D::mKeySensitivity, nullptr, 0, true, 0, 6,
         "Could not find child keySensitivity", "Could not find child comboBox"},
        {u"KEY_TRANSPOSE", u"keyTranspose", nullptr, &D::mKeyTranspose, 12, true, -12, 12,
         "Could not find child keyTranspose", "Could not find child numericUpDown"},
        {u"GLOBAL_BANK_LSB", u"lsb", nullptr, &D::mBankLsb, 0, true, 0, 127,
         "Could not find child lsb", "Could not find child numericUpDown"},
        {u"GLOBAL_BANK_MSB", u"msb", nullptr, &D::mBankMsb, 0, true, 0, 127,
         "Could not find child msb", "Could not find child numericUpDown"},
        {u"MACKIE_HUI_ENABLED", u"mackieHUIToggle", &D::mMackieHui, nullptr, 0, false, 0, 0,
         "Could not find child mackieHUIToggle", "Could not find child comboBox"},
        {u"Global_Channel", u"midiChannel", &D::mGlobalChannel, nullptr, 1, false, 0, 0,
         "Could not find child midiChannel", "Could not find child comboBox"},
        {u"PAD_OCTAVE", u"padOctave", nullptr, &D::mPadOctave, 5, true, -5, 5,
         "Could not find child padOctave", "Could not find child numericUpDown"},
        {u"PAD_SENSITIVITY", u"padSensitivity", &D::mPadSensitivity, nullptr, 0, true, 0, 9,
         "Could not find child padSensitivity", "Could not find child comboBox"},
        {u"PAD_TRANSPOSE", u"padTranspose", nullptr, &D::mPadTranspose, 12, true, -12, 12,
         "Could not find child padTranspose", "Could not find child numericUpDown"},
        {u"GLOBAL_PROGRAM", u"program", nullptr, &D::mGlobalProgram, 0, true, 0, 127,
         "Could not find child program", "Could not find child numericUpDown"},
        {u"XY_SENSITIVITY", u"xyPadSensitivity", &D::mXyPadSensitivity, nullptr, 0, false, 0, 0,
         "Could not find child xyPadSensitivity", "Could not find child combo box"},
    }};
    return settings;
}

const LGlobalSettingsDlg::Setting* LGlobalSettingsDlg::FindSetting(const WideString& name)
{
    for (const Setting& setting : GetSettings())
    {
        if (name == WideString(setting.name))
        {
            return &setting;
        }
    }
    return nullptr;
}

LGlobalSettingsDlg::LGlobalSettingsDlg(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived)
    : LDialog(parent, name, mostDerived)
{
}

LGlobalSettingsDlg::~LGlobalSettingsDlg()
{
    if (mInbox)
    {
        static_cast<void>(mInbox->UnsubscribeAll());
    }
}

QZRESULT LGlobalSettingsDlg::Initialize()
{
    const QZRESULT result = LDialog::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LGlobalSettingsDlg>(this);
    for (const Setting& setting : GetSettings())
    {
        BindSetting(setting);
    }
    const RCPtr<LControl> self(this);
    mGetButton = RequireChild<LButton>(self, {u"getGlobalSettingsButton"}, kInitialize,
                                       "getSettingsButton child not found");
    Listen(&LGlobalSettingsDlg::OnGetSettingsClicked, mGetButton.Get(), NID_LEFT_CLICK);
    mSendButton = RequireChild<LButton>(self, {u"sendGlobalSettingsButton"}, kInitialize,
                                        "sendSettingsButton child not found");
    Listen(&LGlobalSettingsDlg::OnSendSettingsClicked, mSendButton.Get(), NID_LEFT_CLICK);

    const LApplication* application = LApplication::GetApplication();
    mMidiManager = application != nullptr ? application->GetMidiManager() : nullptr;
    if (!mMidiManager)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "Could not find MidiManager");
    }
    mInbox = new LGlobalParameterInbox();
    if (mInbox->Subscribe(RCPtr<LNotificationDistributor>(mMidiManager.Get()),
                          NID_MIDIMANAGER_PARAMETER_RECIEVED, 0) == nullptr)
    {
        QZ_THROW_FAILED_RESULT(E_FAIL, kInitialize);
    }

    for (LNumericUpDown* zeroed :
         {mPadOctave.Get(), mPadTranspose.Get(), mKeyOctave.Get(), mKeyTranspose.Get()})
    {
        zeroed->SetValue(zeroed->ValueToPosition(0.0));
    }
    UpdateSendButton();
    return result;
}

void LGlobalSettingsDlg::BindSetting(const Setting& setting)
{
    const RCPtr<LControl> panel = FindChildByName(WideString(setting.child));
    if (!panel)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", setting.missing);
    }
    LControl* control = nullptr;
    if (setting.combo != nullptr)
    {
        this->*setting.combo = FindComboBoxChild(panel);
        control = (this->*setting.combo).Get();
    }
    else
    {
        this->*setting.number = FindNumericUpDownChild(panel);
        control = (this->*setting.number).Get();
    }
    if (control == nullptr)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", setting.missingInner);
    }
    if (setting.ranged)
    {
        control->SetValueRange(setting.minimum, setting.maximum, 0);
    }
    if (setting.number == &LGlobalSettingsDlg::mKeyOctave)
    {
        control->SetValue(control->ValueToPosition(0.0));
        Listen(&LGlobalSettingsDlg::OnKeyOctaveChanged, control, NID_VALUE_CHANGE);
    }
    else
    {
        Listen(&LGlobalSettingsDlg::OnSettingEdited, control,
               setting.combo != nullptr ? NID_SELECTION_CHANGE : NID_VALUE_CHANGE);
    }
    if (setting.combo == &LGlobalSettingsDlg::mGlobalChannel)
    {
        // The channel's label names the global channel, not a control's channel.
        if (const RCPtr<LLabel> label = FindChildAs<LLabel>(panel, {u"label"}))
        {
            WideString text;
            if (!label->GetString(text, u"GLOBAL_LABEL").IsEmpty())
            {
                label->SetText(text, true);
            }
        }
    }
}

void LGlobalSettingsDlg::Listen(
    QZRESULT (LGlobalSettingsDlg::*method)(const RCPtr<LNotificationDistributor>&,
                                           const RCPtr<LNotification>&),
    LNotificationDistributor* distributor, const char16_t* identifier)
{
    const QZRESULT result =
        mHandler->AddHandler(method, RCPtr<LNotificationDistributor>(distributor), identifier, 0);
    if (Failed(result))
    {
        QZ_THROW_FAILED_RESULT(result, kInitialize);
    }
}

QZRESULT LGlobalSettingsDlg::ReleaseInternalReferences()
{
    if (mInbox)
    {
        static_cast<void>(mInbox->UnsubscribeAll());
    }
    mHandler = nullptr;
    for (const Setting& setting : GetSettings())
    {
        if (setting.combo != nullptr)
        {
            this->*setting.combo = nullptr;
        }
        else
        {
            this->*setting.number = nullptr;
        }
    }
    mGetButton = mSendButton = nullptr;
    mMidiManager = nullptr;
    return LDialog::ReleaseInternalReferences();
}

void LGlobalSettingsDlg::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                             const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LDialog::ReceiveNotification(sender, notification);
}

QZRESULT LGlobalSettingsDlg::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                         const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LDialog::Unsubscribe(distributor, identifier);
}

QZRESULT LGlobalSettingsDlg::OnGetSettingsClicked(const RCPtr<LNotificationDistributor>&,
                                                  const RCPtr<LNotification>&)
{
    if (mBusy || !mMidiManager)
    {
        return kHandled;
    }
    const RCPtr<LGlobalSettingsDlg> self(this);
    const RCPtr<LMidiManager> manager = mMidiManager;
    std::int32_t result = S_OK;
    {
        const QuietScope busy(mBusy);
        LDeviceExchange exchange(*this, *manager);
        bool testFirmware = true;
        const WideStringArray names = GetGlobalParameterNames();
        for (std::int32_t i = 0; i < names.GetCount() && result >= 0; ++i)
        {
            const WideString name = names.GetAt(i);
            if (FindSetting(name) == nullptr)
            {
                continue;
            }
            result = exchange.Run(
                [&] { return manager->RequestNonPresetParameterFromDevice(name, !testFirmware); });
            testFirmware = false;
            ApplyReceivedParameters();
        }
    }
    if (result < 0)
    {
        ShowFailure(result);
        return kHandled;
    }
    mFetched = true;
    UpdateSendButton();
    return kHandled;
}

QZRESULT LGlobalSettingsDlg::OnSendSettingsClicked(const RCPtr<LNotificationDistributor>&,
                                                   const RCPtr<LNotification>&)
{
    if (mBusy || !mMidiManager || !CanSend())
    {
        return kHandled;
    }
    std::vector<std::pair<WideString, std::int32_t>> values;
    const WideStringArray names = GetGlobalParameterNames();
    for (std::int32_t i = 0; i < names.GetCount(); ++i)
    {
        const Setting* setting = FindSetting(names.GetAt(i));
        const std::optional<std::int32_t> value =
            setting != nullptr ? ReadSetting(*setting) : std::nullopt;
        if (value)
        {
            values.emplace_back(names.GetAt(i), *value);
        }
    }
    const RCPtr<LGlobalSettingsDlg> self(this);
    const RCPtr<LMidiManager> manager = mMidiManager;
    std::int32_t result = S_OK;
    {
        const QuietScope busy(mBusy);
        LDeviceExchange exchange(*this, *manager);
        bool testFirmware = true;
        for (std::size_t k = 0; k < values.size() && result >= 0; ++k)
        {
            result = exchange.Run(
                [&] {
                    return manager->SendGlobalParameter(values[k].first, values[k].second,
                                                        !testFirmware);
                });
            testFirmware = false;
        }
    }
    if (result < 0)
    {
        ShowFailure(result);
    }
    return kHandled;
}

QZRESULT LGlobalSettingsDlg::OnKeyOctaveChanged(const RCPtr<LNotificationDistributor>&,
                                                const RCPtr<LNotification>&)
{
    if (!mKeyOctave)
    {
        return kHandled;
    }
    const double value = mKeyOctave->PositionToValue(mKeyOctave->GetValue());
    if (value > kKeyOctaveHeld || value < -kKeyOctaveHeld)
    {
        mKeyOctave->SetValue(
            mKeyOctave->ValueToPosition(value > kKeyOctaveHeld ? kKeyOctaveHeld : -kKeyOctaveHeld));
    }
    UpdateSendButton();
    return kHandled;
}

QZRESULT LGlobalSettingsDlg::OnSettingEdited(const RCPtr<LNotificationDistributor>&,
                                             const RCPtr<LNotification>&)
{
    UpdateSendButton();
    return kHandled;
}

void LGlobalSettingsDlg::ApplyReceivedParameters()
{
    if (!mInbox || !mHandler)
    {
        return;
    }
    for (const auto& [name, value] : mInbox->Take())
    {
        if (const Setting* setting = FindSetting(name))
        {
            ShowSetting(*setting, value);
        }
    }
}

std::size_t LGlobalSettingsDlg::SettingIndex(const Setting& setting)
{
    return static_cast<std::size_t>(&setting - GetSettings().data());
}

bool LGlobalSettingsDlg::CanSend() const
{
    if (mFetched)
    {
        return true;
    }
    for (const Setting& setting : GetSettings())
    {
        const std::optional<std::int32_t> value = ReadSetting(setting);
        if (!value || !IsGlobalParameterValueValid(WideString(setting.name), *value))
        {
            return false;
        }
    }
    return true;
}

std::optional<std::int32_t> LGlobalSettingsDlg::ReadSetting(const Setting& setting) const
{
    if (setting.combo != nullptr)
    {
        const RCPtr<LComboBox>& combo = this->*setting.combo;
        if (!combo || combo->GetSelectedIndex() < 0)
        {
            return mUnlisted[SettingIndex(setting)];
        }
        return combo->GetSelectedIndex() + setting.offset;
    }
    const RCPtr<LNumericUpDown>& number = this->*setting.number;
    if (!number)
    {
        return std::nullopt;
    }
    // The values are whole numbers; rounding keeps a position's float error from losing one.
    return static_cast<std::int32_t>(std::lround(number->PositionToValue(number->GetValue()))) +
           setting.offset;
}

void LGlobalSettingsDlg::ShowSetting(const Setting& setting, std::int32_t deviceValue)
{
    const std::int32_t shown = deviceValue - setting.offset;
    if (setting.combo != nullptr)
    {
        std::optional<std::int32_t>& unlisted = mUnlisted[SettingIndex(setting)];
        unlisted.reset();
        if (const RCPtr<LComboBox>& combo = this->*setting.combo)
        {
            // A value the list has no item for is shown as unknown and kept as it came, so that
            // Send gives the keyboard back what it holds unless the user picks an item.
            if (combo->SetSelectedIndex(shown) < 0)
            {
                unlisted = deviceValue;
                combo->SetText(WideString::FromFormat(u"? (%d)", deviceValue), false);
            }
        }
    }
    else if (const RCPtr<LNumericUpDown>& number = this->*setting.number)
    {
        number->SetValue(number->ValueToPosition(static_cast<double>(shown)));
    }
}

void LGlobalSettingsDlg::UpdateSendButton()
{
    if (mSendButton)
    {
        mSendButton->SetEnabled(CanSend());
    }
}

void LGlobalSettingsDlg::ShowFailure(std::int32_t result) const
{
    // A cancelled exchange belongs to a program that is ending: nothing to tell.
    if (result == LMidiManager::kCancelled)
    {
        return;
    }
    ShowDeviceMessage(result == LMidiManager::kFirmwareNotUseable ? kSendPresetFirmwareText
                                                                  : kGlobalSettingsErrorText,
                      kGlobalSettingsErrorCaption, true);
}

} // namespace QZ
