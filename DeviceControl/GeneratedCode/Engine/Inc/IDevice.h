// IDevice: the device module, holding the nine members of a preset at their offsets (preset name
// 0, keybed zones 1, wheels 5, pedals 7, pads 9, push buttons 25, faders 61, encoders 97, touch-pad
// axes 129). The model's LDevice and the editor's device view both implement it; they reach the
// members only through the getters, so both share the placing, routing and event bodies here, and
// a member an implementation lacks (a null getter) is skipped.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoders.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IFaders.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZones.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPads.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPedals.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPresetName.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButtons.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxises.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IWheels.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"

class IDevice : public LParameterizedModule
{
public:
    using LParameterizedModule::GetModule;

    // Stores the three values, then places each member with (this, firstParamID + its offset, 0).
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // The answer of the member whose run holds paramID - mFirstParamID, or null outside 0 to 130.
    [[nodiscard]] QZ::RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override;
    // To the nine members in identifier order.
    void PropagateEventA() override;
    void PropagateEventB() override;

    // Each const getter calls its non-const twin.
    [[nodiscard]] virtual QZ::ConstRCPtr<IPresetName> GetPresetName() const;
    [[nodiscard]] virtual QZ::RCPtr<IPresetName> GetPresetName() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IKeybedZones> GetKeybedZones() const;
    [[nodiscard]] virtual QZ::RCPtr<IKeybedZones> GetKeybedZones() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IWheels> GetWheels() const;
    [[nodiscard]] virtual QZ::RCPtr<IWheels> GetWheels() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IPedals> GetPedals() const;
    [[nodiscard]] virtual QZ::RCPtr<IPedals> GetPedals() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IPads> GetPads() const;
    [[nodiscard]] virtual QZ::RCPtr<IPads> GetPads() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IPushButtons> GetPushButtons() const;
    [[nodiscard]] virtual QZ::RCPtr<IPushButtons> GetPushButtons() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IFaders> GetFaders() const;
    [[nodiscard]] virtual QZ::RCPtr<IFaders> GetFaders() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<IEncoders> GetEncoders() const;
    [[nodiscard]] virtual QZ::RCPtr<IEncoders> GetEncoders() = 0;
    [[nodiscard]] virtual QZ::ConstRCPtr<ITouchPadAxises> GetTouchPadAxises() const;
    [[nodiscard]] virtual QZ::RCPtr<ITouchPadAxises> GetTouchPadAxises() = 0;

protected:
    using LParameterizedModule::LParameterizedModule;

private:
    // The member that owns control type type's run (both pedal types give the pedals).
    [[nodiscard]] QZ::RCPtr<LParameterizedModule> GetMember(ControlType type);
    // The nine members in identifier order, with their offsets; missing ones are null.
    template <class Visit> void ForEachMember(Visit visit);
};
