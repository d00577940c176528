// One pad's tile ("P1" to "P16"): the module of its pad's parameter, showing the pad's assignment
// in its push-button summary "viewPanel" and one of its four colours in its indicator "color";
// Shift-clicks on the tile step the indicator through the colours. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPad.h"
#include "UI/TarnSeriesCommon/ColourPreview.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LPadPanel : public LFamilyPanel<IPad>
{
public:
    LPadPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    // The family's children, then "color" (the runtime error "Null Pointer : child: color not
    // found" without it) and the clicks of "button" (a FailedResultException without it).
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

protected:
    void ShowValue(const Array<signed char>& value) override;

private:
    QZRESULT OnColorCycleClicked(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);

    ColourPreview mColour;
};

} // namespace QZ
