// LDevice: the model's device module, owning the nine members of a preset.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/Encoders.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Faders.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IDevice.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/KeybedZones.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Pads.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Pedals.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/PresetName.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/PushButtons.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/TouchPadAxises.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Wheels.h"

class LDevice : public IDevice
{
public:
    // A new device with its nine members, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LDevice> Create();

    // Places the members, then throws "Invalid FirstParamID" unless the device's offset from the
    // root is 0.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;

    using IDevice::GetEncoders;
    using IDevice::GetFaders;
    using IDevice::GetKeybedZones;
    using IDevice::GetPads;
    using IDevice::GetPedals;
    using IDevice::GetPresetName;
    using IDevice::GetPushButtons;
    using IDevice::GetTouchPadAxises;
    using IDevice::GetWheels;
    [[nodiscard]] QZ::RCPtr<IPresetName> GetPresetName() override { return mPresetName; }
    [[nodiscard]] QZ::RCPtr<IKeybedZones> GetKeybedZones() override { return mKeybedZones; }
    [[nodiscard]] QZ::RCPtr<IWheels> GetWheels() override { return mWheels; }
    [[nodiscard]] QZ::RCPtr<IPedals> GetPedals() override { return mPedals; }
    [[nodiscard]] QZ::RCPtr<IPads> GetPads() override { return mPads; }
    [[nodiscard]] QZ::RCPtr<IPushButtons> GetPushButtons() override { return mPushButtons; }
    [[nodiscard]] QZ::RCPtr<IFaders> GetFaders() override { return mFaders; }
    [[nodiscard]] QZ::RCPtr<IEncoders> GetEncoders() override { return mEncoders; }
    [[nodiscard]] QZ::RCPtr<ITouchPadAxises> GetTouchPadAxises() override
    {
        return mTouchPadAxises;
    }

    // Creates the nine members in identifier order.
    virtual void CreateSubModules();

protected:
    LDevice() = default;

private:
    // In identifier order, so that they are released in reverse: touch-pad axes first, preset
    // name last.
    QZ::RCPtr<LPresetName> mPresetName;
    QZ::RCPtr<LKeybedZones> mKeybedZones;
    QZ::RCPtr<LWheels> mWheels;
    QZ::RCPtr<LPedals> mPedals;
    QZ::RCPtr<LPads> mPads;
    QZ::RCPtr<LPushButtons> mPushButtons;
    QZ::RCPtr<LFaders> mFaders;
    QZ::RCPtr<LEncoders> mEncoders;
    QZ::RCPtr<LTouchPadAxises> mTouchPadAxises;
};
