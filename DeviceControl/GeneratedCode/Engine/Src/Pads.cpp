#include "DeviceControl/GeneratedCode/Engine/Inc/Pads.h"

QZ::RCPtr<LPads> LPads::Create()
{
    QZ::RCPtr<LPads> container(new LPads());
    container->CreateSubModules();
    return container;
}

void LPads::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                            std::uint32_t index)
{
    IPads::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::Pad))
    {
        QZ_THROW_LOGIC("LPads::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IPad> LPads::GetPad(std::uint32_t index) const
{
    return mPads.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<IPad> LPads::GetPad(std::uint32_t index)
{
    return mPads.GetAt(static_cast<std::int32_t>(index));
}

void LPads::CreateSubModules()
{
    (void)mPads.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mPads.GetAt(static_cast<std::int32_t>(k)) = LPad::Create();
    }
}
