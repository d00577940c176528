// One wheel's drawing ("pitchWheel" or "modWheel"): the module of its wheel's 5-byte parameter,
// showing it in its summary as the 6-byte continuous-control assignment (absolute). User-interface
// thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IWheel.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LWheelPanel : public LFamilyPanel<IWheel>
{
public:
    LWheelPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
