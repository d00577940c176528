#include "DeviceControl/GeneratedCode/Engine/Inc/Pedals.h"

QZ::RCPtr<LPedals> LPedals::Create()
{
    QZ::RCPtr<LPedals> container(new LPedals());
    container->CreateSubModules();
    return container;
}

void LPedals::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                              std::uint32_t index)
{
    IPedals::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::VolumePedal))
    {
        QZ_THROW_LOGIC("LPedals::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IVolumePedal> LPedals::GetVolumePedal() const
{
    return mVolumePedal;
}

QZ::RCPtr<IVolumePedal> LPedals::GetVolumePedal()
{
    return mVolumePedal;
}

QZ::ConstRCPtr<ISustainPedal> LPedals::GetSustainPedal() const
{
    return mSustainPedal;
}

QZ::RCPtr<ISustainPedal> LPedals::GetSustainPedal()
{
    return mSustainPedal;
}

void LPedals::CreateSubModules()
{
    mVolumePedal = LVolumePedal::Create();
    mSustainPedal = LSustainPedal::Create();
}
