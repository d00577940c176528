#include "UI/TarnSeriesCommon/KeybedZoneLayout.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ValueLayout.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"

namespace QZ
{

// The zone edit panel is bound before it shows; it owns its controls instead of a shared editor.
const FamilyLayout& GetKeybedZoneLayout()
{
    static const FamilyLayout layout{
        .elements = NumberedElements(u"zone", 4),
        .controlType = kKeybedZoneControlType,
        .bindBeforeShow = true,
        .groupClass = "LKeybedZoneGroupPanel",
        .editPanelName = u"zoneEditPanel",
        .missingEditPanel = "zoneEditPanel not found",
        .viewClass = "LKeybedZonePanel",
        .viewName = u"infoLabel",
        .missingView = "Cannot find child: infoLabel",
        .viewLabels = {{u"zoneName", "Cannot find child: zoneName", LabelNumber::Element}},
        .editClass = "LKeybedZoneEditPanel",
        .editorName = u"",
        .editLabels = {{u"zoneName", "couldn't find child zoneName", LabelNumber::Element}},
        .value = UnchangedValue(KeybedZoneByte::kSize),
    };
    return layout;
}

} // namespace QZ
