// The edit panel of the selected fader ("FADER n", "BANK n" and the continuous-control editor
// "moveableTypePanel"); it sends only whole 6-byte values. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IFader.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"

namespace QZ
{

class LFaderEditPanel : public LFamilyEditPanel<IFader>
{
public:
    LFaderEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
};

} // namespace QZ
