#include "DeviceControl/GeneratedCode/Engine/Inc/KeybedZones.h"

QZ::RCPtr<LKeybedZones> LKeybedZones::Create()
{
    QZ::RCPtr<LKeybedZones> container(new LKeybedZones());
    container->CreateSubModules();
    return container;
}

void LKeybedZones::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                   std::uint32_t index)
{
    IKeybedZones::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::KeybedZone))
    {
        QZ_THROW_LOGIC("LKeybedZones::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IKeybedZone> LKeybedZones::GetKeybedZone(std::uint32_t index) const
{
    return mKeybedZones.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<IKeybedZone> LKeybedZones::GetKeybedZone(std::uint32_t index)
{
    return mKeybedZones.GetAt(static_cast<std::int32_t>(index));
}

void LKeybedZones::CreateSubModules()
{
    (void)mKeybedZones.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mKeybedZones.GetAt(static_cast<std::int32_t>(k)) = LKeybedZone::Create();
    }
}
