// One drawn push button of the device drawing. As a leaf of the device-model tree it is the module
// of its button's parameter: placed by the button group, it numbers itself and shows every
// 17-byte value it accepts in its summary panel "viewPanel" and its colour indicator "color"
// (one of the four light colours; Shift-clicks step through them). User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButton.h"
#include "UI/TarnSeriesCommon/ColourPreview.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"

namespace QZ
{

class LButtonControlViewPanel;

class LButtonPanel : public LHandlingPanel<LButtonPanel>, public IPushButton
{
public:
    LButtonPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LButtonPanel() override;

    // Finds "color" and "viewPanel" (a missing one throws the runtime error "Null Pointer :
    // child: <name> not found") and listens to the clicks of "button" (a FailedResultException
    // without it).
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // Places the module and shows its number within its bank on "buttonNumberLabel"; throws the
    // runtime error "Null Pointer : Cannot find child: buttonNumberLabel" without that label.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // E_FAIL, changing nothing, for another parameter or a value that is not a push-button
    // value; else shows the assignment and the colour and answers 0.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool fromDevice) override;

private:
    QZRESULT OnButtonClicked(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);

    RCPtr<LButtonControlViewPanel> mView;
    ColourPreview mColour;
};

} // namespace QZ
