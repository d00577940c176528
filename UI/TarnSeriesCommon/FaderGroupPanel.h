// The panel of the 36 fader tiles ("fader1" to "fader9" of "faderBank1" to "faderBank4",
// parameters 61 to 96 of the device) and their container module; a click on a tile selects that
// fader for the fader edit panel "faderEditPanel". User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IFaders.h"
#include "UI/TarnSeriesCommon/FaderEditPanel.h"
#include "UI/TarnSeriesCommon/FaderPanel.h"
#include "UI/TarnSeriesCommon/FamilyGroupPanel.h"

namespace QZ
{

class LFaderGroupPanel : public LFamilyGroupPanel<IFaders, IFader, LFaderPanel, LFaderEditPanel>
{
public:
    LFaderGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    [[nodiscard]] RCPtr<IFader> GetFader(std::uint32_t index) override;
};

} // namespace QZ
