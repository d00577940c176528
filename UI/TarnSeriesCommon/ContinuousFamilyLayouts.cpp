#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

#include "UI/TarnSeriesCommon/EditPanelHost.h"

namespace QZ
{

const FamilyLayout& GetEncoderLayout()
{
    static const FamilyLayout layout{
        .elements = BankedElements(u"encoderBank", 4, u"encoder", 8),
        .perBank = 8,
        .controlType = kEncoderControlType,
        .groupClass = "LEncoderGroupPanel",
        .editPanelName = u"knobEditPanel",
        .missingEditPanel = "knobEditPanel knob found",
        .viewClass = "LEncoderPanel",
        .missingView = "cannot find child viewPanel",
        .viewLabels = {{u"encoderNameLabel", "Cannot find child: encoderNameLabel",
                        LabelNumber::WithinBank}},
        .editClass = "LEncoderEditPanel",
        .missingEditor = "Cannot find child: moveableTypePanel",
        .editLabels = {{u"knobName", "Couldn't find child knobName", LabelNumber::WithinBank},
                       {u"bankName", "Couldn't find child bankName", LabelNumber::Bank}},
        .value = UnchangedValue(6),
    };
    return layout;
}

} // namespace QZ
