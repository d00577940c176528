// The panel of the four drawn keybed zones ("zone1" to "zone4", parameters 1 to 4 of the device)
// and their container module; a click on a zone binds the zone edit panel "zoneEditPanel" to it
// and then shows that panel. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZones.h"
#include "UI/TarnSeriesCommon/FamilyGroupPanel.h"
#include "UI/TarnSeriesCommon/KeybedZoneEditPanel.h"
#include "UI/TarnSeriesCommon/KeybedZonePanel.h"

namespace QZ
{

class LKeybedZoneGroupPanel
    : public LFamilyGroupPanel<IKeybedZones, IKeybedZone, LKeybedZonePanel, LKeybedZoneEditPanel>
{
public:
    LKeybedZoneGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    [[nodiscard]] RCPtr<IKeybedZone> GetKeybedZone(std::uint32_t index) override;
};

} // namespace QZ
