// IPedals: the container of the two pedals (offset 7: the volume pedal, then the sustain pedal at
// offset 8), as the model's LPedals and the editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ISustainPedal.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IVolumePedal.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"

class IPedals : public LParameterizedModule
{
public:
    using LParameterizedModule::GetModule;

    // Stores the three values, then places the volume pedal with (this, firstParamID, 0) and the
    // sustain pedal with (this, firstParamID + 1, 0), skipping a missing one.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Number paramID - mFirstParamID: 0 the volume pedal's answer, 1 the sustain pedal's, else
    // null.
    [[nodiscard]] QZ::RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override;
    // To the volume pedal, then the sustain pedal.
    void PropagateEventA() override;
    void PropagateEventB() override;

    [[nodiscard]] virtual QZ::ConstRCPtr<IVolumePedal> GetVolumePedal() const;
    [[nodiscard]] virtual QZ::RCPtr<IVolumePedal> GetVolumePedal() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<ISustainPedal> GetSustainPedal() const;
    [[nodiscard]] virtual QZ::RCPtr<ISustainPedal> GetSustainPedal() = 0;

protected:
    using LParameterizedModule::LParameterizedModule;
};
