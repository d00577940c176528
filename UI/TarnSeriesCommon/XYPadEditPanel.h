// The edit panel of the selected XY pad axis ("X-AXIS", "Y-AXIS"): two pages of its tab control
// "viewTabControl" edit the axis together, the continuous-control editor "midiPage" (the value's
// first 6 bytes) and the note-mode editor "noteModePage" (its last 9). A change on either page
// sends the whole 15-byte value once. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxis.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"

namespace QZ
{

class LXYPadEditPanel : public LFamilyEditPanel<ITouchPadAxis>
{
public:
    LXYPadEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    QZRESULT ReleaseInternalReferences() override;

protected:
    // The tab control and both pages, each an IAssignmentEditor; a missing one throws the runtime
    // error "Null Pointer".
    void FindEditors() override;
    void FillEditors(const Array<signed char>& value) override;
    [[nodiscard]] std::optional<Array<signed char>> ReadEditors() override;

private:
    RCPtr<LControl> mMidiPage;
    RCPtr<LControl> mNoteModePage;
    IAssignmentEditor* mMidi = nullptr;
    IAssignmentEditor* mNoteMode = nullptr;
};

} // namespace QZ
