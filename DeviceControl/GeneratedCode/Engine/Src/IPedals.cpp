#include "DeviceControl/GeneratedCode/Engine/Inc/IPedals.h"

void IPedals::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                              std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    if (QZ::RCPtr<IVolumePedal> volume = GetVolumePedal())
    {
        volume->SetFirstParamID(this, firstParamID, 0);
    }
    if (QZ::RCPtr<ISustainPedal> sustain = GetSustainPedal())
    {
        const auto sustainID = static_cast<std::uint32_t>(firstParamID) + 1;
        sustain->SetFirstParamID(this, static_cast<std::int32_t>(sustainID), 0);
    }
}

QZ::RCPtr<LParameterizedModule> IPedals::GetModule(std::int32_t paramID)
{
    const std::uint32_t k =
        static_cast<std::uint32_t>(paramID) - static_cast<std::uint32_t>(mFirstParamID);
    QZ::RCPtr<LParameterizedModule> pedal;
    if (k == 0)
    {
        pedal = GetVolumePedal();
    }
    else if (k == 1)
    {
        pedal = GetSustainPedal();
    }
    return pedal ? pedal->GetModule(paramID) : nullptr;
}

void IPedals::PropagateEventA()
{
    if (QZ::RCPtr<IVolumePedal> volume = GetVolumePedal())
    {
        volume->PropagateEventA();
    }
    if (QZ::RCPtr<ISustainPedal> sustain = GetSustainPedal())
    {
        sustain->PropagateEventA();
    }
}

void IPedals::PropagateEventB()
{
    if (QZ::RCPtr<IVolumePedal> volume = GetVolumePedal())
    {
        volume->PropagateEventB();
    }
    if (QZ::RCPtr<ISustainPedal> sustain = GetSustainPedal())
    {
        sustain->PropagateEventB();
    }
}

QZ::ConstRCPtr<IVolumePedal> IPedals::GetVolumePedal() const
{
    return const_cast<IPedals*>(this)->GetVolumePedal();
}

QZ::ConstRCPtr<ISustainPedal> IPedals::GetSustainPedal() const
{
    return const_cast<IPedals*>(this)->GetSustainPedal();
}
