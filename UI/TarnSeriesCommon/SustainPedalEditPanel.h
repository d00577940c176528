// The sustain pedal's edit panel with the push-button editor "buttonTypePanel": the pedal's 6
// bytes fill the editor's 10 (the operands the pedal does not keep shown as 1, 0, 1, 0) and six of
// the editor's bytes are sent back. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ISustainPedal.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"

namespace QZ
{

class LButtonControlEditPanel;

class LSustainPedalEditPanel : public LFamilyEditPanel<ISustainPedal>
{
public:
    LSustainPedalEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LSustainPedalEditPanel() override;

    QZRESULT ReleaseInternalReferences() override;

protected:
    void FindEditors() override;
    void FillEditors(const Array<signed char>& value) override;
    [[nodiscard]] std::optional<Array<signed char>> ReadEditors() override;

private:
    RCPtr<LButtonControlEditPanel> mButtonEditor;
};

} // namespace QZ
