#include "DeviceControl/GeneratedCode/Engine/Inc/VolumePedal.h"

QZ::RCPtr<LVolumePedal> LVolumePedal::Create()
{
    QZ::RCPtr<LVolumePedal> module(new LVolumePedal());
    module->CreateSubModules();
    return module;
}

LVolumePedal::LVolumePedal() : IVolumePedal(1) {}

void LVolumePedal::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                   std::uint32_t index)
{
    IVolumePedal::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::VolumePedal))
    {
        QZ_THROW_LOGIC("LVolumePedal::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LVolumePedal::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                              const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LVolumePedal::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LVolumePedal::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LVolumePedal::GetParamValueLocal");
    }
    return IVolumePedal::GetParamValueLocal(descriptor);
}

QZ::Variant LVolumePedal::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LVolumePedal::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {0x00, 0x00, 0x07, 0x00, 0x00, 0x7F};
    return MakeByteString(bytes);
}

void LVolumePedal::CreateSubModules() {}
