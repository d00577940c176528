#include "DeviceControl/GeneratedCode/Engine/Inc/SustainPedal.h"

QZ::RCPtr<LSustainPedal> LSustainPedal::Create()
{
    QZ::RCPtr<LSustainPedal> module(new LSustainPedal());
    module->CreateSubModules();
    return module;
}

LSustainPedal::LSustainPedal() : ISustainPedal(1) {}

void LSustainPedal::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                    std::uint32_t index)
{
    ISustainPedal::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::SustainPedal))
    {
        QZ_THROW_LOGIC("LSustainPedal::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LSustainPedal::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                               const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LSustainPedal::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LSustainPedal::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LSustainPedal::GetParamValueLocal");
    }
    return ISustainPedal::GetParamValueLocal(descriptor);
}

QZ::Variant LSustainPedal::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LSustainPedal::GetParamValueDefault");
    }
    const std::uint8_t bytes[] = {0x00, 0x00, 0x40, 0x00, 0x00, 0x7F};
    return MakeByteString(bytes);
}

void LSustainPedal::CreateSubModules() {}
