// The panel of the XY pad's two axis tiles ("xAxis" and "yAxis", parameters 129 and 130 of the
// device) and their container module; a click on a tile selects that axis for the XY pad edit
// panel "xyPadEditPanel". User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxises.h"
#include "UI/TarnSeriesCommon/FamilyGroupPanel.h"
#include "UI/TarnSeriesCommon/XYPadDirectionPanel.h"
#include "UI/TarnSeriesCommon/XYPadEditPanel.h"

namespace QZ
{

class LXYPadDirectionGroupPanel : public LFamilyGroupPanel<ITouchPadAxises, ITouchPadAxis,
                                                           LXYPadDirectionPanel, LXYPadEditPanel>
{
public:
    LXYPadDirectionGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                              bool mostDerived);

    [[nodiscard]] RCPtr<ITouchPadAxis> GetTouchPadAxis(std::uint32_t index) override;
};

} // namespace QZ
