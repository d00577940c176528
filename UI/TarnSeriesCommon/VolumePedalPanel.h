// The volume pedal's drawing: the module of its 6-byte continuous-control parameter, showing it in
// its summary. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IVolumePedal.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LVolumePedalPanel : public LFamilyPanel<IVolumePedal>
{
public:
    LVolumePedalPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
