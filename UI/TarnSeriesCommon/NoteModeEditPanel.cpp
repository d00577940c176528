#include "UI/TarnSeriesCommon/NoteModeEditPanel.h"

#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
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
constexpr std::int32_t kHighestNote = 127;

// Semitones above the key of notes 1 to 8, by scale list index ("Off" has none). The seven-note
// scales repeat the key an octave up as their eighth note.
constexpr std::int32_t kScaleCount = 11;
constexpr std::array<std::array<std::int32_t, kNoteCount>, kScaleCount> kScaleOffsets{{
    {},                         // Off
    {0, 2, 4, 5, 7, 9, 11, 12}, // Major
    {0, 2, 3, 5, 7, 8, 10, 12}, // Minor
    {0, 1, 3, 5, 7, 8, 10, 12}, // Phrygian
    {0, 2, 3, 5, 7, 9, 11, 12}, // Melodic Minor
    {0, 2, 3, 5, 7, 8, 11, 12}, // Harmonic Minor
    {0, 2, 4, 5, 7, 9, 10, 12}, // Mixolydian
    {0, 2, 3, 5, 7, 9, 10, 12}, // Dorian
    {0, 2, 4, 6, 7, 9, 11, 12}, // Lydian
    {0, 1, 3, 5, 6, 8, 10, 12}, // Locrian
    {0, 1, 2, 3, 4, 5, 6, 7},   // Chromatic
}};

} // namespace

LNoteModeEditPanel::LNoteModeEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LNoteModeEditPanel::~LNoteModeEditPanel() = default;

QZRESULT LNoteModeEditPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    mHandler = new LNotificationHandler<LNoteModeEditPanel>(this);
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
    static_cast<void>(SetRangeForAllArrayItems(mNotes, 0.0, kHighestNote));
    {
        const QuietScope quiet(mQuiet);
        mType->SetSelectedIndex(0);
        mScale->SetSelectedIndex(0);
        UpdateNoteControls(kRangeCount);
        UpdateKeyLabel();
    }
    for (const auto& [list, method] :
         {std::pair{mScale, &LNoteModeEditPanel::OnNoteScaleTypeChange},
          std::pair{mType, &LNoteModeEditPanel::OnNoteModeTypeChange}})
    {
        const QZRESULT added = mHandler->AddHandler(
            method, RCPtr<LNotificationDistributor>(list.Get()), NID_SELECTION_CHANGE, 0);
        if (Failed(added))
        {
            QZ_THROW_FAILED_RESULT(added,
                                   "LNoteModeEditPanel::RegisterForAllParameterNotifications");
        }
    }
    SetNotificationForAllArrayItems(mNotes, *mHandler, NID_VALUE_CHANGE,
                                    &LNoteModeEditPanel::OnNoteValueChange);
    return result;
}

QZRESULT LNoteModeEditPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mHolders.clear();
    mNotes.clear();
    mType = nullptr;
    mScale = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LNoteModeEditPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                             const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LNoteModeEditPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                         const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

// The value lists notes 1 to 8 with the last shown note moved to byte 2; filling puts them back
// in order, so the hidden notes keep their places.
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
    SetNote(0, values.GetAt(1));
    if (count == kRangeCount)
    {
        SetNote(1, values.GetAt(2));
        mScale->SetSelectedIndex(0);
    }
    else
    {
        const auto last = static_cast<std::size_t>(count - 1);
        for (std::size_t k = 1; k < kNoteCount; ++k)
        {
            const std::size_t byte = k < last ? k + 2 : k == last ? 2 : k + 1;
            SetNote(k, values.GetAt(static_cast<std::int32_t>(byte)));
        }
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
    values.GetAt(1) = static_cast<signed char>(GetNote(0));
    values.GetAt(2) = static_cast<signed char>(GetNote(last));
    for (std::size_t k = 1; count > kRangeCount && k < kNoteCount; ++k)
    {
        if (k != last)
        {
            const std::size_t byte = k < last ? k + 2 : k + 1;
            values.GetAt(static_cast<std::int32_t>(byte)) = static_cast<signed char>(GetNote(k));
        }
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
    const std::int32_t scale = GetScaleIndex();
    if (scale == 0)
    {
        return;
    }
    const std::int32_t key = GetNote(0);
    for (std::size_t k = 1; k < kNoteCount; ++k)
    {
        SetNote(k, key + kScaleOffsets[static_cast<std::size_t>(scale)][k]);
    }
}

// The first scale whose row from note 1 gives all eight notes, else "Off".
void LNoteModeEditPanel::DetectScale()
{
    const std::int32_t key = GetNote(0);
    std::int32_t found = 0;
    for (std::int32_t scale = 1; scale < kScaleCount && found == 0; ++scale)
    {
        bool matches = true;
        for (std::size_t k = 0; k < kNoteCount && matches; ++k)
        {
            matches = GetNote(k) == key + kScaleOffsets[static_cast<std::size_t>(scale)][k];
        }
        found = matches ? scale : 0;
    }
    mScale->SetSelectedIndex(found);
}

void LNoteModeEditPanel::Report()
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_PARAMETERS_CHANGED);
    Distribute(notification);
}

} // namespace QZ
