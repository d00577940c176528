// The note-mode editor of an XY pad axis ("noteModePage"): either a range from a first to a last
// note, or a row of three to eight notes that the user may also have laid out along a scale from a
// key note.
//
// The note-mode value is 9 bytes: the note count N (2 for a range), the first note, the last note,
// then notes 2 to N-1 and the notes beyond N that the hidden selectors still hold, so that no note
// is lost while the user tries other counts. The scale is not stored: filling the editor recognises
// it from the eight notes. The editor's whole state is in its selectors.
//
// A scale whose top notes lie above 127 holds them at 127, and is recognised so. Filling sends
// nothing; each change by the user sends "NID_PARAMETERS_CHANGED" once, after every
// note the change moves (a new key moves the whole scale) has been set. User-interface thread only.
#pragma once

#include "UI/TarnSeriesCommon/AssignmentEditor.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LComboBox;
class LNumericUpDown;

class LNoteModeEditPanel : public LHandlingPanel<LNoteModeEditPanel>, public IAssignmentEditor
{
public:
    LNoteModeEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LNoteModeEditPanel() override;

    // Finds the type and scale lists and the eight note up-downs; a missing one throws the
    // runtime error "Null Pointer : can not find <selector> child <child>".
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // E_INVALIDARG for a value that is not 9 bytes. A count outside 2 to 8 is shown as the nearest
    // count; a note byte above 127 (a negative signed byte) as note 0.
    std::int32_t SetParamValues(const Array<signed char>& values) override;
    [[nodiscard]] Array<signed char> GetParamValues() const override;

private:
    QZRESULT OnNoteValueChange(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);
    QZRESULT OnNoteModeTypeChange(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification);
    QZRESULT OnNoteScaleTypeChange(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);

    [[nodiscard]] std::int32_t GetNoteCount() const;
    [[nodiscard]] std::int32_t GetScaleIndex() const;
    [[nodiscard]] std::int32_t GetNote(std::size_t index) const;
    void SetNote(std::size_t index, std::int32_t note);
    void UpdateNoteControls(std::int32_t count);
    void UpdateKeyLabel();
    void ApplyScale();
    void DetectScale();
    [[nodiscard]] std::vector<RCPtr<LControl>> GetNoteControls() const;
    [[nodiscard]] RCPtr<LControl> GetLabel(std::size_t index) const;
    void Report();

    // "note1" to "note8" and their up-downs.
    std::vector<RCPtr<LControl>> mHolders;
    std::vector<RCPtr<LNumericUpDown>> mNotes;
    RCPtr<LComboBox> mType;
    RCPtr<LComboBox> mScale;
    // Raised while the editor itself sets its selectors, so their notifications are not taken
    // for the user's.
    bool mQuiet = false;
};

} // namespace QZ
