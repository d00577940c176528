#include "DeviceControl/GeneratedCode/Engine/Inc/IDevice.h"

template <class Visit> void IDevice::ForEachMember(Visit visit)
{
    visit(ControlType::PresetName, GetMember(ControlType::PresetName));
    visit(ControlType::KeybedZone, GetMember(ControlType::KeybedZone));
    visit(ControlType::Wheel, GetMember(ControlType::Wheel));
    visit(ControlType::VolumePedal, GetMember(ControlType::VolumePedal));
    visit(ControlType::Pad, GetMember(ControlType::Pad));
    visit(ControlType::PushButton, GetMember(ControlType::PushButton));
    visit(ControlType::Fader, GetMember(ControlType::Fader));
    visit(ControlType::Encoder, GetMember(ControlType::Encoder));
    visit(ControlType::TouchPadAxis, GetMember(ControlType::TouchPadAxis));
}

void IDevice::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                              std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    ForEachMember(
        [&](ControlType type, const QZ::RCPtr<LParameterizedModule>& member)
        {
            if (member)
            {
                const auto offset =
                    static_cast<std::uint32_t>(GetControlTypeLayout(type).firstNumber);
                const auto memberID = static_cast<std::uint32_t>(firstParamID) + offset;
                member->SetFirstParamID(this, static_cast<std::int32_t>(memberID), 0);
            }
        });
}

QZ::RCPtr<LParameterizedModule> IDevice::GetModule(std::int32_t paramID)
{
    const std::int64_t number = static_cast<std::int64_t>(paramID) - mFirstParamID;
    if (number < 0 || number >= kPresetParamCount)
    {
        return nullptr;
    }
    const ControlTypeLayout* layout = FindControlTypeLayout(static_cast<std::int32_t>(number));
    QZ::RCPtr<LParameterizedModule> member = GetMember(layout->type);
    return member ? member->GetModule(paramID) : nullptr;
}

void IDevice::PropagateEventA()
{
    ForEachMember(
        [](ControlType, const QZ::RCPtr<LParameterizedModule>& member)
        {
            if (member)
            {
                member->PropagateEventA();
            }
        });
}

void IDevice::PropagateEventB()
{
    ForEachMember(
        [](ControlType, const QZ::RCPtr<LParameterizedModule>& member)
        {
            if (member)
            {
                member->PropagateEventB();
            }
        });
}

QZ::RCPtr<LParameterizedModule> IDevice::GetMember(ControlType type)
{
    switch (type)
    {
    case ControlType::PresetName:
        return GetPresetName();
    case ControlType::KeybedZone:
        return GetKeybedZones();
    case ControlType::Wheel:
        return GetWheels();
    case ControlType::VolumePedal:
    case ControlType::SustainPedal:
        return GetPedals();
    case ControlType::Pad:
        return GetPads();
    case ControlType::PushButton:
        return GetPushButtons();
    case ControlType::Fader:
        return GetFaders();
    case ControlType::Encoder:
        return GetEncoders();
    case ControlType::TouchPadAxis:
        return GetTouchPadAxises();
    }
    return nullptr;
}

QZ::ConstRCPtr<IPresetName> IDevice::GetPresetName() const
{
    return const_cast<IDevice*>(this)->GetPresetName();
}

QZ::ConstRCPtr<IKeybedZones> IDevice::GetKeybedZones() const
{
    return const_cast<IDevice*>(this)->GetKeybedZones();
}

QZ::ConstRCPtr<IWheels> IDevice::GetWheels() const
{
    return const_cast<IDevice*>(this)->GetWheels();
}

QZ::ConstRCPtr<IPedals> IDevice::GetPedals() const
{
    return const_cast<IDevice*>(this)->GetPedals();
}

QZ::ConstRCPtr<IPads> IDevice::GetPads() const
{
    return const_cast<IDevice*>(this)->GetPads();
}

QZ::ConstRCPtr<IPushButtons> IDevice::GetPushButtons() const
{
    return const_cast<IDevice*>(this)->GetPushButtons();
}

QZ::ConstRCPtr<IFaders> IDevice::GetFaders() const
{
    return const_cast<IDevice*>(this)->GetFaders();
}

QZ::ConstRCPtr<IEncoders> IDevice::GetEncoders() const
{
    return const_cast<IDevice*>(this)->GetEncoders();
}

QZ::ConstRCPtr<ITouchPadAxises> IDevice::GetTouchPadAxises() const
{
    return const_cast<IDevice*>(this)->GetTouchPadAxises();
}
