#include "UI/TarnSeriesCommon/KeybedZoneGroupPanel.h"

#include "UI/TarnSeriesCommon/KeybedZoneLayout.h"

namespace QZ
{

LKeybedZoneGroupPanel::LKeybedZoneGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                             bool mostDerived)
    : LFamilyGroupPanel(parent, name, mostDerived, GetKeybedZoneLayout())
{
}

RCPtr<IKeybedZone> LKeybedZoneGroupPanel::GetKeybedZone(std::uint32_t index)
{
    return GetElementModule(index);
}

} // namespace QZ
