// The layout of the keybed zone family of the device drawing: the four zones "zone1" to "zone4"
// of the group "keybedZones", parameters 1 to 4, edited in "zoneEditPanel".
#pragma once

#include "UI/TarnSeriesCommon/FamilyLayout.h"

namespace QZ
{

[[nodiscard]] const FamilyLayout& GetKeybedZoneLayout();

} // namespace QZ
