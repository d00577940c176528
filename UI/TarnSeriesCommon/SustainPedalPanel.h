// The sustain pedal's drawing: the module of its 6-byte parameter, showing it in its push-button
// summary ("viewPanel", an LButtonControlViewPanel) as the button's 10-byte assignment.
// User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ISustainPedal.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LSustainPedalPanel : public LFamilyPanel<ISustainPedal>
{
public:
    LSustainPedalPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

protected:
    void ShowValue(const Array<signed char>& value) override;
};

} // namespace QZ
