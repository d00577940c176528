// One drawn keybed zone ("ZONE n"): the module of its zone's parameter. Every zone value it
// accepts shows as the key range in "infoLabel", named by the note and octave names of the zone
// edit panel's first-key selector, and as the channel in "midiChannel". User-interface thread
// only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZone.h"
#include "UI/TarnSeriesCommon/FamilyPanel.h"

namespace QZ
{

class LKeybedZonePanel : public LFamilyPanel<IKeybedZone>
{
public:
    LKeybedZonePanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

protected:
    // Without the name lists the key range keeps its text; the channel shows regardless.
    void ShowValue(const Array<signed char>& value) override;
};

} // namespace QZ
