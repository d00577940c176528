// One encoder's tile ("E1" to "E8" in each bank): the module of its encoder's parameter, showing
// the 6-byte assignment in its summary. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoder.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LEncoderPanel : public LFamilyPanel<IEncoder>
{
public:
    LEncoderPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
