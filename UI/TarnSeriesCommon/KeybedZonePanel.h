// One drawn keybed zone. As a leaf of the device-model tree it is the module of its zone's
// parameter: placed by the zone group, it names itself "ZONE n" and shows every zone value it
// accepts as its key range (note names from the zone edit panel's first-key selector) in
// "infoLabel" and its channel in "midiChannel". User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZone.h"
#include "QZFramework/Controls/Panel.h"

namespace QZ
{

class LLabel;

class LKeybedZonePanel : public LPanel, public IKeybedZone
{
public:
    LKeybedZonePanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LKeybedZonePanel() override;

    // Finds "infoLabel"; without it throws the runtime error "Null Pointer : Cannot find child:
    // infoLabel".
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // Places the module and shows "ZONE n" for index n - 1 on "zoneName"; throws the runtime
    // error "Null Pointer : Cannot find child: zoneName" without that label.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // E_FAIL, changing nothing, for another parameter or a value that is not nine bytes; else
    // shows the key range and the channel and answers 0. Without the note name lists the key
    // range keeps its text.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool fromDevice) override;

private:
    RCPtr<LLabel> mInfo;
};

} // namespace QZ
