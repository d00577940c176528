// A MIDI note number with its name and octave: the number lives in the child "numericUpDown"
// (0 to 127) and every change of it, by the user or by an owner, rewrites "noteNameLabel" and
// "octaveNameLabel" from their own string tables. The tables make the spelling: the note pages
// write sharps and count octaves from -1, the keybed zones write flats and count from 1.
//
// Beside it, the scale helpers with which the note-mode editor fills a row of note selectors from
// the first one. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LLabel;
class LNumericUpDown;
class LStringTable;

class LMidiNoteSelector : public LPanel
{
public:
    LMidiNoteSelector(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LMidiNoteSelector() override;

    // Finds the three children (a missing one throws the runtime error "Null Pointer"), ranges
    // the number 0 to 127, shows its labels and follows its changes; a refused subscription
    // throws FailedResultException.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // Shows the table's entry at the index in the label: the label's text-setting result, or 0
    // (and the label unchanged) for an index beyond the table.
    virtual QZRESULT SetLabelFromTable(const RCPtr<LStringTable>& table, std::uint32_t index,
                                       LControl& label);
    void UpdateLabels();

private:
    QZRESULT OnNumberChanged(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LMidiNoteSelector>> mHandler;
    RCPtr<LLabel> mNoteNameLabel;
    RCPtr<LLabel> mOctaveNameLabel;
    RCPtr<LNumericUpDown> mNumericUpDown;
};

// Scale numbers of the interval table: 0 to 8 seven-note scales (0 major, 1 minor, 2 phrygian,
// 3 melodic minor, 4 harmonic minor, 5 mixolydian, 6 lydian, 7 dorian, 8 locrian), 9 the
// chromatic row upward and 10 downward.
//
// Replaces the notes by count notes of the scale from the start, octave after octave; the notes
// are not limited to the MIDI range. An unknown scale gives no notes.
void BuildScaleNotes(Array<double>& notes, std::int32_t scale, double start, std::int32_t count);
// Gives every control the note of the scale that starts at the first control's value, limited to
// the control's range (each change is reported by the control as usual). Nothing changes for an
// unknown scale, an empty list or an empty first control. 0.
QZRESULT ApplyScaleToControls(const std::vector<RCPtr<LControl>>& controls, std::int32_t scale);
// True when every control holds what ApplyScaleToControls would give it for that scale: the
// notes limited to each control's range, so a scale reaching above the top is recognised too.
[[nodiscard]] bool ControlsFollowScale(const std::vector<RCPtr<LControl>>& controls,
                                       std::int32_t scale);

} // namespace QZ
