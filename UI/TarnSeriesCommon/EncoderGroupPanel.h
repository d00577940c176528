// The panel of the 32 encoder tiles ("encoder1" to "encoder8" of "encoderBank1" to
// "encoderBank4", parameters 97 to 128 of the device) and their container module; a click on a
// tile selects that encoder for the encoder edit panel "knobEditPanel". User-interface thread
// only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoders.h"
#include "UI/TarnSeriesCommon/EncoderEditPanel.h"
#include "UI/TarnSeriesCommon/EncoderPanel.h"
#include "UI/TarnSeriesCommon/FamilyGroupPanel.h"

namespace QZ
{

class LEncoderGroupPanel
    : public LFamilyGroupPanel<IEncoders, IEncoder, LEncoderPanel, LEncoderEditPanel>
{
public:
    LEncoderGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    [[nodiscard]] RCPtr<IEncoder> GetEncoder(std::uint32_t index) override;
};

} // namespace QZ
