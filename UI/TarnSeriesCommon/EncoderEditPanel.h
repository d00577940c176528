// The edit panel of the selected encoder ("ENCODER n", "BANK n" and the continuous-control editor
// "moveableTypePanel"); it sends only whole 6-byte values. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoder.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"

namespace QZ
{

class LEncoderEditPanel : public LFamilyEditPanel<IEncoder>
{
public:
    LEncoderEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
