#include "UI/TarnSeriesCommon/NoteModeEditPanel.h"

#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

#include <algorithm>
#include <array>
#include <string>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LNoteModeEditPanel::Initialize";
constexpr std::size_t kNoteCount = 8;
constexpr std::int32_t kValueSize = 9;
constexpr std::int32_t kRangeCount = 2;

// The scale helpers' number of each scale list entry after "Off": major, minor, phrygian, melodic
// and harmonic minor, mixolydian, dorian, lydian, locrian, chromatic.
constexpr std::array<std::int32_t, 10> kScaleNumbers{0, 1, 2, 3, 4, 5, 7, 6, 8, 9};
constexpr std::int32_t kScaleCount = static_cast<std::int32_t>(kScaleNumbers.size()) + 1;

std::int32_t ScaleNumberOf(std::int32_t index)
{
    return kScaleNumbers[static_cast<std::size_t>(index - 1)];
}

// The byte of the value holding note k (0 for the first) when note `last` is the last shown.
std::int32_t NoteByte(std::size_t k, std::size_t last)
{
    const std::size_t byte = k == 0 ? 1 : k < last ? k + 2 : k == last ? 2 : k + 1;
    return static_cast<std::int32_t>(byte);
}

} // namespace

LNoteModeEditPanel::LNoteModeEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived)
    : LHandlingPanel(parent, name, mostDerived)
{
}

LNoteModeEditPanel::~LNoteModeEditPanel() = default;

QZRESULT LNoteModeEditPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    MakeHandler(this);
    if (Failed(result))
    {
        return result;
    }
    const RCPtr<LControl> self(this);
    mType = RequireChild<LComboBox>(self, {u"noteModeType", u"comboBox"}, kInitialize,
                                    "can not find noteModeType child comboBox");
    mScale = RequireChild<LComboBox>(self, {u"noteScaleType", u"comboBox"}, kInitialize,
                                     "can not find noteScaleType child comboBox");
    mHolders.clear();
    mNotes.clear();
    for (std::uint32_t n = 1; n <= kNoteCount; ++n)
    {
        const WideString name = NumberedName(u"note", n);
        const std::string detail = "can not find " +
                                   std::string(name.ToNarrowString().GetString()) +
                                   " child numericUpDown";
        mNotes.push_back(RequireChild<LNumericUpDown>(
            self, {name.GetString(), u"noteSelector", u"numericUpDown"}, kInitialize,
            detail.c_str()));
        mHolders.push_back(FindChildByName(name));
    }
    {
        const QuietScope quiet(mQuiet);
        mType->SetSelectedIndex(0);
        mScale->SetSelectedIndex(0);
        UpdateNoteControls(kRangeCount);
        UpdateKeyLabel();
    }
    constexpr const char* kRegister = "LNoteModeEditPanel::RegisterForAllParameterNotifications";
    Listen(RCPtr<LControl>(mScale.Get()), NID_SELECTION_CHANGE,
           &LNoteModeEditPanel::OnNoteScaleTypeChange, kRegister);
    Listen(RCPtr<LControl>(mType.Get()), NID_SELECTION_CHANGE,
           &LNoteModeEditPanel::OnNoteModeTypeChange, kRegister);
    for (const RCPtr<LNumericUpDown>& note : mNotes)
    {
        Listen(RCPtr<LControl>(note.Get()), NID_VALUE_CHANGE,
               &LNoteModeEditPanel::OnNoteValueChange, kRegister);
    }
    return result;
}

QZRESULT LNoteModeEditPanel::ReleaseInternalReferences()
{
    mHolders.clear();
    mNotes.clear();
    mType = nullptr;
    mScale = nullptr;
    return LHandlingPanel::ReleaseInternalReferences();
}

// The value lists notes 1 to 8 with the last shown note moved to byte 2; filling puts them back
// in order, so the hidden notes keep their places. Every selector is set from the value, a range's
// hidden notes too, so nothing of an element shown before stays behind.
std::int32_t LNoteModeEditPanel::SetParamValues(const Array<signed char>& values)
{
    if (values.GetCount() != kValueSize || mNotes.size() != kNoteCount)
    {
        return E_INVALIDARG;
    }
    const QuietScope quiet(mQuiet);
    const std::int32_t count = std::clamp<std::int32_t>(values.GetAt(0), kRangeCount,
                                                        static_cast<std::int32_t>(kNoteCount));
    mType->SetSelectedIndex(count - kRangeCount);
    UpdateNoteControls(count);
    const auto last = static_cast<std::size_t>(count - 1);
    for (std::size_t k = 0; k < kNoteCount; ++k)
    {
        SetNote(k, values.GetAt(NoteByte(k, last)));
    }
    if (count == kRangeCount)
    {
        mScale->SetSelectedIndex(0);
    }
    else
    {
        DetectScale();
    }
    UpdateKeyLabel();
    return S_OK;
}

