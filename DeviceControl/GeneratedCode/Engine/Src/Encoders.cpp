#include "DeviceControl/GeneratedCode/Engine/Inc/Encoders.h"

QZ::RCPtr<LEncoders> LEncoders::Create()
{
    QZ::RCPtr<LEncoders> container(new LEncoders());
    container->CreateSubModules();
    return container;
}

void LEncoders::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                std::uint32_t index)
{
    IEncoders::SetFirstParamID(parent, firstParamID, index);
    if (!IsPlacedAtStartOf(ControlType::Encoder))
    {
        QZ_THROW_LOGIC("LEncoders::SetFirstParamID", "Invalid FirstParamID");
    }
}

QZ::ConstRCPtr<IEncoder> LEncoders::GetEncoder(std::uint32_t index) const
{
    return mEncoders.GetAt(static_cast<std::int32_t>(index));
}

QZ::RCPtr<IEncoder> LEncoders::GetEncoder(std::uint32_t index)
{
    return mEncoders.GetAt(static_cast<std::int32_t>(index));
}

void LEncoders::CreateSubModules()
{
    (void)mEncoders.SetCount(static_cast<std::int32_t>(ChildCount));
    for (std::uint32_t k = 0; k < ChildCount; ++k)
    {
        mEncoders.GetAt(static_cast<std::int32_t>(k)) = LEncoder::Create();
    }
}
