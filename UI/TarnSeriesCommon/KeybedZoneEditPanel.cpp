#include "UI/TarnSeriesCommon/KeybedZoneEditPanel.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "UI/TarnSeriesCommon/KeybedZoneLayout.h"

#include <optional>

namespace QZ
{
namespace
{

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
    : LFamilyEditPanel(parent, name, mostDerived, GetKeybedZoneLayout())
{
}

void LKeybedZoneEditPanel::FindEditors()
{
    const std::string method = GetInitializeMethod();
    const RCPtr<LControl> self(this);
    mEnable = RequireChild<LButton>(self, {u"zoneEnabledToggleButton"}, method.c_str(),
                                    "couldn't find child zoneEnabledToggleButton");
    ListenForEdits(RCPtr<LControl>(mEnable.Get()), NID_VALUE_CHANGE);
    Listen(RCPtr<LControl>(mEnable.Get()), NID_LEFT_CLICK,
           &LKeybedZoneEditPanel::OnEnableToggleClicked, method);
    mChannel = RequireChild<LComboBox>(self, {u"midiChannel", u"comboBox"}, method.c_str(),
                                       "couldn't find child midiChannel");
    ListenForEdits(RCPtr<LControl>(mChannel.Get()), NID_SELECTION_CHANGE);
    mOctave = FindNumber({u"octave"}, "couldn't find child octave");
    mTranspose = FindNumber({u"transpose"}, "couldn't find child transpose");
    mLSB = FindNumber({u"msbLSBSelectors", u"lsb"}, "couldn't find child lsb");
    mMSB = FindNumber({u"msbLSBSelectors", u"msb"}, "couldn't find child msb");
    mFirstKey = FindNumber({u"startEndNoteSelector", u"startNote", u"noteSelector"},
                           "couldn't find child startNote");
    CaptionKey(u"startNote", u"START_NOTE_LABEL");
    mLastKey = FindNumber({u"startEndNoteSelector", u"endNote", u"noteSelector"},
                          "couldn't find child endNote");
    CaptionKey(u"endNote", u"END_NOTE_LABEL");
    mProgram = FindNumber({u"program"}, "couldn't find child program");
    mOctave->SetValueRange(-KeybedZoneByte::kOctaveBias, KeybedZoneByte::kOctaveBias, 0);
    mTranspose->SetValueRange(-KeybedZoneByte::kTransposeBias, KeybedZoneByte::kTransposeBias, 0);
    for (const RCPtr<LNumericUpDown>& byte : {mLSB, mMSB, mProgram})
    {
        byte->SetValueRange(0, 127, 0);
    }
}

RCPtr<LNumericUpDown> LKeybedZoneEditPanel::FindNumber(std::initializer_list<const char16_t*> path,
                                                       const char* detail)
{
    const RCPtr<LNumericUpDown> number =
        FindNumericUpDownChild(FindDescendant(RCPtr<LControl>(this), path));
    if (!number)
    {
        QZ_THROW_RUNTIME(GetInitializeMethod(), "Null Pointer", detail);
    }
    ListenForEdits(RCPtr<LControl>(number.Get()), NID_VALUE_CHANGE);
    return number;
}

void LKeybedZoneEditPanel::CaptionKey(const char16_t* selector, const char16_t* key)
{
    const WideString name(selector);
    const RCPtr<LControl> label = RequireChild<LControl>(
        RCPtr<LControl>(this), {u"startEndNoteSelector", selector, u"controlNameLabel"},
        GetInitializeMethod().c_str(),
        ("Cannot find child " + std::string(name.ToNarrowString().GetString())).c_str());
    WideString text;
    label->SetText(label->GetString(text, key), true);
}

// The last key goes in before the first; with the keys fitted after both, a new range wholly
// above or below the one shown arrives whole.
void LKeybedZoneEditPanel::FillEditors(const Array<signed char>& value)
{
    const std::optional<KeybedZoneSettings> zone = DecodeKeybedZone(value);
    if (!zone)
    {
        return;
    }
    mEnable->SetValue(zone->enabled);
    mShownChannel = zone->channel;
    mChannel->SetSelectedIndex(zone->channel);
    SetNumber(mProgram, zone->program);
    SetNumber(mMSB, zone->bankMSB);
    SetNumber(mLSB, zone->bankLSB);
    SetNumber(mLastKey, zone->lastKey);
    SetNumber(mFirstKey, zone->firstKey);
    FitKeys();
    SetNumber(mOctave, zone->octave);
    SetNumber(mTranspose, zone->transpose);
}

std::optional<Array<signed char>> LKeybedZoneEditPanel::ReadEditors()
{
    if (mFitting)
    {
        return std::nullopt;
    }
    {
        const QuietScope fitting(mFitting);
        FitKeys();
    }
    return EncodeKeybedZone(GetZoneSettings());
}

void LKeybedZoneEditPanel::FitKeys()
{
    const KeyRange keys = ClampKeyRange({GetNumber(mFirstKey), GetNumber(mLastKey)});
    SetNumber(mLastKey, keys.last);
    SetNumber(mFirstKey, keys.first);
}

KeybedZoneSettings LKeybedZoneEditPanel::GetZoneSettings() const
{
    KeybedZoneSettings zone;
    zone.enabled = static_cast<std::int32_t>(mEnable->GetValue());
    const std::int32_t channel = mChannel->GetSelectedIndex();
    zone.channel = channel >= 0 ? channel : mShownChannel;
    zone.program = GetNumber(mProgram);
    zone.bankMSB = GetNumber(mMSB);
    zone.bankLSB = GetNumber(mLSB);
    zone.firstKey = GetNumber(mFirstKey);
    zone.lastKey = GetNumber(mLastKey);
    zone.octave = GetNumber(mOctave);
    zone.transpose = GetNumber(mTranspose);
    return zone;
}

// The toggle's new value reaches the panel as a value change, which sends the zone.
QZRESULT LKeybedZoneEditPanel::OnEnableToggleClicked(const RCPtr<LNotificationDistributor>&,
                                                     const RCPtr<LNotification>&)
{
    mEnable->SetValue(mEnable->GetValue() == 0.0 ? 1.0 : 0.0);
    return 1;
}

} // namespace QZ
