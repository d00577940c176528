// One axis tile of the XY pad ("xAxis", "yAxis"): the module of its axis's parameter, showing the
// continuous-control half of the axis's value in its summary "viewPanel". User-interface thread
// only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxis.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LXYPadDirectionPanel : public LFamilyPanel<ITouchPadAxis>
{
public:
    LXYPadDirectionPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
