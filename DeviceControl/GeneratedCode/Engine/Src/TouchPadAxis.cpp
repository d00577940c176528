#include "DeviceControl/GeneratedCode/Engine/Inc/TouchPadAxis.h"

QZ::RCPtr<LTouchPadAxis> LTouchPadAxis::Create()
{
    QZ::RCPtr<LTouchPadAxis> module(new LTouchPadAxis());
    module->CreateSubModules();
    return module;
}

LTouchPadAxis::LTouchPadAxis() : ITouchPadAxis(1) {}

void LTouchPadAxis::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                    std::uint32_t index)
{
    ITouchPadAxis::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedWithinRunOf(ControlType::TouchPadAxis))
    {
        QZ_THROW_LOGIC("LTouchPadAxis::SetFirstParamID", "Invalid FirstParamID");
    }
}

std::int32_t LTouchPadAxis::SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                               const QZ::Variant& value, bool fromDevice)
{
    const std::optional<std::int32_t> result =
        WriteLeafValue(descriptor, value, fromDevice, mCompositeTranslator);
    if (!result)
    {
        QZ_THROW_LOGIC("LTouchPadAxis::SetParamValueLocal");
    }
    return *result;
}

QZ::Variant LTouchPadAxis::GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const
{
    if (descriptor.mParamID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LTouchPadAxis::GetParamValueLocal");
    }
    return ITouchPadAxis::GetParamValueLocal(descriptor);
}

QZ::Variant LTouchPadAxis::GetParamValueDefault(std::int32_t paramID) const
{
    if (paramID != mFirstParamID)
    {
        QZ_THROW_LOGIC("LTouchPadAxis::GetParamValueDefault");
    }
    const std::uint8_t x[] = {0x00, 0x00, 0x70, 0x00, 0x00, 0x7F, 0x08, 0x3C,
                              0x48, 0x3E, 0x40, 0x41, 0x43, 0x45, 0x47};
    const std::uint8_t y[] = {0x00, 0x00, 0x71, 0x00, 0x00, 0x7F, 0x08, 0x45,
                              0x51, 0x47, 0x48, 0x4A, 0x4C, 0x4D, 0x4F};
    switch (mIndex)
    {
    case 0:
        return MakeByteString(x);
    case 1:
        return MakeByteString(y);
    default:
        return QZ::Variant();
    }
}

void LTouchPadAxis::CreateSubModules() {}
