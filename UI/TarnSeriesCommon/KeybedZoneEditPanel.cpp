#include "UI/TarnSeriesCommon/KeybedZoneEditPanel.h"

#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

#include <optional>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LKeybedZoneEditPanel::Initialize";

void SetNumber(const RCPtr<LNumericUpDown>& control, std::int32_t number)
{
    control->SetValue(control->ValueToPosition(number));
}

std::int32_t GetNumber(const RCPtr<LNumericUpDown>& control)
{
    return static_cast<std::int32_t>(control->PositionToValue(control->GetValue()));
}

} // namespace

LKeybedZoneEditPanel::LKeybedZoneEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                           bool mostDerived)
    : LPanel(parent, name, mostDerived), IKeybedZone(1)
{
}

LKeybedZoneEditPanel::~LKeybedZoneEditPanel() = default;

QZRESULT LKeybedZoneEditPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LKeybedZoneEditPanel>(this);
    const RCPtr<LControl> self(this);
    mZoneName =
        RequireChild<LLabel>(self, {u"zoneName"}, kInitialize, "couldn't find child zoneName");
    mEnable = RequireChild<LButton>(self, {u"zoneEnabledToggleButton"}, kInitialize,
                                    "couldn't find child zoneEnabledToggleButton");
    Listen(mEnable.Get(), NID_VALUE_CHANGE, &LKeybedZoneEditPanel::OnControlChanged);
    Listen(mEnable.Get(), NID_LEFT_CLICK, &LKeybedZoneEditPanel::OnEnableToggleClicked);
    mChannel = RequireChild<LComboBox>(self, {u"midiChannel", u"comboBox"}, kInitialize,
                                       "couldn't find child midiChannel");
    Listen(mChannel.Get(), NID_SELECTION_CHANGE, &LKeybedZoneEditPanel::OnControlChanged);
    mOctave = FindNumber({u"octave"}, "couldn't find child octave");
    mTranspose = FindNumber({u"transpose"}, "couldn't find child transpose");
    mLSB = FindNumber({u"msbLSBSelectors", u"lsb"}, "couldn't find child lsb");
    mMSB = FindNumber({u"msbLSBSelectors", u"msb"}, "couldn't find child msb");
    mFirstKey = FindNumber({u"startEndNoteSelector", u"startNote", u"noteSelector"},
                           "couldn't find child startNote");
    CaptionKey(u"startNote", "Cannot find child startNote", u"START_NOTE_LABEL");
    mLastKey = FindNumber({u"startEndNoteSelector", u"endNote", u"noteSelector"},
                          "couldn't find child endNote");
    CaptionKey(u"endNote", "Cannot find child endNote", u"END_NOTE_LABEL");
    mProgram = FindNumber({u"program"}, "couldn't find child program");
    mOctave->SetValueRange(-KeybedZoneByte::kOctaveBias, KeybedZoneByte::kOctaveBias, 0);
    mTranspose->SetValueRange(-KeybedZoneByte::kTransposeBias, KeybedZoneByte::kTransposeBias, 0);
    for (const RCPtr<LNumericUpDown>& byte : {mLSB, mMSB, mProgram})
    {
        byte->SetValueRange(0, 127, 0);
    }
    return result;
}

RCPtr<LNumericUpDown> LKeybedZoneEditPanel::FindNumber(std::initializer_list<const char16_t*> path,
                                                       const char* detail)
{
    const RCPtr<LNumericUpDown> number =
        FindNumericUpDownChild(FindDescendant(RCPtr<LControl>(this), path));
    if (!number)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", detail);
    }
    Listen(number.Get(), NID_VALUE_CHANGE, &LKeybedZoneEditPanel::OnControlChanged);
    return number;
}

void LKeybedZoneEditPanel::CaptionKey(const char16_t* selector, const char* detail,
                                      const char16_t* key)
{
    const RCPtr<LControl> label = RequireChild<LControl>(
        RCPtr<LControl>(this), {u"startEndNoteSelector", selector, u"controlNameLabel"},
        kInitialize, detail);
    WideString text;
    label->SetText(label->GetString(text, key), true);
}

void LKeybedZoneEditPanel::Listen(LControl* control, const char16_t* identifier, Method method)
{
    const QZRESULT result =
        mHandler->AddHandler(method, RCPtr<LNotificationDistributor>(control), identifier, 0);
    if (Failed(result))
    {
        QZ_THROW_FAILED_RESULT(result, kInitialize);
    }
}

