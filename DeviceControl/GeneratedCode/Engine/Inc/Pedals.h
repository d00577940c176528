// LPedals: the model's container of the volume pedal (offset 7) and the sustain pedal (offset 8).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPedals.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/SustainPedal.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/VolumePedal.h"

class LPedals : public IPedals
{
public:
    // A new container holding a new volume pedal and sustain pedal, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LPedals> Create();

    // Places both pedals, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not 7.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    [[nodiscard]] QZ::ConstRCPtr<IVolumePedal> GetVolumePedal() const override;
    [[nodiscard]] QZ::RCPtr<IVolumePedal> GetVolumePedal() override;
    [[nodiscard]] QZ::ConstRCPtr<ISustainPedal> GetSustainPedal() const override;
    [[nodiscard]] QZ::RCPtr<ISustainPedal> GetSustainPedal() override;
    // Creates the volume pedal, then the sustain pedal.
    virtual void CreateSubModules();

protected:
    LPedals() = default;

private:
    // Declared in this order so that the sustain pedal is released first.
    QZ::RCPtr<LVolumePedal> mVolumePedal;
    QZ::RCPtr<LSustainPedal> mSustainPedal;
};
