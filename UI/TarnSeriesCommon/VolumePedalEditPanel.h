// The volume pedal's edit panel with the continuous-control editor "moveableTypePanel"; it sends
// only whole 6-byte values. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IVolumePedal.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"

namespace QZ
{

class LVolumePedalEditPanel : public LFamilyEditPanel<IVolumePedal>
{
public:
    LVolumePedalEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
