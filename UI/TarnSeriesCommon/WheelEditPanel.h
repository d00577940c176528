// The edit panel of the selected wheel ("P. WHEEL" or "M. WHEEL" and the continuous-control
// editor "moveableTypePanel"), exchanging the wheel's 5 bytes as the editor's 6 (the relative
// flag shown as absolute and dropped when sent). User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IWheel.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"

namespace QZ
{

class LWheelEditPanel : public LFamilyEditPanel<IWheel>
{
public:
    LWheelEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
