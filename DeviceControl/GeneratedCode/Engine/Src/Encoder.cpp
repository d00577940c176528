#include "DeviceControl/GeneratedCode/Engine/Inc/Encoder.h"

QZ::RCPtr<LEncoder> LEncoder::Create()
{
    QZ::RCPtr<LEncoder> module(new LEncoder());
    module->CreateSubModules();
    return module;
}

LEncoder::LEncoder() : IEncoder(1) {}

void LEncoder::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                               std::uint32_t index)
{
    IEncoder::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::Encoder))
    {
        QZ_THROW_LOGIC("LEncoder::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LEncoder::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                          const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LEncoder::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LEncoder::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LEncoder::GetParamValueLocal");
    }
    return IEncoder::GetParamValueLocal(descriptor);
}

QZ::Variant LEncoder::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LEncoder::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {0x00, 0x00, static_cast<std::uint8_t>(0x28 + mIndex),
                                  0x00, 0x00, 0x7F};
    return MakeByteString(bytes);
}

void LEncoder::CreateSubModules() {}
