#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

#include "UI/TarnSeriesCommon/EditPanelHost.h"

namespace QZ
{
namespace
{

// Bytes 0 and 5 to 13 of a pad value.
ByteMap PadAssignmentBytes()
{
    ByteMap map{Take(0)};
    for (std::int32_t k = 1 + static_cast<std::int32_t>(kPadColourBytes);
         k < static_cast<std::int32_t>(kPadValueSize); ++k)
    {
        map.push_back(Take(k));
    }
    return map;
}

} // namespace

const FamilyLayout& GetPadLayout()
{
    static const FamilyLayout layout{
        .elements = NumberedElements(u"pad", 16),
        .controlType = kPadControlType,
        // A click binds the edit panel before the device view shows it.
        .bindBeforeShow = true,
        .groupClass = "LPadGroupPanel",
        .editPanelName = u"padEditPanel",
        .viewClass = "LPadPanel",
        .missingView = "child: viewPanel not found",
        .viewLabels = {{u"padNumberLabel", "Cannot find child: padNumberLabel",
                        LabelNumber::Element}},
        .editClass = "LPadEditPanel",
        .missingEditor = "Couldn't find viewTabControl page: midiPage",
        .editLabels = {{u"padName", "Couldn't find child padName", LabelNumber::Element}},
        .value = {.valueSize = kPadValueSize,
                  .toEditor = PadAssignmentBytes(),
                  .toView = PadAssignmentBytes(),
                  .editorSize = 10,
                  .fromEditor = {}},
    };
    return layout;
}

const FamilyLayout& GetXYPadAxisLayout()
{
    static const FamilyLayout layout{
        .elements = NamedElements({u"xAxis", u"yAxis"}),
        .controlType = kXYPadControlType,
        .groupClass = "LXYPadDirectionGroupPanel",
        .editPanelName = u"xyPadEditPanel",
        .missingEditPanel = "Cannot find child xyPadEditPanel",
        .viewClass = "LXYPadDirectionPanel",
        .missingView = "cannot find child viewPanel",
        .editClass = "LXYPadEditPanel",
        .missingEditor = "Cannot find child: viewTabControl: midiPage",
        .editLabels = {{u"axisName",
                        "Cannot find child: axisName",
                        LabelNumber::Keyed,
                        {u"LABEL_X_AXIS", u"LABEL_Y_AXIS"}}},
        // The two pages together take the value as it is, each its own half.
        .value = {.valueSize = kAxisAssignmentSize + kAxisNoteModeSize,
                  .toEditor = SameBytes(kAxisAssignmentSize + kAxisNoteModeSize),
                  .toView = SameBytes(kAxisAssignmentSize),
                  .editorSize = kAxisAssignmentSize + kAxisNoteModeSize,
                  .fromEditor = SameBytes(kAxisAssignmentSize + kAxisNoteModeSize)},
    };
    return layout;
}

} // namespace QZ
