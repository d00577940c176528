#include "DeviceControl/GeneratedCode/Engine/Inc/TouchPadAxises.h"

QZ::RCPtr<LTouchPadAxises> LTouchPadAxises::Create()
{
    QZ::RCPtr<LTouchPadAxises> container(new LTouchPadAxises());
    container->CreateSubModules();
    return container;
}

void LTouchPadAxises::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                      std::uint32_t index)
{
    ITouchPadAxises::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::TouchPadAxis))
    {
        QZ_THROW_LOGIC("LTouchPadAxises::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<ITouchPadAxis> LTouchPadAxises::GetTouchPadAxis(std::uint32_t index) const
{
    return mTouchPadAxises.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<ITouchPadAxis> LTouchPadAxises::GetTouchPadAxis(std::uint32_t index)
{
    return mTouchPadAxises.GetAt(static_cast<std::int32_t>(index));
}

void LTouchPadAxises::CreateSubModules()
{
    (void)mTouchPadAxises.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mTouchPadAxises.GetAt(static_cast<std::int32_t>(k)) = LTouchPadAxis::Create();
    }
}
