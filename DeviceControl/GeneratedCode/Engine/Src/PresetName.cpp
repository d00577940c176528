#include "DeviceControl/GeneratedCode/Engine/Inc/PresetName.h"

QZ::RCPtr<LPresetName> LPresetName::Create()
{
    QZ::RCPtr<LPresetName> module(new LPresetName());
    module->CreateSubModules();
    return module;
}

LPresetName::LPresetName() : IPresetName(1) {}

void LPresetName::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                  std::uint32_t index)
{
    IPresetName::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::PresetName))
    {
        QZ_THROW_LOGIC("LPresetName::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LPresetName::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                             const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LPresetName::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LPresetName::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LPresetName::GetParamValueLocal");
    }
    return IPresetName::GetParamValueLocal(descriptor);
}

QZ::Variant LPresetName::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LPresetName::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {0x50, 0x52, 0x45, 0x53, 0x45, 0x54};
    return MakeByteString(bytes);
}

void LPresetName::CreateSubModules() {}
