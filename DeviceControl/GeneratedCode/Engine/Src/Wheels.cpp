#include "DeviceControl/GeneratedCode/Engine/Inc/Wheels.h"

QZ::RCPtr<LWheels> LWheels::Create()
{
    QZ::RCPtr<LWheels> container(new LWheels());
    container->CreateSubModules();
    return container;
}

void LWheels::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                              std::uint32_t index)
{
    IWheels::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::Wheel))
    {
        QZ_THROW_LOGIC("LWheels::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IWheel> LWheels::GetWheel(std::uint32_t index) const
{
    return mWheels.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<IWheel> LWheels::GetWheel(std::uint32_t index)
{
    return mWheels.GetAt(static_cast<std::int32_t>(index));
}

void LWheels::CreateSubModules()
{
    (void)mWheels.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mWheels.GetAt(static_cast<std::int32_t>(k)) = LWheel::Create();
    }
}
