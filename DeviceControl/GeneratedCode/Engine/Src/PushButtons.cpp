#include "DeviceControl/GeneratedCode/Engine/Inc/PushButtons.h"

QZ::RCPtr<LPushButtons> LPushButtons::Create()
{
    QZ::RCPtr<LPushButtons> container(new LPushButtons());
    container->CreateSubModules();
    return container;
}

void LPushButtons::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                   std::uint32_t index)
{
    IPushButtons::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::PushButton))
    {
        QZ_THROW_LOGIC("LPushButtons::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IPushButton> LPushButtons::GetPushButton(std::uint32_t index) const
{
    return mPushButtons.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<IPushButton> LPushButtons::GetPushButton(std::uint32_t index)
{
    return mPushButtons.GetAt(static_cast<std::int32_t>(index));
}

void LPushButtons::CreateSubModules()
{
    (void)mPushButtons.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mPushButtons.GetAt(static_cast<std::int32_t>(k)) = LPushButton::Create();
    }
}
