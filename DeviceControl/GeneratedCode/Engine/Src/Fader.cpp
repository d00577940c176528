#include "DeviceControl/GeneratedCode/Engine/Inc/Fader.h"

QZ::RCPtr<LFader> LFader::Create()
{
    QZ::RCPtr<LFader> module(new LFader());
    module->CreateSubModules();
    return module;
}

LFader::LFader() : IFader(1) {}

void LFader::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                             std::uint32_t index)
{
    IFader::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::Fader))
    {
        QZ_THROW_LOGIC("LFader::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LFader::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                        const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LFader::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LFader::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LFader::GetParamValueLocal");
    }
    return IFader::GetParamValueLocal(descriptor);
}

QZ::Variant LFader::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LFader::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {0x00, 0x00, static_cast<std::uint8_t>(mIndex), 0x00, 0x00, 0x7F};
    return MakeByteString(bytes);
}

void LFader::CreateSubModules() {}
