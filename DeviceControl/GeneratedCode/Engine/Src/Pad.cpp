#include "DeviceControl/GeneratedCode/Engine/Inc/Pad.h"

QZ::RCPtr<LPad> LPad::Create()
{
    QZ::RCPtr<LPad> module(new LPad());
    module->CreateSubModules();
    return module;
}

LPad::LPad() : IPad(1) {}

void LPad::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                           std::uint32_t index)
{
    IPad::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::Pad))
    {
        QZ_THROW_LOGIC("LPad::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LPad::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                      const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LPad::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LPad::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LPad::GetParamValueLocal");
    }
    return IPad::GetParamValueLocal(descriptor);
}

QZ::Variant LPad::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LPad::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {
        0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, static_cast<std::uint8_t>(0x24 + mIndex),
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    return MakeByteString(bytes);
}

void LPad::CreateSubModules() {}
