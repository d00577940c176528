#include "DeviceControl/GeneratedCode/Engine/Inc/KeybedZone.h"

QZ::RCPtr<LKeybedZone> LKeybedZone::Create()
{
    QZ::RCPtr<LKeybedZone> module(new LKeybedZone());
    module->CreateSubModules();
    return module;
}

LKeybedZone::LKeybedZone() : IKeybedZone(1) {}

void LKeybedZone::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                  std::uint32_t index)
{
    IKeybedZone::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::KeybedZone))
    {
        QZ_THROW_LOGIC("LKeybedZone::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LKeybedZone::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                             const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LKeybedZone::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LKeybedZone::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LKeybedZone::GetParamValueLocal");
    }
    return IKeybedZone::GetParamValueLocal(descriptor);
}

QZ::Variant LKeybedZone::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LKeybedZone::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {
        0x00, static_cast<std::uint8_t>(mIndex), 0x00, 0x00, 0x00, 0x00, 0x3C, 0x05, 0x0C};
    return MakeByteString(bytes);
}

void LKeybedZone::CreateSubModules() {}
