// IEncoders: the container of the encoders (offset 97, encoders 0 to 31), as the model's LEncoders
// and the editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoder.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class IEncoders : public IModuleListT<IEncoder, ControlType::Encoder>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<IEncoder> GetEncoder(std::uint32_t index) const
    {
        return const_cast<IEncoders*>(this)->GetEncoder(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<IEncoder> GetEncoder(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<IEncoder> GetChildAt(std::uint32_t index) override
    {
        return GetEncoder(index);
    }
};
