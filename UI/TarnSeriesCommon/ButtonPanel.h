// One drawn push button of the device drawing. As a leaf of the device-model tree it is the module
// of its button's parameter: placed by the button group, it numbers itself and shows every
// 17-byte value it accepts in its summary panel "viewPanel". User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButton.h"
#include "QZFramework/Controls/Panel.h"

namespace QZ
{

class LButtonPanel : public LPanel, public IPushButton
{
public:
    LButtonPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    // Places the module and shows its number within its bank on "buttonNumberLabel"; throws the
    // runtime error "Null Pointer : Cannot find child: buttonNumberLabel" without that label.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // E_FAIL for another parameter or a value that is not a push-button value; else shows the
    // assignment and answers 0.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool fromDevice) override;
};

} // namespace QZ
