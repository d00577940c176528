// One fader's tile ("F1" to "F9" in each bank): the module of its fader's parameter, showing the
// 6-byte assignment in its summary. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IFader.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LFaderPanel : public LFamilyPanel<IFader>
{
public:
    LFaderPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
