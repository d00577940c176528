#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"

#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"
#include "UI/RededoVuvuvaCommon/SelectorSupport.h"

#include <array>
#include <cmath>
#include <span>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LMidiNoteSelector::Initialize";
constexpr double kHighestNote = 127.0;
constexpr std::uint32_t kNotesPerOctave = 12;

constexpr std::array<int, 7> kMajor{0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor{0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> kPhrygian{0, 1, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> kMelodicMinor{0, 2, 3, 5, 7, 9, 11};
constexpr std::array<int, 7> kHarmonicMinor{0, 2, 3, 5, 7, 8, 11};
constexpr std::array<int, 7> kMixolydian{0, 2, 4, 5, 7, 9, 10};
constexpr std::array<int, 7> kLydian{0, 2, 4, 6, 7, 9, 11};
constexpr std::array<int, 7> kDorian{0, 2, 3, 5, 7, 9, 10};
constexpr std::array<int, 7> kLocrian{0, 1, 3, 5, 6, 8, 10};
constexpr std::array<int, 12> kChromaticUp{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr std::array<int, 12> kChromaticDown{0, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11};

// The intervals of one octave of the scale, by scale number; empty for an unknown one.
std::span<const int> GetScaleIntervals(std::int32_t scale)
{
    static constexpr std::array<std::span<const int>, 11> kScales{
        kMajor,  kMinor,  kPhrygian, kMelodicMinor, kHarmonicMinor, kMixolydian,
        kLydian, kDorian, kLocrian,  kChromaticUp,  kChromaticDown};
    if (scale < 0 || static_cast<std::size_t>(scale) >= kScales.size())
    {
        return {};
    }
    return kScales[static_cast<std::size_t>(scale)];
}

// The scale's notes from the first control's value, one per control; empty when there are none.
Array<double> GetScaleNotesOf(const std::vector<RCPtr<LControl>>& controls, std::int32_t scale)
{
    Array<double> notes;
    if (controls.empty() || !controls.front())
    {
        return notes;
    }
    const LControl& first = *controls.front();
    BuildScaleNotes(notes, scale, first.PositionToValue(first.GetValue()),
                    static_cast<std::int32_t>(controls.size()));
    if (static_cast<std::size_t>(notes.GetCount()) != controls.size())
    {
        notes.SetCount(0);
    }
    return notes;
}

} // namespace

LMidiNoteSelector::LMidiNoteSelector(const RCPtr<LControl>& parent, const WideString& name,
                                     bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LMidiNoteSelector::~LMidiNoteSelector() = default;

QZRESULT LMidiNoteSelector::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LMidiNoteSelector>(this);
    mNoteNameLabel = RequireSelectorChild<LLabel>(*this, u"noteNameLabel", kInitialize);
    mOctaveNameLabel = RequireSelectorChild<LLabel>(*this, u"octaveNameLabel", kInitialize);
    mNumericUpDown = RequireSelectorChild<LNumericUpDown>(*this, u"numericUpDown", kInitialize);
    mNumericUpDown->SetValueRange(0.0, kHighestNote, 0);
    UpdateLabels();
    const QZRESULT subscribed =
        mHandler->AddHandler(&LMidiNoteSelector::OnNumberChanged,
                             RCPtr<LNotificationDistributor>(mNumericUpDown), NID_VALUE_CHANGE, 0);
    if (Failed(subscribed))
    {
        QZ_THROW_FAILED_RESULT(subscribed, kInitialize);
    }
    return S_OK;
}

QZRESULT LMidiNoteSelector::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mNoteNameLabel = nullptr;
    mOctaveNameLabel = nullptr;
    mNumericUpDown = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LMidiNoteSelector::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                            const RCPtr<LNotification>& notification)
{
    ReceiveThroughHandler(*this, mHandler, sender, notification);
}

QZRESULT LMidiNoteSelector::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                        const char16_t* identifier)
{
    return UnsubscribeThroughHandler(*this, mHandler, distributor, identifier);
}

QZRESULT LMidiNoteSelector::SetLabelFromTable(const RCPtr<LStringTable>& table, std::uint32_t index,
                                              LControl& label)
{
    return ShowTableEntry(table, index, label);
}

// A number beyond the octaves of the table (or below 0, when an owner widened the range) leaves
// both labels alone rather than name a note of no octave.
void LMidiNoteSelector::UpdateLabels()
{
    const auto note = static_cast<std::uint32_t>(GetWholeNumber(*mNumericUpDown));
    const std::uint32_t octave = note / kNotesPerOctave;
    const RCPtr<LStringTable> octaves = mOctaveNameLabel->GetStringTable();
    if (!octaves || octave >= static_cast<std::uint32_t>(octaves->GetCount()))
    {
        return;
    }
    SetLabelFromTable(mNoteNameLabel->GetStringTable(), note - octave * kNotesPerOctave,
                      *mNoteNameLabel);
    SetLabelFromTable(octaves, octave, *mOctaveNameLabel);
}

QZRESULT LMidiNoteSelector::OnNumberChanged(const RCPtr<LNotificationDistributor>&,
                                            const RCPtr<LNotification>& notification)
{
    if (RCPtr<LValueParam>::DynamicCastFrom(notification->GetPayload()))
    {
        UpdateLabels();
    }
    return 1;
}

void BuildScaleNotes(Array<double>& notes, std::int32_t scale, double start, std::int32_t count)
{
    notes.SetCount(0);
    const std::span<const int> intervals = GetScaleIntervals(scale);
    if (intervals.empty())
    {
        return;
    }
    const auto perOctave = static_cast<std::int32_t>(intervals.size());
    for (std::int32_t i = 0; i < count; ++i)
    {
        const std::int32_t octave = i / perOctave;
        notes.Add(start + intervals[static_cast<std::size_t>(i % perOctave)] +
                  static_cast<double>(kNotesPerOctave) * octave);
    }
}

QZRESULT ApplyScaleToControls(const std::vector<RCPtr<LControl>>& controls, std::int32_t scale)
{
    const Array<double> notes = GetScaleNotesOf(controls, scale);
    for (std::int32_t i = 0; i < notes.GetCount(); ++i)
    {
        if (const RCPtr<LControl>& control = controls[static_cast<std::size_t>(i)])
        {
            control->SetValue(control->ValueToPosition(notes.GetAt(i)));
        }
    }
    return S_OK;
}

bool ControlsFollowScale(const std::vector<RCPtr<LControl>>& controls, std::int32_t scale)
{
    const Array<double> notes = GetScaleNotesOf(controls, scale);
    if (notes.GetCount() == 0)
    {
        return false;
    }
    for (std::int32_t i = 0; i < notes.GetCount(); ++i)
    {
        const RCPtr<LControl>& control = controls[static_cast<std::size_t>(i)];
        if (!control)
        {
            return false;
        }
        const double expected = control->PositionToValue(control->ValueToPosition(notes.GetAt(i)));
        if (std::trunc(control->PositionToValue(control->GetValue())) != std::trunc(expected))
        {
            return false;
        }
    }
    return true;
}

} // namespace QZ