QZRESULT LKeybedZoneEditPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mZoneName = nullptr;
    mEnable = nullptr;
    mChannel = nullptr;
    mOctave = mTranspose = mLSB = mMSB = mFirstKey = mLastKey = mProgram = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LKeybedZoneEditPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                               const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LKeybedZoneEditPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                           const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

void LKeybedZoneEditPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                           std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    if (const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine())
    {
        engine->PostParamStates(ParamDescriptors(ParamRange{firstParamID, 1}));
    }
    SetZoneNameLabel(index + 1);
}

void LKeybedZoneEditPanel::SetZoneNameLabel(std::uint32_t number)
{
    if (mZoneName)
    {
        WideString text;
        mZoneName->SetText(FormatNumberText(mZoneName->GetString(text, u"LABEL"), number), true);
    }
}

std::int32_t LKeybedZoneEditPanel::SetParamValueLocal(const ParamDescriptor& descriptor,
                                                      const Variant& value, bool)
{
    const std::optional<KeybedZoneSettings> settings = ReadKeybedZoneValue(value);
    if (descriptor.mParamID != mFirstParamID || !settings || !mHandler)
    {
        return E_FAIL;
    }
    Show(*settings);
    SetParamValue(descriptor, value);
    return 0;
}

void LKeybedZoneEditPanel::Show(const KeybedZoneSettings& settings)
{
    const QuietScope quiet(mShowing);
    mEnable->SetValue(settings.enabled);
    mShownChannel = settings.channel;
    mChannel->SetSelectedIndex(settings.channel);
    SetNumber(mProgram, settings.program);
    SetNumber(mMSB, settings.bankMSB);
    SetNumber(mLSB, settings.bankLSB);
    SetNumber(mLastKey, settings.lastKey);
    SetNumber(mFirstKey, settings.firstKey);
    FitKeys();
    SetNumber(mOctave, settings.octave);
    SetNumber(mTranspose, settings.transpose);
}

// Both keys are set whole before the rule applies, so a new range that lies wholly above or below
// the one shown is never cut.
void LKeybedZoneEditPanel::FitKeys()
{
    const KeyRange keys = ClampKeyRange({GetNumber(mFirstKey), GetNumber(mLastKey)});
    SetNumber(mLastKey, keys.last);
    SetNumber(mFirstKey, keys.first);
}

KeybedZoneSettings LKeybedZoneEditPanel::GetZoneSettings() const
{
    KeybedZoneSettings settings;
    settings.enabled = static_cast<std::int32_t>(mEnable->GetValue());
    const std::int32_t channel = mChannel->GetSelectedIndex();
    settings.channel = channel >= 0 ? channel : mShownChannel;
    settings.program = GetNumber(mProgram);
    settings.bankMSB = GetNumber(mMSB);
    settings.bankLSB = GetNumber(mLSB);
    settings.firstKey = GetNumber(mFirstKey);
    settings.lastKey = GetNumber(mLastKey);
    settings.octave = GetNumber(mOctave);
    settings.transpose = GetNumber(mTranspose);
    return settings;
}

void LKeybedZoneEditPanel::SendZoneValue()
{
    if (LParameterizedModule::GetParent() == nullptr)
    {
        return;
    }
    static_cast<void>(SendToMainControl(*this, ParamDescriptor(mFirstParamID),
                                        MakeKeybedZoneValue(GetZoneSettings())));
}

QZRESULT LKeybedZoneEditPanel::OnControlChanged(const RCPtr<LNotificationDistributor>& sender,
                                                const RCPtr<LNotification>&)
{
    if (mShowing)
    {
        return 1;
    }
    const LNotificationDistributor* changed = sender.Get();
    if (changed == static_cast<LNotificationDistributor*>(mFirstKey.Get()) ||
        changed == static_cast<LNotificationDistributor*>(mLastKey.Get()))
    {
        const QuietScope quiet(mShowing);
        FitKeys();
    }
    SendZoneValue();
    return 1;
}

QZRESULT LKeybedZoneEditPanel::OnEnableToggleClicked(const RCPtr<LNotificationDistributor>& sender,
                                                     const RCPtr<LNotification>&)
{
    if (sender.Get() == static_cast<LNotificationDistributor*>(mEnable.Get()))
    {
        mEnable->SetValue(mEnable->GetValue() == 0.0 ? 1.0 : 0.0);
    }
    return 1;
}

} // namespace QZ
