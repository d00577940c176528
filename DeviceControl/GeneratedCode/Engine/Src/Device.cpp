#include "DeviceControl/GeneratedCode/Engine/Inc/Device.h"

QZ::RCPtr<LDevice> LDevice::Create()
{
    QZ::RCPtr<LDevice> device(new LDevice());
    device->CreateSubModules();
    return device;
}

void LDevice::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                              std::uint32_t index)
{
    IDevice::SetFirstParamID(parent, firstParamID, index);
    if (mFirstParamID != FindRoot()->GetFirstParamID())
    {
        QZ_THROW_LOGIC("LDevice::SetFirstParamID", "Invalid FirstParamID");
    }
}

void LDevice::CreateSubModules()
{
    mPresetName = LPresetName::Create();
    mKeybedZones = LKeybedZones::Create();
    mWheels = LWheels::Create();
    mPedals = LPedals::Create();
    mPads = LPads::Create();
    mPushButtons = LPushButtons::Create();
    mFaders = LFaders::Create();
    mEncoders = LEncoders::Create();
    mTouchPadAxises = LTouchPadAxises::Create();
}
