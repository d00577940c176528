// The panel of the two wheels ("pitchWheel" and "modWheel", parameters 5 and 6 of the device)
// and their container module; a click on a wheel selects it for the wheel edit panel
// "wheelEditPanel". User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IWheels.h"
#include "UI/TarnSeriesCommon/WheelEditPanel.h"
#include "UI/TarnSeriesCommon/WheelPanel.h"
#include "UI/TarnSeriesCommon/FamilyGroupPanel.h"

namespace QZ
{

class LWheelGroupPanel : public LFamilyGroupPanel<IWheels, IWheel, LWheelPanel, LWheelEditPanel>
{
public:
    LWheelGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    [[nodiscard]] RCPtr<IWheel> GetWheel(std::uint32_t index) override;
};

} // namespace QZ
