#include "DeviceControl/GeneratedCode/Engine/Inc/Wheel.h"

QZ::RCPtr<LWheel> LWheel::Create()
{
    QZ::RCPtr<LWheel> module(new LWheel());
    module->CreateSubModules();
    return module;
}

LWheel::LWheel() : IWheel(1) {}

void LWheel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                             std::uint32_t index)
{
    IWheel::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::Wheel))
    {
        QZ_THROW_LOGIC("LWheel::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LWheel::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                        const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LWheel::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LWheel::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LWheel::GetParamValueLocal");
    }
    return IWheel::GetParamValueLocal(descriptor);
}

QZ::Variant LWheel::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LWheel::GetParamValueDefault");
    }
    const std::uint8_t pitch[] = {0x00, 0x01, 0x10, 0x00, 0x7F};
    const std::uint8_t modulation[] = {0x00, 0x00, 0x00, 0x00, 0x7F};
    return mIndex == 0 ? MakeByteString(pitch) : MakeByteString(modulation);
}

void LWheel::CreateSubModules() {}
