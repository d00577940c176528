// The panel of the 16 pad tiles ("pad1" to "pad16", parameters 9 to 24 of the device) and their
// container module; a click on a tile selects that pad for the pad edit panel "padEditPanel".
// User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPads.h"
#include "UI/TarnSeriesCommon/FamilyGroupPanel.h"
#include "UI/TarnSeriesCommon/PadEditPanel.h"
#include "UI/TarnSeriesCommon/PadPanel.h"

namespace QZ
{

class LPadGroupPanel : public LFamilyGroupPanel<IPads, IPad, LPadPanel, LPadEditPanel>
{
public:
    LPadGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    [[nodiscard]] RCPtr<IPad> GetPad(std::uint32_t index) override;
};

} // namespace QZ
