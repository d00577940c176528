#include "DeviceControl/GeneratedCode/Engine/Inc/Faders.h"

QZ::RCPtr<LFaders> LFaders::Create()
{
    QZ::RCPtr<LFaders> container(new LFaders());
    container->CreateSubModules();
    return container;
}

void LFaders::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                              std::uint32_t index)
{
    IFaders::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::Fader))
    {
        QZ_THROW_LOGIC("LFaders::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IFader> LFaders::GetFader(std::uint32_t index) const
{
    return mFaders.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<IFader> LFaders::GetFader(std::uint32_t index)
{
    return mFaders.GetAt(static_cast<std::int32_t>(index));
}

void LFaders::CreateSubModules()
{
    (void)mFaders.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mFaders.GetAt(static_cast<std::int32_t>(k)) = LFader::Create();
    }
}
