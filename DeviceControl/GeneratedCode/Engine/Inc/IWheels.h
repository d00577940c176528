// IWheels: the container of the wheels (offset 5: pitch wheel, modulation wheel), as the model's
// LWheels and the editor's panels both implement it.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IWheel.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ModuleList.h"

class IWheels : public IModuleListT<IWheel, ControlType::Wheel>
{
public:
    // Child index; callers pass 0 to ChildCount - 1.
    [[nodiscard]] virtual QZ::ConstRCPtr<IWheel> GetWheel(std::uint32_t index) const
    {
        return const_cast<IWheels*>(this)->GetWheel(index);
    }
    [[nodiscard]] virtual QZ::RCPtr<IWheel> GetWheel(std::uint32_t index) = 0;

protected:
    using IModuleListT::IModuleListT;

    [[nodiscard]] QZ::RCPtr<IWheel> GetChildAt(std::uint32_t index) override
    {
        return GetWheel(index);
    }
};