Array<signed char> LNoteModeEditPanel::GetParamValues() const
{
    Array<signed char> values(kValueSize);
    if (mNotes.size() != kNoteCount)
    {
        return values;
    }
    const std::int32_t count = GetNoteCount();
    const auto last = static_cast<std::size_t>(count - 1);
    values.GetAt(0) = static_cast<signed char>(count);
    for (std::size_t k = 0; k < kNoteCount; ++k)
    {
        values.GetAt(NoteByte(k, last)) = static_cast<signed char>(GetNote(k));
    }
    return values;
}

// A new key carries the whole scale along; any other note leaves the scale.
QZRESULT LNoteModeEditPanel::OnNoteValueChange(const RCPtr<LNotificationDistributor>& sender,
                                               const RCPtr<LNotification>&)
{
    if (mQuiet)
    {
        return 1;
    }
    {
        const QuietScope quiet(mQuiet);
        if (sender.Get() == static_cast<LNotificationDistributor*>(mNotes[0].Get()))
        {
            ApplyScale();
        }
        else
        {
            mScale->SetSelectedIndex(0);
            UpdateKeyLabel();
        }
    }
    Report();
    return 1;
}

// A new count shows or hides notes; every note keeps its value.
QZRESULT LNoteModeEditPanel::OnNoteModeTypeChange(const RCPtr<LNotificationDistributor>&,
                                                  const RCPtr<LNotification>&)
{
    if (mQuiet)
    {
        return 1;
    }
    UpdateNoteControls(GetNoteCount());
    UpdateKeyLabel();
    Report();
    return 1;
}

QZRESULT LNoteModeEditPanel::OnNoteScaleTypeChange(const RCPtr<LNotificationDistributor>&,
                                                   const RCPtr<LNotification>&)
{
    if (mQuiet)
    {
        return 1;
    }
    {
        const QuietScope quiet(mQuiet);
        ApplyScale();
    }
    Report();
    return 1;
}

// Reads a count that a list without a selection would make 1 as the range.
std::int32_t LNoteModeEditPanel::GetNoteCount() const
{
    return std::clamp(mType->GetSelectedIndex() + kRangeCount, kRangeCount,
                      static_cast<std::int32_t>(kNoteCount));
}

std::int32_t LNoteModeEditPanel::GetScaleIndex() const
{
    const std::int32_t index = mScale->GetSelectedIndex();
    return index > 0 && index < kScaleCount ? index : 0;
}

std::int32_t LNoteModeEditPanel::GetNote(std::size_t index) const
{
    const LNumericUpDown& note = *mNotes[index];
    return static_cast<std::int32_t>(note.PositionToValue(note.GetValue()));
}

void LNoteModeEditPanel::SetNote(std::size_t index, std::int32_t note)
{
    LNumericUpDown& control = *mNotes[index];
    control.SetValue(control.ValueToPosition(note));
}

void LNoteModeEditPanel::UpdateNoteControls(std::int32_t count)
{
    WideString text;
    for (std::size_t k = 1; k < kNoteCount; ++k)
    {
        const auto n = static_cast<std::int32_t>(k + 1);
        mHolders[k]->SetShown(n <= count);
        const RCPtr<LControl> label = GetLabel(k);
        if (!label)
        {
            continue;
        }
        label->SetText(n == count ? label->GetString(text, u"END_NOTE_LABEL")
                                  : FormatNumberText(label->GetString(text, u"MULTI_NOTE_LABEL"),
                                                     static_cast<std::uint32_t>(n)),
                       true);
    }
}

RCPtr<LControl> LNoteModeEditPanel::GetLabel(std::size_t index) const
{
    return mHolders[index]->FindChildByName(WideString(u"controlNameLabel"));
}

// Note 1 is the key while a scale lays out the row, else the first note.
void LNoteModeEditPanel::UpdateKeyLabel()
{
    if (const RCPtr<LControl> label = GetLabel(0))
    {
        const bool key = GetNoteCount() > kRangeCount && GetScaleIndex() != 0;
        WideString text;
        label->SetText(label->GetString(text, key ? u"KEY_LABEL" : u"START_NOTE_LABEL"), true);
    }
}

// Every note follows the scale from note 1, hidden ones too; a range ignores the scale.
void LNoteModeEditPanel::ApplyScale()
{
    if (GetNoteCount() == kRangeCount)
    {
        return;
    }
    UpdateKeyLabel();
    if (const std::int32_t scale = GetScaleIndex(); scale != 0)
    {
        static_cast<void>(ApplyScaleToControls(GetNoteControls(), ScaleNumberOf(scale)));
    }
}

// The first scale whose row from note 1 gives all eight notes, else "Off".
void LNoteModeEditPanel::DetectScale()
{
    const std::vector<RCPtr<LControl>> notes = GetNoteControls();
    std::int32_t found = 0;
    for (std::int32_t scale = 1; scale < kScaleCount && found == 0; ++scale)
    {
        found = ControlsFollowScale(notes, ScaleNumberOf(scale)) ? scale : 0;
    }
    mScale->SetSelectedIndex(found);
}

std::vector<RCPtr<LControl>> LNoteModeEditPanel::GetNoteControls() const
{
    return {mNotes.begin(), mNotes.end()};
}

void LNoteModeEditPanel::Report()
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_PARAMETERS_CHANGED);
    Distribute(notification);
}

} // namespace QZ
