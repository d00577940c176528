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

const FamilyLayout& GetFaderLayout()
{
    static const FamilyLayout layout{
        .elements = BankedElements(u"faderBank", 4, u"fader", 9),
        .perBank = 9,
        .controlType = kFaderControlType,
        .groupClass = "LFaderGroupPanel",
        .editPanelName = u"faderEditPanel",
        .missingEditPanel = "faderEditPanel knob found",
        .viewClass = "LFaderPanel",
        .missingView = "cannot find child viewPanel",
        .viewLabels = {{u"faderNumberLabel", "Cannot find child: faderNumberLabel",
                        LabelNumber::WithinBank}},
        .editClass = "LFaderEditPanel",
        .missingEditor = "Cannot find child: moveableTypePanel",
        .editLabels = {{u"faderName", "Cannot find child: faderName", LabelNumber::WithinBank},
                       {u"bankName", "Couldn't find child bankName", LabelNumber::Bank}},
        .value = UnchangedValue(6),
    };
    return layout;
}

const FamilyLayout& GetWheelLayout()
{
    static const FamilyLayout layout{
        .elements = NamedElements({u"pitchWheel", u"modWheel"}),
        .controlType = kWheelControlType,
        .groupClass = "LWheelGroupPanel",
        .editPanelName = u"wheelEditPanel",
        .viewClass = "LWheelPanel",
        .missingView = "cannot find child viewPanel",
        .editClass = "LWheelEditPanel",
        .missingEditor = "Cannot find child: moveableTypePanel",
        .editLabels = {{u"wheelName",
                        "couldn't find child wheelName",
                        LabelNumber::Keyed,
                        {u"PITCH_LABEL", u"MOD_LABEL"}}},
        .value = {.valueSize = 5,
                  .toEditor = {Take(0), Take(1), Take(2), Fixed(0), Take(3), Take(4)},
                  .toView = {Take(0), Take(1), Take(2), Fixed(0), Take(3), Take(4)},
                  .editorSize = 6,
                  .fromEditor = {Take(0), Take(1), Take(2), Take(4), Take(5)}},
    };
    return layout;
}

const FamilyLayout& GetVolumePedalLayout()
{
    static const FamilyLayout layout{
        .controlType = kPedalControlType,
        .groupClass = "LPedalGroupPanel",
        .editPanelName = u"volumePedalEditPanel",
        .missingEditPanel = "volumeEditPanel not found",
        .viewClass = "LVolumePedalPanel",
        .missingView = "cannot find child viewPanel",
        .editClass = "LVolumePedalEditPanel",
        .missingEditor = "Cannot find child: moveableTypePanel",
        .value = UnchangedValue(6),
    };
    return layout;
}

const FamilyLayout& GetSustainPedalLayout()
{
    static const FamilyLayout layout{
        .controlType = kPedalControlType,
        .groupClass = "LPedalGroupPanel",
        .editPanelName = u"sustainEditPage",
        .missingEditPanel = "sustainEditPanel not found",
        .viewClass = "LSustainPedalPanel",
        .missingView = "child: viewPanel not found",
        .editClass = "LSustainPedalEditPanel",
        .editorName = u"buttonTypePanel",
        .missingEditor = "Cannot find child: buttonTypePanel",
        .value = {.valueSize = 6,
                  .toEditor = {Take(0), Take(1), Take(2), Take(3), Take(4), Fixed(1), Fixed(0),
                               Fixed(1), Fixed(0), Take(5)},
                  .toView = {Take(0), Take(1), Take(2), Take(3), Take(4), Fixed(0), Fixed(0),
                             Fixed(0), Fixed(0), Take(5)},
                  .editorSize = 10,
                  .fromEditor = {Take(0), Take(1), Take(2), Take(3), Take(4), Take(9)}},
    };
    return layout;
}

} // namespace QZ
