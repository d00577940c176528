#include "DeviceControl/GeneratedCode/Engine/Inc/PushButton.h"

QZ::RCPtr<LPushButton> LPushButton::Create()
{
    QZ::RCPtr<LPushButton> module(new LPushButton());
    module->CreateSubModules();
    return module;
}

LPushButton::LPushButton() : IPushButton(1) {}

void LPushButton::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                  std::uint32_t index)
{
    IPushButton::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::PushButton))
    {
        QZ_THROW_LOGIC("LPushButton::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LPushButton::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                             const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LPushButton::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LPushButton::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LPushButton::GetParamValueLocal");
    }
    return IPushButton::GetParamValueLocal(descriptor);
}

QZ::Variant LPushButton::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LPushButton::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {
        0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, static_cast<std::uint8_t>(mIndex), 0x00, 0x00,
        0x00, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x00};
    return MakeByteString(bytes);
}

void LPushButton::CreateSubModules() {}
